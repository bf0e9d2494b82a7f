// End-to-end through a screen reader's eyes: the real program on a private X
// server with a private accessibility stack (a session bus, the AT-SPI bus and
// its registry), read and driven by an assistive client (pyatspi) as Orca
// reads and drives it, and checked against the screen.

#include <gtest/gtest.h>
#include <sys/types.h>

#include <dirent.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game_driver.h"
#include "view/crate_kinds.h"
#include "view/field_canvas.h"
#include "view/sheets.h"

namespace quibbix::e2e {
namespace {

// The processes whose parent is `parent`: what a launcher started on its own.
std::vector<pid_t> childrenOf(pid_t parent) {
  std::vector<pid_t> found;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  while (dirent* e = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::string(e->d_name) + "/stat");
    std::string line;
    std::getline(stat, line);
    // pid (comm) state ppid ...; comm may hold blanks, so read after its ')'.
    const auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 1));
    std::string state;
    pid_t ppid = 0;
    rest >> state >> ppid;
    if (ppid == parent) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

// A session bus with the accessibility bus and its registry on it, as a
// desktop session starts them, all of them children of the test.
class AccessibilityStack {
 public:
  AccessibilityStack(const std::string& dir, const std::string& display) {
    std::filesystem::create_directories(dir + "/runtime");
    std::filesystem::permissions(dir + "/runtime", std::filesystem::perms::owner_all);
    address_ = "unix:path=" + dir + "/bus";
    env_ = {{"PATH", "/usr/bin:/bin"},
            {"HOME", dir},
            {"XDG_RUNTIME_DIR", dir + "/runtime"},
            {"DISPLAY", display},
            {"DBUS_SESSION_BUS_ADDRESS", address_}};
    bus_ = std::make_unique<Child>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 "--address=" + address_},
        env_, dir + "/dbus.log");
    EXPECT_TRUE(waitFor([&] { return std::filesystem::exists(dir + "/bus"); })) << "no session bus";
    launcher_ = std::make_unique<Child>(
        std::vector<std::string>{"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"}, env_,
        dir + "/launcher.log");
    // The accessibility bus is up once the launcher answers for it on the session bus.
    const std::string ask = "env DBUS_SESSION_BUS_ADDRESS=" + address_ +
                            " dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus "
                            "org.a11y.Bus.GetAddress >/dev/null 2>&1";
    EXPECT_TRUE(waitFor([&] { return std::system(ask.c_str()) == 0; })) << "no accessibility bus";
    registry_ = std::make_unique<Child>(std::vector<std::string>{"/usr/libexec/at-spi2-registryd"},
                                        env_, dir + "/registry.log");
  }

  ~AccessibilityStack() {
    registry_.reset();
    // The launcher ends the accessibility bus it started when it is asked to
    // end; whatever of its own it leaves behind is ended here, by its id.
    const std::vector<pid_t> started = childrenOf(launcher_->pid());
    launcher_->terminate(SIGTERM);
    launcher_->waitExit(5s);
    for (const pid_t pid : started) kill(pid, SIGKILL);
    launcher_.reset();
    bus_.reset();
  }

  const std::map<std::string, std::string>& env() const { return env_; }
  const std::string& address() const { return address_; }

 private:
  std::string address_;
  std::map<std::string, std::string> env_;
  std::unique_ptr<Child> bus_, launcher_, registry_;
};

// One object of the tree as the client read it.
struct Node {
  QJsonObject o;
  QString role() const { return o[QStringLiteral("role")].toString(); }
  QString name() const { return o[QStringLiteral("name")].toString(); }
  QString description() const { return o[QStringLiteral("description")].toString(); }
  bool has(const char* state) const {
    return o[QStringLiteral("states")].toArray().contains(QString::fromLatin1(state));
  }
  QList<Node> children() const {
    QList<Node> list;
    for (const QJsonValue& v : o[QStringLiteral("children")].toArray())
      list.push_back({v.toObject()});
    return list;
  }
  QStringList childNames() const {
    QStringList names;
    for (const Node& c : children()) names << c.name();
    return names;
  }
  // The first object below with this name (depth first), or an empty node.
  Node find(const QString& wanted) const {
    for (const Node& c : children()) {
      if (c.name() == wanted) return c;
      if (const Node below = c.find(wanted); !below.o.isEmpty()) return below;
    }
    return {};
  }
  Node findRole(const QString& wanted) const {
    for (const Node& c : children()) {
      if (c.role() == wanted) return c;
      if (const Node below = c.findRole(wanted); !below.o.isEmpty()) return below;
    }
    return {};
  }
};

