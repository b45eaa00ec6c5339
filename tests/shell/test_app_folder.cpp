#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "shell/app_folder.h"
#include "temp_folder.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
 public:
  void Set(const char* name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    Apply(name, value);
  }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    supplied.Write("OPTIONS.OPT", "     61\r\n");
    supplied.Write("MARS.DAT", "1 2 3\r\n");
    env.Set("NOVASTRA_HOME", std::nullopt);
    env.Set("XDG_DATA_HOME", std::nullopt);
    env.Set("HOME", home.path().string());
  }
  std::optional<fs::path> Resolve(const std::optional<fs::path>& given = std::nullopt) {
    error.clear();
    return ResolveAppFolder(given, program.path(), supplied.path(), &error);
  }

  TempFolder supplied, program, home, other;
  ScopedEnv env;
  std::string error;
};

TEST_F(AppFolderTest, HomeOptionThenEnvironmentComeFirst) {
  env.Set("NOVASTRA_HOME", other.path().string());
  EXPECT_EQ(Resolve(home / "."), fs::absolute(home / "."));
  EXPECT_EQ(Resolve(), other.path());

  EXPECT_FALSE(Resolve(home / "no-such-folder"));
  EXPECT_NE(error.find("no-such-folder"), std::string::npos);
  env.Set("NOVASTRA_HOME", (other / "missing").string());
  EXPECT_FALSE(Resolve());
  EXPECT_FALSE(error.empty());
}

TEST_F(AppFolderTest, ProgramFolderIsUsedWhenItHoldsTheSuppliedFiles) {
  program.Write("OPTIONS.OPT", "own copy\r\n");
  EXPECT_EQ(Resolve(), home / ".local" / "share" / "novastra");  // MARS.DAT missing
  program.Write("MARS.DAT", "x");
  EXPECT_EQ(Resolve(), program.path());
  EXPECT_EQ(program.Read("OPTIONS.OPT"), "own copy\r\n");
}

TEST_F(AppFolderTest, PerUserFolderIsSeededWithMissingFilesOnly) {
  const auto folder = Resolve();
  ASSERT_TRUE(folder) << error;
  EXPECT_EQ(*folder, home / ".local" / "share" / "novastra");
  EXPECT_EQ(home.Read(".local/share/novastra/OPTIONS.OPT"), "     61\r\n");
  EXPECT_EQ(home.Read(".local/share/novastra/MARS.DAT"), "1 2 3\r\n");

  // The user's edited options survive; a deleted data file comes back.
  home.Write(".local/share/novastra/OPTIONS.OPT", "edited\r\n");
  fs::remove(home / ".local/share/novastra/MARS.DAT");
  ASSERT_TRUE(Resolve());
  EXPECT_EQ(home.Read(".local/share/novastra/OPTIONS.OPT"), "edited\r\n");
  EXPECT_EQ(home.Read(".local/share/novastra/MARS.DAT"), "1 2 3\r\n");

  env.Set("XDG_DATA_HOME", other.path().string());
  EXPECT_EQ(Resolve(), other / "novastra");
  EXPECT_EQ(other.Read("novastra/MARS.DAT"), "1 2 3\r\n");
}

TEST_F(AppFolderTest, NoHomeGivesAnError) {
  env.Set("HOME", std::nullopt);
  EXPECT_FALSE(Resolve());
  EXPECT_FALSE(error.empty());
}

TEST(InstanceLock, RefusesASecondHolderUntilTheFirstEnds) {
  TempFolder dir;
  {
    InstanceLock first(dir.path());
    ASSERT_TRUE(first.acquired());
    InstanceLock second(dir.path());
    EXPECT_FALSE(second.acquired());
  }
  InstanceLock again(dir.path());
  EXPECT_TRUE(again.acquired());
  InstanceLock nowhere(dir / "missing");
  EXPECT_FALSE(nowhere.acquired());
}

TEST(AppFolder, DefaultSuppliedDirIsTheDataFolder) {
  EXPECT_EQ(fs::canonical(DefaultSuppliedDir()), fs::canonical(NOVASTRA_DATA_DIR));
}

}  // namespace
}  // namespace novastra
