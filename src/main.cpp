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
#include "platform/WinSockets.h"
#else
#include "app/WinePrefixes.h"
#include "platform/PosixSockets.h"
#endif

#include <QApplication>
#include <QSettings>

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
    WinSockets sockets;
#else
    PosixSockets sockets;
    // The prefix the games see under Wine, and where the one last used is remembered.
    QSettings settings(QStringLiteral("portico"), QStringLiteral("portico"));
    WinePrefixes prefixes = WinePrefixes::FromEnvironment(commandLine.PrefixPath(), settings);
#endif
    QtMessagePresenter presenter;
    QtFilePicker files;
    ModalServerDialogRunner serverDialog;
    DesktopUrlOpener urls;
    AbsentMessenger messenger;
    const Seams seams{presenter, files, serverDialog, urls, messenger};

#ifdef _WIN32
    CPorticoApp theApp(registry, sockets, seams);
#else
    CPorticoApp theApp(prefixes, sockets, seams);
#endif
    // Start-up fails when no game is installed in any prefix (it has said so).
    if (!theApp.InitInstance())
        return ExitStatus::NotFound;
    return theApp.ExitInstance(QApplication::exec());
}