// What the field's children say: the score, the level, the four chutes with
// their crates from the top, the hand and the picture.
struct Reading {
  QString score, level;
  std::array<QStringList, 4> chutes;
  std::array<QString, 4> chuteNames;
  QString hand, picture;
  int focusedChute = -1;
  bool operator==(const Reading&) const = default;
};

class ScreenReaderTest : public testing::Test {
 protected:
  void SetUp() override {
    x_ = std::make_unique<XServer>(tmp_.path());
    stack_ = std::make_unique<AccessibilityStack>(tmp_.path() + "/a11y", x_->display());
    // A deal with an ordinary crate on top of chute 1 and room on chute 2, and
    // every chute low: the carry below meets no special rule and no overflow.
    std::uint32_t seed = 4100;
    for (;; ++seed) {
      seed = findLowSeed(seed);
      const Deal d = dealFor(seed);
      const int top = d.height[0] > 0 ? d.stacks[0][d.height[0] - 1] : 0;
      if (top >= 1 && top <= 31) break;
    }
    run_ = std::make_unique<GameRun>(
        *x_, tmp_.path() + "/home", seed,
        std::map<std::string, std::string>{{"DBUS_SESSION_BUS_ADDRESS", stack_->address()},
                                           {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"}});
    main_ = run_->main();
    run_->closeSplash();
    run_->chooseLanguage(false);
    ASSERT_TRUE(client("wait").contains(QStringLiteral("ok"))) << "the game is not on the registry";
  }

  void TearDown() override {
    if (HasFailure()) {
      const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
      x_->screen().save(QString::fromStdString("e2e-" + name + ".png"));
      std::error_code ec;
      std::filesystem::copy_file(tmp_.path() + "/home/quibbix.log", "e2e-" + name + "-quibbix.log",
                                 std::filesystem::copy_options::overwrite_existing, ec);
    }
    run_.reset();
    stack_.reset();
    x_.reset();
  }

  static std::string quoted(const std::string& text) {
    std::string q = "'";
    for (const char ch : text) q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
  }

  // Runs the assistive client once and returns its answer.
  QJsonObject client(const std::string& command, const std::string& arg = {}) {
    std::string line = "env -i";
    for (const auto& [k, v] : stack_->env()) line += " " + k + "=" + quoted(v);
    line += " /usr/bin/python3 " QUIBBIX_ATSPI_CLIENT " " + std::to_string(run_->process().pid()) +
            " " + command;
    if (!arg.empty()) line += " " + quoted(arg);
    line += " 2>>" + tmp_.path() + "/client.log";
    FILE* out = popen(line.c_str(), "r");
    if (out == nullptr) return {};
    std::string answer;
    char buf[4096];
    while (const size_t n = fread(buf, 1, sizeof buf, out)) answer.append(buf, n);
    pclose(out);
    return QJsonDocument::fromJson(QByteArray::fromStdString(answer)).object();
  }

  Node tree() { return {client("tree")}; }
  Node frame(const Node& app) {
    for (const Node& w : app.children())
      if (w.role() == QStringLiteral("frame")) return w;
    return {};
  }
  Node field(const Node& app) { return frame(app).find(QStringLiteral("Playing field")); }

  Reading reading(const Node& f) {
    Reading r;
    const QList<Node> parts = f.children();
    if (parts.size() != 8) return r;
    r.score = parts[0].name();
    r.level = parts[1].name();
    for (int c = 0; c < 4; ++c) {
      r.chuteNames[c] = parts[2 + c].name();
      r.chutes[c] = parts[2 + c].childNames();
      if (parts[2 + c].has("focused")) r.focusedChute = c;
    }
    r.hand = parts[6].name();
    r.picture = parts[7].name();
    return r;
  }

  // The tree read the same before and after a read of the screen: the board
  // that stood while both were read.
  std::pair<Reading, Board> steadyReading() {
    for (;;) {
      const Reading before = reading(field(tree()));
      const Board screen = run_->board();
      const Reading after = reading(field(tree()));
      if (before == after) return {before, screen};
    }
  }

  // Does an action and returns how long the client waited for it, in ms (-1: not done).
  int act(const std::string& name) {
    const QJsonObject answer = client("do", name);
    EXPECT_TRUE(answer.contains(QStringLiteral("ms")))
        << name << ": " << QJsonDocument(answer).toJson().toStdString();
    return answer[QStringLiteral("ms")].toInt(-1);
  }

  // Waits until the tree shows what `holds` wants.
  bool treeShows(const std::function<bool(const Node&)>& holds) {
    return waitFor([&] { return holds(tree()); });
  }

  TempDir tmp_;
  std::unique_ptr<XServer> x_;
  std::unique_ptr<AccessibilityStack> stack_;
  std::unique_ptr<GameRun> run_;
  XWindow main_;
};

// In English: this process installs no translation (the game runs in one of its own).
QString kindName(int code) { return view::crateName(code); }

// The chutes, the hand and the score as the tree tells them and as the screen shows them.
void expectTreeMatchesScreen(const Reading& r, const Board& screen) {
  for (int c = 0; c < 4; ++c) {
    QStringList drawn;
    for (int i = 0; i < screen.height(c); ++i) drawn << kindName(screen.fromTop(c, i));
    EXPECT_EQ(r.chutes[c], drawn) << "chute " << c + 1;
    EXPECT_TRUE(r.chuteNames[c].startsWith(QStringLiteral("Chute %1").arg(c + 1)))
        << r.chuteNames[c].toStdString();
  }
  QString hand = QStringLiteral("Hand: empty");
  for (int c = 0; c < 4; ++c)
    if (screen.hand(c) != 0)
      hand = QStringLiteral("Hand: %1, over chute %2").arg(kindName(screen.hand(c))).arg(c + 1);
  EXPECT_EQ(r.hand, hand);
}

int numberIn(const QString& text) { return text.section(QLatin1Char(' '), -1).toInt(); }

QImage scoreboardAsDrawn(int level, int score) {
  view::FieldCanvas canvas(view::Sheets::load());
  canvas.drawBackground();
  canvas.drawScoreboard(level, score);
  return canvas.image().copy(kScoreboardRect);
}

TEST_F(ScreenReaderTest, TheBoardReadFromTheTreeIsTheBoardOnTheScreenAlsoAfterACarryByKeys) {
  const Node app = tree();
  const Node main = frame(app);
  ASSERT_FALSE(main.o.isEmpty()) << "the main window is no frame";
  EXPECT_EQ(main.name(), "Quibbix V2.2");
  const Node f = field(app);
  ASSERT_FALSE(f.o.isEmpty()) << "no field named Playing field";
  EXPECT_FALSE(f.description().isEmpty());
  EXPECT_EQ(f.children().size(), 8);
  for (const char* command : {"New game", "Pause", "Sound on or off", "High scores", "Quit",
                              "Language", "Rules", "About", "Maker's web site"})
    EXPECT_TRUE(main.find(QString::fromUtf8(command)).role().endsWith(QStringLiteral("button")))
        << command;

  auto [first, screen] = steadyReading();
  expectTreeMatchesScreen(first, screen);
  EXPECT_EQ(run_->fieldImage().copy(kScoreboardRect),
            scoreboardAsDrawn(numberIn(first.level), numberIn(first.score)))
      << first.score.toStdString() << ", " << first.level.toStdString();
  EXPECT_TRUE(first.picture.startsWith(QStringLiteral("Picture: "))) << first.picture.toStdString();

  // Take the top crate of chute 1 with Space: the hand holds what was on top.
  const QString carried = first.chutes[0].value(0);
  x_->key(main_, "space");
  ASSERT_TRUE(treeShows([&](const Node& a) {
    return reading(field(a)).hand == QStringLiteral("Hand: %1, over chute 1").arg(carried);
  })) << "the hand never held "
      << carried.toStdString();
  // Over chute 2 with Right, which is now the keyboard's chute, and down with Space.
  x_->key(main_, "Right");
  ASSERT_TRUE(treeShows([&](const Node& a) {
    const Reading r = reading(field(a));
    return r.hand == QStringLiteral("Hand: %1, over chute 2").arg(carried) && r.focusedChute == 1;
  })) << "the hand did not move to chute 2 with the keyboard's chute: "
      << reading(field(tree())).hand.toStdString() << ", focused "
      << reading(field(tree())).focusedChute << " "
      << QJsonDocument(field(tree()).children()[3].o).toJson().toStdString();
  x_->key(main_, "space");
  ASSERT_TRUE(treeShows([&](const Node& a) {
    return reading(field(a)).hand == QStringLiteral("Hand: empty");
  })) << "the crate was not dropped";

  auto [after, screenAfter] = steadyReading();
  expectTreeMatchesScreen(after, screenAfter);
  EXPECT_EQ(run_->fieldImage().copy(kScoreboardRect),
            scoreboardAsDrawn(numberIn(after.level), numberIn(after.score)));
  // Dropped on chute 2: on its top, unless it made a triple there and scored.
  EXPECT_TRUE(after.chutes[1].value(0) == carried || numberIn(after.score) > numberIn(first.score))
      << after.chutes[1].join(QStringLiteral(", ")).toStdString();
  EXPECT_EQ(after.focusedChute, 1);
}

TEST_F(ScreenReaderTest, PauseByActionEndsByTheFieldsActionAndByPWithTheButtonsStateFollowing) {
  const auto paused = [this](bool want) {
    return treeShows([&](const Node& a) {
      const Node pause = frame(a).find(QStringLiteral("Pause"));
      const Node f = field(a);
      return pause.has("checked") == want && pause.has("pressed") == want &&
             f.description().startsWith(QStringLiteral("Game paused")) == want;
    });
  };
  EXPECT_TRUE(paused(false));
  EXPECT_LT(act("Pause"), 1000);
  EXPECT_TRUE(paused(true)) << "the pause is not shown";
  // A second press pauses once: one resume ends it.
  EXPECT_LT(act("Pause"), 1000);
  EXPECT_TRUE(paused(true));
  EXPECT_LT(act("Playing field"), 1000);
  EXPECT_TRUE(paused(false)) << "the field's action did not resume";

  EXPECT_LT(act("Pause"), 1000);
  EXPECT_TRUE(paused(true));
  x_->key(main_, "p");
  EXPECT_TRUE(paused(false)) << "P did not resume";
  // Not paused, the field's action does nothing.
  EXPECT_LT(act("Playing field"), 1000);
  x_->answers(main_);
  EXPECT_TRUE(paused(false));
}

// A modal window of the game, how the test opens it and the key that closes it
// leaving everything as it was.
struct Modal {
  const char* label;
  const char* keys;    // as xdotool names them; or
  const char* action;  // the action that opens it
  const char* close;
};

TEST_F(ScreenReaderTest, CommandsDoNothingWhileAModalWindowIsOpenAndEveryActionReturnsAtOnce) {
  const Modal modals[] = {
      {"quit question", "ctrl+q", nullptr, "Escape"},
      {"high scores", "ctrl+h", nullptr, "Return"},
      // Enter takes the focused button, English, the language already chosen.
      {"language", "ctrl+l", nullptr, "Return"},
      {"about box", nullptr, "About", "Return"},
  };
  const char* commands[] = {"New game", "Pause", "Sound on or off", "High scores",     "Quit",
                            "Language", "Rules", "About",           "Maker's web site"};
  const auto windowsNow = [this] {
    QStringList list;
    for (const XWindow& w : x_->windows())
      list << w.title + QStringLiteral("@%1x%2").arg(w.rect.width()).arg(w.rect.height());
    return list;
  };
  const QStringList alone = windowsNow();
  for (const Modal& m : modals) {
    SCOPED_TRACE(m.label);
    // Open it, and wait for a window more than the main window alone.
    if (m.keys != nullptr) {
      x_->key(main_, m.keys);
    } else {
      EXPECT_LT(act(m.action), 1000) << "the action waited for its window";
    }
    ASSERT_TRUE(waitFor([&] { return windowsNow().size() > alone.size(); })) << "nothing opened";
    const QStringList open = windowsNow();
    const XWindow dialog = x_->windows().back();
    const Reading board = reading(field(tree()));
    const Node before = frame(tree());
    const bool sound = before.find(QStringLiteral("Sound on or off")).has("checked");
    for (const char* command : commands) {
      SCOPED_TRACE(command);
      const int ms = act(command);
      EXPECT_GE(ms, 0);
      EXPECT_LT(ms, 1000);
      // Whatever the command would queue has had its turn once the game answers.
      ASSERT_TRUE(x_->answers(main_));
      EXPECT_EQ(windowsNow().join(QStringLiteral(", ")).toStdString(),
                open.join(QStringLiteral(", ")).toStdString())
          << "a window opened or closed";
    }
    const Node after = frame(tree());
    EXPECT_EQ(after.find(QStringLiteral("Sound on or off")).has("checked"), sound);
    EXPECT_FALSE(after.find(QStringLiteral("Pause")).has("checked"));
    EXPECT_EQ(after.find(QStringLiteral("New game")).name(), "New game") << "the language changed";
    const Reading now = reading(field(tree()));
    EXPECT_EQ(now.level, board.level);
    EXPECT_EQ(now.score, board.score);
    // Closed as cancelled, and the game goes on.
    x_->key(dialog, m.close);
    ASSERT_TRUE(waitFor([&] { return windowsNow() == alone; })) << "it did not close";
  }
}

}  // namespace
}  // namespace quibbix::e2e
