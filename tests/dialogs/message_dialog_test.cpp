#include <gtest/gtest.h>

#include <QLabel>
#include <QStackedWidget>
#include <optional>

#include "dialog_driver.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/message_dialog.h"

namespace quibbix::dialogs {
namespace {

using testing::clickButton;
using testing::pressKey;
using testing::whileShown;

TEST(DialogPlacement, CentresOverTheMainWindowsClientArea) {
  struct Case {
    QRect mainFrame;
    int clientHeight;
    QSize dialog;
    QPoint expected;
  };
  const Case cases[] = {
      // Undecorated main window of 500 x 366 and the message dialog.
      {QRect(100, 50, 500, 366), 366, QSize(261, 103), QPoint(219, 182)},
      // Decorated: the frame is larger than the client area.
      {QRect(10, 20, 508, 395), 366, QSize(269, 132), QPoint(129, 166)},
      // A dialog wider and taller than the main window: the halves round toward zero.
      {QRect(0, 0, 200, 100), 80, QSize(261, 203), QPoint(-30, -41)},
      {QRect(-300, -50, 500, 366), 366, QSize(360, 329), QPoint(-230, -31)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dialogPosition(c.mainFrame, c.clientHeight, c.dialog), c.expected)
        << c.mainFrame.x() << "," << c.mainFrame.y() << " dialog " << c.dialog.width();
  }
}

TEST(MessageTexts, LanguageSelectsTheColumn) {
  testing::TestLanguage language(0);
  const auto textsFor = [&](int stored) {
    language = stored;
    return messageTexts(language());
  };
  const MessageTexts english = textsFor(0);
  EXPECT_EQ(english.labels[6], "Sorry, that was it!");
  EXPECT_EQ(english.yes, "Yes");
  EXPECT_EQ(english.no, "No");

  // No language chosen yet, or any unknown value, reads English.
  for (int stored : {-1, 3, 99}) {
    const MessageTexts t = textsFor(stored);
    EXPECT_EQ(t.labels, english.labels) << stored;
    EXPECT_EQ(t.yes, english.yes) << stored;
  }

  const MessageTexts german = textsFor(1);
  EXPECT_EQ(german.labels[2], "Willst Du wirklich schon aufhören?");
  EXPECT_EQ(german.labels[5], "Gratulation, Du hast alle Stufen gelöst.");
  EXPECT_EQ(german.yes, "Ja");
  EXPECT_EQ(german.no, "Nein");

  // The third column is French only for "won", "endgame", "giveup" and "gameover".
  const MessageTexts third = textsFor(2);
  const bool french[kMessagePages] = {true, false, true, true, false, false, true};
  for (int i = 0; i < kMessagePages; ++i) {
    EXPECT_EQ(third.labels[i] != english.labels[i], french[i]) << kMessagePageNames[i];
  }
  EXPECT_EQ(third.labels[3], "Veux-tu vraiment abandonner le jeu?");
  EXPECT_EQ(third.yes, "Oui");
  EXPECT_EQ(third.no, "Non");
}

class MessageDialogTest : public ::testing::Test {
 protected:
  QWidget main_;
  testing::TestLanguage language_{0};
  YesNoDlg dialog_{&main_, [this] { return language_(); }};

