// Settings files the game did not write: the program starts anyway, shows no
// more than the store's own error box, and its next save leaves a clean table.
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <random>

#include "app_fixture.h"
#include "desktop/placement.h"
#include "desktop/placement_effect.h"
#include "dialogs/highscore_dialog.h"
#include "dialogs/scrambler.h"

namespace quibbix::testing {
namespace {

const QString kCommon = QStringLiteral("common");

// A table row as the game stores it: scrambled, and quoted for its comma;
// `raw` goes in unscrambled after it.
QByteArray row(const QByteArray& plain, const QByteArray& raw = {}) {
  return '"' + dialogs::Scramble(QString::fromUtf8(plain)).toUtf8() + raw + '"';
}

QByteArray binaryGarbage() {
  std::mt19937 gen(7);
  QByteArray bytes(4096, '\0');
  for (char& b : bytes) b = static_cast<char>(gen() & 0xFF);
  return bytes;
}

using Names = std::vector<const char*>;

// The boxes shown tell of exactly these values' lines, all in one box.
void expectOneBoxOfLines(const std::vector<QString>& boxes, const Names& names,
                         const QString& file) {
  if (names.empty()) {
    EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
    return;
  }
  ASSERT_EQ(boxes.size(), 1u);
  const QString& text = boxes.front();
  EXPECT_TRUE(text.contains(file)) << text.toStdString();
  EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("^(Line|Zeile) \\d+: "),
                                          QRegularExpression::MultilineOption)),
            static_cast<qsizetype>(names.size()))
      << text.toStdString();
  for (const char* name : names)
    EXPECT_TRUE(text.contains(QLatin1String(name) + u'=')) << name << "\n" << text.toStdString();
}

struct HostileCase {
  const char* name;
  QByteArray file;
  bool sound;
  int language;
  Names startErrors;                 // the values told of when the window is up
  Names tableErrors;                 // the values told of when the table shows
  std::vector<int> scores;           // the table as shown, from the top (an empty row: 0)
  QString player;                    // the name offered; empty: not checked
  std::vector<int> unreadable = {};  // rows that keep their line as it was
};

std::vector<HostileCase> hostileCases() {
  const QString longName(100000, u'N');
  return {
      {"BinaryGarbage", binaryGarbage(), true, -1, {}, {}, {}, {}},
      {"EmptyFile", "", true, -1, {}, {}, {}, {}},
      {"TenMegabytes",
       "[common]\nsound=0\ntongue=1\nplayer0=" + row("400,Ten") + "\n" + QByteArray(10 << 20, 'A'),
       false,
       1,
       {},
       {},
       {400},
       {}},
      {"InvalidUtf8",
       "[common]\nsound=0\nplayer=J\xf6rg\xff\nplayer0=" + row("300,", "\xe4\xff\xfe") +
           "\ntongue=0\n",
       false,
       0,
       {"player"},
       {"player0"},
       {0},
       QStringLiteral("Vormlab"),
       {0}},
      {"UnquotedCommaLists",
       "[common]\nMainForm=200, 0\nsound=1, 0\ntongue=1,0\nplayer=Anna, Bert\nplayer0=a, b\n"
       "player1=" +
           row("250,Kim, the 2nd") + "\n",
       true,
       -1,
       {"sound", "tongue", "player", "MainForm"},
       {"player0"},
       {0, 250},
       QStringLiteral("Vormlab"),
       {0}},
      {"IntegersBeyond32Bits",
       "[common]\nsound=4294967296\ntongue=4294967297\nplayer0=" + row("4294967396,Big") +
           "\nplayer1=" + row("-2147483649,Small") + "\n",
       true,
       -1,
       {"sound", "tongue"},
       {"player0", "player1"},
       {0, 0},
       {},
       {0, 1}},
      {"NegativeAndHugeScores",
       "[common]\ntongue=1\nplayer0=" + row("2147483647,Max") + "\nplayer1=" + row("-5,Neg") +
           "\nplayer2=" + row("-2147483648,Min") + "\n",
       true,
       1,
       {},
       {},
       {2147483647, -5, -2147483648},
       {}},
      {"RowsNeverScrambled",
       "[common]\ntongue=0\nplayer0=\"900,Anna\"\nplayer1=800,Bob\nplayer2=" + row("700,Cleo") +
           "\n",
       true,
       0,
       {},
       // Plain "900,Anna" unscrambles to no number at all.
       {"player0", "player1"},
       {0, 0, 700},
       {},
       {0, 1}},
      {"NameOf100000Characters",
       "[common]\ntongue=0\nplayer=" + longName.toUtf8() +
           "\nplayer0=" + row("800," + longName.toUtf8()) + "\n",
       true,
       0,
       {},
       {},
       {800},
       longName},
      {"DuplicateGroups",
       "[common]\nsound=0\nplayer0=" + row("100,First") +
           "\n[elsewhere]\nx=1\n[common]\ntongue=1\nplayer1=" + row("200,Second") +
           "\n[common]\nplayer0=" + row("150,Third") + "\n",
       false,
       1,
       {},
       {},
       {150, 200},
       {}},
  };
}

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

