#pragma once
// The tool bar's commands, one row each: from a row come the button, its key and
// what the button says (its hint, and its name and description for a screen
// reader). A command added here has all of them, in one place.
#include <QKeyCombination>
#include <QString>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "app/texts.h"

namespace quibbix::app {

enum class Command { NewGame, Pause, Sound, HighScores, Quit, Language, Rules, About, MakerSite };

// How a command's key reaches it.
enum class KeyRoute {
  None,      // no key
  Shortcut,  // a window-wide shortcut of its own
  GameKey,   // one of the game keys, which reach the command through the keyboard's rules
};

struct CommandRow {
  Command command;
  // The designer's name of the button.
  const char* name;
  int left;
  int width;
  // The glyph's resource name under :/glyphs/.
  const char* glyph;
  QKeyCombination key;
  KeyRoute route;
  // The hint among the window's texts.
  QString WindowTexts::*hint;
  // What a screen reader calls the button, in English (QT_TRANSLATE_NOOP, context
  // "quibbix::app::ToolBar").
  const char* accessibleName;
  // The command shows a modal window.
  bool opensWindow;
};

inline constexpr int kCommands = kToolButtons;
// In tool-bar order, left to right.
extern const std::array<CommandRow, kCommands> kToolBar;

const CommandRow& rowOf(Command command);

// The key as a player reads it in the description, in the language installed:
// "Ctrl+N", "Strg+N", "P", "F1"; empty without a key.
QString keyText(const CommandRow& row);

// A tool-bar button. However it is pressed, by the mouse, its key or a screen
// reader's action, it hands its command to the same guarded call; a toggle
// does not flip itself, the command sets its state.
class CommandButton : public QToolButton {
 public:
  CommandButton(QWidget* parent, Command command, std::function<void(Command)> invoke);
  Command command() const { return command_; }
  void press() { invoke_(command_); }
  // For a button that stands for a state (sound on, the game paused): the
  // state a screen reader is told; none for a plain button.
  std::function<std::optional<bool>()> shownState;
  // The state changed without the button's own doing: told to the screen reader.
  void stateChanged();

 protected:
  void nextCheckState() override {}

 private:
  Command command_;
  std::function<void(Command)> invoke_;
};

// The tool bar `Panel1`: its buttons, built from the table, each one handing its
// click to `invoke`.
class ToolBar : public QWidget {
 public:
  ToolBar(QWidget* parent, const std::function<void(Command)>& invoke);

  CommandButton* button(Command command) const { return buttons_[index(command)]; }
  // The hints and the screen reader's texts in the language installed.
  void applyLanguage();

  static int index(Command command) { return static_cast<int>(command); }

 private:
  std::array<CommandButton*, kCommands> buttons_{};
};

}  // namespace quibbix::app
