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
  HighscoreDlg(QWidget* mainWindow, store::IniStore& ini);

  // Mode 0 shows the table; mode 1 offers `score` for insertion. Returns when
  // the dialog closes.
  void ShowModal(int score, int mode);
  void showTable() { ShowModal(0, 0); }
  void offerScore(int score) { ShowModal(score, 1); }

  const QString& playerName() const { return PlayerName_; }

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

  QCheckBox* ClearBox_ = nullptr;
  QLabel* clearlabel_ = nullptr;
  QPushButton* OKBtn_ = nullptr;
  QPushButton* CancelBtn_ = nullptr;
  QLineEdit* Edit1_ = nullptr;
  std::array<QLabel*, kRows> pla_{};
  std::array<QLabel*, kRows> sco_{};
};

}  // namespace quibbix::dialogs
