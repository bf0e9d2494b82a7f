#include <QLabel>
#include <QSet>
#include <QTextBrowser>

#include "app_fixture.h"
#include "desktop/placement.h"
#include "dialogs/help_window.h"
#include "dialogs/score_table.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"

namespace quibbix::testing {
namespace {

using MainWindowTest = AppTest;
using Opens = std::vector<std::pair<QString, bool>>;  // window, game timer running

Opens opens(const ModalScript& script) {
  Opens result;
  for (const Opened& o : script.opened) result.emplace_back(o.name, o.timerRunning);
  return result;
}

// The level and score digits with their captions, beside the chutes.
const QRect kScoreboard(357, 28, 115, 80);

QImage scoreboardAsDrawnIn(bool german, int level, int score) {
  view::FieldCanvas reference(view::Sheets::load());
  reference.drawBackground();
  if (german) reference.setCaptions(QStringLiteral("Stufe:"), QStringLiteral("Punkte:"));
  reference.drawScoreboard(level, score);
  return reference.image().copy(kScoreboard);
}

// Every button shows its command's hint in the window's language, no two alike, each
// one changing with the language; the language button's is the way back for a player
// who cannot read the current language, so it is written in the other one.
void expectTexts(app::MainWindow& w, bool german) {
  const app::WindowTexts shown = app::windowTexts();
  // The texts of the other language, with its translations for a moment.
  w.translations().use(german ? Language::English : Language::German);
  const app::WindowTexts other = app::windowTexts();
  w.translations().use(w.language());
  QSet<QString> hints;
  for (const app::CommandRow& row : app::kToolBar) {
    const QString hint = w.button(row.command)->toolTip();
    EXPECT_EQ(hint, shown.*row.hint) << row.name;
    EXPECT_FALSE(hint.isEmpty()) << row.name;
    EXPECT_NE(hint, other.*row.hint) << row.name << ": the same hint in both languages";
    hints.insert(hint);
  }
  EXPECT_EQ(hints.size(), app::kCommands) << "two buttons share a hint";
  EXPECT_EQ(w.button(app::Command::Language)->toolTip(),
            german ? "I don't speak german." : "Ich spreche nicht englisch.");
  EXPECT_EQ(w.pauseText()->text(), german ? "Spiel angehalten! Linke Maustaste zum weitermachen."
                                          : "Game paused! Press left mouse button to continue.");
  EXPECT_EQ(w.nextLevelLabel()->text(), german ? "Nächste Stufe!" : "Next level!");
  const auto& st = w.game().state();
  EXPECT_EQ(w.canvas().image().copy(kScoreboard), scoreboardAsDrawnIn(german, st.Level, st.Score))
      << (german ? "captions not German" : "captions not English");
}

// What must not change while a question is answered with no.
struct Board {
  int level, score;
  bool gameOver, paused;
  decltype(engine::GameState::Stacks) stacks;
  decltype(engine::GameState::StackHeight) heights;
  int covered;
  bool operator==(const Board&) const = default;
};
Board boardOf(app::MainWindow& w) {
  const auto& s = w.game().state();
  return {s.Level, s.Score, s.GameOver, s.Paused, s.Stacks, s.StackHeight, s.CoveredCount};
}

TEST_F(MainWindowTest, FirstStartShowsSplashThenLanguageAndGermanAppliesAtOnce) {
  create();
  EXPECT_TRUE(window->button("Soundbtn")->isChecked());
  EXPECT_EQ(storedValue(window->language()), -1);
  EXPECT_EQ(window->windowTitle(), "Quibbix V2.2");
  expectTexts(*window, false);
  EXPECT_TRUE(window->timer().isActive()) << "the first game runs from creation";
  EXPECT_EQ(window->game().state().Level, 1);

  script.then(kClickSplash);
  script.then(kGerman);
  showWindow();
  // The game timer runs on behind both windows of the first activation.
  EXPECT_EQ(opens(script), (Opens{{"Splash", true}, {"TongueDlg", true}}));
  EXPECT_EQ(storedValue(window->language()), 1);
  expectTexts(*window, true);
}

TEST_F(MainWindowTest, LanguageDialogClosedWithoutAChoiceIsOfferedAgainNextTime) {
  create();
  script.then(kClickSplash);
  script.then([](QDialog* tongue) { tongue->close(); });
  showWindow();
  EXPECT_EQ(storedValue(window->language()), -1);
  expectTexts(*window, false);

  script.then(kYes);
  click("ExitBtn");
  EXPECT_EQ(store.ReadString("common", "tongue", ""), "-1");

  window.reset();
  create();
  script.then(kClickSplash);
  script.then(kEnglish);
  showWindow();
  EXPECT_EQ(script.openedNames(), (QStringList{"Splash", "TongueDlg"}));
  EXPECT_EQ(storedValue(window->language()), 0);
}

TEST_F(MainWindowTest, LayoutOfTheWindow) {
  create();
  EXPECT_EQ(window->size(), QSize(500, 366)) << "client area";
  struct Place {
    const char* name;
    QRect rect;
  };
  const Place places[] = {
      {"Panel1", {0, 0, 500, 33}},        {"box", {0, 33, 500, 333}},
      {"PauseText", {100, 160, 181, 69}}, {"Nextlevellabel", {72, 180, 237, 33}},
      {"StartBtn", {4, 4, 25, 25}},       {"PauseBtn", {32, 4, 25, 25}},
      {"Soundbtn", {60, 4, 25, 25}},      {"HighScoreBtn", {88, 4, 25, 25}},
      {"ExitBtn", {116, 4, 25, 25}},      {"TongueBtn", {380, 4, 25, 25}},
      {"RulesBtn", {408, 4, 25, 25}},     {"InfoBtn", {436, 4, 25, 25}},
      {"ZorvyBtn", {464, 4, 29, 25}},
  };
  for (const Place& p : places) {
    auto* w = window->findChild<QWidget*>(p.name);
    ASSERT_NE(w, nullptr) << p.name;
    // The buttons sit on the tool bar, which lies at the client's top-left.
    EXPECT_EQ(QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size()), p.rect) << p.name;
  }
  EXPECT_FALSE(window->pauseText()->isVisible());
  EXPECT_FALSE(window->nextLevelLabel()->isVisible());
  EXPECT_EQ(window->timer().interval(), 100);
}

TEST_F(MainWindowTest, ClosingSavesTheSettingsAndTheNextStartShowsOnlyTheSplash) {
  create();
  script.then(kClickSplash);
  script.then(kGerman);
  showWindow();
  click("Soundbtn");
  ASSERT_FALSE(window->button("Soundbtn")->isChecked());
  window->move(40, 50);
  const QRect frame = window->frameGeometry();

  script.then(kYes);
  click("ExitBtn");
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->timer().isActive());
  EXPECT_EQ(store.ReadString("common", "sound", ""), "0");
  EXPECT_EQ(store.ReadString("common", "tongue", ""), "1");
  // A normal window at its frame's corner; right and bottom lie just outside it.
  EXPECT_EQ(store.ReadString("common", "MainForm", ""),
            QStringLiteral("200,0,1,40,50,%1,%2").arg(40 + frame.width()).arg(50 + frame.height()));
  EXPECT_TRUE(errors.empty());

