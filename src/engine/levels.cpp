#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "engine/game.h"
#include "engine/picture_masks.h"

namespace quibbix::engine {

namespace {

constexpr int kPictures = static_cast<int>(PictureMasks.size());
static_assert(sizeof(PictureMasks) == std::size_t{30} * 16,
              "two bytes per row, eight rows per picture");

// Every row must stay inside the grid, or TileOrder would receive tiles of the next row.
constexpr bool masksFitTheGrid() {
  for (const auto& mask : PictureMasks) {
    int tiles = 0;
    for (const auto& row : mask) {
      if (row.first + row.count > 8 || (row.count == 0 && row.first != 0)) return false;
      tiles += row.count;
    }
    if (tiles < 1 || tiles > kTiles) return false;
  }
  return true;
}
static_assert(masksFitTheGrid());

constexpr int kDesigns = kLastOrdinary;

}  // namespace

void Game::NewGame() {
  s_.Level = 0;
  s_.Score = 0;
  for (auto& stack : s_.Stacks) stack.fill(0);
  s_.StackHeight.fill(0);
  // A crate still in the hand (a refused drop, or a game that ended during a special
  // action) belongs to the old game: it is discarded, and the redraw below paints the
  // hand row over with the chutes' top slots, so it leaves no trace on screen either.
  s_.HeldCrate = 0;

  // Which design stands for each ordinary kind is fixed for the whole game.
  for (int k = 1; k <= kDesigns; ++k)
    s_.DesignMap[static_cast<std::size_t>(k)] = static_cast<std::int8_t>(k);
  for (int i = 0; i < 1000; ++i) {
    const int a = Random(kDesigns) + 1;
    const int b = Random(kDesigns) + 1;
    std::swap(s_.DesignMap[static_cast<std::size_t>(std::clamp(a, 1, kDesigns))],
              s_.DesignMap[static_cast<std::size_t>(std::clamp(b, 1, kDesigns))]);
  }

  NextLevel();

  for (int c = 0; c < kChutes; ++c)
    for (int s = 1; s <= kSlots; ++s) DrawSlot(c, s);
  p_.host.setTimerEnabled(true);
  s_.Paused = false;
  p_.host.setPauseTextVisible(false);
  s_.GameOver = false;
  p_.drawing.present();
}

void Game::NextLevel() {
  p_.host.setTimerEnabled(false);

  if (s_.Level > 0) {
    PlayCue(Cue::NextLevel);
    dissolveAll();
    // The label paints itself at once; the waits handle no window messages.
    p_.host.setNextLevelLabelVisible(true);
    WaitMs(1000);
    p_.host.setNextLevelLabelVisible(false);
    WaitMs(100);
  }
  ++s_.Level;

  s_.PictureTileCount = 0;
  s_.PictureIndex = std::clamp(Random(kPictures), 0, kPictures - 1);
  const auto& mask = PictureMasks[static_cast<std::size_t>(s_.PictureIndex)];
  for (int r = 0; r < 8; ++r) {
    const MaskRow row = mask[static_cast<std::size_t>(r)];
    for (int col = row.first; col < row.first + row.count; ++col)
      s_.TileOrder[static_cast<std::size_t>(s_.PictureTileCount++)] =
          static_cast<std::uint8_t>(8 * r + col);
  }
  s_.CoveredCount = s_.PictureTileCount;

  // The tiles will be uncovered from the end of the covered part, so shuffling the
  // order once here decides in which order the picture shows itself.
  const int tiles = s_.CoveredCount;
  for (int i = 0; i < 1001; ++i) {
    const int a = std::clamp(Random(tiles), 0, tiles - 1);
    const int b = std::clamp(Random(tiles), 0, tiles - 1);
    std::swap(s_.TileOrder[static_cast<std::size_t>(a)], s_.TileOrder[static_cast<std::size_t>(b)]);
  }

  DrawScoreboard();
  DrawPicture();

  // The smaller the picture, the more crates the level starts with. The first level is
  // dealt silently and at once; later ones one crate at a time with a sound.
  const int crates = (kTiles - s_.CoveredCount) / 2;
  const bool dealt = s_.Level > 1;
  for (int i = 0; i < crates; ++i) {
    const int chute = Random(kChutes);
    const int code = NextCrateCode(chute);
    if (dealt) PlayCue(Cue::NewCrate);
    PushCrate(chute, code);
    if (dealt) WaitMs(100);
  }

  s_.TickCounter = 0;
  p_.host.setTimerEnabled(true);
}

}  // namespace quibbix::engine
