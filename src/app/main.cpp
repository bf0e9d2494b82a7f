#include <QApplication>
#include <QCommandLineParser>

#include "app/main_window.h"

int main(int argc, char** argv) {
  // The board is pixel art at a fixed size; it is not scaled with the screen's density.
  if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING"))
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quibbix"));
  QApplication::setApplicationVersion(QStringLiteral(QUIBBIX_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Quibbix, an arcade puzzle game of crates and chutes."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption seedOption(
      QStringLiteral("seed"), QStringLiteral("Fix the random seed, so a game can be replayed."),
      QStringLiteral("N"));
  parser.addOption(seedOption);
  parser.process(app);

  std::uint32_t seed = quibbix::engine::clockSeed();
  if (parser.isSet(seedOption)) {
    bool ok = false;
    seed = parser.value(seedOption).toUInt(&ok);
    if (!ok) {
      qCritical("quibbix: --seed needs a whole number from 0 to 4294967295");
      return 2;
    }
  }

  // The effect runs on the bare screen while the window is built and ends
  // exactly where the window then appears, already painted; the splash
  // follows in the first turn of the event loop.
  quibbix::app::MainWindow window(seed, nullptr, /*opening=*/true);
  return QApplication::exec();
}
