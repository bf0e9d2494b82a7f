// Every text a player sees or hears from a screen reader, in every window, for
// every stored language value, held against the table in window_texts.txt.
// The table was taken from the game before its texts moved to Qt's
// translation files; it is the game's wording, not something to regenerate
// after a change. Should a text really change, QUIBBIX_WRITE_WINDOW_TEXTS=file
// writes what the game shows now, to be compared by hand.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <memory>

#include "app_fixture.h"
#include "dialogs/help_window.h"
#include "dialogs/highscore_dialog.h"
#include "dialogs/message_dialog.h"
#include "dialogs/modal.h"
#include "view/field_canvas.h"

namespace quibbix::testing {
namespace {

using WindowTextsTest = AppTest;

QString oneLine(QString text) {
  return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
}

// The path of a widget below its window, by object names (class names where
// a widget has none). The score table's rows lie in a view that draws nothing
// and is there for screen readers only; the texts are where they always were.
QString pathBelow(const QWidget* top, const QObject* w) {
  QStringList parts;
  for (const QObject* o = w; o != nullptr && o != top; o = o->parent())
    if (o == w || o->objectName() != u"ScoreTable")
      parts.prepend(o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className())
                                              : o->objectName());
  return parts.join(u'/');
}

// Sorted by widget, since Qt reorders siblings as they are raised.
void collect(QStringList& all, const QString& window, const QWidget* top) {
  QStringList out;
  const auto add = [&](const QString& path, const char* what, const QString& value) {
    if (!value.isEmpty())
      out << QStringLiteral("%1 %2 %3: %4").arg(window, path, QLatin1String(what), oneLine(value));
  };
  add(QStringLiteral("."), "title", top->windowTitle());
  add(QStringLiteral("."), "accessibleName", top->accessibleName());
  add(QStringLiteral("."), "accessibleDescription", top->accessibleDescription());
  for (const QWidget* w : top->findChildren<QWidget*>()) {
    if (w->window() != top) continue;  // a dialog of its own
    const QString path = pathBelow(top, w);
    if (const auto* label = qobject_cast<const QLabel*>(w)) add(path, "text", label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
      add(path, "text", button->text());
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) add(path, "text", edit->text());
    add(path, "toolTip", w->toolTip());
    add(path, "accessibleName", w->accessibleName());
    add(path, "accessibleDescription", w->accessibleDescription());
  }
  out.sort();
  all << out;
}

// The level and score captions are drawn, not written: their pixels stand for them.
QString scoreboardPixels(app::MainWindow& w) {
  const QImage board = w.canvas().image().copy(QRect(357, 28, 115, 80));
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (int y = 0; y < board.height(); ++y)
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(board.constScanLine(y)),
                                board.width() * board.depth() / 8));
  return QString::fromLatin1(hash.result().toHex());
}

struct Stored {
  const char* name;  // how the section of the table is headed
  const char* file;  // the settings file; empty: none at all
  bool asks;         // the language dialog opens at the start
};
const Stored kStored[] = {
    {"no settings", "", true},
    {"tongue=-1", "[common]\ntongue=-1\n", true},
    {"tongue=0", "[common]\ntongue=0\n", false},
    {"tongue=1", "[common]\ntongue=1\n", false},
    {"tongue=2", "[common]\ntongue=2\n", false},
    {"tongue=7", "[common]\ntongue=7\n", false},
    {"tongue=garbage", "[common]\ntongue=deutsch\n", true},
};

