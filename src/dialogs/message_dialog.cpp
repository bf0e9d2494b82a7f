#include "dialogs/message_dialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>

#include "desktop/crisp_glyphs.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/modal.h"
#include "view/fonts.h"

namespace quibbix::dialogs {

namespace {

using modal::kCancel;
using modal::kNo;
using modal::kOk;
using modal::kYes;

enum class Glyph { Smiley, Arrow, Cross, Door, StandardCancel };

struct ButtonLayout {
  int left = 0;
  int result = 0;
  Glyph glyph = Glyph::Smiley;
};

struct PageLayout {
  QRect label;
  ButtonLayout first;   // the default button (Enter)
  ButtonLayout second;  // result 0: the page has one button only; else the Escape button
};

constexpr ButtonLayout kOkButton{92, kOk, Glyph::Smiley};
constexpr ButtonLayout kNone{};

const std::array<PageLayout, kMessagePages> kPageLayouts{{
    {QRect(60, 28, 181, 17), kOkButton, kNone},
    {QRect(56, 20, 189, 26), {48, kYes, Glyph::Arrow}, {136, kNo, Glyph::Cross}},
    {QRect(72, 20, 153, 29), {44, kYes, Glyph::Door}, {136, kCancel, Glyph::StandardCancel}},
    {QRect(56, 20, 189, 26), {48, kYes, Glyph::Arrow}, {136, kNo, Glyph::Cross}},
    {QRect(60, 20, 181, 33), kOkButton, kNone},
    {QRect(60, 24, 181, 21), kOkButton, kNone},
    {QRect(60, 20, 181, 33), kOkButton, kNone},
}};

QIcon glyphIcon(Glyph glyph, const QStyle* style) {
  switch (glyph) {
    case Glyph::Smiley: return desktop::singleGlyph(QStringLiteral(":/glyphs/smiley.png"));
    case Glyph::Arrow: return desktop::pairGlyph(QStringLiteral(":/glyphs/arrow.png"));
    case Glyph::Cross: return desktop::pairGlyph(QStringLiteral(":/glyphs/cross.png"));
    case Glyph::Door: return desktop::singleGlyph(QStringLiteral(":/glyphs/door.png"));
    case Glyph::StandardCancel: return desktop::styleIcon(style, QStyle::SP_DialogCancelButton);
  }
  return {};
}

// "Bevel" 1..7, "L0101" .. "L0701", "Btn0101" .. "Btn0702".
QString partName(const char* prefix, int page, int item) {
  return QStringLiteral("%1%2%3")
      .arg(QLatin1String(prefix))
      .arg(page + 1, 2, 10, QLatin1Char('0'))
      .arg(item, 2, 10, QLatin1Char('0'));
}

}  // namespace

MessageTexts messageTexts(Language language) {
  MessageTexts texts{
      {YesNoDlg::tr("Hurrah, you did it!"),
       YesNoDlg::tr("Do you really want to give up the level?"),
       YesNoDlg::tr("Do you really want to go?"),
       YesNoDlg::tr("Do you really want to give up the game?"),
       YesNoDlg::tr("Sorry, you weren't quick enough!"),
       YesNoDlg::tr("Congratulation, you solved all levels."), YesNoDlg::tr("Sorry, that was it!")},
      YesNoDlg::tr("Yes"),
      YesNoDlg::tr("No")};
  if (language == Language::Third) {
    // The third column only ever translated the pages the game shows most; it
    // is no language of its own and has no translation file.
    texts.labels[0] = QStringLiteral("Super, tu as réussi!");
    texts.labels[2] = QStringLiteral("Veux-tu vraiment arrêter?");
    texts.labels[3] = QStringLiteral("Veux-tu vraiment abandonner le jeu?");
    texts.labels[6] = QStringLiteral("Tu as malheureusement perdu!");
    texts.yes = QStringLiteral("Oui");
    texts.no = QStringLiteral("Non");
  }
  return texts;
}

YesNoDlg::YesNoDlg(QWidget* mainWindow, std::function<Language()> language)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      language_(std::move(language)) {
  setWindowTitle(QStringLiteral("Quibbix"));
  setFont(view::pixelFont(11, true));
  setFixedSize(261, 103);

  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("pages"));
  pages_->setGeometry(0, 0, 261, 103);
  for (int i = 0; i < kMessagePages; ++i) buildPage(i);
  pages_->setCurrentIndex(kMessagePages - 1);
}

void YesNoDlg::buildPage(int index) {
  const PageLayout& layout = kPageLayouts[index];
  auto* page = new QWidget(pages_);
  page->setObjectName(QLatin1String(kMessagePageNames[index]));

  auto* bevel = new QFrame(page);
  bevel->setObjectName(QStringLiteral("Bevel%1").arg(index + 1));
  bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bevel->setGeometry(8, 8, 245, 49);

  auto* image = new desktop::PictureLabel(page);
  image->setObjectName(partName("Im", index, 1));
  image->setGeometry(16, 16, 32, 32);
  image->setPixmap(desktop::mainWindowIcon(mainWindow_, 32));

  auto* label = new QLabel(page);
  label->setObjectName(partName("L", index, 1));
  label->setGeometry(layout.label);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);

  auto makeButton = [&](const ButtonLayout& b, int item) {
    auto* button = new QPushButton(page);
    button->setObjectName(partName("Btn", index, item));
    button->setGeometry(b.left, 68, 77, 27);
    button->setIcon(glyphIcon(b.glyph, style()));
    button->setIconSize(QSize(18, 18));
    if (b.result == kOk) button->setText(QStringLiteral("OK"));
    const int result = b.result;
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    return button;
  };

  Page& p = page_[index];
  p.label = label;
  p.defaultButton = makeButton(layout.first, 1);
  if (layout.second.result != 0) {
    p.cancelButton = makeButton(layout.second, 2);
    // Pages 2, 3 and 4 are the questions; their captions follow the language.
    yesButtons_[index - 1] = p.defaultButton;
    noButtons_[index - 1] = p.cancelButton;
  }
  pages_->addWidget(page);
}

int YesNoDlg::ShowModal(int kind) {
  if (kind >= 1 && kind <= kMessagePages) pages_->setCurrentIndex(kind - 1);
  modalResult_ = exec();
  return modalResult_;
}

void YesNoDlg::applyTexts() {
  const MessageTexts texts = messageTexts(language_ ? language_() : Language::NotChosen);
  for (int i = 0; i < kMessagePages; ++i) page_[i].label->setText(texts.labels[i]);
  for (QPushButton* b : yesButtons_) b->setText(texts.yes);
  for (QPushButton* b : noButtons_) b->setText(texts.no);
  // A screen reader names a button by its caption and tells the message it answers.
  for (int i = 0; i < kMessagePages; ++i)
    for (QPushButton* b : {page_[i].defaultButton, page_[i].cancelButton})
      if (b != nullptr) {
        b->setAccessibleName(b->text());
        b->setAccessibleDescription(texts.labels[i]);
      }
}

void YesNoDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  placeOverMainWindow(this, mainWindow_);
  applyTexts();
  QPushButton* def = page_[pages_->currentIndex()].defaultButton;
  def->setDefault(true);
  def->setFocus();
}

void YesNoDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Escape answers through the page's cancel button; OK-only pages ignore it.
    if (QPushButton* cancel = page_[pages_->currentIndex()].cancelButton) cancel->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void YesNoDlg::reject() { done(kCancel); }

}  // namespace quibbix::dialogs
