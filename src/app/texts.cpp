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

std::array<Accessible, kToolButtons> toolBarAccessible(int language) {
  const WindowTexts hints = windowTexts(language);
  const bool german = language == 1;
  const QString key = german ? QStringLiteral(" Taste: ") : QStringLiteral(" Key: ");
  const QString ctrl = german ? QStringLiteral("Strg+") : QStringLiteral("Ctrl+");
  const auto entry = [&](const char* english, const char* deutsch, const QString& hint,
                         const QString& keys) {
    Accessible a{QString::fromUtf8(german ? deutsch : english), hint};
    if (!keys.isEmpty()) a.description += key + keys;
    return a;
  };
  return {{
      entry("New game", "Neues Spiel", hints.startHint, ctrl + QLatin1Char('N')),
      entry("Pause", "Pause", hints.pauseHint, QStringLiteral("P")),
      entry("Sound on or off", "Geräusche an oder aus", hints.soundHint, QStringLiteral("M")),
      entry("High scores", "Bestenliste", hints.highscoreHint, ctrl + QLatin1Char('H')),
      entry("Quit", "Beenden", hints.exitHint, ctrl + QLatin1Char('Q')),
      entry("Language", "Sprache", hints.tongueHint, ctrl + QLatin1Char('L')),
      entry("Rules", "Spielregeln", hints.rulesHint, QStringLiteral("F1")),
      entry("About", "Info", hints.infoHint, QString()),
      entry("Maker's web site", "Zorvyplay im Netz", hints.zorvyHint, QString()),
  }};
}

QString helpTopic(int language) {
  return language == 1 ? QStringLiteral("Das_Spiel") : QStringLiteral("The_game");
}

}  // namespace quibbix::app
