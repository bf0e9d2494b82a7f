// cuegen: synthesises the game's sound cues and writes them as 8-bit unsigned mono
// PCM wave files cue01.wav, cue02.wav ... into the given folder, one per cue the
// rules count (engine::kCues).
//
// Every sound is built from a few sine partials, filtered noise and envelopes.
// The noise comes from a fixed-seed xorshift generator, so a rerun writes
// byte-identical files.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "engine/rules.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Note frequency from a MIDI note number (69 = A4 = 440 Hz).
double note(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

enum Note : int {
  C4 = 60,
  E4 = 64,
  F4 = 65,
  Fs4 = 66,
  G4 = 67,
  C5 = 72,
  E5 = 76,
  G5 = 79,
  B5 = 83,
  C6 = 84,
  E6 = 88,
  G6 = 91,
  B6 = 95,
  C7 = 96,
  E7 = 100,
  G7 = 103,
};

class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed) {}
  // Uniform in -1..1.
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state_;
};

struct Cue {
  int rate;
  int bytes;
  // Loudest sample after normalisation, as a fraction of full scale. Chosen so
  // that the cues sound equally loud (A-weighted, over their audible part):
  // the short ones within a few tenths of a decibel, the rest within a few.
  double peak;
  std::function<void(std::vector<double>&, double)> make;
  // Soft saturation before normalisation, for the bangs: it trims their first
  // spike so the body of the sound can be as loud as the other cues.
  double drive = 0;
};

// Attack-decay envelope: raised-cosine attack, exponential decay with time constant tau.
double hit(double t, double attack, double tau) {
  if (t < 0) return 0;
  if (t < attack) return 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
  return std::exp(-(t - attack) / tau);
}

// Attack-sustain-release envelope for a note lasting `len` seconds.
double held(double t, double len, double attack, double release) {
  if (t < 0 || t > len) return 0;
  double a = t < attack ? 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack) : 1.0;
  if (t > len - release) a *= 0.5 - 0.5 * std::cos(std::numbers::pi * (len - t) / release);
  return a;
}

// One voice: harmonic partials k * f(t) with amplitudes harm[k-1], shaped by env(t).
// Partials at or above 45% of the sample rate are left out so nothing folds back.
// `shape(k, t)` may scale each partial over time (brightness changes).
void voice(std::vector<double>& out, double rate, double start, double len,
           const std::function<double(double)>& freq, const std::vector<double>& harm,
           const std::function<double(double)>& env, double gain,
           const std::function<double(int, double)>& shape = nullptr) {
  const int first = std::max(0, static_cast<int>(start * rate));
  const int last = std::min(static_cast<int>(out.size()), static_cast<int>((start + len) * rate));
  double phase = 0;
  for (int i = first; i < last; ++i) {
    const double t = i / rate - start;
    const double f = freq(t);
    double s = 0;
    for (int k = 1; k <= static_cast<int>(harm.size()); ++k) {
      if (k * f >= 0.45 * rate) break;
      double a = harm[k - 1];
      if (shape) a *= shape(k, t);
      s += a * std::sin(phase * k);
    }
    out[i] += gain * env(t) * s;
    phase = std::fmod(phase + kTwoPi * f / rate, kTwoPi * 64.0);
  }
}

// A struck partial at a fixed frequency (bells, wood), added from `start` on.
void partial(std::vector<double>& out, double rate, double start, double f, double amp,
             double attack, double tau) {
  const int first = std::max(0, static_cast<int>(start * rate));
  for (int i = first; i < static_cast<int>(out.size()); ++i) {
    const double t = i / rate - start;
    out[i] += amp * hit(t, attack, tau) * std::sin(kTwoPi * f * t);
  }
}

// A small bell: fundamental plus a few partials that die away faster.
void bell(std::vector<double>& out, double rate, double start, double f, double amp, double tau) {
  partial(out, rate, start, f, amp, 0.002, tau);
  if (2 * f < 0.45 * rate) partial(out, rate, start, 2 * f, 0.35 * amp, 0.001, tau * 0.5);
  if (3 * f < 0.45 * rate) partial(out, rate, start, 3 * f, 0.12 * amp, 0.001, tau * 0.3);
}

