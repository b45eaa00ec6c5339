// NOVASTRA, the desktop program.
#include <QApplication>
#include <QCommandLineParser>

#include "gui/app_controller.h"
#include "app/app_folder.h"

int main(int argc, char* argv[]) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("NOVASTRA");
  QApplication::setApplicationVersion("1.00");

  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption homeOption("home", "Use DIR as the application folder.", "DIR");
  parser.addOption(homeOption);
  parser.process(qapp);

  novastra::gui::AppController::StartOptions options;
  if (parser.isSet(homeOption)) options.home = parser.value(homeOption).toStdString();
  options.programDir = novastra::ProgramFolder();
  options.suppliedDir = novastra::DefaultSuppliedDir();

  novastra::gui::AppController controller;
  controller.onExit = [] { QCoreApplication::quit(); };
  if (controller.Start(options) != novastra::gui::AppController::StartResult::Started) return 1;
  // Closing the last window must not end the program before the settings are written.
  qapp.setQuitOnLastWindowClosed(false);
  return qapp.exec();
}
