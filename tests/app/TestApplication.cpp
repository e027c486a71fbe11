#include "TestApplication.h"

#include <QApplication>

void EnsureTestApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "portico-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at static destruction Qt's own globals may already be gone.
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}
