#pragma once
// Drives modal dialogs from inside their own event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>

#include "dialogs/highscore_dialog.h"
#include "dialogs/language.h"
#include "dialogs/translations.h"

namespace quibbix::dialogs::testing {

// Runs `action` as soon as the next modal dialog is shown and its own event
// loop runs. (A dialog may handle waiting events before it shows itself.)
inline void whileShown(std::function<void()> action) {
  class OnShow : public QObject {
   public:
    explicit OnShow(std::function<void()> action) : action_(std::move(action)) {}

   protected:
    bool eventFilter(QObject* object, QEvent* event) override {
      auto* dialog = qobject_cast<QDialog*>(object);
      if (event->type() == QEvent::Show && dialog != nullptr && dialog->isWindow() &&
          dialog->isModal() && action_) {
        // A table offering a score takes keys only once it is on the screen.
        QTimer::singleShot(
            0, [action = std::move(action_),
                table = QPointer<HighscoreDlg>(qobject_cast<HighscoreDlg*>(dialog))] {
              if (table) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return !table || table->takesInput(); }));
              }
              action();
            });
        action_ = nullptr;
        deleteLater();
      }
      return false;
    }

   private:
    std::function<void()> action_;
  };
  qApp->installEventFilter(new OnShow(std::move(action)));
}

// The language as the main window keeps it: the stored number, with the
// German translations installed exactly while it is German.
class TestLanguage {
 public:
  explicit TestLanguage(int stored) { *this = stored; }
  TestLanguage& operator=(int stored) {
    value_ = languageFromStored(stored);
    translations_.use(value_);
    return *this;
  }
  Language operator()() const { return value_; }

 private:
  Language value_ = Language::NotChosen;
  Translations translations_;
};

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
