#include "about/AbsentMessenger.h"
#include "app/AppIdentity.h"
#include "app/CPorticoApp.h"
#include "app/CommandLine.h"
#include "app/QtMessagePresenter.h"
#include "cli/ExitStatus.h"
#include "cli/ScriptMode.h"
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
    // Before the application object, so that --help, --version and mistakes need no display.
    const CommandLine commandLine = CommandLine::Parse(argc, argv);
    if (commandLine.GetAction() == CommandLine::Action::Exit)
        return commandLine.Finish();
    if (commandLine.GetAction() == CommandLine::Action::RunScript)
        return ScriptMode::Run(*commandLine.Script());

    QApplication application(argc, argv);
    AppIdentity::Apply();

#ifdef _WIN32
    Win32Registry registry;
#else
    // The registry the games see under Wine: --prefix, else $WINEPREFIX, else ~/.wine.
    WineRegistry registry = commandLine.PrefixPath() ? WineRegistry(*commandLine.PrefixPath())
                                                     : WineRegistry::FromEnvironment();
#endif
    QtMessagePresenter presenter;
    QtFilePicker files;
    ModalServerDialogRunner serverDialog;
    DesktopUrlOpener urls;
    AbsentMessenger messenger;
    const Seams seams{presenter, files, serverDialog, urls, messenger};

    CPorticoApp theApp(registry, seams);
    // Start-up fails when no game is installed in the prefix (it has said so).
    if (!theApp.InitInstance())
        return ExitStatus::NotFound;
    return theApp.ExitInstance(QApplication::exec());
}
