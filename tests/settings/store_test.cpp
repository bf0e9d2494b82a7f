#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <utility>
#include <vector>

#include "dialogs/score_table.h"
#include "private_store.h"
#include "store/settings.h"

namespace quibbix::testing {
namespace {

using Store = PrivateStore;

const QString kCommon = QStringLiteral("common");

TEST_F(Store, FreshFolderGivesDefaultsAndReadsCreateNothing) {
  EXPECT_EQ(store.fileName(), storeFile());
  EXPECT_TRUE(store.ReadBool(kCommon, "sound", true));
  EXPECT_FALSE(store.ReadBool(kCommon, "sound", false));
  EXPECT_EQ(store.ReadInteger(kCommon, "tongue", -1), -1);
  EXPECT_EQ(store.ReadString(kCommon, "player", "Vormlab"), "Vormlab");
  EXPECT_EQ(store.ReadString("elsewhere", "player0", ""), "");
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(QDir(configDir()).isEmpty()) << "a read created something";
}

TEST_F(Store, ValuesAreStoredAsTextAndSeenByTheNextRead) {
  ASSERT_TRUE(store.WriteBool(kCommon, "sound", false));
  ASSERT_TRUE(store.WriteInteger(kCommon, "tongue", -1));
  ASSERT_TRUE(store.WriteString(kCommon, "player", "Jörg, der Große"));
  EXPECT_FALSE(store.ReadBool(kCommon, "sound", true));
  EXPECT_EQ(store.ReadInteger(kCommon, "tongue", 7), -1);
  EXPECT_EQ(store.ReadString(kCommon, "player", ""), "Jörg, der Große");
  EXPECT_EQ(store.ReadString(kCommon, "sound", ""), "0");

  const QByteArray file = readRaw();
  EXPECT_TRUE(file.contains("[common]")) << file.constData();
  EXPECT_TRUE(file.contains("sound=0")) << file.constData();
  EXPECT_TRUE(file.contains("tongue=-1")) << file.constData();

  ASSERT_TRUE(store.WriteBool(kCommon, "sound", true));
  EXPECT_EQ(store.ReadString(kCommon, "sound", ""), "1");
  EXPECT_TRUE(errors.empty());
}

// Players' files were written by Qt's own settings class: the store reads
// every value of such a file exactly, and writing the same values back
// changes no byte; what the store writes, Qt reads back as the same text.
TEST_F(Store, FilesOfQtsSettingsFormatReadAndWriteBackUnchanged) {
  const std::vector<std::pair<QString, QString>> values = {
      {QStringLiteral("MainForm"), QStringLiteral("200,0,1,150,217,654,587")},
      {QStringLiteral("sound"), QStringLiteral("0")},
      {QStringLiteral("tongue"), QStringLiteral("1")},
      {QStringLiteral("zoom"), QStringLiteral("2")},
      {QStringLiteral("player"), QStringLiteral(u"Jörg \"J\" Müller; der 2.")},
      {QStringLiteral("player0"), QStringLiteral("mDGy,41L6")},
      {QStringLiteral("player1"), QStringLiteral("@at first")},
      {QStringLiteral("player2"), QStringLiteral("  blanks around  ")},
      {QStringLiteral("player3"), QStringLiteral(u"tab\there, back\\slash = 1")},
      {QStringLiteral("player4"), QString()},
      {QStringLiteral("player5"), QStringLiteral(u"\u00e4\u4e2d\U0001F600")},
  };
  {
    QSettings qt(storeFile(), QSettings::IniFormat);
    qt.setValue(QStringLiteral("elsewhere/other"), QStringLiteral("kept"));
    for (const auto& [name, value] : values) qt.setValue(kCommon + u'/' + name, value);
  }
  const QByteArray written = readRaw();
  ASSERT_FALSE(written.isEmpty());
  for (const auto& [name, value] : values)
    EXPECT_EQ(store.ReadString(kCommon, name, QStringLiteral("<none>")), value)
        << name.toStdString();

  ASSERT_TRUE(store.WriteStrings(kCommon,
                                 QList<std::pair<QString, QString>>(values.begin(), values.end())));
  EXPECT_EQ(readRaw(), written);

  ASSERT_TRUE(store.WriteString(kCommon, QStringLiteral("player"), QStringLiteral("a,b \"c\"")));
  ASSERT_TRUE(store.WriteString(kCommon, QStringLiteral("player9"), QStringLiteral("@new, row")));
  QSettings qt(storeFile(), QSettings::IniFormat);
  EXPECT_EQ(qt.value(QStringLiteral("common/player")).toString(), QStringLiteral("a,b \"c\""));
  EXPECT_EQ(qt.value(QStringLiteral("common/player9")).toString(), QStringLiteral("@new, row"));
  EXPECT_EQ(qt.value(QStringLiteral("elsewhere/other")).toString(), QStringLiteral("kept"));
  EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
}

// Every text that is no integer gives the default, and is reported once,
// whichever read met it first: the player hears about a typo such as "O"
// for "0" rather than seeing the sound come back on unexplained.
TEST_F(Store, StoredTextReadsAsIntegerOnlyWhenItIsOne) {
  struct Case {
    const char* text;
    int integer;  // ReadInteger with default -1
    bool flag;    // ReadBool with default true
  };
  const Case cases[] = {
      {"abc", -1, true},
      {"5", 5, true},
      {"0", 0, false},
      {"-1", -1, true},
      {"-0", 0, false},
      {"12abc", -1, true},
      {"", -1, true},
      {" 1", -1, true},
      {"1 ", -1, true},
      {"+1", -1, true},
      {"-", -1, true},
      {"2147483647", 2147483647, true},
      {"-2147483648", -2147483647 - 1, true},
      {"2147483648", -1, true},
      {"-2147483649", -1, true},
      {"99999999999999999999", -1, true},
      {"\xd9\xa3", -1, true},  // an Arabic-Indic digit three
      {"O", -1, true},         // the letter, typed for a zero
      // What Qt's settings class writes for a boolean.
      {"false", -1, false},
      {"true", -1, true},
      {"FALSE", -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(store.WriteString(kCommon, "value", QString::fromUtf8(c.text)));
    errors.clear();
    EXPECT_EQ(store.ReadInteger(kCommon, "value", -1), c.integer);
    EXPECT_EQ(store.ReadBool(kCommon, "value", true), c.flag);
    int integer = 0;
    const bool isInteger = store::parseDecimalInt(QString::fromUtf8(c.text), integer);
    EXPECT_EQ(errors.size(), isInteger ? 0u : 1u);
    for (const store::StoreReport& r : reports) EXPECT_EQ(r.name, "value");
  }
}

TEST_F(Store, ValueThatIsNotOneTextIsReportedWithItsLine) {
  // What a hand-edited file can hold: a list, typed values, an open quote,
  // a name saved as Latin-1.
  const char* const values[] = {"a, b", "@Rect(1 2 3 4)", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)",
                                "\"open", "J\xf6rg"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    writeRaw(QByteArray("[common]\ntongue=") + value + "\nplayer=" + value + "\n");
    reports.clear();
    EXPECT_EQ(store.ReadInteger(kCommon, "tongue", -1), -1);
    EXPECT_EQ(store.ReadString(kCommon, "player", "Vormlab"), "Vormlab");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].kind, store::StoreReport::WrongValue);
    EXPECT_EQ(reports[0].name, "tongue");
    EXPECT_EQ(reports[0].line, QByteArray("tongue=") + value);
    EXPECT_EQ(reports[0].lineNumber, 2);
    EXPECT_EQ(reports[1].name, "player");
    EXPECT_EQ(reports[1].path, storeFile());
    // Reported once per run, however often it is read.
    EXPECT_EQ(store.ReadString(kCommon, "player", "Vormlab"), "Vormlab");
    EXPECT_EQ(reports.size(), 2u);
  }
}

