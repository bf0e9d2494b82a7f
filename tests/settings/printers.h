#pragma once
#include <QString>
#include <ostream>

#include "dialogs/score_table.h"

// Readable failure messages for Qt texts and table rows.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace quibbix::dialogs {
inline void PrintTo(const ScoreEntry& entry, std::ostream* os) {
  *os << '{' << entry.score << ", \"" << entry.name.toStdString() << "\"}";
}
}  // namespace quibbix::dialogs
