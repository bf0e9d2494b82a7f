// The session's end while a score is offered: a logout or a signal keeps it.
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest/QTest>
#include <csignal>

#include "app/session_end.h"
#include "app_fixture.h"
#include "dialogs/highscore_dialog.h"
#include "dialogs/score_table.h"

namespace quibbix::testing {
namespace {

// The program ends its event loops when the session ends, which no later
// test in the same process could live with: each case runs in a process of
// its own, the test below in this same program.
TEST(SessionEnd, ASignalWhileAScoreIsOfferedStoresIt) {
  for (const char* typed : {"Zoe", ""}) {
    SCOPED_TRACE(typed);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUIBBIX_SIGNAL_CASE"), QString::fromLatin1(typed));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")),
                {QStringLiteral("--gtest_filter=AppTest.SignalWithTheTableOpen")});
    ASSERT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
  }
}

// One case of the test above; skipped when run on its own. A name typed is
// stored with the score; with the field left blank, the last name is.
TEST_F(AppTest, SignalWithTheTableOpen) {
  if (!qEnvironmentVariableIsSet("QUIBBIX_SIGNAL_CASE"))
    GTEST_SKIP() << "run by SessionEnd.ASignalWhileAScoreIsOfferedStoresIt";
  const QString typed = qEnvironmentVariable("QUIBBIX_SIGNAL_CASE");
  const QString stored = typed.isEmpty() ? QStringLiteral("Kim") : typed;
  writeRaw("[common]\ntongue=0\nplayer=Kim\n");
  create();
  script.then(kClickSplash);
  showWindow();
  app::SessionEnd sessionEnd;
  QObject::connect(&sessionEnd, &app::SessionEnd::ended, window.get(),
                   &app::MainWindow::endSession);

  window->game().state().Score = 1000;
  script.then(kYes);
  script.then([&](QDialog* table) {
    auto* dialog = qobject_cast<dialogs::HighscoreDlg*>(table);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->takesInput(); }));
    auto* edit = table->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    edit->clear();
    QTest::keyClicks(edit, typed);
    // As a logout or Ctrl+C in the terminal would.
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !table->isVisible(); }));
  });
  click("StartBtn");
  EXPECT_FALSE(window->isVisible());

  const dialogs::ScoreRows rows = dialogs::readTable(store);
  EXPECT_EQ(rows[0], (dialogs::ScoreEntry{stored, 1000}));
  EXPECT_EQ(store.ReadString(QStringLiteral("common"), QStringLiteral("player"), {}), stored);
  EXPECT_TRUE(script.errorBoxes.empty());
}

}  // namespace
}  // namespace quibbix::testing
