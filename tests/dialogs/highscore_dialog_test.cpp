#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <optional>

#include "app/settings_store.h"
#include "dialog_driver.h"
#include "dialogs/highscore_dialog.h"

namespace quibbix::dialogs {
namespace {

using testing::clickButton;
using testing::pressKey;
using testing::whileShown;
using Table = std::array<ScoreEntry, kRows>;

bool sameTable(const Table& a, const Table& b) {
  for (int r = 0; r < kRows; ++r) {
    if (a[r].name != b[r].name || a[r].score != b[r].score) return false;
  }
  return true;
}

Table tableOf(std::initializer_list<ScoreEntry> top) {
  Table t;
  t.fill(defaultEntry());
  int r = 0;
  for (const ScoreEntry& e : top) t[r++] = e;
  return t;
}

// Every test starts from an empty store.
class HighscoreDialogTest : public ::testing::Test {
 protected:
  HighscoreDialogTest() {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Zorvyplay", "Quibbix/V2").clear();
  }

  // Builds the dialog on demand, so that it reads a player name seeded first.
  HighscoreDlg& dialog() {
    if (!dialog_) dialog_.emplace(&main_, ini_, [this] { return language_; });
    return *dialog_;
  }
  QLineEdit* edit() { return dialog().findChild<QLineEdit*>("Edit1"); }
  QString cell(const char* column, int row) {
    return dialog().findChild<QLabel*>(column + QString::number(row))->text();
  }
  QString storedPlayer() { return ini_.ReadString("common", "player", "<none>"); }

