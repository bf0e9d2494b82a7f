#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "recorder.h"

namespace quibbix::test {
namespace {

bool special(int code) { return code >= 50 && code <= 65; }

// Kind k is design 32 - k in these games, so a missing DesignMap lookup shows.
struct Generator : Fixture {
  explicit Generator(int level) {
    st.Level = level;
    for (int k = 1; k <= 31; ++k) st.DesignMap[k] = static_cast<std::int8_t>(32 - k);
  }
  std::vector<int> draw(int n, int chute = 0) {
    std::vector<int> codes;
    for (int i = 0; i < n; ++i) codes.push_back(game.NextCrateCode(chute));
    return codes;
  }
};

TEST(NextCrateCode, FirstLevelMakesFourDesignsAndFourSpecials) {
  Generator g(1);
  const auto codes = g.draw(2000);
  EXPECT_EQ(std::set<int>(codes.begin(), codes.end()),
            (std::set<int>{31, 30, 29, 28, 50, 51, 54, 55}));
}

// The level at which each kind first appears; it must never come up one level earlier.
TEST(NextCrateCode, KindsJoinAtTheirLevel) {
  struct Row {
    int code, first;
  };
  const Row rows[] = {
      {27, 2},  {56, 3},  {26, 4},  {59, 5},  {25, 6},  {52, 7},  {35, 8},
      {36, 8},  {58, 9},  {24, 10}, {53, 11}, {61, 12}, {32, 13}, {33, 13},
      {34, 13}, {23, 14}, {57, 15}, {22, 16}, {62, 17}, {60, 19}, {1, 38},
  };
  std::vector<std::set<int>> seen(39);
  Generator g(1);
  for (int level = 1; level <= 38; ++level) {
    g.st.Level = level;
    const auto codes = g.draw(4000);
    seen[level].insert(codes.begin(), codes.end());
  }
  for (const Row& r : rows) {
    EXPECT_FALSE(seen[r.first - 1].count(r.code)) << r.code << " at level " << r.first - 1;
    EXPECT_TRUE(seen[r.first].count(r.code)) << r.code << " at level " << r.first;
  }
  for (int code : {63, 64, 65}) EXPECT_FALSE(seen[38].count(code)) << code;
}

// Out-of-range levels draw exactly as the nearest level in range, for the same random stream.
TEST(NextCrateCode, LevelsOutsideTheTableUseTheNearestEntry) {
  struct Row {
    int level, like;
  };
  for (const Row r : {Row{39, 38}, Row{60, 38}, Row{0, 1}, Row{-3, 1}}) {
    Generator a(r.level), b(r.like);
    EXPECT_EQ(a.draw(500), b.draw(500)) << "level " << r.level;
    EXPECT_EQ(a.rec.randomCalls, b.rec.randomCalls) << "level " << r.level;
  }
}

// Scripted pool draws at level 1 (pool of 8: kinds 1..4 = designs 31..28, then 50, 51, 54, 55).
TEST(NextCrateCode, RefusalsAndDrawOrder) {
  struct Row {
    std::string name;
    int chute;
    std::vector<int> contents;  // chute 1, bottom first
    std::vector<int> script;
    int expected;
    std::vector<int> calls;
  };
  const std::vector<Row> rows = {
      {"ordinary entry draws once", 1, {}, {3}, 28, {8}},
      {"special kept on 0", 1, {}, {4, 0}, 50, {8, 3}},
      {"special dropped on 1 and 2", 1, {}, {4, 1, 7, 2, 6, 0}, 54, {8, 3, 8, 3, 8, 3}},
      {"equal bottom pair blocks", 1, {31, 31}, {0, 1}, 30, {8, 8}},
      {"only the bottom pair counts", 1, {31, 31, 30, 30}, {0, 1}, 30, {8, 8}},
      {"equal pair on top does not block", 1, {30, 31, 31}, {0}, 31, {8}},
      {"one crate does not block", 1, {31}, {0}, 31, {8}},
      {"other chute does not block", 2, {31, 31}, {0}, 31, {8}},
      {"chute out of range does not block", 7, {31, 31}, {0}, 31, {8}},
      {"positive special pair blocks", 1, {50, 50}, {4, 0, 5, 0}, 51, {8, 3, 8, 3}},
      {"blocked special still draws 3", 1, {50, 50}, {4, 0, 2}, 29, {8, 3, 8}},
      {"specials in different phases", 1, {-50, 50}, {4, 0}, 50, {8, 3}},
      {"specials in different phases, negative on top", 1, {50, -50}, {4, 0}, 50, {8, 3}},
      {"negative special pair", 1, {-50, -50}, {4, 0}, 50, {8, 3}},
  };
  for (const Row& r : rows) {
    Generator g(1);
    g.setChute(1, {});
    for (int code : r.contents) g.st.Stacks[1][g.st.StackHeight[1]++] = code;
    for (int v : r.script) g.rec.scripted.push_back(v);
    EXPECT_EQ(g.game.NextCrateCode(r.chute), r.expected) << r.name;
    EXPECT_EQ(g.rec.randomCalls, r.calls) << r.name;
    EXPECT_TRUE(g.rec.scripted.empty()) << r.name;
    EXPECT_TRUE(g.rec.log.empty()) << r.name << ": generation draws nothing";
  }
}

// Specials have weight 1 against 3 for the others: 4 of 16 at the first level.
TEST(NextCrateCode, SpecialsAreRarer) {
  Generator g(1);
  int specials = 0;
  for (int code : g.draw(16000)) specials += special(code);
  EXPECT_GT(specials, 3600);
  EXPECT_LT(specials, 4400);
}

}  // namespace
}  // namespace quibbix::test
