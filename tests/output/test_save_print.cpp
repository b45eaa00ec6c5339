#include "app/save_print.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/run_context.h"
#include "app/text_file.h"
#include "support/support.h"

namespace novastra {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;

// The state a run leaves behind, handed to the saves and prints as the run
// controller hands it.
struct RunState {
  explicit RunState(UserInterface& ui, std::filesystem::path where)
      : folder(std::move(where)), buffer(ui) {}
  std::filesystem::path folder;
  RunOptions options;
  SeriesTables series;
  RunParameters params;
  CalendarState cal;
  EphemerisState ephemeris;
  AspectarianState aspectarian;
  DataBuffer buffer;
  int16_t runKind = 1;
  std::string currentDataFile;
  bool carry = false;
  std::atomic<bool> cancel{false};
  std::optional<MinorTables> minor;
  RunContext Context(UserInterface& ui) {
    return RunContext{ui,        folder,      folder, options, series,          params, cal,
                      ephemeris, aspectarian, buffer, runKind, currentDataFile, carry,  cancel,
                      minor};
  }
};

struct SavePrint : ::testing::Test {
  testing_support::TempFolder tmp;
  HeadlessUi ui;
  RunState state{ui, tmp.path()};
  RunContext app = state.Context(ui);
  void Fill(int count, const std::string& prefix = "line ") {
    for (int i = 0; i < count; ++i) app.buffer.AppendLine(prefix + std::to_string(i));
    state.options[7] = 61, state.options[8] = 60, state.options[9] = 80, state.options[10] = 100;
  }
};

TEST(SavedDataFormat, FormFeedLinesFollowOption7) {
  std::vector<std::string> lines;
  for (int i = 0; i < 200; ++i) lines.push_back("L" + std::to_string(i));
  lines.emplace_back();  // the spare entry
  const std::pair<float, std::vector<int>> cases[] = {
      // the lines a form feed follows
      {61, {60, 120, 180, 200}},
      {61.4f, {60, 120, 180, 200}},  // 200: the final form feed
      {101, {100, 200, 200}},        // the spare line ends a page as well
      {1, {200}},
      {0, {200}},
      {-3, {200}}};  // below 2: only the final form feed
  for (const auto& [option7, formFeedAfter] : cases) {
    SCOPED_TRACE(option7);
    const std::string text = FormatSavedData(lines, 200, option7);
    std::vector<int> after;
    int index = -1;
    for (const std::string& line : SplitTextLines(text))
      if (line == "\f")
        after.push_back(index);
      else
        ASSERT_EQ(line, lines[++index]);
    EXPECT_EQ(index, 200);
    EXPECT_EQ(after, formFeedAfter);
    EXPECT_TRUE(text.ends_with("\r\n\f\r\n"));  // CRLF after every line
  }
}

TEST(SavedDataFormat, DefaultNameFromStartDate) {
  const std::pair<std::string, std::string> cases[] = {
      {"12/25/2026", "12252026.DOC"}, {"1/5/2000", "01052000.DOC"},  {"", "NOVASTRA.DOC"},
      {"4/31/2000", "05012000.DOC"},  {"2/30/2009", "03022009.DOC"},  // days roll over
      {"13/01/2000", "NOVASTRA.DOC"}};
  for (const auto& [date, name] : cases) EXPECT_EQ(DefaultSaveName(date), name) << date;
}

TEST_F(SavePrint, SaveOnFreshStartAsksForNameThenRewritesSameFile) {
  app.cal.StartDateText = "12/25/2026";
  Fill(130);
  EXPECT_EQ(SaveData(app), SaveResult::NeedsDialog);
  const auto setup = PrepareSaveAs(app);
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->fileName, "12252026.DOC");
  EXPECT_EQ(setup->folder, tmp.path());
  EXPECT_EQ(setup->defaultExtension, "doc");
  EXPECT_EQ(setup->filter, "Data Files (*.DOC) | *.DOC");
  const fs::path file = tmp / setup->fileName;
  ASSERT_TRUE(SaveDataAs(app, file));
  EXPECT_EQ(ReadBytes(file), FormatSavedData(app.buffer.AllLines(), 130, 61));
  Fill(5, "more ");  // a later Save writes the whole buffer again to the same file
  EXPECT_EQ(SaveData(app), SaveResult::Saved);
  EXPECT_EQ(ReadBytes(file), FormatSavedData(app.buffer.AllLines(), 135, 61));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(tmp.Entries(), 1);  // no temporary file left behind
}

