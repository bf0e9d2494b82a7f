// The committed cue files: one for each cue, their format, a length that suits what
// each accompanies, headroom, and the sound switch that keeps the player from being
// called at all.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/game.h"
#include "recorder.h"

namespace {

std::uint32_t le(const QByteArray& b, qsizetype at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

using quibbix::engine::Cue;
using quibbix::engine::kCues;

QString cueFile(int n) { return QString::asprintf(":/cues/cue%02d.wav", n); }

// How long a cue may sound, by what it accompanies. The cues of the moves, of every
// animation frame and of every new crate come again and again and must stay out of the
// way; the three that close a big match, a level and the game may take their time; and
// none holds the player back for long.
struct Length {
  double atLeast, atMost;  // seconds
};
Length lengthOf(Cue cue) {
  switch (cue) {
    case Cue::PickUp:
    case Cue::HandMoves:
    case Cue::Drop:
    case Cue::Triple:
    case Cue::NewCrate: return {0.005, 0.1};
    // One tick of an animation is over before the next frame comes.
    case Cue::Step: return {0.002, 0.05};
    case Cue::Sequence:
    case Cue::NextLevel:
    case Cue::Overflow: return {1.0, 2.5};
    default: return {0.1, 1.0};
  }
}

// One file for every cue the rules count, and none beyond them.
TEST(CueFiles, OneFilePerCue) {
  for (int n = 1; n <= kCues; ++n) EXPECT_TRUE(QFile::exists(cueFile(n))) << n;
  EXPECT_FALSE(QFile::exists(cueFile(0)));
  EXPECT_FALSE(QFile::exists(cueFile(kCues + 1)));
}

TEST(CueFiles, EveryCueIsShortUnsignedMonoPcmWithHeadroom) {
  for (int n = 1; n <= kCues; ++n) {
    SCOPED_TRACE(n);
    QFile file(cueFile(n));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray w = file.readAll();
    ASSERT_GE(w.size(), 12);
    EXPECT_EQ(w.left(4), "RIFF");
    EXPECT_EQ(w.mid(8, 4), "WAVE");
    EXPECT_EQ(le(w, 4, 4), static_cast<std::uint32_t>(w.size() - 8));

    // Walk the chunks: one format chunk, then the data.
    qsizetype at = 12;
    QByteArray data;
    bool format = false;
    std::uint32_t rate = 0;
    while (at + 8 <= w.size()) {
      const QByteArray id = w.mid(at, 4);
      const auto len = static_cast<qsizetype>(le(w, at + 4, 4));
      ASSERT_LE(at + 8 + len, w.size()) << id.constData();
      if (id == "fmt ") {
        format = true;
        rate = le(w, at + 12, 4);
        EXPECT_EQ(le(w, at + 8, 2), 1u) << "PCM";
        EXPECT_EQ(le(w, at + 10, 2), 1u) << "channels";
        EXPECT_TRUE(rate == 11025 || rate == 22050) << rate;
        EXPECT_EQ(le(w, at + 16, 4), rate) << "bytes per second";
        EXPECT_EQ(le(w, at + 20, 2), 1u) << "block align";
        EXPECT_EQ(le(w, at + 22, 2), 8u) << "bits per sample";
      } else if (id == "data") {
        EXPECT_TRUE(format) << "format chunk must come first";
        data = w.mid(at + 8, len);
      }
      at += 8 + len + (len & 1);
    }
    ASSERT_FALSE(data.isEmpty());
    ASSERT_NE(rate, 0u);
    const double seconds = static_cast<double>(data.size()) / rate;
    const Length length = lengthOf(static_cast<Cue>(n));
    EXPECT_GE(seconds, length.atLeast);
    EXPECT_LE(seconds, length.atMost);

    // Starts and ends at the silence level, and never sits at the extremes:
    // that would be clipping, which an 8-bit cue makes very audible.
    EXPECT_NEAR(static_cast<std::uint8_t>(data.front()), 128, 2);
    EXPECT_NEAR(static_cast<std::uint8_t>(data.back()), 128, 2);
    int run = 0, longest = 0, loudest = 0;
    for (char ch : data) {
      const int v = static_cast<std::uint8_t>(ch);
      run = (v <= 8 || v >= 247) ? run + 1 : 0;
      longest = std::max(longest, run);
      loudest = std::max(loudest, std::abs(v - 128));
    }
    EXPECT_LE(longest, 3) << "samples stuck at full scale";
    EXPECT_GE(loudest, 40) << "too quiet to be heard next to the others";
  }
}

// The switch is read by the game, not the player: with sound off the player is
// never asked to play, and a cue that is already playing is left alone.
TEST(SoundSwitch, PlayerIsOnlyCalledWhileSoundIsOn) {
  for (bool on : {true, false}) {
    SCOPED_TRACE(on);
    quibbix::test::Fixture f;
    f.rec.sound = on;
    f.setChute(0, {3});
    f.game.PickUp(0);
    f.game.DropHeld(1);
    const auto cues = f.rec.only({quibbix::test::Ev::Cue});
    if (on) {
      EXPECT_EQ(cues, (std::vector{quibbix::test::cue(1), quibbix::test::cue(3)}));
    } else {
      EXPECT_TRUE(cues.empty());
    }
  }
}

}  // namespace
