// Every save reaches the disk before it takes the old file's place: the
// program's own calls, as the C library sees them (the preloaded recorder in
// shim/), show each temporary file synced before it is renamed onto its
// target, and the target's folder synced after the last rename, so a power
// cut leaves either the old file or the complete new one.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/safe_write.h"
#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::Quote;
using testing_support::ReadBytes;
using testing_support::TempFolder;

struct Call {
  std::string what, a, b;
};

int RunShimmed(const std::string& args, const fs::path& log, const std::string& env = "") {
  const std::string cmd = "ASAN_OPTIONS=\"${ASAN_OPTIONS:-}:verify_asan_link_order=0\" LD_PRELOAD=" +
                          Quote(NOVASTRA_SYNC_SHIM) + " NOVASTRA_SYNC_LOG=" + Quote(log.string()) +
                          " " + env + " " + Quote(NOVASTRA_CLI) + " " + args + " >/dev/null 2>&1";
  return std::system(cmd.c_str());
}

std::vector<Call> RecordedCalls(const std::string& args, const fs::path& log) {
  EXPECT_EQ(RunShimmed(args, log), 0) << args;
  std::vector<Call> calls;
  std::istringstream in(ReadBytes(log));
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    Call c;
    words >> c.what >> c.a >> c.b;
    calls.push_back(c);
  }
  return calls;
}

TEST(SyncOrder, EveryTemporaryFileIsSyncedBeforeItsRenameAndTheFolderAfter) {
  struct Case {
    const char* name;
    std::string args;  // after --home FOLDER
    int renames;       // files the run puts in place
  };
  const Case cases[] = {
      {"ephemeris set", "ephemeris --from 1/1/2009 --days 3 --save", 7},  // and its journal
      {"aspectarian file", "aspectarian --from 1/1/2009 --days 3 --save", 1},
      {"output file", "ephemeris --from 1/1/2009 --days 3 --format csv -o OUT", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder home, io;
    std::string args = c.args;
    if (const size_t at = args.find("OUT"); at != std::string::npos)
      args.replace(at, 3, Quote((home / "out.csv").string()));
    const std::vector<Call> calls =
        RecordedCalls("--home " + Quote(home.path().string()) + " " + args, io / "log");
    const fs::path folder = fs::canonical(home.path());
    int renames = 0;
    size_t lastRename = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].what != "rename") continue;
      const fs::path to = fs::weakly_canonical(calls[i].b);
      if (to.parent_path() != folder) continue;
      ++renames;
      lastRename = i;
      const std::string temp = fs::path(calls[i].a).filename().string();
      bool synced = false;
      for (size_t j = 0; j < i; ++j)
        synced |= calls[j].what == "fsync" && fs::path(calls[j].a).filename() == temp;
      EXPECT_TRUE(synced) << temp << " renamed onto " << to << " before it was synced";
    }
    EXPECT_EQ(renames, c.renames);
    bool folderSynced = false;
    for (size_t j = lastRename + 1; j < calls.size(); ++j)
      folderSynced |= calls[j].what == "fsync" && fs::path(calls[j].a) == folder;
    EXPECT_TRUE(folderSynced) << "the folder " << folder << " was not synced after the renames";
  }
}

TEST(SyncOrder, ASetKilledBetweenItsRenamesIsFinishedByTheNextStart) {
  // Killed after the journal and four of the six renames, a save once left
  // four new files and two old ones, and the next start removed the rest.
  TempFolder home, clean, io;
  const std::string newSet = " ephemeris --from 1/1/2009 --days 4 --save";
  ASSERT_EQ(RunShimmed("--home " + Quote(clean.path().string()) + newSet, io / "a"), 0);
  ASSERT_EQ(RunShimmed("--home " + Quote(home.path().string()) +
                           " ephemeris --from 1/1/2009 --days 3 --save", io / "b"), 0);
  EXPECT_NE(RunShimmed("--home " + Quote(home.path().string()) + newSet, io / "c",
                       "NOVASTRA_DIE_AFTER_RENAMES=5"), 0);
  EXPECT_EQ(RollForwardSet(home.path()), 2);
  int files = 0;
  for (const auto& e : fs::directory_iterator(clean.path())) {
    if (e.path().filename().string().rfind("010109", 0) != 0) continue;  // the set's names
    ++files;
    EXPECT_EQ(ReadBytes(home / e.path().filename()), ReadBytes(e.path())) << e.path();
  }
  EXPECT_EQ(files, 6);
  EXPECT_FALSE(fs::exists(home / ".novastra-set.jnl"));
}

}  // namespace
}  // namespace novastra
