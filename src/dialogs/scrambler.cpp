#include "dialogs/scrambler.h"

#include <cmath>
#include <numbers>

namespace quibbix::dialogs {

namespace {

constexpr char16_t kAlphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kAlphabetSize = 62;
constexpr double kKey = 58213.0;

int alphabetIndex(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return 26 + (c - u'a');
  if (c >= u'0' && c <= u'9') return 52 + (c - u'0');
  return -1;
}

// The shift sequence is a chaotic iteration (each step multiplies the
// previous rounding by ~1000), so the stored tables stay readable only if
// every step rounds to a 64-bit double exactly as before. Each intermediate
// is therefore forced through a volatile double: this rules out both
// extended x87 precision and a fused multiply-add of 997 * f + pi, which
// compilers may emit on targets with FMA. On x86-64 the SSE2 arithmetic
// rounds each operation to double anyway; the stores only pin it down.
QString transform(const QString& s, int direction) {
  QString result = s;
  volatile double v = std::fabs(kKey / std::numbers::pi);
  for (qsizetype i = 0; i < result.size(); ++i) {
    const double whole = std::trunc(v);
    volatile double f = v - whole;
    volatile double scaled = kAlphabetSize * f;
    const int d = static_cast<int>(std::trunc(scaled));
    volatile double product = 997.0 * f;
    v = product + std::numbers::pi;
    const int j = alphabetIndex(result[i].unicode());
    if (j >= 0) {
      result[i] = QChar(kAlphabet[(j + direction * d + kAlphabetSize) % kAlphabetSize]);
    }
  }
  return result;
}

}  // namespace

QString Scramble(const QString& s) { return transform(s, +1); }
QString Unscramble(const QString& s) { return transform(s, -1); }

}  // namespace quibbix::dialogs
