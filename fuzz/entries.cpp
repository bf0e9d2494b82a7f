#include "fuzz/entries.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "dialogs/scrambler.h"
#include "store/ini_format.h"
#include "store/settings.h"
#include "store/settings_store.h"

namespace quibbix::fuzz {

namespace {

QString textOf(Bytes bytes) {
  return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<qsizetype>(bytes.size()));
}

std::string shown(const QString& text) { return '"' + text.toStdString() + '"'; }

std::string shown(const dialogs::ScoreEntry& entry) {
  return '{' + std::to_string(entry.score) + ", " + shown(entry.name) + '}';
}

// An independent strict decimal reading to hold parseDecimalInt against:
// ASCII only, an optional minus, digits, within 32 bits.
bool referenceInt(const QString& text, int& out) {
  std::string ascii;
  for (const QChar c : text) {
    if (c.unicode() > 0x7f) return false;
    ascii += static_cast<char>(c.unicode());
  }
  const char* end = ascii.data() + ascii.size();
  const auto [stop, error] = std::from_chars(ascii.data(), end, out);
  return error == std::errc() && stop == end && !ascii.empty();
}

// The game's main window on a common screen, on a screen too small for it,
// and with no screen at all (an invalid size of -1 by -1).
struct Layout {
  QSize window;
  QSize screen;
};
constexpr std::array<Layout, 3> kLayouts{{
    {QSize(500, 366), QSize(1920, 1080)},
    {QSize(500, 366), QSize(320, 200)},
    {QSize(500, 366), QSize()},
}};

// The settings folder of this process: private, made once, removed at exit.
class PrivateFolder {
 public:
  PrivateFolder() {
    if (!dir_.isValid() || !QDir().mkpath(dir_.filePath(QStringLiteral("Zorvyplay/Quibbix")))) {
      fail("cannot make a private settings folder");
    }
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    // Qt remembers the settings path once it has looked it up; this pins it
    // even if something asked before the environment was set.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
  }

