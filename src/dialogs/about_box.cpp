#include "dialogs/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "desktop/crisp_glyphs.h"
#include "dialogs/dialog_placement.h"
#include "view/fonts.h"
#include "view/png.h"

namespace quibbix::dialogs {

AboutBox::AboutBox(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setFont(view::pixelFont(11));
  setFixedSize(250, 129);

  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bevel->setGeometry(8, 8, 234, 80);

  auto* logo = new desktop::PictureLabel(this);
  logo->setObjectName(QStringLiteral("Logo"));
  logo->setGeometry(16, 16, 64, 64);
  logo->setPixmap(view::readPngPixmap(QStringLiteral(":/glyphs/logo.png")));

  auto* name = new QLabel(QStringLiteral("Quibbix"), this);
  name->setObjectName(QStringLiteral("ProductName"));
  name->setFont(view::pixelFont(19, true));
  name->setGeometry(92, 22, 140, 26);

  auto* version = new QLabel(QStringLiteral("Version  V2.2"), this);
  version->setObjectName(QStringLiteral("Version"));
  version->setGeometry(92, 54, 140, 16);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setGeometry(87, 96, 77, 27);
  ok->setDefault(true);
  ok->setAccessibleName(ok->text());
  ok_ = ok;
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  setWindowTitle(tr("Info about..."));
  ok_->setAccessibleDescription(tr("Closes the box."));
  placeOverMainWindow(this, mainWindow_);
}

}  // namespace quibbix::dialogs
