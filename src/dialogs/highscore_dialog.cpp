#include "dialogs/highscore_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include "desktop/crisp_glyphs.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/modal.h"
#include "dialogs/score_table_view.h"
#include "dialogs/type_ahead.h"
#include "store/settings.h"
#include "view/fonts.h"
#include "view/png.h"

namespace quibbix::dialogs {

namespace {

using modal::kCancel;
using modal::kNo;
using modal::kOk;
using modal::kYes;

int rowTop(int row) { return 15 + 21 * row; }

void etchedFrame(QWidget* parent, const char* name, const QRect& place) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(QLatin1String(name));
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setGeometry(place);
}

void makeWhite(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, Qt::white);
  w->setPalette(p);
}

QLabel* columnLabel(QWidget* parent, const QString& name, const QRect& place, Qt::Alignment align,
                    const QFont& font) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(place);
  label->setAlignment(align | Qt::AlignTop);
  label->setFont(font);
  makeWhite(label);
  return label;
}

bool isArrow(int key) {
  return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// The question before the table is cleared: Yes or No, No the default, so
// that a Return meant for something else keeps the table.
class ClearQuestion : public QDialog {
 public:
  explicit ClearQuestion(QWidget* parent)
      : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ClearQuestion"));
    setWindowTitle(HighscoreDlg::tr("Quibbix - Highscore"));
    setFixedSize(261, 103);
    auto* label = new QLabel(HighscoreDlg::tr("Really clear all ten entries?"), this);
    label->setObjectName(QStringLiteral("ClearText"));
    label->setGeometry(8, 16, 245, 40);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    auto* yes = new QPushButton(HighscoreDlg::tr("Yes"), this);
    yes->setObjectName(QStringLiteral("ClearYesBtn"));
    yes->setGeometry(48, 68, 77, 27);
    yes->setAutoDefault(false);
    no_ = new QPushButton(HighscoreDlg::tr("No"), this);
    no_->setObjectName(QStringLiteral("ClearNoBtn"));
    no_->setGeometry(136, 68, 77, 27);
    no_->setDefault(true);
    for (QPushButton* b : {yes, no_}) b->setAccessibleDescription(label->text());
    connect(yes, &QPushButton::clicked, this, [this] { done(kYes); });
    connect(no_, &QPushButton::clicked, this, [this] { done(kNo); });
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    no_->setFocus();
  }

 public:
  void reject() override { done(kNo); }

 private:
  QPushButton* no_ = nullptr;
};

}  // namespace

// Eats the keys meant for the table while its name field must not take any.
class InputGate : public QObject {
 public:
  InputGate(HighscoreDlg* dialog, std::function<bool()> closed)
      : QObject(dialog), dialog_(dialog), closed_(std::move(closed)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The table is on the screen: its name field opens at once. The window
    // system delivers input in the order it came, so every key ahead of this
    // moment was typed before the table could be seen, and was eaten.
    if (event->type() == QEvent::Expose && closed_() && watched == dialog_->windowHandle() &&
        dialog_->windowHandle()->isExposed())
      dialog_->openInput();
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::InputMethod: break;
      default: return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    return closed_() && widget != nullptr && (widget == dialog_ || dialog_->isAncestorOf(widget));
  }

 private:
  HighscoreDlg* dialog_;
  std::function<bool()> closed_;
};

