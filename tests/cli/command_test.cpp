// novastra-cli conventions: exit statuses (empty and signed values refused,
// nothing written), checked writes, atomic -o, fixed defaults or the
// desktop's settings (unreadable ones told), global options anywhere,
// encodings from the locale, long runs.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/input_check.h"
#include "app/safe_write.h"
#include "app/settings.h"
#include "cli_support.h"
#include "novastra_version.h"
#include "support/csv_reader.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::CliShell;
struct Cli : testing_support::CliHome {
  std::string Out() const { return "'" + (home / "out.csv").string() + "'"; }
};

TEST_F(Cli, ExitStatuses) {
  struct Case {
    std::string args;
    int status;
  };
  const Case cases[] = {
      {"--version", 0},
      {"--help", 0},
      {"ephemeris --help", 0},
      {Home() + "ephemeris --from 1/1/2009 --days 3", 0},
      {"", 2},                              // no command
      {Home() + "ephemeris --days -3", 2},  // outside 1..366
      {Home() + "ephemeris --days 0", 2},
      {Home() + "ephemeris --days 367", 2},
      {Home() + "ephemeris --days 99999999999999999999", 2},
      {Home() + "ephemeris --from 13/1/2009", 2},                        // refused date
      {Home() + "ephemeris --from 2009-01-01 --to 2008-12-31", 2},       // empty range
      {Home() + "ephemeris --from 12/1/2100 --days 40", 0},              // may run past 2100
      {Home() + "ephemeris --from 1/1/2101 --days 3", 2},                // starts past 2100
      {Home() + "ephemeris --from 12/1/2100 --to 1/9/2101", 2},          // --to past 2100
      {Home() + "ephemeris --from 1/1/2009 --to 1/2/2009 --days 3", 2},  // --to or --days
      {Home() + "ephemeris --format xml", 2},
      {Home() + "ephemeris --moon-sign-only", 2},  // an aspectarian option
      {Home() + "stations --helio", 2},            // stations are geocentric
      {Home() + "positions --date 1/1/2000 --time 25:00", 2},
      {Home() + "positions", 2},                                       // --date required
      {Home() + "ephemeris --from 1/1/2009 --days 3 > /dev/full", 1},  // every write checked
      {Home() + "positions --date 1/1/2000 --format json > /dev/full", 1},
      {Home() + "ephemeris --days 3 -o /nonexistent-folder/x.csv", 1},
      // Devices and pipes are written directly (/dev/null was once refused).
      {Home() + "ephemeris --days 3 -o /dev/null", 0},
      {Home() + "ephemeris --days 3 -o /dev/full", 1},
      {Home() + "aspectarian --days 2 --tz Mars/Base", 2},  // unknown zones
      {Home() + "aspectarian --days 2 --tz 'America/New York'", 2},
      {Home() + "stations --days 2 --tz +05:00", 2},
      {"--home /nonexistent-folder/novastra ephemeris --days 3", 1},
      // Each once ran with exit status 0: the empty value was taken as "not
      // given" (today, UT, standard output), "-1:00" as 23:00 of the day before.
      {Home() + "ephemeris --from '' --days 2 -o " + Out(), 2},
      {Home() + "ephemeris --from 2009-01-01 --to '' -o " + Out(), 2},
      {Home() + "ephemeris --from 2009-01-01 --days 2 -o ''", 2},
      {Home() + "aspectarian --from 2009-01-01 --days 2 --tz '' -o " + Out(), 2},
      {Home() + "stations --from '' --days 30 -o " + Out(), 2},
      {Home() + "positions --date 2009-01-01 --time '' -o " + Out(), 2},
      {Home() + "positions --date 2009-01-01 --time -1:00 -o " + Out(), 2},
      {Home() + "positions --date 2009-01-01 --time 1:-0 -o " + Out(), 2},
      {"--home '' positions --date 2009-01-01 -o " + Out(), 2},
      // Once read as 16, 10 and 2: numbers are decimal digits.
      {Home() + "ephemeris --days 0x10 -o " + Out(), 2},
      {Home() + "ephemeris --days 1e1 -o " + Out(), 2},
      {Home() + "aspectarian --days 3 --jobs 0b10 -o " + Out(), 2},
      // --save writes the text tables' files: with CSV or JSON it was once ignored.
      {Home() + "ephemeris --days 3 --format csv --save -o " + Out(), 2},
      {Home() + "aspectarian --days 3 --format json --save -o " + Out(), 2},
      {Home() + "foo --days 3", 2},  // unknown command, named in the message
      // Help and version are results too: once exit status 0 on a full disk.
      {"--help > /dev/full", 1},
      {"--version > /dev/full", 1},
      {"graph --help > /dev/full", 1},
  };
  const int entries = home.Entries();
  for (const Case& c : cases) {
    const auto r = CliShell(c.args + " 2>/dev/null");
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_TRUE(c.status != 2 || r.out.empty()) << c.args;  // no result printed
    EXPECT_EQ(home.Entries(), entries) << c.args;             // nor written
  }
  EXPECT_EQ(CliShell("--version").out, std::string("novastra-cli ") + kVersion + "\n");
  // Only graph draws, in a program of its own: the others load no Qt library.
  FILE* ldd = popen(("ldd " + std::string(NOVASTRA_CLI)).c_str(), "r");
  std::string libraries;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, ldd)) > 0;) libraries.append(buf, n);
  EXPECT_EQ(pclose(ldd), 0);
  EXPECT_NE(libraries.find("libc.so"), std::string::npos);
  EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}

