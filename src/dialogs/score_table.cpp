#include "dialogs/score_table.h"

#include <QList>
#include <utility>

#include "dialogs/scrambler.h"
#include "store/settings_store.h"

namespace quibbix::dialogs {

namespace {

QString section() { return QStringLiteral("common"); }
QString rowKey(int row) { return QStringLiteral("player%1").arg(row); }

}  // namespace

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
  ScoreRows rows;
  for (int row = 0; row < kRows; ++row) {
    rows[static_cast<std::size_t>(row)] =
        parseStoredRow(store.ReadString(section(), rowKey(row), {}));
  }
  return rows;
}

namespace {

store::NamedValues tableValues(const ScoreRows& rows, const QString& player) {
  store::NamedValues values;
  values.reserve(kRows + 1);
  values.append({QStringLiteral("player"), player});
  for (int row = 0; row < kRows; ++row) {
    values.append({rowKey(row), formatStoredRow(rows[static_cast<std::size_t>(row)])});
  }
  return values;
}

}  // namespace

bool writeTable(store::IniStore& store, const ScoreRows& rows, const QString& player) {
  return store.WriteStrings(section(), tableValues(rows, player));
}

bool storeTable(store::IniStore& store, const QString& player, std::optional<int> newScore,
                bool clear, ScoreRows& rows) {
  QStringList keys;
  for (int row = 0; row < kRows; ++row) keys.append(rowKey(row));
  ScoreRows merged;
  const bool stored = store.UpdateStrings(section(), keys, [&](const QStringList& current) {
    for (int row = 0; row < kRows; ++row)
      merged[static_cast<std::size_t>(row)] = parseStoredRow(current[row]);
    if (clear) {
      merged.fill(defaultEntry());
    } else if (newScore) {
      insertScore(merged, *newScore, player);
    }
    return tableValues(merged, player);
  });
  if (stored) rows = merged;
  return stored;
}

}  // namespace quibbix::dialogs