  QString shownPage() const {
    return dialog_.findChild<QStackedWidget*>("pages")->currentWidget()->objectName();
  }
};

TEST_F(MessageDialogTest, KindOutsideTheRangeKeepsTheLastPage) {
  QString seen;
  auto closeAndNote = [&] {
    whileShown([&] {
      seen = shownPage();
      dialog_.close();
    });
  };
  closeAndNote();
  dialog_.ShowModal(0);
  EXPECT_EQ(seen, "gameover");

  closeAndNote();
  dialog_.ShowModal(3);
  EXPECT_EQ(seen, "endgame");

  for (int kind : {0, -1, 8}) {
    closeAndNote();
    dialog_.ShowModal(kind);
    EXPECT_EQ(seen, "endgame") << kind;
  }
}

TEST_F(MessageDialogTest, EachPageAnswersWithItsButtonsAndKeys) {
  struct Case {
    int kind;
    const char* first;
    int firstResult;
    const char* second;  // nullptr: an OK-only page
    int secondResult;
    std::optional<int> escape;  // none: Escape leaves the dialog open
  };
  const Case cases[] = {
      {1, "Btn0101", 1, nullptr, 0, std::nullopt}, {2, "Btn0201", 6, "Btn0202", 7, 7},
      {3, "Btn0301", 6, "Btn0302", 2, 2},          {4, "Btn0401", 6, "Btn0402", 7, 7},
      {5, "Btn0501", 1, nullptr, 0, std::nullopt}, {6, "Btn0601", 1, nullptr, 0, std::nullopt},
      {7, "Btn0701", 1, nullptr, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    whileShown([&] { clickButton(&dialog_, c.first); });
    EXPECT_EQ(dialog_.ShowModal(c.kind), c.firstResult);
    EXPECT_EQ(dialog_.ModalResult(), c.firstResult);

    if (c.second != nullptr) {
      whileShown([&] { clickButton(&dialog_, c.second); });
      EXPECT_EQ(dialog_.ShowModal(c.kind), c.secondResult);
    }

    // Enter presses the default button, the first one.
    whileShown([&] { pressKey(&dialog_, Qt::Key_Return); });
    EXPECT_EQ(dialog_.ShowModal(c.kind), c.firstResult);

    bool stayedOpen = false;
    whileShown([&] {
      pressKey(&dialog_, Qt::Key_Escape);
      stayedOpen = dialog_.isVisible();
      if (stayedOpen) clickButton(&dialog_, c.first);
    });
    const int result = dialog_.ShowModal(c.kind);
    EXPECT_EQ(stayedOpen, !c.escape.has_value());
    EXPECT_EQ(result, c.escape.value_or(c.firstResult));

    // The close box is always a 2.
    whileShown([&] { dialog_.close(); });
    EXPECT_EQ(dialog_.ShowModal(c.kind), 2);
  }
}

TEST_F(MessageDialogTest, TextsAndPositionFollowEachShowing) {
  main_.setGeometry(120, 80, 500, 366);
  struct Seen {
    QString gameover, yes, no, ok;
    QPoint pos;
  };
  Seen seen;
  auto look = [&] {
    whileShown([&] {
      seen = {dialog_.findChild<QLabel*>("L0701")->text(),
              dialog_.findChild<QPushButton*>("Btn0301")->text(),
              dialog_.findChild<QPushButton*>("Btn0402")->text(),
              dialog_.findChild<QPushButton*>("Btn0701")->text(), dialog_.pos()};
      dialog_.close();
    });
    dialog_.ShowModal(7);
  };

  language_ = 1;
  look();
  EXPECT_EQ(seen.gameover, "Das Spiel ist leider aus!");
  EXPECT_EQ(seen.yes, "Ja");
  EXPECT_EQ(seen.no, "Nein");
  EXPECT_EQ(seen.ok, "OK");
  EXPECT_EQ(seen.pos,
            dialogPosition(main_.frameGeometry(), main_.height(), dialog_.frameGeometry().size()));

  // A new language and a moved main window take effect at the next showing.
  language_ = 2;
  main_.move(10, 10);
  look();
  EXPECT_EQ(seen.gameover, "Tu as malheureusement perdu!");
  EXPECT_EQ(seen.yes, "Oui");
  EXPECT_EQ(seen.ok, "OK");
  EXPECT_EQ(seen.pos,
            dialogPosition(main_.frameGeometry(), main_.height(), dialog_.frameGeometry().size()));
}

}  // namespace
}  // namespace quibbix::dialogs
