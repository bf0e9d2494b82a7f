#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

#include "store/ini_file.h"
#include "store/ini_format.h"

namespace quibbix::store {

using NamedValues = ini::NamedValues;

// Something the player should hear about the settings file. The store only
// tells; the app puts it into words (in the player's language) and shows it.
struct StoreReport {
  enum Kind {
    WrongValue,  // a line the game cannot use: its value's default is used, the line kept
    StrayValue,  // a line meant for one of the game's values, in the wrong spelling or section
    ReadFailed,  // the file cannot be read: defaults are used, and nothing replaces it
    SaveFailed,  // a save failed: `saving` is lost, the file keeps what it held
  } kind = WrongValue;
  QString path;         // the settings file
  FileProblem problem;  // ReadFailed, SaveFailed
  QString name;         // WrongValue, StrayValue: the value's name
  QByteArray line;      // WrongValue, StrayValue: the line, byte for byte
  int lineNumber = 0;
  QStringList saving;  // SaveFailed: the names of the values that were not saved

  // A plain one-line description, for logs and tests.
  QString summary() const;
};
// Called once per store operation that has anything to tell, with all of it.
using Reporter = std::function<void(const QList<StoreReport>&)>;

// The per-user settings store: one INI file, every value kept as text.
//
// Each operation is self-contained (nothing is cached here), so a value
// written is what the next read sees, in this copy of the game or another.
// Failures are reported through the reporter and never thrown: a failed
// read gives its default, a failed write leaves the file as it was.
//
// The file is the one Qt's QSettings keeps for "Zorvyplay" / "Quibbix/V2",
// in its format, but it is read and written here line by line: a line that
// cannot be read (a hand edit gone wrong) spoils only its own value, and a
// write replaces the lines of the values it writes and nothing else.
class IniStore {
 public:
  // With no reporter, reports go to the log.
  explicit IniStore(Reporter report = {}, QString path = IniFile::defaultPath());

  bool ReadBool(const QString& section, const QString& name, bool def);
  int ReadInteger(const QString& section, const QString& name, int def);
  QString ReadString(const QString& section, const QString& name, const QString& def);
  // Several values from one reading of the file, in the order of `names`.
  QStringList ReadStrings(const QString& section, const QStringList& names, const QString& def);
  // The values as found, Wrong ones included (and reported), from one reading.
  QList<ini::Found> ReadFound(const QString& section, const QStringList& names);
  // Lines that look meant for `names` but are spelled or placed otherwise
  // (reported).
  void ReportStrays(const QString& section, const QStringList& names);
  // A value the caller cannot use either (a text that is no number):
  // reported once, like a Wrong one.
  void ReportFallback(const QString& section, const QString& name, const ini::Found& found);

  // false: the value was not stored (already reported).
  bool WriteBool(const QString& section, const QString& name, bool value);
  bool WriteInteger(const QString& section, const QString& name, int value);
  bool WriteString(const QString& section, const QString& name, const QString& value);
  // Several values in one save: all land, or the file stays as it was (one report).
  bool WriteStrings(const QString& section, const NamedValues& values);

  // Reads `names` and stores what `change` makes of them, in one save, with
  // no other copy of the game writing in between. `saving` names what is
  // lost should the save fail.
  bool UpdateStrings(const QString& section, const QStringList& names,
                     const std::function<NamedValues(const QList<ini::Found>& current)>& change);

  QString fileName() const { return file_.path(); }

  // Every operation gathers what it has to tell and tells it at its end, all
  // at once; a Telling held around several operations makes them one.
  class Telling;

 private:
  std::optional<ini::Document> document();
  QList<ini::Found> readFound(const QString& section, const QStringList& names);
  void fallback(const QString& name, const ini::Found& found);
  void report(StoreReport report);

  friend class Telling;
  Reporter report_;
  QList<StoreReport> pending_;
  int telling_ = 0;
  IniFile file_;
  QList<int> readProblemsTold_;
};

class IniStore::Telling {
 public:
  explicit Telling(IniStore& store) : store_(store) { ++store_.telling_; }
  ~Telling();
  Telling(const Telling&) = delete;
  Telling& operator=(const Telling&) = delete;

 private:
  IniStore& store_;
};

// Strict decimal integer: an optional minus sign and digits only, within
// 32 bits; anything else (blanks, "12abc", "+1", overflow) is no integer.
using ini::parseDecimalInt;

}  // namespace quibbix::store
