#include "game_driver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/game.h"
#include "engine/system.h"
#include "null_ports.h"
#include "view/sheets.h"

#ifndef QUIBBIX_PROGRAM
#error "QUIBBIX_PROGRAM must name the built game"
#endif

namespace quibbix::e2e {

// --- Board -------------------------------------------------------------------

int Board::height(int c) const {
  int h = 0;
  while (h < 14 && cells[c][h] != 0) ++h;
  return h;
}

int Board::fromTop(int c, int n) const {
  const int h = height(c);
  return n < h ? cells[c][h - 1 - n] : 0;
}

bool Board::complete() const {
  for (const auto& chute : cells)
    for (int code : chute)
      if (code == kUnknown) return false;
  return true;
}

bool Board::sameKinds(const Board& o) const {
  for (int c = 0; c < 4; ++c)
    for (int s = 0; s < 15; ++s)
      if (std::abs(cells[c][s]) != std::abs(o.cells[c][s])) return false;
  return true;
}

// --- CrateReader -------------------------------------------------------------

namespace {
QByteArray pixels(const QImage& img, const QRect& r) {
  QByteArray bytes;
  bytes.reserve(r.width() * r.height() * 3);
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) {
      bytes.append(static_cast<char>(qRed(line[x])));
      bytes.append(static_cast<char>(qGreen(line[x])));
      bytes.append(static_cast<char>(qBlue(line[x])));
    }
  }
  return bytes;
}
}  // namespace

CrateReader::CrateReader() {
  const QImage sheet = view::Sheets::load().crates.convertToFormat(QImage::Format_RGB32);
  // Codes that occur in play, in an order that names a shared image (the plain
  // grey crate) by the code that really appears.
  std::vector<int> inPlay;
  for (int code = 0; code <= 36; ++code) inPlay.push_back(code);
  for (int code = 50; code <= 62; ++code) {
    inPlay.push_back(code);
    inPlay.push_back(-code);
  }
  for (int code : inPlay) {
    const view::Cell cell = view::crateCell(code);
    const QByteArray key = pixels(sheet, QRect(cell.column * 55, cell.row * 20, 55, 20));
    if (!codes_.contains(key)) codes_.insert(key, code);
  }
}

int CrateReader::code(const QImage& field, int x, int y) const {
  return codes_.value(pixels(field, QRect(x, y, 55, 20)), kUnknown);
}

Board CrateReader::board(const QImage& field) const {
  Board b;
  for (int c = 0; c < 4; ++c)
    for (int s = 1; s <= 15; ++s) {
      const QRect r = slotRect(c, s);
      b.cells[c][s - 1] = code(field, r.x(), r.y());
    }
  return b;
}

// --- Seeds -------------------------------------------------------------------

namespace {

bool ordinary(int code) { return code >= 1 && code <= 31; }

// Low enough that the arrivals of a long test (one every two seconds into a
// random chute) cannot fill any chute to 14.
constexpr int kLowHeight = 6;

bool low(const Deal& d) {
  for (int h : d.height)
    if (h > kLowHeight) return false;
  return true;
}

}  // namespace

Deal dealFor(std::uint32_t seed) {
  // Every wait passes at once.
  test::NullPorts quiet(1000);
  engine::SeededRandom random(seed);
  engine::Game game({quiet, quiet, quiet, random, quiet});
  // The order of the program's start: a full paint, then the first game.
  game.Paint();
  game.NewGame();
  Deal d;
  for (int c = 0; c < 4; ++c) {
    d.height[c] = game.state().StackHeight[c];
    for (int s = 0; s < 15; ++s) d.stacks[c][s] = game.state().Stacks[c][s];
  }
  return d;
}

TripleOffer findTripleSeed(std::uint32_t firstSeed, int wantFrom, int wantOnto) {
  for (std::uint32_t seed = firstSeed; seed < firstSeed + 100000; ++seed) {
    const Deal d = dealFor(seed);
    if (!low(d)) continue;
    for (int onto = 0; onto < 4; ++onto) {
      if (wantOnto >= 0 && onto != wantOnto) continue;
      const int h = d.height[onto];
      if (h < 3) continue;
      const int k = d.stacks[onto][h - 1];
      if (!ordinary(k) || d.stacks[onto][h - 2] != k || d.stacks[onto][h - 3] == k) continue;
      for (int from = 0; from < 4; ++from)
        if (from != onto && (wantFrom < 0 || from == wantFrom) && d.height[from] >= 2 &&
            d.stacks[from][d.height[from] - 1] == k)
          return {seed, from, onto};
    }
  }
  ADD_FAILURE() << "no seed offers a triple";
  return {};
}

std::uint32_t findLowSeed(std::uint32_t firstSeed) {
  for (std::uint32_t seed = firstSeed;; ++seed)
    if (low(dealFor(seed))) return seed;
}

