#include "dialogs/help_window.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quibbix::dialogs {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Quibbix"));
  resize(560, 480);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("browser"));
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
}

void HelpWindow::showTopic(const QString& file, const QString& anchor) {
  const QFileInfo info(file);
  if (info.isFile() && info.isReadable()) {
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setFragment(anchor);
    // The document is HTML whatever its file name says.
    browser_->setSource(url, QTextDocument::HtmlResource);
    browser_->scrollToAnchor(anchor);
  } else {
    const QString name = file.toHtmlEscaped();
    browser_->setHtml(QStringLiteral("<p>Die Hilfedatei <b>%1</b> wurde nicht gefunden.</p>"
                                     "<p>The help file <b>%1</b> could not be found.</p>")
                          .arg(name));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace quibbix::dialogs
