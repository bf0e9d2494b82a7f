#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "store/ini_format.h"

namespace quibbix::store {

class IniStore;

// Everything the game keeps between runs, each value once with its default,
// all in one section of the settings file:
//   sound       on/off, default on
//   tongue      the language chosen, -1 (none chosen yet) by default
//   zoom        the zoom chosen, 0 for the desktop's; kept as text, since a
//               hand-edited value is judged where the zoom is chosen
//   player      the name last entered for the high-score table
//   MainForm    the main window's place, in screen pixels
//   player0..9  the ten rows of the high-score table, best first, scrambled
// The names and their spelling are those of the files players already have.
class Settings {
 public:
  explicit Settings(IniStore& store) : store_(store) {}

  static constexpr int kScoreRows = 10;

  // The player's choices, which the game reads once when it starts and
  // writes once when it closes.
  struct Choices {
    bool sound = true;
    int tongue = -1;
    QString zoom;
    QString player = defaultPlayer();
    QString windowPlace;
  };
  // One reading of the file; what falls back on a default is reported, and
  // so is a line that seems meant for one of the values but is not read.
  Choices readChoices();
  // Sound, tongue, zoom and window place in one save (the player's name is
  // the table's): on failure, one report.
  bool saveChoices(const Choices& choices);

  bool sound();
  bool setSound(bool on);

  int tongue();
  bool setTongue(int tongue);

  QString zoom();
  bool setZoom(int zoom);

  QString player();

  QString windowPlace();
  bool setWindowPlace(const QString& place);

  // The rows as stored (missing: empty), row 0 first.
  QStringList scoreRows();
  // The same, with rows the file holds in a form that cannot be read as
  // Wrong (reported once), and the lines they stand on.
  QList<ini::Found> storedScoreRows();
  // The last name and the ten rows in one save: on failure (already
  // reported) the stored table stays whole.
  bool setScoreTable(const QString& player, const QStringList& rows);
  // Reads the stored rows and stores the player and the rows `change` makes
  // of them in one save, with no other copy of the game writing in between.
  // A row `change` gives as nullopt keeps its line as it is.
  bool updateScoreTable(
      const QString& player,
      const std::function<QList<std::optional<QString>>(const QList<ini::Value>& current)>& change);

  // The defaults, for what is shown before anything is read.
  static QString defaultPlayer();
  static QStringList names();

 private:
  IniStore& store_;
};

}  // namespace quibbix::store
