// A hostile environment: read-only, linked and special files, full disks,
// leftovers of killed saves, two copies at once. Each case here failed (hung,
// crashed, replaced what it must not, or told an untruth) before.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_folder.h"
#include "app/application.h"
#include "app/safe_write.h"
#include "app/text_file.h"
#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempFolder;

mode_t ModeOf(const fs::path& p) {
  struct stat st {};
  ::lstat(p.c_str(), &st);
  return st.st_mode;
}

std::vector<std::string> NamesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

int OwnTempFilesIn(const fs::path& dir) {
  int n = 0;
  for (const auto& name : NamesIn(dir)) n += IsOwnTempName(name) ? 1 : 0;
  return n;
}

// A small tmpfs mounted on a folder, where the test may mount one (as root
// with mount rights); unmounted at the end.
class SmallTmpfs {
 public:
  SmallTmpfs(const fs::path& dir, const char* options) : dir_(dir) {
    if (::geteuid() != 0) return;
    mounted_ = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
  }
  ~SmallTmpfs() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  void RemountReadOnly() {
    ::mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr);
  }

 private:
  fs::path dir_;
  bool mounted_ = false;
};

// ---- single files ----

// The two single-file writers follow the same rules: the whole-text one used
// by the saves and the piece-by-piece one behind a command's -o file.
using Writer = std::string (*)(const fs::path&, std::string_view);
std::string WriteInPieces(const fs::path& target, std::string_view bytes) {
  AtomicFile file(target);
  for (size_t at = 0; at < bytes.size(); at += 3) file.Write(bytes.substr(at, 3));
  return file.Commit();
}
const struct {
  const char* name;
  Writer write;
} kWriters[] = {{"whole", WriteFileSafely}, {"in pieces", WriteInPieces}};

TEST(SafeWrite, TargetsAreTreatedByTheirStatedRule) {
  TempFolder dir;
  struct Case {
    const char* what;
    void (*setUp)(const TempFolder&);
    bool written[2];       // the write succeeds, by each writer of kWriters
    const char* readBack;  // what "data.doc" reads afterwards
  };
  const bool root = ::geteuid() == 0;
  const Case cases[] = {
      {"plain file", [](const TempFolder& d) { d.Write("data.doc", "old"); }, {true, true}, "new"},
      {"read-only file is refused and kept",
       [](const TempFolder& d) {
         d.Write("data.doc", "old");
         fs::permissions(d / "data.doc", fs::perms::owner_read | fs::perms::group_read);
       },
       {false, false}, "old"},
      {"link written through to its file",
       [](const TempFolder& d) {
         d.Write("real.doc", "old");
         fs::create_symlink("real.doc", d / "data.doc");
       },
       {true, true}, "new"},
      {"folder refused", [](const TempFolder& d) { fs::create_directory(d / "data.doc"); },
       {false, false}, ""},
      // Output to a FIFO nobody reads is refused at once rather than hanging.
      {"FIFO refused", [](const TempFolder& d) { ::mkfifo((d / "data.doc").c_str(), 0644); },
       {false, false}, ""},
      // A command's output to a device goes straight to it, as with any tool.
      {"device: a save refuses it, output is written to it",
       [](const TempFolder& d) { fs::create_symlink("/dev/null", d / "data.doc"); },
       {false, true}, ""},
      // A link another user placed (protected_symlinks rule) is not followed;
      // its file, root's own, once got overwritten. Needs root to set owners.
      {"link owned by another user refused",
       [](const TempFolder& d) {
         d.Write("other.doc", "old");
         fs::create_symlink("other.doc", d / "data.doc");
         (void)!::lchown((d / "data.doc").c_str(), 65534, 65534);
       },
       {!root, !root}, nullptr},
  };
  for (const auto& w : kWriters) {
    const size_t writer = &w - kWriters;
    for (const Case& c : cases) {
      for (const char* name : {"data.doc", "real.doc", "other.doc"}) fs::remove_all(dir / name);
      c.setUp(dir);
      const std::string reason = w.write(dir / "data.doc", "new");
      EXPECT_EQ(reason.empty(), c.written[writer]) << w.name << ", " << c.what << ": " << reason;
      if (c.readBack && fs::is_regular_file(dir / "data.doc")) {
        EXPECT_EQ(dir.Read("data.doc"), c.readBack) << w.name << ", " << c.what;
      }
      if (fs::exists(dir / "real.doc")) {  // the link stayed a link; its file got the text
        EXPECT_TRUE(fs::is_symlink(dir / "data.doc")) << w.name;
        EXPECT_EQ(dir.Read("real.doc"), "new") << w.name;
      }
      if (fs::exists(dir / "other.doc")) {
        EXPECT_EQ(dir.Read("other.doc"), root ? "old" : "new") << w.name;
      }
      EXPECT_EQ(OwnTempFilesIn(dir.path()), 0) << w.name << ", " << c.what;
      fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);
      std::error_code ec;
      fs::permissions(dir / "data.doc", fs::perms::owner_write, fs::perm_options::add, ec);
    }
  }
}

