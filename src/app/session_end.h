#pragma once
#include <QObject>

class QSocketNotifier;

namespace quibbix::app {

// Turns SIGTERM, SIGINT and SIGHUP (a desktop's logout, Ctrl+C in a
// terminal, a closed terminal) into the signal `ended` on the GUI thread, so
// the program closes as it does when the player closes it. Qt itself leaves
// these signals to their default, which ends the process on the spot.
class SessionEnd : public QObject {
  Q_OBJECT
 public:
  explicit SessionEnd(QObject* parent = nullptr);
  ~SessionEnd() override;

 signals:
  void ended();

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quibbix::app
