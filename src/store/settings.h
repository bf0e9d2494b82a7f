#pragma once
#include <QString>
#include <QStringList>
#include <functional>

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
  // The last name and the ten rows in one save: on failure (already
  // reported) the stored table stays whole.
  bool setScoreTable(const QString& player, const QStringList& rows);
  // Reads the stored rows and stores the player and the rows `change` makes
  // of them in one save, with no other copy of the game writing in between.
  bool updateScoreTable(const QString& player,
                        const std::function<QStringList(const QStringList& current)>& change);

  // The defaults, for what is shown before anything is read.
  static QString defaultPlayer();

 private:
  IniStore& store_;
};

}  // namespace quibbix::store
