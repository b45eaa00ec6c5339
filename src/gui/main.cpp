// NOVASTRA, the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <cstring>

#include "app/supplied_dir.h"
#include "gui/app_controller.h"
#include "gui/message_box.h"
#include "novastra_version.h"

namespace {

void AddOptions(QCommandLineParser& parser, const QCommandLineOption& home) {
  parser.setApplicationDescription(
      "NOVASTRA, ephemerides, aspectarians and planetary stations for astrologers.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(home);
}

// --help and --version need no window system: they are answered before one is opened.
bool AsksHelpOrVersion(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!std::strcmp(a, "--")) break;
    if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h") || !std::strcmp(a, "--help-all") ||
        !std::strcmp(a, "-?") || !std::strcmp(a, "--version") || !std::strcmp(a, "-v"))
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCommandLineOption homeOption("home", "Use DIR as the application folder.", "DIR");
  if (AsksHelpOrVersion(argc, argv)) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName("novastra");
    QCoreApplication::setApplicationVersion(novastra::kVersion);
    QCommandLineParser parser;
    AddOptions(parser, homeOption);
    parser.process(core);  // prints and exits
    return 0;
  }

  QApplication qapp(argc, argv);
  QApplication::setApplicationName("NOVASTRA");
  QApplication::setApplicationVersion(novastra::kVersion);
  QApplication::setDesktopFileName("org.novastra.Novastra");

  QCommandLineParser parser;
  AddOptions(parser, homeOption);
  parser.process(qapp);

  novastra::gui::AppController::StartOptions options;
  if (parser.isSet(homeOption)) options.home = parser.value(homeOption).toStdString();
  options.programDir = QCoreApplication::applicationDirPath().toStdString();
  std::string error;
  const auto supplied = novastra::LocateSuppliedDir(options.programDir, options.home, &error);
  if (!supplied) {
    novastra::gui::ShowMessageBox(nullptr, novastra::MessageIcon::Critical,
                                  novastra::kStartWarningTitle, QString::fromStdString(error));
    return 1;
  }
  options.suppliedDir = *supplied;

  novastra::gui::AppController controller;
  controller.onExit = [] { QCoreApplication::quit(); };
  if (controller.Start(options) != novastra::gui::AppController::StartResult::Started) return 1;
  // Closing the last window must not end the program before the settings are written.
  qapp.setQuitOnLastWindowClosed(false);
  return qapp.exec();
}
