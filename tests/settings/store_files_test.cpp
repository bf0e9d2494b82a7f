// Settings files as players have them, and the places they lie in: whatever
// is in the file or wherever it is, nothing saved is lost.
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "dialogs/score_table.h"
#include "dialogs/scrambler.h"
#include "private_store.h"
#include "store/ini_file.h"
#include "store/settings.h"

namespace quibbix::testing {
namespace {

using store::StoreReport;
const QString kCommon = QStringLiteral("common");

QByteArray row(int score, const char* name) {
  return '"' +
         dialogs::Scramble(QStringLiteral("%1,%2").arg(score).arg(QLatin1String(name))).toUtf8() +
         '"';
}

// Ten rows, a name, every choice, and a section of another program's.
QByteArray fullFile() {
  const char* const names[] = {"Anna", "Bert", "Carl", "Dora", "Emil",
                               "Finn", "Gina", "Hugo", "Ines", "Jan"};
  QByteArray file =
      "[common]\nMainForm=\"200,0,1,150,217,654,587\"\nsound=0\ntongue=1\nzoom=2\n"
      "player=Kim\n";
  for (int r = 0; r < 10; ++r)
    file +=
        "player" + QByteArray::number(r) + '=' + row(r == 9 ? 50 : 900 - 100 * r, names[r]) + '\n';
  return file + "\n[other]\nkey=value\n";
}

QByteArray replaced(QByteArray file, const QByteArray& from, const QByteArray& to) {
  return file.replace(from, to);
}

QByteArray garbage() {
  std::mt19937 gen(11);
  QByteArray bytes(4096, '\0');
  for (char& b : bytes) b = static_cast<char>(gen() & 0xFF);
  return bytes;
}

using Table = dialogs::ScoreRows;

std::vector<int> readableScores(const Table& table) {
  std::vector<int> scores;
  for (const dialogs::ScoreEntry& e : table)
    if (!e.unreadable) scores.push_back(e.score);
  return scores;
}

struct FileCase {
  const char* name;
  QByteArray file;
  int reports;                   // what reading the choices and the table reports
  std::vector<QByteArray> kept;  // lines that must stay byte for byte
  std::function<void(const store::Settings::Choices&)> check = nullptr;
};

class StoreFiles : public PrivateStore, public ::testing::WithParamInterface<FileCase> {};

// Each file is read as the game starts, a score of 93 is stored as a game
// ends, the choices as the game closes; then it is read again.
TEST_P(StoreFiles, KeepEveryReadableRowTheNameAndTheChoices) {
  const FileCase& c = GetParam();
  writeRaw(c.file);
  store::Settings settings(store);
  const store::Settings::Choices choices = settings.readChoices();
  const Table before = dialogs::readTable(store);
  EXPECT_EQ(static_cast<int>(reports.size()), c.reports) << ::testing::PrintToString(errors);
  if (c.check) c.check(choices);

  Table stored;
  ASSERT_TRUE(dialogs::storeTable(store, choices.player, 93, false, stored));
  ASSERT_TRUE(settings.saveChoices(choices));
  reports.clear();

  const store::Settings::Choices again = settings.readChoices();
  const Table after = dialogs::readTable(store);
  EXPECT_EQ(after, stored);
  EXPECT_EQ(again.sound, choices.sound);
  EXPECT_EQ(again.tongue, choices.tongue);
  EXPECT_EQ(again.zoom, choices.zoom);
  EXPECT_EQ(again.player, choices.player);
  EXPECT_EQ(again.windowPlace, choices.windowPlace);

  // Every row that could be read is still there, in order, with 93 ranked
  // among them; a row that could not be read kept its place.
  std::vector<int> expected = readableScores(before);
  expected.push_back(93);
  std::stable_sort(expected.begin(), expected.end(), std::greater<>());
  expected.resize(readableScores(before).size());
  EXPECT_EQ(readableScores(after), expected);
  for (std::size_t r = 0; r < after.size(); ++r)
    EXPECT_EQ(after[r].unreadable, before[r].unreadable) << "row " << r;

  const QByteArray file = readRaw();
  for (const QByteArray& line : c.kept)
    EXPECT_TRUE(file.contains(line)) << "lost: " << line.toStdString() << "\n"
                                     << file.toStdString();
  // Another program's section stays as it was, line ends and all.
  if (c.file.contains("[other]")) {
    const qsizetype other = c.file.indexOf("[other]");
    EXPECT_TRUE(file.contains(c.file.mid(other, c.file.indexOf("value", other) - other)))
        << file.toStdString();
  }
}

std::vector<FileCase> fileCases() {
  const QByteArray full = fullFile();
  return {
      {"AsTheGameWritesIt",
       full,
       0,
       {},
       [](const store::Settings::Choices& c) {
         EXPECT_FALSE(c.sound);
         EXPECT_EQ(c.tongue, 1);
         EXPECT_EQ(c.player, "Kim");
       }},
      {"OpenQuoteInARow",
       replaced(full, row(600, "Dora") + '\n', row(600, "Dora").chopped(1) + '\n'),
       1,
       {"player3=" + row(600, "Dora").chopped(1) + '\n'}},
      {"RowThatIsNoScore",
       replaced(full, row(500, "Emil"),
                '"' + dialogs::Scramble(QStringLiteral("zz,Emil")).toUtf8() + '"'),
       1,
       {}},
      {"LetterForADigit",
       replaced(full, "sound=0", "sound=O"),
       1,
       {},
       [](const store::Settings::Choices& c) { EXPECT_TRUE(c.sound); }},
      {"WrongCaseOfAKey",
       replaced(full, "sound=0", "Sound=0"),
       1,
       {"Sound=0"},
       [](const store::Settings::Choices& c) { EXPECT_TRUE(c.sound); }},
      {"WrongCaseOfTheSection",
       replaced(full, "[common]", "[Common]"),
       15,
       {"[Common]", "player=Kim"},
       [](const store::Settings::Choices& c) { EXPECT_EQ(c.tongue, -1); }},
      {"Garbage", garbage(), 0, {}},
      {"EmptyFile", "", 0, {}},
      {"Latin1Name",
       replaced(full, "player=Kim", "player=J\xf6rg"),
       1,
       {},
       [](const store::Settings::Choices& c) { EXPECT_EQ(c.player, "Vormlab"); }},
      {"Latin1Row", replaced(full, "player5=\"", "player5=\"\xf6"), 1, {"player5=\"\xf6"}},
      {"BooleanAsQtWritesIt",
       replaced(full, "sound=0", "sound=false"),
       0,
       {},
       [](const store::Settings::Choices& c) { EXPECT_FALSE(c.sound); }},
      {"ByteArrayName",
       replaced(full, "player=Kim", "player=@ByteArray(abc)"),
       0,
       {},
       [](const store::Settings::Choices& c) { EXPECT_EQ(c.player, "abc"); }},
      {"CrLfLines", replaced(full, "\n", "\r\n"), 0, {}},
      {"ValuesAtTheTopLevel", "sound=0\ntongue=1\n" + full, 2, {"sound=0\ntongue=1\n"}},
  };
}

INSTANTIATE_TEST_SUITE_P(Files, StoreFiles, ::testing::ValuesIn(fileCases()),
                         [](const auto& param) { return std::string(param.param.name); });

// Lines the game adds to a file of CRLF lines end as the others do.
TEST_F(PrivateStore, NewLinesOfACrLfFileEndInCrLf) {
  writeRaw("[common]\r\nsound=0\r\n[other]\r\nkey=1\r\n");
  ASSERT_TRUE(store.WriteString(kCommon, "player", "Kim"));
  const QByteArray file = readRaw();
  EXPECT_EQ(file.count('\n'), file.count("\r\n")) << file.toStdString();
  EXPECT_EQ(QSettings(storeFile(), QSettings::IniFormat).value("common/player").toString(), "Kim");
}

// Qt reads a header "[general]" as the top level, whatever its case.
TEST(IniFormat, ASectionNamedGeneralIsWrittenSoQtFindsIt) {
  QTemporaryDir dir;
  for (const char* name : {"general", "General"}) {
    SCOPED_TRACE(name);
    // A file of its own for each: Qt keeps what it read of a file.
    const QString path = dir.filePath(QLatin1String(name) + QStringLiteral(".ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(store::ini::Document("").with(QLatin1String(name), {{"k", "v"}}));
    file.close();
    QSettings qt(path, QSettings::IniFormat);
    EXPECT_EQ(qt.value(QLatin1String(name) + QStringLiteral("/k")).toString(), "v");
    EXPECT_FALSE(qt.contains("k"));
  }
}

TEST(IniFile, ARelativeConfigFolderIsIgnored) {
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "relative/config");
  const QString path = store::IniFile::defaultPath();
  qputenv("XDG_CONFIG_HOME", old);
  EXPECT_TRUE(path.startsWith(u'/')) << path.toStdString();
  EXPECT_TRUE(path.endsWith("/.config/Zorvyplay/Quibbix/V2.ini")) << path.toStdString();
}

// A disk with one page free: the save fails, the file is unchanged, and one
// report says what was lost.
TEST_F(PrivateStore, AFullDiskKeepsTheFileWhole) {
  QTemporaryDir mountPoint;
  ASSERT_TRUE(mountPoint.isValid());
  const QByteArray where = QFile::encodeName(mountPoint.path());
  if (::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  struct Unmount {
    QByteArray where;
    ~Unmount() { ::umount2(where.constData(), MNT_DETACH); }
  } unmount{where};

  const QString path = mountPoint.filePath("Zorvyplay/Quibbix/V2.ini");
  std::vector<StoreReport> told;
  store::IniStore full(
      [&](const QList<StoreReport>& r) { told.insert(told.end(), r.begin(), r.end()); }, path);
  Table table;
  table.fill(dialogs::defaultEntry());
  table[0] = {"Anna", 900};
  ASSERT_TRUE(dialogs::writeTable(full, table, "Anna"));
  ASSERT_TRUE(store::Settings(full).saveChoices({false, 1, "2", "Anna", "200,0,1,1,2,3,4"}));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();

  // Fill the disk to its last page.
  struct statvfs fs {};
  ASSERT_EQ(::statvfs(where.constData(), &fs), 0);
  QFile filler(mountPoint.filePath("filler"));
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
  const qint64 free = static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
  filler.write(QByteArray(free - static_cast<qint64>(fs.f_frsize), 'x'));
  filler.close();

  // A name long enough that the new file needs more than the page left.
  const QString longName(8192, u'N');
  EXPECT_FALSE(store::Settings(full).saveChoices({true, 0, "1", longName, longName}));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].kind, StoreReport::SaveFailed);
  EXPECT_EQ(told[0].problem.error, ENOSPC);
  EXPECT_EQ(told[0].path, path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  file.close();
  EXPECT_EQ(QDir(mountPoint.filePath("Zorvyplay/Quibbix")).entryList(QDir::Files),
            QStringList{"V2.ini"})
      << "a temporary file was left behind";
  EXPECT_EQ(dialogs::readTable(full), table);
}

// Odd things where the file or its lock should be: one report, defaults, no
// hang, and nothing there is replaced.
TEST_F(PrivateStore, OddPlacesGiveOneReportAndNoHang) {
  struct Case {
    const char* name;
    std::function<void(const QString& file)> make;
    StoreReport::Kind readReport;  // SaveFailed: reading is fine, saving fails
  };
  const Case cases[] = {
      {"folder", [](const QString& f) { QDir().mkpath(f); }, StoreReport::ReadFailed},
      {"dangling link", [](const QString& f) { QFile::link(f + QStringLiteral(".gone"), f); },
       StoreReport::ReadFailed},
      {"pipe", [](const QString& f) { ::mkfifo(QFile::encodeName(f).constData(), 0600); },
       StoreReport::ReadFailed},
      {"lock is a folder", [](const QString& f) { QDir().mkpath(f + QStringLiteral(".lock")); },
       StoreReport::SaveFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("V2.ini"));
    c.make(file);
    std::vector<StoreReport> told;
    store::IniStore odd(
        [&](const QList<StoreReport>& r) { told.insert(told.end(), r.begin(), r.end()); }, file);
    QElapsedTimer clock;
    clock.start();
    store::Settings settings(odd);
    const store::Settings::Choices choices = settings.readChoices();
    EXPECT_EQ(choices.tongue, -1);
    EXPECT_EQ(dialogs::readTable(odd)[0], dialogs::defaultEntry());
    EXPECT_FALSE(settings.saveChoices(choices));
    EXPECT_LT(clock.elapsed(), 1000) << "it waited";
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.front().kind, c.readReport);
    // One report of the reading, one of the failed save at most.
    EXPECT_LE(told.size(), 2u);
    EXPECT_EQ(told.back().kind, StoreReport::SaveFailed);
  }
}

// A lock left by a copy on another computer sharing the folder (whose
// process cannot be asked) is taken over once it is a few seconds old.
TEST_F(PrivateStore, ALockOfAnotherHostIsTakenOverSoon) {
  ASSERT_TRUE(QDir().mkpath(storeFolder()));
  QFile lock(storeFile() + QStringLiteral(".lock"));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write("4242\nquibbix\nanother-host.example\n");
  lock.close();
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(store.WriteString(kCommon, "player", "Kim"));
  EXPECT_LE(clock.elapsed(), store::IniFile::kLockWaitMs + 1000);
  EXPECT_EQ(store.ReadString(kCommon, "player", ""), "Kim");
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace quibbix::testing
