#include "about/AbsentMessenger.h"
#include "app/CPorticoApp.h"
#include "app/QtMessagePresenter.h"
#include "dialogs/DesktopUrlOpener.h"
#include "dialogs/ModalServerDialogRunner.h"
#include "doc/QtFilePicker.h"

#ifdef _WIN32
#include "platform/Win32Registry.h"
#else
#include "platform/WineRegistry.h"
#endif

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

#ifdef _WIN32
    Win32Registry registry;
#else
    // The registry the games see under Wine: $WINEPREFIX, or ~/.wine.
    WineRegistry registry = WineRegistry::FromEnvironment();
#endif
    QtMessagePresenter presenter;
    QtFilePicker files;
    ModalServerDialogRunner serverDialog;
    DesktopUrlOpener urls;
    AbsentMessenger messenger;
    const Seams seams{presenter, files, serverDialog, urls, messenger};

    CPorticoApp theApp(registry, seams);
    if (!theApp.InitInstance())
        return 1;
    return theApp.ExitInstance(QApplication::exec());
}