TEST_F(Cli, MessagesNameTheFileAndTheReason) {
  EXPECT_EQ(Run("ephemeris --days 3 2>&1 >/dev/full").out,
            "novastra-cli: cannot write standard output: No space left on device\n");
  EXPECT_EQ(Run("ephemeris --days -3 2>&1").out.substr(0, 13), "novastra-cli:");
  EXPECT_EQ(Run("foo 2>&1").out.substr(0, 36), "novastra-cli: unknown command 'foo' ");
  // What the user typed is repeated with its control characters escaped
  // (an escape sequence once reached the terminal).
  const std::string typed = Run("ephemeris --from \"$(printf '\\033[31m\\na')\" 2>&1").out;
  EXPECT_NE(typed.find("--from \"\\x1b[31m\\x0aa\""), std::string::npos) << typed;
  EXPECT_EQ(typed.find('\x1b'), std::string::npos);
  EXPECT_NE(Run("aspectarian --days 2 --tz ../../etc/passwd 2>&1").out.find("--tz"),
            std::string::npos);
  const std::string missing = (home / "no-folder" / "x.csv").string();
  const auto r = Run("ephemeris --days 3 -o '" + missing + "' 2>&1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "novastra-cli: cannot write " + missing + ": No such file or directory\n");
}

TEST_F(Cli, OutputFileIsCompleteOrUntouched) {
  const fs::path target = home / "out.csv";
  home.Write("out.csv", "old contents");
  EXPECT_EQ(
      Run("ephemeris --from 1/1/2009 --days 10 --format csv -o '" + target.string() + "'").status,
      0);
  const auto rows = testing_support::ReadCsv(home.Read("out.csv"));
  EXPECT_EQ(rows.size(), 11u);
  const int entries = home.Entries();
  // A refused run and a failed one leave the file as it was and no temporary file.
  EXPECT_EQ(Run("ephemeris --days 400 -o '" + target.string() + "' 2>/dev/null").status, 2);
  // A folder in the way of the rename: the write fails at its last step.
  fs::create_directory(home / "taken.csv");
  EXPECT_EQ(Run("ephemeris --days 3 -o '" + (home / "taken.csv").string() + "' 2>/dev/null").status,
            1);
  EXPECT_TRUE(fs::is_empty(home / "taken.csv"));
  fs::remove(home / "taken.csv");
  EXPECT_EQ(testing_support::ReadCsv(home.Read("out.csv")).size(), 11u);
  EXPECT_EQ(home.Entries(), entries);
  // A file of two names was once rewritten in place (a kill tore it): refused, both kept.
  fs::create_hard_link(target, home / "other-name.csv");
  const auto linked = Run("ephemeris --days 3 -o '" + target.string() + "' 2>&1");
  EXPECT_EQ(linked.status, 1);
  EXPECT_NE(linked.out.find("hard links"), std::string::npos) << linked.out;
  EXPECT_EQ(testing_support::ReadCsv(home.Read("other-name.csv")).size(), 11u);
  fs::remove(home / "other-name.csv");
  // A write failing half way leaves no temporary file behind.
  {
    AtomicFile f(home / "never.txt");
    f.Write("partial");
  }
  EXPECT_FALSE(fs::exists(home / "never.txt"));
  EXPECT_EQ(home.Entries(), entries);
}

// The desktop's choices reach a run only through --use-settings, and the
// command line's own options win over them.
// A long export stopped by Ctrl+C, kill or a closed terminal once left its
// partial temporary file (18-39 MB): each signal now removes it and ends the
// run with 128 + the signal's number, as a shell reports a signal. What a killed run left beside a target (a file of
// the program's pattern that no writer holds) goes at the next -o there.
TEST_F(Cli, SignalsLeaveNoTemporaryFile) {
  const fs::path folder = home / "exports";
  fs::create_directory(folder);
  const fs::path target = folder / "all.csv";
  for (const int signo : {SIGINT, SIGTERM, SIGHUP}) {
    std::ofstream(folder / ".novastra-k1lled00.tmp") << "left by a kill -9";
    const std::vector<std::string> args = {NOVASTRA_CLI, "--home", home.path().string(),
                                           "aspectarian", "--from", "1800-01-01", "--to",
                                           "2100-12-31", "--format", "csv", "-o", target.string()};
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    // Stopped once its temporary file has grown (the stale one is gone by then).
    for (int wait = 0; wait < 200 && fs::exists(folder / ".novastra-k1lled00.tmp"); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(pid, signo);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + signo) << signo << " " << status;
    EXPECT_FALSE(fs::exists(target)) << signo;
    for (const auto& e : fs::directory_iterator(folder))
      ADD_FAILURE() << "left in the folder after signal " << signo << ": " << e.path();
  }
}

TEST_F(Cli, FixedDefaultsOrTheDesktopSettingsAndNothingWritten) {
  RunParameters saved;
  saved.Coords = Coordinates::Heliocentric, saved.ZodiacMode = Zodiac::Sidereal;
  saved.SkyChoice = Sky::Apparent, saved.MoonNodes = NodeMode::Osculating;
  SetDaysText(saved, "5");
  saved.FullMonth = false;
  ASSERT_TRUE(WriteSettings(home.path(), Settings{}, saved));
  const int entries = home.Entries();
  const std::pair<const char*, std::vector<const char*>> cases[] = {
      {"--from 1/1/2009 --days 3",
       {"\"coordinates\":\"geocentric\"", "\"zodiac\":\"tropical\"", "\"instant\":\"12:00\"",
        "\"sky\":\"design\"", "\"node\":\"true\""}},
      {"--use-settings --from 3/5/2001",
       {"\"coordinates\":\"heliocentric\"", "\"zodiac\":\"sidereal\"", "\"sky\":\"apparent\"",
        "\"node\":\"osculating\"", "\"from\":\"2001-03-05\",\"to\":\"2001-03-09\""}},
      {"--use-settings --sky design --node mean --from 1/1/2009 --days 2",
       {"\"sky\":\"design\"", "\"node\":\"mean\""}},
  };
  for (const auto& [args, parts] : cases) {
    const auto r = Run("ephemeris --format json " + std::string(args));
    ASSERT_EQ(r.status, 0) << args;
    const std::string run = r.out.substr(0, r.out.find('\n'));
    for (const char* part : parts) EXPECT_NE(run.find(part), std::string::npos) << args << run;
  }
  EXPECT_EQ(home.Entries(), entries);  // nothing written
  // Any run without --days or --to is 30 days long.
  EXPECT_EQ(testing_support::ReadCsv(Run("ephemeris --from 1/1/2009 --format csv").out).size(),
            31u);
  // --save writes the six data files of the run, and the lock it takes on the folder.
  EXPECT_EQ(Run("ephemeris --from 1/1/2009 --days 3 --midnight --save > /dev/null").status, 0);
  EXPECT_TRUE(fs::exists(home / "010109LO.TEG"));
  EXPECT_TRUE(fs::exists(home / "NOVASTRA.LCK"));
  EXPECT_EQ(home.Entries(), entries + 7);
}

// A settings file that cannot be read (a FIFO would block a plain read, a
// folder cannot be read at all) is told and the defaults used; a zone from the
// settings is named as such, not as an option the user never gave.
TEST_F(Cli, UnreadableSettingsAreToldAndTheDefaultsUsed) {
  const std::string args = "ephemeris --from 2009-01-01 --days 1 --use-settings";
  const auto plain = Run(args);
  ASSERT_EQ(plain.status, 0);
  const fs::path ini = home / "NOVASTRA.INI";
  for (const char* reason : {"it is not a regular file", "it is a folder"}) {
    fs::remove_all(ini);
    if (reason[6] == 'n') {
      ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
    } else {
      fs::create_directory(ini);
    }
    const auto r = Run(args + " 2>&1");
    EXPECT_EQ(r.status, 0) << reason;
    EXPECT_EQ(r.out, "novastra-cli: Cannot read NOVASTRA.INI: " + std::string(reason) +
                         ". The default settings are used.\n" + plain.out);
  }
  fs::remove_all(ini);
  // The options file likewise names its reason (it once said only "cannot be read").
  const fs::path opt = home / "OPTIONS.OPT";
  const std::string kept = home.Read("OPTIONS.OPT");
  for (const char* reason : {"it is not a regular file", "it is a folder"}) {
    fs::remove_all(opt);
    if (reason[6] == 'n') {
      ASSERT_EQ(::mkfifo(opt.c_str(), 0644), 0);
    } else {
      fs::create_directory(opt);
    }
    EXPECT_EQ(Run("positions --date 2000-01-01 2>&1 >/dev/null").out,
              "novastra-cli: OPTIONS.OPT in " + home.path().string() + ": " + reason +
                  "; using the built-in options\n");
  }
  fs::remove_all(opt);
  // A folder without one of its own (an empty --home) reads the supplied file, silently.
  testing_support::TempFolder empty;
  EXPECT_EQ(CliShell("--home '" + empty.path().string() + "' positions --date 2000-01-01 2>&1 >/dev/null").out, "");
  home.Write("OPTIONS.OPT", kept);
  home.Write("NOVASTRA.INI", "[NOVASTRA]\r\nTimeZone=Mars/Base\r\n");
  const auto r = Run("aspectarian --from 2009-01-01 --days 1 --use-settings 2>&1");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("TimeZone \"Mars/Base\" of NOVASTRA.INI: "), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("--tz"), std::string::npos) << r.out;
}

