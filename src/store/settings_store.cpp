#include "store/settings_store.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace quibbix::store {

namespace {

QString typeErrorText(const QString& name) {
  return QStringLiteral(u"Ungültiger Datentyp für '%1'").arg(name);
}
QString sectionErrorText(const QString& section) {
  return QStringLiteral(u"Erzeugung von Schlüssel %1 misslungen").arg(section);
}
QString valueErrorText(const QString& name) {
  return QStringLiteral(u"Konnte Daten für '%1' nicht setzen").arg(name);
}

// How long a save waits for another copy of the game that is saving at the
// same moment; a copy that died holding the lock leaves a stale lock, which
// is taken over at once.
constexpr int kLockWaitMs = 10000;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// ---- The format, as Qt's INI files have it -------------------------------

// Keys and section names: "%XX" and "%UXXXX" stand for one character, "\"
// for a slash.
QString unescapeKey(QByteArrayView key) {
  const QString decoded = QString::fromUtf8(key);
  QString result;
  result.reserve(decoded.size());
  for (qsizetype i = 0; i < decoded.size();) {
    const QChar ch = decoded[i];
    if (ch == u'\\') {
      result += u'/';
      ++i;
      continue;
    }
    if (ch != u'%' || i == decoded.size() - 1) {
      result += ch;
      ++i;
      continue;
    }
    qsizetype first = i + 1;
    int digits = 2;
    if (decoded[first] == u'U') {
      ++first;
      digits = 4;
    }
    bool ok = false;
    const ushort code =
        first + digits <= decoded.size() ? decoded.mid(first, digits).toUShort(&ok, 16) : 0;
    if (!ok) {
      result += u'%';
      ++i;
      continue;
    }
    result += QChar(code);
    i = first + digits;
  }
  return result;
}

QByteArray escapeKey(const QString& key) {
  QByteArray result;
  for (const QChar qc : key) {
    const char16_t ch = qc.unicode();
    if (ch == u'/') {
      result += '\\';
    } else if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
               (ch >= u'0' && ch <= u'9') || ch == u'_' || ch == u'-' || ch == u'.') {
      result += static_cast<char>(ch);
    } else if (ch <= 0xFF) {
      result += '%' + QByteArray::number(ch, 16).toUpper().rightJustified(2, '0');
    } else {
      result += "%U" + QByteArray::number(ch, 16).toUpper().rightJustified(4, '0');
    }
  }
  return result;
}

bool isHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A text value as Qt writes it: typed-looking text gets a second "@",
// control characters are escaped, and quotes keep commas, semicolons,
// equals signs and outer blanks.
QByteArray escapeValue(const QString& value) {
  QString text = value;
  if (text.contains(QChar::Null))
    text = QStringLiteral("@String(") + text + u')';
  else if (text.startsWith(u'@'))
    text.prepend(u'@');
  const bool plainBytes = text.startsWith(QLatin1String("@ByteArray(")) ||
                          text.startsWith(QLatin1String("@Variant(")) ||
                          text.startsWith(QLatin1String("@DateTime("));
  QByteArray result;
  bool needsQuotes = false;
  bool escapeNextIfHex = false;
  // Plain characters are encoded in runs, so that a surrogate pair stays one character.
  QString plain;
  const auto flush = [&] {
    result += plain.toUtf8();
    plain.clear();
  };
  for (const QChar qc : text) {
    const char16_t ch = qc.unicode();
    if (ch == u';' || ch == u',' || ch == u'=') needsQuotes = true;
    const bool isPlain = !plainBytes && ch > 0x1F && ch != u'"' && ch != u'\\' &&
                         !(escapeNextIfHex && isHexDigit(ch));
    if (isPlain) {
      escapeNextIfHex = false;
      plain += qc;
      continue;
    }
    flush();
    if (escapeNextIfHex && isHexDigit(ch)) {
      result += "\\x" + QByteArray::number(ch, 16);
      continue;
    }
    escapeNextIfHex = false;
    switch (ch) {
      case u'\0':
        result += "\\0";
        escapeNextIfHex = true;
        break;
      case u'\a': result += "\\a"; break;
      case u'\b': result += "\\b"; break;
      case u'\f': result += "\\f"; break;
      case u'\n': result += "\\n"; break;
      case u'\r': result += "\\r"; break;
      case u'\t': result += "\\t"; break;
      case u'\v': result += "\\v"; break;
      case u'"':
      case u'\\':
        result += '\\';
        result += static_cast<char>(ch);
        break;
      default:
        if (ch <= 0x1F || (ch >= 0x7F && plainBytes)) {
          result += "\\x" + QByteArray::number(ch, 16);
          escapeNextIfHex = true;
        } else {
          result += static_cast<char>(ch);
        }
    }
  }
  flush();
  if (needsQuotes || (!result.isEmpty() && (result.front() == ' ' || result.back() == ' '))) {
    result.prepend('"');
    result.append('"');
  }
  return result;
}