TEST(SafeWrite, ModeAndHardLinksAreKept) {
  for (const auto& w : kWriters) {
    TempFolder dir;
    dir.Write("private.doc", "old");
    ::chmod((dir / "private.doc").c_str(), 0600);
    ASSERT_EQ(w.write(dir / "private.doc", "new"), "") << w.name;
    EXPECT_EQ(ModeOf(dir / "private.doc") & 07777, 0600u) << w.name;
    ::chmod((dir / "private.doc").c_str(), 0640);
    ASSERT_EQ(w.write(dir / "private.doc", "newer"), "") << w.name;
    EXPECT_EQ(ModeOf(dir / "private.doc") & 07777, 0640u) << w.name;

    // Both names see the new text, shorter or longer than the old. A
    // command's output is never rewritten in place (a kill tore it): such a
    // target is refused and kept.
    dir.Write("a.doc", "old text that is long");
    fs::create_hard_link(dir / "a.doc", dir / "b.doc");
    if (w.write == WriteInPieces) {
      EXPECT_NE(w.write(dir / "a.doc", "new text").find("2 hard links"), std::string::npos);
      EXPECT_EQ(dir.Read("b.doc"), "old text that is long");
      EXPECT_EQ(OwnTempFilesIn(dir.path()), 0);
      continue;
    }
    ASSERT_EQ(w.write(dir / "a.doc", "new text"), "") << w.name;
    EXPECT_EQ(dir.Read("b.doc"), "new text") << w.name;
    ASSERT_EQ(w.write(dir / "b.doc", "the newest text"), "") << w.name;
    EXPECT_EQ(dir.Read("a.doc"), "the newest text") << w.name;
    EXPECT_EQ(fs::hard_link_count(dir / "a.doc"), 2u) << w.name;
    EXPECT_EQ(OwnTempFilesIn(dir.path()), 0) << w.name;
  }
}

