// The board as a screen reader reads it, in-process: the field's objects
// against the game's state, the events a change raises, and the actions that
// go where the mouse and the keys go.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <vector>

#include "app/tool_bar.h"
#include "app_fixture.h"
#include "dialogs/splash.h"
#include "view/crate_kinds.h"
#include "view/field_widget.h"

namespace quibbix::testing {
namespace {

struct Heard {
  QAccessible::Event type;
  QString name;
  QAccessible::Role role;
};
std::vector<Heard>* heard = nullptr;

void listen(QAccessibleEvent* event) {
  if (heard == nullptr) return;
  QAccessibleInterface* iface = event->accessibleInterface();
  heard->push_back({event->type(), iface != nullptr ? iface->text(QAccessible::Name) : QString(),
                    iface != nullptr ? iface->role() : QAccessible::NoRole});
}

void setChute(engine::GameState& st, int c, std::initializer_list<int> codes) {
  st.Stacks[c].fill(0);
  int i = 0;
  for (int code : codes) st.Stacks[c][i++] = code;
  st.StackHeight[c] = i;
}

class BoardAccessibleTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    QAccessible::installUpdateHandler(&listen);
    // As when a screen reader is running: the offscreen platform has no bridge
    // to one, and the events come to the handler above.
    setActive(true);
    heard = &events;
  }
  void TearDown() override {
    heard = nullptr;
    setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    AppTest::TearDown();
  }

  static void setActive(bool active) {
    if (QPlatformAccessibility* a = QGuiApplicationPrivate::platformIntegration()->accessibility())
      a->setActive(active);
  }

  QAccessibleInterface* fieldIface() {
    return QAccessible::queryAccessibleInterface(window->field());
  }
  QAccessibleInterface* pauseIface() {
    return QAccessible::queryAccessibleInterface(window->button(app::Command::Pause));
  }
  // The board is announced once the handler that changed it is done.
  void settle() { QCoreApplication::sendPostedEvents(); }
  bool heardNamed(QAccessible::Event type, const QString& start) const {
    for (const Heard& h : events)
      if (h.type == type && h.name.startsWith(start)) return true;
    return false;
  }
  int heardOf(QAccessible::Event type) const {
    int n = 0;
    for (const Heard& h : events) n += h.type == type ? 1 : 0;
    return n;
  }

  std::vector<Heard> events;
};

TEST_F(BoardAccessibleTest, TheFieldsObjectsReadTheBoardInEitherLanguage) {
  startWithLanguage(0);
  auto& st = window->game().state();
  setChute(st, 0, {1, 56, 17});
  setChute(st, 1, {});
  setChute(st, 2, {35});
  setChute(st, 3, {-60, 2});
  st.Score = 120;
  st.Level = 3;
  st.CoveredCount = 7;
  st.PictureTileCount = 40;
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    QAccessibleInterface* f = fieldIface();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->text(QAccessible::Name), language == 1 ? "Spielfeld" : "Playing field");
    ASSERT_EQ(f->childCount(), 8);
    const bool de = language == 1;
    EXPECT_EQ(f->child(0)->text(QAccessible::Name), de ? "Punkte: 120" : "Score: 120");
    EXPECT_EQ(f->child(1)->text(QAccessible::Name), de ? "Stufe: 3" : "Level: 3");
    QAccessibleInterface* chute1 = f->child(2);
    EXPECT_EQ(chute1->role(), QAccessible::List);
    EXPECT_EQ(chute1->text(QAccessible::Name), de ? "Schacht 1: 3 Kisten" : "Chute 1: 3 crates");
    ASSERT_EQ(chute1->childCount(), 3);
    // From the top down.
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(chute1->child(i)->role(), QAccessible::ListItem);
      EXPECT_EQ(chute1->child(i)->text(QAccessible::Name),
                view::crateName(std::array{17, 56, 1}[i]));
      EXPECT_EQ(chute1->child(i)->parent(), chute1);
      EXPECT_EQ(chute1->indexOfChild(chute1->child(i)), i);
    }
    EXPECT_EQ(f->child(3)->text(QAccessible::Name), de ? "Schacht 2: leer" : "Chute 2: empty");
    EXPECT_EQ(f->child(3)->childCount(), 0);
    EXPECT_EQ(f->child(4)->text(QAccessible::Name), de ? "Schacht 3: 1 Kiste" : "Chute 3: 1 crate");
    // A blinking special crate is named the same in either phase.
    EXPECT_EQ(chute1->child(1)->text(QAccessible::Name), de ? "Bombe" : "Bomb");
    EXPECT_EQ(f->child(5)->child(1)->text(QAccessible::Name), view::crateName(60));
    EXPECT_EQ(f->child(5)->child(1)->text(QAccessible::Name),
              de ? "Stachelwesen" : "Spiky creature");
    EXPECT_EQ(f->child(6)->text(QAccessible::Name), de ? "Hand: leer" : "Hand: empty");
    EXPECT_EQ(f->child(7)->text(QAccessible::Name),
              de ? "Bild: 7 von 40 Feldern verdeckt" : "Picture: 7 of 40 tiles covered");
    EXPECT_EQ(f->indexOfChild(f->child(5)), 5);
    EXPECT_EQ(f->focusChild(), f->child(2)) << "the keyboard's chute";
    if (language == 0) {
      script.then(kGerman);
      window->TongueBtnClick();
    }
  }
}