  window.reset();
  script.opened.clear();
  create();
  EXPECT_FALSE(window->button("Soundbtn")->isChecked());
  EXPECT_EQ(storedValue(window->language()), 1);
  script.then(kClickSplash);
  showWindow();
  EXPECT_EQ(script.openedNames(), QStringList{"Splash"});
  EXPECT_EQ(window->pos(), QPoint(40, 50));
  expectTexts(*window, true);
}

// The start button in every state a game can be in.
TEST_F(MainWindowTest, StartButton) {
  struct Case {
    const char* what;
    int score;
    bool gameOver;
    std::vector<Answer> answers;
    Opens expected;
    bool newGame;
  };
  const Case cases[] = {
      {"score 0: no question", 0, false, {}, {}, true},
      {"a score, answered no", 70, false, {kNo}, {{"YesNoDlg/giveup", false}}, false},
      {"a score, answered yes",
       70,
       false,
       {kYes, kHighscoreOk},
       {{"YesNoDlg/giveup", false}, {"HighscoreDlg", false}},
       true},
      {"after game over: no question, no table", 70, true, {}, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startWithLanguage(0);
    auto& st = window->game().state();
    st.Level = 5;
    st.Score = c.score;
    st.GameOver = c.gameOver;
    const Board before = boardOf(*window);
    for (const Answer& a : c.answers) script.then(a);

    click("StartBtn");

    EXPECT_EQ(opens(script), c.expected);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(window->timer().isActive());
    if (c.newGame) {
      EXPECT_EQ(st.Level, 1);
      EXPECT_EQ(st.Score, 0);
      EXPECT_FALSE(st.GameOver);
    } else {
      EXPECT_TRUE(boardOf(*window) == before) << "the game must go on unchanged";
    }
    // Only the player's yes to giving up offers the score to the table.
    const bool offered = c.answers.size() == 2;
    EXPECT_EQ(dialogs::readTable(store)[0].score, offered ? c.score : 0);
    window.reset();
  }
}

TEST_F(MainWindowTest, PauseButtonTwicePausesOnceAndAClickResumes) {
  struct Case {
    const char* where;
    std::function<QWidget*(app::MainWindow&)> target;
    QPoint at;
  };
  const Case cases[] = {
      {"on the field", [](app::MainWindow& w) -> QWidget* { return w.field(); }, {250, 200}},
      {"on the pause text", [](app::MainWindow& w) -> QWidget* { return w.pauseText(); }, {90, 30}},
  };
  startWithLanguage(0);
  auto& st = window->game().state();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    click("PauseBtn");
    const Board paused = boardOf(*window);
    const QImage field = window->canvas().image();
    click("PauseBtn");
    EXPECT_TRUE(st.Paused);
    EXPECT_TRUE(boardOf(*window) == paused);
    EXPECT_EQ(window->canvas().image(), field) << "a second pause must not redraw";
    EXPECT_TRUE(window->pauseText()->isVisible());
    EXPECT_TRUE(window->timer().isActive()) << "pause leaves the timer running";

    QTest::mouseClick(c.target(*window), Qt::LeftButton, {}, c.at);
    EXPECT_FALSE(st.Paused);
    EXPECT_FALSE(window->pauseText()->isVisible());
    EXPECT_EQ(st.HeldCrate, 0) << "the resuming click picks nothing up";
  }
  EXPECT_TRUE(script.opened.empty());
}

