#include "dialogs/score_table.h"

#include <QStringList>
#include <utility>

#include "dialogs/scrambler.h"
#include "store/settings.h"
#include "store/settings_store.h"

namespace quibbix::dialogs {

static_assert(kRows == store::Settings::kScoreRows);

ScoreEntry defaultEntry() { return {QStringLiteral("Vormlab"), 0}; }

ScoreEntry parseStoredRow(const QString& scrambled) {
  const QString text = Unscramble(scrambled);
  const qsizetype comma = text.indexOf(u',');
  // Only a hand-edited store can break the form; such a row is not worth
  // more than an empty one.
  int score = 0;
  if (comma < 0 || !store::parseDecimalInt(text.left(comma), score)) return defaultEntry();
  return {text.mid(comma + 1), score};
}

QString formatStoredRow(const ScoreEntry& entry) {
  return Scramble(QString::number(entry.score) + u',' + entry.name);
}

std::optional<int> insertScore(ScoreRows& rows, int score, const QString& player) {
  for (int row = 0; row < kRows; ++row) {
    if (rows[static_cast<std::size_t>(row)].score < score) {
      for (int below = kRows - 1; below > row; --below) {
        rows[static_cast<std::size_t>(below)] =
            std::move(rows[static_cast<std::size_t>(below - 1)]);
      }
      rows[static_cast<std::size_t>(row)] = {player, score};
      return row;
    }
  }
  return std::nullopt;
}

ScoreRows readTable(store::IniStore& store) {
  const QStringList stored = store::Settings(store).scoreRows();
  ScoreRows rows;
  for (int row = 0; row < kRows; ++row)
    rows[static_cast<std::size_t>(row)] = parseStoredRow(stored[row]);
  return rows;
}

namespace {

QStringList storedRows(const ScoreRows& rows) {
  QStringList stored;
  for (const ScoreEntry& entry : rows) stored.append(formatStoredRow(entry));
  return stored;
}

}  // namespace

bool writeTable(store::IniStore& store, const ScoreRows& rows, const QString& player) {
  return store::Settings(store).setScoreTable(player, storedRows(rows));
}

bool storeTable(store::IniStore& store, const QString& player, std::optional<int> newScore,
                bool clear, ScoreRows& rows) {
  ScoreRows merged;
  const bool stored =
      store::Settings(store).updateScoreTable(player, [&](const QStringList& current) {
        for (int row = 0; row < kRows; ++row)
          merged[static_cast<std::size_t>(row)] = parseStoredRow(current[row]);
        if (clear) {
          merged.fill(defaultEntry());
        } else if (newScore) {
          insertScore(merged, *newScore, player);
        }
        return storedRows(merged);
      });
  if (stored) rows = merged;
  return stored;
}

}  // namespace quibbix::dialogs
