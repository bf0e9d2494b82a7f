#pragma once
#include <QDialog>
#include <functional>

#include "dialogs/language.h"

class QPushButton;

namespace quibbix::dialogs {

// Asks for English or German. A button sets the language through
// `setLanguage`; the close box chooses nothing.
class TongueDlg : public QDialog {
  Q_OBJECT
 public:
  TongueDlg(QWidget* mainWindow, std::function<void(Language)> setLanguage);

  // Returns 1 after a choice, 2 when closed with the close box.
  int ShowModal();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public slots:
  void reject() override;

 private:
  void choose(Language language);

  QWidget* mainWindow_;
  std::function<void(Language)> setLanguage_;
  QPushButton* EnglishBtn_ = nullptr;
  QPushButton* GermanBtn_ = nullptr;
};

}  // namespace quibbix::dialogs
