#include "TestApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {
int g_argc = 1;
char g_name[] = "portico-test";
char* g_argv[] = {g_name, nullptr};
std::unique_ptr<QApplication> g_application;

// Deletes the application after the last test, while Qt's own globals still exist.
class ApplicationEnvironment : public testing::Environment {
public:
    void TearDown() override { g_application.reset(); }
};

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
} // namespace

void EnsureTestApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_application = std::make_unique<QApplication>(g_argc, g_argv);
}