// Qt reads a byte array's characters as bytes; the game takes them as the
// UTF-8 text they spell.
TEST_F(Store, ByteArrayValuesReadAsQtReadsThem) {
  writeRaw("[common]\nplayer=@ByteArray(abc)\nplayer0=@ByteArray(J\\xc3\\xb6rg)\n");
  EXPECT_EQ(store.ReadString(kCommon, "player", ""), "abc");
  EXPECT_EQ(store.ReadString(kCommon, "player0", ""), QStringLiteral(u"Jörg"));
  EXPECT_EQ(QSettings(storeFile(), QSettings::IniFormat).value("common/player").toString(), "abc");
  EXPECT_TRUE(errors.empty());
}

// A save that fails leaves the file byte for byte as it was, says once what
// was lost, and nothing of it slips in with a later save.
TEST_F(Store, FailedWriteLeavesTheFileAndLaterWritesAlone) {
  struct Case {
    const char* name;
    QByteArray file;  // empty: written by the store
  };
  const Case cases[] = {
      {"written by the game", {}},
      // A stray line makes Qt flag the file as malformed while reading it,
      // which must not hide that the save itself failed.
      {"edited by hand", "stray line\n[common]\nplayer=Alt\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    unlockAll();
    QFile::remove(storeFile());
    if (c.file.isEmpty())
      ASSERT_TRUE(store.WriteString(kCommon, "player", "Alt"));
    else
      writeRaw(c.file);
    EXPECT_EQ(store.ReadString(kCommon, "player", ""), "Alt");
    const QByteArray before = readRaw();
    reports.clear();
    QUIBBIX_LOCK_OR_SKIP(storeFile());

    EXPECT_FALSE(store.WriteString(kCommon, "player", "Neu"));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, store::StoreReport::SaveFailed);
    EXPECT_EQ(reports[0].saving, QStringList{"player"});
    EXPECT_EQ(reports[0].path, storeFile());
    EXPECT_EQ(readRaw(), before);
    // The game goes on with what is really stored.
    EXPECT_EQ(store.ReadString(kCommon, "player", ""), "Alt");
    EXPECT_FALSE(store.WriteBool(kCommon, "sound", true));
    EXPECT_FALSE(store.ReadBool(kCommon, "sound", false));

    // Once the file can be written again, the failed values stay lost rather
    // than slipping in with the next save.
    unlockAll();
    ASSERT_TRUE(store.WriteInteger(kCommon, "tongue", 1));
    EXPECT_EQ(store.ReadString(kCommon, "player", ""), "Alt");
    EXPECT_FALSE(readRaw().contains("sound")) << readRaw().constData();
    EXPECT_EQ(reports.size(), 2u);
  }
}

