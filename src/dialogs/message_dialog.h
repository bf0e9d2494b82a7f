#pragma once
#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "dialogs/language.h"

class QPushButton;
class QLabel;
class QStackedWidget;

namespace quibbix::dialogs {

constexpr int kMessagePages = 7;

// Page names in page order; message kind k selects page k - 1.
inline constexpr std::array<const char*, kMessagePages> kMessagePageNames{
    "won", "restart", "endgame", "giveup", "toslow", "allsolved", "gameover"};

// The texts of all pages and of the Yes/No buttons: in the language of the
// installed translation (English, or German), or the third column.
struct MessageTexts {
  std::array<QString, kMessagePages> labels;
  QString yes;
  QString no;
};
MessageTexts messageTexts(Language language);

// The game's small modal message box: seven fixed messages, answered with OK or
// Yes/No. The caller reads the answer (a modal::Result) from ModalResult()
// after ShowModal returns.
class YesNoDlg : public QDialog {
  Q_OBJECT
 public:
  YesNoDlg(QWidget* mainWindow, std::function<Language()> language);

  // Kinds 1..7 (message::Kind) select their page; any other kind shows the page selected last
  // ("gameover" before any selection). Returns the modal result, also kept
  // for ModalResult().
  int ShowModal(int kind);
  int ModalResult() const { return modalResult_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 public slots:
  void reject() override;

 private:
  struct Page {
    QLabel* label = nullptr;
    QPushButton* defaultButton = nullptr;
    QPushButton* cancelButton = nullptr;  // bound to Escape; none on OK-only pages
  };
  void buildPage(int index);
  void applyTexts();

  QWidget* mainWindow_;
  std::function<Language()> language_;
  QStackedWidget* pages_ = nullptr;
  std::array<Page, kMessagePages> page_{};
  std::array<QPushButton*, 3> yesButtons_{};
  std::array<QPushButton*, 3> noButtons_{};
  int modalResult_ = 0;
};

}  // namespace quibbix::dialogs
