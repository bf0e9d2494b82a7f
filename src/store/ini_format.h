#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The settings file's format: Qt's INI files, read and written line by line,
// with nothing but QtCore. No file is touched here; see ini_file.h.
namespace quibbix::store::ini {

using NamedValues = QList<std::pair<QString, QString>>;

// What a stored value is to the game.
struct Value {
  enum Kind {
    Text,     // a text, exactly as Qt's settings class reads it
    Missing,  // no line holds it
    Wrong,    // a line holds it that the game cannot take as one text
  } kind = Missing;
  QString text;
};

// One value as it stands after the equals sign (see ini_format.cpp for where
// the game's reading differs from Qt's, and why).
Value parseValue(QByteArrayView raw);

// A text written so that Qt's settings class reads back exactly this text.
QByteArray escapeValue(const QString& value);

// Keys and section names: "%XX", "%UXXXX" and "\" for "/".
QByteArray escapeKey(const QString& key);
QString unescapeKey(QByteArrayView key);

// The file as lines, each kept byte for byte with its line end.
struct Line {
  enum Kind { Other, Section, Entry } kind = Other;
  qsizetype start = 0;  // the line's first byte
  qsizetype end = 0;    // after its content, before the line end
  qsizetype next = 0;   // after the line end
  QString section;      // the section the line lies in (its own, for a header)
  QString key;          // an entry's key
  qsizetype valueStart = 0;
  qsizetype valueEnd = 0;
};

// A value found in a file, with the line that holds it.
struct Found {
  Value value;
  QByteArray line;     // the whole line, without its end; empty when missing
  int lineNumber = 0;  // from 1; 0 when missing
};

// A line that looks meant for one of the game's values but is not where the
// game (and Qt) look: the key in another case, or the section named in
// another case, or no section at all.
struct Stray {
  QString name;  // the value it seems meant for
  QByteArray line;
  int lineNumber = 0;
};

class Document {
 public:
  explicit Document(QByteArray bytes);

  const QByteArray& bytes() const { return bytes_; }

  Found find(const QString& section, const QString& name) const;
  QList<Found> find(const QString& section, const QStringList& names) const;
  QList<Stray> strays(const QString& section, const QStringList& names) const;

  // The file with `values` in `section`: a value already there gets its line
  // rewritten in place, a new one goes to the end of the section, a new
  // section to the end of the file; every other byte stays as it is.
  QByteArray with(const QString& section, const NamedValues& values) const;

  // The first line (from 1) that Qt's reading would run on into the next
  // (an open quote, a backslash at the end); 0 for none.
  int firstContinuedLine() const;

 private:
  const Line* entry(const QString& section, const QString& name) const;
  int lineNumber(const Line& line) const;
  QByteArray lineEnd() const;

  QByteArray bytes_;
  std::vector<Line> lines_;
};

// Strict decimal integer: an optional minus sign and digits only, within
// 32 bits; anything else (blanks, "12abc", "+1", overflow) is no integer.
bool parseDecimalInt(const QString& text, int& out);

// A stored boolean: a decimal integer (not 0: true), or "true" / "false" in
// any case, which is what Qt's settings class writes for one.
bool parseBool(const QString& text, bool& out);

}  // namespace quibbix::store::ini