QStringList readTable() {
  QFile file(QStringLiteral(QUIBBIX_WINDOW_TEXTS));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

TEST_F(WindowTextsTest, EveryWindowShowsTheGamesOwnTextsForEveryStoredLanguage) {
  QStringList shown;
  for (const Stored& s : kStored) {
    SCOPED_TRACE(s.name);
    shown << QStringLiteral("[%1]").arg(QLatin1String(s.name));
    QStringList& out = shown;
    if (*s.file != '\0') writeRaw(s.file);
    create();
    script.then(kClickSplash);
    if (s.asks)
      script.then([&](QDialog* tongue) {
        collect(out, QStringLiteral("TongueDlg"), tongue);
        tongue->close();
      });
    showWindow();
    EXPECT_EQ(script.openedNames().contains(QStringLiteral("TongueDlg")), s.asks);
    if (!s.asks) {
      // The language dialog of the tool bar, which the player may also open.
      script.then([&](QDialog* tongue) {
        collect(out, QStringLiteral("TongueDlg"), tongue);
        tongue->close();
      });
      window->TongueBtnClick();
    }

    collect(out, QStringLiteral("MainForm"), window.get());
    out << QStringLiteral("MainForm scoreboard pixels: %1").arg(scoreboardPixels(*window));

    // Every page's text is set whichever page shows.
    script.then([&](QDialog* d) {
      collect(out, QStringLiteral("YesNoDlg"), d);
      kNo(d);
    });
    window->messageDialog()->ShowModal(dialogs::message::kEndGame);

    // A new score, so that the name field is there too; then the question
    // before the table is cleared.
    script.then([&](QDialog* d) {
      collect(out, QStringLiteral("HighscoreDlg"), d);
      d->findChild<QCheckBox*>(QStringLiteral("ClearBox"))->setChecked(true);
      script.then([&](QDialog* question) {
        collect(out, QStringLiteral("ClearQuestion"), question);
        clickButton(QStringLiteral("ClearNoBtn"))(question);
      });
      clickButton(QStringLiteral("OKBtn"))(d);
      clickButton(QStringLiteral("CancelBtn"))(d);
    });
    window->highscoreDialog()->offerScore(150);

    script.then([&](QDialog* d) {
      collect(out, QStringLiteral("AboutBox"), d);
      kAboutOk(d);
    });
    window->info();

    window->rules();
    dialogs::HelpWindow* help = window->helpWindow();
    ASSERT_NE(help, nullptr);
    collect(out, QStringLiteral("HelpWindow"), help);
    out << QStringLiteral("HelpWindow topic: %1")
               .arg(help->findChild<QTextBrowser*>()->source().fragment());
    help->close();

    EXPECT_TRUE(script.done());
    window.reset();
    QFile::remove(storeFile());
  }

  if (const QString to = qEnvironmentVariable("QUIBBIX_WRITE_WINDOW_TEXTS"); !to.isEmpty()) {
    QFile file(to);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    file.write(shown.join(u'\n').toUtf8() + '\n');
  }
  const QStringList expected = readTable();
  ASSERT_FALSE(expected.isEmpty()) << "no table at " << QUIBBIX_WINDOW_TEXTS;
  // Line by line, so that a difference names its window and widget.
  for (qsizetype i = 0; i < std::max(expected.size(), shown.size()); ++i) {
    const QString want = i < expected.size() ? expected[i] : QStringLiteral("(nothing)");
    const QString got = i < shown.size() ? shown[i] : QStringLiteral("(nothing)");
    if (want != got) {
      ADD_FAILURE() << "line " << i + 1 << "\n  expected: " << want.toStdString()
                    << "\n  shown:    " << got.toStdString();
      break;
    }
  }
}

// The table's lines of one stored language for one window.
QStringList tableOf(const char* stored, const QString& window) {
  QStringList lines;
  bool inSection = false;
  for (const QString& line : readTable()) {
    if (line.startsWith(u'['))
      inSection = line == QStringLiteral("[%1]").arg(QLatin1String(stored));
    else if (inSection && line.startsWith(window + u' '))
      lines << line;
  }
  return lines;
}

TEST_F(WindowTextsTest, ALanguageChosenWhilePlayingRetranslatesTheMainWindowBothWays) {
  startWithLanguage(1);
  for (const auto& [answer, stored] : {std::pair{kEnglish, "tongue=0"}, {kGerman, "tongue=1"}}) {
    script.then(answer);
    click("TongueBtn");
    QStringList shown;
    collect(shown, QStringLiteral("MainForm"), window.get());
    shown << QStringLiteral("MainForm scoreboard pixels: %1").arg(scoreboardPixels(*window));
    EXPECT_EQ(shown, tableOf(stored, QStringLiteral("MainForm"))) << stored;
  }
}

QStringList menuTexts(std::unique_ptr<QMenu> menu) {
  QStringList texts;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  return texts;
}

// What Qt draws itself, its context menus and standard buttons, speaks German
// with the game, where Debian's qt6-translations-l10n put Qt's own German.
TEST_F(WindowTextsTest, QtsOwnTextsAreGermanInAGermanGame) {
  if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                     QStringLiteral("/qtbase_de.qm")))
    GTEST_SKIP() << "Qt's own German is not installed";
  startWithLanguage(1);

  auto* name = window->highscoreDialog()->findChild<QLineEdit*>(QStringLiteral("Edit1"));
  const QStringList nameMenu = menuTexts(std::unique_ptr<QMenu>(name->createStandardContextMenu()));
  EXPECT_TRUE(nameMenu.contains(QStringLiteral("&Rückgängig\tStrg+Z")))
      << nameMenu.join(u'|').toStdString();
  EXPECT_TRUE(nameMenu.contains(QStringLiteral("Alles auswählen\tStrg+A")))
      << nameMenu.join(u'|').toStdString();

  window->rules();
  auto* rules = window->helpWindow()->findChild<QTextBrowser*>();
  const QStringList rulesMenu =
      menuTexts(std::unique_ptr<QMenu>(rules->createStandardContextMenu()));
  EXPECT_TRUE(rulesMenu.contains(QStringLiteral("&Kopieren\tStrg+C")))
      << rulesMenu.join(u'|').toStdString();
  EXPECT_TRUE(rulesMenu.contains(QStringLiteral("Alles auswählen\tStrg+A")))
      << rulesMenu.join(u'|').toStdString();
  window->helpWindow()->close();

  QDialogButtonBox standard(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
  EXPECT_EQ(standard.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
  EXPECT_EQ(standard.button(QDialogButtonBox::Yes)->text(), QStringLiteral("&Ja"));

  // And English again with the game.
  script.then(kEnglish);
  click("TongueBtn");
  QCoreApplication::processEvents();  // Qt tells its widgets of the change by a posted event
  EXPECT_EQ(standard.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace quibbix::testing