void setChute(engine::GameState& st, int c, std::initializer_list<int> codes) {
  st.Stacks[c].fill(0);
  int i = 0;
  for (int code : codes) st.Stacks[c][i++] = code;
  st.StackHeight[c] = i;
}

// A crate left in the hand by a refused drop: the click that resumes the game must resume
// before its release is handled, so that release drops the crate.
TEST_F(MainWindowTest, ResumingClickDropsTheCrateInTheHand) {
  startWithLanguage(0);
  auto& st = window->game().state();
  setChute(st, 0, {21});
  setChute(st, 1, {5});
  setChute(st, 2, {});
  setChute(st, 3, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2});
  view::FieldWidget* field = window->field();
  QTest::mousePress(field, Qt::LeftButton, {}, {50, 200});
  QTest::mouseRelease(field, Qt::LeftButton, {}, {300, 200});
  ASSERT_EQ(st.HeldCrate, 21) << "the full chute refuses the crate";

  click("PauseBtn");
  ASSERT_TRUE(st.Paused);
  QTest::mouseClick(field, Qt::LeftButton, {}, {150, 200});
  EXPECT_FALSE(st.Paused);
  EXPECT_EQ(st.HeldCrate, 0);
  ASSERT_GE(st.StackHeight[1], 2);
  EXPECT_EQ(st.Stacks[1][st.StackHeight[1] - 1], 21);
}

