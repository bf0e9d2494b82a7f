#include "view/crate_kinds.h"

#include <array>
#include <cstdlib>

namespace quibbix::view {

namespace {

// Columns 0 and 1 of the sheet hold the 31 ordinary designs (the first cell of
// column 1 is the bare grey crate), column 2 the special crates, column 4 the
// name crates and the two halves of Zorvy's head.
constexpr std::array<CrateKind, 40 + 16> kKinds{{
    {1, {0, 1}, "Red white red stripes", "Streifen rot weiß rot"},
    {2, {0, 2}, "Blue red green stripes", "Streifen blau rot grün"},
    {3, {0, 3}, "Blue cross on pink", "Blaues Kreuz auf Rosa"},
    {4, {0, 4}, "Yellow crosses on blue", "Gelbe Kreuze auf Blau"},
    {5, {0, 5}, "Red and green quarters", "Rote und grüne Viertel"},
    {6, {0, 6}, "Big yellow and cyan squares", "Große gelbe und türkise Quadrate"},
    {7, {0, 7}, "Fine bar code", "Feiner Strichcode"},
    {8, {0, 8}, "White and grey checks", "Karo weiß und grau"},
    {9, {0, 9}, "Maker's name, black on cream", "Herstellername, schwarz auf Creme"},
    {10, {0, 10}, "Teal waves", "Türkise Wellen"},
    {11, {0, 11}, "Yellow lights", "Gelbe Lichter"},
    {12, {0, 12}, "Red and blue rings", "Rote und blaue Ringe"},
    {13, {0, 13}, "Four squares on white", "Vier Quadrate auf Weiß"},
    {14, {0, 14}, "Four coloured quarters", "Vier bunte Viertel"},
    {15, {0, 15}, "Warm pastel spots", "Warme Pastelltupfen"},
    {16, {1, 0}, "Plain grey crate", "Schlichte graue Kiste"},
    {17, {1, 1}, "White red white stripes", "Streifen weiß rot weiß"},
    {18, {1, 2}, "Green red blue columns", "Säulen grün rot blau"},
    {19, {1, 3}, "Pink diagonal cross on blue", "Rosa Schrägkreuz auf Blau"},
    {20, {1, 4}, "Blue crosses on yellow", "Blaue Kreuze auf Gelb"},
    {21, {1, 5}, "Green and red quarters in white", "Grüne und rote Viertel in Weiß"},
    {22, {1, 6}, "Small cyan and yellow squares", "Kleine türkise und gelbe Quadrate"},
    {23, {1, 7}, "Bold bar code", "Kräftiger Strichcode"},
    {24, {1, 8}, "Black and red checks", "Karo schwarz und rot"},
    {25, {1, 9}, "Maker's name, white on green", "Herstellername, weiß auf Grün"},
    {26, {1, 10}, "Grey waves on brown", "Graue Wellen auf Braun"},
    {27, {1, 11}, "Blue lights", "Blaue Lichter"},
    {28, {1, 12}, "Pale rings", "Blasse Ringe"},
    {29, {1, 13}, "Four squares on black", "Vier Quadrate auf Schwarz"},
    {30, {1, 14}, "Small four-colour block", "Kleiner bunter Block"},
    {31, {1, 15}, "Cool pastel spots", "Kühle Pastelltupfen"},
    {32, {4, 0}, "Quibbix in blue", "Quibbix in Blau"},
    {33, {4, 1}, "Quibbix in green", "Quibbix in Grün"},
    {34, {4, 2}, "Quibbix in red", "Quibbix in Rot"},
    {35, {4, 3}, "Zorvy's head, top", "Zorvys Kopf, oben"},
    {36, {4, 4}, "Zorvy's head, bottom", "Zorvys Kopf, unten"},
    // Cells no rule fills a chute with: a bare crate.
    {37, {4, 5}, "Plain grey crate", "Schlichte graue Kiste"},
    {38, {4, 6}, "Plain grey crate", "Schlichte graue Kiste"},
    {39, {4, 7}, "Plain grey crate", "Schlichte graue Kiste"},
    {40, {4, 8}, "Plain grey crate", "Schlichte graue Kiste"},
    {50, {2, 0}, "Blue 13", "Blaue 13"},
    {51, {2, 1}, "Red 31", "Rote 31"},
    {52, {2, 2}, "Pink 53", "Rosa 53"},
    {53, {2, 3}, "Green 97", "Grüne 97"},
    {54, {2, 4}, "Plus and minus", "Plus und Minus"},
    {55, {2, 5}, "Arrows", "Pfeile"},
    {56, {2, 6}, "Bomb", "Bombe"},
    {57, {2, 7}, "Dynamite", "Dynamit"},
    {58, {2, 8}, "Magnet", "Magnet"},
    {59, {2, 9}, "Wavy arrow", "Wellenpfeil"},
    {60, {2, 10}, "Spiky creature", "Stachelwesen"},
    {61, {2, 11}, "Rat", "Ratte"},
    {62, {2, 12}, "Pistol", "Pistole"},
    {63, {2, 13}, "Plain grey crate", "Schlichte graue Kiste"},
    {64, {2, 14}, "Plain grey crate", "Schlichte graue Kiste"},
    {65, {2, 15}, "Plain grey crate", "Schlichte graue Kiste"},
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

QString crateName(int code, int language) {
  const CrateKind* kind = crateKind(code);
  if (kind == nullptr) return {};
  return QString::fromUtf8(language == 1 ? kind->german : kind->english);
}

}  // namespace quibbix::view
