#pragma once
#include <QDialog>

class QPushButton;

namespace quibbix::dialogs {

// The about box: name, version, logo and an OK button.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* mainWindow);

  int ShowModal() { return exec(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* mainWindow_;
  QPushButton* ok_ = nullptr;
};

}  // namespace quibbix::dialogs
