#pragma once
// A real main window on the offscreen platform, in a settings folder of its
// own, with a fixed seed, and its modal windows answered by a script.
#include <QCoreApplication>
#include <QToolButton>
#include <memory>

#include "app/main_window.h"
#include "modal_script.h"
#include "private_store.h"

namespace quibbix::testing {

class AppTest : public PrivateStore {
 protected:
  static constexpr std::uint32_t kSeed = 20260117;

  void TearDown() override {
    window.reset();
    script.reset();
    PrivateStore::TearDown();
  }

  app::MainWindow& create() {
    script.reset();
    window = std::make_unique<app::MainWindow>(kSeed);
    window->createDialogs();
    script.watchTimer(&window->timer());
    return *window;
  }

  // Shows the window as the program does; its first activation runs with the
  // answers queued so far.
  void showWindow() {
    window->restorePlacement();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.done()) << "a scripted window never opened";
  }

  // A later run: the language was chosen before, so only the splash opens.
  app::MainWindow& startWithLanguage(int language) {
    writeRaw("[common]\ntongue=" + QByteArray::number(language) + "\n");
    create();
    script.then(kClickSplash);
    showWindow();
    script.opened.clear();
    return *window;
  }

  void click(const char* buttonName) {
    QToolButton* b = window->button(QString::fromLatin1(buttonName));
    ASSERT_NE(b, nullptr) << buttonName;
    b->click();
    // A command that opens a modal window opens it from the event loop: its
    // posted call runs here, and no timer tick with it.
    QCoreApplication::sendPostedEvents();
  }

  ModalScript script;
  std::unique_ptr<app::MainWindow> window;
};

}  // namespace quibbix::testing