// What a stored value is to the game.
struct Value {
  enum Kind { Text, Missing, Wrong } kind = Missing;
  QString text;
};

// One value as Qt reads it, except that a value Qt would continue on the
// next line (an open quote, a backslash at the end) is wrong here: the next
// line is a line of its own.
Value parseValue(QByteArrayView raw) {
  QString text;
  bool list = false;
  bool inQuotes = false;
  bool quoted = false;
  qsizetype i = 0;
  qsizetype chopLimit = 0;
  const auto chopTrailingBlanks = [&] {
    while (text.size() > chopLimit && (text.back() == u' ' || text.back() == u'\t')) text.chop(1);
  };
  while (i < raw.size() && isBlank(raw[i])) ++i;
  while (i < raw.size()) {
    const char ch = raw[i];
    if (ch == '\\') {
      ++i;
      if (i >= raw.size()) return {Value::Wrong, {}};
      const char e = raw[i++];
      switch (e) {
        case 'a': text += u'\a'; break;
        case 'b': text += u'\b'; break;
        case 'f': text += u'\f'; break;
        case 'n': text += u'\n'; break;
        case 'r': text += u'\r'; break;
        case 't': text += u'\t'; break;
        case 'v': text += u'\v'; break;
        case '"':
        case '?':
        case '\'':
        case '\\': text += QLatin1Char(e); break;
        case 'x': {
          if (i >= raw.size() || !isHexDigit(static_cast<unsigned char>(raw[i]))) break;
          char16_t code = 0;
          while (i < raw.size() && isHexDigit(static_cast<unsigned char>(raw[i]))) {
            const char h = raw[i++];
            code = static_cast<char16_t>(code * 16 + (h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10));
          }
          text += QChar(code);
          break;
        }
        default:
          if (e >= '0' && e <= '7') {
            char16_t code = static_cast<char16_t>(e - '0');
            while (i < raw.size() && raw[i] >= '0' && raw[i] <= '7')
              code = static_cast<char16_t>(code * 8 + (raw[i++] - '0'));
            text += QChar(code);
          }
          // Any other escaped character is dropped, as Qt does.
          break;
      }
      chopLimit = text.size();
    } else if (ch == '"') {
      ++i;
      quoted = true;
      inQuotes = !inQuotes;
      if (!inQuotes) {
        while (i < raw.size() && isBlank(raw[i])) ++i;
        chopLimit = text.size();
      }
    } else if (ch == ',' && !inQuotes) {
      // An unquoted comma makes a list, which the game never writes.
      list = true;
      ++i;
    } else {
      qsizetype j = i + 1;
      while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',') ++j;
      text += QString::fromUtf8(raw.sliced(i, j - i));
      i = j;
    }
  }
  if (inQuotes) return {Value::Wrong, {}};
  if (!quoted) chopTrailingBlanks();
  if (list) return {Value::Wrong, {}};
  if (text.startsWith(u'@')) {
    if (text.endsWith(u')')) {
      const auto args = [&](qsizetype open) {
        return text.mid(open + 1, text.size() - open - 2).split(u' ').size();
      };
      if (text.startsWith(QLatin1String("@String("))) return {Value::Text, text.mid(8).chopped(1)};
      if (text == QLatin1String("@Invalid()")) return {Value::Missing, {}};
      // Typed values: never decoded, whatever they hold.
      if (text.startsWith(QLatin1String("@ByteArray(")) ||
          text.startsWith(QLatin1String("@Variant(")) ||
          text.startsWith(QLatin1String("@DateTime(")) ||
          (text.startsWith(QLatin1String("@Rect(")) && args(5) == 4) ||
          (text.startsWith(QLatin1String("@Size(")) && args(5) == 2) ||
          (text.startsWith(QLatin1String("@Point(")) && args(6) == 2))
        return {Value::Wrong, {}};
    }
    if (text.startsWith(QLatin1String("@@"))) return {Value::Text, text.mid(1)};
  }
  return {Value::Text, text};
}

// The file as lines, each kept byte for byte with its line end.
struct IniLine {
  enum Kind { Other, Section, Entry } kind = Other;
  qsizetype start = 0;  // the line's first byte
  qsizetype end = 0;    // after its content, before the line end
  qsizetype next = 0;   // after the line end
  QString section;      // the section the line lies in (its own, for a header)
  QString key;          // an entry's key
  qsizetype valueStart = 0;
  qsizetype valueEnd = 0;
};

