#include "app/settings_store.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QVariant>
#include <cstdint>
#include <limits>

namespace quibbix::app {

namespace {

// One QSettings per operation: Qt keeps the parsed file in a process-wide
// cache and notices changes on disk, so this costs little and never serves
// a stale value. Fallback files (organisation-wide or system-wide) are not
// ours and must not leak into reads.
class StoreFile {
 public:
  StoreFile()
      : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvyplay"),
                  QStringLiteral("Quibbix/V2")) {
    settings_.setFallbacksEnabled(false);
    // Qt parses a section only when a key is first asked for, and it looks
    // for the key's section next to the sections sorting before the key: a
    // hand-made "[common/x]" then hides "[common]" from keys after "x", which
    // read as their defaults until another key happens to parse the section.
    // Listing the groups from the top parses every section at once.
    settings_.childGroups();
  }
  QSettings& operator*() { return settings_; }
  QSettings* operator->() { return &settings_; }

 private:
  QSettings settings_;
};

QString typeErrorText(const QString& name) {
  return QStringLiteral(u"Ungültiger Datentyp für '%1'").arg(name);
}
QString sectionErrorText(const QString& section) {
  return QStringLiteral(u"Erzeugung von Schlüssel %1 misslungen").arg(section);
}
QString valueErrorText(const QString& name) {
  return QStringLiteral(u"Konnte Daten für '%1' nicht setzen").arg(name);
}

}  // namespace

bool parseDecimalInt(const QString& text, int& out) {
  qsizetype i = 0;
  const bool negative = !text.isEmpty() && text.front() == u'-';
  if (negative) ++i;
  if (i == text.size()) return false;
  // Magnitude of the most negative int, so both ends of the range fit.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return false;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > kLimit) return false;
  }
  if (!negative && magnitude == kLimit) return false;
  out = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

IniStore::IniStore(std::function<void(const QString&)> reportError)
    : reportError_(std::move(reportError)) {
  if (!reportError_) reportError_ = &IniStore::showError;
}

void IniStore::showError(const QString& message) {
  QMessageBox::critical(nullptr, QStringLiteral("Quibbix"), message);
}

QString IniStore::fileName() const { return StoreFile()->fileName(); }

QString IniStore::ReadString(const QString& section, const QString& name, const QString& def) {
  StoreFile store;
  store->beginGroup(section);
  const QVariant value = store->value(name);
  if (!value.isValid()) return def;
  // A hand-edited file can hold lists ("a, b") or typed values (@Variant,
  // @ByteArray); the game never writes those, so they are not its data.
  if (value.typeId() != QMetaType::QString) {
    reportError_(typeErrorText(name));
    return def;
  }
  return value.toString();
}

int IniStore::ReadInteger(const QString& section, const QString& name, int def) {
  const QString text = ReadString(section, name, QString());
  int value = 0;
  return parseDecimalInt(text, value) ? value : def;
}

bool IniStore::ReadBool(const QString& section, const QString& name, bool def) {
  const QString text = ReadString(section, name, QString());
  int value = 0;
  return parseDecimalInt(text, value) ? value != 0 : def;
}

bool IniStore::WriteBool(const QString& section, const QString& name, bool value) {
  return WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniStore::WriteInteger(const QString& section, const QString& name, int value) {
  return WriteString(section, name, QString::number(value));
}

bool IniStore::WriteString(const QString& section, const QString& name, const QString& value) {
  return WriteStrings(section, {{name, value}});
}

bool IniStore::WriteStrings(const QString& section,
                            const QList<std::pair<QString, QString>>& values) {
  if (values.isEmpty()) return true;
  // What was there before, to report the right fault and to undo with.
  // Which message a failure gets depends on what had to be created: a
  // missing file or section is the section's fault, an existing one the
  // value's.
  StoreFile old;
  const bool sectionExisted =
      QFileInfo::exists(old->fileName()) && old->childGroups().contains(section);
  old->beginGroup(section);
  QList<QVariant> previous;
  previous.reserve(values.size());
  for (const auto& value : values) previous.append(old->value(value.first));

  // QSettings keeps only the first problem it meets: the save gets an object
  // of its own, so that a malformed line found while reading cannot hide a
  // failed save. Both share Qt's parsed copy of the file, so nothing is read
  // twice.
  StoreFile store;
  store->beginGroup(section);
  for (const auto& [name, text] : values) store->setValue(name, text);
  // Qt saves through a temporary file renamed over the old one, so a failed
  // save leaves the file as it was.
  store->sync();
  if (store->status() != QSettings::AccessError) return true;

  // Qt keeps unsaved changes in its process-wide cache of the file and would
  // serve them to later reads and slip them into the next successful save.
  // Putting the old state back makes the pending changes harmless.
  for (qsizetype i = values.size() - 1; i >= 0; --i) {
    if (previous[i].isValid())
      store->setValue(values[i].first, previous[i]);
    else
      store->remove(values[i].first);
  }
  reportError_(sectionExisted ? valueErrorText(values.front().first) : sectionErrorText(section));
  return false;
}

}  // namespace quibbix::app