class HostileSettings : public AppTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileSettings, StartsCleanlyAndTheNextSaveWritesACleanTable) {
  const HostileCase& c = GetParam();
  writeRaw(c.file);

  create();
  EXPECT_EQ(window->button("Soundbtn")->isChecked(), c.sound);
  EXPECT_EQ(storedValue(window->language()), c.language);
  if (!c.player.isNull()) {
    EXPECT_EQ(window->highscoreDialog()->playerName(), c.player);
  }
  script.then(kClickSplash);
  if (c.language == -1) script.then(kEnglish);
  showWindow();
  expectOneBoxOfLines(script.errorBoxes, c.startErrors, storeFile());
  script.errorBoxes.clear();
  EXPECT_TRUE(window->timer().isActive());

  dialogs::ScoreRows shown;
  script.then([&](QDialog* table) {
    for (int r = 0; r < dialogs::kRows; ++r) {
      const QString n = QString::number(r);
      shown[static_cast<std::size_t>(r)] = {table->findChild<QLabel*>("pla" + n)->text(),
                                            table->findChild<QLabel*>("sco" + n)->text().toInt()};
    }
    kHighscoreOk(table);
  });
  click("HighScoreBtn");
  expectOneBoxOfLines(script.errorBoxes, c.tableErrors, storeFile());
  script.errorBoxes.clear();
  for (std::size_t r = 0; r < dialogs::kRows; ++r)
    EXPECT_EQ(shown[r].score, r < c.scores.size() ? c.scores[r] : 0) << "row " << r;

  script.then(kYes);
  click("ExitBtn");
  ASSERT_FALSE(window->isVisible());
  EXPECT_TRUE(script.errorBoxes.empty()) << script.errorBoxes.front().toStdString();