std::vector<IniLine> splitLines(const QByteArray& data) {
  std::vector<IniLine> lines;
  QString section;
  qsizetype pos = data.startsWith("\xef\xbb\xbf") ? 3 : 0;
  while (pos < data.size()) {
    IniLine line;
    line.start = pos;
    qsizetype end = pos;
    while (end < data.size() && data[end] != '\n' && data[end] != '\r') ++end;
    line.end = end;
    qsizetype next = end;
    if (next < data.size()) {
      const char first = data[next++];
      if (first == '\r' && next < data.size() && data[next] == '\n') ++next;
    }
    line.next = next;
    pos = next;

    qsizetype i = line.start;
    while (i < line.end && isBlank(data[i])) ++i;
    if (i < line.end && data[i] == '[') {
      qsizetype close = i + 1;
      while (close < line.end && data[close] != ']') ++close;
      const QByteArrayView name = QByteArrayView(data).sliced(i + 1, close - i - 1).trimmed();
      if (name.compare("general", Qt::CaseInsensitive) == 0)
        section.clear();
      else if (name.compare("%general", Qt::CaseInsensitive) == 0)
        section = QString::fromLatin1(name.sliced(1));
      else
        section = unescapeKey(name);
      line.kind = IniLine::Section;
    } else if (i < line.end && data[i] != ';') {
      // The key ends at the first equals sign outside quotes; a semicolon
      // outside quotes starts a comment.
      bool inQuotes = false;
      qsizetype equals = -1;
      qsizetype stop = line.end;
      for (qsizetype j = i; j < line.end; ++j) {
        const char c = data[j];
        if (c == '\\') {
          ++j;
        } else if (c == '"') {
          inQuotes = !inQuotes;
        } else if (c == '=' && !inQuotes && equals < 0) {
          equals = j;
        } else if (c == ';' && !inQuotes) {
          stop = j;
          break;
        }
      }
      if (equals >= 0 && equals < stop) {
        line.kind = IniLine::Entry;
        line.key = unescapeKey(QByteArrayView(data).sliced(i, equals - i).trimmed());
        line.valueStart = equals + 1;
        line.valueEnd = stop;
      }
    }
    line.section = section;
    lines.push_back(std::move(line));
  }
  return lines;
}

// The line that holds a value: the last one, as Qt too lets a later line win.
const IniLine* findEntry(const std::vector<IniLine>& lines, const QString& section,
                         const QString& name) {
  for (auto it = lines.rbegin(); it != lines.rend(); ++it)
    if (it->kind == IniLine::Entry && it->section == section && it->key == name) return &*it;
  return nullptr;
}

bool hasSection(const std::vector<IniLine>& lines, const QString& section) {
  for (const IniLine& line : lines)
    if (line.kind == IniLine::Section && line.section == section) return true;
  return false;
}

// The file with `values` in `section`: a value already there gets its line
// rewritten in place, a new one goes to the end of the section, a new
// section to the end of the file; every other line stays as it is.
QByteArray withValues(const QByteArray& data, const QString& section, const NamedValues& values) {
  std::vector<IniLine> lines = splitLines(data);
  struct Edit {
    qsizetype from;
    qsizetype to;
    QByteArray text;
  };
  std::vector<Edit> edits;
  QByteArray appended;  // new keys of the section
  for (const auto& [name, value] : values) {
    const QByteArray entry = escapeKey(name) + '=' + escapeValue(value);
    if (const IniLine* line = findEntry(lines, section, name)) {
      edits.push_back({line->start, line->end, entry});
    } else {
      appended += entry + '\n';
    }
  }
  if (!appended.isEmpty()) {
    // After the last entry of the section's last appearance, or its header.
    const IniLine* after = nullptr;
    for (auto it = lines.rbegin(); it != lines.rend() && after == nullptr; ++it) {
      if (it->section != section) continue;
      if (it->kind == IniLine::Section || it->kind == IniLine::Entry) after = &*it;
    }
    if (after != nullptr) {
      if (after->next == after->end) appended.prepend('\n');  // the file's last line had no end
      edits.push_back({after->next, after->next, appended});
    } else {
      QByteArray block;
      if (!data.isEmpty()) {
        if (!data.endsWith('\n') && !data.endsWith('\r')) block += '\n';
        block += '\n';
      }
      block += '[' + (section.isEmpty() ? QByteArray("General") : escapeKey(section)) + "]\n";
      edits.push_back({data.size(), data.size(), block + appended});
    }
  }
  std::sort(edits.begin(), edits.end(),
            [](const Edit& a, const Edit& b) { return a.from < b.from; });
  QByteArray result;
  result.reserve(data.size() + 64 * static_cast<qsizetype>(values.size()));
  qsizetype pos = 0;
  for (const Edit& e : edits) {
    result += QByteArrayView(data).sliced(pos, e.from - pos);
    result += e.text;
    pos = e.to;
  }
  result += QByteArrayView(data).sliced(pos);
  return result;
}