HighscoreDlg::HighscoreDlg(QWidget* mainWindow, store::IniStore& ini, std::optional<QString> player)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      ini_(ini),
      bml_(view::readPngPixmap(QStringLiteral(":/glyphs/texture.png"))) {
  setFont(view::pixelFont(11));
  setFixedSize(360, 329);

  etchedFrame(this, "DrawEdge1", QRect(4, 4, 353, 229));
  etchedFrame(this, "DrawEdge2", QRect(4, 236, 117, 89));
  etchedFrame(this, "DrawEdge3", QRect(124, 236, 233, 21));

  auto* image = new desktop::PictureLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setGeometry(12, 244, 101, 77);
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image->setPixmap(view::readPngPixmap(QStringLiteral(":/glyphs/highscore_picture.png")));

  ClearBox_ = new QCheckBox(this);
  ClearBox_->setObjectName(QStringLiteral("ClearBox"));
  ClearBox_->setGeometry(128, 240, 13, 13);
  // Only Tab or the mouse reach the box: the arrows, Space and Return of
  // play must not tick it by chance.
  ClearBox_->setFocusPolicy(Qt::TabFocus);
  connect(ClearBox_, &QCheckBox::toggled, this, [this] { updateOk(); });

  clearlabel_ = new QLabel(this);
  clearlabel_->setObjectName(QStringLiteral("clearlabel"));
  clearlabel_->setGeometry(148, 240, 201, 13);
  makeWhite(clearlabel_);

  OKBtn_ = new QPushButton(QStringLiteral("OK"), this);
  OKBtn_->setObjectName(QStringLiteral("OKBtn"));
  OKBtn_->setGeometry(276, 296, 77, 27);
  OKBtn_->setIcon(desktop::singleGlyph(QStringLiteral(":/glyphs/podium.png")));
  OKBtn_->setIconSize(QSize(18, 18));
  OKBtn_->setDefault(true);
  connect(OKBtn_, &QPushButton::clicked, this, [this] {
    if (ClearBox_->isChecked() && !confirmClear()) {
      ClearBox_->setChecked(false);
      return;
    }
    okClick();
    done(kOk);
  });

  CancelBtn_ = new QPushButton(this);
  CancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn_->setGeometry(192, 296, 78, 27);
  CancelBtn_->setIcon(desktop::pairGlyph(QStringLiteral(":/glyphs/cross.png")));
  CancelBtn_->setIconSize(QSize(18, 18));
  connect(CancelBtn_, &QPushButton::clicked, this, [this] { done(kCancel); });

  const QFont columnFont = view::pixelFont(13, true, view::kTableFace);
  // The rows lie in a view that covers them from the dialog's corner, so each
  // label keeps its place in the dialog's own coordinates.
  auto* table = new ScoreTableView(this);
  table->setObjectName(QStringLiteral("ScoreTable"));
  table->setGeometry(0, 0, width(), rowTop(kRows));
  for (int row = 0; row < kRows; ++row) {
    const QString n = QString::number(row);
    auto* num = columnLabel(table, QStringLiteral("num") + n, QRect(20, rowTop(row), 40, 21),
                            Qt::AlignRight, columnFont);
    num->setText(QString::number(row + 1) + QStringLiteral(".   "));
    pla_[row] = columnLabel(table, QStringLiteral("pla") + n, QRect(60, rowTop(row), 190, 21),
                            Qt::AlignLeft, columnFont);
    sco_[row] = columnLabel(table, QStringLiteral("sco") + n, QRect(250, rowTop(row), 90, 21),
                            Qt::AlignRight, columnFont);
    table->setRow(row, num, pla_[row], sco_[row]);
  }

  Edit1_ = new QLineEdit(this);
  Edit1_->setObjectName(QStringLiteral("Edit1"));
  Edit1_->setFrame(false);
  Edit1_->setFocusPolicy(Qt::ClickFocus);  // no tab stop
  Edit1_->setFont(view::pixelFont(13, true, view::kTableFace));
  QPalette editPalette = Edit1_->palette();
  editPalette.setColor(QPalette::Base, QColor(192, 192, 192));
  editPalette.setColor(QPalette::Text, Qt::red);
  Edit1_->setPalette(editPalette);
  Edit1_->hide();
  Edit1_->setEnabled(false);
  connect(Edit1_, &QLineEdit::textChanged, this, [this] { updateOk(); });

  // The arrows move nothing between the buttons and the box.
  for (QWidget* w : {static_cast<QWidget*>(OKBtn_), static_cast<QWidget*>(CancelBtn_),
                     static_cast<QWidget*>(ClearBox_)})
    w->installEventFilter(this);

  PlayerName_ = player ? *player : store::Settings(ini_).player();
  inputGate_ = new InputGate(this, [this] { return !takesInput_; });
  Edit1_->setText(PlayerName_);
  for (ScoreEntry& e : rows_) e = defaultEntry();
  showRows();
}

void HighscoreDlg::ShowModal(int score, int mode) {
  // Offered a score, the table opens on its own, while the player may still
  // be pressing the keys of the game that just ended: those queued now are
  // dropped, and those that come before the table is on the screen too.
  if (mode == 1) {
    dropPendingInput();
    takesInput_ = false;
  }
  ClearBox_->setChecked(false);
  Edit1_->hide();
  Edit1_->setEnabled(false);
  NewRow_.reset();
  score_ = score;

  rows_ = readTable(ini_);
  if (mode == 1) NewRow_ = insertScore(rows_, score, PlayerName_);
  showRows();

  if (NewRow_) {
    Edit1_->setGeometry(60, rowTop(*NewRow_), 190, 15);
    Edit1_->setText(PlayerName_);
    Edit1_->setEnabled(true);
    Edit1_->show();
  }
  updateOk();
  qApp->installEventFilter(inputGate_);
  exec();
  qApp->removeEventFilter(inputGate_);
  takesInput_ = true;
}

