#pragma once
#include <QDialog>
#include <QLabel>
#include <QTimer>

namespace quibbix::dialogs {

// The borderless title picture of the start. Closes at a click or at the next
// tick of its 3000 ms timer, which runs from creation for the whole run.
class Splash : public QDialog {
  Q_OBJECT
 public:
  explicit Splash(QWidget* mainWindow);

  int ShowModal() { return exec(); }
  const QTimer& timer() const { return Timer1_; }

  // Serves the window's click, the picture's click and the timer; does nothing
  // while the window is hidden.
  void Click();
  // Closes it for good: the picture is freed.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QLabel* image_ = nullptr;
  QTimer Timer1_;
};

}  // namespace quibbix::dialogs
