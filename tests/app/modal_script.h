#pragma once
// Answers the modal windows of a real main window as a player would, one
// scripted answer per window in the order they open, and records what opened
// and whether the game timer was running at that moment. The settings store's
// own error boxes are recorded apart and closed with OK.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

namespace quibbix::testing {

// "Splash", "TongueDlg", "HighscoreDlg", "AboutBox", or "YesNoDlg/<page>".
inline QString modalName(QDialog* dialog) {
  QString name =
      QString::fromLatin1(dialog->metaObject()->className()).section(QStringLiteral("::"), -1);
  if (auto* pages = dialog->findChild<QStackedWidget*>(QStringLiteral("pages")))
    name += u'/' + pages->currentWidget()->objectName();
  return name;
}

struct Opened {
  QString name;
  bool timerRunning = false;
};

using Answer = std::function<void(QDialog*)>;

inline Answer clickButton(const QString& name) {
  return [name](QDialog* dialog) {
    auto* button = dialog->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    button->click();
  };
}

// The message dialog's answer buttons on its current page: first the default
// (Yes/OK), second the other (No/Cancel).
inline Answer answerMessage(int item) {
  return [item](QDialog* dialog) {
    auto* pages = dialog->findChild<QStackedWidget*>(QStringLiteral("pages"));
    ASSERT_NE(pages, nullptr);
    const QString name = QStringLiteral("Btn%1%2")
                             .arg(pages->currentIndex() + 1, 2, 10, QLatin1Char('0'))
                             .arg(item, 2, 10, QLatin1Char('0'));
    clickButton(name)(dialog);
  };
}
inline const Answer kYes = answerMessage(1);
inline const Answer kNo = answerMessage(2);

inline const Answer kClickSplash = [](QDialog* splash) {
  QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(100, 75));
};
inline const Answer kGerman = clickButton(QStringLiteral("GermanBtn"));
inline const Answer kEnglish = clickButton(QStringLiteral("EnglishBtn"));
inline const Answer kHighscoreOk = clickButton(QStringLiteral("OKBtn"));
inline const Answer kAboutOk = clickButton(QStringLiteral("OKButton"));

class ModalScript : public QObject {
 public:
  ModalScript() { qApp->installEventFilter(this); }
  ~ModalScript() override { qApp->removeEventFilter(this); }

  void watchTimer(const QTimer* timer) { timer_ = timer; }
  void then(Answer answer) { answers_.push_back(std::move(answer)); }
  // Answers that found no window fail the test here, not in a later one.
  void reset() {
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answers left unused";
    answers_.clear();
    opened.clear();
    errorBoxes.clear();
    mostAtOnce = 0;
    onShow = nullptr;
    onErrorBox = nullptr;
  }
  bool done() const { return answers_.empty(); }

  std::vector<Opened> opened;
  std::vector<QString> errorBoxes;
  // The most modal windows on the screen at one time, error boxes included.
  int mostAtOnce = 0;
  // Called as a scripted window is being shown, before it blocks the others.
  std::function<void(QDialog*)> onShow;
  // Called as an error box is being shown.
  std::function<void()> onErrorBox;

  QStringList openedNames() const {
    QStringList names;
    for (const Opened& o : opened) names << o.name;
    return names;
  }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    auto* dialog = qobject_cast<QDialog*>(object);
    if (dialog == nullptr || !dialog->isWindow() || dialog->windowModality() == Qt::NonModal)
      return false;
    int atOnce = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<QDialog*>(w) && w->isVisible() && w->windowModality() != Qt::NonModal)
        ++atOnce;
    mostAtOnce = std::max(mostAtOnce, atOnce);
    // Answered from inside the dialog's own event loop, once it runs.
    const QPointer<QDialog> target(dialog);
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      errorBoxes.push_back(box->text());
      if (onErrorBox) onErrorBox();
      QTimer::singleShot(0, box, [box] { box->accept(); });
      return false;
    }
    opened.push_back({modalName(dialog), timer_ != nullptr && timer_->isActive()});
    if (onShow) onShow(dialog);
    Answer answer;
    if (!answers_.empty()) {
      answer = std::move(answers_.front());
      answers_.pop_front();
    } else {
      ADD_FAILURE() << "unexpected modal window " << modalName(dialog).toStdString();
      answer = [](QDialog* d) { d->done(QDialog::Rejected); };
    }
    // A wrong answer must fail the test, not leave it waiting forever.
    QTimer::singleShot(0, dialog, [target, answer] {
      if (!target) return;
      answer(target);
      if (target && target->isVisible()) {
        ADD_FAILURE() << "the answer left " << modalName(target).toStdString() << " open";
        target->done(QDialog::Rejected);
      }
    });
    return false;
  }

 private:
  const QTimer* timer_ = nullptr;
  std::deque<Answer> answers_;
};

}  // namespace quibbix::testing