// Two-pole state-variable filter; returns the band-pass or low-pass output.
class Svf {
 public:
  double band(double x, double fc, double q, double rate) {
    step(x, fc, q, rate);
    return bp_;
  }
  double low(double x, double fc, double q, double rate) {
    step(x, fc, q, rate);
    return lp_;
  }

 private:
  void step(double x, double fc, double q, double rate) {
    const double f = 2.0 * std::sin(std::numbers::pi * std::min(fc, rate / 6.0) / rate);
    lp_ += f * bp_;
    const double hp = x - lp_ - bp_ / q;
    bp_ += f * hp;
  }
  double lp_ = 0, bp_ = 0;
};

int count(const std::vector<double>& v) { return static_cast<int>(v.size()); }

double expSweep(double from, double to, double x) { return from * std::pow(to / from, x); }

// --- the cues -------------------------------------------------------------------

// 1: a crate is lifted into the hand: a short rising tick.
void pickUp(std::vector<double>& o, double r) {
  voice(
      o, r, 0, 1, [](double t) { return expSweep(1100, 1900, std::min(t / 0.035, 1.0)); },
      {1.0, 0.3}, [](double t) { return hit(t, 0.0015, 0.012); }, 1.0);
  Noise n(101);
  for (int i = 0; i < static_cast<int>(0.002 * r); ++i)
    o[i] += 0.4 * n.next() * hit(i / r, 0.0003, 0.0008);
}

// 2: the hand moves to another chute: a soft wood-block tock.
void move(std::vector<double>& o, double r) {
  partial(o, r, 0, 620, 1.0, 0.001, 0.018);
  partial(o, r, 0, 1710, 0.5, 0.0008, 0.008);
  partial(o, r, 0, 2650, 0.3, 0.0006, 0.005);
}

// 3: the crate is set down: a short dull knock, lower and noisier than the
// hand's tock. The body rings in the middle range, where small speakers still
// play it; a low thump under it gives the weight.
void drop(std::vector<double>& o, double r) {
  partial(o, r, 0, 560, 1.0, 0.0008, 0.006);
  partial(o, r, 0, 910, 0.75, 0.0006, 0.0045);
  partial(o, r, 0, 1460, 0.35, 0.0005, 0.003);
  voice(
      o, r, 0, 1, [](double t) { return expSweep(200, 120, std::min(t / 0.015, 1.0)); }, {1.0},
      [](double t) { return hit(t, 0.001, 0.006); }, 0.45);
  Noise n(303);
  Svf bp;
  for (int i = 0; i < count(o); ++i)
    o[i] += 0.7 * bp.band(n.next(), 900, 1.0, r) * hit(i / r, 0.0004, 0.003);
}

// 4: one animation frame: the tiniest high tick.
void frame(std::vector<double>& o, double r) {
  partial(o, r, 0, 2900, 1.0, 0.0004, 0.0018);
  partial(o, r, 0, 4350, 0.4, 0.0003, 0.0012);
}

// 5: picture tiles covered again: a falling "uh-oh", minor third down.
void uhOh(std::vector<double>& o, double r) {
  const std::vector<double> h{1.0, 0.45, 0.25, 0.1};
  voice(
      o, r, 0.0, 0.19, [](double t) { return note(G4) * (1 + 0.006 * std::sin(kTwoPi * 6 * t)); },
      h, [](double t) { return held(t, 0.19, 0.015, 0.04); }, 1.0);
  voice(
      o, r, 0.21, 0.25,
      [](double t) {
        const double droop = t > 0.12 ? expSweep(1.0, 0.94, (t - 0.12) / 0.13) : 1.0;
        return note(E4) * droop * (1 + 0.008 * std::sin(kTwoPi * 6 * t));
      },
      h, [](double t) { return held(t, 0.25, 0.02, 0.09); }, 1.0);
}

