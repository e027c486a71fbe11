// Opens the server properties dialog as the add command does and saves a picture of the whole
// screen once the first help balloon is up. Run it on a real display or under Xvfb:
//   xvfb-run -a -s "-screen 0 1024x768x24" server_properties_preview picture.png
#include "RecordingPresenter.h"

#include "dialogs/CBalloonHelp.h"
#include "dialogs/CPorticoEditServerDlg.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString path =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("server-properties-dialog.png");
    RecordingPresenter presenter;
    CPorticoEditServerDlg dialog(presenter);
    bool saved = false;
    QTimer::singleShot(0, &dialog, [&] {
        const bool shown = QTest::qWaitFor(
            [&] {
                for (const CBalloonHelp* balloon : dialog.findChildren<CBalloonHelp*>()) {
                    if (balloon->isVisible())
                        return true;
                }
                return false;
            },
            5000);
        // Give the display server time to draw both windows before reading the screen back.
        QTest::qWait(500);
        if (shown)
            saved = QGuiApplication::primaryScreen()->grabWindow(0).save(path);
        dialog.reject();
    });
    dialog.DoModal();
    if (!saved)
        std::fprintf(stderr, "No picture saved\n");
    return saved ? 0 : 1;
}
