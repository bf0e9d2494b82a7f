#include "app/tool_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeySequence>

#include "desktop/crisp_glyphs.h"
#include "view/png.h"

namespace quibbix::app {

namespace {

constexpr QKeyCombination kNoKey{};

// What a screen reader finds of a tool-bar button: its name and description,
// its state when it stands for one, and one action, the press, which goes
// where the mouse and the key go.
class CommandButtonInterface : public QAccessibleWidget {
 public:
  explicit CommandButtonInterface(CommandButton* b) : QAccessibleWidget(b, QAccessible::Button) {}

  CommandButton* button() const { return static_cast<CommandButton*>(widget()); }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (button()->shownState) {
      const std::optional<bool> on = button()->shownState();
      s.checkable = true;
      s.checked = on.value_or(false);
      s.pressed = on.value_or(false);
    }
    return s;
  }
  QStringList actionNames() const override {
    return widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && widget()->isEnabled()) button()->press();
  }
};

QAccessibleInterface* commandButtonFactory(const QString&, QObject* object) {
  if (auto* b = dynamic_cast<CommandButton*>(object)) return new CommandButtonInterface(b);
  // The buttons' panel is the window's tool bar.
  if (auto* bar = dynamic_cast<ToolBar*>(object))
    return new QAccessibleWidget(bar, QAccessible::ToolBar);
  return nullptr;
}

}  // namespace

CommandButton::CommandButton(QWidget* parent, Command command, std::function<void(Command)> invoke)
    : QToolButton(parent), command_(command), invoke_(std::move(invoke)) {
  static const bool installed = [] {
    QAccessible::installFactory(&commandButtonFactory);
    return true;
  }();
  (void)installed;
  connect(this, &QToolButton::clicked, this, [this] { press(); });
}

void CommandButton::stateChanged() {
  if (!shownState) return;
  QAccessible::State changed;
  changed.checked = true;
  changed.pressed = true;
  QAccessibleStateChangeEvent event(this, changed);
  QAccessible::updateAccessibility(&event);
}

const std::array<CommandRow, kCommands> kToolBar{{
    {Command::NewGame, "StartBtn", 4, 25, "start", Qt::CTRL | Qt::Key_N, KeyRoute::Shortcut,
     &WindowTexts::startHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "New game"), true},
    {Command::Pause, "PauseBtn", 32, 25, "pause", QKeyCombination(Qt::Key_P), KeyRoute::GameKey,
     &WindowTexts::pauseHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "Pause"), false},
    {Command::Sound, "Soundbtn", 60, 25, "sound", QKeyCombination(Qt::Key_M), KeyRoute::Shortcut,
     &WindowTexts::soundHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "Sound on or off"), false},
    {Command::HighScores, "HighScoreBtn", 88, 25, "highscore", Qt::CTRL | Qt::Key_H,
     KeyRoute::Shortcut, &WindowTexts::highscoreHint,
     QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "High scores"), true},
    {Command::Quit, "ExitBtn", 116, 25, "exit", Qt::CTRL | Qt::Key_Q, KeyRoute::Shortcut,
     &WindowTexts::exitHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "Quit"), true},
    {Command::Language, "TongueBtn", 380, 25, "tongue", Qt::CTRL | Qt::Key_L, KeyRoute::Shortcut,
     &WindowTexts::tongueHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "Language"), true},
    {Command::Rules, "RulesBtn", 408, 25, "rules", QKeyCombination(Qt::Key_F1), KeyRoute::Shortcut,
     &WindowTexts::rulesHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "Rules"), false},
    {Command::About, "InfoBtn", 436, 25, "info", kNoKey, KeyRoute::None, &WindowTexts::infoHint,
     QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "About"), true},
    {Command::MakerSite, "ZorvyBtn", 464, 29, "zorvy", kNoKey, KeyRoute::None,
     &WindowTexts::zorvyHint, QT_TRANSLATE_NOOP("quibbix::app::ToolBar", "Maker's web site"),
     false},
}};

const CommandRow& rowOf(Command command) { return kToolBar[ToolBar::index(command)]; }

// Qt names the Ctrl key from its own translations (qtbase_de.qm); the game's
// German says it too, so that "Strg" does not hang on Qt's file being installed.
[[maybe_unused]] constexpr const char* kCtrlInGerman = QT_TRANSLATE_NOOP("QShortcut", "Ctrl");

QString keyText(const CommandRow& row) {
  if (row.route == KeyRoute::None) return {};
  return QKeySequence(row.key).toString(QKeySequence::NativeText);
}

std::array<Accessible, kToolButtons> toolBarAccessible() {
  const WindowTexts hints = windowTexts();
  std::array<Accessible, kToolButtons> result;
  for (int i = 0; i < kCommands; ++i) {
    const CommandRow& row = kToolBar[i];
    result[i] = {QCoreApplication::translate("quibbix::app::ToolBar", row.accessibleName),
                 hints.*row.hint};
    if (const QString keys = keyText(row); !keys.isEmpty())
      result[i].description = QCoreApplication::translate("quibbix::app::ToolBar", "%1 Key: %2")
                                  .arg(result[i].description, keys);
  }
  return result;
}

ToolBar::ToolBar(QWidget* parent, const std::function<void(Command)>& invoke) : QWidget(parent) {
  setObjectName(QStringLiteral("Panel1"));
  setGeometry(0, 0, 500, 33);
  for (const CommandRow& row : kToolBar) {
    auto* b = new CommandButton(this, row.command, invoke);
    b->setObjectName(QString::fromLatin1(row.name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(row.left, 4, row.width, 25);
    const QPixmap picture =
        view::readPngPixmap(QStringLiteral(":/glyphs/%1.png").arg(QLatin1String(row.glyph)));
    b->setIcon(desktop::crispIcon(picture));
    if (!picture.isNull()) b->setIconSize(picture.size());
    buttons_[index(row.command)] = b;
    if (row.command == Command::Sound) {
      // The loudspeaker is a toggle: down means sound on. Its greyed twin is its disabled look.
      b->setIcon(desktop::crispIcon(picture,
                                    view::readPngPixmap(QStringLiteral(":/glyphs/sound_off.png"))));
      b->setCheckable(true);
      b->shownState = [b] { return std::optional<bool>(b->isChecked()); };
      connect(b, &QToolButton::toggled, b, &CommandButton::stateChanged);
    }
  }
}

void ToolBar::applyLanguage() {
  const WindowTexts texts = windowTexts();
  const auto access = toolBarAccessible();
  for (int i = 0; i < kCommands; ++i) {
    buttons_[i]->setToolTip(texts.*kToolBar[i].hint);
    buttons_[i]->setAccessibleName(access[i].name);
    buttons_[i]->setAccessibleDescription(access[i].description);
  }
}

}  // namespace quibbix::app
