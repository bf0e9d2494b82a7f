#pragma once
#include <QString>
#include <array>

#include "dialogs/language.h"

namespace quibbix::app {

// The main window's texts in the language installed (translations/quibbix_de.ts
// while the language is German, English otherwise).
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

WindowTexts windowTexts();

// What a screen reader says for a tool-bar button: its name, and as its description
// the button's hint followed by its key.
struct Accessible {
  QString name;
  QString description;
};
// In tool-bar order, from the tool-bar table (app/tool_bar.h).
constexpr int kToolButtons = 9;
std::array<Accessible, kToolButtons> toolBarAccessible();

// Where the help document opens for the language.
QString helpTopic(Language language);

}  // namespace quibbix::app
