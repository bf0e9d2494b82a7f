#pragma once

namespace quibbix {

// The player's language, kept in the settings as the number "tongue". The
// texts themselves come from Qt's translation files: English is the source,
// German is loaded for German. Any other stored number reads as English and
// is stored back unchanged.
enum class Language : int {
  NotChosen = -1,  // the first start has not asked yet
  English = 0,
  German = 1,
  // Only the message dialog has texts of its own for it, some of them French;
  // every other window is English. The game never chooses it.
  Third = 2,
};

constexpr Language languageFromStored(int tongue) { return static_cast<Language>(tongue); }
constexpr int storedValue(Language language) { return static_cast<int>(language); }

}  // namespace quibbix