// The press of a button other than the left one runs the top crate's action at once; a
// magnet's pull leaves a crate in the hand, which that button's release then drops.
TEST_F(MainWindowTest, OtherButtonsActOnThePressAndDropOnTheRelease) {
  startWithLanguage(0);
  auto& st = window->game().state();
  view::FieldWidget* field = window->field();
  for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    SCOPED_TRACE(button);
    setChute(st, 0, {});
    setChute(st, 1, {5, -58});
    setChute(st, 2, {11, 8, 9, 9});
    setChute(st, 3, {});
    QTest::mousePress(field, button, {}, {150, 200});
    EXPECT_EQ(st.StackHeight[1], 3) << "the two 9s pulled over by the press";
    EXPECT_EQ(st.HeldCrate, 8);
    EXPECT_EQ(st.HeldFrom, 2);
    QTest::mouseRelease(field, button, {}, {150, 200});
    EXPECT_EQ(st.HeldCrate, 0);
    EXPECT_EQ(st.StackHeight[1], 4);
    EXPECT_EQ(st.Stacks[1][3], 8);
    EXPECT_EQ(st.StackHeight[2], 1);
  }
}

TEST_F(MainWindowTest, PauseAfterGameOverDoesNothing) {
  startWithLanguage(0);
  window->game().state().GameOver = true;
  click("PauseBtn");
  EXPECT_FALSE(window->game().state().Paused);
  EXPECT_FALSE(window->pauseText()->isVisible());
}

// The window manager taking the window out of sight pauses a running game as the pause
// button would; coming back resumes nothing, only the player's click does. A game that is
// paused or over is left exactly as it is.
TEST_F(MainWindowTest, MinimisingPausesARunningGameUntilTheResumingClick) {
  struct Case {
    const char* what;
    bool paused, gameOver;
  };
  const Case cases[] = {{"running", false, false}, {"paused", true, false}, {"over", false, true}};
  startWithLanguage(0);
  auto& st = window->game().state();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window->game().NewGame();
    if (c.paused) click("PauseBtn");
    st.GameOver = c.gameOver;
    const QImage field = window->canvas().image();

    window->setWindowState(Qt::WindowMinimized);
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(st.Paused, !c.gameOver);
    EXPECT_EQ(window->pauseText()->isVisible(), !c.gameOver);
    if (c.paused || c.gameOver) {
      EXPECT_EQ(window->canvas().image(), field) << "redrawn";
    }

    if (c.gameOver) continue;
    const Board paused = boardOf(*window);
    for (int tick = 0; tick < 60; ++tick) window->game().Timer();
    EXPECT_TRUE(boardOf(*window) == paused) << "crates arrived in the pause";
    QTest::mouseClick(window->field(), Qt::LeftButton, {}, {400, 150});
    EXPECT_FALSE(st.Paused);
    EXPECT_FALSE(window->pauseText()->isVisible());
    for (int tick = 0; tick < 20; ++tick) window->game().Timer();
    EXPECT_FALSE(boardOf(*window) == paused) << "no crate after the resuming click";
  }
  EXPECT_TRUE(script.opened.empty());
}

