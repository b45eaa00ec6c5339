#include "output/save_print.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/application.h"
#include "shell/text_file.h"

namespace fs = std::filesystem;
using namespace novastra;

namespace {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "novastra-save-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> FileNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

struct SavePrint : ::testing::Test {
  TempFolder tmp;
  HeadlessUi ui;
  Application app{ui, tmp.path()};

  void Fill(int count, const std::string& prefix = "line ") {
    for (int i = 0; i < count; ++i) app.buffer.AppendLine(prefix + std::to_string(i));
  }
};

}  // namespace

TEST(SavedDataFormat, FormFeedLinesFollowOption7) {
  std::vector<std::string> lines;
  for (int i = 0; i < 200; ++i) lines.push_back("L" + std::to_string(i));
  lines.emplace_back();  // the spare entry

  struct Case {
    float option7;
    std::vector<int> formFeedAfter;  // indices of the lines a form-feed line follows
  };
  const Case cases[] = {
      {61, {60, 120, 180, 200}},     // 200 is the spare entry, then the final form feed
      {61.4f, {60, 120, 180, 200}},  // a page length is a whole number of lines
      {101, {100, 200, 200}},        // the spare line ends a page as well
      {1, {200}},                    // below 2: only the final form feed
      {0, {200}},
      {-3, {200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option7);
    const std::string text = FormatSavedData(lines, 200, c.option7);
    std::vector<int> after;
    int index = -1;
    for (const std::string& line : SplitTextLines(text)) {
      if (line == "\f")
        after.push_back(index);
      else
        ASSERT_EQ(line, lines[++index]);
    }
    EXPECT_EQ(index, 200);
    EXPECT_EQ(after, c.formFeedAfter);
    // The file ends with the empty spare line, then the form-feed line.
    EXPECT_TRUE(text.ends_with(c.option7 == 101 ? "L199\r\n\r\n\f\r\n\f\r\n"
                                                : "L199\r\n\r\n\f\r\n"));
  }
}

TEST(SavedDataFormat, DefaultNameFromStartDate) {
  const std::pair<std::string, std::string> cases[] = {
      {"12/25/2026", "12252026.DOC"},
      {"1/5/2000", "01052000.DOC"},
      {"02/29/1800", "02291800.DOC"},
      {"", "NOVASTRA.DOC"},
      {"13/01/2000", "NOVASTRA.DOC"},
  };
  for (const auto& [date, name] : cases) EXPECT_EQ(DefaultSaveName(date), name) << date;
}

TEST_F(SavePrint, SaveOnFreshStartAsksForNameThenRewritesSameFile) {
  app.options[7] = 61;
  app.cal.StartDateText = "12/25/2026";
  Fill(130);

  EXPECT_EQ(SaveData(app), SaveResult::NeedsDialog);
  const auto setup = PrepareSaveAs(app);
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->fileName, "12252026.DOC");
  EXPECT_EQ(setup->folder, tmp.path());
  EXPECT_EQ(setup->defaultExtension, "doc");

  const fs::path file = tmp.path() / setup->fileName;
  ASSERT_TRUE(SaveDataAs(app, file));
  EXPECT_EQ(app.currentDataFile, file.string());
  EXPECT_EQ(ReadBytes(file), FormatSavedData(app.buffer.AllLines(), 130, 61));

  // A later Save writes the whole buffer again to the same file.
  Fill(5, "more ");
  EXPECT_EQ(SaveData(app), SaveResult::Saved);
  const std::vector<std::string> lines = SplitTextLines(ReadBytes(file));
  EXPECT_EQ(lines[0], "line 0");
  EXPECT_EQ(lines[61], "\f");
  EXPECT_EQ(lines[lines.size() - 3], "more 4");
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(FileNames(tmp.path()).size(), 1u);  // no temporary file left behind
}

TEST_F(SavePrint, EmptyBufferMessages) {
  EXPECT_EQ(SaveData(app), SaveResult::NoData);
  EXPECT_FALSE(PrepareSaveAs(app));
  EXPECT_FALSE(SaveDataAs(app, tmp.path() / "X.DOC"));
  EXPECT_EQ(PreparePrintData(app), PrintPrepared::Nothing);
  EXPECT_EQ(PreparePrintPage(app), PrintPrepared::Nothing);

  const auto messages = ui.Messages();
  ASSERT_EQ(messages.size(), 4u);  // print page with an empty view says nothing
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(messages[k].text, "No data to write to file.");
    EXPECT_EQ(messages[k].title, "Information");
    EXPECT_EQ(messages[k].icon, MessageIcon::Exclamation);
  }
  EXPECT_EQ(messages[3].text, "No data to print.");
  EXPECT_EQ(messages[3].title, "Information");
  EXPECT_EQ(messages[3].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(FileNames(tmp.path()).empty());
}

