#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <cstdlib>
#include <optional>
#include <utility>

#include "app/texts.h"
#include "desktop/crisp_glyphs.h"
#include "desktop/focus.h"
#include "desktop/placement_effect.h"
#include "desktop/placement_frame.h"
#include "desktop/placement_picture.h"
#include "desktop/placement_window.h"
#include "desktop/screen_zoom.h"
#include "desktop/zoom.h"
#include "dialogs/about_box.h"
#include "dialogs/help_window.h"
#include "dialogs/highscore_dialog.h"
#include "dialogs/message_dialog.h"
#include "dialogs/modal.h"
#include "dialogs/splash.h"
#include "dialogs/tongue_dialog.h"
#include "store/settings.h"
#include "view/field_widget.h"
#include "view/fonts.h"
#include "view/png.h"

#ifndef QUIBBIX_DATADIR
#define QUIBBIX_DATADIR "/usr/share/quibbix"
#endif

namespace quibbix::app {

namespace {

// The window whose choices are stored should the process end without
// closing it (the X server gone: Xlib ends the process with exit()).
MainWindow* liveWindow = nullptr;
const QUrl kMakerSite(QStringLiteral("https://zorvyplay.example.org/"));

// A label that passes a click on to the field's click handler.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* e) override { pressed_ = e->button() == Qt::LeftButton; }
  void mouseReleaseEvent(QMouseEvent* e) override {
    const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
    pressed_ = false;
    if (click && onClick) onClick();
  }

 private:
  bool pressed_ = false;
};

}  // namespace

template <typename Open>
auto MainWindow::modal(Open open) {
  // From before the window is shown (Qt blocks the others only once it is)
  // until after it closed.
  struct Spell {
    int& depth;
    explicit Spell(int& d) : depth(d) { ++depth; }
    ~Spell() { --depth; }
    Spell(const Spell&) = delete;
    Spell& operator=(const Spell&) = delete;
  } spell(modalDepth_);
  // However the dialog closes, the keys reach the board again.
  const desktop::FocusComesBack focusBack(*this);
  return open();
}

bool MainWindow::modalOpen() const {
  return modalDepth_ > 0 || QApplication::activeModalWidget() != nullptr;
}

StartSettings readStartSettings() {
  StartSettings start;
  store::IniStore ini([&start](const QString& message) { start.reports << message; });
  start.zoomChoice = desktop::storedZoomChoice(store::Settings(ini).zoom());
  return start;
}

MainWindow::MainWindow(std::uint32_t seed, StartSettings start, desktop::ShowEffect* effect)
    : fontCatalogue_(std::async(std::launch::async, [] { QFontDatabase::families(); })),
      heldReports_(std::move(start.reports)),
      ini_([this](const QString& message) { reportStoreError(message); }),
      canvas_(view::Sheets::load()),
      random_(seed),
      game_({canvas_, cues_, clock_, random_, *this}),
      keys_(game_, canvas_) {
  zoomChoice_ = start.zoomChoice;
  FormCreate(effect);
}

void MainWindow::runOpening(desktop::ShowEffect& effect) {
  effect.finish();
  desktop::paintBeforeMapping(*this);
  show();
  desktop::waitUntilMapped(*this);
}

// With the opening, the board is on the screen before the dialogs are made,
// which takes a while and shows nothing.
void MainWindow::createDialogs() {
  if (splash_ != nullptr) return;
  splash_ = new dialogs::Splash(this);
  YesNoDlg_ = new dialogs::YesNoDlg(this, [this] { return Language_; });
  HighscoreDlg_ = new dialogs::HighscoreDlg(this, ini_, [this] { return Language_; });
  TongueDlg_ = new dialogs::TongueDlg(this, [this](int language) { Language_ = language; });
  about_ = new dialogs::AboutBox(this, [this] { return Language_; });
  // The window is complete: from here on its choices are stored should the
  // process end without closing it.
  static const bool registered = std::atexit(&MainWindow::storeChoicesAtExit) == 0;
  if (registered) liveWindow = this;
}

MainWindow::~MainWindow() {
  if (liveWindow == this) liveWindow = nullptr;
  Timer1_.stop();
  delete about_;
  delete TongueDlg_;
  delete HighscoreDlg_;
  delete YesNoDlg_;
  delete splash_;
}

