#pragma once
#include <QString>
#include <array>
#include <optional>

namespace quibbix::store {
class IniStore;
}

namespace quibbix::dialogs {

// The high-score table without its window: ten rows, row 0 the best, each
// stored as "score,name" scrambled, next to the name last entered
// (store::Settings keeps both).
struct ScoreEntry {
  QString name;
  int score = 0;
  // A row the file holds in a form that cannot be read (a hand edit gone
  // wrong): it keeps its place and its line, shows empty, and takes no part
  // in the ranking.
  bool unreadable = false;
  friend bool operator==(const ScoreEntry&, const ScoreEntry&) = default;
};

constexpr int kRows = 10;
using ScoreRows = std::array<ScoreEntry, kRows>;

// The entry of an empty row: "Vormlab" with 0.
ScoreEntry defaultEntry();

// A stored row: unscrambled and split at the first comma, so the name may
// hold commas. Empty, or no integer before the comma: the default entry.
ScoreEntry parseStoredRow(const QString& scrambled);
// The same, but nullopt for a row that is there and cannot be read.
std::optional<ScoreEntry> readStoredRow(const QString& scrambled);
QString formatStoredRow(const ScoreEntry& entry);

// Enters score for player at the first row scoring lower, moving the rows
// below down by one (the last falls out). An equal score ranks below the
// entries it equals. Returns the new row, or nullopt when no row is lower
// (the table is unchanged then). Unreadable rows stay where they are: the
// readable ones move around them.
std::optional<int> insertScore(ScoreRows& rows, int score, const QString& player);

ScoreRows readTable(store::IniStore& store);
// The last name and the ten rows in one save: on failure (already reported) the
// stored table stays whole.
bool writeTable(store::IniStore& store, const ScoreRows& rows, const QString& player);

// What OK in the table stores, merged into the table as it is stored at that
// moment (another copy of the game may have entered a score meanwhile):
// `player` as the last name, and `newScore`, if any, entered under that name;
// with `clear`, ten default rows instead. `rows` receives the table as
// stored. false: the save failed (already reported) and nothing changed.
bool storeTable(store::IniStore& store, const QString& player, std::optional<int> newScore,
                bool clear, ScoreRows& rows);

}  // namespace quibbix::dialogs