// 6: picture tiles uncovered: a quick rising sparkle of bells.
void sparkle(std::vector<double>& o, double r) {
  const int notes[] = {C6, E6, G6, C7, E7, G7};
  for (int i = 0; i < 6; ++i) bell(o, r, 0.05 * i, note(notes[i]), 1.0 - 0.08 * i, 0.09);
}

// 7: a number crate cashed in: the till's clack, then its bell.
void cashIn(std::vector<double>& o, double r) {
  Noise n(707);
  Svf bp;
  for (int i = 0; i < count(o); ++i) {
    const double t = i / r;
    o[i] += 0.8 * bp.band(n.next(), 1800, 2.0, r) *
            (hit(t, 0.001, 0.006) + 0.7 * hit(t - 0.035, 0.001, 0.008));
  }
  // Slightly detuned pairs beat against each other like a struck metal bell.
  const double at = 0.07;
  partial(o, r, at, note(B6), 0.7, 0.002, 0.15);
  partial(o, r, at, note(B6) + 9, 0.4, 0.002, 0.15);
  partial(o, r, at, note(E7), 0.6, 0.002, 0.12);
  partial(o, r, at, note(E7) - 7, 0.3, 0.002, 0.12);
  partial(o, r, at, 2.4 * note(B6), 0.15, 0.001, 0.05);  // the clang of the bell's rim
}

// 8: an ordinary triple: one short bright chime.
void chime(std::vector<double>& o, double r) {
  partial(o, r, 0, note(E6), 1.0, 0.001, 0.035);
  partial(o, r, 0, note(B6), 0.55, 0.001, 0.03);
  partial(o, r, 0, 2 * note(E6), 0.25, 0.0008, 0.018);
}

// 9: a number triple or the name sequence: a bell arpeggio up into a ringing chord.
void arpeggio(std::vector<double>& o, double r) {
  const int notes[] = {C5, E5, G5, C6, E6, G6};
  for (int i = 0; i < 6; ++i) bell(o, r, 0.075 * i, note(notes[i]), 0.7, 0.22);
  for (int n : {C6, E6, G6}) bell(o, r, 0.5, note(n), 0.55, 0.3);
  bell(o, r, 0.5, note(C5), 0.4, 0.35);
}

// 10: one shuffle round: band-passed noise sweeping up and back.
void whoosh(std::vector<double>& o, double r) {
  Noise n(1010);
  Svf bp;
  const double len = static_cast<double>(o.size()) / r;
  for (int i = 0; i < count(o); ++i) {
    const double x = (i / r) / len;
    const double fc = expSweep(400, 4500, std::sin(std::numbers::pi * std::pow(x, 0.8)));
    const double env = std::pow(std::sin(std::numbers::pi * x), 1.5);
    o[i] += env * bp.band(n.next(), fc, 1.6, r);
  }
}

// 11: a new crate arrives: two bright reedy pips, rising, so the warning
// stands out from the soft wooden tock of the hand's move (cue 2).
void arrival(std::vector<double>& o, double r) {
  const std::vector<double> reed{1.0, 0.1, 0.5, 0.08, 0.3, 0.05, 0.18};
  voice(
      o, r, 0.0, 0.015, [](double) { return 1760.0; }, reed,
      [](double t) { return held(t, 0.015, 0.001, 0.004); }, 1.0);
  voice(
      o, r, 0.017, 0.017, [](double) { return 2350.0; }, reed,
      [](double t) { return held(t, 0.017, 0.001, 0.006); }, 1.0);
}

