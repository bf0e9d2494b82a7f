#pragma once
#include <QString>

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

// Where the help document opens for the language.
QString helpTopic(int language);

}  // namespace quibbix::app