  // Everything of ours now reads back without a complaint, the rows exactly as shown.
  // Lines of others' are kept as they stand, whatever their bytes; the ones
  // the game wrote are clean UTF-8.
  for (const QByteArray& line : readRaw().split('\n')) {
    static const QRegularExpression ours(
        QStringLiteral("^(player\\d?|sound|tongue|zoom|MainForm)="));
    if (!ours.match(QString::fromLatin1(line)).hasMatch()) continue;
    if (c.file.contains(line)) continue;  // kept as it was
    EXPECT_EQ(QString::fromUtf8(line).toUtf8(), line)
        << "not UTF-8: " << line.left(40).toStdString();
  }
  const QByteArray after = readRaw();
  for (int r = 0; r < dialogs::kRows; ++r) {
    if (std::find(c.unreadable.begin(), c.unreadable.end(), r) != c.unreadable.end()) {
      // The row that could not be read keeps its line, byte for byte.
      const QByteArray key = "\nplayer" + QByteArray::number(r) + '=';
      const qsizetype start = c.file.indexOf(key);
      ASSERT_GE(start, 0);
      EXPECT_TRUE(after.contains(c.file.mid(start, c.file.indexOf('\n', start + 1) - start)))
          << "row " << r;
      continue;
    }
    const QString text =
        dialogs::Unscramble(store.ReadString(kCommon, "player" + QString::number(r), {}));
    const qsizetype comma = text.indexOf(u',');
    int score = 0;
    ASSERT_TRUE(comma > 0 && store::parseDecimalInt(text.left(comma), score)) << "row " << r;
    EXPECT_EQ((dialogs::ScoreEntry{text.mid(comma + 1), score}), shown[static_cast<std::size_t>(r)])
        << "row " << r;
  }
  int value = 0;
  EXPECT_TRUE(store::parseDecimalInt(store.ReadString(kCommon, "tongue", {}), value));
  EXPECT_EQ(value, storedValue(window->language()));
  EXPECT_EQ(store.ReadString(kCommon, "sound", {}), c.sound ? "1" : "0");
  EXPECT_TRUE(desktop::readPlacementText(store.ReadString(kCommon, "MainForm", {})).has_value());
  EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
  EXPECT_EQ(QSettings(storeFile(), QSettings::IniFormat).childGroups().count(kCommon), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettings, ::testing::ValuesIn(hostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& param) {
                           return std::string(param.param.name);
                         });

// A hand edit gone wrong costs its own line at most: the table and the name
// below it survive a start and a close, and the bad line is still there for
// the player to mend.
TEST_F(AppTest, AHandEditedTypoCostsNoRowOfTheTable) {
  struct Case {
    const char* name;
    QByteArray badLine;
    bool ours;  // the game's own key: replaced by the value of the run
  };
  const Case cases[] = {
      {"unterminated quote", "zoom=\"2", true},
      {"trailing backslash", "zoom=2\\", true},
      {"typed blob", "zoom=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPixmap\\0)", true},
      {"someone else's open quote", "comment=\"mine, all mine", false},
      {"line without equals", "zoom 2", false},
      {"second section header", "[common]", false},
  };
  QByteArray rows;
  for (int r = 0; r < dialogs::kRows; ++r)
    rows += "player" + QByteArray::number(r) + '=' +
            row(QByteArray::number(1000 - 10 * r) + ",Row" + QByteArray::number(r)) + '\n';
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeRaw("[common]\ntongue=1\nsound=0\n" + c.badLine + "\nplayer=Kim\n" + rows);
    create();
    script.then(kClickSplash);  // no language question: "tongue" came through
    showWindow();
    EXPECT_LE(script.errorBoxes.size(), 1u);
    script.then(kYes);
    click("ExitBtn");
    ASSERT_FALSE(window->isVisible());
    window.reset();

    const QByteArray after = readRaw();
    EXPECT_EQ(after.contains('\n' + c.badLine + '\n'), !c.ours) << after.toStdString();
    if (c.ours) {
      EXPECT_TRUE(after.contains("\nzoom=0\n")) << after.toStdString();
    }
    EXPECT_EQ(store.ReadString(kCommon, "player", {}), "Kim");
    for (int r = 0; r < dialogs::kRows; ++r) {
      EXPECT_EQ(dialogs::Unscramble(store.ReadString(kCommon, "player" + QString::number(r), {})),
                QStringLiteral("%1,Row%2").arg(1000 - 10 * r).arg(r));
    }
  }
  EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
}

using StartSettingsTest = AppTest;