// 12: a won level: a brass fanfare ending on a major chord.
void fanfare(std::vector<double>& o, double r) {
  const std::vector<double> brass{1.0, 0.7, 0.5, 0.38, 0.28, 0.2, 0.14, 0.1, 0.07, 0.05};
  auto play = [&](double at, double len, int n, double gain) {
    const double f0 = note(n);
    voice(
        o, r, at, len,
        [=](double t) {
          const double scoop = t < 0.025 ? expSweep(0.97, 1.0, t / 0.025) : 1.0;
          const double vib = t > 0.15 ? 0.005 * std::sin(kTwoPi * 5.5 * t) : 0.0;
          return f0 * scoop * (1 + vib);
        },
        brass, [=](double t) { return held(t, len, 0.02, std::min(0.06, len / 3)); }, gain,
        // Brass brightens as it speaks: upper partials swell in over the attack.
        [](int k, double t) { return std::min(1.0, t / (0.01 * k)); });
  };
  play(0.00, 0.12, C5, 1.0);
  play(0.13, 0.12, C5, 1.0);
  play(0.26, 0.12, C5, 1.0);
  play(0.39, 0.40, G5, 1.0);
  play(0.81, 0.14, E5, 1.0);
  play(0.97, 0.79, C6, 0.8);
  play(0.97, 0.79, G5, 0.6);
  play(0.97, 0.79, E5, 0.6);
  play(0.97, 0.79, C5, 0.5);
}

// 13: bomb or dynamite: a noise burst whose brightness and loudness die away, with a low thump.
void explosion(std::vector<double>& o, double r) {
  Noise n(1313);
  Svf a, b;
  for (int i = 0; i < count(o); ++i) {
    const double t = i / r;
    const double fc = expSweep(4000, 150, std::min(t / 0.4, 1.0));
    // Darker noise carries less energy; make up most of it so the rumble lasts.
    const double x = b.low(a.low(n.next(), fc, 0.8, r), fc, 0.8, r) * std::pow(4000 / fc, 0.5);
    o[i] += 1.4 * x * (0.5 * hit(t, 0.003, 0.08) + 0.5 * hit(t, 0.003, 0.3));
  }
  voice(
      o, r, 0, 1, [](double t) { return expSweep(75, 35, std::min(t / 0.3, 1.0)); }, {1.0},
      [](double t) { return hit(t, 0.004, 0.18); }, 0.5);
  Noise c(1314);
  for (int k = 0; k < 14; ++k) {  // crackle of debris in the first 0.2 s
    const double at = 0.01 + 0.2 * (0.5 + 0.5 * c.next());
    const double f = 900 + 700 * c.next();
    partial(o, r, at, f, 0.1 * (0.6 + 0.4 * c.next()), 0.0005, 0.004);
  }
}

// 14: the magnet switches on: an electric buzz that wobbles and rises a
// little. Its low hum is felt more than heard; the buzz's overtones around
// 1 kHz carry it on small speakers.
void magnet(std::vector<double>& o, double r) {
  std::vector<double> buzz;
  for (int k = 1; k <= 24; ++k) {
    const double f = 115.0 * k;
    const double formant = 0.25 + 3.0 * std::exp(-std::pow((f - 950.0) / 420.0, 2));
    buzz.push_back((k % 2 ? 1.0 : 0.6) / std::sqrt(k) * formant);
  }
  const double len = static_cast<double>(o.size()) / r;
  for (double detune : {0.0, 1.4}) {
    voice(
        o, r, 0, len,
        [=](double t) {
          return (expSweep(110, 124, t / len) + detune) * (1 + 0.01 * std::sin(kTwoPi * 6 * t));
        },
        buzz,
        [=](double t) { return held(t, len, 0.04, 0.08) * (1 + 0.35 * std::sin(kTwoPi * 7 * t)); },
        0.5);
  }
}

