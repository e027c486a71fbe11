#include "QtTestApplication.h"

void QtTestApplication::SetUp()
{
    m_app = std::make_unique<QApplication>(m_argc, m_argv);
}

void QtTestApplication::TearDown()
{
    m_app.reset();
}

namespace {
[[maybe_unused]] testing::Environment* const g_application =
    testing::AddGlobalTestEnvironment(new QtTestApplication);
} // namespace
