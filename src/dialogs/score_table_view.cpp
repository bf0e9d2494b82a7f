#include "dialogs/score_table_view.h"

#include <QCoreApplication>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QWindow>

namespace quibbix::dialogs {

namespace {

// One cell of the table, or of its header, naming what its label shows.
class CellInterface : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  CellInterface(ScoreTableView* table, int row, int column)
      : table_(table), row_(row), column_(column) {}

  bool isValid() const override { return true; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return table_->window()->windowHandle(); }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(table_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* focusChild() const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return {};
    if (row_ < 0) return table_->header(column_);
    return table_->label(row_, column_)->text().trimmed();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const QLabel* label = table_->label(std::max(row_, 0), column_);
    QRect r(label->mapToGlobal(QPoint(0, 0)), label->size());
    if (row_ < 0) r.translate(0, -r.height());
    return r;
  }
  QAccessible::Role role() const override {
    return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    if (row_ < 0) return {};
    return {table_->cell(-1, column_)};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  ScoreTableView* table_;
  int row_;
  int column_;
};

// The table: the header's three cells first, then the rows.
class TableInterface : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TableInterface(ScoreTableView* w) : QAccessibleWidget(w, QAccessible::Table) {}
  ScoreTableView* view() const { return static_cast<ScoreTableView*>(widget()); }

  static constexpr int kCells = ScoreTableView::kColumns * (ScoreTableView::kRows + 1);

  int childCount() const override { return kCells; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= kCells) return nullptr;
    return view()->cell(index / ScoreTableView::kColumns - 1, index % ScoreTableView::kColumns);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < kCells; ++i)
      if (this->child(i) == child) return i;
    return -1;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return view()->tableName();
    return QAccessibleWidget::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return view()->cell(row, column);
  }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  QString columnDescription(int column) const override { return view()->header(column); }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return ScoreTableView::kColumns; }
  int rowCount() const override { return ScoreTableView::kRows; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

QAccessibleInterface* tableFactory(const QString&, QObject* object) {
  if (auto* view = dynamic_cast<ScoreTableView*>(object)) return new TableInterface(view);
  return nullptr;
}

}  // namespace

ScoreTableView::ScoreTableView(QWidget* parent) : QWidget(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(&tableFactory);
    return true;
  }();
  (void)installed;
  setAttribute(Qt::WA_TransparentForMouseEvents);
  for (int c = 0; c < kColumns; ++c) {
    headers_[c] = new CellInterface(this, -1, c);
    QAccessible::registerAccessibleInterface(headers_[c]);
    for (int r = 0; r < kRows; ++r) {
      cells_[r][c] = new CellInterface(this, r, c);
      QAccessible::registerAccessibleInterface(cells_[r][c]);
    }
  }
}

ScoreTableView::~ScoreTableView() {
  for (int c = 0; c < kColumns; ++c) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(headers_[c]));
    for (int r = 0; r < kRows; ++r)
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cells_[r][c]));
  }
}

void ScoreTableView::setRow(int row, QLabel* rank, QLabel* name, QLabel* score) {
  labels_[row] = {rank, name, score};
}

QAccessibleInterface* ScoreTableView::cell(int row, int column) const {
  return row < 0 ? headers_[column] : cells_[row][column];
}

QString ScoreTableView::header(int column) const {
  switch (column) {
    case 0: return QCoreApplication::translate("ScoreTable", "Rank");
    case 1: return QCoreApplication::translate("ScoreTable", "Name");
    default: return QCoreApplication::translate("ScoreTable", "Score");
  }
}

QString ScoreTableView::tableName() const {
  return QCoreApplication::translate("ScoreTable", "The ten best");
}

}  // namespace quibbix::dialogs
