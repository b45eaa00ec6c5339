#pragma once
// Shared set-up of the window tests: one QApplication for the whole program,
// an application folder seeded from data/ in a temporary folder, recorded
// message boxes and the save dialog answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gui/app_controller.h"
#include "gui/data_window.h"
#include "gui/input_window.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "shell/application.h"

namespace novastra::gui::test {

namespace fs = std::filesystem;

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "test_gui";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct Shown {
  MessageIcon icon;
  QString title, text;
};

inline std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Types characters into a field through the key events the user would send.
inline void Type(QLineEdit* field, const QString& keys) {
  for (QChar c : keys) {
    const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_A + (c.toUpper().unicode() - 'A');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(field, &press);
  }
}

inline void Retype(QLineEdit* field, const QString& keys) {
  field->setFocus();
  field->selectAll();
  if (!keys.isEmpty()) {
    Type(field, keys);  // typing replaces the selection
    return;
  }
  QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, "\b");
  QApplication::sendEvent(field, &back);
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    std::random_device rd;
    folder = fs::temp_directory_path() / ("novastra_gui_" + std::to_string(rd()));
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
      if (e.is_regular_file()) fs::copy_file(e.path(), folder / e.path().filename());
    SetMessageHook([this](MessageIcon icon, const QString& title, const QString& text) {
      messages.push_back({icon, title, text});
    });
    SetSaveDialogHook([this](const QString& dir, const QString& name, const QString& filter) {
      dialogFolder = dir;
      dialogName = name;
      dialogFilter = filter;
      ++dialogCalls;
      return saveAnswer;
    });
  }

  void TearDown() override {
    controller.reset();
    SetMessageHook(nullptr);
    SetSaveDialogHook(nullptr);
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  AppController& Start() {
    controller = std::make_unique<AppController>();
    AppController::StartOptions o;
    o.home = folder;
    o.suppliedDir = NOVASTRA_DATA_DIR;
    EXPECT_EQ(controller->Start(o), AppController::StartResult::Started);
    return *controller;
  }

  int Count(const QString& text) const {
    int n = 0;
    for (const auto& m : messages) n += m.text == text;
    return n;
  }

  // A run with the given start date, full month, at midnight.
  void RunMonth(const QString& m, const QString& d, const QString& y, bool ephemeris) {
    InputWindow* in = controller->inputWindow();
    in->optMidnight->setChecked(true);
    in->chkFullMonth->setChecked(true);
    Retype(in->txtMonth, m);
    Retype(in->txtDay, d);
    Retype(in->txtYear, y);
    (ephemeris ? in->cmdEphemeris : in->cmdAspectarian)->click();
  }

  QString DataText() const {
    return controller->dataWindow() ? controller->dataWindow()->Text() : QString();
  }

  void Screenshot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("NOVASTRA_SCREENSHOT_DIR", NOVASTRA_SCREENSHOT_DIR);
    fs::create_directories(dir.toStdString());
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(dir + "/" + name + ".png"));
  }

  fs::path folder;
  std::unique_ptr<AppController> controller;
  std::vector<Shown> messages;
  QString saveAnswer, dialogFolder, dialogName, dialogFilter;
  int dialogCalls = 0;
};

}  // namespace novastra::gui::test
