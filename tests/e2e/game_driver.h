#pragma once
// The game as a player sees it: one run of the real program on a private X
// server, its windows, and the playing field read back from the screen.

#include <QHash>
#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "x_harness.h"

namespace quibbix::e2e {

// A slot whose pixels match no crate image (a frame of a dissolve).
constexpr int kUnknown = 999;

// The chutes as read from the screen: code of slot s (1..15) of chute c at
// [c][s - 1]; slot 15 is the hand row. Codes are those of the crate sheet
// cells, so a blinking special crate reads with either sign.
struct Board {
  std::array<std::array<int, 15>, 4> cells{};

  int at(int c, int s) const { return cells[c][s - 1]; }
  int hand(int c) const { return at(c, 15); }
  // Crates stand on the bottom without gaps; the hand row does not count.
  int height(int c) const;
  // The n-th crate from the top (0 = the top crate); 0 when there is none.
  int fromTop(int c, int n) const;
  bool complete() const;
  // Equal up to blink phases.
  bool sameKinds(const Board& o) const;
};

// Tells crate codes from their 55 x 20 images, using the game's own sheets.
class CrateReader {
 public:
  CrateReader();
  int code(const QImage& field, int x, int y) const;
  Board board(const QImage& field) const;

 private:
  QHash<QByteArray, int> codes_;
};

// The window titles and sizes of the game.
inline const QString kMainTitle = QStringLiteral("Quibbix V2.2");
inline const QSize kMainSize(500, 366);
inline const QString kSplashTitle = QStringLiteral("quibbix");
inline const QSize kSplashSize(200, 150);
inline const QString kTongueTitle = QStringLiteral("Quibbix V2.2");
inline const QSize kTongueSize(320, 91);
inline const QString kMessageTitle = QStringLiteral("Quibbix");
inline const QSize kMessageSize(261, 103);
inline const QString kHighscoreTitle = QStringLiteral("Quibbix - Highscore");
inline const QString kBestenlisteTitle = QStringLiteral("Quibbix - Bestenliste");
inline const QSize kHighscoreSize(360, 329);

// Playing-field geometry (field pixels).
constexpr int kFieldTop = 33;
inline QRect slotRect(int c, int s) { return QRect(45 + 76 * c, 316 - 20 * s, 55, 20); }
inline const QRect kPictureRect(354, 190, 120, 120);
inline const QRect kScoreboardRect(357, 28, 115, 80);
// Window pixels.
inline const QRect kPauseTextRect(100, 160, 181, 69);
inline QPoint toolButton(int left) { return QPoint(left + 12, 4 + 12); }
constexpr int kPauseBtn = 32;
constexpr int kHighScoreBtn = 88;
constexpr int kExitBtn = 116;

// The starting position the game deals for a seed, computed in-process with
// the game's engine and its seeded generator, as `--seed` makes the program do.
struct Deal {
  std::array<std::array<int, 15>, 4> stacks{};
  std::array<int, 4> height{};
};
Deal dealFor(std::uint32_t seed);

// A starting position that offers a triple at once: chute `onto` has two
// equal ordinary crates on top over a different third one, chute `from` has
// the same crate on top, and no chute is high enough to overflow soon.
struct TripleOffer {
  std::uint32_t seed = 0;
  int from = 0;
  int onto = 0;
};
// With `from` and `onto` given, only a triple carried between these two chutes counts.
TripleOffer findTripleSeed(std::uint32_t firstSeed, int from = -1, int onto = -1);
// A starting position with every chute low: a long game before any overflow.
std::uint32_t findLowSeed(std::uint32_t firstSeed);

// What the game is started with: its own home and settings folder under `home`, the X
// display, no sound device, and the sanitizers' settings passed on.
std::map<std::string, std::string> gameEnvironment(const std::string& home,
                                                   const std::string& display);

// One run of the program with its own settings folder.
class GameRun {
 public:
  // `extraEnv` adds to, or overrides, the game's environment.
  GameRun(XServer& x, const std::string& home, std::uint32_t seed,
          const std::map<std::string, std::string>& extraEnv = {});

  Child& process() { return *process_; }
  XServer& x() { return x_; }
  // Waits for the main window and remembers where it is.
  XWindow main();
  QPoint window(QPoint p) { return main_.rect.topLeft() + p; }
  QPoint field(QPoint p) { return window(p + QPoint(0, kFieldTop)); }
  // A point on the field over chute c, for a press, a move or a release.
  QPoint overChute(int c) { return field(QPoint(45 + 76 * c + 27, 200)); }

  QImage fieldImage();
  QImage windowImage();
  // One read of the board as it is this moment.
  Board boardNow();
  // A board read that holds still for two reads (blink phases aside).
  Board board();

  // The first activation: the splash closes on a click, then the language
  // dialog appears when none is stored and takes Enter (English) or a click on
  // its second button (German).
  void closeSplash();
  void chooseLanguage(bool german);

  // Carries the top crate of chute `from` to chute `to` with a real drag; the
  // pointer is released over `to`. Returns the crate's code.
  int carry(int from, int to);

 private:
  XServer& x_;
  std::unique_ptr<Child> process_;
  XWindow main_;
  CrateReader reader_;
};

}  // namespace quibbix::e2e