// Which commands stop the game timer around their modal window.
TEST_F(MainWindowTest, TimerAroundModalWindows) {
  struct Case {
    const char* button;
    bool gameOver;
    Answer answer;
    const char* opens;
    bool timerDuring;
  };
  const Case cases[] = {
      {"HighScoreBtn", false, kHighscoreOk, "HighscoreDlg", false},
      {"HighScoreBtn", true, kHighscoreOk, "HighscoreDlg", true},
      {"InfoBtn", false, kAboutOk, "AboutBox", false},
      {"InfoBtn", true, kAboutOk, "AboutBox", true},
      {"TongueBtn", false, kGerman, "TongueDlg", true},
  };
  startWithLanguage(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + (c.gameOver ? " after game over" : " while running"));
    window->game().state().GameOver = c.gameOver;
    window->timer().start();  // as the clock leaves it after the game ended
    script.opened.clear();
    script.then(c.answer);
    click(c.button);
    EXPECT_EQ(opens(script), (Opens{{c.opens, c.timerDuring}}));
    EXPECT_TRUE(window->timer().isActive());
    EXPECT_FALSE(window->game().state().Paused) << "a window of the game paused it";
  }
  EXPECT_EQ(storedValue(window->language()), 1);
  expectTexts(*window, true);

  script.then(kEnglish);
  click("TongueBtn");
  EXPECT_EQ(storedValue(window->language()), 0);
  expectTexts(*window, false);
}

TEST_F(MainWindowTest, Closing) {
  struct Case {
    const char* what;
    int score;
    bool gameOver;
    std::vector<Answer> answers;
    QStringList expected;
    bool closes;
  };
  const Case cases[] = {
      {"a score, answered no: the table is still offered, the game goes on",
       70,
       false,
       {kNo, kHighscoreOk},
       {"YesNoDlg/endgame", "HighscoreDlg"},
       false},
      {"after game over, answered yes: no table", 70, true, {kYes}, {"YesNoDlg/endgame"}, true},
      {"no score, answered yes", 0, false, {kYes}, {"YesNoDlg/endgame"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startWithLanguage(1);
    auto& st = window->game().state();
    st.Score = c.score;
    st.GameOver = c.gameOver;
    const Board before = boardOf(*window);
    for (const Answer& a : c.answers) script.then(a);

    click("ExitBtn");

    EXPECT_EQ(script.openedNames(), c.expected);
    for (const Opened& o : script.opened) EXPECT_FALSE(o.timerRunning) << o.name.toStdString();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(window->isVisible(), !c.closes);
    EXPECT_EQ(window->timer().isActive(), !c.closes);
    EXPECT_EQ(dialogs::readTable(store)[0].score, c.expected.size() == 2 ? c.score : 0);
    if (c.closes) {
      EXPECT_EQ(store.ReadString("common", "tongue", ""), "1");
      EXPECT_EQ(store.ReadString("common", "sound", ""), "1");
    } else {
      EXPECT_TRUE(boardOf(*window) == before);
      EXPECT_EQ(store.ReadString("common", "sound", "none"), "none") << "saved without closing";
    }
    window.reset();
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowTest, RulesOpenAtTheTopicOfTheLanguage) {
  startWithLanguage(1);
  const Board before = boardOf(*window);
  click("RulesBtn");
  dialogs::HelpWindow* help = window->helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  const QUrl german = help->browser()->source();
  EXPECT_EQ(german.fragment(), "Das_Spiel");
  EXPECT_EQ(german.toLocalFile(), QFileInfo(window->helpFile()).absoluteFilePath());
  EXPECT_TRUE(window->timer().isActive());
  EXPECT_TRUE(boardOf(*window) == before) << "the rules do not pause the game";

  script.then(kEnglish);
  click("TongueBtn");
  click("RulesBtn");
  EXPECT_EQ(help->browser()->source().fragment(), "The_game");
  EXPECT_TRUE(script.opened.size() == 1 && script.opened[0].name == "TongueDlg");

  script.then(kYes);
  click("ExitBtn");
  EXPECT_FALSE(help->isVisible()) << "the rules close with the game";
}

}  // namespace
}  // namespace quibbix::testing