TEST_F(BoardAccessibleTest, ATripleIsAnnouncedAndTheKeysChuteTakesTheFocusOnlyWhenTheKeysMoveIt) {
  startWithLanguage(0);
  window->timer().stop();
  QApplication::setActiveWindow(window.get());
  auto& st = window->game().state();
  setChute(st, 0, {9});
  setChute(st, 1, {5, 9, 9});
  setChute(st, 2, {});
  setChute(st, 3, {});
  st.Score = 0;
  window->game().Paint();
  settle();
  events.clear();

  QTest::mousePress(window->field(), Qt::LeftButton, {}, {72, 200});
  settle();
  EXPECT_TRUE(heardNamed(QAccessible::NameChanged, QStringLiteral("Hand: ")));
  EXPECT_TRUE(heardNamed(QAccessible::NameChanged, QStringLiteral("Chute 1: empty")));
  events.clear();
  QTest::mouseRelease(window->field(), Qt::LeftButton, {}, {150, 200});
  settle();
  ASSERT_EQ(st.StackHeight[1], 1) << "no triple";
  EXPECT_TRUE(heardNamed(QAccessible::NameChanged, QStringLiteral("Score: ")));
  EXPECT_TRUE(heardNamed(QAccessible::NameChanged, QStringLiteral("Chute 2: 1 crate")));
  EXPECT_TRUE(heardNamed(QAccessible::NameChanged, QStringLiteral("Picture: ")));
  EXPECT_TRUE(heardNamed(QAccessible::NameChanged, QStringLiteral("Hand: empty")));
  EXPECT_GE(heardOf(QAccessible::ObjectDestroyed), 2) << "the lifted crates leave the list";
  EXPECT_EQ(heardOf(QAccessible::Focus), 0) << "the game took the screen reader's focus";

  events.clear();
  QTest::keyClick(window.get(), Qt::Key_Right);
  settle();
  EXPECT_TRUE(heardNamed(QAccessible::Focus, QStringLiteral("Chute 2")));
  EXPECT_EQ(fieldIface()->focusChild(), fieldIface()->child(3));
}

TEST_F(BoardAccessibleTest, PauseIsTheButtonsStateAndTheFieldsActionResumesAsTheClickDoes) {
  startWithLanguage(0);
  QAccessibleInterface* pause = pauseIface();
  ASSERT_NE(pause, nullptr);
  EXPECT_TRUE(pause->state().checkable);
  EXPECT_FALSE(pause->state().checked);
  QAccessibleActionInterface* press = pause->actionInterface();
  ASSERT_NE(press, nullptr);
  ASSERT_EQ(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});

  events.clear();
  press->doAction(QAccessibleActionInterface::pressAction());
  settle();
  EXPECT_TRUE(window->game().state().Paused);
  EXPECT_TRUE(pause->state().checked);
  EXPECT_TRUE(pause->state().pressed);
  EXPECT_GE(heardOf(QAccessible::StateChanged), 1) << "the pause was not announced";
  EXPECT_TRUE(fieldIface()->text(QAccessible::Description).startsWith("Game paused"));
  // A second press pauses once.
  press->doAction(QAccessibleActionInterface::pressAction());
  settle();
  EXPECT_TRUE(window->game().state().Paused);

  QAccessibleActionInterface* field = fieldIface()->actionInterface();
  ASSERT_NE(field, nullptr);
  field->doAction(field->actionNames().value(0));
  settle();
  EXPECT_FALSE(window->game().state().Paused);
  EXPECT_FALSE(pause->state().checked);
  // Running, the field's action does nothing.
  field->doAction(field->actionNames().value(0));
  settle();
  EXPECT_FALSE(window->game().state().Paused);

  // The sound button's state is its own.
  QAccessibleInterface* sound =
      QAccessible::queryAccessibleInterface(window->button(app::Command::Sound));
  const bool on = window->button(app::Command::Sound)->isChecked();
  EXPECT_EQ(sound->state().checked, on);
  sound->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(window->button(app::Command::Sound)->isChecked(), !on);
  EXPECT_EQ(sound->state().checked, !on);
}

TEST_F(BoardAccessibleTest, TheMainWindowIsAFrameAndTheSplashHasAName) {
  startWithLanguage(0);
  QAccessibleInterface* main = QAccessible::queryAccessibleInterface(window.get());
  EXPECT_EQ(main->role(), QAccessible::Window);
  EXPECT_EQ(main->text(QAccessible::Name), "Quibbix V2.2");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window->splash())->text(QAccessible::Name),
            "Quibbix V2.2");
}

}  // namespace
}  // namespace quibbix::testing