  void write(const QByteArray& bytes) {
    QFile file(dir_.filePath(QStringLiteral("Zorvyplay/Quibbix/V2.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
      fail("cannot write the settings file");
    }
    // Qt does not read a file again whose size and modification time it has
    // already seen, and two inputs of one size are often written within the
    // same clock tick. A time of its own for every input forces a fresh read
    // (set after the flush, or the buffered write would stamp it anew).
    ++stamp_;
    if (!file.setFileTime(QDateTime::fromSecsSinceEpoch(1'000'000'000 + stamp_, Qt::UTC),
                          QFileDevice::FileModificationTime)) {
      fail("cannot set the settings file's time");
    }
  }

 private:
  [[noreturn]] static void fail(const char* what) {
    std::fprintf(stderr, "fuzz harness: %s\n", what);
    std::abort();
  }

  QTemporaryDir dir_;
  std::int64_t stamp_ = 0;
};

PrivateFolder& privateFolder() {
  static PrivateFolder folder;
  return folder;
}

// sound, tongue, player, ten rows, MainForm.
constexpr int kReads = 14;

}  // namespace

std::string placementText(Bytes bytes) {
  enterGameConditions();
  const QString text = textOf(bytes);

  for (const QString& field : text.split(u',')) {
    int ours = 0;
    int reference = 0;
    const bool oursOk = store::parseDecimalInt(field, ours);
    const bool referenceOk = referenceInt(field, reference);
    if (oursOk != referenceOk || (oursOk && ours != reference)) {
      return "field " + shown(field) + ": parseDecimalInt says " +
             (oursOk ? std::to_string(ours) : "no integer") + ", the reference " +
             (referenceOk ? std::to_string(reference) : "no integer");
    }
  }

  const std::optional<desktop::Placement> placement = desktop::readPlacementText(text);
  if (placement) {
    const QRect& r = placement->normal;
    const QString canonical = QStringLiteral("200,%1,%2,%3,%4,%5,%6")
                                  .arg(placement->flags)
                                  .arg(placement->showState)
                                  .arg(r.left())
                                  .arg(r.top())
                                  .arg(r.right())
                                  .arg(r.bottom());
    const std::optional<desktop::Placement> again = desktop::readPlacementText(canonical);
    if (!again || again->flags != placement->flags || again->showState != placement->showState ||
        again->normal != placement->normal) {
      return "the fields of " + shown(text) + " written as " + shown(canonical) +
             " read differently";
    }
  }

  for (const Layout& layout : kLayouts) {
    const std::optional<QPoint> corner =
        desktop::parsePlacement(text, layout.window, QRect(QPoint(0, 0), layout.screen));
    if (corner.has_value() != placement.has_value()) {
      return "parsePlacement and readPlacementText disagree on " + shown(text);
    }
    if (!corner) continue;
    // The stored corner, moved only as far as needed to keep the whole window
    // on the screen, its top-left edges first when it is larger.
    const std::int64_t left = placement->normal.left();
    const std::int64_t top = placement->normal.top();
    const std::int64_t maxLeft = std::int64_t{layout.screen.width()} - layout.window.width();
    const std::int64_t maxTop = std::int64_t{layout.screen.height()} - layout.window.height();
    if (corner->x() != std::max<std::int64_t>(std::min(left, maxLeft), 0) ||
        corner->y() != std::max<std::int64_t>(std::min(top, maxTop), 0)) {
      return "placement " + shown(text) + " put the window at " + std::to_string(corner->x()) +
             "," + std::to_string(corner->y());
    }
  }
  return {};
}

std::string storedRow(Bytes bytes) {
  enterGameConditions();
  const QString text = textOf(bytes);
  if (dialogs::Unscramble(dialogs::Scramble(text)) != text ||
      dialogs::Scramble(dialogs::Unscramble(text)) != text) {
    return "the scrambler does not undo itself on " + shown(text);
  }
  const dialogs::ScoreEntry entry = dialogs::parseStoredRow(text);
  const QString stored = dialogs::formatStoredRow(entry);
  const dialogs::ScoreEntry again = dialogs::parseStoredRow(stored);
  if (again != entry) {
    return "row " + shown(text) + " read as " + shown(entry) + ", stored as " + shown(stored) +
           ", read back as " + shown(again);
  }
  return {};
}

void enterGameConditions() {
  if (QCoreApplication::instance() != nullptr) return;
  // The game reads its settings with its QApplication in place; the fuzzer
  // does the same, so that whatever it finds is a fault the game has, not one
  // of a bare process (Qt objects that need a GUI application abort without
  // one). The offscreen platform needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quibbix-fuzz";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quibbix"));
}

SettingsReadout readSettingsBytes(const QByteArray& bytes) {
  enterGameConditions();
  privateFolder().write(bytes);
  SettingsReadout out;
  store::IniStore store(
      [&out](const QList<store::StoreReport>& r) { out.errors += static_cast<int>(r.size()); });
  store::Settings settings(store);
  out.sound = settings.sound();
  out.tongue = settings.tongue();
  out.player = settings.player();
  out.rows = dialogs::readTable(store);
  out.placement = settings.windowPlace();
  out.corner = desktop::parsePlacement(out.placement, kLayouts[0].window,
                                       QRect(QPoint(0, 0), kLayouts[0].screen));
  return out;
}

namespace {

// A file of its own for Qt to read, under a new name every time: Qt keeps
// what it read of a file by its name.
QString qtFile(const QByteArray& bytes) {
  static QTemporaryDir dir;
  static std::int64_t count = 0;
  QFile::remove(dir.filePath(QStringLiteral("differential-%1.ini").arg(count)));
  const QString path = dir.filePath(QStringLiteral("differential-%1.ini").arg(++count));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
      !file.flush()) {
    std::fprintf(stderr, "fuzz harness: cannot write %s\n", qPrintable(path));
    std::abort();
  }
  return path;
}

// Texts the game may write, each with something Qt's format must escape.
const QStringList& writtenTexts() {
  static const QStringList texts = {
      QString(),
      QStringLiteral("0"),
      QStringLiteral("-1"),
      QStringLiteral("200,0,1,150,217,654,587"),
      QStringLiteral("  blanks around  "),
      QStringLiteral("a, b; c = d"),
      QStringLiteral("@at first"),
      QStringLiteral("@@twice"),
      QStringLiteral("quote \" and back\\slash"),
      QStringLiteral("tab\there\nnew line\x01"),
      QStringLiteral(u"J\u00f6rg \u4e2d \U0001F600"),
      QStringLiteral("@ByteArray(x)"),
      QString(QStringLiteral("nul") + QChar(0) + QStringLiteral("12")),
      QStringLiteral("\\x41 \"\\"),
  };
  return texts;
}

std::string differs(const QString& key, const QString& ours, const QVariant& qt) {
  return "\"" + key.toStdString() + "\": the store reads " + shown(ours) + ", Qt " +
         (qt.isValid() ? shown(qt.toString()) + " (" + qt.typeName() + ")" : "nothing");
}

}  // namespace

std::string qtDifferential(Bytes bytes) {
  enterGameConditions();
  const QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<qsizetype>(bytes.size()));
  const QString section = QStringLiteral("common");
  const QStringList names = store::Settings::names();

  // Where Qt would read a line on into the next, the two part ways by the
  // store's rule: the lines Qt swallows may hide a section header from it, so
  // a key further down may override, for Qt, one that stands above the cut.
  // Such a file is compared by the store's own reading only.
  const auto comparable = [](const store::ini::Document& doc, const store::ini::Found&) {
    return doc.firstContinuedLine() == 0;
  };

