#include "app/session.h"

#include <utility>

#include "app/store_report.h"

namespace quibbix::app {

Session::Session()
    : store_([this](const QList<store::StoreReport>& reports) { tell(reports); }),
      choices_(store::Settings(store_).readChoices()) {}

void Session::tell(const QList<store::StoreReport>& reports) {
  QList<store::StoreReport> told;
  for (const store::StoreReport& r : reports) {
    // A file that could not be read at the start cannot be saved either,
    // and the player has heard so.
    if (r.kind == store::StoreReport::ReadFailed) unreadable_.append(r.problem.kind);
    if (r.kind == store::StoreReport::SaveFailed && unreadable_.contains(r.problem.kind)) continue;
    told.append(r);
  }
  if (told.isEmpty()) return;
  if (holding_) {
    held_.append(told);
    return;
  }
  if (quiet_) {
    for (const store::StoreReport& r : told) qWarning("quibbix: %s", qPrintable(r.summary()));
    return;
  }
  showStoreMessage(parent_, told);
}

void Session::release(QWidget* parent) {
  parent_ = parent;
  holding_ = false;
  if (!held_.isEmpty()) tell(std::exchange(held_, {}));
}

void Session::close(const store::Settings::Choices& choices, bool quietly) {
  holding_ = false;
  quiet_ = quietly;
  store::Settings(store_).saveChoices(choices);
}

}  // namespace quibbix::app
