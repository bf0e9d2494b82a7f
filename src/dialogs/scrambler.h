#pragma once
#include <QString>

namespace quibbix::dialogs {

// The high-score rows' light disguise: each letter or digit (A-Z, a-z, 0-9)
// is shifted within those 62 characters by an amount that depends only on
// its position, so Unscramble undoes Scramble exactly. Every other UTF-16
// unit stays as it is but still uses up its position's shift. Not
// encryption: it only keeps the stored table from being edited at a glance.
QString Scramble(const QString& s);
QString Unscramble(const QString& s);

}  // namespace quibbix::dialogs
