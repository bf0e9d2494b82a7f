#include "dialogs/score_table.h"
#include "dialogs/scrambler.h"
#include "private_store.h"
#include "store_reports.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>

namespace quibbix::dialogs {
namespace {

ScoreRows tableOf(std::initializer_list<int> scores) {
  ScoreRows rows;
  rows.fill(defaultEntry());
  int row = 0;
  for (int score : scores)
    rows[static_cast<std::size_t>(row++)] = {QStringLiteral("R%1").arg(row), score};
  return rows;
}

TEST(ScoreTable, InsertionFindsTheRankBelowEqualScores) {
  struct Case {
    const char* name;
    ScoreRows rows;
    int score;
    std::optional<int> row;
  };
  const Case cases[] = {
      {"fresh table", tableOf({}), 150, 0},
      {"equal to row 3", tableOf({900, 800, 700, 700, 600, 500}), 700, 4},
      {"table of 500s", tableOf({500, 500, 500, 500, 500, 500, 500, 500, 500, 500}), 500,
       std::nullopt},
      {"row 9", tableOf({900, 800, 700, 600, 500, 400, 300, 200, 100, 50}), 60, 9},
      {"0 into a fresh table", tableOf({}), 0, std::nullopt},
      {"above all", tableOf({900, 800}), 1000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScoreRows rows = c.rows;
    EXPECT_EQ(insertScore(rows, c.score, QStringLiteral("Neu")), c.row);
    if (!c.row) {
      EXPECT_EQ(rows, c.rows);
      continue;
    }
    const auto at = static_cast<std::size_t>(*c.row);
    EXPECT_EQ(rows[at], (ScoreEntry{QStringLiteral("Neu"), c.score}));
    for (std::size_t r = 0; r < at; ++r) EXPECT_EQ(rows[r], c.rows[r]);
    for (std::size_t r = at + 1; r < kRows; ++r) EXPECT_EQ(rows[r], c.rows[r - 1]);
  }
}

TEST(ScoreTable, StoredRowKeepsAnyName) {
  const QString names[] = {
      QStringLiteral(""),
      QStringLiteral("a,b,,c,"),
      QStringLiteral("  Mr. Quaddel  "),
      QStringLiteral(u"Jörg Müller-Lüdenscheidt"),
      QString(1000, u'x') + QStringLiteral(u"é,1"),
  };
  for (const QString& name : names) {
    SCOPED_TRACE(name.left(40).toStdString());
    for (int score : {0, 150, -7, 2147483647}) {
      EXPECT_EQ(parseStoredRow(formatStoredRow({name, score})), (ScoreEntry{name, score}));
    }
  }
  EXPECT_EQ(Unscramble(formatStoredRow({QStringLiteral("Vormlab"), 150})), "150,Vormlab");
}

TEST(ScoreTable, UnreadableStoredRowIsTheDefaultEntry) {
  const char* const texts[] = {"",    "abc,Name",        ",Name",    "12abc,Name",
                               "150", "2147483648,Name", " 150,Name"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parseStoredRow(Scramble(QString::fromUtf8(text))), defaultEntry());
  }
  EXPECT_EQ(defaultEntry(), (ScoreEntry{QStringLiteral("Vormlab"), 0}));
}

using StoredTable = testing::PrivateStore;

TEST_F(StoredTable, FreshStoreHasTenDefaultRowsAndOkWritesThemBack) {
  ScoreRows rows = readTable(store);
  ScoreRows expected;
  expected.fill(defaultEntry());
  EXPECT_EQ(rows, expected);

  ASSERT_EQ(insertScore(rows, 150, QStringLiteral("Vormlab")), 0);
  ASSERT_TRUE(writeTable(store, rows, QStringLiteral("Anna, die Erste")));
  EXPECT_EQ(readTable(store), rows);
  EXPECT_EQ(store.ReadString(QStringLiteral("common"), QStringLiteral("player"), {}),
            "Anna, die Erste");
  EXPECT_EQ(store.ReadString(QStringLiteral("common"), QStringLiteral("player0"), {}),
            "mIG,0R4BrCo");
  EXPECT_TRUE(errors.empty());
}

// Two copies of the game storing scores into one settings folder at the same
// time: every score is kept. The copies are this test program itself, run
// twice as children.
TEST(ScoreTableCopies, TwoProcessesStoringScoresKeepEveryRow) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::vector<std::unique_ptr<QProcess>> copies;
  for (const int first : {101, 102}) {
    auto copy = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUIBBIX_STORE_COPY"), dir.path() + u':' + QString::number(first));
    copy->setProcessEnvironment(env);
    copy->setProcessChannelMode(QProcess::ForwardedChannels);
    copy->start(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")),
                {QStringLiteral("--gtest_filter=ScoreTableCopies.OneCopyStoresFiveScores")});
    copies.push_back(std::move(copy));
  }
  for (auto& copy : copies) {
    ASSERT_TRUE(copy->waitForFinished(60000));
    EXPECT_EQ(copy->exitCode(), 0);
  }
  std::vector<store::StoreReport> errors;
  store::IniStore store(quibbix::storetest::collectReports(errors),
                        quibbix::storetest::storeFileIn(dir.path()));
  const ScoreRows rows = readTable(store);
  for (int r = 0; r < kRows; ++r) EXPECT_EQ(rows[static_cast<std::size_t>(r)].score, 110 - r);
  EXPECT_TRUE(errors.empty());
}

// One of the copies above; skipped when run on its own.
TEST(ScoreTableCopies, OneCopyStoresFiveScores) {
  const QStringList job = qEnvironmentVariable("QUIBBIX_STORE_COPY").split(u':');
  if (job.size() != 2) GTEST_SKIP() << "run by TwoProcessesStoringScoresKeepEveryRow";
  store::IniStore store(quibbix::storetest::failOnReport(),
                        quibbix::storetest::storeFileIn(job[0]));
  for (int score = job[1].toInt(); score <= 110; score += 2) {
    ScoreRows rows;
    ASSERT_TRUE(storeTable(store, QStringLiteral("Copy%1").arg(job[1]), score, false, rows));
  }
}

}  // namespace
}  // namespace quibbix::dialogs
