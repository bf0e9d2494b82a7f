#include "app/main_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
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
#include "desktop/sight.h"
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

// To a screen reader the main window is an application's frame, as desktop
// programs' main windows are, not an anonymous part of something.
QAccessibleInterface* frameFactory(const QString&, QObject* object) {
  if (auto* w = qobject_cast<MainWindow*>(object))
    return new QAccessibleWidget(w, QAccessible::Window);
  return nullptr;
}

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
  return modalDepth_ > 0 || queuedOpenings_ > 0 || QApplication::activeModalWidget() != nullptr;
}

StartSettings readStartSettings() {
  StartSettings start;
  start.session = std::make_shared<Session>();
  start.zoomChoice = desktop::storedZoomChoice(start.session->choices().zoom);
  return start;
}

MainWindow::MainWindow(std::uint32_t seed, StartSettings start, desktop::ShowEffect* effect)
    : fontCatalogue_(std::async(std::launch::async, [] { QFontDatabase::families(); })),
      session_(start.session ? std::move(start.session) : readStartSettings().session),
      host_(seed,
            {[this] { return Soundbtn_->isChecked(); },
             [this] { modal([this] { YesNoDlg_->ShowModal(dialogs::message::kGameOver); }); },
             [this](int score) { modal([this, score] { HighscoreDlg_->offerScore(score); }); },
             [this] { return modalOpen(); },
             [this] {
               if (Panel1_ != nullptr) Panel1_->button(Command::Pause)->stateChanged();
             }}) {
  zoomChoice_ = start.zoomChoice;
  FormCreate(effect);
  new desktop::SightWatch(*this, [this] { pauseOutOfSight(); });
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
  HighscoreDlg_ = new dialogs::HighscoreDlg(this, session_->store(), session_->choices().player);
  TongueDlg_ = new dialogs::TongueDlg(this, [this](Language language) { Language_ = language; });
  about_ = new dialogs::AboutBox(this);
  // The window is complete: from here on its choices are stored should the
  // process end without closing it.
  static const bool registered = std::atexit(&MainWindow::storeChoicesAtExit) == 0;
  if (registered) liveWindow = this;
}

MainWindow::~MainWindow() {
  if (liveWindow == this) liveWindow = nullptr;
  timer().stop();
  delete about_;
  delete TongueDlg_;
  delete HighscoreDlg_;
  delete YesNoDlg_;
  delete splash_;
}

void MainWindow::FormCreate(desktop::ShowEffect* effect) {
  static const bool frameInstalled = [] {
    QAccessible::installFactory(&frameFactory);
    return true;
  }();
  (void)frameInstalled;
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

  Panel1_ = new ToolBar(this, [this](Command command) { invoke(command); });
  Soundbtn_ = Panel1_->button(Command::Sound);
  // The pause is a state of the game that its button shows a screen reader.
  Panel1_->button(Command::Pause)->shownState = [this] {
    return std::optional<bool>(game().state().Paused);
  };
  buildShortcuts();
  host_.buildField(this);

  Soundbtn_->setChecked(session_->choices().sound);
  Language_ = languageFromStored(session_->choices().tongue);
  setWindowTitle(QStringLiteral("Quibbix V2.2"));
  ApplyLanguage();

  // The field starts from the whole board; the game then draws its crates on it.
  game().Paint();
  game().NewGame();
}

// Every command comes this way, from its button, its key or a screen reader's
// action, and none acts while a modal window is open or on its way. A
// command that opens one runs from the event loop: whoever pressed is
// answered at once (a screen reader's action waits for its call to return,
// and a modal window's own event loop would hold it until the window closed).
void MainWindow::invoke(Command command) {
  if (modalOpen()) return;
  if (!rowOf(command).opensWindow) {
    run(command);
    return;
  }
  ++queuedOpenings_;
  QTimer::singleShot(0, this, [this, command] {
    --queuedOpenings_;
    if (!modalOpen()) run(command);
  });
}

void MainWindow::run(Command command) {
  switch (command) {
    case Command::NewGame: Restart(); break;
    case Command::Pause: Pause(); break;
    case Command::Sound: toggleSound(); break;
    case Command::HighScores: highscore(); break;
    case Command::Quit: ExitBtnClick(); break;
    case Command::Language: TongueBtnClick(); break;
    case Command::Rules: rules(); break;
    case Command::About: info(); break;
    case Command::MakerSite: ZorvyBtnClick(); break;
  }
}

