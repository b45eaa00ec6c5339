#pragma once
// Shared set-up of the window tests: one QApplication, an application folder
// seeded from data/ in a temporary folder, recorded message boxes and the save
// dialog answered by the test.
#include <gtest/gtest.h>

#include <QtWidgets>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "gui/app_controller.h"
#include "gui/input_window.h"
#include "gui/main_window.h"
#include "gui/message_box.h"

namespace novastra::gui::test {

namespace fs = std::filesystem;

inline std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Replaces a field's text through the key events a user would send (digits and
// letters; an empty text is a Backspace over the selection).
inline void Retype(QLineEdit* field, const QString& keys) {
  field->setFocus();
  field->selectAll();
  if (keys.isEmpty()) {
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, "\b");
    QApplication::sendEvent(field, &back);
  }
  for (QChar c : keys) {
    const int key =
        c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A + (c.toUpper().unicode() - 'A');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(field, &press);
  }
}

struct Shown {
  MessageIcon icon;
  QString title, text;
};

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    [[maybe_unused]] static QApplication* app = new QApplication(argc, argv);
    folder = fs::temp_directory_path() / ("novastra_gui_" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
      if (e.is_regular_file()) fs::copy_file(e.path(), folder / e.path().filename());
  }

  void TearDown() override {
    controller.reset();
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  AppController::StartOptions Options() const {
    AppController::StartOptions o;
    o.home = folder;
    o.suppliedDir = NOVASTRA_DATA_DIR;
    return o;
  }

  AppController& Start() {
    controller = std::make_unique<AppController>(&answers);
    EXPECT_EQ(controller->Start(Options()), AppController::StartResult::Started);
    return *controller;
  }

  int Count(const QString& text) const {
    return std::count_if(messages.begin(), messages.end(),
                         [&](const Shown& m) { return m.text == text; });
  }

  // Types the start date into the Input window and presses a Calculate button
  // for a full month at midnight.
  DataWindow* RunMonth(const QString& m, const QString& d, const QString& y, bool ephemeris) {
    InputWindow* in = controller->inputWindow();
    in->optMidnight->setChecked(true);
    in->chkFullMonth->setChecked(true);
    Retype(in->txtMonth, m);
    Retype(in->txtDay, d);
    Retype(in->txtYear, y);
    (ephemeris ? in->cmdEphemeris : in->cmdAspectarian)->click();
    return controller->dataWindow();
  }

  DataBuffer& Buffer() { return controller->app()->buffer(); }

  QString DataText() const {
    return controller->dataWindow() ? controller->dataWindow()->Text() : QString();
  }

  // Saves a picture of the window as PNG under NOVASTRA_SCREENSHOT_DIR.
  void Screenshot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("NOVASTRA_SCREENSHOT_DIR", NOVASTRA_SCREENSHOT_DIR);
    fs::create_directories(dir.toStdString());
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(dir + "/" + name + ".png", "PNG"));
  }

  fs::path folder;
  std::vector<Shown> messages;
  QString saveAnswer;  // what the save dialog answers; empty is Cancel
  struct {
    QString folder, name, filter;
  } dialog;  // what it was last asked
  int dialogCalls = 0;
  // How the program's own dialogs are answered (unset: cancelled).
  std::function<bool(QDialog& dialog)> dialogAnswer;

  // The dialogs the program opens, answered here: message boxes are recorded,
  // questions recorded and answered Yes, the save dialog answers saveAnswer.
  class Answers : public Dialogs {
   public:
    explicit Answers(GuiTest& test) : test_(test) {}
    void Message(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
      test_.messages.push_back({icon, title, text});
    }
    bool YesNo(QWidget*, const QString& title, const QString& text) override {
      test_.messages.push_back({MessageIcon::Exclamation, title, text});
      return true;
    }
    QString SaveFileName(QWidget*, const QString& folder, const QString& name,
                         const QString& filter, const QString&) override {
      test_.dialog = {folder, name, filter};
      ++test_.dialogCalls;
      return test_.saveAnswer;
    }
    bool Exec(QDialog& dialog) override {
      return test_.dialogAnswer ? test_.dialogAnswer(dialog) : false;
    }

   private:
    GuiTest& test_;
  };
  Answers answers{*this};
  std::unique_ptr<AppController> controller;  // after the answers it uses
};

// Started, with the ephemeris run for January 2009 at midnight in the Data Window.
class January2009 : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    Start();
    ASSERT_NE(d = RunMonth("1", "1", "2009", true), nullptr);
  }
  DataWindow* d = nullptr;
};

}  // namespace novastra::gui::test
