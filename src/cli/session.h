#pragma once
// What every command shares once its options are read: the application
// folder with its options and series tables, the output and the messages.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/app_folder.h"
#include "app/application.h"
#include "app/output_sink.h"
#include "app/ui.h"
#include "cli/cli.h"

namespace novastra::cli {

struct Session {
  HeadlessUi ui;
  std::unique_ptr<Application> app;    // folder, options, series tables
  TextStyle style;                     // standard output and -o FILE
  TextStyle messageStyle;              // standard error
  std::unique_ptr<InstanceLock> lock;  // held while a run saves files
};

// Resolves the folder (--home, $NOVASTRA_HOME, ...) and loads the options
// file and the series tables; never reads the desktop's settings. Prints the
// reason and returns false when the folder or a series file cannot be read.
bool OpenSession(const GlobalOptions& global, Session& session);

// Before a run that saves files: takes the folder's lock as the desktop
// program does, waiting a few seconds for another saving copy to finish, so
// that two saves into one folder never mix their files, then removes the
// temporary files of killed saves. Prints the reason and returns false when
// another copy keeps the folder; a folder that cannot hold a lock is used
// without it.
bool LockFolderForSave(Session& session);

// Prints the interface's recorded messages on standard error, except the
// Data Window's own warnings, and forgets them.
void PrintMessages(Session& session);

// Finishes the output: "" or prints "cannot write NAME: REASON" and returns false.
bool FinishOutput(OutputSink& sink);

// --ayanamsa NAME for the zodiac word of --zodiac: the ayanamsa it names, or
// why it is refused (no sidereal zodiac, an unknown name).
struct AyanamsaChoice {
  NamedAyanamsa named = NamedAyanamsa::None;
  std::string error;
};
AyanamsaChoice ChooseAyanamsa(const std::string& word, const std::string& zodiac);

// "fagan-bradley, lahiri, ..." as the help and the messages list them.
std::string AyanamsaNamesText();

// A progress bar on standard error while a long run goes, only when standard
// error is a terminal.
class ProgressBar {
 public:
  ProgressBar();
  ~ProgressBar();
  void Update(int done, int total);

 private:
  bool shown_;
  int last_ = -1;
};

}  // namespace novastra::cli
