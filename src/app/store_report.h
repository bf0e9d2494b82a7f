#pragma once
#include <QList>
#include <QString>

#include "store/settings_store.h"

class QWidget;

namespace quibbix::app {

// What the settings store had to tell, in the player's words, in the language
// installed. Every message names the file, says what
// was not kept or not read, and what the game does about it.
QString storeMessage(const QList<store::StoreReport>& reports);

// The message in a box over `parent`: critical for what was lost, a warning
// for lines that could not be read.
void showStoreMessage(QWidget* parent, const QList<store::StoreReport>& reports);

}  // namespace quibbix::app
