#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/game.h"

namespace quibbix::engine {

namespace {

// The kinds of crate in the order the levels open them up. An ordinary kind is turned
// into a design by the game's DesignMap; any other entry is the crate code itself.
// clang-format off
constexpr std::array<std::int8_t, 49> CratePool = {
    1,                   2,              3,       4,         kMoney13, kMoney31, kPlusMinus,
    kOneWay,             5,              kBomb,   6,         kWave,    7,        kMoney53,
    kPairUpper,          kPairLower,     kMagnet, 8,         kMoney97, kRat,     kFirstNameCrate,
    kFirstNameCrate + 1, kLastNameCrate, 9,       kDynamite, 10,       kPistol,  11,
    kCreature,           12,             13,      14,        15,       16,       17,
    18,                  19,             20,      21,        22,       23,       24,
    25,                  26,             27,      28,        29,       30,       31};
// clang-format on

// How many leading CratePool entries are in play at each level 0..38.
constexpr std::array<std::uint8_t, 39> PoolSize = {
    0,  8,  9,  10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 23, 24, 25, 26, 27, 28, 29,
    31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49};

constexpr int kTopLevel = static_cast<int>(PoolSize.size()) - 1;
static_assert(PoolSize[kTopLevel] == CratePool.size(), "the top level opens the whole pool");

}  // namespace

int Game::NextCrateCode(int chute) {
  // Every level from 1 on has at least four ordinary kinds in play, so the loop ends;
  // a level below 1 (no game set up yet) is treated as the first.
  const int level = std::clamp(s_.Level, 1, kTopLevel);
  const int poolSize = PoolSize[static_cast<std::size_t>(level)];

  // A third equal crate at the very bottom could never be matched away, so the code of
  // two equal bottom crates is refused. They compare as stored: two blinking specials in
  // different phases do not block, nor do two in the negative phase (new codes are positive).
  int blocked = 0;
  if (chute >= 0 && chute < kChutes && s_.StackHeight[chute] >= 2 &&
      s_.Stacks[chute][0] == s_.Stacks[chute][1])
    blocked = s_.Stacks[chute][0];

  for (;;) {
    const int index = std::clamp(Random(poolSize), 0, poolSize - 1);
    const int entry = CratePool[static_cast<std::size_t>(index)];
    int code = entry;
    if (isOrdinary(entry)) {
      // Before the first NewGame the map is still empty; fall back to the kind itself
      // rather than produce an empty slot.
      const int design = s_.DesignMap[static_cast<std::size_t>(entry)];
      code = design != 0 ? design : entry;
    }
    // Special crates are kept rare: one that comes up is kept one time in three.
    if (isSpecial(code) && Random(3) != 0) continue;
    if (blocked != 0 && code == blocked) continue;
    return code;
  }
}

}  // namespace quibbix::engine
