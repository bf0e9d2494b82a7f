#pragma once
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <future>
#include <memory>

#include "app/game_host.h"
#include "app/session.h"
#include "app/tool_bar.h"
#include "dialogs/language.h"
#include "dialogs/translations.h"

class QLabel;
class QToolButton;

namespace quibbix::desktop {
class ShowEffect;
}
namespace quibbix::view {
class FieldWidget;
}
namespace quibbix::dialogs {
class AboutBox;
class HelpWindow;
class HighscoreDlg;
class Splash;
class TongueDlg;
class YesNoDlg;
}  // namespace quibbix::dialogs

namespace quibbix::app {

// What the start reads of the settings before any window exists, handed on to
// the window so that nothing is read, nor reported, twice.
struct StartSettings {
  // The settings of the run, read once; what they had to tell waits in
  // there until the window is up.
  std::shared_ptr<Session> session;
  // The stored zoom choice: 1 to 4, or 0 for following the desktop.
  int zoomChoice = 0;
};
StartSettings readStartSettings();

// The program's one main window: the tool bar over the playing field. It owns
// the game's host, the tool bar, the settings store and the dialogs, and joins them.
class MainWindow : public QWidget {
  Q_OBJECT
 public:
  // A title bar with minimise and close boxes; the size is fixed.
  static constexpr Qt::WindowFlags kWindowFlags =
      Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
      Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
  // The client area, in logical pixels.
  static constexpr QSize kClientSize{500, 33 + 333};

  // Builds the window and starts the first game; it shows nothing, and the
  // dialogs come with createDialogs(). With an `effect`, the window is placed
  // as soon as its size is set and the effect starts towards that place,
  // drawn on the bare screen while the rest is built. The store's
  // complaints, those in `start` and those met while the window is built,
  // are shown when it first activates, before the splash.
  explicit MainWindow(std::uint32_t seed, StartSettings start = {},
                      desktop::ShowEffect* effect = nullptr);
  ~MainWindow() override;

  // The opening, for a window built with `effect`: once the effect is off the
  // screen again, the window is mapped with its finished picture and waited
  // for, so that it appears painted. Its first activation, in the event loop,
  // opens the splash.
  void runOpening(desktop::ShowEffect& effect);

  // The dialogs, each complete before the next: splash, message dialog,
  // high-score dialog, language dialog, then the about box. Once, after the
  // constructor and before the event loop; the window is not complete
  // without them.
  void createDialogs();

  // Before the first showing: the remembered position, or the centre of the
  // screen. Returns the rectangle the window will cover, frame included.
  QRect restorePlacement();

  GameHost& host() { return host_; }
  engine::Game& game() { return host_.game(); }
  engine::Keyboard& keyboard() { return host_.keyboard(); }
  view::FieldCanvas& canvas() { return host_.canvas(); }
  view::FieldWidget* field() { return host_.field(); }
  QTimer& timer() { return host_.timer(); }
  Language language() const { return Language_; }
  // The German installed for the language; the tests borrow it for a moment.
  dialogs::Translations& translations() { return translations_; }
  QLabel* pauseText() { return host_.pauseText(); }
  QLabel* nextLevelLabel() { return host_.nextLevelLabel(); }
  QToolButton* button(const QString& name) const;
  QToolButton* button(Command command) const { return Panel1_->button(command); }
  dialogs::Splash* splash() { return splash_; }
  dialogs::YesNoDlg* messageDialog() { return YesNoDlg_; }
  dialogs::HighscoreDlg* highscoreDialog() { return HighscoreDlg_; }
  dialogs::TongueDlg* tongueDialog() { return TongueDlg_; }
  dialogs::AboutBox* aboutBox() { return about_; }
  dialogs::HelpWindow* helpWindow() { return help_.get(); }
  QString helpFile() const { return helpFile_; }

  // A tool-bar command, by its button, its key or a screen reader's action.
  void invoke(Command command);

  // Tool-bar commands.
  void Restart();
  void Pause();
  void highscore();
  void info();
  void rules();
  void TongueBtnClick();
  void ExitBtnClick();
  void ZorvyBtnClick();
  void ApplyLanguage();
  // The sound switch of the tool bar, from the keyboard.
  void toggleSound();

  // The zoom keys: one step larger or smaller, or back to following the
  // desktop. The choice is stored when the window closes.
  void zoomIn();
  void zoomOut();
  void zoomToDesktop();
  // 1 to 4, or 0 for following the desktop.
  int zoomChoice() const { return zoomChoice_; }

  // The session ends (logout, a signal): the window closes as after the
  // player's yes to the close question, without asking, and the program
  // ends with status 0.
  void endSession();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The window taken out of sight by the window manager pauses a running game
  // (minimised here; any other way through desktop::SightWatch).
  void changeEvent(QEvent* event) override;
  // The game keys; the tool bar's commands have shortcuts of their own.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate(desktop::ShowEffect* effect);
  void Activate();
  bool CloseQuery();
  // The close: the choices saved in one go; `quietly` when the session
  // ends, with no one to answer a message box.
  void Leave(bool quietly = false);
  // The choices as they stand, to be saved.
  store::Settings::Choices choices() const;
  static void storeChoicesAtExit();
  void buildShortcuts();
  // A modal window of the game is open, or on its way: no command may act,
  // however its key arrived (typed ahead during a busy wait, or delivered
  // before the window has taken the keyboard).
  bool modalOpen() const;
  // The command itself, past the guard.
  void run(Command command);
  // Runs `open`, which shows one or more modal windows, as one modal spell.
  template <typename Open>
  auto modal(Open open);
  void setZoom(int wanted);
  void pauseOutOfSight();

  // Loading the fonts' catalogue, which the first text needs, runs beside
  // the building of the window.
  std::future<void> fontCatalogue_;
  // Before anything that shows a text.
  dialogs::Translations translations_;
  std::shared_ptr<Session> session_;
  GameHost host_;

  QString AppFolder_;
  QString helpFile_;
  bool FirstActivation_ = true;
  Language Language_ = Language::NotChosen;
  bool zorvyFailed_ = false;
  int zoomChoice_ = 0;
  bool left_ = false;
  int modalDepth_ = 0;
  // Commands that open a modal window, on their way from the event loop.
  int queuedOpenings_ = 0;

  ToolBar* Panel1_ = nullptr;
  QToolButton* Soundbtn_ = nullptr;

  dialogs::Splash* splash_ = nullptr;
  dialogs::YesNoDlg* YesNoDlg_ = nullptr;
  dialogs::HighscoreDlg* HighscoreDlg_ = nullptr;
  dialogs::TongueDlg* TongueDlg_ = nullptr;
  dialogs::AboutBox* about_ = nullptr;
  std::unique_ptr<dialogs::HelpWindow> help_;
};

}  // namespace quibbix::app
