#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "dialog_driver.h"
#include "dialogs/highscore_dialog.h"
#include "store/settings_store.h"
#include "store_reports.h"

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
    if (!dialog_) dialog_.emplace(&main_, ini_);
    return *dialog_;
  }
  QLineEdit* edit() { return dialog().findChild<QLineEdit*>("Edit1"); }
  QString cell(const char* column, int row) {
    return dialog().findChild<QLabel*>(column + QString::number(row))->text();
  }
  QString storedPlayer() { return ini_.ReadString("common", "player", "<none>"); }

  QWidget main_;
  store::IniStore ini_{quibbix::storetest::failOnReport()};
  testing::TestLanguage language_{0};
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

TEST_F(HighscoreDialogTest, ClearingAsksFirstAndDropsThePendingEntryToo) {
  const Table stored = tableOf({{"a", 900}, {"b", 100}});
  ASSERT_TRUE(writeTable(ini_, stored, "Kim"));
  // The question's No (its default, so Return) keeps the table and the
  // dialog; the box is unticked again.
  bool stillOpen = false, unticked = false;
  whileShown([&] {
    QTest::keyClicks(edit(), "Bob");
    dialog().findChild<QCheckBox*>("ClearBox")->setChecked(true);
    whileShown([&] { pressKey(QApplication::activeModalWidget(), Qt::Key_Return); });
    clickButton(&dialog(), "OKBtn");
    stillOpen = dialog().isVisible();
    unticked = !dialog().findChild<QCheckBox*>("ClearBox")->isChecked();
    EXPECT_TRUE(sameTable(readTable(ini_), stored));
    clickButton(&dialog(), "CancelBtn");
  });
  dialog().ShowModal(500, 1);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(unticked);
  EXPECT_TRUE(sameTable(readTable(ini_), stored));

  whileShown([&] {
    QTest::keyClicks(edit(), "Bob");
    dialog().findChild<QCheckBox*>("ClearBox")->setChecked(true);
    whileShown([&] { clickButton(QApplication::activeModalWidget(), "ClearYesBtn"); });
    clickButton(&dialog(), "OKBtn");
  });
  dialog().ShowModal(500, 1);
  EXPECT_TRUE(sameTable(readTable(ini_), tableOf({})));
  EXPECT_EQ(storedPlayer(), "Mr. Quaddel");
  EXPECT_EQ(dialog().playerName(), "Mr. Quaddel");

  // The box is unticked again at the next showing.
  bool checked = true;
  whileShown([&] {
    checked = dialog().findChild<QCheckBox*>("ClearBox")->isChecked();
    clickButton(&dialog(), "CancelBtn");
  });
  dialog().ShowModal(0, 0);
  EXPECT_FALSE(checked);
}

// The keys of play, typed into the table in any order (up to three of them),
// never clear it: the box is out of the arrows' and Space's reach from the
// buttons, and Return meets the question's No.
TEST_F(HighscoreDialogTest, KeysOfPlayNeverClearTheTable) {
  const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return};
  Table stored;
  for (int r = 0; r < kRows - 1; ++r) stored[r] = {QStringLiteral("P%1").arg(r), 900 - 10 * r};
  stored[kRows - 1] = defaultEntry();
  std::vector<std::vector<Qt::Key>> sequences;
  for (const Qt::Key a : keys) {
    sequences.push_back({a});
    for (const Qt::Key b : keys) {
      sequences.push_back({a, b});
      for (const Qt::Key c : keys) sequences.push_back({a, b, c});
    }
  }
  for (const int mode : {0, 1}) {
    for (const auto& sequence : sequences) {
      SCOPED_TRACE(::testing::Message()
                   << "mode " << mode << ", keys " << ::testing::PrintToString(sequence));
      ASSERT_TRUE(writeTable(ini_, stored, "Kim"));
      // One key per turn of whichever loop runs, so that a question opened
      // by one key gets the next; then whatever is still open is cancelled.
      std::function<void(std::size_t)> step = [&](std::size_t i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        if (i < sequence.size()) {
          QTimer::singleShot(0, &dialog(), [&, i] { step(i + 1); });
          pressKey(modal, sequence[i]);
          return;
        }
        if (modal != &dialog()) {
          QTimer::singleShot(0, &dialog(), [&, i] { step(i); });
          static_cast<QDialog*>(modal)->reject();
          return;
        }
        clickButton(&dialog(), "CancelBtn");
      };
      whileShown([&] { step(0); });
      dialog().ShowModal(5, mode);
      // A step queued by the last key finds no window now, and must not
      // outlive `step`.
      QCoreApplication::processEvents();
      const Table after = readTable(ini_);
      for (int r = 0; r < kRows - 1; ++r) EXPECT_EQ(after[r], stored[r]) << "row " << r;
      if (HasFailure()) return;
    }
  }
}

