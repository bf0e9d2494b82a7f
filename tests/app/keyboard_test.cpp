// The whole game from the keyboard on the real main window: the game keys reach the
// engine where the window receives them, the command keys reach the tool bar's commands,
// and every control a screen reader meets has a name in the language of the game.

#include <qpa/qwindowsysteminterface.h>
#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QTextBrowser>
#include <map>
#include <string>

#include "app_fixture.h"
#include "desktop/screen_zoom.h"
#include "dialogs/help_window.h"
#include "dialogs/score_table.h"
#include "view/field_canvas.h"
#include "view/field_widget.h"

namespace quibbix::testing {
namespace {

void setChute(engine::GameState& st, int c, std::initializer_list<int> codes) {
  st.Stacks[c].fill(0);
  int i = 0;
  for (int code : codes) st.Stacks[c][i++] = code;
  st.StackHeight[c] = i;
}

class KeyboardTest : public AppTest {
 protected:
  app::MainWindow& ready(int language) {
    startWithLanguage(language);
    return *window;
  }
  void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    // The offscreen platform leaves a closed dialog the active window; a desktop gives
    // the activation back to the main window.
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), k, mods);
    // A command that opens a modal window opens it from the event loop: its
    // posted call runs here, and no timer tick with it.
    QCoreApplication::sendPostedEvents();
  }
  // The wall strip below chute c as the field shows it, and as the background has it.
  QImage strip(int c) const { return window->canvas().image().copy(45 + 76 * c, 316, 55, 17); }
  QImage wall(int c) const {
    return window->canvas().sheets().background.copy(45 + 76 * c, 316, 55, 17);
  }
};

TEST_F(KeyboardTest, GameKeysPlayTheFieldAndTheMouseTakesTheMarkerAway) {
  ready(0);
  auto& st = window->game().state();
  window->timer().stop();  // no crate may arrive in between
  ASSERT_GT(st.StackHeight[0], 0);
  const int crate = st.Stacks[0][st.StackHeight[0] - 1];
  for (int c = 0; c < 4; ++c) ASSERT_EQ(strip(c), wall(c)) << "a marker before any key";

  key(Qt::Key_Space);
  EXPECT_EQ(st.HeldCrate, crate);
  EXPECT_NE(strip(0), wall(0)) << "no marker under chute 0";
  // Held down, Space must not drop what it just took.
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
  QCoreApplication::sendEvent(window.get(), &repeat);
  EXPECT_EQ(st.HeldCrate, crate);

  key(Qt::Key_Right);
  EXPECT_EQ(st.HeldFrom, 1);
  EXPECT_EQ(strip(0), wall(0));
  EXPECT_NE(strip(1), wall(1));
  key(Qt::Key_Down);
  EXPECT_EQ(st.HeldCrate, 0);
  EXPECT_EQ(st.Stacks[1][st.StackHeight[1] - 1], crate);

  key(Qt::Key_P);
  EXPECT_TRUE(st.Paused);
  EXPECT_NE(strip(1), wall(1)) << "the marker went with the pause's repaint";
  key(Qt::Key_P);
  EXPECT_FALSE(st.Paused);
  EXPECT_NE(strip(1), wall(1));

  // Any press of the mouse on the field hides it; the strip is the wall again.
  QTest::mouseClick(window->field(), Qt::LeftButton, {}, QPoint(420, 20));
  for (int c = 0; c < 4; ++c) EXPECT_EQ(strip(c), wall(c)) << "chute " << c;
  EXPECT_TRUE(script.opened.empty());
}

