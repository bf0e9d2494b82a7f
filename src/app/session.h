#pragma once
#include <QList>
#include <QPointer>
#include <QWidget>

#include "store/settings.h"
#include "store/settings_store.h"

namespace quibbix::app {

// The game's dealings with its settings file over one run: the choices are
// read once at the start and written once at the close, and whatever the
// store has to tell reaches the player in one message at a time, in their
// language. The high-score table goes through the same store (it is read at
// every showing, as another copy of the game may have changed it).
class Session {
 public:
  // Reads the choices. Until release(), what the store has to tell is held:
  // no window can show it yet.
  Session();

  store::IniStore& store() { return store_; }
  const store::Settings::Choices& choices() const { return choices_; }

  // From here on messages are shown over `parent`, in the language
  // installed; what was held is shown now, in one box.
  void release(QWidget* parent);

  // The close: the choices in one save. A failure is told once: in a box,
  // or, with `quietly` (the session is ending, there may be no display), in
  // the log. A file the start could not read was told about then already.
  void close(const store::Settings::Choices& choices, bool quietly = false);

 private:
  void tell(const QList<store::StoreReport>& reports);

  QList<store::StoreReport> held_;
  bool holding_ = true;
  bool quiet_ = false;
  QList<store::FileProblem::Kind> unreadable_;
  QPointer<QWidget> parent_;
  store::IniStore store_;
  store::Settings::Choices choices_;
};

}  // namespace quibbix::app
