#include "app/texts.h"

#include <QCoreApplication>

namespace quibbix::app {

WindowTexts windowTexts() {
  return {
      QCoreApplication::translate("quibbix::app::MainWindow", "I start again."),
      QCoreApplication::translate("quibbix::app::MainWindow", "What's to do here?"),
      QCoreApplication::translate("quibbix::app::MainWindow", "I need a break."),
      QCoreApplication::translate("quibbix::app::MainWindow", "I dont like the sound always."),
      QCoreApplication::translate("quibbix::app::MainWindow", "Who are the best?"),
      QCoreApplication::translate("quibbix::app::MainWindow", "I have enough!"),
      QCoreApplication::translate("quibbix::app::MainWindow", "Who did these ZORVYPLAY?"),
      QCoreApplication::translate("quibbix::app::MainWindow", "Hurrah, there are more ZORVYPLAY."),
      QCoreApplication::translate("quibbix::app::MainWindow",
                                  "Game paused! Press left mouse button to continue."),
      QCoreApplication::translate("quibbix::app::MainWindow", "Next level!"),
      // The source is German on purpose: the hint is always in the other language,
      // so the English game shows this and the German game its translation.
      QCoreApplication::translate("quibbix::app::MainWindow", "Ich spreche nicht englisch."),
  };
}

QString helpTopic(Language language) {
  return language == Language::German ? QStringLiteral("Das_Spiel") : QStringLiteral("The_game");
}

}  // namespace quibbix::app
