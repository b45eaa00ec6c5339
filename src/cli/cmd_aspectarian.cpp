// novastra-cli aspectarian and stations: the aspectarian run as the Data Window
// shows it, and the refined list of changes in direction.
#include <cstdio>
#include <memory>

#include "app/aspectarian_run.h"
#include "cli/commands.h"
#include "cli/run_options.h"
#include "app/data_buffer.h"
#include "reports/time_zone.h"
#include <iostream>

namespace novastra::cli {

namespace {

struct AspectarianValues {
  RunOptionValues run;
  bool moonSignOnly = false;
  std::string moonIngress;  // "display" | "hide" | "" (keep the settings)
  std::string tz;           // --tz Area/City or UT; "" keeps the settings
  int voidOfCourse = -1;    // --void-of-course 1, --no-void-of-course 0
};

void AddMoonOptions(CLI::App* sub, AspectarianValues& v) {
  sub->add_flag("--moon-sign-only", v.moonSignOnly,
                "Moon - change sign only (Asp.): list only the Moon's ingresses");
  sub->add_option("--moon-ingress", v.moonIngress, "Moon - Change sign: display or hide")
      ->check(CLI::IsMember({"display", "hide"}));
  sub->add_option("--tz", v.tz, "Times in this IANA time zone (e.g. America/New_York), or UT");
  CLI::Option* on = sub->add_flag_function(
      "--void-of-course", [&v](std::int64_t) { v.voidOfCourse = 1; },
      "Show a \"Moon void of course\" line at the start of each void-of-course period");
  CLI::Option* off = sub->add_flag_function("--no-void-of-course", [&v](std::int64_t) { v.voidOfCourse = 0; });
  on->excludes(off);
}

// Opens the session and applies every option; false with `status` set otherwise.
bool Prepare(const AspectarianValues& v, const CommonOptions& common, CliSession& session, int& status) {
  if (!OpenSession(common, session)) {
    status = 1;
    return false;
  }
  if (!ApplyRunOptions(v.run, *session.app)) {
    status = 2;
    return false;
  }
  RunParameters& p = session.app->params;
  if (v.moonSignOnly) p.MoonChangeOnly = true;
  if (v.moonIngress == "display") p.MoonSign = MoonChangeSign::Display;
  if (v.moonIngress == "hide") p.MoonSign = MoonChangeSign::NoDisplay;
  if (!v.tz.empty()) {
    std::string error;
    if (!TimeZone::Find(v.tz, &error)) {
      std::cerr << "novastra-cli: --tz: " << error << '\n';
      status = 2;
      return false;
    }
    p.TimeZoneName = v.tz == "UTC" ? "UT" : v.tz;
  }
  if (v.voidOfCourse >= 0) p.VoidOfCourse = v.voidOfCourse == 1;
  if (!LockFolderForSave(session)) {
    status = 1;
    return false;
  }
  return true;
}

}  // namespace

void AddAspectarianCommands(CLI::App& app, CommonOptions& common, int& status) {
  auto asp = std::make_shared<AspectarianValues>();
  CLI::App* sub = app.add_subcommand(
      "aspectarian", "Aspects, ingresses, stations and lunations to the minute, as the Data Window shows them");
  AddRunOptions(sub, asp->run, common);
  AddMoonOptions(sub, *asp);
  sub->callback([asp, &common, &status] {
    CliSession session;
    if (!Prepare(*asp, common, session, status)) return;
    const RunOutcome outcome = session.app->CalculateAspectarian();
    status = RunStatus(outcome);
    // A failed save still shows the aspectarian; a refused input shows nothing.
    if (outcome == RunOutcome::Done || outcome == RunOutcome::SaveFailed) PrintView(*session.app, WantUtf8(common));
  });

  auto st = std::make_shared<AspectarianValues>();
  CLI::App* stations = app.add_subcommand(
      "stations", "Changes in direction (in UT) of Mercury to Pluto, refined to the minute");
  AddRunOptions(stations, st->run, common);
  AddMoonOptions(stations, *st);
  stations->callback([st, &common, &status] {
    CliSession session;
    if (!Prepare(*st, common, session, status)) return;
    // The aspectarian itself is not shown, so the Data Window's own warning
    // about a full buffer does not apply; every other message does.
    session.ui.onMessage = [](const HeadlessUi::Event& e) {
      if (e.text != kNearlyFullMessage) PrintMessage(e);
    };
    const RunOutcome outcome = session.app->CalculateAspectarian();
    status = RunStatus(outcome);
    if (outcome != RunOutcome::Done && outcome != RunOutcome::SaveFailed) return;
    std::string text = StationsText(*session.app);
    // Terminal line ends.
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
      if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') continue;
      out += text[k];
    }
    out = ForOutput(out, WantUtf8(common));
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
  });
}

}  // namespace novastra::cli
