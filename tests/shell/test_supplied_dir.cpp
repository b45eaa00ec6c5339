// Finding the supplied files: beside the program, in the build tree, through
// $XDG_DATA_DIRS; reading them there while the user's files stay in the
// application folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <optional>

#include "app/application.h"
#include "app/options.h"
#include "app/supplied_dir.h"
#include "astro/series.h"
#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempFolder;

void CopySupplied(const fs::path& dir) {
  fs::create_directories(dir);
  for (const auto& e : fs::directory_iterator(NOVASTRA_DATA_DIR))
    if (e.is_regular_file()) fs::copy_file(e.path(), dir / e.path().filename());
}

class SuppliedDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Env("XDG_DATA_DIRS", (root / "none").string());
    Env("NOVASTRA_HOME", std::nullopt), Env("XDG_DATA_HOME", std::nullopt);
    Env("HOME", (root / "home").string());
    fs::create_directories(root / "opt/bin");
    fs::create_directories(root / "home");
  }
  void Env(const char* name, const std::optional<std::string>& value) {
    environment.Set(name, value);
  }
  std::optional<fs::path> Locate(const std::optional<fs::path>& home = std::nullopt) {
    error.clear();
    return LocateSuppliedDir(root / "opt/bin", home, &error);
  }
  TempFolder root;
  testing_support::EnvironmentGuard environment;
  std::string error;
};

TEST_F(SuppliedDirTest, CandidatesInOrder) {
  // XDG_DATA_DIRS unset or empty gives /usr/local/share:/usr/share;
  // relative entries are ignored.
  const fs::path bin = "/opt/x/bin";
  const std::vector<fs::path> beside = {"/opt/x/share/novastra", "/opt/x/bin"};
  struct {
    std::optional<std::string> xdg;
    std::vector<fs::path> tail;
  } cases[] = {
      {std::nullopt, {"/usr/local/share/novastra", "/usr/share/novastra"}},
      {"", {"/usr/local/share/novastra", "/usr/share/novastra"}},
      {"/a:/b/", {"/a/novastra", "/b/novastra"}},
      {"rel:/a::", {"/a/novastra"}},
  };
  for (const auto& c : cases) {
    Env("XDG_DATA_DIRS", c.xdg);
    std::vector<fs::path> want = beside;
    want.insert(want.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(SuppliedDirCandidates(bin), want) << c.xdg.value_or("(unset)");
  }
  // The drawing program in libexec/novastra reads the tree's share/novastra first.
  Env("XDG_DATA_DIRS", std::string("/a"));
  const std::vector<fs::path> helper = {"/opt/x/share/novastra", "/opt/x/libexec/share/novastra",
                                        "/opt/x/libexec/novastra", "/a/novastra"};
  EXPECT_EQ(SuppliedDirCandidates("/opt/x/libexec/novastra"), helper);
}

TEST_F(SuppliedDirTest, InstalledTreeComesFirstThenBuildTreeThenXdg) {
  const fs::path installed = root / "opt/share/novastra", built = root / "src/data",
                 system = root / "sys/novastra";
  CopySupplied(system);
  Env("XDG_DATA_DIRS", (root / "sys").string());
  EXPECT_EQ(Locate(), system) << error;

  CopySupplied(built);
  root.Write("opt/bin/novastra-data-dir.txt", built.string() + "\n");
  EXPECT_EQ(Locate(), built) << error;

  CopySupplied(installed);
  EXPECT_EQ(Locate(), installed) << error;

  // A folder missing one series file is not the supplied folder.
  fs::remove(installed / "PLUTO.DAT");
  EXPECT_EQ(Locate(), built) << error;
}

TEST_F(SuppliedDirTest, NowhereGivesAMessageNamingThePlacesSearched) {
  EXPECT_FALSE(Locate());
  EXPECT_NE(error.find("supplied files"), std::string::npos) << error;
  EXPECT_NE(error.find((root / "opt/share/novastra").string()), std::string::npos) << error;
  EXPECT_NE(error.find((root / "none/novastra").string()), std::string::npos) << error;

  // A self-contained folder given as the application folder serves.
  CopySupplied(root / "own");
  EXPECT_EQ(Locate(root / "own"), root / "own");
  Env("NOVASTRA_HOME", (root / "own").string());
  EXPECT_EQ(Locate(), root / "own");
  EXPECT_FALSE(Locate(root / "home"));  // --home wins over NOVASTRA_HOME
}

TEST_F(SuppliedDirTest, ADamagedFileIsNamedNotPassedOverForAnotherCopy) {
  // A newer installed tree beside the program and an older copy on
  // $XDG_DATA_DIRS: a series file of the newer one replaced by something that
  // is not a regular file must be refused by name, never read from the older.
  const fs::path installed = root / "opt/share/novastra", system = root / "sys/novastra";
  CopySupplied(system);
  Env("XDG_DATA_DIRS", (root / "sys").string());
  // (The series loader's message for each is the series files' own test.)
  const struct {
    const char* what;
    void (*damage)(const fs::path& file);
  } cases[] = {
      {"FIFO", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0); }},
      {"link to /dev/zero", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }},
      {"folder", [](const fs::path& f) { fs::create_directory(f); }},
  };
  for (const auto& c : cases) {
    fs::remove_all(installed);
    CopySupplied(installed);
    fs::remove(installed / "MARS.DAT");
    c.damage(installed / "MARS.DAT");
    EXPECT_EQ(Locate(), installed) << c.what << ": " << error;
  }
  // A file that is simply missing still passes the folder over.
  fs::remove_all(installed / "MARS.DAT");
  EXPECT_EQ(Locate(), system) << error;
}

TEST_F(SuppliedDirTest, InstalledFilesServeAnEmptyHomeAndUpgradesTakeEffect) {
  const fs::path installed = root / "opt/share/novastra";
  CopySupplied(installed);
  std::string why;
  auto folders = ResolveProgramFolders(std::nullopt, root / "opt/bin", &why);
  ASSERT_TRUE(folders) << why;
  EXPECT_EQ(folders->supplied, installed);
  EXPECT_EQ(folders->app, root / "home/.local/share/novastra");
  EXPECT_EQ(std::distance(fs::directory_iterator(folders->app), {}), 1);  // OPTIONS.OPT alone

  HeadlessUi ui;
  {
    Application app(ui, folders->app, folders->supplied);
    ASSERT_TRUE(app.LoadFiles());
    EXPECT_EQ(app.options()[7], 61);
    app.ShowDocument("README.TXT");
    ASSERT_GT(app.buffer().AllCount(), 1);
    EXPECT_EQ(app.buffer().AllLines()[0], "NOVASTRA - Background");
  }
  // A newer installed document is shown at once; a stale copy left in the
  // user's folder by an older version does not hide it.
  root.Write("home/.local/share/novastra/README.TXT", "old\r\n");
  root.Write("opt/share/novastra/README.TXT", "new\r\n");
  Application app(ui, folders->app, folders->supplied);
  app.ShowDocument("README.TXT");
  EXPECT_EQ(app.buffer().AllLines()[0], "new");

  // Restore Default Settings copies the installed master over the user's options.
  root.Write("home/.local/share/novastra/OPTIONS.OPT", "     70\r\n");
  ASSERT_TRUE(RestoreDefaultOptions(folders->app, ui, folders->supplied));
  EXPECT_EQ(ReadBytes(folders->app / "OPTIONS.OPT"), ReadBytes(installed / "OPTIONS.MAS"));
  EXPECT_FALSE(fs::exists(folders->app / "OPTIONS.MAS"));
  EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace novastra
