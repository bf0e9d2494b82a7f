#pragma once
#include <QDialog>
#include <QPixmap>
#include <QString>
#include <array>
#include <optional>

#include "dialogs/score_table.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quibbix::store {
class IniStore;
}

namespace quibbix::dialogs {

// The table of the ten best scores. Shows the stored table, or inserts a new
// score at its rank and lets the player name it; only OK stores anything.
class HighscoreDlg : public QDialog {
  Q_OBJECT
 public:
  // `player`: the name last entered, if already read; else it is read here.
  HighscoreDlg(QWidget* mainWindow, store::IniStore& ini,
               std::optional<QString> player = std::nullopt);

  // Mode 0 shows the table; mode 1 offers `score` for insertion. Returns when
  // the dialog closes.
  void ShowModal(int score, int mode);
  void showTable() { ShowModal(0, 0); }
  void offerScore(int score) { ShowModal(score, 1); }

  const QString& playerName() const { return PlayerName_; }

  // The session ends while a score is offered: it is stored under the name
  // typed so far (the last name, if the field is blank) and the table
  // closes. Nothing happens when no score is offered.
  void keepOfferedScore();

  // Whether the name field takes keys yet: only once the table is on the
  // screen, and what was typed before that is dropped.
  bool takesInput() const { return takesInput_; }
  // Opens the name field once the table is on the screen (called on its way there).
  void openInput();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public slots:
  void reject() override;

 private:
  void okClick();
  void showRows();
  // Clearing ten rows is asked once more; No is the default.
  bool confirmClear();
  void updateOk();

  QWidget* mainWindow_;
  store::IniStore& ini_;
  QPixmap bml_;
  QString PlayerName_;
  std::array<ScoreEntry, kRows> rows_{};
  std::optional<int> NewRow_;
  int score_ = 0;
  bool takesInput_ = true;
  QObject* inputGate_ = nullptr;

  QCheckBox* ClearBox_ = nullptr;
  QLabel* clearlabel_ = nullptr;
  QPushButton* OKBtn_ = nullptr;
  QPushButton* CancelBtn_ = nullptr;
  QLineEdit* Edit1_ = nullptr;
  std::array<QLabel*, kRows> pla_{};
  std::array<QLabel*, kRows> sco_{};
};

}  // namespace quibbix::dialogs
