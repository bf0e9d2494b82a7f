#include "view/crate_kinds.h"

#include <QCoreApplication>
#include <array>
#include <cstdlib>

namespace quibbix::view {

namespace {

// Columns 0 and 1 of the sheet hold the 31 ordinary designs (the first cell of
// column 1 is the bare grey crate), column 2 the special crates, column 4 the
// name crates and the two halves of Zorvy's head.
constexpr std::array<CrateKind, 40 + 16> kKinds{{
    {1, {0, 1}, QT_TRANSLATE_NOOP("CrateKind", "Red white red stripes")},
    {2, {0, 2}, QT_TRANSLATE_NOOP("CrateKind", "Blue red green stripes")},
    {3, {0, 3}, QT_TRANSLATE_NOOP("CrateKind", "Blue cross on pink")},
    {4, {0, 4}, QT_TRANSLATE_NOOP("CrateKind", "Yellow crosses on blue")},
    {5, {0, 5}, QT_TRANSLATE_NOOP("CrateKind", "Red and green quarters")},
    {6, {0, 6}, QT_TRANSLATE_NOOP("CrateKind", "Big yellow and cyan squares")},
    {7, {0, 7}, QT_TRANSLATE_NOOP("CrateKind", "Fine bar code")},
    {8, {0, 8}, QT_TRANSLATE_NOOP("CrateKind", "White and grey checks")},
    {9, {0, 9}, QT_TRANSLATE_NOOP("CrateKind", "Maker's name, black on cream")},
    {10, {0, 10}, QT_TRANSLATE_NOOP("CrateKind", "Teal waves")},
    {11, {0, 11}, QT_TRANSLATE_NOOP("CrateKind", "Yellow lights")},
    {12, {0, 12}, QT_TRANSLATE_NOOP("CrateKind", "Red and blue rings")},
    {13, {0, 13}, QT_TRANSLATE_NOOP("CrateKind", "Four squares on white")},
    {14, {0, 14}, QT_TRANSLATE_NOOP("CrateKind", "Four coloured quarters")},
    {15, {0, 15}, QT_TRANSLATE_NOOP("CrateKind", "Warm pastel spots")},
    {16, {1, 0}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {17, {1, 1}, QT_TRANSLATE_NOOP("CrateKind", "White red white stripes")},
    {18, {1, 2}, QT_TRANSLATE_NOOP("CrateKind", "Green red blue columns")},
    {19, {1, 3}, QT_TRANSLATE_NOOP("CrateKind", "Pink diagonal cross on blue")},
    {20, {1, 4}, QT_TRANSLATE_NOOP("CrateKind", "Blue crosses on yellow")},
    {21, {1, 5}, QT_TRANSLATE_NOOP("CrateKind", "Green and red quarters in white")},
    {22, {1, 6}, QT_TRANSLATE_NOOP("CrateKind", "Small cyan and yellow squares")},
    {23, {1, 7}, QT_TRANSLATE_NOOP("CrateKind", "Bold bar code")},
    {24, {1, 8}, QT_TRANSLATE_NOOP("CrateKind", "Black and red checks")},
    {25, {1, 9}, QT_TRANSLATE_NOOP("CrateKind", "Maker's name, white on green")},
    {26, {1, 10}, QT_TRANSLATE_NOOP("CrateKind", "Grey waves on brown")},
    {27, {1, 11}, QT_TRANSLATE_NOOP("CrateKind", "Blue lights")},
    {28, {1, 12}, QT_TRANSLATE_NOOP("CrateKind", "Pale rings")},
    {29, {1, 13}, QT_TRANSLATE_NOOP("CrateKind", "Four squares on black")},
    {30, {1, 14}, QT_TRANSLATE_NOOP("CrateKind", "Small four-colour block")},
    {31, {1, 15}, QT_TRANSLATE_NOOP("CrateKind", "Cool pastel spots")},
    {32, {4, 0}, QT_TRANSLATE_NOOP("CrateKind", "Quibbix in blue")},
    {33, {4, 1}, QT_TRANSLATE_NOOP("CrateKind", "Quibbix in green")},
    {34, {4, 2}, QT_TRANSLATE_NOOP("CrateKind", "Quibbix in red")},
    {35, {4, 3}, QT_TRANSLATE_NOOP("CrateKind", "Zorvy's head, top")},
    {36, {4, 4}, QT_TRANSLATE_NOOP("CrateKind", "Zorvy's head, bottom")},
    // Cells no rule fills a chute with: a bare crate.
    {37, {4, 5}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {38, {4, 6}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {39, {4, 7}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {40, {4, 8}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {50, {2, 0}, QT_TRANSLATE_NOOP("CrateKind", "Blue 13")},
    {51, {2, 1}, QT_TRANSLATE_NOOP("CrateKind", "Red 31")},
    {52, {2, 2}, QT_TRANSLATE_NOOP("CrateKind", "Pink 53")},
    {53, {2, 3}, QT_TRANSLATE_NOOP("CrateKind", "Green 97")},
    {54, {2, 4}, QT_TRANSLATE_NOOP("CrateKind", "Plus and minus")},
    {55, {2, 5}, QT_TRANSLATE_NOOP("CrateKind", "Arrows")},
    {56, {2, 6}, QT_TRANSLATE_NOOP("CrateKind", "Bomb")},
    {57, {2, 7}, QT_TRANSLATE_NOOP("CrateKind", "Dynamite")},
    {58, {2, 8}, QT_TRANSLATE_NOOP("CrateKind", "Magnet")},
    {59, {2, 9}, QT_TRANSLATE_NOOP("CrateKind", "Wavy arrow")},
    {60, {2, 10}, QT_TRANSLATE_NOOP("CrateKind", "Spiky creature")},
    {61, {2, 11}, QT_TRANSLATE_NOOP("CrateKind", "Rat")},
    {62, {2, 12}, QT_TRANSLATE_NOOP("CrateKind", "Pistol")},
    {63, {2, 13}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {64, {2, 14}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
    {65, {2, 15}, QT_TRANSLATE_NOOP("CrateKind", "Plain grey crate")},
}};

// The table's place of a kind, as crateKind() finds it without a search.
constexpr int placeOf(int kind) {
  if (kind >= 1 && kind <= 40) return kind - 1;
  if (kind >= 50 && kind <= 65) return kind - 10;
  return -1;
}

constexpr bool inPlace() {
  for (std::size_t i = 0; i < kKinds.size(); ++i)
    if (placeOf(kKinds[i].code) != static_cast<int>(i)) return false;
  return true;
}
static_assert(inPlace(), "every kind at the place of its code");

}  // namespace

std::span<const CrateKind> crateKinds() { return kKinds; }

const CrateKind* crateKind(int code) {
  const int kind = std::abs(code);
  // Only a special crate has a second phase.
  if (code < 0 && kind < 50) return nullptr;
  const int place = placeOf(kind);
  return place < 0 ? nullptr : &kKinds[static_cast<std::size_t>(place)];
}

QString crateName(int code) {
  const CrateKind* kind = crateKind(code);
  if (kind == nullptr) return {};
  return QCoreApplication::translate("CrateKind", kind->name);
}

}  // namespace quibbix::view