// A pause that begins while a button is held takes that button's release away: it neither
// resumes nor drops. The crate stays in the hand, and whatever resumes brings it back in
// sight: the resuming click drops it where it is released, P draws it over its chute.
TEST_F(KeyboardTest, APauseBetweenPressAndReleaseKeepsTheCrateInTheHand) {
  ready(0);
  auto& st = window->game().state();
  window->timer().stop();
  view::FieldWidget* field = window->field();
  const auto hand = [&](int c) { return window->canvas().image().copy(45 + 76 * c, 16, 55, 20); };
  const QImage emptyHand = hand(0);
  for (const bool resumeByKey : {true, false}) {
    SCOPED_TRACE(resumeByKey ? "resumed by P" : "resumed by a click");
    ASSERT_GT(st.StackHeight[0], 0);
    const int crate = st.Stacks[0][st.StackHeight[0] - 1];
    const int heights[4] = {st.StackHeight[0], st.StackHeight[1], st.StackHeight[2],
                            st.StackHeight[3]};
    QTest::mousePress(field, Qt::LeftButton, {}, {72, 200});
    ASSERT_EQ(st.HeldCrate, crate);
    const QImage held = hand(0);
    ASSERT_NE(held, emptyHand);

    key(Qt::Key_P);
    ASSERT_TRUE(st.Paused);
    QTest::mouseMove(field, {224, 200});
    QTest::mouseRelease(field, Qt::LeftButton, {}, {224, 200});
    EXPECT_TRUE(st.Paused) << "the release resumed the game";
    EXPECT_EQ(st.HeldCrate, crate) << "the release dropped the crate";
    EXPECT_EQ(st.StackHeight[2], heights[2]);

    if (resumeByKey) {
      key(Qt::Key_P);
      EXPECT_FALSE(st.Paused);
      EXPECT_EQ(hand(0), held) << "the crate in the hand is not shown";
      key(Qt::Key_Space);
      EXPECT_EQ(st.HeldCrate, 0);
      EXPECT_EQ(st.StackHeight[0], heights[0]) << "Space put it back where it came from";
    } else {
      QTest::mouseClick(field, Qt::LeftButton, {}, {148, 200});
      EXPECT_FALSE(st.Paused);
      EXPECT_EQ(st.HeldCrate, 0);
      EXPECT_EQ(st.StackHeight[1], heights[1] + 1) << "the resuming click's release drops it";
    }
  }
  EXPECT_TRUE(script.opened.empty());
}

// A zoom key that cannot change the zoom changes no choice: a game that follows the
// desktop keeps following it.
TEST_F(KeyboardTest, AZoomKeyAtItsLimitLeavesTheChoice) {
  ready(0);
  ASSERT_EQ(window->zoomChoice(), 0);
  for (const Qt::Key k : {Qt::Key_Minus, Qt::Key_Plus}) {
    key(k, Qt::ControlModifier);
    ASSERT_EQ(desktop::currentZoom(), 1) << "the offscreen screen holds only zoom 1";
    EXPECT_EQ(window->zoomChoice(), 0);
  }
}

// A key as the X server hands it over: to the window that had the keyboard focus
// when it was typed. Typed during a busy wait, it is read only when the program
// next handles events, which may be inside a dialog that has just been opened.
struct Stroke {
  Qt::Key key;
  Qt::KeyboardModifiers mods;
};

template <typename Delivery>
void type(QWindow* window, const std::vector<Stroke>& keys) {
  for (const Stroke& k : keys) {
    const QString text = k.mods == Qt::NoModifier && k.key >= Qt::Key_A && k.key <= Qt::Key_Z
                             ? QString(QChar(k.key)).toLower()
                             : QString();
    QWindowSystemInterface::handleKeyEvent<Delivery>(window, QEvent::KeyPress, k.key, k.mods, text);
    QWindowSystemInterface::handleKeyEvent<Delivery>(window, QEvent::KeyRelease, k.key, k.mods,
                                                     text);
  }
}

// Every command a key gives, the game's own N and P included; Ctrl+H comes first, so
// that typed ahead into a game that opens nothing it is the one that opens a window.
const std::vector<Stroke> kCommandKeys = {
    {Qt::Key_H, Qt::ControlModifier},    {Qt::Key_N, Qt::ControlModifier},
    {Qt::Key_L, Qt::ControlModifier},    {Qt::Key_Q, Qt::ControlModifier},
    {Qt::Key_F1, Qt::NoModifier},        {Qt::Key_M, Qt::NoModifier},
    {Qt::Key_N, Qt::NoModifier},         {Qt::Key_P, Qt::NoModifier},
    {Qt::Key_Plus, Qt::ControlModifier}, {Qt::Key_Minus, Qt::ControlModifier},
    {Qt::Key_0, Qt::ControlModifier},
};

// Types the command keys into the event queue at the field's first repaint from now
// on, that is inside the game's next animation, whose busy wait reads no events.
class TypeAheadInAnimation : public QObject {
 public:
  explicit TypeAheadInAnimation(app::MainWindow& window) : window_(window) {
    window.field()->installEventFilter(this);
  }
  bool typed = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !typed) {
      typed = true;
      type<QWindowSystemInterface::AsynchronousDelivery>(window_.windowHandle(), kCommandKeys);
    }
    return false;
  }

 private:
  app::MainWindow& window_;
};

