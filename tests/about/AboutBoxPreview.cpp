// Opens the About box as Help > About does and saves a picture of its window. Run it on a real
// display or under Xvfb:
//   xvfb-run -a -s "-screen 0 1024x768x24" about_box_preview picture.png
#include "about/AbsentMessenger.h"
#include "about/CPorticoAboutDlg.h"
#include "app/QtMessagePresenter.h"
#include "dialogs/DesktopUrlOpener.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString path =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("about-box.png");
    DesktopUrlOpener urlOpener;
    QtMessagePresenter presenter;
    AbsentMessenger messenger;
    CPorticoAboutDlg dialog(urlOpener, presenter, messenger);
    bool saved = false;
    QTimer::singleShot(0, &dialog, [&] {
        const bool shown = QTest::qWaitForWindowExposed(&dialog, 5000);
        // Give the display server time to draw the window before reading the screen back.
        QTest::qWait(500);
        if (shown) {
            const QRect frame = dialog.frameGeometry();
            saved = dialog.screen()
                        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                        .save(path);
        }
        dialog.reject();
    });
    dialog.DoModal();
    if (!saved)
        std::fprintf(stderr, "No picture saved\n");
    return saved ? 0 : 1;
}