TEST_F(Cli, GlobalOptionsBeforeOrAfterTheCommand) {
  const auto a = Run("--encoding utf8 --symbols ascii ephemeris --from 1/1/2009 --days 3");
  const auto b =
      CliShell("ephemeris --from 1/1/2009 --days 3 --symbols ascii " + Home() + " --encoding utf8");
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_NE(a.out.find("Cap"), std::string::npos);  // the Sun in Capricorn
  for (unsigned char c : a.out) EXPECT_LT(c, 0x80);
}

TEST_F(Cli, EncodingFollowsTheLocale) {
  const std::string args = Home() + "ephemeris --from 1/1/2009 --days 3";
  const auto utf8 = CliShell(args, "LC_ALL=C.UTF-8");
  const auto legacy = CliShell(args, "LC_ALL=C");
  const auto forced = CliShell(args + " --encoding cp1252", "LC_ALL=C.UTF-8");
  EXPECT_NE(utf8.out.find("\xe2\x99\x91"), std::string::npos);  // U+2651 Capricorn
  EXPECT_NE(legacy.out.find(static_cast<char>(201)), std::string::npos);
  EXPECT_EQ(forced.out, legacy.out);
}

TEST_F(Cli, LongRunsAreConsecutiveRunsOnAnyNumberOfThreads) {
  // As text: a run of 366 days, then one of 364, each as the program prints it.
  const auto text = Run("ephemeris --from 2009-01-01 --to 2010-12-31 --midnight");
  const auto first = Run("ephemeris --from 2009-01-01 --days 366 --midnight");
  const auto second = Run("ephemeris --from 2010-01-02 --days 364 --midnight");
  EXPECT_EQ(text.out, first.out + second.out);
  // JSON Lines: run line, 730 days, end line.
  const auto json = Run("ephemeris --from 2009-01-01 --to 2010-12-31 --format json --jobs 2");
  std::istringstream lines(json.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    const auto j = nlohmann::json::parse(line);
    if (count == 0) {
      EXPECT_EQ(j["type"], "run");
    }
    ++count;
  }
  EXPECT_EQ(count, 732);
  EXPECT_EQ(Run("ephemeris --from 2009-01-01 --to 2010-12-31 --format json --jobs 1").out,
            json.out);
}

}  // namespace
}  // namespace novastra