// 15: the pistol: a sharp crack with a short echo.
void shot(std::vector<double>& o, double r) {
  Noise n(1515);
  std::vector<double> dry(o.size());
  double prev = 0;
  for (int i = 0; i < count(o); ++i) {
    const double t = i / r;
    const double w = n.next();
    const double crack = (w - 0.5 * prev) * hit(t, 0.0005, 0.012);  // tilted towards the highs
    prev = w;
    dry[i] = 1.2 * crack + 0.5 * w * hit(t - 0.004, 0.002, 0.07) +
             0.7 * std::sin(kTwoPi * 140 * t) * hit(t, 0.001, 0.025);
  }
  Svf lp1, lp2;
  for (int i = 0; i < count(o); ++i) {
    const double t = i / r;
    double echo = 0;
    for (auto [delay, gain] :
         {std::pair{0.085, 0.6}, std::pair{0.19, 0.35}, std::pair{0.31, 0.18}}) {
      const int j = static_cast<int>(i) - static_cast<int>(delay * r);
      if (j >= 0) echo += gain * dry[j];
    }
    o[i] += dry[i] + lp2.low(lp1.low(echo, 1500, 0.7, r), 1500, 0.7, r) * (t < 0.45 ? 1.0 : 0.5);
  }
}

// 16: the spiky creature: two gurgling squeaks.
void creature(std::vector<double>& o, double r) {
  auto squeak = [&](double at, double len, double base) {
    voice(
        o, r, at, len,
        [=](double t) {
          const double contour = std::sin(std::numbers::pi * t / len);
          return base * (1 + 0.35 * contour) * (1 + 0.12 * std::sin(kTwoPi * 27 * t));
        },
        {1.0, 0.35, 0.12},
        [=](double t) {
          return held(t, len, 0.02, 0.05) * (0.6 + 0.4 * std::sin(kTwoPi * 27 * t));
        },
        1.0);
  };
  squeak(0.0, 0.2, 850);
  squeak(0.24, 0.23, 1000);
}

// 17: the rat: three quick high squeaks.
void rat(std::vector<double>& o, double r) {
  auto squeak = [&](double at, double len, double base) {
    voice(
        o, r, at, len,
        [=](double t) {
          const double x = t / len;
          const double contour =
              x < 0.4 ? expSweep(1.0, 1.3, x / 0.4) : expSweep(1.3, 1.1, (x - 0.4) / 0.6);
          return base * contour * (1 + 0.02 * std::sin(kTwoPi * 45 * t));
        },
        {1.0, 0.15}, [=](double t) { return held(t, len, 0.012, 0.04); }, 1.0);
  };
  squeak(0.00, 0.14, 2400);
  squeak(0.20, 0.14, 2550);
  squeak(0.42, 0.16, 2300);
}

// 18: the game is lost: a muted trumpet sliding down, "wah wah wah waaah".
void gameOver(std::vector<double>& o, double r) {
  const std::vector<double> horn{1.0, 0.8, 0.6, 0.45, 0.3, 0.2, 0.12, 0.08};
  auto wah = [&](double at, double len, int n, bool last) {
    const double f0 = note(n);
    voice(
        o, r, at, len,
        [=](double t) {
          double f = f0 * (1 + (last && t > 0.2 ? 0.012 * std::sin(kTwoPi * 5 * t) : 0.0));
          if (last && t > len - 0.3) f *= expSweep(1.0, 0.94, (t - (len - 0.3)) / 0.3);
          return f;
        },
        horn, [=](double t) { return held(t, len, 0.03, last ? 0.25 : 0.07); }, 1.0,
        // The mute opens and closes over each note: upper partials swell and fade.
        [=](int k, double t) {
          const double open = std::sin(std::numbers::pi * std::min(t / std::min(len, 0.5), 1.0));
          return k == 1 ? 1.0 : std::pow(0.25 + 0.75 * open, k - 1);
        });
  };
  wah(0.00, 0.36, G4, false);
  wah(0.40, 0.36, Fs4, false);
  wah(0.80, 0.36, F4, false);
  wah(1.20, 0.67, E4, true);
}

