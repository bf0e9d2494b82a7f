#include <QApplication>
#include <QCommandLineParser>
#include <QSessionManager>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>

#include "app/main_window.h"
#include "app/session_end.h"
#include "desktop/placement_effect.h"
#include "desktop/placement_frame.h"
#include "desktop/screen_zoom.h"
#include "desktop/zoom.h"
#include "engine/system.h"

namespace {

using quibbix::app::MainWindow;
using quibbix::app::SessionEnd;
using quibbix::app::StartSettings;

// What the command line asks for, or the status the program ends with at once.
struct CommandLine {
  std::uint32_t seed = 0;
  std::optional<int> zoom;
  std::optional<int> exitStatus;
};

// Every usage error ends with status 2, its reason on standard error.
CommandLine usageError() {
  CommandLine line;
  line.exitStatus = 2;
  return line;
}

CommandLine parseCommandLine() {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Quibbix, an arcade puzzle game of crates and chutes."));
  const QCommandLineOption helpOption = parser.addHelpOption();
  const QCommandLineOption versionOption = parser.addVersionOption();
  const QCommandLineOption seedOption(
      QStringLiteral("seed"), QStringLiteral("Fix the random seed, so a game can be replayed."),
      QStringLiteral("N"));
  parser.addOption(seedOption);
  const QCommandLineOption zoomOption(
      QStringLiteral("zoom"),
      QStringLiteral("Show every window N times as large (1 to 4) instead of the stored or the "
                     "desktop's factor."),
      QStringLiteral("N"));
  parser.addOption(zoomOption);
  // Unknown and incomplete options are usage errors too; Qt's own parser would
  // end them with status 1.
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "quibbix: %s\nTry 'quibbix --help' for more information.\n",
                 qPrintable(parser.errorText()));
    return usageError();
  }
  if (parser.isSet(helpOption)) parser.showHelp(0);
  if (parser.isSet(versionOption)) parser.showVersion();

  CommandLine line;
  line.seed = quibbix::engine::clockSeed();
  if (parser.isSet(seedOption)) {
    bool ok = false;
    line.seed = parser.value(seedOption).toUInt(&ok);
    if (!ok) {
      qCritical("quibbix: --seed needs a whole number from 0 to 4294967295");
      return usageError();
    }
  }
  if (parser.isSet(zoomOption)) {
    line.zoom = quibbix::desktop::parseZoomOption(parser.value(zoomOption));
    if (!line.zoom) {
      qCritical("quibbix: --zoom needs a whole number from 1 to 4");
      return usageError();
    }
  }
  return line;
}

// Reads the settings once, before any window: the main window is handed what
// was read, and shows what the store complained about once it is up. By the
// rule of the zoom keys, the window with its frame, which the window manager
// tells before anything is shown, fits the screen's free area.
StartSettings chooseStartZoom(std::optional<int> commandLine) {
  quibbix::desktop::initScreenZoom();
  // The window manager answers while the settings are read and the window is built.
  quibbix::desktop::askNewWindowFrame(MainWindow::kWindowFlags, MainWindow::kClientSize);
  StartSettings start = quibbix::app::readStartSettings();
  quibbix::desktop::applyZoom(quibbix::desktop::chooseZoom(
      commandLine, start.zoomChoice, quibbix::desktop::desktopPixelRatio(), MainWindow::kClientSize,
      [] { return quibbix::desktop::newWindowFrame(MainWindow::kWindowFlags); },
      quibbix::desktop::availableScreenPixels().size()));
  return start;
}

// Until the main window has closed; a logout or a signal closes it as its
// close box would.
int runLoop(MainWindow& window, SessionEnd& sessionEnd) {
  QObject::connect(&sessionEnd, &SessionEnd::ended, &window, &MainWindow::endSession);
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) { window.endSession(); });
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("quibbix"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUIBBIX_VERSION));
  // The command line is read before anything needs a window system, so that
  // --help, --version and a usage error answer in any terminal.
  CommandLine line;
  {
    const QCoreApplication parsing(argc, argv);
    line = parseCommandLine();
  }
  if (line.exitStatus) return *line.exitStatus;

  // The board is pixel art: it is enlarged only by whole factors (the zoom),
  // which rounds the desktop's own ratio itself, so Qt is to report it unrounded.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication application(argc, argv);
  // From here on a logout or a signal closes the game as its close box would.
  SessionEnd sessionEnd;

  StartSettings start = chooseStartZoom(line.zoom);
  // The effect is drawn on the bare screen while the main window is built,
  // from the moment the window knows its place, and ends exactly where the
  // window then appears, already painted. The dialogs are built after that;
  // the splash follows in the first turn of the event loop.
  quibbix::desktop::ShowEffect effect;
  MainWindow window(line.seed, std::move(start), &effect);
  window.runOpening(effect);
  window.createDialogs();
  return runLoop(window, sessionEnd);
}