void HighscoreDlg::openInput() {
  if (takesInput_ || !isVisible() || windowHandle() == nullptr || !windowHandle()->isExposed())
    return;
  takesInput_ = true;
  if (NewRow_) Edit1_->setFocus();
}

void HighscoreDlg::keepOfferedScore() {
  if (!isVisible() || !NewRow_) return;
  const QString typed = Edit1_->text();
  PlayerName_ = typed.trimmed().isEmpty() ? PlayerName_ : typed;
  Edit1_->setText(PlayerName_);
  storeTable(ini_, PlayerName_, score_, false, rows_);
  done(kOk);
}

void HighscoreDlg::updateOk() {
  // A name of blanks names nobody; clearing drops the new row anyway.
  const bool blankName = NewRow_ && Edit1_->text().trimmed().isEmpty();
  OKBtn_->setEnabled(!blankName || ClearBox_->isChecked());
}

bool HighscoreDlg::confirmClear() {
  ClearQuestion question(this);
  placeOverMainWindow(&question, mainWindow_);
  return question.exec() == kYes;
}

void HighscoreDlg::showRows() {
  for (int row = 0; row < kRows; ++row) {
    // A row the file holds in a broken form keeps its place, empty.
    pla_[row]->setText(rows_[row].name);
    sco_[row]->setText(rows_[row].unreadable ? QString() : QString::number(rows_[row].score));
  }
}

void HighscoreDlg::okClick() {
  if (ClearBox_->isChecked()) {
    for (ScoreEntry& e : rows_) e = defaultEntry();
    PlayerName_ = QStringLiteral("Mr. Quaddel");
    Edit1_->setText(PlayerName_);
    NewRow_.reset();  // the entry just inserted goes with the rest
  }
  if (NewRow_) PlayerName_ = Edit1_->text();
  // The table as stored now, which another copy of the game may have
  // changed since this one was shown, gets the new row.
  storeTable(ini_, PlayerName_, NewRow_ ? std::optional<int>(score_) : std::nullopt,
             ClearBox_->isChecked(), rows_);
  showRows();
  Edit1_->hide();
}

void HighscoreDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  placeOverMainWindow(this, mainWindow_);
  // The texts follow the language, which may have changed since the last showing.
  setWindowTitle(tr("Quibbix - Highscore"));
  clearlabel_->setText(tr("Clear all entries."));
  CancelBtn_->setText(tr("Cancel"));
  OKBtn_->setAccessibleName(OKBtn_->text());
  OKBtn_->setAccessibleDescription(tr("Keeps the table and the name."));
  CancelBtn_->setAccessibleName(CancelBtn_->text());
  CancelBtn_->setAccessibleDescription(tr("Closes the table without a change."));
  // The check box's caption is a label of its own beside it.
  ClearBox_->setAccessibleName(clearlabel_->text());
  ClearBox_->setAccessibleDescription(tr("With OK the table starts afresh."));
  Edit1_->setAccessibleName(tr("Your name"));
  Edit1_->setAccessibleDescription(tr("The name for the new score; Enter keeps it."));
  if (NewRow_) {
    Edit1_->setFocus();
  } else {
    OKBtn_->setFocus();
  }
  // The name field opens for keys once the table is on the screen.
  if (!takesInput_) QMetaObject::invokeMethod(this, &HighscoreDlg::openInput, Qt::QueuedConnection);
}

void HighscoreDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (bml_.isNull()) {
    // Without the texture the white columns still need a dark ground.
    painter.fillRect(rect(), QColor(48, 64, 96));
    return;
  }
  painter.drawTiledPixmap(rect(), bml_);
}

void HighscoreDlg::keyPressEvent(QKeyEvent* event) {
  // Cancel is a plain button here: Escape does not close the table.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool HighscoreDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isArrow(static_cast<QKeyEvent*>(event)->key())) {
    event->accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void HighscoreDlg::reject() { done(kCancel); }

}  // namespace quibbix::dialogs
