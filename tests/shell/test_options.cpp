#include <gtest/gtest.h>

#include <string>

#include "shell/options.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/ui.h"
#include "temp_folder.h"

namespace novastra {
namespace {

using testing_support::TempFolder;

const char* const kOperationError = "Error in operation. Cannot do what is requested.";

RunOptions Filled(float v) {
  RunOptions o;
  o.value.fill(v);
  return o;
}

TEST(Options, ReadsTheNumberInTheFirstSevenCharacters) {
  TempFolder dir;
  dir.Write("OPTIONS.OPT",
            "   60  description\r\n"  // option 1
            "x 5\r\n"                 // a letter first: 0
            "  -1.5 and 2\r\n"
            "1234567890\r\n"          // only seven characters count
            "      12.5\r\n"          // the number starts in them but runs past them
            "  3,25\r\n"              // always "." as the decimal point
            "\t7\r\n");
  RunOptions o = Filled(9);
  ASSERT_TRUE(ReadOptions(dir.path(), o));
  EXPECT_EQ(o[1], 60);
  EXPECT_EQ(o[2], 0);
  EXPECT_EQ(o[3], -1.5f);
  EXPECT_EQ(o[4], 1234567);
  EXPECT_EQ(o[5], 1);
  EXPECT_EQ(o[6], 3);
  EXPECT_EQ(o[7], 7);
  EXPECT_EQ(o[8], 9);  // past the last line: kept
  EXPECT_EQ(o[12], 9);
}

TEST(Options, TheFirstEmptyLineEndsTheListAndAThirteenthLineIsIgnored) {
  TempFolder dir;
  dir.Write("OPTIONS.OPT", "1\r\n2\r\n\r\n3\r\n4\r\n");
  RunOptions o;
  ASSERT_TRUE(ReadOptions(dir.path(), o));
  EXPECT_EQ(o[1], 1);
  EXPECT_EQ(o[2], 2);
  for (int k = 3; k <= 12; ++k) EXPECT_EQ(o[k], 0) << k;

  std::string thirteen;
  for (int k = 1; k <= 13; ++k) thirteen += std::to_string(k * 10) + "\r\n";
  dir.Write("OPTIONS.OPT", thirteen);
  ASSERT_TRUE(ReadOptions(dir.path(), o));
  EXPECT_EQ(o[12], 120);
  EXPECT_EQ(o[0], 0);  // never written, whatever the file holds

  EXPECT_FALSE(ReadOptions(dir / "nowhere", o));
  EXPECT_EQ(o[12], 120);
}

TEST(Options, SuppliedFilesHoldTheDefaults) {
  const std::filesystem::path data = NOVASTRA_DATA_DIR;
  RunOptions o = Filled(99);
  ASSERT_TRUE(ReadOptions(data, o));
  const float expected[13] = {0, 0, 0, 0, 0, 0, 0, 61, 60, 80, 96, 0, 0};
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(o[k], expected[k]) << "option " << k;
  EXPECT_EQ(ReadFileBytes(data / "OPTIONS.OPT"), ReadFileBytes(data / "OPTIONS.MAS"));
  const std::string bytes = *ReadFileBytes(data / "OPTIONS.OPT");
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
    }
  }
  EXPECT_FALSE(o.Ayanamsa().useUserValue);
}

TEST(Options, UserAyanamsaFromOptionsTwoToFour) {
  RunOptions o;
  o[1] = 1;
  o[2] = 23;
  o[3] = 51;
  o[4] = 36;
  EXPECT_TRUE(o.Ayanamsa().useUserValue);
  EXPECT_NEAR(o.Ayanamsa().degrees, 23.86, 1e-12);
  o[1] = 2;
  EXPECT_FALSE(o.Ayanamsa().useUserValue);
}

TEST(OptionsEditor, SavingTheUnchangedTextWritesTheSameBytes) {
  TempFolder dir;
  const std::string original = *ReadFileBytes(std::filesystem::path(NOVASTRA_DATA_DIR) / "OPTIONS.OPT");
  dir.Write("OPTIONS.OPT", original);
  HeadlessUi ui;
  const auto text = OpenOptionsEditor(dir.path(), ui);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, original);
  RunOptions o;
  ASSERT_TRUE(SaveOptionsText(dir.path(), *text, o, ui));
  EXPECT_EQ(dir.Read("OPTIONS.OPT"), original);
  EXPECT_EQ(o[7], 61);  // read again after the save
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(OptionsEditor, SaveEndsTheTextWithOneLineBreak) {
  TempFolder dir;
  HeadlessUi ui;
  RunOptions o;
  struct {
    const char* edited;
    const char* file;
  } cases[] = {
      {"5\r\n6", "5\r\n6\r\n"},
      {"5\r\n6\r\n", "5\r\n6\r\n"},
      {"5\n6\n", "5\r\n6\r\n"},  // line breaks as a text box gives them
      {"5\r\n\r\n", "5\r\n\r\n"},
      {"", "\r\n"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(SaveOptionsText(dir.path(), c.edited, o, ui));
    EXPECT_EQ(dir.Read("OPTIONS.OPT"), c.file) << c.edited;
  }
  // A file whose last line has no line break gets one in the editor's text.
  dir.Write("OPTIONS.OPT", "1\r\n2");
  EXPECT_EQ(LoadOptionsText(dir.path()), "1\r\n2\r\n");
}

TEST(OptionsEditor, RestoreChangesTheFileButNotTheOptionsInUse) {
  TempFolder dir;
  dir.Write("OPTIONS.MAS", "     61\r\n");
  dir.Write("OPTIONS.OPT", "     70\r\n");
  RunOptions inUse;
  ASSERT_TRUE(ReadOptions(dir.path(), inUse));
  HeadlessUi ui;
  ASSERT_TRUE(RestoreDefaultOptions(dir.path(), ui));
  EXPECT_EQ(dir.Read("OPTIONS.OPT"), "     61\r\n");
  EXPECT_EQ(LoadOptionsText(dir.path()), "     61\r\n");  // what the editor shows now
  EXPECT_EQ(inUse[1], 70);  // Quit: the old value stays in use
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(OptionsEditor, FailuresShowTheirMessageAndChangeNothing) {
  TempFolder dir;
  dir.Write("OPTIONS.OPT", "     70\r\n");
  HeadlessUi ui;
  EXPECT_FALSE(RestoreDefaultOptions(dir.path(), ui));  // no master copy
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].title, "Warning!");
  EXPECT_EQ(ui.Messages()[0].text, kOperationError);
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Information);
  EXPECT_EQ(dir.Read("OPTIONS.OPT"), "     70\r\n");

  TempFolder empty;
  HeadlessUi ui2;
  EXPECT_FALSE(OpenOptionsEditor(empty.path(), ui2));
  ASSERT_EQ(ui2.Messages().size(), 1u);
  EXPECT_EQ(ui2.Messages()[0].text, "File Not Found");
  EXPECT_EQ(ui2.Messages()[0].title, "Warning!");

}

}  // namespace
}  // namespace novastra
