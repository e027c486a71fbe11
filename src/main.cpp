#include "app/CPorticoApp.h"
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
    QApplication application(argc, argv);

#ifdef _WIN32
    Win32Registry registry;
    Win32ErrorTexts errorTexts;
    Services::SetErrorTexts(&errorTexts);
#else
    // The registry the games see under Wine: $WINEPREFIX, or ~/.wine.
    WineRegistry registry = WineRegistry::FromEnvironment();
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
