#pragma once
#include <QTranslator>

#include "dialogs/language.h"

namespace quibbix::dialogs {

// The game's German (translations/quibbix_de.ts, built into the program) and Qt's
// own German from the system (standard buttons, context menus, key names), both
// installed exactly while the language is German. Installing or removing them
// sends every widget a LanguageChange event.
class Translations {
 public:
  Translations();
  ~Translations();
  Translations(const Translations&) = delete;
  Translations& operator=(const Translations&) = delete;

  void use(Language language);
  // Whether Qt's own German was found (Debian's qt6-translations-l10n).
  bool qtGermanLoaded() const { return !qt_.isEmpty(); }

 private:
  QTranslator game_;
  QTranslator qt_;
  bool installed_ = false;
};

}  // namespace quibbix::dialogs
