#include "app/AppIdentity.h"
#include "app/CPorticoApp.h"
#include "app/CommandLine.h"
#include "app/QtFilePicker.h"
#include "app/QtMessagePresenter.h"
#include "data/Services.h"

#ifdef _WIN32
#include "platform/Win32ErrorTexts.h"
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

    QApplication application(argc, argv);
    AppIdentity::Apply();

#ifdef _WIN32
    Win32Registry registry;
    Win32ErrorTexts errorTexts;
    Services::SetErrorTexts(&errorTexts);
#else
    // The registry the games see under Wine: --prefix, else $WINEPREFIX, else ~/.wine.
    WineRegistry registry = commandLine.PrefixPath() ? WineRegistry(*commandLine.PrefixPath())
                                                     : WineRegistry::FromEnvironment();
#endif
    QtMessagePresenter presenter;
    QtFilePicker filePicker;
    Services::SetRegistry(&registry);
    Services::SetPresenter(&presenter);
    FilePicker::Install(&filePicker);

    if (!theApp.InitInstance())
        return 1;
    return theApp.ExitInstance(QApplication::exec());
}
