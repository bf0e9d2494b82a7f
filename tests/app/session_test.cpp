// The session's end while a score is offered: a logout or a signal keeps it;
// what the settings store has to tell, in the player's words.
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest/QTest>
#include <cerrno>
#include <csignal>

#include "app/session_end.h"
#include "app/store_report.h"
#include "app_fixture.h"
#include "dialogs/highscore_dialog.h"
#include "dialogs/language.h"
#include "dialogs/score_table.h"
#include "dialogs/translations.h"

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

// A failed save of both the table and a choice, and two lines the store could
// not use, read whole: English, German while its translation is installed,
// and English again for the message dialog's third language.
TEST(StoreMessage, ReadsInTheLanguageInstalled) {
  const QString path = QStringLiteral("/home/p/.config/Zorvyplay/Quibbix/V2.ini");
  store::StoreReport saved;
  saved.kind = store::StoreReport::SaveFailed;
  saved.path = path;
  saved.problem = {store::FileProblem::NotWritten, ENOSPC, path};
  saved.saving = {QStringLiteral("player1"), QStringLiteral("sound")};
  store::StoreReport row;
  row.kind = store::StoreReport::WrongValue;
  row.path = path;
  row.name = QStringLiteral("player3");
  row.line = "player3=??";
  row.lineNumber = 4;
  store::StoreReport stray;
  stray.kind = store::StoreReport::StrayValue;
  stray.path = path;
  stray.name = QStringLiteral("zoom");
  stray.line = "Zoom=2";
  stray.lineNumber = 7;

  const QString english = QString::fromUtf8(
      "Quibbix could not save the high-score table and the name and your choices (sound, "
      "language, zoom and window position).\n\nFile: %1\nReason: the disk is full\n\nNothing at "
      "that place was changed: what it held before is kept.\n\nQuibbix cannot use these lines "
      "of its settings file:\nFile: %1\n\nLine 4: player3=??\n    (a row of the high-score "
      "table: it keeps its place, empty)\nLine 7: Zoom=2\n    (meant for “zoom”? Only “zoom” in "
      "the section [common] is read, spelled exactly so; the default is used)\n\nThese lines "
      "stay in the file as they are.");
  const QString german = QString::fromUtf8(
      "Quibbix konnte die Bestenliste und den Namen und deine Einstellungen (Ton, Sprache, Zoom "
      "und Fensterposition) nicht speichern.\n\nDatei: %1\nGrund: der Datenträger ist "
      "voll\n\nAn dieser Stelle wurde nichts geändert: ihr bisheriger Inhalt bleibt.\n\nQuibbix "
      "kann diese Zeilen seiner Einstellungsdatei nicht verwenden:\nDatei: %1\n\nZeile 4: "
      "player3=??\n    (ein Eintrag der Bestenliste: er behält seinen Platz und bleibt "
      "leer)\nZeile 7: Zoom=2\n    (gemeint für „zoom“? Gelesen wird nur „zoom“ im Abschnitt "
      "[common], genau so geschrieben; es gilt der Grundwert)\n\nDiese Zeilen bleiben "
      "unverändert in der Datei.");
  for (const int stored : {0, 1, 2}) {
    SCOPED_TRACE(stored);
    dialogs::Translations translations;
    translations.use(languageFromStored(stored));
    EXPECT_EQ(app::storeMessage({saved, row, stray}), (stored == 1 ? german : english).arg(path));
  }
}

}  // namespace
}  // namespace quibbix::testing
