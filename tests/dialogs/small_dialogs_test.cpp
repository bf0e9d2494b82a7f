#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <functional>
#include <initializer_list>
#include <set>

#include "dialog_driver.h"
#include "dialogs/about_box.h"
#include "dialogs/help_window.h"
#include "dialogs/highscore_dialog.h"
#include "dialogs/message_dialog.h"
#include "dialogs/splash.h"
#include "dialogs/tongue_dialog.h"
#include "store/settings_store.h"
#include "store_reports.h"

namespace quibbix::dialogs {
namespace {

using testing::clickButton;
using testing::pressKey;
using testing::whileShown;

class TongueDialogTest : public ::testing::Test {
 protected:
  QWidget main_;
  Language language_ = Language::NotChosen;
  TongueDlg dialog_{&main_, [this](Language l) { language_ = l; }};
};

// Every way of choosing closes the dialog with OK and hands over its language.
TEST(TongueDialog, EachChoiceGivesItsLanguage) {
  struct Choice {
    const char* how;
    std::function<void(QWidget*)> act;
    Language language;
  };
  const Choice choices[] = {
      {"Enter at once", [](QWidget* d) { pressKey(d, Qt::Key_Return); }, Language::English},
      {"English button", [](QWidget* d) { clickButton(d, QStringLiteral("EnglishBtn")); },
       Language::English},
      {"German button", [](QWidget* d) { clickButton(d, QStringLiteral("GermanBtn")); },
       Language::German},
  };
  for (const Choice& c : choices) {
    SCOPED_TRACE(c.how);
    QWidget main;
    Language language = Language::NotChosen;
    TongueDlg dialog(&main, [&language](Language l) { language = l; });
    whileShown([&] { c.act(&dialog); });
    EXPECT_EQ(dialog.ShowModal(), 1);
    EXPECT_EQ(language, c.language);
  }
}

TEST_F(TongueDialogTest, CloseBoxAndEscapeChooseNothing) {
  bool escapeKeptItOpen = false;
  whileShown([&] {
    pressKey(&dialog_, Qt::Key_Escape);
    escapeKeptItOpen = dialog_.isVisible();
    dialog_.close();
  });
  dialog_.ShowModal();
  EXPECT_TRUE(escapeKeptItOpen);
  EXPECT_EQ(language_, Language::NotChosen);
}

TEST(Splash, ClickClosesItFreesThePictureAndTheTimerRunsOn) {
  Splash splash(nullptr);
  const auto* picture = splash.findChild<QLabel*>(QStringLiteral("Image1"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixmap().size(), QSize(200, 150));
  EXPECT_TRUE(splash.timer().isActive());
  EXPECT_EQ(splash.timer().interval(), 3000);
  bool shownWithPicture = false;
  whileShown([&] {
    shownWithPicture = !picture->pixmap().isNull();
    QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(100, 75));
  });
  EXPECT_EQ(splash.ShowModal(), 1);
  EXPECT_TRUE(shownWithPicture);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_TRUE(picture->pixmap().isNull());
  EXPECT_TRUE(splash.timer().isActive());
  splash.Click();  // a tick while hidden
  EXPECT_FALSE(splash.isVisible());
}

TEST(AboutBox, CaptionFollowsTheLanguageAndOkCloses) {
  QWidget main;
  testing::TestLanguage language(1);
  AboutBox about(&main);
  QString title;
  whileShown([&] {
    title = about.windowTitle();
    clickButton(&about, "OKButton");
  });
  EXPECT_EQ(about.ShowModal(), 1);
  EXPECT_EQ(title, "Info über...");

  language = 0;
  whileShown([&] {
    title = about.windowTitle();
    pressKey(&about, Qt::Key_Return);
  });
  EXPECT_EQ(about.ShowModal(), 1);
  EXPECT_EQ(title, "Info about...");
}

// The zoom is the only enlargement: a font sized in points would also follow the
// desktop's dpi, half size at 48 dpi. Every text of every dialog is sized in pixels,
// at the size 96 dpi gave its points.
TEST(Dialogs, EveryTextIsSizedInPixels) {
  QWidget main;
  store::IniStore ini(quibbix::storetest::failOnReport());
  YesNoDlg message(&main, [] { return Language::English; });
  HighscoreDlg table(&main, ini);
  TongueDlg tongue(&main, [](Language) {});
  AboutBox about(&main);
  Splash splash(&main);
  std::set<int> sizes;
  for (QDialog* dialog :
       std::initializer_list<QDialog*>{&message, &table, &tongue, &about, &splash}) {
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      // Labels get their texts when shown; a picture is no text.
      const auto* label = qobject_cast<QLabel*>(w);
      const bool text = (label != nullptr && label->pixmap().isNull()) ||
                        qobject_cast<QAbstractButton*>(w) != nullptr ||
                        qobject_cast<QLineEdit*>(w) != nullptr;
      if (!text) continue;
      w->ensurePolished();
      SCOPED_TRACE(dialog->metaObject()->className() + (" " + w->objectName().toStdString()));
      EXPECT_GT(w->font().pixelSize(), 0) << "sized in points";
      sizes.insert(QFontInfo(w->font()).pixelSize());
    }
  }
  // What 8, 10 and 14 points were at 96 dpi.
  EXPECT_EQ(sizes, (std::set<int>{11, 13, 19}));
}

TEST(HelpWindow, ShowsTheRulesOrSaysTheFileIsMissing) {
  HelpWindow help;
  help.showTopic(QUIBBIX_HELP_FILE, "The_game");
  EXPECT_TRUE(help.isVisible());
  const QString html = help.browser()->document()->toHtml();
  EXPECT_TRUE(html.contains("Das_Spiel"));
  EXPECT_TRUE(html.contains("The_game"));
  EXPECT_FALSE(help.browser()->toPlainText().contains("could not be found"));

  help.showTopic("/nonexistent/QBIX2.HLP", "Das_Spiel");
  const QString text = help.browser()->toPlainText();
  EXPECT_TRUE(text.contains("The help file /nonexistent/QBIX2.HLP could not be found."));
  EXPECT_TRUE(text.contains("wurde nicht gefunden"));
}

}  // namespace
}  // namespace quibbix::dialogs
