#pragma once

#include <QDialog>
#include <QString>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Helpers for tests that drive a dialog of ours through its DoModal.
namespace ModalDialogTest {

// Runs the dialog modally; drive runs once it is shown and active and should end it. A dialog
// still open afterwards is cancelled, so that a failing test never hangs.
template <typename Dialog> int RunModal(Dialog& dialog, const std::function<void()>& drive)
{
    QTimer::singleShot(0, &dialog, [&dialog, &drive] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        drive();
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.DoModal();
}

// The dialog's child of that object name; a test failure when there is none.
template <typename T> T* Child(const QDialog& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace ModalDialogTest
