#include <gtest/gtest.h>

#include <QSet>
#include <vector>

#include "view/crate_kinds.h"
#include "view/sheets.h"

namespace quibbix::view {
namespace {

// Every code a chute or the hand can hold: the 31 designs, the sequence and pair
// crates, and the special crates that occur in play, in both blink phases.
std::vector<int> codesInPlay() {
  std::vector<int> codes;
  for (int c = 1; c <= 36; ++c) codes.push_back(c);
  for (int c = 50; c <= 62; ++c) {
    codes.push_back(c);
    codes.push_back(-c);
  }
  return codes;
}

TEST(CrateKinds, EveryKindInPlayHasANameInBothLanguagesAndNoTwoShareOne) {
  for (const int language : {0, 1}) {
    QSet<QString> names;
    for (const int code : codesInPlay()) {
      const QString name = crateName(code, language);
      EXPECT_FALSE(name.trimmed().isEmpty()) << "code " << code << ", language " << language;
      if (code >= 50) {
        EXPECT_EQ(name, crateName(-code, language)) << "both phases of " << code << " are one kind";
      }
      if (code > 0) names.insert(name);
    }
    // A player hearing two kinds alike could not tell a triple from a mix.
    EXPECT_EQ(names.size(), 36 + 13) << "language " << language;
  }
}

TEST(CrateKinds, WhateverTheSheetDrawsCanBeNamed) {
  // The empty-slot cell is what an unknown code draws; everything else comes from a kind.
  for (int code = -100; code <= 100; ++code) {
    if (crateCell(code) == Cell{0, 0}) {
      EXPECT_EQ(crateKind(code), nullptr) << code;
      continue;
    }
    ASSERT_NE(crateKind(code), nullptr) << code;
    EXPECT_FALSE(crateName(code, 0).isEmpty()) << code;
    EXPECT_FALSE(crateName(code, 1).isEmpty()) << code;
  }
  EXPECT_TRUE(crateName(0, 0).isEmpty());
}

TEST(CrateKinds, GermanReadsGermanAndEnglishForAnyOtherLanguage) {
  EXPECT_EQ(crateName(56, 1), QString::fromUtf8("Bombe"));
  EXPECT_EQ(crateName(-56, 0), "Bomb");
  EXPECT_EQ(crateName(56, -1), "Bomb");
  EXPECT_EQ(crateName(35, 1), QString::fromUtf8("Zorvys Kopf, oben"));
}

}  // namespace
}  // namespace quibbix::view