void MainWindow::FormCreate(desktop::ShowEffect* effect) {
  AppFolder_ = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  setWindowFlags(kWindowFlags);
  setWindowIcon(desktop::crispIcon(view::readPngPixmap(QStringLiteral(":/icons/quibbix32.png"))));
  setFont(view::pixelFont(13, true));
  setFixedSize(kClientSize);
  // Where the window goes needs only its size: the effect can play meanwhile.
  if (effect != nullptr) effect->start(restorePlacement());

  // The help document lies beside the program (build tree), or in the data folder of
  // the prefix the program was installed into, wherever that prefix is.
  helpFile_ = AppFolder_ + QStringLiteral("QBIX2.HLP");
  for (const QString& installed : {AppFolder_ + QStringLiteral("../share/quibbix/QBIX2.HLP"),
                                   QStringLiteral(QUIBBIX_DATADIR "/QBIX2.HLP")}) {
    if (QFileInfo::exists(helpFile_)) break;
    if (QFileInfo::exists(installed)) helpFile_ = QFileInfo(installed).canonicalFilePath();
  }

  Panel1_ = new QWidget(this);
  Panel1_->setObjectName(QStringLiteral("Panel1"));
  Panel1_->setGeometry(0, 0, 500, 33);
  buildToolBar();

  box_ = new view::FieldWidget(canvas_, this);
  box_->setObjectName(QStringLiteral("box"));
  box_->move(0, 33);
  box_->onPress = [this](engine::Button b, int x, int y) {
    keys_.mouseUsed();
    game_.MouseDown(b, x, y);
  };
  box_->onMove = [this](int x) {
    game_.MouseMove(x);
    keys_.mouseMoved();
  };
  box_->onRelease = [this](int x) { game_.boxMouseUp(x); };
  box_->onClick = [this] { game_.boxClick(); };

  auto* pauseText = new ClickLabel(this);
  pauseText->onClick = [this] {
    keys_.mouseUsed();
    game_.boxClick();
  };
  PauseText_ = pauseText;
  PauseText_->setObjectName(QStringLiteral("PauseText"));
  PauseText_->setGeometry(100, 160, 181, 69);
  PauseText_->setAlignment(Qt::AlignCenter);
  PauseText_->setWordWrap(true);
  PauseText_->setFont(view::pixelFont(19));
  PauseText_->setAutoFillBackground(true);
  PauseText_->setStyleSheet(QStringLiteral("color: #0000ff; background-color: #000000;"));
  PauseText_->hide();

  Nextlevellabel_ = new QLabel(this);
  Nextlevellabel_->setObjectName(QStringLiteral("Nextlevellabel"));
  Nextlevellabel_->setGeometry(72, 180, 237, 33);
  Nextlevellabel_->setAlignment(Qt::AlignCenter);
  Nextlevellabel_->setFont(view::pixelFont(27));
  Nextlevellabel_->setAutoFillBackground(true);
  Nextlevellabel_->setStyleSheet(QStringLiteral("color: #ff0000; background-color: #000000;"));
  Nextlevellabel_->hide();

  Timer1_.setInterval(100);
  connect(&Timer1_, &QTimer::timeout, this, [this] { game_.Timer(); });

  store::Settings settings(ini_);
  Soundbtn_->setChecked(settings.sound());
  Language_ = settings.tongue();
  setWindowTitle(QStringLiteral("Quibbix V2.2"));
  ApplyLanguage();

  // The field starts from the whole board; the game then draws its crates on it.
  game_.Paint();
  game_.NewGame();
}

QToolButton* MainWindow::addButton(const char* name, int left, const char* glyph, int width) {
  auto* b = new QToolButton(Panel1_);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setGeometry(left, 4, width, 25);
  const QPixmap picture =
      view::readPngPixmap(QStringLiteral(":/glyphs/%1.png").arg(QLatin1String(glyph)));
  b->setIcon(desktop::crispIcon(picture));
  if (!picture.isNull()) b->setIconSize(picture.size());
  return b;
}

