// How the committed cues sound next to each other: loudness as the ear weighs
// it, energy where small speakers can play it, and the two cues that come
// most often in one move told apart.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include "engine/rules.h"

namespace {

struct Cue {
  int rate = 0;
  std::vector<double> samples;  // -1 .. 1
};

std::uint32_t le(const QByteArray& b, qsizetype at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return v;
}

Cue load(int n) {
  QFile file(QString::asprintf(":/cues/cue%02d.wav", n));
  Cue c;
  if (!file.open(QIODevice::ReadOnly)) return c;
  const QByteArray w = file.readAll();
  for (qsizetype at = 12; at + 8 <= w.size();) {
    const QByteArray id = w.mid(at, 4);
    const auto len = static_cast<qsizetype>(le(w, at + 4, 4));
    if (id == "fmt ") c.rate = static_cast<int>(le(w, at + 12, 4));
    if (id == "data")
      for (qsizetype i = 0; i < len && at + 8 + i < w.size(); ++i)
        c.samples.push_back((static_cast<std::uint8_t>(w[at + 8 + i]) - 128) / 128.0);
    at += 8 + len + (len & 1);
  }
  return c;
}

using Spectrum = std::vector<std::complex<double>>;

// Radix-2 transform in place; inverse without the 1/n scale.
void fft(Spectrum& a, bool inverse) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const double turn = 2 * std::numbers::pi / static_cast<double>(len) * (inverse ? 1 : -1);
    const std::complex<double> step(std::cos(turn), std::sin(turn));
    for (std::size_t i = 0; i < n; i += len) {
      std::complex<double> w(1);
      for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
        const auto u = a[i + k], v = a[i + k + len / 2] * w;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
}

Spectrum spectrumOf(const std::vector<double>& x) {
  std::size_t n = 1;
  while (n < 2 * x.size()) n <<= 1;  // zero padding keeps the ends from wrapping round
  Spectrum s(n);
  std::copy(x.begin(), x.end(), s.begin());
  fft(s, false);
  return s;
}

double binHz(const Spectrum& s, std::size_t k, int rate) {
  const std::size_t n = s.size();
  return static_cast<double>(std::min(k, n - k)) * rate / static_cast<double>(n);
}

// The A-weighting curve of IEC 61672 as an amplitude factor (1 at 1 kHz).
double aWeight(double f) {
  const double f2 = f * f;
  const double ra = 12194.0 * 12194.0 * f2 * f2 /
                    ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) *
                     (f2 + 12194.0 * 12194.0));
  return ra * std::pow(10.0, 2.0 / 20.0);
}

// A-weighted level in dB against a full-scale sine's mean square, taken over
// the audible part: from the first to the last 5 ms stretch that comes within
// 20 dB of the loudest one.
double loudness(const Cue& c) {
  Spectrum s = spectrumOf(c.samples);
  for (std::size_t k = 0; k < s.size(); ++k) s[k] *= aWeight(binHz(s, k, c.rate));
  fft(s, true);
  std::vector<double> a(c.samples.size());
  for (std::size_t i = 0; i < a.size(); ++i) a[i] = s[i].real() / static_cast<double>(s.size());
  const std::size_t frame = std::max<std::size_t>(1, static_cast<std::size_t>(c.rate / 200));
  std::vector<double> power;
  for (std::size_t i = 0; i < a.size(); i += frame) {
    double sum = 0;
    const std::size_t end = std::min(a.size(), i + frame);
    for (std::size_t j = i; j < end; ++j) sum += a[j] * a[j];
    power.push_back(sum / static_cast<double>(end - i));
  }
  const double loudest = *std::max_element(power.begin(), power.end());
  std::size_t first = 0, last = power.size() - 1;
  while (power[first] < loudest / 100) ++first;
  while (power[last] < loudest / 100) --last;
  double sum = 0;
  for (std::size_t k = first; k <= last; ++k) sum += power[k];
  return 10 * std::log10(sum / static_cast<double>(last - first + 1) / 0.5);
}

// Share of the cue's energy between lo and hi Hz.
double bandShare(const Cue& c, double lo, double hi) {
  const Spectrum s = spectrumOf(c.samples);
  double in = 0, all = 0;
  for (std::size_t k = 1; k < s.size() / 2; ++k) {
    const double e = std::norm(s[k]), f = binHz(s, k, c.rate);
    all += e;
    if (f >= lo && f <= hi) in += e;
  }
  return in / all;
}

double centroidHz(const Cue& c) {
  const Spectrum s = spectrumOf(c.samples);
  double weighted = 0, all = 0;
  for (std::size_t k = 1; k < s.size() / 2; ++k) {
    weighted += std::norm(s[k]) * binHz(s, k, c.rate);
    all += std::norm(s[k]);
  }
  return weighted / all;
}

std::vector<double> allLevels() {
  std::vector<double> levels;
  for (int n = 1; n <= quibbix::engine::kCues; ++n) {
    const Cue c = load(n);
    levels.push_back(c.samples.empty() ? -200.0 : loudness(c));
  }
  return levels;
}

// No cue drowns another: the whole set within 8 dB, and the short cues that
// come with every move, every frame and every new crate within 5 dB.
TEST(CueBalance, CuesStayWithinTheirLoudnessRange) {
  const std::vector<double> level = allLevels();
  struct Group {
    const char* name;
    std::vector<int> cues;
    double span;
  };
  std::vector<int> every(static_cast<std::size_t>(quibbix::engine::kCues));
  std::iota(every.begin(), every.end(), 1);
  for (const Group& g : {Group{"all", every, 8.0}, Group{"short", {1, 2, 3, 4, 8, 11}, 5.0}}) {
    SCOPED_TRACE(g.name);
    double lo = 1e9, hi = -1e9;
    std::string table;
    for (const int n : g.cues) {
      const double l = level[static_cast<std::size_t>(n - 1)];
      lo = std::min(lo, l);
      hi = std::max(hi, l);
      char entry[32];
      std::snprintf(entry, sizeof entry, " %d:%.1f", n, l);
      table += entry;
    }
    EXPECT_LE(hi - lo, g.span) << "A-weighted levels (dBFS):" << table;
  }
}

// Laptop and phone speakers give little below 400 Hz: the drop and the
// magnet must carry at least half their energy in the middle range.
TEST(CueBalance, DropAndMagnetCarryTheirEnergyInTheMiddleRange) {
  for (const int n : {3, 14}) {
    SCOPED_TRACE(n);
    const Cue c = load(n);
    ASSERT_FALSE(c.samples.empty());
    EXPECT_GE(bandShare(c, 500, 2000), 0.5);  // before: 0.03 and 0.10
  }
}

// The new-crate cue warns the player; the hand's move comes with every mouse
// sweep. Their brightness (spectral centroid) lies an octave or more apart.
TEST(CueBalance, NewCrateCueIsUnlikeTheMoveCue) {
  const double arrival = centroidHz(load(11)), move = centroidHz(load(2));
  EXPECT_GE(std::abs(std::log2(arrival / move)), 1.0) << arrival << " Hz against " << move << " Hz";
}

}  // namespace
