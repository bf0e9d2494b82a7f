#pragma once
// Drives modal dialogs from inside their own event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>

namespace quibbix::dialogs::testing {

// Runs `action` as soon as the next modal event loop is running, that is with
// the dialog shown.
inline void whileShown(std::function<void()> action) {
  QTimer::singleShot(0, std::move(action));
}

// A key as the keyboard would deliver it: to the dialog's focus widget.
inline void pressKey(QWidget* dialog, Qt::Key key) {
  QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
  QTest::keyClick(target, key);
}

inline void clickButton(QWidget* dialog, const QString& name) {
  auto* button = dialog->findChild<QPushButton*>(name);
  ASSERT_NE(button, nullptr) << name.toStdString();
  button->click();
}

}  // namespace quibbix::dialogs::testing
