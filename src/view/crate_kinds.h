#pragma once
// Every kind of crate the crate sheet can show: the cell it is drawn from and
// what a player sees there, in words, for a screen reader. Drawing and naming
// read the same row, so a kind that can be drawn has a name.
#include <QString>
#include <span>

namespace quibbix::view {

struct Cell {
  int column;
  int row;
  bool operator==(const Cell&) const = default;
};

struct CrateKind {
  // A crate code's absolute value.
  int code;
  // Where the kind is drawn; a special crate's other blink phase lies one column to the right.
  Cell cell;
  // In English, the source of its translation (context "CrateKind").
  const char* name;
};

// In code order: 1..40 and 50..65.
std::span<const CrateKind> crateKinds();
// The kind of a signed crate code; nullptr for 0 and for codes no cell shows.
const CrateKind* crateKind(int code);
// The kind's name in the language installed; empty for 0 and unknown codes.
QString crateName(int code);

}  // namespace quibbix::view