TEST_F(SavePrint, EmptyBufferMessages) {
  EXPECT_EQ(SaveData(app), SaveResult::NoData);
  EXPECT_FALSE(PrepareSaveAs(app));
  EXPECT_FALSE(SaveDataAs(app, tmp / "X.DOC"));
  EXPECT_EQ(PreparePrintData(app), PrintPrepared::Nothing);
  EXPECT_EQ(PreparePrintPage(app), PrintPrepared::Nothing);  // empty view: says nothing
  std::string seen;
  for (const auto& m : ui.Messages())
    seen += m.text + (m.title == "Information" && m.icon == MessageIcon::Exclamation ? "|" : "?");
  EXPECT_EQ(seen, "No data to write to file.|No data to write to file.|"
                  "No data to write to file.|No data to print.|");
  EXPECT_EQ(tmp.Entries(), 0);
}

// 2 empty lines + 118 lines + the spare entry = 121 lines on pages of 60; text
// edited in the print window (plain LF line ends) is printed and kept as edited.
TEST_F(SavePrint, PrintPageCountsTheTwoLeadingEmptyLines) {
  Fill(118);
  ASSERT_EQ(PreparePrintPage(app), PrintPrepared::Ready);
  const auto loaded = LoadPrintFile(app);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->text.substr(0, 12), "\r\n\r\nline 0\r\n");
  const auto job = PreparePrintJob(app, loaded->text, loaded->sizeClass);
  ASSERT_TRUE(job && job->pages.size() == 3u);
  EXPECT_EQ(job->pointSize, 12);
  EXPECT_EQ(job->pages[0].size(), 60u);
  EXPECT_EQ(job->pages[1][0], "line 58");
  EXPECT_EQ(job->pages[2], std::vector<std::string>{""});
  const std::string rule(90, '-');
  const auto edited = PreparePrintJob(app, "\n\nline 0\n" + rule, 1);
  ASSERT_TRUE(edited);
  EXPECT_EQ(edited->pointSize, 10);
  EXPECT_EQ(edited->pages, (std::vector<std::vector<std::string>>{{"", "", "line 0", rule}}));
  EXPECT_EQ(ReadBytes(app.File(kPrintFileName)), "\r\n\r\nline 0\r\n" + rule + "\r\n");
}

TEST(PrintPages, CounterComparedWithOption8) {
  const std::vector<std::string> lines(120, "x");
  const std::pair<float, std::vector<size_t>> cases[] = {
      {60, {60, 60}},  // a full last page adds no empty page
      {50, {50, 50, 20}},
      {0, {120}},
      {60.5f, {120}}};  // never reached: one long page
  for (const auto& [option8, sizes] : cases) {
    std::vector<size_t> got;
    for (const auto& page : PaginatePrintLines(lines, option8)) got.push_back(page.size());
    EXPECT_EQ(got, sizes) << option8;
  }
}

TEST(PrintSize, LongestLineDecides) {
  RunOptions options;
  options[9] = 80, options[10] = 100;
  const std::string s10(10, 'a'), s80(80, 'a'), s90(90, 'a'), s100(100, 'a'), s120(120, 'a');
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{s120, s90, s10}, 8}, {{s90, s120}, 8},
      {{s10, s90, s10}, 10}, {{s100}, 10},  // exactly option 10 is not longer
      {{s80, s10}, 12},      {{}, 12}};
  for (const auto& [lines, points] : cases)
    EXPECT_EQ(PrintPointSize(PrintSizeClass(lines, options)), points) << lines.size();
}

// A missing folder, a folder in the way, a read-only folder (not for the
// superuser, whom permissions do not stop): a warning naming the file, and no
// file; a Save to a missing folder and a print file with no folder fail.
TEST_F(SavePrint, FailedWriteShowsMessageAndLeavesNoFile) {
  Fill(10);
  fs::create_directories(tmp / "blocked");
  fs::create_directories(tmp / "readonly");
  fs::permissions(tmp / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
  for (const fs::path& target :
       {tmp / "missing" / "A.DOC", tmp / "blocked", tmp / "readonly" / "A.DOC"}) {
    if (::geteuid() == 0 && target.parent_path().filename() == "readonly") continue;
    ui.events.clear();
    EXPECT_FALSE(SaveDataAs(app, target));
    EXPECT_TRUE(app.currentDataFile.empty());
    ASSERT_EQ(ui.Messages().size(), 1u);
    const auto m = ui.Messages()[0];
    EXPECT_TRUE(m.icon == MessageIcon::Critical && m.title == "Warning!") << m.title;
    EXPECT_NE(m.text.find(target.string()), std::string::npos) << m.text;
  }
  EXPECT_TRUE(fs::is_empty(tmp / "blocked") && fs::is_empty(tmp / "readonly"));
  EXPECT_EQ(tmp.Entries(), 2);  // the folders only
  app.currentDataFile = (tmp / "missing" / "B.DOC").string();
  EXPECT_EQ(SaveData(app), SaveResult::Failed);
  RunState gone{ui, tmp / "gone"};
  RunContext lost = gone.Context(ui);
  lost.buffer.AppendLine("x");
  EXPECT_EQ(PreparePrintData(lost), PrintPrepared::Failed);
}

}  // namespace
}  // namespace novastra