  QWidget main_;
  app::IniStore ini_{[](const QString& error) { ADD_FAILURE() << error.toStdString(); }};
  int language_ = 0;
  std::optional<HighscoreDlg> dialog_;
};

TEST_F(HighscoreDialogTest, FreshStoreTakesTheFirstScoreAtTheTop) {
  bool editShown = false, editFocused = false;
  QString offeredName, row0Score, row1Name, rank10;
  QRect editPlace;
  whileShown([&] {
    editShown = edit()->isVisible() && edit()->isEnabled();
    editFocused = dialog().focusWidget() == edit();
    editPlace = edit()->geometry();
    offeredName = edit()->text();
    row0Score = cell("sco", 0);
    row1Name = cell("pla", 1);
    rank10 = cell("num", 9);
    edit()->selectAll();
    QTest::keyClicks(edit(), "Anna, the 2nd");
    pressKey(&dialog(), Qt::Key_Return);
  });
  dialog().ShowModal(150, 1);

  EXPECT_TRUE(editShown);
  EXPECT_TRUE(editFocused);
  EXPECT_EQ(editPlace, QRect(60, 15, 190, 15));
  EXPECT_EQ(offeredName, "Vormlab");
  EXPECT_EQ(row0Score, "150");
  EXPECT_EQ(row1Name, "Vormlab");
  EXPECT_EQ(rank10, "10.   ");

  EXPECT_TRUE(sameTable(readTable(ini_), tableOf({{"Anna, the 2nd", 150}})));
  EXPECT_EQ(storedPlayer(), "Anna, the 2nd");
  EXPECT_EQ(dialog().playerName(), "Anna, the 2nd");
}

TEST_F(HighscoreDialogTest, NameEntryGoesOverTheNewRowOnly) {
  struct Case {
    Table stored;
    int score;
    std::optional<int> row;
  };
  Table full;
  full.fill({"Max", 500});
  const Case cases[] = {
      {tableOf({{"a", 900}, {"b", 700}, {"c", 700}, {"d", 600}, {"e", 100}}), 600, 4},
      {full, 500, std::nullopt},
      {full, 501, 0},
      {tableOf({}), 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.score);
    ASSERT_TRUE(writeTable(ini_, c.stored, "Kim"));
    std::optional<int> editRow;
    whileShown([&] {
      if (edit()->isVisible()) editRow = (edit()->y() - 15) / 21;
      clickButton(&dialog(), "CancelBtn");
    });
    dialog().ShowModal(c.score, 1);
    EXPECT_EQ(editRow, c.row);
    EXPECT_TRUE(sameTable(readTable(ini_), c.stored));
  }
}

TEST_F(HighscoreDialogTest, OkInShowModeRewritesTheSameTable) {
  const Table stored =
      tableOf({{"Zoë Müller", 4711}, {"a, b, c", 300}, {"  spaced  ", 12}, {"", 5}});
  ASSERT_TRUE(writeTable(ini_, stored, "Kim"));
  QString shownName, shownScore;
  whileShown([&] {
    shownName = cell("pla", 0);
    shownScore = cell("sco", 0);
    pressKey(&dialog(), Qt::Key_Return);
  });
  dialog().ShowModal(0, 0);

  EXPECT_EQ(shownName, "Zoë Müller");
  EXPECT_EQ(shownScore, "4711");
  EXPECT_TRUE(sameTable(readTable(ini_), stored));
  EXPECT_EQ(storedPlayer(), "Kim");
}

TEST_F(HighscoreDialogTest, ClearOptionDropsThePendingEntryToo) {
  ASSERT_TRUE(writeTable(ini_, tableOf({{"a", 900}, {"b", 100}}), "Kim"));
  whileShown([&] {
    QTest::keyClicks(edit(), "Bob");
    dialog().findChild<QCheckBox*>("ClearBox")->setChecked(true);
    clickButton(&dialog(), "OKBtn");
  });
  dialog().ShowModal(500, 1);

  EXPECT_TRUE(sameTable(readTable(ini_), tableOf({})));
  EXPECT_EQ(storedPlayer(), "Mr. Quaddel");
  EXPECT_EQ(dialog().playerName(), "Mr. Quaddel");

  // The box is unchecked again at the next showing.
  bool checked = true;
  whileShown([&] {
    checked = dialog().findChild<QCheckBox*>("ClearBox")->isChecked();
    clickButton(&dialog(), "CancelBtn");
  });
  dialog().ShowModal(0, 0);
  EXPECT_FALSE(checked);
}

TEST_F(HighscoreDialogTest, CancelCloseBoxAndEscapeStoreNothing) {
  const Table stored = tableOf({{"a", 900}, {"b", 100}});
  ASSERT_TRUE(writeTable(ini_, stored, "Kim"));
  EXPECT_EQ(dialog().playerName(), "Kim");

  bool escapeKeptItOpen = false;
  whileShown([&] {
    QTest::keyClicks(edit(), "Bob");
    pressKey(&dialog(), Qt::Key_Escape);
    escapeKeptItOpen = dialog().isVisible();
    clickButton(&dialog(), "CancelBtn");
  });
  dialog().ShowModal(300, 1);
  EXPECT_TRUE(escapeKeptItOpen);

  whileShown([&] { dialog().close(); });
  dialog().ShowModal(300, 1);

  EXPECT_TRUE(sameTable(readTable(ini_), stored));
  EXPECT_EQ(storedPlayer(), "Kim");
  EXPECT_EQ(dialog().playerName(), "Kim");
}

TEST_F(HighscoreDialogTest, CaptionsFollowTheLanguage) {
  struct Case {
    int language;
    const char* title;
    const char* clear;
    const char* cancel;
  };
  const Case cases[] = {
      {1, "Quibbix - Bestenliste", "Alle Einträge löschen.", "Abbruch"},
      {0, "Quibbix - Highscore", "Clear all entries.", "Cancel"},
      {2, "Quibbix - Highscore", "Clear all entries.", "Cancel"},
  };
  for (const Case& c : cases) {
    language_ = c.language;
    QString title, clear, cancel, ok;
    whileShown([&] {
      title = dialog().windowTitle();
      clear = dialog().findChild<QLabel*>("clearlabel")->text();
      cancel = dialog().findChild<QPushButton*>("CancelBtn")->text();
      ok = dialog().findChild<QPushButton*>("OKBtn")->text();
      dialog().close();
    });
    dialog().ShowModal(0, 0);
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(clear, c.clear);
    EXPECT_EQ(cancel, c.cancel);
    EXPECT_EQ(ok, "OK");
  }
}

}  // namespace
}  // namespace quibbix::dialogs
