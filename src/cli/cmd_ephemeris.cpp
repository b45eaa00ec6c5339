// novastra-cli ephemeris: one ephemeris run, printed as the Data Window shows it.
#include "cli/commands.h"
#include "cli/run_options.h"
#include "app/ephemeris_run.h"

namespace novastra::cli {

void AddEphemerisCommand(CLI::App& app, CommonOptions& common, int& status) {
  auto values = std::make_shared<RunOptionValues>();
  CLI::App* sub = app.add_subcommand(
      "ephemeris", "Daily positions: the table the Data Window shows after \"Calculate Ephemeris\"");
  AddRunOptions(sub, *values, common);
  sub->callback([values, &common, &status] {
    CliSession session;
    if (!OpenSession(common, session)) {
      status = 1;
      return;
    }
    if (!ApplyRunOptions(*values, *session.app)) {
      status = 2;
      return;
    }
    if (!LockFolderForSave(session)) {
      status = 1;
      return;
    }
    const RunOutcome outcome = session.app->CalculateEphemeris();
    status = RunStatus(outcome);
    if (outcome == RunOutcome::Done) PrintView(*session.app, WantUtf8(common));
  });
}

}  // namespace novastra::cli
