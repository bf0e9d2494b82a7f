#include "app/texts.h"

namespace quibbix::app {

WindowTexts windowTexts(int language) {
  if (language == 1) {
    return {
        QStringLiteral("Ich fang neu an."),
        QStringLiteral("Worum geht's da eigentlich?"),
        QStringLiteral("Ich brauch eine kurze Pause."),
        QStringLiteral("Die Geräusche mag ich nicht immer."),
        QStringLiteral("Wer sind die Besten?"),
        QStringLiteral("Ich hab genug!"),
        QStringLiteral("Wer hat diese Spiele nur verbrochen?"),
        QStringLiteral("Hurra, es gibt noch mehr Zorvyplay."),
        QStringLiteral("Spiel angehalten! Linke Maustaste zum weitermachen."),
        QStringLiteral("Nächste Stufe!"),
        QStringLiteral("I don't speak german."),
    };
  }
  return {
      QStringLiteral("I start again."),
      QStringLiteral("What's to do here?"),
      QStringLiteral("I need a break."),
      QStringLiteral("I dont like the sound always."),
      QStringLiteral("Who are the best?"),
      QStringLiteral("I have enough!"),
      QStringLiteral("Who did these ZORVYPLAY?"),
      QStringLiteral("Hurrah, there are more ZORVYPLAY."),
      QStringLiteral("Game paused! Press left mouse button to continue."),
      QStringLiteral("Next level!"),
      QStringLiteral("Ich spreche nicht englisch."),
  };
}

QString helpTopic(int language) {
  return language == 1 ? QStringLiteral("Das_Spiel") : QStringLiteral("The_game");
}

}  // namespace quibbix::app