TEST(SafeWrite, LongNamesAndLeftoversDoNotStopASave) {
  TempFolder dir;
  const std::string longName = std::string(246, 'x') + ".DOC";  // 250 characters
  // Leftovers of killed saves, under the old predictable names of this very
  // process and under the program's own pattern, block nothing.
  for (int serial = 0; serial < 50; ++serial)
    dir.Write(".data.doc.tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial), "x");
  dir.Write(".novastra-abcd1234.tmp", "left by a killed save");
  dir.Write(".novastra-notmine.txt", "not of the pattern");
  for (const auto& w : kWriters) {
    ASSERT_EQ(w.write(dir / longName, w.name), "") << w.name;
    EXPECT_EQ(dir.Read(longName), w.name);
    ASSERT_EQ(w.write(dir / "data.doc", w.name), "") << w.name;
    EXPECT_EQ(dir.Read("data.doc"), w.name);
  }

  // Start-up removes the program's own leftovers and nothing else (the
  // output writer above already cleared the first one beside its target).
  dir.Write(".novastra-abcd1234.tmp", "left by a killed save");
  fs::create_symlink(dir / "data.doc", dir / ".novastra-link0000.tmp");
  EXPECT_EQ(RemoveStaleTempFiles(dir.path()), 1);
  EXPECT_FALSE(fs::exists(dir / ".novastra-abcd1234.tmp"));
  EXPECT_TRUE(fs::exists(dir / ".novastra-notmine.txt"));
  EXPECT_TRUE(fs::is_symlink(dir / ".novastra-link0000.tmp"));
  EXPECT_TRUE(fs::exists(dir / longName));
}

TEST(SafeWrite, StartUpCleaningSparesATempFileStillBeingWritten) {
  // A long export into the application folder was once deleted under its
  // writer by a save or a desktop start in the same folder, and failed with
  // "No such file or directory". A writer holds a lock on its temporary file
  // while it writes; a killed one holds none.
  TempFolder dir;
  dir.Write(".novastra-live0001.tmp", "being written");
  dir.Write(".novastra-dead0001.tmp", "left by a killed save");
  const int writer = ::open((dir / ".novastra-live0001.tmp").c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  EXPECT_EQ(RemoveStaleTempFiles(dir.path()), 1);
  EXPECT_TRUE(fs::exists(dir / ".novastra-live0001.tmp"));
  EXPECT_FALSE(fs::exists(dir / ".novastra-dead0001.tmp"));
  ::close(writer);  // the writer ends (or is killed): its file is a leftover now
  EXPECT_EQ(RemoveStaleTempFiles(dir.path()), 1);
  EXPECT_EQ(OwnTempFilesIn(dir.path()), 0);

  // A command's output written piece by piece (-o) is marked from its first
  // byte to its rename, and clears the leftovers of killed exports beside it
  // (nothing else ever did outside the application folder).
  dir.Write(".novastra-dead0002.tmp", "left by a killed export");
  {
    AtomicFile out(dir / "export.csv");
    EXPECT_FALSE(fs::exists(dir / ".novastra-dead0002.tmp"));
    ASSERT_TRUE(out.Write("first rows\n"));
    EXPECT_EQ(RemoveStaleTempFiles(dir.path()), 0);
    ASSERT_TRUE(out.Write("last rows\n"));
    ASSERT_EQ(out.Commit(), "");
  }
  EXPECT_EQ(dir.Read("export.csv"), "first rows\nlast rows\n");
  EXPECT_EQ(OwnTempFilesIn(dir.path()), 0);

  // The set writer behind the saves takes its temporary files through the
  // same marking step as this one.
}

TEST(SafeWrite, AStopSignalRemovesTheTemporaryFileAndEndsWithItsStatus) {
  // Interrupted exports once left temporary files of 18-39 MB each.
  const struct {
    int sig, status;  // 128 + the signal number, as shells report it
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& c : cases) {
    struct sigaction now {};
    ::sigaction(c.sig, nullptr, &now);
    if (now.sa_handler == SIG_IGN) continue;  // started ignored (nohup): stays ignored
    TempFolder dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      AtomicFile out(dir / "export.csv");
      out.Write("the first rows");
      (void)!::write(ready[1], "x", 1);
      for (;;) ::pause();
    }
    char x;
    ASSERT_EQ(::read(ready[0], &x, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(OwnTempFilesIn(dir.path()), 1);
    ::kill(child, c.sig);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status) << c.sig << ": " << status;
    EXPECT_TRUE(NamesIn(dir.path()).empty()) << c.sig;
  }
}

// ---- sets ----

std::vector<std::pair<fs::path, std::string>> SixFiles(const TempFolder& dir,
                                                       const std::string& text,
                                                       size_t bigIndex = 99, size_t bigSize = 0) {
  std::vector<std::pair<fs::path, std::string>> files;
  for (size_t i = 0; i < 6; ++i)
    files.emplace_back(dir / ("F" + std::to_string(i) + ".TRO"),
                       i == bigIndex ? std::string(bigSize, 'z') : text);
  return files;
}

void ExpectOldSet(const TempFolder& dir, const char* what) {
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(dir.Read("F" + std::to_string(i) + ".TRO"), "old") << what << " " << i;
  EXPECT_EQ(OwnTempFilesIn(dir.path()), 0) << what;
}

TEST(SafeWrite, ASetIsWrittenWholeOrNotAtAll) {
  TempFolder dir;
  ASSERT_TRUE(WriteFilesAsSet(SixFiles(dir, "old")).ok());

  // A read-only member: refused before anything is written.
  ::chmod((dir / "F3.TRO").c_str(), 0444);
  SetWriteResult r = WriteFilesAsSet(SixFiles(dir, "new"));
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.file, dir / "F3.TRO");
  EXPECT_EQ(r.replaced, 0);
  ExpectOldSet(dir, "read-only member");
  ::chmod((dir / "F3.TRO").c_str(), 0644);

  // A write that fails part-way through the set (the file size limit stands
  // in for a full disk here; the tmpfs test below uses a real one).
  ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit old {};
  ::getrlimit(RLIMIT_FSIZE, &old);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  r = WriteFilesAsSet(SixFiles(dir, "new", 4, 10000));
  ::setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.file, dir / "F4.TRO");
  EXPECT_EQ(r.replaced, 0);
  ExpectOldSet(dir, "failed write");

  // The message tells what happened.
  HeadlessUi ui;
  ReportSetWriteFailure(ui, r, 6);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("Nothing was written"), std::string::npos);
  SetWriteResult partly = r;
  partly.replaced = 2;
  ReportSetWriteFailure(ui, partly, 6);
  EXPECT_NE(ui.Messages()[1].text.find("2 of the 6 files already hold the new data"),
            std::string::npos);
}

