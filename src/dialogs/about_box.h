#pragma once
#include <QDialog>
#include <functional>

class QPushButton;

namespace quibbix::dialogs {

// The about box: name, version, logo and an OK button.
class AboutBox : public QDialog {
  Q_OBJECT
 public:
  AboutBox(QWidget* mainWindow, std::function<int()> language);

  int ShowModal() { return exec(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* mainWindow_;
  std::function<int()> language_;
  QPushButton* ok_ = nullptr;
};

}  // namespace quibbix::dialogs
