#include "cli/run_options.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/app_folder.h"
#include "app/input_check.h"
#include "app/safe_write.h"
#include "app/supplied_dir.h"
#include "text/charset.h"

namespace novastra::cli {

namespace {

bool g_messagesUtf8 = true;

bool AllDigits(const std::string& s) {
  if (s.empty()) return true;  // an empty field is the input check's business
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

void AddRunOptions(CLI::App* sub, RunOptionValues& v, CommonOptions& common) {
  sub->add_option("--start", v.start, "Start date M/D/YYYY (year 1800..2100)");
  sub->add_option("--days", v.days, "Number of days, 1..366 (implies --no-full-month)")
      ->check(CLI::NonNegativeNumber);
  // Each pair of opposite flags fills one tri-state value: -1 not given.
  auto pair = [sub](const std::string& on, const std::string& off, int& target,
                    const std::string& help) {
    auto set = [&target](int value) { return [&target, value](std::int64_t) { target = value; }; };
    CLI::Option* a = sub->add_flag_function(on, set(1), help);
    CLI::Option* b = sub->add_flag_function(off, set(0));
    a->excludes(b);
  };
  pair("--full-month", "--no-full-month", v.fullMonth, "Calculate the whole month of the start date");
  pair("--noon", "--midnight", v.noon, "Positions at 12h UT (--noon) or 0h UT (--midnight)");
  pair("--helio", "--geo", v.helio, "Heliocentric (--helio) or geocentric (--geo) coordinates");
  sub->add_option("--zodiac", v.zodiac, "tropical, sidereal or ayanamsa")
      ->check(CLI::IsMember({"tropical", "sidereal", "ayanamsa"}));
  sub->add_option("--node", v.node, "Lunar node: mean or true")
      ->check(CLI::IsMember({"mean", "true"}));
  sub->add_option("--table", v.table, "Table shown: longitude, latitude, ra or declination")
      ->check(CLI::IsMember({"longitude", "latitude", "ra", "declination"}));
  pair("--save", "--no-save", v.save, "Save the six data files of the run");
  sub->add_option("--encoding", common.encoding,
                  "Output text: utf8 (the default when standard output is a terminal) or cp1252")
      ->check(CLI::IsMember({"utf8", "cp1252"}));
  sub->add_option("--home", v.home, "Application folder (default: $NOVASTRA_HOME or the usual one)")
      ->each([&common](const std::string& dir) { common.home = std::filesystem::path(dir); });
}

void PrintMessage(const HeadlessUi::Event& e) {
  std::cerr << ForOutput(e.title, g_messagesUtf8) << ": " << ForOutput(e.text, g_messagesUtf8)
            << '\n';
}

bool OpenSession(const CommonOptions& common, CliSession& session) {
  std::string error;
  auto folder = ResolveProgramFolders(common.home, ExecutableDir(), &error);
  if (!folder) {
    std::cerr << "novastra-cli: " << (error.empty() ? "no application folder" : error) << '\n';
    return false;
  }
  EchoMessages(session, WantUtf8(common));
  session.app = std::make_unique<Application>(session.ui, folder->app, folder->supplied);
  // LoadFiles shows its own message (echoed on standard error) when it fails.
  return session.app->LoadFiles();
}

bool ApplyRunOptions(const RunOptionValues& v, Application& app) {
  RunParameters p = app.params;
  if (!v.start.empty()) {
    const std::string& s = v.start;
    auto a = s.find('/');
    auto b = a == std::string::npos ? a : s.find('/', a + 1);
    if (b == std::string::npos || s.find('/', b + 1) != std::string::npos) {
      std::cerr << "novastra-cli: --start \"" << s << "\": expected M/D/YYYY, e.g. 1/1/2009\n";
      return false;
    }
    std::string m = s.substr(0, a), d = s.substr(a + 1, b - a - 1), y = s.substr(b + 1);
    if (!AllDigits(m) || !AllDigits(d) || !AllDigits(y)) {
      std::cerr << "novastra-cli: --start \"" << s << "\": month, day and year must be digits\n";
      return false;
    }
    p.StartMonth = m;
    p.StartDay = d;
    p.StartYear = y;
  }
  if (!v.days.empty()) {
    if (!AllDigits(v.days)) {
      std::cerr << "novastra-cli: --days \"" << v.days << "\": expected a whole number 1..366\n";
      return false;
    }
    // Long digit strings would overflow the field's number: the window keeps
    // three characters; anything longer is simply over the limit.
    SetDaysText(p, v.days.size() > 3 ? std::string("999") : v.days);
    p.FullMonth = false;
  }
  if (v.fullMonth >= 0) p.FullMonth = v.fullMonth == 1;
  if (v.noon >= 0) p.Instant = v.noon == 1 ? InstantChoice::Noon : InstantChoice::Midnight;
  if (v.helio >= 0) p.Coords = v.helio == 1 ? Coordinates::Heliocentric : Coordinates::Geocentric;
  if (v.zodiac == "tropical") p.ZodiacMode = Zodiac::Tropical;
  if (v.zodiac == "sidereal") p.ZodiacMode = Zodiac::Sidereal;
  if (v.zodiac == "ayanamsa") p.ZodiacMode = Zodiac::Ayanamsa;
  if (v.node == "mean") p.MoonNodes = NodeMode::Mean;
  if (v.node == "true") p.MoonNodes = NodeMode::True;
  if (v.table == "longitude") p.Output = DataOutput::Longitude;
  if (v.table == "latitude") p.Output = DataOutput::Latitude;
  if (v.table == "ra") p.Output = DataOutput::RightAscension;
  if (v.table == "declination") p.Output = DataOutput::Declination;
  if (v.save >= 0) p.SaveData = v.save == 1;
  app.params = p;
  return true;
}

bool LockFolderForSave(CliSession& session) {
  if (!session.app->params.SaveData) return true;
  constexpr int kWaitMillis = 10000;
  session.lock = std::make_unique<InstanceLock>(session.app->folder, kWaitMillis);
  switch (session.lock->state()) {
    case InstanceLock::State::Acquired:
      RemoveStaleTempFiles(session.app->folder);
      return true;
    case InstanceLock::State::Unavailable:
      return true;
    case InstanceLock::State::HeldByOther: break;
  }
  std::cerr << "novastra-cli: another copy of NOVASTRA is using " << session.app->folder.string()
            << "; nothing was saved. Try again when it has finished.\n";
  return false;
}

bool WantUtf8(const CommonOptions& common) {
  if (common.encoding == "utf8") return true;
  if (common.encoding == "cp1252") return false;
  return isatty(STDOUT_FILENO) != 0;
}

std::string ForOutput(const std::string& bytes, bool utf8) {
  return utf8 ? ToUtf8(bytes) : bytes;
}

void PrintView(const Application& app, bool utf8) {
  const auto& lines = app.buffer.ViewLines();
  int count = app.buffer.ViewCount();
  std::string out;
  // Through the spare entry at index count, as the Data Window's text does.
  for (int i = 0; i <= count && i < static_cast<int>(lines.size()); ++i) {
    out += ForOutput(lines[i], utf8);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

int RunStatus(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Done: return 0;
    case RunOutcome::InputRefused: return 2;
    case RunOutcome::SaveFailed:
    case RunOutcome::Cancelled: break;
  }
  return 1;
}

void EchoMessages(CliSession& session, bool utf8) {
  g_messagesUtf8 = utf8;
  session.ui.onMessage = &PrintMessage;
}

}  // namespace novastra::cli