// A dialog's answer once every key typed so far has been handled, with the dialog open.
Answer afterTypedKeys(Answer answer) {
  return [answer](QDialog* dialog) {
    QWindowSystemInterface::flushWindowSystemEvents();
    answer(dialog);
  };
}

// Typed ahead during an animation, or delivered to the main window while the game-over
// message is being opened or is up (a desktop may leave the focus there until the message
// is mapped), the command keys open no window over a modal one and change nothing: the
// game over still offers the high score. Typed into a game that opens nothing, they act
// as always, and the first window they open stops the rest.
TEST_F(KeyboardTest, CommandKeysOpenNoWindowOverAModalOne) {
  ready(0);
  auto& st = window->game().state();
  window->timer().stop();
  // As on a desktop: the game's window has the keyboard.
  QApplication::setActiveWindow(window.get());
  const bool sound = window->button("Soundbtn")->isChecked();
  const auto expectUntouched = [&] {
    EXPECT_EQ(script.mostAtOnce, 1);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(window->button("Soundbtn")->isChecked(), sound) << "M toggled the sound";
    EXPECT_EQ(storedValue(window->language()), 0) << "Ctrl+L chose a language";
    EXPECT_EQ(window->helpWindow(), nullptr) << "F1 opened the rules";
    EXPECT_FALSE(st.Paused) << "P paused";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop::currentZoom(), 1);
    EXPECT_EQ(window->zoomChoice(), 0);
  };

  {
    SCOPED_TRACE("typed during a triple's animation");
    setChute(st, 0, {9});
    setChute(st, 1, {5, 9, 9});
    setChute(st, 2, {});
    setChute(st, 3, {});
    st.Score = 70;
    QTest::mousePress(window->field(), Qt::LeftButton, {}, {72, 200});
    ASSERT_EQ(st.HeldCrate, 9);
    TypeAheadInAnimation typing(*window);
    script.then(afterTypedKeys(kHighscoreOk));
    QTest::mouseRelease(window->field(), Qt::LeftButton, {}, {150, 200});
    ASSERT_TRUE(typing.typed);
    ASSERT_EQ(st.StackHeight[1], 1) << "no triple";
    QWindowSystemInterface::flushWindowSystemEvents();
    // The window Ctrl+H opens comes from the event loop.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(script.openedNames(), QStringList{"HighscoreDlg"});
    EXPECT_FALSE(st.GameOver);
    expectUntouched();
  }
  {
    SCOPED_TRACE("typed during the game over's animation and its message");
    script.reset();
    for (int c = 0; c < 4; ++c) setChute(st, c, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2});
    st.Score = 70;
    st.TickCounter = 19;  // the next tick brings a crate, and there is no room for it
    TypeAheadInAnimation typing(*window);
    // Delivered while the message is being opened, before it blocks the window.
    script.onShow = [this](QDialog*) {
      script.onShow = nullptr;
      QApplication::setActiveWindow(window.get());
      type<QWindowSystemInterface::SynchronousDelivery>(window->windowHandle(), kCommandKeys);
    };
    script.then(afterTypedKeys([this](QDialog* message) {
      QApplication::setActiveWindow(window.get());
      type<QWindowSystemInterface::SynchronousDelivery>(window->windowHandle(), kCommandKeys);
      kYes(message);
    }));
    script.then(afterTypedKeys(kHighscoreOk));
    window->game().Timer();
    ASSERT_TRUE(typing.typed);
    EXPECT_TRUE(st.GameOver);
    EXPECT_EQ(script.openedNames(), (QStringList{"YesNoDlg/gameover", "HighscoreDlg"}));
    EXPECT_EQ(dialogs::readTable(store)[0].score, 70) << "the high score was not offered";
    expectUntouched();
  }
}

