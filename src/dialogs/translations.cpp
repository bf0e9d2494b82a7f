#include "dialogs/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quibbix::dialogs {

Translations::Translations() {
  // Built into the program under this prefix by qt_add_translations.
  if (!game_.load(QStringLiteral(":/i18n/quibbix_de.qm")))
    qWarning("quibbix: the German texts are missing from the program");
  // Without Qt's own file, its standard texts stay English; the game's are German still.
  (void)qt_.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

Translations::~Translations() { use(Language::English); }

void Translations::use(Language language) {
  const bool german = language == Language::German;
  if (german == installed_ || QCoreApplication::instance() == nullptr) return;
  installed_ = german;
  if (german) {
    // The last installed is asked first: the game's own wording wins.
    if (!qt_.isEmpty()) QCoreApplication::installTranslator(&qt_);
    QCoreApplication::installTranslator(&game_);
  } else {
    QCoreApplication::removeTranslator(&game_);
    QCoreApplication::removeTranslator(&qt_);
  }
}

}  // namespace quibbix::dialogs
