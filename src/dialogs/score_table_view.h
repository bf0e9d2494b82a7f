#pragma once
// The ten rows of the high-score table as a screen reader finds them: a table
// with a header (rank, name, score) and one row per place, read from the
// labels that show them. The labels lie in this widget, which draws nothing
// and lets the mouse through, so the dialog's picture is unchanged.
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QAccessibleInterface;

namespace quibbix::dialogs {

class ScoreTableView : public QWidget {
 public:
  static constexpr int kRows = 10;
  static constexpr int kColumns = 3;

  explicit ScoreTableView(QWidget* parent);
  ~ScoreTableView() override;

  // The labels of row r: rank, name, score.
  void setRow(int row, QLabel* rank, QLabel* name, QLabel* score);

  QString header(int column) const;
  QString tableName() const;
  QLabel* label(int row, int column) const { return labels_[row][column]; }
  // Cells of the header have row -1.
  QAccessibleInterface* cell(int row, int column) const;

 private:
  std::array<std::array<QLabel*, kColumns>, kRows> labels_{};
  std::array<QAccessibleInterface*, kColumns> headers_{};
  std::array<std::array<QAccessibleInterface*, kColumns>, kRows> cells_{};
};

}  // namespace quibbix::dialogs