const Cue kRecipes[] = {
    {22050, 949, 0.58, pickUp},
    {22050, 1341, 0.91, move},
    {22050, 409, 0.82, drop},
    {22050, 160, 0.49, frame},
    {22050, 10181, 0.57, uhOh},
    {22050, 10241, 0.57, sparkle},
    {11025, 4313, 0.88, cashIn},
    {11025, 951, 0.68, chime},
    {11025, 12964, 0.93, arpeggio},
    {22050, 4590, 0.75, whoosh},
    {22050, 753, 0.32, arrival},
    {22050, 38926, 0.78, fanfare},
    {22050, 10090, 0.9, explosion, 3.0},
    {11025, 6648, 0.89, magnet},
    {11025, 5379, 0.9, shot, 3.0},
    {11025, 5234, 0.45, creature},
    {11025, 6514, 0.33, rat},
    {11025, 20645, 0.73, gameOver},
};
static_assert(std::size(kRecipes) == quibbix::engine::kCues, "one recipe for every cue");

// Saturates when asked, removes any DC offset, normalises to the cue's peak and fades both ends so
// the first and last samples sit exactly on the silence level.
std::vector<std::uint8_t> finish(std::vector<double> s, double rate, double peak, double drive) {
  if (drive > 0) {
    double top = 1e-9;
    for (double v : s) top = std::max(top, std::abs(v));
    for (double& v : s) v = std::tanh(drive * v / top);
  }
  double x1 = 0, y1 = 0;
  const double pole = std::exp(-kTwoPi * 20.0 / rate);
  for (double& v : s) {
    const double y = v - x1 + pole * y1;
    x1 = v;
    y1 = y;
    v = y;
  }
  const auto n = static_cast<int>(s.size());
  const int in = std::max(2, std::min(static_cast<int>(0.001 * rate), n / 20));
  const int out = std::max(4, std::min(static_cast<int>(0.006 * rate), n / 8));
  for (int i = 0; i < n; ++i) {
    double g = 1.0;
    if (i < in) g *= 0.5 - 0.5 * std::cos(std::numbers::pi * i / in);
    if (i >= n - out) g *= 0.5 - 0.5 * std::cos(std::numbers::pi * (n - 1 - i) / out);
    s[i] *= g;
  }
  double max = 1e-9;
  for (double v : s) max = std::max(max, std::abs(v));
  std::vector<std::uint8_t> bytes(s.size());
  for (int i = 0; i < n; ++i) {
    const double v = 128.0 + std::round(127.0 * peak * s[i] / max);
    bytes[i] = static_cast<std::uint8_t>(std::clamp(v, 8.0, 247.0));
  }
  return bytes;
}

void put16(std::string& b, unsigned v) {
  b += static_cast<char>(v & 0xff);
  b += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& b, unsigned v) {
  put16(b, v & 0xffff);
  put16(b, v >> 16);
}

// RIFF WAVE with a 16-byte PCM format chunk and one data chunk (padded to an even length).
std::string wave(const std::vector<std::uint8_t>& data, unsigned rate) {
  const auto size = static_cast<unsigned>(data.size());
  const unsigned pad = size & 1u;
  std::string b = "RIFF";
  put32(b, 4 + 8 + 16 + 8 + size + pad);
  b += "WAVEfmt ";
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, 1);  // mono
  put32(b, rate);
  put32(b, rate);  // bytes per second
  put16(b, 1);     // block align
  put16(b, 8);     // bits per sample
  b += "data";
  put32(b, size);
  b.append(data.begin(), data.end());
  if (pad) b += '\0';
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cuegen <output folder>\n");
    return 2;
  }
  for (int i = 0; i < quibbix::engine::kCues; ++i) {
    const Cue& c = kRecipes[i];
    std::vector<double> s(static_cast<std::size_t>(c.bytes), 0.0);
    c.make(s, c.rate);
    const std::string file =
        wave(finish(std::move(s), c.rate, c.peak, c.drive), static_cast<unsigned>(c.rate));
    char name[32];
    std::snprintf(name, sizeof name, "/cue%02d.wav", i + 1);
    const std::string path = argv[1] + std::string(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
      std::fprintf(stderr, "cuegen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
