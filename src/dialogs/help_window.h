#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace quibbix::dialogs {

// The rules, shown in a window of their own beside the game (not modal).
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Opens the HTML document `file` at the named anchor and brings the window
  // up; a missing file is reported inside the viewer.
  void showTopic(const QString& file, const QString& anchor);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace quibbix::dialogs