// A hand-edited "zoom" of the wrong type: the start reads it once, so one box says so.
// Like every complaint of the store met while the window is built (the opening effect
// may be drawing on the bare screen), it is shown over the finished window, before the
// splash.
TEST_F(StartSettingsTest, AWrongTypedZoomIsReportedOnceOverTheFinishedWindow) {
  writeRaw("[common]\ntongue=0\nsound=1, 0\nzoom=2, 3\n");
  std::vector<bool> overFinishedWindow;
  script.onErrorBox = [&] {
    overFinishedWindow.push_back(window && window->isVisible() && script.opened.empty());
  };
  app::StartSettings start = app::readStartSettings();
  EXPECT_TRUE(script.errorBoxes.empty()) << "reported before the window";
  EXPECT_EQ(start.zoomChoice, 0);

  script.then(kClickSplash);
  // The program's own start: the opening shows the window before the dialogs exist.
  desktop::ShowEffect effect;
  window = std::make_unique<app::MainWindow>(kSeed, std::move(start), &effect);
  script.watchTimer(&window->timer());
  window->runOpening(effect);
  EXPECT_TRUE(window->isVisible());
  window->createDialogs();
  EXPECT_TRUE(script.errorBoxes.empty()) << "reported while the window was built";
  QCoreApplication::processEvents();  // the first activation

  EXPECT_TRUE(script.done());
  expectOneBoxOfLines(script.errorBoxes, {"sound", "zoom"}, storeFile());
  EXPECT_EQ(overFinishedWindow, (std::vector<bool>{true}));
  EXPECT_EQ(script.openedNames(), QStringList{"Splash"});
  EXPECT_EQ(window->zoomChoice(), 0);
}

using UnwritableSettings = AppTest;

TEST_F(UnwritableSettings, EveryFailedWriteIsReportedOncePlayGoesOnAndTheFileStays) {
  dialogs::ScoreRows old;
  old.fill(dialogs::defaultEntry());
  old[0] = {QStringLiteral("Erste"), 900};
  ASSERT_TRUE(dialogs::writeTable(store, old, QStringLiteral("Erste")));
  ASSERT_TRUE(store.WriteInteger(kCommon, "tongue", 1));
  const QByteArray before = readRaw();
  QUIBBIX_LOCK_OR_SKIP(storeFile());
  QUIBBIX_LOCK_OR_SKIP(storeFolder());

  create();
  script.then(kClickSplash);
  showWindow();
  EXPECT_TRUE(script.errorBoxes.empty()) << "reading needs no writing";

  // Giving up a scored game: the table cannot be saved, the new game starts anyway.
  auto& st = window->game().state();
  st.Score = 1000;
  script.then(kYes);
  script.then(kHighscoreOk);
  click("StartBtn");
  // One box, in the player's language, naming the file and what was lost.
  const QString tableLost =
      QStringLiteral(u"Quibbix konnte die Bestenliste und den Namen nicht speichern.");
  ASSERT_EQ(script.errorBoxes.size(), 1u);
  EXPECT_TRUE(script.errorBoxes[0].startsWith(tableLost)) << script.errorBoxes[0].toStdString();
  EXPECT_TRUE(script.errorBoxes[0].contains(storeFile()));
  EXPECT_EQ(st.Score, 0);
  EXPECT_EQ(st.Level, 1);
  EXPECT_FALSE(st.GameOver);
  EXPECT_TRUE(window->timer().isActive());

  // The table still shows what is really stored.
  QString top;
  script.then([&](QDialog* table) {
    top = table->findChild<QLabel*>("pla0")->text();
    kHighscoreOk(table);
  });
  click("HighScoreBtn");
  EXPECT_EQ(top, "Erste");
  EXPECT_EQ(script.errorBoxes.size(), 2u);
  EXPECT_TRUE(window->timer().isActive());

  script.then(kYes);
  click("ExitBtn");
  EXPECT_FALSE(window->isVisible());
  // The close saves every choice at once: one box for all of them.
  ASSERT_EQ(script.errorBoxes.size(), 3u);
  EXPECT_TRUE(script.errorBoxes[1].startsWith(tableLost));
  EXPECT_TRUE(script.errorBoxes[2].startsWith(
      QStringLiteral(u"Quibbix konnte deine Einstellungen (Ton, Sprache, Zoom und Fensterposition) "
                     u"nicht speichern.")))
      << script.errorBoxes[2].toStdString();
  EXPECT_EQ(readRaw(), before);
}

}  // namespace
}  // namespace quibbix::testing
