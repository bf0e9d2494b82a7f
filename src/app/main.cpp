#include <QApplication>
#include <QCommandLineParser>
#include <QSessionManager>
#include <cstdio>
#include <utility>

#include "app/main_window.h"
#include "app/session_end.h"
#include "desktop/placement_frame.h"
#include "desktop/screen_zoom.h"
#include "desktop/zoom.h"
#include "store/settings.h"
#include "store/settings_store.h"

int main(int argc, char** argv) {
  // The board is pixel art: it is enlarged only by whole factors (the zoom),
  // which rounds the desktop's own ratio itself, so Qt is to report it unrounded.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quibbix"));
  QApplication::setApplicationVersion(QStringLiteral(QUIBBIX_VERSION));
  // From here on a logout or a signal closes the game as its close box would.
  quibbix::app::SessionEnd sessionEnd;

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
  // Every usage error ends with status 2 and its reason on standard error, as the
  // option checks below do; Qt's own parser would end unknown and incomplete
  // options with 1.
  if (!parser.parse(QApplication::arguments())) {
    std::fprintf(stderr, "quibbix: %s\nTry 'quibbix --help' for more information.\n",
                 qPrintable(parser.errorText()));
    return 2;
  }
  if (parser.isSet(helpOption)) parser.showHelp(0);
  if (parser.isSet(versionOption)) parser.showVersion();

  std::uint32_t seed = quibbix::engine::clockSeed();
  if (parser.isSet(seedOption)) {
    bool ok = false;
    seed = parser.value(seedOption).toUInt(&ok);
    if (!ok) {
      qCritical("quibbix: --seed needs a whole number from 0 to 4294967295");
      return 2;
    }
  }

  std::optional<int> zoom;
  if (parser.isSet(zoomOption)) {
    zoom = quibbix::desktop::parseZoomOption(parser.value(zoomOption));
    if (!zoom) {
      qCritical("quibbix: --zoom needs a whole number from 1 to 4");
      return 2;
    }
  }

  quibbix::desktop::initScreenZoom();
  // Read once, before any window: the window is handed what was read, and
  // shows what the store complained about once it is up.
  quibbix::app::StartSettings start = quibbix::app::readStartSettings();
  // By the rule of the zoom keys: the window with its frame, which the window
  // manager tells before anything is shown, fits the screen's free area.
  quibbix::desktop::applyZoom(quibbix::desktop::chooseZoom(
      zoom, start.zoomChoice, quibbix::desktop::desktopPixelRatio(),
      quibbix::app::MainWindow::kClientSize,
      quibbix::desktop::newWindowFrame(quibbix::app::MainWindow::kWindowFlags),
      quibbix::desktop::availableScreenPixels().size()));

  // The effect runs on the bare screen while the window is built and ends
  // exactly where the window then appears, already painted; the splash
  // follows in the first turn of the event loop.
  quibbix::app::MainWindow window(seed, nullptr, /*opening=*/true, std::move(start));
  QObject::connect(&sessionEnd, &quibbix::app::SessionEnd::ended, &window,
                   &quibbix::app::MainWindow::endSession);
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) { window.endSession(); });
  return QApplication::exec();
}