TEST(SafeWrite, FullDiskKeepsTheOldSet) {
  TempFolder dir;
  fs::create_directory(dir / "disk");
  SmallTmpfs disk(dir / "disk", "size=64k");
  if (!disk.mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root); full-disk case skipped";
  std::vector<std::pair<fs::path, std::string>> files, bigger;
  for (int i = 0; i < 6; ++i) {
    files.emplace_back(dir / "disk" / ("F" + std::to_string(i) + ".TRO"), std::string(4000, 'o'));
    bigger.emplace_back(files.back().first, std::string(12000, 'n'));
  }
  ASSERT_TRUE(WriteFilesAsSet(files).ok());
  const SetWriteResult r = WriteFilesAsSet(bigger);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.replaced, 0);
  for (const auto& [file, bytes] : files) EXPECT_EQ(ReadBytes(file), bytes) << file;
  EXPECT_EQ(OwnTempFilesIn(dir / "disk"), 0);
}

// ---- readers ----

TEST(SafeRead, SpecialFilesAreUnreadableNotMissingAndNeverBlock) {
  TempFolder dir;
  testing_support::CopySuppliedFiles(dir.path());
  struct Case {
    const char* file;
    const char* what;
    void (*make)(const fs::path&);
    const char* message;
  };
  const Case cases[] = {
      {"OPTIONS.OPT", "FIFO", [](const fs::path& p) { ::mkfifo(p.c_str(), 0644); },
       "Cannot read OPTIONS.OPT: it is not a regular file."},
      {"NOVASTRA.INI", "FIFO", [](const fs::path& p) { ::mkfifo(p.c_str(), 0644); },
       "Cannot read NOVASTRA.INI: it is not a regular file. The default settings are used."},
      {"NOVASTRA.INI", "link to /dev/zero",
       [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
       "Cannot read NOVASTRA.INI: it is not a regular file. The default settings are used."},
      {"OPTIONS.OPT", "device", [](const fs::path& p) { fs::create_symlink("/dev/null", p); },
       "Cannot read OPTIONS.OPT: it is not a regular file."},
      {"OPTIONS.OPT", "missing", [](const fs::path&) {}, "File Not Found: OPTIONS.OPT"},
  };
  for (const Case& c : cases) {
    const std::string saved = ReadBytes(dir / c.file);
    fs::remove(dir / c.file);
    c.make(dir / c.file);
    HeadlessUi ui;
    Application app(ui, dir.path());
    EXPECT_TRUE(app.LoadFiles()) << c.what;
    ASSERT_EQ(ui.Messages().size(), 1u) << c.what;
    EXPECT_EQ(ui.Messages()[0].text, c.message) << c.what;
    fs::remove(dir / c.file);
    dir.Write(c.file, saved);
  }
  // A file far larger than any the program reads is refused, not loaded.
  {
    std::string reason;
    bool missing = true;
    std::FILE* f = std::fopen((dir / "HUGE.TXT").c_str(), "wb");
    std::fclose(f);
    fs::resize_file(dir / "HUGE.TXT", 64u << 20);  // sparse
    EXPECT_FALSE(ReadFileBytes(dir / "HUGE.TXT", &reason, &missing));
    EXPECT_FALSE(missing);
    EXPECT_EQ(reason, "it is too large");
  }
}

// ---- the single-copy lock ----

TEST(InstanceLockStates, OnlyARealConflictIsHeldByOther) {
  TempFolder dir;
  {
    InstanceLock first(dir.path());
    EXPECT_EQ(first.state(), InstanceLock::State::Acquired);
    InstanceLock second(dir.path());
    EXPECT_EQ(second.state(), InstanceLock::State::HeldByOther);
    EXPECT_FALSE(second.acquired());
  }
  EXPECT_TRUE(InstanceLock(dir.path()).acquired());  // the first has ended
  EXPECT_FALSE(InstanceLock(dir / "missing").acquired());
  // A lock file the user may only read (left by a run with sudo) still locks.
  ::chmod((dir / "NOVASTRA.LCK").c_str(), 0444);
  {
    InstanceLock lock(dir.path());
    EXPECT_EQ(lock.state(), InstanceLock::State::Acquired) << lock.reason();
  }
  // A symbolic link or FIFO in its place once silently disabled the lock: it
  // is replaced by a regular lock file (a link never followed, nothing
  // created where it points), and a second copy is kept out again.
  for (bool fifo : {false, true}) {
    fs::remove(dir / "NOVASTRA.LCK");
    if (fifo) ::mkfifo((dir / "NOVASTRA.LCK").c_str(), 0644);
    else fs::create_symlink(dir / "elsewhere.lck", dir / "NOVASTRA.LCK");
    InstanceLock lock(dir.path());
    EXPECT_EQ(lock.state(), InstanceLock::State::Acquired) << fifo << lock.reason();
    EXPECT_NE(lock.reason().find("replaced"), std::string::npos) << fifo;
    EXPECT_EQ(InstanceLock(dir.path()).state(), InstanceLock::State::HeldByOther) << fifo;
    EXPECT_FALSE(fs::exists(dir / "elsewhere.lck"));
  }
}

TEST(InstanceLockStates, AReadOnlyFolderIsNotAConflict) {
  TempFolder dir;
  fs::create_directory(dir / "ro");
  SmallTmpfs ro(dir / "ro", "size=64k");
  if (ro.mounted()) {
    ro.RemountReadOnly();
  } else if (::geteuid() != 0) {
    ::chmod((dir / "ro").c_str(), 0555);
  } else {
    GTEST_SKIP() << "root without mount rights: no folder can be made read-only here";
  }
  InstanceLock lock(dir / "ro");
  EXPECT_EQ(lock.state(), InstanceLock::State::Unavailable);
  EXPECT_FALSE(lock.reason().empty());
}

// ---- two command-line saves at once ----

TEST(ConcurrentSaves, TwoSavesIntoOneFolderNeverMixTheirSets) {
  if (!fs::exists(NOVASTRA_CLI)) GTEST_SKIP() << "novastra-cli not built";
  TempFolder dir;
  testing_support::CopySuppliedFiles(dir.path());
  // Same start date, so the same six names; Midnight and Noon tell the sets apart.
  auto run = [&dir](const char* instant) {
    const std::string cmd = std::string(NOVASTRA_CLI) + " ephemeris --start 1/1/2009 --days 120 " +
                            instant + " --save --encoding cp1252 --home '" + dir.path().string() +
                            "' >/dev/null 2>&1";
    return std::system(cmd.c_str());
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    const pid_t child = ::fork();
    if (child == 0) _exit(run("--midnight") == 0 ? 0 : 1);
    EXPECT_EQ(run("--noon"), 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    int midnight = 0, noon = 0, files = 0;
    for (const auto& name : NamesIn(dir.path())) {
      if (name.rfind("010109", 0) != 0) continue;
      ++files;
      const std::string text = ReadBytes(dir / name);
      midnight += text.find("midnight") != std::string::npos;
      noon += text.find(" noon") != std::string::npos;
    }
    EXPECT_EQ(files, 6);
    EXPECT_TRUE((midnight == 6 && noon == 0) || (noon == 6 && midnight == 0))
        << "mixed set: " << midnight << " midnight, " << noon << " noon";
    EXPECT_EQ(OwnTempFilesIn(dir.path()), 0);
  }
}

}  // namespace
}  // namespace novastra
