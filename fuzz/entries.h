#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "desktop/placement.h"
#include "dialogs/score_table.h"

// The bodies of the fuzz targets, shared by the libFuzzer programs and the
// regression test that replays the corpus and every input that once broke one.
// Each takes arbitrary bytes and returns what went wrong, or an empty string
// when every checked property held. Sanitizer findings abort on their own.
namespace quibbix::fuzz {

using Bytes = std::span<const std::uint8_t>;

// The game's application object (a QApplication on the offscreen platform),
// made once if none exists yet, so that each target runs the store's code as the
// game does. Every entry calls it; a test may call it first.
void enterGameConditions();

// The window placement text as stored under "MainForm" (bytes read as UTF-8).
std::string placementText(Bytes bytes);

// One stored high-score row (bytes read as UTF-8): the scrambler must undo
// itself, and a row written back from what was read must read the same.
std::string storedRow(Bytes bytes);

// The bytes as the whole settings file, read the way the game reads it, then
// the table and player written back and read again.
std::string settingsFile(Bytes bytes);

// The bytes as a settings file, read by the store and by Qt's own settings
// class: every value of the game the store reads as a text, Qt reads as the
// same text (the store's safer rules aside, see store/ini_format.cpp); and
// after the store writes the game's values, Qt reads exactly those, and
// every other value as before.
std::string qtDifferential(Bytes bytes);

// What the game takes from a settings file holding exactly these bytes.
struct SettingsReadout {
  bool sound = true;
  int tongue = -1;
  QString player;
  dialogs::ScoreRows rows;
  QString placement;
  std::optional<QPoint> corner;
  int errors = 0;
};
SettingsReadout readSettingsBytes(const QByteArray& bytes);

}  // namespace quibbix::fuzz