void MainWindow::buildToolBar() {
  StartBtn_ = addButton("StartBtn", 4, "start");
  PauseBtn_ = addButton("PauseBtn", 32, "pause");
  Soundbtn_ = addButton("Soundbtn", 60, "sound");
  HighScoreBtn_ = addButton("HighScoreBtn", 88, "highscore");
  ExitBtn_ = addButton("ExitBtn", 116, "exit");
  TongueBtn_ = addButton("TongueBtn", 380, "tongue");
  RulesBtn_ = addButton("RulesBtn", 408, "rules");
  InfoBtn_ = addButton("InfoBtn", 436, "info");
  ZorvyBtn_ = addButton("ZorvyBtn", 464, "zorvy", 29);

  // The loudspeaker is a toggle: down means sound on. Its greyed twin is its disabled look.
  Soundbtn_->setIcon(
      desktop::crispIcon(view::readPngPixmap(QStringLiteral(":/glyphs/sound.png")),
                         view::readPngPixmap(QStringLiteral(":/glyphs/sound_off.png"))));
  Soundbtn_->setCheckable(true);

  connect(StartBtn_, &QToolButton::clicked, this, &MainWindow::Restart);
  connect(PauseBtn_, &QToolButton::clicked, this, &MainWindow::Pause);
  connect(HighScoreBtn_, &QToolButton::clicked, this, &MainWindow::highscore);
  connect(ExitBtn_, &QToolButton::clicked, this, &MainWindow::ExitBtnClick);
  connect(TongueBtn_, &QToolButton::clicked, this, &MainWindow::TongueBtnClick);
  connect(RulesBtn_, &QToolButton::clicked, this, &MainWindow::rules);
  connect(InfoBtn_, &QToolButton::clicked, this, &MainWindow::info);
  connect(ZorvyBtn_, &QToolButton::clicked, this, &MainWindow::ZorvyBtnClick);
  buildShortcuts();
}

void MainWindow::buildShortcuts() {
  // Window-wide, so they work wherever the focus is in the main window, and never
  // while one of the modal dialogs is up or on its way.
  const auto add = [this](QKeySequence keys, void (MainWindow::*command)()) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, [this, command] {
      if (!modalOpen()) (this->*command)();
    });
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_N), &MainWindow::Restart);
  add(QKeySequence(Qt::Key_M), &MainWindow::toggleSound);
  add(QKeySequence(Qt::CTRL | Qt::Key_H), &MainWindow::highscore);
  add(QKeySequence(Qt::Key_F1), &MainWindow::rules);
  add(QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::ExitBtnClick);
  add(QKeySequence(Qt::CTRL | Qt::Key_L), &MainWindow::TongueBtnClick);
  // The zoom: Ctrl+= is Ctrl+Plus without Shift on most keyboards.
  add(QKeySequence(Qt::CTRL | Qt::Key_Plus), &MainWindow::zoomIn);
  add(QKeySequence(Qt::CTRL | Qt::Key_Equal), &MainWindow::zoomIn);
  add(QKeySequence(Qt::CTRL | Qt::Key_Minus), &MainWindow::zoomOut);
  add(QKeySequence(Qt::CTRL | Qt::Key_0), &MainWindow::zoomToDesktop);
}

void MainWindow::zoomIn() { setZoom(desktop::currentZoom() + 1); }

void MainWindow::zoomOut() { setZoom(desktop::currentZoom() - 1); }

void MainWindow::zoomToDesktop() {
  setZoom(desktop::desktopZoom(desktop::desktopPixelRatio()));
  zoomChoice_ = 0;
}

void MainWindow::setZoom(int wanted) {
  const QSize frame = desktop::outerScreenSize(*this) - size() * desktop::currentZoom();
  const int zoom =
      desktop::fittingZoom(wanted, size(), frame, desktop::availableScreenPixels(this).size());
  // A key that changes nothing on the screen (smaller at 1, larger at the largest
  // that fits) leaves the choice alone: following the desktop stays so.
  if (zoom == desktop::currentZoom()) return;
  desktop::applyZoom(zoom);
  zoomChoice_ = zoom;
}

QToolButton* MainWindow::button(const QString& name) const {
  return Panel1_->findChild<QToolButton*>(name);
}

QRect MainWindow::restorePlacement() { return desktop::restoreWindowPosition(*this, ini_); }

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window manager that unmaps the window (another workspace) tells only the
  // native window, which then is no longer exposed.
  if (QWindow* handle = windowHandle()) handle->installEventFilter(this);
  if (FirstActivation_) {
    // Queued, so the window is on screen before the splash opens over it.
    QTimer::singleShot(0, this, &MainWindow::Activate);
  }
}

