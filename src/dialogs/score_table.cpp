#include "dialogs/score_table.h"

#include <QStringList>
#include <utility>
#include <vector>

#include "dialogs/scrambler.h"
#include "store/ini_format.h"
#include "store/settings.h"
#include "store/settings_store.h"

namespace quibbix::dialogs {

static_assert(kRows == store::Settings::kScoreRows);

ScoreEntry defaultEntry() { return {QStringLiteral("Vormlab"), 0}; }

std::optional<ScoreEntry> readStoredRow(const QString& scrambled) {
  if (scrambled.isEmpty()) return defaultEntry();
  const QString text = Unscramble(scrambled);
  const qsizetype comma = text.indexOf(u',');
  // Only a hand-edited store can break the form.
  int score = 0;
  if (comma < 0 || !store::parseDecimalInt(text.left(comma), score)) return std::nullopt;
  return ScoreEntry{text.mid(comma + 1), score};
}

ScoreEntry parseStoredRow(const QString& scrambled) {
  return readStoredRow(scrambled).value_or(defaultEntry());
}

QString formatStoredRow(const ScoreEntry& entry) {
  return Scramble(QString::number(entry.score) + u',' + entry.name);
}

std::optional<int> insertScore(ScoreRows& rows, int score, const QString& player) {
  std::vector<std::size_t> readable;
  for (std::size_t row = 0; row < rows.size(); ++row)
    if (!rows[row].unreadable) readable.push_back(row);
  for (std::size_t k = 0; k < readable.size(); ++k) {
    if (rows[readable[k]].score < score) {
      for (std::size_t below = readable.size() - 1; below > k; --below)
        rows[readable[below]] = std::move(rows[readable[below - 1]]);
      rows[readable[k]] = {player, score};
      return static_cast<int>(readable[k]);
    }
  }
  return std::nullopt;
}

namespace {

ScoreEntry entryOf(const store::ini::Value& value) {
  if (value.kind == store::ini::Value::Missing) return defaultEntry();
  const std::optional<ScoreEntry> entry =
      value.kind == store::ini::Value::Text ? readStoredRow(value.text) : std::nullopt;
  if (entry) return *entry;
  ScoreEntry unreadable;
  unreadable.unreadable = true;
  return unreadable;
}

// What is written for each row: an unreadable one keeps its line.
QList<std::optional<QString>> storedRows(const ScoreRows& rows) {
  QList<std::optional<QString>> stored;
  for (const ScoreEntry& entry : rows)
    stored.append(entry.unreadable ? std::nullopt : std::optional(formatStoredRow(entry)));
  return stored;
}

}  // namespace

ScoreRows readTable(store::IniStore& store) {
  // One report for the whole table.
  const store::IniStore::Telling oneReport(store);
  const QList<store::ini::Found> stored = store::Settings(store).storedScoreRows();
  ScoreRows rows;
  for (int row = 0; row < kRows; ++row) {
    ScoreEntry& entry = rows[static_cast<std::size_t>(row)];
    entry = entryOf(stored[row].value);
    // A text that is no row is told as a value that cannot be read is.
    if (entry.unreadable && stored[row].value.kind == store::ini::Value::Text)
      store.ReportFallback(QStringLiteral("common"), QStringLiteral("player%1").arg(row),
                           stored[row]);
  }
  return rows;
}

bool writeTable(store::IniStore& store, const ScoreRows& rows, const QString& player) {
  return store::Settings(store).updateScoreTable(
      player, [&](const QList<store::ini::Value>&) { return storedRows(rows); });
}

bool storeTable(store::IniStore& store, const QString& player, std::optional<int> newScore,
                bool clear, ScoreRows& rows) {
  ScoreRows merged;
  const bool stored =
      store::Settings(store).updateScoreTable(player, [&](const QList<store::ini::Value>& current) {
        for (int row = 0; row < kRows; ++row)
          merged[static_cast<std::size_t>(row)] =
              row < current.size() ? entryOf(current[row]) : defaultEntry();
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