TEST_F(Store, StoreThatCannotBeCreatedIsReportedOnce) {
  ASSERT_TRUE(QDir().mkpath(storeFolder()));
  QUIBBIX_LOCK_OR_SKIP(storeFolder());

  EXPECT_FALSE(store.WriteBool(kCommon, "sound", false));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].kind, store::StoreReport::SaveFailed);
  EXPECT_EQ(reports[0].saving, QStringList{"sound"});
  EXPECT_FALSE(QFileInfo::exists(storeFile()));
  EXPECT_TRUE(store.ReadBool(kCommon, "sound", true));
}

TEST_F(Store, FailedTableSaveLeavesTheOldTableWhole) {
  dialogs::ScoreRows old;
  old.fill(dialogs::defaultEntry());
  old[0] = {QStringLiteral("Erste"), 900};
  ASSERT_TRUE(dialogs::writeTable(store, old, QStringLiteral("Erste")));
  const QByteArray before = readRaw();
  QUIBBIX_LOCK_OR_SKIP(storeFile());

  dialogs::ScoreRows changed = old;
  ASSERT_EQ(dialogs::insertScore(changed, 1000, QStringLiteral("Zweite")), 0);
  EXPECT_FALSE(dialogs::writeTable(store, changed, QStringLiteral("Zweite")));
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(readRaw(), before);
  EXPECT_EQ(dialogs::readTable(store), old);
  EXPECT_EQ(store.ReadString(kCommon, "player", ""), "Erste");
}

// A file as today's game leaves it, high-score table included: the schema
// reads every value from it, and storing the same values back through the
// schema, the whole table at once or as a merge that changes nothing,
// changes no byte.
TEST_F(Store, SchemaReadsAPlayersFileAndWritesItBackUnchanged) {
  dialogs::ScoreRows table;
  table.fill(dialogs::defaultEntry());
  table[0] = {QStringLiteral(u"Jörg, der Große"), 4100};
  table[1] = {QStringLiteral("Anna"), 2750};
  table[2] = {QStringLiteral("Anna"), 90};
  {
    QSettings qt(storeFile(), QSettings::IniFormat);
    qt.setValue(QStringLiteral("common/MainForm"), QStringLiteral("200,0,1,150,217,654,587"));
    qt.setValue(QStringLiteral("common/sound"), QStringLiteral("0"));
    qt.setValue(QStringLiteral("common/tongue"), QStringLiteral("1"));
    qt.setValue(QStringLiteral("common/zoom"), QStringLiteral("2"));
    qt.setValue(QStringLiteral("common/player"), QStringLiteral("Anna"));
    for (int row = 0; row < dialogs::kRows; ++row)
      qt.setValue(QStringLiteral("common/player%1").arg(row),
                  dialogs::formatStoredRow(table[static_cast<std::size_t>(row)]));
  }
  const QByteArray written = readRaw();
  ASSERT_FALSE(written.isEmpty());

  store::Settings settings(store);
  EXPECT_FALSE(settings.sound());
  EXPECT_EQ(settings.tongue(), 1);
  EXPECT_EQ(settings.zoom(), "2");
  EXPECT_EQ(settings.player(), "Anna");
  EXPECT_EQ(settings.windowPlace(), "200,0,1,150,217,654,587");
  EXPECT_EQ(dialogs::readTable(store), table);

  ASSERT_TRUE(settings.setWindowPlace(settings.windowPlace()));
  ASSERT_TRUE(settings.setSound(false));
  ASSERT_TRUE(settings.setTongue(1));
  ASSERT_TRUE(settings.setZoom(2));
  ASSERT_TRUE(dialogs::writeTable(store, table, QStringLiteral("Anna")));
  EXPECT_EQ(readRaw(), written);
  dialogs::ScoreRows merged;
  ASSERT_TRUE(dialogs::storeTable(store, QStringLiteral("Anna"), std::nullopt, false, merged));
  EXPECT_EQ(merged, table);
  EXPECT_EQ(readRaw(), written);
  EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
}

// Nothing stored yet: every value is its default.
TEST_F(Store, SchemaGivesTheDefaultsOfAFreshStore) {
  store::Settings settings(store);
  EXPECT_TRUE(settings.sound());
  EXPECT_EQ(settings.tongue(), -1);
  EXPECT_EQ(settings.zoom(), "");
  EXPECT_EQ(settings.player(), "Vormlab");
  EXPECT_EQ(settings.windowPlace(), "");
  EXPECT_EQ(settings.scoreRows(), QStringList(store::Settings::kScoreRows, QString()));
  EXPECT_TRUE(QDir(configDir()).isEmpty()) << "a read created something";
}

}  // namespace
}  // namespace quibbix::testing
