#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>
#include <string>

#include "fuzz/entries.h"

namespace quibbix::fuzz {
namespace {

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray seed(const char* name) {
  return fileBytes(QStringLiteral(QUIBBIX_FUZZ_DIR "/corpus/settings/") + QLatin1String(name));
}

Bytes bytesOf(const QByteArray& data) {
  return {reinterpret_cast<const std::uint8_t*>(data.constData()),
          static_cast<std::size_t>(data.size())};
}

struct Target {
  const char* name;  // the folder under corpus/ and regressions/
  std::string (*entry)(Bytes);
};

const Target kTargets[] = {
    {"placement", placementText},
    {"score_row", storedRow},
    {"settings", settingsFile},
    {"qt_differential", qtDifferential},
};

class KeptInputs : public ::testing::TestWithParam<Target> {};

TEST_P(KeptInputs, HoldEveryProperty) {
  const QDir fuzzDir(QStringLiteral(QUIBBIX_FUZZ_DIR));
  int seeds = 0;
  for (const QString& kind : {QStringLiteral("corpus"), QStringLiteral("regressions")}) {
    QDirIterator it(fuzzDir.filePath(kind + u'/' + QLatin1String(GetParam().name)), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      SCOPED_TRACE(path.toStdString());
      EXPECT_EQ(GetParam().entry(bytesOf(fileBytes(path))), "");
      if (kind == QLatin1String("corpus")) ++seeds;
    }
  }
  EXPECT_GT(seeds, 0) << "no seeds: the corpus folder moved?";
}

INSTANTIATE_TEST_SUITE_P(Fuzz, KeptInputs, ::testing::ValuesIn(kTargets),
                         [](const auto& target) { return std::string(target.param.name); });

// The settings target is only worth its time if each input is what the store
// reads; Qt would serve a cached file of the same size and time.
TEST(SettingsHarness, ReadsEachInputAfresh) {
  const SettingsReadout first = readSettingsBytes("[common]\nplayer=Anna\ntongue=0\n");
  const SettingsReadout second = readSettingsBytes("[common]\nplayer=Bert\ntongue=1\n");
  EXPECT_EQ(first.player, QStringLiteral("Anna"));
  EXPECT_EQ(second.player, QStringLiteral("Bert"));
  EXPECT_EQ(second.tongue, 1);
}

TEST(SettingsHarness, SeedsHoldWhatTheirNamesSay) {
  const SettingsReadout all = readSettingsBytes(seed("all_values"));
  EXPECT_EQ(all.errors, 0);
  EXPECT_FALSE(all.sound);
  EXPECT_EQ(all.tongue, 1);
  EXPECT_EQ(all.player, QStringLiteral("Vormlab"));
  EXPECT_EQ(all.rows[0], (dialogs::ScoreEntry{QStringLiteral("Vormlab"), 1520}));
  EXPECT_EQ(all.rows[1], (dialogs::ScoreEntry{QStringLiteral(u"Jörg, der Große"), 980}));
  EXPECT_EQ(all.rows[2], (dialogs::ScoreEntry{QString(), 150}));
  EXPECT_EQ(all.corner, QPoint(710, 357));

  // A list in place of a text is reported and read as the default; a table
  // row keeps its place, empty.
  const SettingsReadout lists = readSettingsBytes(seed("list_values"));
  EXPECT_EQ(lists.errors, 3);
  EXPECT_EQ(lists.player, QStringLiteral("Vormlab"));
  EXPECT_TRUE(lists.rows[0].unreadable);
  EXPECT_FALSE(lists.corner.has_value());
}

// A hand-edited or foreign file may hold "@Variant" blobs of GUI types, which
// QSettings turns into a pixmap, an image, an icon or a cursor. The game reads
// each as a value of the wrong type: reported once, the default used. The
// harness must read them alike instead of aborting for want of an application.
TEST(SettingsHarness, GuiTypedValuesReadAsWrongTypes) {
  enterGameConditions();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("gui.ini"));
  {
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("common"));
    QPixmap pixmap(3, 2);
    pixmap.fill(Qt::red);
    file.setValue(QStringLiteral("player"), pixmap);
    file.setValue(QStringLiteral("player0"), QImage(2, 2, QImage::Format_RGB32));
    file.setValue(QStringLiteral("MainForm"), QIcon(pixmap));
    file.setValue(QStringLiteral("tongue"), QCursor(Qt::CrossCursor));
  }
  const QByteArray bytes = fileBytes(path);
  ASSERT_TRUE(bytes.contains("@Variant(")) << bytes.toStdString();

  const SettingsReadout read = readSettingsBytes(bytes);
  EXPECT_EQ(read.errors, 4);
  EXPECT_EQ(read.player, QStringLiteral("Vormlab"));
  EXPECT_EQ(read.tongue, -1);
  EXPECT_TRUE(read.rows[0].unreadable);
  EXPECT_FALSE(read.corner.has_value());
  EXPECT_EQ(settingsFile(bytesOf(bytes)), "");
}

}  // namespace
}  // namespace quibbix::fuzz
