#include "store/ini_format.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <limits>

// The rules here are those of Qt's own settings class (QSettings, INI
// format), which wrote the files players have; a differential fuzz target
// (fuzz/entries.cpp) holds them against it. Where Qt's reading would lose
// data, the game keeps a safer rule of its own; these are all of them:
//  - A value Qt would continue on the next line (an open quote, a backslash
//    at the line's end) is Wrong here, and the next line stays a line of its
//    own. Qt swallows the lines below into the value, so one bad line would
//    hide the rest of the table.
//  - Typed values ("@Variant(...)", "@DateTime(...)", "@Rect(...)" and the
//    like) are never decoded, only refused: Qt would build whatever type the
//    blob names, GUI objects included, and the game wants a text.
//  - Bytes that are not UTF-8 (a name saved as Latin-1) are Wrong: Qt would
//    read U+FFFD in their place and write that back, for good.
//  - A list ("a, b": an unquoted comma) is Wrong: the game never writes one.
namespace quibbix::store::ini {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isUtf8(QByteArrayView bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  [[maybe_unused]] const QString text = decoder(bytes);
  return !decoder.hasError();
}

}  // namespace

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
    // A byte order mark is written escaped: where it begins a run of plain
    // text, the reading (Qt's too) would take it for the mark and drop it.
    const bool isPlain = !plainBytes && ch > 0x1F && ch != u'"' && ch != u'\\' && ch != 0xFEFF &&
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
        if (ch <= 0x1F || (ch >= 0x7F && plainBytes) || ch == 0xFEFF) {
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
Value parseValue(QByteArrayView raw) {
  if (!isUtf8(raw)) return {Value::Wrong, {}};
  QString text;
  bool list = false;
  bool inQuotes = false;
  bool quoted = false;
  bool decoded = false;  // a plain run of the value was decoded
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
      // Qt decodes a value's plain runs with one decoder, which takes a byte
      // order mark for a header only where it meets one first; every other one
      // is a character. fromUtf8 would drop one at the start of any run.
      QByteArrayView run = raw.sliced(i, j - i);
      if (!decoded && run.startsWith("\xef\xbb\xbf")) run = run.sliced(3);
      decoded = true;
      while (run.startsWith("\xef\xbb\xbf")) {
        text += QChar(0xFEFF);
        run = run.sliced(3);
      }
      text += QString::fromUtf8(run);
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
      // Qt reads a byte array's characters as bytes, and the game takes
      // those bytes as UTF-8 text; anything else would come back changed.
      if (text.startsWith(QLatin1String("@ByteArray("))) {
        const QString inner = text.mid(11).chopped(1);
        const bool bytes =
            std::all_of(inner.begin(), inner.end(), [](QChar c) { return c.unicode() <= 0xFF; });
        const QByteArray latin1 = inner.toLatin1();
        if (!bytes || !isUtf8(latin1)) return {Value::Wrong, {}};
        return {Value::Text, QString::fromUtf8(latin1)};
      }
      // Typed values: never decoded, whatever they hold.
      if (text.startsWith(QLatin1String("@Variant(")) ||
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
namespace {

std::vector<Line> splitLines(const QByteArray& data) {
  std::vector<Line> lines;
  QString section;
  qsizetype pos = data.startsWith("\xef\xbb\xbf") ? 3 : 0;
  while (pos < data.size()) {
    Line line;
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
      // Qt ends every line, a header too, at a semicolon outside quotes.
      qsizetype stop = i + 1;
      for (bool inQuotes = false; stop < line.end; ++stop) {
        const char c = data[stop];
        if (c == '\\') {
          ++stop;
        } else if (c == '"') {
          inQuotes = !inQuotes;
        } else if (c == ';' && !inQuotes) {
          break;
        }
      }
      stop = std::min(stop, line.end);
      qsizetype close = i + 1;
      while (close < stop && data[close] != ']') ++close;
      const QByteArrayView name = QByteArrayView(data).sliced(i + 1, close - i - 1).trimmed();
      if (name.compare("general", Qt::CaseInsensitive) == 0)
        section.clear();
      else if (name.compare("%general", Qt::CaseInsensitive) == 0)
        section = QString::fromLatin1(name.sliced(1));
      else
        section = unescapeKey(name);
      line.kind = Line::Section;
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
        line.kind = Line::Entry;
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
// Whether Qt would read a line on into the next: an open quote or a
// backslash at its end. A comment ends the line for Qt as for the game.
bool continuesInQt(QByteArrayView line) {
  bool inQuotes = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\\') {
      if (++i == line.size()) return true;
    } else if (c == '"') {
      inQuotes = !inQuotes;
    } else if (c == ';' && !inQuotes) {
      return false;
    }
  }
  return inQuotes;
}

}  // namespace

Document::Document(QByteArray bytes) : bytes_(std::move(bytes)), lines_(splitLines(bytes_)) {}

const Line* Document::entry(const QString& section, const QString& name) const {
  // The last one, as Qt too lets a later line win.
  for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
    if (it->kind == Line::Entry && it->section == section && it->key == name) return &*it;
  return nullptr;
}

int Document::lineNumber(const Line& line) const {
  return static_cast<int>(&line - lines_.data()) + 1;
}

Found Document::find(const QString& section, const QString& name) const {
  const Line* line = entry(section, name);
  if (line == nullptr) return {};
  const QByteArrayView data(bytes_);
  return {parseValue(data.sliced(line->valueStart, line->valueEnd - line->valueStart)),
          data.sliced(line->start, line->end - line->start).toByteArray(), lineNumber(*line)};
}

QList<Found> Document::find(const QString& section, const QStringList& names) const {
  QList<Found> found;
  found.reserve(names.size());
  for (const QString& name : names) found.append(find(section, name));
  return found;
}

QList<Stray> Document::strays(const QString& section, const QStringList& names) const {
  QList<Stray> result;
  for (const Line& line : lines_) {
    if (line.kind != Line::Entry) continue;
    const bool ourSection = line.section == section;
    const bool nearSection =
        !ourSection &&
        (line.section.isEmpty() || line.section.compare(section, Qt::CaseInsensitive) == 0);
    if (!ourSection && !nearSection) continue;
    for (const QString& name : names) {
      if (line.key.compare(name, Qt::CaseInsensitive) != 0) continue;
      if (ourSection && line.key == name) continue;
      result.append({name,
                     QByteArrayView(bytes_).sliced(line.start, line.end - line.start).toByteArray(),
                     lineNumber(line)});
    }
  }
  return result;
}

QByteArray Document::lineEnd() const {
  // New lines end as the file's first line does.
  const qsizetype first = bytes_.indexOf('\n');
  return first > 0 && bytes_[first - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

int Document::firstContinuedLine() const {
  for (const Line& line : lines_)
    if (continuesInQt(QByteArrayView(bytes_).sliced(line.start, line.end - line.start)))
      return lineNumber(line);
  return 0;
}

QByteArray Document::with(const QString& section, const NamedValues& values) const {
  const QByteArray newline = lineEnd();
  struct Edit {
    qsizetype from;
    qsizetype to;
    QByteArray text;
  };
  std::vector<Edit> edits;
  QByteArray appended;  // new keys of the section
  for (const auto& [name, value] : values) {
    const QByteArray text = escapeKey(name) + '=' + escapeValue(value);
    if (const Line* line = entry(section, name)) {
      edits.push_back({line->start, line->end, text});
    } else {
      appended += text + newline;
    }
  }
  if (!appended.isEmpty()) {
    // After the last entry of the section's last appearance, or its header;
    // right after the header if that entry's line would run on into the new
    // ones for Qt.
    const Line* after = nullptr;
    const Line* header = nullptr;
    for (auto it = lines_.rbegin(); it != lines_.rend() && header == nullptr; ++it) {
      if (it->section != section) continue;
      if (it->kind == Line::Section) header = &*it;
      if (it->kind == Line::Entry && after == nullptr && header == nullptr) after = &*it;
    }
    if (after != nullptr &&
        continuesInQt(QByteArrayView(bytes_).sliced(after->start, after->end - after->start)) &&
        header != nullptr)
      after = header;
    if (after == nullptr) after = header;
    if (after != nullptr) {
      if (after->next == after->end) appended.prepend(newline);  // the file's last line had no end
      edits.push_back({after->next, after->next, appended});
    } else {
      QByteArray block;
      if (!bytes_.isEmpty()) {
        if (!bytes_.endsWith('\n') && !bytes_.endsWith('\r')) block += newline;
        block += newline;
      }
      // Qt reads a header "[general]", in any case, as the top level: a
      // section of that name is marked with a "%".
      QByteArray name = section.isEmpty() ? QByteArray("General") : escapeKey(section);
      if (section.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) name.prepend('%');
      block += '[' + name + ']' + newline;
      edits.push_back({bytes_.size(), bytes_.size(), block + appended});
    }
  }
  // In the order of the file; new lines go in before a line rewritten at the
  // same place.
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) {
    return a.from != b.from ? a.from < b.from : a.to < b.to;
  });
  QByteArray result;
  result.reserve(bytes_.size() + 64 * static_cast<qsizetype>(values.size()));
  qsizetype pos = 0;
  for (const Edit& e : edits) {
    result += QByteArrayView(bytes_).sliced(pos, e.from - pos);
    result += e.text;
    pos = e.to;
  }
  result += QByteArrayView(bytes_).sliced(pos);
  return result;
}

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

bool parseBool(const QString& text, bool& out) {
  int value = 0;
  if (parseDecimalInt(text, value)) {
    out = value != 0;
    return true;
  }
  if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
      text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
    out = text.size() == 4;
    return true;
  }
  return false;
}

}  // namespace quibbix::store::ini
