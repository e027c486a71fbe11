#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// One QApplication for the whole test program, made before the first test and deleted after
// the last, so that no widget outlives it.
class QtTestApplication : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    int m_argc = 1;
    char m_name[16] = "dialogs_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};