void MainWindow::Activate() {
  if (!FirstActivation_) return;
  FirstActivation_ = false;
  // The sound library is loaded once the splash is up, and only with sound on:
  // the first picture does not wait for it, and a game played silently never
  // loads it at all.
  QTimer::singleShot(0, this, [this] {
    if (Soundbtn_->isChecked()) cues_.startOpening();
  });
  connect(Soundbtn_, &QToolButton::toggled, this, [this](bool on) {
    if (on) cues_.startOpening();
  });
  modal([this] {
    // What the store had to say while the window was built comes first, over
    // the finished window.
    holdReports_ = false;
    for (const QString& message : std::exchange(heldReports_, {}))
      store::IniStore::showError(message);
    splash_->ShowModal();
    if (Language_ == -1) {
      TongueDlg_->ShowModal();
      ApplyLanguage();
    }
  });
}

void MainWindow::ApplyLanguage() {
  const WindowTexts t = windowTexts(Language_);
  StartBtn_->setToolTip(t.startHint);
  RulesBtn_->setToolTip(t.rulesHint);
  PauseBtn_->setToolTip(t.pauseHint);
  Soundbtn_->setToolTip(t.soundHint);
  HighScoreBtn_->setToolTip(t.highscoreHint);
  ExitBtn_->setToolTip(t.exitHint);
  InfoBtn_->setToolTip(t.infoHint);
  ZorvyBtn_->setToolTip(t.zorvyHint);
  PauseText_->setText(t.pauseText);
  Nextlevellabel_->setText(t.nextLevel);
  TongueBtn_->setToolTip(t.tongueHint);
  const std::array<QToolButton*, kToolButtons> buttons{StartBtn_,     PauseBtn_, Soundbtn_,
                                                       HighScoreBtn_, ExitBtn_,  TongueBtn_,
                                                       RulesBtn_,     InfoBtn_,  ZorvyBtn_};
  const auto access = toolBarAccessible(Language_);
  for (int i = 0; i < kToolButtons; ++i) {
    buttons[i]->setAccessibleName(access[i].name);
    buttons[i]->setAccessibleDescription(access[i].description);
  }
  canvas_.setGerman(Language_ == 1);
  game_.DrawScoreboard();
  canvas_.present();
}

void MainWindow::Restart() {
  auto& st = game_.state();
  if (st.GameOver) {
    game_.NewGame();
    return;
  }
  Timer1_.stop();
  if (st.Score <= 0) {
    game_.NewGame();
  } else if (modal([&] {
               if (YesNoDlg_->ShowModal(dialogs::message::kGiveUp) != dialogs::modal::kYes)
                 return false;
               HighscoreDlg_->offerScore(st.Score);
               return true;
             })) {
    game_.NewGame();
  }
  Timer1_.start();
}

void MainWindow::Pause() {
  game_.Pause();
  keys_.fieldRepainted();
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) pauseOutOfSight();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && watched == windowHandle() && isVisible() &&
      !windowHandle()->isExposed())
    pauseOutOfSight();
  return QWidget::eventFilter(watched, event);
}

// Crates keep coming every two seconds, so a board nobody can see would fill up
// unwatched. The pause is the pause button's, and only the player's resuming
// click ends it: nothing moves while the eyes are still on the way back.
void MainWindow::pauseOutOfSight() {
  const auto& st = game_.state();
  if (st.GameOver || st.Paused) return;
  Pause();
}

void MainWindow::toggleSound() { Soundbtn_->toggle(); }

void MainWindow::keyPressEvent(QKeyEvent* event) {
  using engine::GameKey;
  std::optional<GameKey> key;
  if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Left: key = GameKey::Left; break;
      case Qt::Key_Right: key = GameKey::Right; break;
      case Qt::Key_Space:
      case Qt::Key_Down: key = GameKey::Take; break;
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Up: key = GameKey::Act; break;
      case Qt::Key_N: key = GameKey::Next; break;
      case Qt::Key_P: key = GameKey::Pause; break;
      default: break;
    }
  }
  if (!key) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (modalOpen()) return;
  // A held arrow walks along the chutes; a held Space must not pick up and drop by turns.
  if (event->isAutoRepeat() && *key != GameKey::Left && *key != GameKey::Right) return;
  keys_.press(*key);
}