  // Qt decodes a typed value ("@Variant(...)") into whatever its bytes say: a
  // GUI object, or an allocation of gigabytes. The store never decodes one (it
  // is a wrong value for the game), so such a file is held to the store's own
  // reading only.
  const bool qtReads = !data.contains("@Variant(");

  const store::ini::Document before(data);
  QMap<QString, QVariant> qtBefore;
  if (qtReads) {
    QSettings qt(qtFile(data), QSettings::IniFormat);
    // Qt lists a key under a section such as "[/common]" as "/common/sound", but
    // looks every name up with its slashes tidied ("common/sound"): such a key
    // cannot be read by the name Qt gives it, so there is nothing to compare.
    const auto reachable = [](const QString& key) {
      return !key.startsWith(u'/') && !key.endsWith(u'/') && !key.contains(QStringLiteral("//"));
    };
    for (const QString& key : qt.allKeys())
      if (reachable(key)) qtBefore.insert(key, qt.value(key));
  }
  for (const QString& name : names) {
    if (!qtReads) break;
    const store::ini::Found found = before.find(section, name);
    const QString key = section + u'/' + name;
    if (found.value.kind == store::ini::Value::Text && comparable(before, found) &&
        qtBefore.value(key).toString() != found.value.text)
      return "reading " + differs(key, found.value.text, qtBefore.value(key));
    if (found.value.kind == store::ini::Value::Missing && before.firstContinuedLine() == 0 &&
        qtBefore.value(key).isValid())
      return "reading " + differs(key, QStringLiteral("<missing>"), qtBefore.value(key));
  }

  // The store writes every value of the game; Qt must read them back, and
  // the rest of the file as it was.
  store::ini::NamedValues values;
  const QStringList& texts = writtenTexts();
  for (qsizetype i = 0; i < names.size(); ++i)
    values.append({names[i], texts[(i + data.size()) % texts.size()]});
  const QByteArray written = before.with(section, values);
  const store::ini::Document after(written);
  std::optional<QSettings> qt;
  if (qtReads) {
    qt.emplace(qtFile(written), QSettings::IniFormat);
    // Qt parses a section only when a key of it is asked for, and with a
    // section twice in the file it may parse only one of them for value();
    // listing every key parses them all, as they are when the file is read
    // afresh by the next run.
    (void)qt->allKeys();
  }
  for (const auto& [name, value] : values) {
    const store::ini::Found found = after.find(section, name);
    if (found.value.kind != store::ini::Value::Text || found.value.text != value)
      return "the store reads back its own " + name.toStdString() + " as " +
             shown(found.value.text) + ", not " + shown(value);
    const QString key = section + u'/' + name;
    if (qt && comparable(after, found) && qt->value(key).toString() != value)
      return "writing " + differs(key, value, qt->value(key));
  }
  if (qt && before.firstContinuedLine() == 0 && after.firstContinuedLine() == 0) {
    for (auto it = qtBefore.cbegin(); it != qtBefore.cend(); ++it) {
      if (it.key().startsWith(section + u'/') && names.contains(it.key().mid(section.size() + 1)))
        continue;
      if (qt->value(it.key()) != it.value())
        return "writing the game's values changed \"" + it.key().toStdString() + "\" from " +
               shown(it.value().toString()) + " to " + shown(qt->value(it.key()).toString());
    }
  }
  return {};
}

std::string settingsFile(Bytes bytes) {
  const SettingsReadout read = readSettingsBytes(QByteArray(
      reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  if (read.errors > kReads) return std::to_string(read.errors) + " error reports for 14 reads";

  // Whatever a hand-edited file gave, the game saves it back with the next
  // high score: it must read back the same and leave the other values alone.
  int errors = 0;
  store::IniStore store(
      [&errors](const QList<store::StoreReport>& r) { errors += static_cast<int>(r.size()); });
  if (!dialogs::writeTable(store, read.rows, read.player)) return "saving the table failed";
  const dialogs::ScoreRows rows = dialogs::readTable(store);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] != read.rows[i]) {
      return "row " + std::to_string(i) + " saved as " + shown(read.rows[i]) + " reads back as " +
             shown(rows[i]);
    }
  }
  store::Settings settings(store);
  const QString player = settings.player();
  if (player != read.player) {
    return "player saved as " + shown(read.player) + " reads back as " + shown(player);
  }
  if (errors != 0) return std::to_string(errors) + " error reports reading the saved table";
  const bool sound = settings.sound();
  if (sound != read.sound)
    return "saving the table turned the sound " + std::string(sound ? "on" : "off");
  const int tongue = settings.tongue();
  if (tongue != read.tongue) {
    return "saving the table changed the tongue from " + std::to_string(read.tongue) + " to " +
           std::to_string(tongue);
  }
  const QString placement = settings.windowPlace();
  if (placement != read.placement) {
    return "saving the table changed MainForm from " + shown(read.placement) + " to " +
           shown(placement);
  }
  return {};
}

}  // namespace quibbix::fuzz