TEST_F(KeyboardTest, CommandKeysReachTheToolBarCommands) {
  ready(0);
  auto& st = window->game().state();
  st.Score = 70;
  struct Case {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    Answer answer;
    const char* opens;
  };
  const Case cases[] = {
      {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, kNo, "YesNoDlg/giveup"},
      {"Ctrl+H", Qt::Key_H, Qt::ControlModifier, kHighscoreOk, "HighscoreDlg"},
      {"Ctrl+L", Qt::Key_L, Qt::ControlModifier, kGerman, "TongueDlg"},
      {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier, kNo, "YesNoDlg/endgame"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script.opened.clear();
    script.then(c.answer);
    if (std::string(c.what) == "Ctrl+Q") script.then(kHighscoreOk);  // points are offered
    key(c.key, c.mods);
    ASSERT_FALSE(script.opened.empty());
    EXPECT_EQ(script.opened[0].name, c.opens);
    EXPECT_TRUE(script.done());
  }
  EXPECT_EQ(storedValue(window->language()), 1);
  EXPECT_TRUE(window->isVisible()) << "answered no, the game goes on";
  EXPECT_EQ(st.Score, 70);

  const bool sound = window->button("Soundbtn")->isChecked();
  key(Qt::Key_M);
  EXPECT_NE(window->button("Soundbtn")->isChecked(), sound);
  key(Qt::Key_M);
  EXPECT_EQ(window->button("Soundbtn")->isChecked(), sound);

  key(Qt::Key_F1);
  ASSERT_NE(window->helpWindow(), nullptr);
  EXPECT_TRUE(window->helpWindow()->isVisible());
  EXPECT_EQ(window->helpWindow()->browser()->source().fragment(), "Das_Spiel");
  const QString rules = window->helpWindow()->browser()->toPlainText();
  EXPECT_TRUE(rules.contains(QStringLiteral("Tastatur")));
  EXPECT_TRUE(rules.contains(QStringLiteral("Keyboard")));
}

// What a screen reader reads for a widget.
QString spoken(QWidget* w, QAccessible::Text what) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(what) : QString();
}

TEST_F(KeyboardTest, EveryToolButtonHasANameAndDescriptionInTheLanguage) {
  const char* const names[] = {"StartBtn",  "PauseBtn", "Soundbtn", "HighScoreBtn", "ExitBtn",
                               "TongueBtn", "RulesBtn", "InfoBtn",  "ZorvyBtn"};
  std::map<std::string, QString> english;
  for (int language : {0, 1}) {
    ready(language);
    for (const char* name : names) {
      SCOPED_TRACE(name);
      QWidget* b = window->button(QString::fromLatin1(name));
      const QString spokenName = spoken(b, QAccessible::Name);
      EXPECT_FALSE(spokenName.isEmpty());
      EXPECT_FALSE(spoken(b, QAccessible::Description).isEmpty());
      if (language == 0) english[name] = spokenName;
      // A language switch reaches the screen reader too (the pause keeps its word).
      if (language == 1 && std::string(name) != "PauseBtn") {
        EXPECT_NE(spokenName, english[name]);
      }
    }
    EXPECT_TRUE(spoken(window->button("StartBtn"), QAccessible::Description)
                    .contains(language == 1 ? "Strg+N" : "Ctrl+N"));
    window.reset();
  }
}

// Checks every button, check box and text field of a dialog as it shows, then answers.
Answer namedThen(Answer answer, int* checked) {
  return [answer, checked](QDialog* dialog) {
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      if (!w->isVisibleTo(dialog)) continue;
      if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLineEdit*>(w)) continue;
      EXPECT_FALSE(spoken(w, QAccessible::Name).isEmpty())
          << modalName(dialog).toStdString() << " " << w->objectName().toStdString();
      EXPECT_FALSE(spoken(w, QAccessible::Description).isEmpty())
          << modalName(dialog).toStdString() << " " << w->objectName().toStdString();
      ++*checked;
    }
    answer(dialog);
  };
}

TEST_F(KeyboardTest, EveryDialogControlHasANameAndDescription) {
  int checked = 0;
  ready(1);
  window->game().state().Score = 70;
  script.then(namedThen(kEnglish, &checked));
  key(Qt::Key_L, Qt::ControlModifier);
  script.then(namedThen(kNo, &checked));
  key(Qt::Key_N, Qt::ControlModifier);
  script.then(namedThen(kHighscoreOk, &checked));
  key(Qt::Key_H, Qt::ControlModifier);
  script.then(namedThen(kAboutOk, &checked));
  window->button("InfoBtn")->click();
  QCoreApplication::sendPostedEvents();
  // The table with a name field: offered on the way out.
  script.then(namedThen(kNo, &checked));
  script.then(namedThen(kHighscoreOk, &checked));
  key(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(script.done());
  // Two language buttons, Yes and No, OK, Cancel and the check box, OK, Yes and No,
  // and the table again with its name field.
  EXPECT_EQ(checked, 2 + 2 + 3 + 1 + 2 + 4);
}

}  // namespace
}  // namespace quibbix::testing