std::map<std::string, std::string> gameEnvironment(const std::string& home,
                                                   const std::string& display) {
  std::map<std::string, std::string> env{
      {"PATH", std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"},
      {"HOME", home},
      {"XDG_CONFIG_HOME", home + "/config"},
      {"XDG_RUNTIME_DIR", home + "/runtime"},
      {"DISPLAY", display},
      {"QT_QPA_PLATFORM", "xcb"},
      // No sound device: the game must run silently.
      {"PULSE_SERVER", "unix:/nonexistent"},
      {"SDL_AUDIODRIVER", "dummy"},
      // No session bus either, as on a desktop whose bus is gone. Left unset,
      // the bus library would fork a launcher from Qt's bus thread at start;
      // in the sanitized build that child once hung on an allocator lock held
      // by another thread at the fork, and the game, waiting for its bus,
      // never showed a window.
      {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"},
      {"LANG", "C.UTF-8"},
  };
  for (const char* pass : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* v = std::getenv(pass)) env[pass] = v;
  // A sanitized game reports leaks at its exit; the system libraries' own are
  // suppressed so that the exit status speaks for the game.
  std::string& lsan = env["LSAN_OPTIONS"];
  lsan += std::string(lsan.empty() ? "" : ":") + "suppressions=" QUIBBIX_LSAN_SUPPRESSIONS;
  return env;
}

// --- GameRun -----------------------------------------------------------------

GameRun::GameRun(XServer& x, const std::string& home, std::uint32_t seed,
                 const std::map<std::string, std::string>& extraEnv)
    : x_(x) {
  std::filesystem::create_directories(home + "/config");
  std::filesystem::create_directories(home + "/runtime");
  std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);
  std::map<std::string, std::string> env = gameEnvironment(home, x.display());
  for (const auto& [name, value] : extraEnv) env[name] = value;
  process_ = std::make_unique<Child>(
      std::vector<std::string>{QUIBBIX_PROGRAM, "--seed", std::to_string(seed)}, env,
      home + "/quibbix.log");
}

XWindow GameRun::main() {
  const auto w = x_.waitWindow(kMainTitle, kMainSize);
  EXPECT_TRUE(w) << "the main window does not appear";
  if (w) main_ = *w;
  return main_;
}

QImage GameRun::fieldImage() {
  return x_.grab(QRect(window(QPoint(0, kFieldTop)), QSize(500, 333)));
}

QImage GameRun::windowImage() { return x_.grab(main_.rect); }

Board GameRun::boardNow() { return reader_.board(fieldImage()); }

Board GameRun::board() {
  // Two reads with an answer of the game's event loop between them: an
  // animation runs in one handler, so one caught by the first read has ended
  // before the second, which then differs. A board read the same twice
  // across the answer is one the game left standing, however slowly it ran.
  Board last = reader_.board(fieldImage());
  Board now;
  const bool steady = waitFor([&] {
    if (!x_.answers(main_)) return false;
    now = reader_.board(fieldImage());
    const bool same = now.complete() && now.sameKinds(last);
    last = now;
    return same;
  });
  EXPECT_TRUE(steady) << "the board never holds still";
  return now;
}

void GameRun::closeSplash() {
  const auto splash = x_.waitWindow(kSplashTitle, kSplashSize);
  ASSERT_TRUE(splash) << "no splash window";
  // Its lower right corner: neither over the language dialog that follows nor
  // over a chute or the picture of the field behind it.
  x_.click(splash->rect.topLeft() + QPoint(196, 146));
  EXPECT_TRUE(x_.waitGone(kSplashTitle, kSplashSize)) << "the splash stays after a click";
}

void GameRun::chooseLanguage(bool german) {
  const auto dialog = x_.waitWindow(kTongueTitle, kTongueSize);
  ASSERT_TRUE(dialog) << "no language dialog";
  if (german) {
    x_.click(dialog->rect.topLeft() + QPoint(84 + 110, 48 + 13));
  } else {
    x_.key(*dialog, "Return");
  }
  EXPECT_TRUE(x_.waitGone(kTongueTitle, kTongueSize)) << "the language dialog stays";
}

int GameRun::carry(int from, int to) {
  const int crate = board().fromTop(from, 0);
  x_.moveTo(overChute(from));
  x_.press();
  EXPECT_TRUE(waitFor([&] { return std::abs(board().hand(from)) == std::abs(crate); }))
      << "no pick-up";
  x_.moveTo(overChute(to));
  EXPECT_TRUE(waitFor([&] { return std::abs(board().hand(to)) == std::abs(crate); }))
      << "the hand does not follow";
  x_.release();
  EXPECT_TRUE(waitFor([&] { return board().hand(to) == 0; })) << "no drop";
  return crate;
}

}  // namespace quibbix::e2e