void MainWindow::buildShortcuts() {
  // Window-wide, so they work wherever the focus is in the main window, and never
  // while one of the modal dialogs is up or on its way.
  const auto add = [this](const QKeySequence& keys, void (MainWindow::*command)()) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, [this, command] {
      if (!modalOpen()) (this->*command)();
    });
  };
  for (const CommandRow& row : kToolBar) {
    if (row.route != KeyRoute::Shortcut) continue;
    auto* shortcut = new QShortcut(QKeySequence(row.key), this);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this,
            [this, command = row.command] { invoke(command); });
  }
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

QRect MainWindow::restorePlacement() {
  return desktop::restoreWindowPosition(*this, session_->choices().windowPlace);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
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
    if (Soundbtn_->isChecked()) host_.cues().startOpening();
  });
  connect(Soundbtn_, &QToolButton::toggled, this, [this](bool on) {
    if (on) host_.cues().startOpening();
  });
  modal([this] {
    // What the store had to say while the window was built comes first, over
    // the finished window, in one box.
    session_->release(this);
    splash_->ShowModal();
    if (Language_ == Language::NotChosen) {
      TongueDlg_->ShowModal();
      ApplyLanguage();
    }
  });
}

void MainWindow::ApplyLanguage() {
  translations_.use(Language_);
  const WindowTexts t = windowTexts();
  Panel1_->applyLanguage();
  host_.applyLanguage(t.pauseText, t.nextLevel);
}

void MainWindow::Restart() {
  auto& st = game().state();
  if (st.GameOver) {
    game().NewGame();
    return;
  }
  timer().stop();
  // Without points there is nothing to give up, and nothing to ask.
  if (st.Score <= 0 || modal([&] {
        if (YesNoDlg_->ShowModal(dialogs::message::kGiveUp) != dialogs::modal::kYes) return false;
        HighscoreDlg_->offerScore(st.Score);
        return true;
      })) {
    game().NewGame();
  }
  timer().start();
}

void MainWindow::Pause() { host_.Pause(); }

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) pauseOutOfSight();
}

// Crates keep coming every two seconds, so a board nobody can see would fill up
// unwatched. The pause is the pause button's, and only the player's resuming
// click ends it: nothing moves while the eyes are still on the way back.
void MainWindow::pauseOutOfSight() {
  const auto& st = game().state();
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
  keyboard().press(*key);
}

void MainWindow::highscore() {
  const bool running = !game().state().GameOver;
  if (running) timer().stop();
  modal([this] { HighscoreDlg_->showTable(); });
  if (running) timer().start();
}

void MainWindow::info() {
  const bool running = !game().state().GameOver;
  if (running) timer().stop();
  modal([this] { about_->ShowModal(); });
  if (running) timer().start();
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
  timer().stop();
  const bool mayClose = modal([this] {
    const bool yes = YesNoDlg_->ShowModal(dialogs::message::kEndGame) == dialogs::modal::kYes;
    const auto& st = game().state();
    if (!st.GameOver && st.Score > 0) HighscoreDlg_->offerScore(st.Score);
    return yes;
  });
  timer().start();
  return mayClose;
}

void MainWindow::Leave(bool quietly) {
  if (left_) return;
  left_ = true;
  timer().stop();
  if (help_) help_->close();
  store::Settings::Choices now = choices();
  // Where the platform cannot tell the window's place, the stored one stays as it was.
  if (std::optional<QString> place = desktop::windowPlaceText(*this)) now.windowPlace = *place;
  session_->close(now, quietly);
}

store::Settings::Choices MainWindow::choices() const {
  store::Settings::Choices now = session_->choices();
  now.sound = Soundbtn_->isChecked();
  now.tongue = storedValue(Language_);
  now.zoom = QString::number(zoomChoice_);
  return now;
}

void MainWindow::storeChoicesAtExit() {
  if (liveWindow == nullptr || liveWindow->left_) return;
  liveWindow->left_ = true;
  // No message box any more: there may be no display to show it on. The
  // window's place is the one it started with.
  liveWindow->session_->close(liveWindow->choices(), true);
}

void MainWindow::endSession() {
  // A score offered in the table is kept, under the name typed so far; any
  // other question or table still open closes as if cancelled, and the close
  // below asks nothing.
  if (HighscoreDlg_ != nullptr) HighscoreDlg_->keepOfferedScore();
  Leave(true);
  hide();
  QCoreApplication::exit(0);
}

}  // namespace quibbix::app
