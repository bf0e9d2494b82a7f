#pragma once
// The real clock and random generator, built on the standard library alone.

#include <chrono>
#include <cstdint>
#include <random>

#include "engine/ports.h"

namespace quibbix::engine {

class SystemClock : public Clock {
 public:
  std::uint32_t tickMs() override {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
  }
};

// One generator for the whole program. Draws are made by rejection so they are
// uniform and the same seed gives the same game with any standard library.
class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(std::uint32_t seed) : gen_(seed) {}
  int below(int n) override {
    const auto range = static_cast<std::uint32_t>(n);
    constexpr std::uint32_t kMax = 0xFFFFFFFFu;
    const std::uint32_t limit = kMax - kMax % range;
    std::uint32_t v;
    do v = static_cast<std::uint32_t>(gen_());
    while (v >= limit);
    return static_cast<int>(v % range);
  }

 private:
  std::mt19937 gen_;
};

// A seed from the clock, as the game takes at start-up.
inline std::uint32_t clockSeed() {
  return static_cast<std::uint32_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

}  // namespace quibbix::engine
