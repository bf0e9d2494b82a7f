// A program of the settings store alone: the test beside it checks that it
// needs no GUI library, so the store stays below every window.
#include "store/settings.h"
#include "store/settings_store.h"

int main() {
  quibbix::store::IniStore store({}, QStringLiteral("/nonexistent/V2.ini"));
  return quibbix::store::Settings(store).readChoices().tongue == -1 ? 0 : 1;
}
