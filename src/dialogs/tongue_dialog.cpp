#include "dialogs/tongue_dialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "desktop/crisp_glyphs.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/modal.h"
#include "view/fonts.h"
#include "view/png.h"

namespace quibbix::dialogs {

namespace {
using modal::kCancel;
using modal::kOk;
}  // namespace

TongueDlg::TongueDlg(QWidget* mainWindow, std::function<void(Language)> setLanguage)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      setLanguage_(std::move(setLanguage)) {
  setWindowTitle(QStringLiteral("Quibbix V2.2"));
  setFont(view::pixelFont(11));
  setFixedSize(320, 91);

  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bevel->setGeometry(8, 8, 305, 77);

  auto* image = new desktop::PictureLabel(this);
  image->setObjectName(QStringLiteral("Image4"));
  image->setGeometry(28, 28, 37, 37);
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image->setPixmap(desktop::mainWindowIcon(mainWindow_, 32));

  auto makeButton = [this](const char* name, int top, const QString& caption, const QString& glyph,
                           Language language) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(84, top, 221, 27);
    const QPixmap flags = view::readPngPixmap(glyph);
    if (!flags.isNull()) {
      button->setIcon(desktop::crispIcon(flags));
      button->setIconSize(flags.size());
    }
    connect(button, &QPushButton::clicked, this, [this, language] { choose(language); });
    return button;
  };
  // Creation order is the tab order: English first.
  EnglishBtn_ = makeButton("EnglishBtn", 16, QStringLiteral("I speak english."),
                           QStringLiteral(":/glyphs/flags_en.png"), Language::English);
  GermanBtn_ = makeButton("GermanBtn", 48, QStringLiteral("Ich spreche deutsch."),
                          QStringLiteral(":/glyphs/flags_de.png"), Language::German);
  // Each choice speaks the language it offers, as its caption does, whatever
  // the language now: these texts are never translated.
  EnglishBtn_->setAccessibleName(EnglishBtn_->text());
  EnglishBtn_->setAccessibleDescription(QStringLiteral("Play in English."));
  GermanBtn_->setAccessibleName(GermanBtn_->text());
  GermanBtn_->setAccessibleDescription(QStringLiteral("Auf Deutsch spielen."));
}

int TongueDlg::ShowModal() { return exec(); }

void TongueDlg::choose(Language language) {
  if (setLanguage_) setLanguage_(language);
  done(kOk);
}

void TongueDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  placeOverMainWindow(this, mainWindow_);
  // Both buttons are defaults: Enter takes whichever has the focus.
  EnglishBtn_->setFocus();
}

void TongueDlg::keyPressEvent(QKeyEvent* event) {
  // There is no cancel button; only the close box leaves without a choice.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TongueDlg::reject() { done(kCancel); }

}  // namespace quibbix::dialogs