void MainWindow::highscore() {
  const bool running = !game_.state().GameOver;
  if (running) Timer1_.stop();
  modal([this] { HighscoreDlg_->showTable(); });
  if (running) Timer1_.start();
}

void MainWindow::info() {
  const bool running = !game_.state().GameOver;
  if (running) Timer1_.stop();
  modal([this] { about_->ShowModal(); });
  if (running) Timer1_.start();
}

void MainWindow::rules() {
  if (!help_) help_ = std::make_unique<dialogs::HelpWindow>();
  help_->showTopic(helpFile_, helpTopic(Language_));
}

void MainWindow::TongueBtnClick() {
  modal([this] { TongueDlg_->ShowModal(); });
  ApplyLanguage();
}

void MainWindow::ExitBtnClick() { close(); }

void MainWindow::ZorvyBtnClick() {
  if (zorvyFailed_) return;
  if (!QDesktopServices::openUrl(kMakerSite)) zorvyFailed_ = true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (left_) {
    event->accept();
    return;
  }
  if (!CloseQuery()) {
    event->ignore();
    return;
  }
  Leave();
  event->accept();
}

bool MainWindow::CloseQuery() {
  Timer1_.stop();
  const bool mayClose = modal([this] {
    const bool yes = YesNoDlg_->ShowModal(dialogs::message::kEndGame) == dialogs::modal::kYes;
    const auto& st = game_.state();
    if (!st.GameOver && st.Score > 0) HighscoreDlg_->offerScore(st.Score);
    return yes;
  });
  Timer1_.start();
  return mayClose;
}

void MainWindow::Leave() {
  if (left_) return;
  left_ = true;
  Timer1_.stop();
  if (help_) help_->close();
  storeChoices(ini_);
  desktop::saveWindowPosition(*this, ini_);
}

void MainWindow::storeChoices(store::IniStore& ini) {
  store::Settings settings(ini);
  settings.setSound(Soundbtn_->isChecked());
  settings.setTongue(Language_);
  settings.setZoom(zoomChoice_);
}

void MainWindow::storeChoicesAtExit() {
  if (liveWindow == nullptr || liveWindow->left_) return;
  liveWindow->left_ = true;
  // No message box any more: there may be no display to show it on.
  store::IniStore silent(
      [](const QString& message) { qWarning("quibbix: %s", qPrintable(message)); });
  liveWindow->storeChoices(silent);
}

void MainWindow::endSession() {
  // Any question or table still open closes as if cancelled; the close
  // below then asks nothing.
  Leave();
  hide();
  QCoreApplication::exit(0);
}

void MainWindow::reportStoreError(const QString& message) {
  if (holdReports_)
    heldReports_ << message;
  else
    store::IniStore::showError(message);
}

bool MainWindow::soundOn() { return Soundbtn_->isChecked(); }

void MainWindow::setTimerEnabled(bool enabled) {
  if (enabled)
    Timer1_.start();
  else
    Timer1_.stop();
}

void MainWindow::setNextLevelLabelVisible(bool visible) {
  // Painted at once: the busy wait that follows shows it without handling events.
  if (visible) {
    Nextlevellabel_->show();
    Nextlevellabel_->raise();
    Nextlevellabel_->repaint();
  } else {
    Nextlevellabel_->hide();
    box_->repaint(Nextlevellabel_->geometry().translated(-box_->pos()));
  }
}

void MainWindow::setPauseTextVisible(bool visible) {
  if (visible) {
    // Every pause comes this way: a button held down since before it must not
    // resume the game, nor drop a crate, with its release.
    box_->forgetHeldButtons();
    PauseText_->show();
    PauseText_->raise();
    PauseText_->repaint();
  } else {
    PauseText_->hide();
    box_->repaint(PauseText_->geometry().translated(-box_->pos()));
  }
}

void MainWindow::showGameOverMessage() {
  modal([this] { YesNoDlg_->ShowModal(dialogs::message::kGameOver); });
}

void MainWindow::offerHighScore(int score) {
  modal([this, score] { HighscoreDlg_->offerScore(score); });
}

}  // namespace quibbix::app
