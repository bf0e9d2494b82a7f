#include <gtest/gtest.h>

#include <QSet>
#include <vector>

#include "dialogs/language.h"
#include "dialogs/translations.h"
#include "view/crate_kinds.h"
#include "view/sheets.h"

namespace quibbix::view {
namespace {

// The game's texts as they read while the stored language is `stored`: German
// (its translation installed) for 1, English for anything else.
class InLanguage {
 public:
  explicit InLanguage(int stored) { translations_.use(languageFromStored(stored)); }

 private:
  dialogs::Translations translations_;
};

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
    const InLanguage in(language);
    QSet<QString> names;
    for (const int code : codesInPlay()) {
      const QString name = crateName(code);
      EXPECT_FALSE(name.trimmed().isEmpty()) << "code " << code << ", language " << language;
      if (code >= 50) {
        EXPECT_EQ(name, crateName(-code)) << "both phases of " << code << " are one kind";
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
    for (const int language : {0, 1}) {
      const InLanguage in(language);
      EXPECT_FALSE(crateName(code).isEmpty()) << code << ", language " << language;
    }
  }
  EXPECT_TRUE(crateName(0).isEmpty());
}

TEST(CrateKinds, GermanReadsGermanAndEnglishForAnyOtherLanguage) {
  struct Case {
    int language;
    int code;
    const char* name;
  };
  for (const Case& c : {Case{1, 56, "Bombe"}, Case{0, -56, "Bomb"}, Case{-1, 56, "Bomb"},
                        Case{2, 56, "Bomb"}, Case{1, 35, "Zorvys Kopf, oben"},
                        Case{1, -60, "Stachelwesen"}, Case{1, 8, "Karo weiß und grau"}}) {
    const InLanguage in(c.language);
    EXPECT_EQ(crateName(c.code), QString::fromUtf8(c.name))
        << "code " << c.code << ", language " << c.language;
  }
}

}  // namespace
}  // namespace quibbix::view
