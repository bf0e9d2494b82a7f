#pragma once
#include <QString>
#include <array>

namespace quibbix::app {

// The main window's texts in one language: German exactly when the language is 1,
// English for every other value (0, and -1 before a language was ever chosen).
struct WindowTexts {
  QString startHint;
  QString rulesHint;
  QString pauseHint;
  QString soundHint;
  QString highscoreHint;
  QString exitHint;
  QString infoHint;
  QString zorvyHint;
  QString pauseText;
  QString nextLevel;
  // Always in the other language: it is the way out for a player who cannot read this one.
  QString tongueHint;
};

WindowTexts windowTexts(int language);

// What a screen reader says for a tool-bar button: its name, and as its description
// the button's hint followed by its key.
struct Accessible {
  QString name;
  QString description;
};
// In tool-bar order, from the tool-bar table (app/tool_bar.h).
constexpr int kToolButtons = 9;
std::array<Accessible, kToolButtons> toolBarAccessible(int language);

// Where the help document opens for the language.
QString helpTopic(int language);

}  // namespace quibbix::app
