#include <gtest/gtest.h>

#include "dialogs/scrambler.h"
#include "printers.h"

namespace quibbix::dialogs {
namespace {

const QString kAlphabet =
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");

QString longText() {
  QString text;
  for (int i = 0; i < 1000; ++i) {
    text += i % 7 == 0 ? QChar(u"ä ,.ß€"[i % 6]) : kAlphabet[(i * 13) % 62];
  }
  return text;
}

TEST(Scrambler, UnscrambleUndoesScramble) {
  const QString texts[] = {
      QString(),
      QStringLiteral(","),
      QStringLiteral(",,,"),
      QStringLiteral("150,Vormlab"),
      QStringLiteral("   "),
      QStringLiteral("  Mr. Quaddel  "),
      QStringLiteral(u"-12,Jörg Müller, Straße"),
      QStringLiteral(u"\U0001F600x"),  // a surrogate pair
      kAlphabet,
      longText(),
  };
  for (const QString& text : texts) {
    SCOPED_TRACE(text.left(40).toStdString());
    const QString scrambled = Scramble(text);
    EXPECT_EQ(scrambled.size(), text.size());
    EXPECT_EQ(Unscramble(scrambled), text);
    EXPECT_EQ(Scramble(Unscramble(text)), text);
  }
  EXPECT_NE(Scramble(kAlphabet), kAlphabet);
}

TEST(Scrambler, ShiftsDependOnlyOnThePosition) {
  // Scrambling a row of A's exposes each position's shift.
  const QString probe = Scramble(QString(1000, u'A'));
  const QString text = longText();
  const QString scrambled = Scramble(text);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype j = kAlphabet.indexOf(text[i]);
    if (j < 0) {
      EXPECT_EQ(scrambled[i], text[i]) << "position " << i;
    } else {
      EXPECT_EQ(scrambled[i], kAlphabet[(j + kAlphabet.indexOf(probe[i])) % 62])
          << "position " << i;
    }
  }
}

TEST(Scrambler, KnownRow) {
  // v starts at 58213 / pi = 18529.773404417007 (doubles throughout); per
  // position f = frac(v), d = trunc(62 f), then v = 997 f + pi:
  //  1 '1' (52+1=53)  f = 0.7734044170065317  62f = 47.951  d = 47  (53+47)%62 = 38 'm'
  //  2 '5' (57)  v = 774.2257964091019   f = 0.22579640910191756  62f = 13.999  d = 13  70%62 = 8
  //  'I' 3 '0' (52)  v = 228.2606125282016   f = 0.260612528201591    62f = 16.158  d = 16  68%62 =
  //  6 'G' 4 ','       v = 262.972283270576    f = 0.9722832705759856   d = 60, kept 5 'V' (21)  v
  //  = 972.5080134178475   f = 0.5080134178474509   62f = 31.497  d = 31  52 '0' 6 'o' (40)  v =
  //  509.63097024749834  f = 0.6309702474983396   62f = 39.120  d = 39  79%62 = 17 'R' 7 'r' (43)
  //  v = 632.2189294094344   f = 0.21892940943439498  62f = 13.574  d = 13  56 '4' 8 'm' (38)  v =
  //  221.41421385968158  f = 0.4142138596815812   62f = 25.681  d = 25  63%62 = 1 'B' 9 'l' (37)  v
  //  = 416.11281075612624  f = 0.11281075612623681  62f = 6.994   d = 6   43 'r'
  // 10 'a' (26)  v = 115.6139165114479   f = 0.613916511447897    62f = 38.063  d = 38  64%62 = 2
  // 'C' 11 'b' (27)  v = 615.2163545671432   f = 0.2163545671431848   62f = 13.414  d = 13  40 'o'
  EXPECT_EQ(Scramble(QStringLiteral("150,Vormlab")), QStringLiteral("mIG,0R4BrCo"));
  EXPECT_EQ(Unscramble(QStringLiteral("mIG,0R4BrCo")), QStringLiteral("150,Vormlab"));
}

}  // namespace
}  // namespace quibbix::dialogs
