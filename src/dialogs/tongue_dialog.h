#pragma once
#include <QDialog>
#include <functional>

class QPushButton;

namespace quibbix::dialogs {

// Asks for English or German. A button sets the language (0 English,
// 1 German) through `setLanguage`; the close box chooses nothing.
class TongueDlg : public QDialog {
  Q_OBJECT
 public:
  TongueDlg(QWidget* mainWindow, std::function<void(int)> setLanguage);

  // Returns 1 after a choice, 2 when closed with the close box.
  int ShowModal();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public slots:
  void reject() override;

 private:
  void choose(int language);

  QWidget* mainWindow_;
  std::function<void(int)> setLanguage_;
  QPushButton* EnglishBtn_ = nullptr;
  QPushButton* GermanBtn_ = nullptr;
};

}  // namespace quibbix::dialogs