TEST_F(SavePrint, PrintPageCountsTheTwoLeadingEmptyLines) {
  app.options[8] = 60;
  app.options[9] = 80;
  app.options[10] = 100;
  Fill(118);
  ASSERT_EQ(PreparePrintPage(app), PrintPrepared::Ready);
  const auto loaded = LoadPrintFile(app);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->text.substr(0, 12), "\r\n\r\nline 0\r\n");

  const auto job = PreparePrintJob(app, loaded->text, loaded->sizeClass);
  ASSERT_TRUE(job);
  EXPECT_EQ(job->pointSize, 12);
  // 2 empty lines + 118 lines + the spare entry = 121 lines.
  ASSERT_EQ(job->pages.size(), 3u);
  EXPECT_EQ(job->pages[0].size(), 60u);
  EXPECT_EQ(job->pages[0][0], "");
  EXPECT_EQ(job->pages[0][2], "line 0");
  EXPECT_EQ(job->pages[1][0], "line 58");
  EXPECT_EQ(job->pages[2], std::vector<std::string>{""});
}

TEST(PrintPages, CounterComparedWithOption8) {
  const std::vector<std::string> lines(120, "x");
  const std::pair<float, std::vector<size_t>> cases[] = {
      {60, {60, 60}},  // a full last page adds no empty page
      {50, {50, 50, 20}},
      {1, std::vector<size_t>(120, 1)},
      {0, {120}},      // never reached: one long page
      {60.5f, {120}},
  };
  for (const auto& [option8, sizes] : cases) {
    SCOPED_TRACE(option8);
    std::vector<size_t> got;
    for (const auto& page : PaginatePrintLines(lines, option8)) got.push_back(page.size());
    EXPECT_EQ(got, sizes);
  }
}

TEST(PrintSize, LongestLineDecides) {
  RunOptions options;
  options[9] = 80;
  options[10] = 100;
  const std::string s10(10, 'a'), s80(80, 'a'), s90(90, 'a'), s100(100, 'a'), s120(120, 'a');
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{s120, s90, s10}, 8},  // shorter lines after the longest do not lower it
      {{s90, s120}, 8},
      {{s10, s90, s10}, 10},
      {{s100}, 10},           // exactly option 10 is not longer
      {{s80, s10}, 12},
      {{}, 12},
  };
  for (const auto& [lines, points] : cases)
    EXPECT_EQ(PrintPointSize(PrintSizeClass(lines, options)), points) << lines.size();
}

TEST_F(SavePrint, EditedTextIsPrintedAsEdited) {
  app.options[8] = 60;
  app.options[9] = 80;
  app.options[10] = 100;
  Fill(3);
  ASSERT_EQ(PreparePrintData(app), PrintPrepared::Ready);
  const auto loaded = LoadPrintFile(app);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->sizeClass, 0);

  // The print window hands back its text with plain LF line ends.
  const auto job = PreparePrintJob(app, "\n\nline 0\nedited\n" + std::string(90, '-'), 1);
  ASSERT_TRUE(job);
  EXPECT_EQ(job->pointSize, 10);
  ASSERT_EQ(job->pages.size(), 1u);
  EXPECT_EQ(job->pages[0],
            (std::vector<std::string>{"", "", "line 0", "edited", std::string(90, '-')}));
  EXPECT_EQ(ReadBytes(app.File(kPrintFileName)),
            "\r\n\r\nline 0\r\nedited\r\n" + std::string(90, '-') + "\r\n");
}

TEST_F(SavePrint, FailedWriteShowsMessageAndLeavesNoFile) {
  Fill(10);
  const fs::path blocked = tmp.path() / "blocked";
  fs::create_directory(blocked);

  std::vector<fs::path> targets = {
      tmp.path() / "missing" / "A.DOC",  // folder does not exist
      blocked,                           // the name is taken by a folder
  };
  if (::geteuid() != 0) {  // permissions do not stop the superuser
    fs::create_directory(tmp.path() / "readonly");
    fs::permissions(tmp.path() / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
    targets.push_back(tmp.path() / "readonly" / "A.DOC");
  }
  for (const fs::path& target : targets) {
    SCOPED_TRACE(target.string());
    ui.events.clear();
    EXPECT_FALSE(SaveDataAs(app, target));
    EXPECT_TRUE(app.currentDataFile.empty());
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages[0].title, "Warning!");
    EXPECT_NE(messages[0].text.find(target.string()), std::string::npos);
  }
  EXPECT_TRUE(fs::is_directory(blocked));
  EXPECT_TRUE(fs::is_empty(blocked));
  auto names = FileNames(tmp.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names.front(), "blocked");
  EXPECT_LE(names.size(), 2u);  // "blocked" and perhaps "readonly", nothing else
  if (names.size() == 2) {
    EXPECT_TRUE(fs::is_empty(tmp.path() / "readonly"));
  }
  EXPECT_EQ(app.buffer.AllCount(), 10);  // nothing is lost

  // Save to a remembered name that has become unwritable fails the same way.
  app.currentDataFile = (tmp.path() / "missing" / "B.DOC").string();
  EXPECT_EQ(SaveData(app), SaveResult::Failed);
  // The print file cannot be written when the application folder is gone.
  Application lost{ui, tmp.path() / "gone"};
  lost.buffer.AppendLine("x");
  EXPECT_EQ(PreparePrintData(lost), PrintPrepared::Failed);
  EXPECT_FALSE(LoadPrintFile(lost));
}