// ---- The file -------------------------------------------------------------

// Where Qt keeps these settings, including a folder set with QSettings::setPath.
QString storePath() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zorvyplay"),
                   QStringLiteral("Quibbix/V2"))
      .fileName();
}

// The file's bytes; a missing file is an empty one. nullopt: there is a file
// that cannot be read, so it must not be replaced either.
std::optional<QByteArray> readFile(const QString& path) {
  QFile file(path);
  if (!file.exists()) return QByteArray();
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

// A wrong value is reported once per run: the table, read at every showing,
// does not raise the same box again and again.
bool firstReport(const QString& path, const QString& section, const QString& name,
                 QByteArrayView line) {
  static QSet<QString> reported;
  const QString id = path + u'\n' + section + u'\n' + name + u'\n' + QString::fromLatin1(line);
  if (reported.contains(id)) return false;
  reported.insert(id);
  return true;
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

QString IniStore::fileName() const { return storePath(); }

namespace {

// The values of `names` in one reading of the file; missing ones and wrong
// ones (reported) give `def`.
QStringList readValues(const QString& path, const QByteArray& data, const QString& section,
                       const QStringList& names, const QString& def,
                       const std::function<void(const QString&)>& report) {
  const std::vector<IniLine> lines = splitLines(data);
  QStringList result;
  result.reserve(names.size());
  for (const QString& name : names) {
    const IniLine* line = findEntry(lines, section, name);
    if (line == nullptr) {
      result.append(def);
      continue;
    }
    const QByteArrayView raw =
        QByteArrayView(data).sliced(line->valueStart, line->valueEnd - line->valueStart);
    const Value value = parseValue(raw);
    if (value.kind == Value::Text) {
      result.append(value.text);
      continue;
    }
    // A hand-edited file can hold lists ("a, b"), typed values (@Variant,
    // @ByteArray) or a value left open; the game never writes those.
    if (value.kind == Value::Wrong &&
        firstReport(path, section, name,
                    QByteArrayView(data).sliced(line->start, line->end - line->start)))
      report(typeErrorText(name));
    result.append(def);
  }
  return result;
}

}  // namespace

void IniStore::showError(const QString& message) {
  QMessageBox::critical(nullptr, QStringLiteral("Quibbix"), message);
}

QString IniStore::ReadString(const QString& section, const QString& name, const QString& def) {
  return ReadStrings(section, {name}, def).front();
}

QStringList IniStore::ReadStrings(const QString& section, const QStringList& names,
                                  const QString& def) {
  const QString path = storePath();
  const std::optional<QByteArray> data = readFile(path);
  if (!data) return QStringList(names.size(), def);
  return readValues(path, *data, section, names, def, reportError_);
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

bool IniStore::WriteStrings(const QString& section, const NamedValues& values) {
  if (values.isEmpty()) return true;
  return UpdateStrings(section, {}, [&values](const QStringList&) { return values; });
}

bool IniStore::UpdateStrings(const QString& section, const QStringList& names,
                             const std::function<NamedValues(const QStringList&)>& change) {
  const QString path = storePath();
  // Which message a failure gets depends on what had to be created: a
  // missing file or section is the section's fault, an existing one the
  // value's.
  std::optional<QByteArray> before = readFile(path);
  bool sectionExisted = before && hasSection(splitLines(*before), section);
  QString firstName;
  const auto fail = [&] {
    reportError_(sectionExisted && !firstName.isEmpty() ? valueErrorText(firstName)
                                                        : sectionErrorText(section));
    return false;
  };

  // Another copy of the game saving at the same moment waits here, so that
  // what is read below is still the file when it is replaced. The lock is
  // the one Qt's own settings take, so older copies of the game wait too.
  QLockFile lock(path + QStringLiteral(".lock"));
  const bool folderReady = QDir().mkpath(QFileInfo(path).absolutePath());
  const bool locked = folderReady && lock.tryLock(kLockWaitMs);

  std::optional<QByteArray> data = locked ? readFile(path) : before;
  if (data) sectionExisted = hasSection(splitLines(*data), section);
  const QStringList current =
      readValues(path, data.value_or(QByteArray()), section, names, QString(), reportError_);
  const NamedValues values = change(current);
  if (values.isEmpty()) return true;
  firstName = values.front().first;
  if (!locked || !data) return fail();

  const bool created = !QFileInfo::exists(path);
  // Written beside the old file and renamed over it: a failed save leaves
  // the file as it was, and no reader ever sees half a file.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return fail();
  const QByteArray text = withValues(*data, section, values);
  if (file.write(text) != text.size() || !file.commit()) return fail();
  if (created) {
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOwner | QFile::WriteOwner |
                                    QFile::ReadGroup | QFile::ReadOther);
  }
  return true;
}

}  // namespace quibbix::store
