#include "app/CPorticoApp.h"
#include "app/QtFilePicker.h"
#include "app/QtMessagePresenter.h"
#include "data/Services.h"
#include "platform/WineRegistry.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

    WineRegistry registry = WineRegistry::FromEnvironment();
    QtMessagePresenter presenter;
    QtFilePicker filePicker;
    Services::SetRegistry(&registry);
    Services::SetPresenter(&presenter);
    FilePicker::Install(&filePicker);

    if (!theApp.InitInstance())
        return 1;
    return theApp.ExitInstance(QApplication::exec());
}
