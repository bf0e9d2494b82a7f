// The committed cue files: format, length and headroom of every cue, and the
// sound switch that keeps the player from being called at all.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <cstdint>

#include "engine/game.h"
#include "recorder.h"

namespace {

std::uint32_t le(const QByteArray& b, qsizetype at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

struct CueSpec {
  int cue;
  int rate;
  int bytes;
};

// The sample rate and the length each cue was designed for.
constexpr CueSpec kCues[] = {
    {1, 22050, 949},   {2, 22050, 1341},   {3, 22050, 409},    {4, 22050, 160},   {5, 22050, 10181},
    {6, 22050, 10241}, {7, 11025, 4313},   {8, 11025, 951},    {9, 11025, 12964}, {10, 22050, 4590},
    {11, 22050, 753},  {12, 22050, 38926}, {13, 22050, 10090}, {14, 11025, 6648}, {15, 11025, 5379},
    {16, 11025, 5234}, {17, 11025, 6514},  {18, 11025, 20645},
};

TEST(CueFiles, EveryCueIsShortUnsignedMonoPcmWithHeadroom) {
  for (const CueSpec& c : kCues) {
    SCOPED_TRACE(c.cue);
    QFile file(QString::asprintf(":/cues/cue%02d.wav", c.cue));
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
    while (at + 8 <= w.size()) {
      const QByteArray id = w.mid(at, 4);
      const auto len = static_cast<qsizetype>(le(w, at + 4, 4));
      ASSERT_LE(at + 8 + len, w.size()) << id.constData();
      if (id == "fmt ") {
        format = true;
        EXPECT_EQ(le(w, at + 8, 2), 1u) << "PCM";
        EXPECT_EQ(le(w, at + 10, 2), 1u) << "channels";
        EXPECT_EQ(le(w, at + 12, 4), static_cast<std::uint32_t>(c.rate));
        EXPECT_EQ(le(w, at + 20, 2), 1u) << "block align";
        EXPECT_EQ(le(w, at + 22, 2), 8u) << "bits per sample";
      } else if (id == "data") {
        EXPECT_TRUE(format) << "format chunk must come first";
        data = w.mid(at + 8, len);
      }
      at += 8 + len + (len & 1);
    }
    ASSERT_FALSE(data.isEmpty());
    EXPECT_NEAR(static_cast<double>(data.size()), c.bytes, c.bytes * 0.15);

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
