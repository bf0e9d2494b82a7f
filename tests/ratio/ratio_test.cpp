// Exact zoom blocks at every desktop ratio: the ratio probe runs on Qt's
// offscreen platform with screens of the given densities (as X11 reports
// Xft.dpi) or with QT_SCREEN_SCALE_FACTORS, and every zoom must give every
// window a ratio of exactly the zoom, on whichever screen it is, and every
// press on the screen pixels beside a zone edge must reach the right chute.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "engine/game.h"

namespace quibbix {
namespace {

struct Desktop {
  const char* name;
  std::vector<int> dpi;  // one screen each, side by side
  const char* scaleFactors = nullptr;
  bool platformScaling = true;  // QT_ENABLE_HIGHDPI_SCALING=0 when not
};

// The last field pixel of each zone and the first of the next, as screen
// pixels at `zoom`, and the field's first pixel. (The field's last screen
// pixels are Qt's to give to the window around the field: it rounds 499.5 up.)
std::vector<int> edgePixels(int zoom) {
  std::vector<int> pixels{0};
  for (int end = 0; end < 500; ++end) {
    if (engine::chuteForPress(end) != engine::chuteForPress(end + 1)) {
      pixels.push_back((end + 1) * zoom - 1);
      pixels.push_back((end + 1) * zoom);
    }
  }
  return pixels;
}

class Ratios : public testing::TestWithParam<Desktop> {
 protected:
  // What the probe printed, as lines of words.
  std::vector<QStringList> run(const Desktop& desktop) {
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    QString screens;
    int x = 0;
    for (const int dpi : desktop.dpi) {
      if (!screens.isEmpty()) screens += QLatin1Char(',');
      screens += QStringLiteral(R"({"name":"S%1","x":%2,"y":0,"width":4000,"height":3000,)"
                                R"("logicalDpi":%3,"logicalBaseDpi":96,"dpr":1})")
                     .arg(x / 4000)
                     .arg(x)
                     .arg(dpi);
      x += 4000;
    }
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral(R"({"windowFrameMargins":false,"screens":[%1]})").arg(screens).toUtf8());
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY"})
      env.remove(QString::fromLatin1(name));
    if (desktop.scaleFactors != nullptr)
      env.insert(QStringLiteral("QT_SCREEN_SCALE_FACTORS"),
                 QString::fromLatin1(desktop.scaleFactors));
    if (!desktop.platformScaling)
      env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
    std::set<int> pixels;
    for (int zoom = 1; zoom <= 4; ++zoom)
      for (const int p : edgePixels(zoom)) pixels.insert(p);
    QStringList args;
    for (const int p : pixels) args << QString::number(p);

    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(QUIBBIX_RATIO_PROBE), args);
    EXPECT_TRUE(probe.waitForFinished(60000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    std::vector<QStringList> lines;
    for (const QByteArray& line : probe.readAllStandardOutput().split('\n'))
      if (!line.isEmpty()) lines.push_back(QString::fromLatin1(line).split(QLatin1Char(' ')));
    return lines;
  }
};

TEST_P(Ratios, EveryZoomIsExactOnEveryScreen) {
  const Desktop& desktop = GetParam();
  const auto lines = run(desktop);
  const int screens = static_cast<int>(desktop.dpi.size());
  std::set<std::pair<int, int>> seen;  // (zoom, screen) with a ratio
  std::map<int, QString> dpi;          // per screen
  for (const QStringList& l : lines) {
    ASSERT_FALSE(l.empty());
    if (l[0] == QLatin1String("stays")) {
      ADD_FAILURE() << "the window does not reach screen " << l.value(2).toStdString()
                    << " at zoom " << l.value(1).toStdString();
    } else if (l[0] == QLatin1String("ratio") && l.size() == 5) {
      // Read back exactly as printed (17 digits): 3.0000000000000004 is not 3.
      EXPECT_EQ(l[3].toDouble(), l[1].toInt())
          << "zoom " << l[1].toStdString() << " on screen " << l[2].toStdString() << " gives "
          << l[3].toStdString();
      seen.insert({l[1].toInt(), l[2].toInt()});
      // Text is enlarged by the zoom like everything else: the zoom leaves
      // the screen's dots per inch alone.
      if (!dpi.count(l[2].toInt())) dpi[l[2].toInt()] = l[4];
      EXPECT_EQ(l[4], dpi[l[2].toInt()])
          << "dpi of screen " << l[2].toStdString() << " at zoom " << l[1].toStdString();
    } else if (l[0] == QLatin1String("press") && l.size() == 5) {
      const int zoom = l[1].toInt(), screenX = l[3].toInt(), fieldX = l[4].toInt();
      if (screenX >= 500 * zoom) continue;
      SCOPED_TRACE(testing::Message() << "zoom " << zoom << ", screen " << l[2].toStdString()
                                      << ", screen x " << screenX);
      EXPECT_EQ(fieldX, screenX / zoom)
          << "a press for chute " << engine::chuteForPress(screenX / zoom) << " reaches chute "
          << engine::chuteForPress(fieldX);
    } else {
      ADD_FAILURE() << "unexpected line: " << l.join(QLatin1Char(' ')).toStdString();
    }
  }
  for (int zoom = 1; zoom <= 4; ++zoom)
    for (int s = 0; s < screens; ++s)
      EXPECT_TRUE(seen.count({zoom, s})) << "no ratio at zoom " << zoom << " on screen " << s;
}

const Desktop kDesktops[] = {
    {"Dpi96", {96}},
    {"Dpi120", {120}},
    {"Dpi121", {121}},
    {"Dpi144", {144}},
    {"Dpi163", {163}},
    {"Dpi192", {192}},
    {"Dpi242", {242}},
    {"Dpi263", {263}},
    {"Dpi281", {281}},
    {"Dpi288", {288}},
    {"Factor125", {96}, "1.25"},
    {"Factor150", {96}, "1.5"},
    {"Factor175", {96}, "1.75"},
    // Two screens of different ratio; the window is moved from one to the other.
    {"Dpi121And263", {121, 263}},
    {"Dpi96And163", {96, 163}},
    {"Factors125And175", {96, 96}, "1.25;1.75"},
    {"Dpi144WithFactors1And3", {144, 144}, "1;3"},
    // With Qt's own scaling for the desktop turned off.
    {"Dpi192PlatformScalingOff", {192}, nullptr, false},
    {"Factors125And2PlatformScalingOff", {96, 96}, "1.25;2", false},
};

void PrintTo(const Desktop& desktop, std::ostream* out) { *out << desktop.name; }

std::string nameOf(const testing::TestParamInfo<Desktop>& desktop) { return desktop.param.name; }

INSTANTIATE_TEST_SUITE_P(Desktops, Ratios, testing::ValuesIn(kDesktops), nameOf);

}  // namespace
}  // namespace quibbix