// Keys typed in play before the table opened on its own do not reach it; the
// name is what the player types once it is up, and never a name of blanks.
TEST_F(HighscoreDialogTest, TypeAheadIsDroppedAndABlankNameIsRefused) {
  ASSERT_TRUE(writeTable(ini_, tableOf({{"a", 900}}), "Kim"));
  dialog();
  for (const Qt::Key key : {Qt::Key_X, Qt::Key_Space, Qt::Key_Return}) {
    const QString text = key == Qt::Key_X       ? QStringLiteral("x")
                         : key == Qt::Key_Space ? QStringLiteral(" ")
                                                : QStringLiteral("\r");
    QCoreApplication::postEvent(edit(), new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(edit(),
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
  }
  bool okWhileBlank = true, openAfterBlankReturn = false;
  whileShown([&] {
    edit()->selectAll();
    QTest::keyClicks(edit(), "   ");
    okWhileBlank = dialog().findChild<QPushButton*>("OKBtn")->isEnabled();
    pressKey(&dialog(), Qt::Key_Return);
    openAfterBlankReturn = dialog().isVisible();
    edit()->selectAll();
    QTest::keyClicks(edit(), "Bob");
    pressKey(&dialog(), Qt::Key_Return);
  });
  dialog().ShowModal(500, 1);
  EXPECT_FALSE(okWhileBlank);
  EXPECT_TRUE(openAfterBlankReturn);
  EXPECT_TRUE(sameTable(readTable(ini_), tableOf({{"a", 900}, {"Bob", 500}})));
}

// Keys that arrive while the table is on its way to the screen were typed
// before the player could see the name field: they are dropped too, and the
// name is what is typed once the field is up.
TEST_F(HighscoreDialogTest, KeysQueuedBeforeTheFieldShowsAreDropped) {
  dialog();
  class PostOnShow : public QObject {
   public:
    explicit PostOnShow(QLineEdit* edit) : edit_(edit) {}

   protected:
    bool eventFilter(QObject* object, QEvent* event) override {
      if (event->type() == QEvent::Show && object == edit_->window() && !posted_) {
        posted_ = true;
        for (const Qt::Key key : {Qt::Key_N, Qt::Key_N, Qt::Key_Return}) {
          const QString text = key == Qt::Key_N ? QStringLiteral("n") : QStringLiteral("\r");
          QCoreApplication::postEvent(edit_,
                                      new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
          QCoreApplication::postEvent(edit_,
                                      new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
        }
      }
      return false;
    }

   private:
    QLineEdit* edit_;
    bool posted_ = false;
  } poster(edit());
  whileShown([&] {
    edit()->end(false);
    QTest::keyClicks(edit(), "x");
    pressKey(&dialog(), Qt::Key_Return);
  });
  qApp->installEventFilter(&poster);
  dialog().ShowModal(500, 1);
  qApp->removeEventFilter(&poster);
  EXPECT_EQ(storedPlayer(), "Vormlabx");
  EXPECT_TRUE(sameTable(readTable(ini_), tableOf({{"Vormlabx", 500}})));
}

// Another copy of the game stores a score while this one's table is open:
// both rows are kept.
TEST_F(HighscoreDialogTest, AScoreStoredMeanwhileIsKept) {
  ASSERT_TRUE(writeTable(ini_, tableOf({{"a", 900}}), "Kim"));
  whileShown([&] {
    store::IniStore other(quibbix::storetest::failOnReport());
    ScoreRows rows;
    ASSERT_TRUE(storeTable(other, QStringLiteral("Other"), 700, false, rows));
    edit()->selectAll();
    QTest::keyClicks(edit(), "Anna");
    pressKey(&dialog(), Qt::Key_Return);
  });
  dialog().ShowModal(500, 1);
  EXPECT_TRUE(sameTable(readTable(ini_), tableOf({{"a", 900}, {"Other", 700}, {"Anna", 500}})));
  EXPECT_EQ(storedPlayer(), "Anna");
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

namespace quibbix::dialogs {
namespace {

// What a screen reader reads of the table: a table of ten rows under a header of
// rank, name and score, each cell what its label shows, in the dialog's language.
TEST_F(HighscoreDialogTest, TheRowsAreATableWithAHeaderForAScreenReader) {
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    language_ = language;
    QString name, header0, header1, header2, cell00, cell01, cell02, cell92;
    QAccessible::Role role = QAccessible::NoRole, headerRole = QAccessible::NoRole;
    int rows = 0, columns = 0;
    bool headerOfCell = false;
    whileShown([&] {
      QAccessibleInterface* table =
          QAccessible::queryAccessibleInterface(dialog().findChild<QWidget*>("ScoreTable"));
      role = table->role();
      name = table->text(QAccessible::Name);
      QAccessibleTableInterface* t = table->tableInterface();
      rows = t->rowCount();
      columns = t->columnCount();
      const auto nameAt = [&](int r, int c) { return t->cellAt(r, c)->text(QAccessible::Name); };
      cell00 = nameAt(0, 0);
      cell01 = nameAt(0, 1);
      cell02 = nameAt(0, 2);
      cell92 = nameAt(9, 2);
      const auto headers = t->cellAt(0, 1)->tableCellInterface()->columnHeaderCells();
      headerOfCell = headers.size() == 1 && headers[0] == table->child(1);
      header0 = table->child(0)->text(QAccessible::Name);
      header1 = table->child(1)->text(QAccessible::Name);
      header2 = table->child(2)->text(QAccessible::Name);
      headerRole = table->child(0)->role();
      pressKey(&dialog(), Qt::Key_Return);
    });
    dialog().ShowModal(0, 0);
    EXPECT_EQ(role, QAccessible::Table);
    EXPECT_EQ(name, language == 1 ? "Die zehn Besten" : "The ten best");
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(headerRole, QAccessible::ColumnHeader);
    EXPECT_EQ(header0, language == 1 ? "Platz" : "Rank");
    EXPECT_EQ(header1, "Name");
    EXPECT_EQ(header2, language == 1 ? "Punkte" : "Score");
    EXPECT_TRUE(headerOfCell);
    EXPECT_EQ(cell00, "1.");
    EXPECT_EQ(cell01, cell("pla", 0));
    EXPECT_EQ(cell02, cell("sco", 0));
    EXPECT_EQ(cell92, cell("sco", 9));
  }
}

}  // namespace
}  // namespace quibbix::dialogs
