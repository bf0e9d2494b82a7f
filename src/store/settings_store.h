#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

namespace quibbix::store {

using NamedValues = QList<std::pair<QString, QString>>;

// The per-user settings store: one INI file, every value kept as text.
//
// Each operation is self-contained (nothing is cached here), so a value
// written is what the next read sees, in this copy of the game or another.
// Failures are reported through reportError and never thrown: a failed read
// gives its default, a failed write leaves the file as it was.
//
// The file is the one Qt's QSettings keeps for "Zorvyplay" / "Quibbix/V2",
// in its format, but it is read and written here line by line: a line that
// cannot be read (a hand edit gone wrong) spoils only its own value, and a
// write replaces the lines of the values it writes and nothing else. Typed
// values ("@Variant(...)" and the like) are never decoded, only refused.
class IniStore {
 public:
  // reportError shows the message; by default a critical message box.
  explicit IniStore(std::function<void(const QString&)> reportError = {});

  bool ReadBool(const QString& section, const QString& name, bool def);
  int ReadInteger(const QString& section, const QString& name, int def);
  QString ReadString(const QString& section, const QString& name, const QString& def);
  // Several values from one reading of the file, in the order of `names`.
  QStringList ReadStrings(const QString& section, const QStringList& names, const QString& def);

  // false: the value was not stored (already reported).
  bool WriteBool(const QString& section, const QString& name, bool value);
  bool WriteInteger(const QString& section, const QString& name, int value);
  bool WriteString(const QString& section, const QString& name, const QString& value);
  // Several values in one save: all land, or the file stays as it was (one report).
  bool WriteStrings(const QString& section, const NamedValues& values);

  // Reads `names` (missing: empty) and stores what `change` makes of them, in
  // one save, with no other copy of the game writing in between.
  bool UpdateStrings(const QString& section, const QStringList& names,
                     const std::function<NamedValues(const QStringList& current)>& change);

  QString fileName() const;

  // The store's own way of reporting: a critical message box.
  static void showError(const QString& message);

 private:
  std::function<void(const QString&)> reportError_;
};

// Strict decimal integer: an optional minus sign and digits only, within
// 32 bits; anything else (blanks, "12abc", "+1", overflow) is no integer.
bool parseDecimalInt(const QString& text, int& out);

}  // namespace quibbix::store
