#include <gtest/gtest.h>

#include "app/data_buffer.h"
#include "app/ui.h"

namespace novastra {
namespace {

const char* const kNearlyFull =
    "The data buffer is nearly full. Please consider clearing the data buffer by clicking on "
    "the 'Clear all data' menu item.";

int DataWindowShows(const HeadlessUi& ui) {
  int n = 0;
  for (const auto& e : ui.events) n += e.kind == HeadlessUi::Event::DataWindow;
  return n;
}

// A display adds one blank line (counted) and the window shows two after the
// lines; nothing is shown without lines in the full list or when minimised.
TEST(DataBuffer, DisplayAddsABlankLineAndShowsOnlyWhenThereIsSomething) {
  HeadlessUi ui;
  DataBuffer b(ui);
  b.ShowDataBuffer();  // AllCount 0
  b.AppendLine("kept in the view");
  b.ClearAll();  // "Clear all data" keeps the view
  b.ShowDataBuffer();
  ui.minimized = true;
  b.AppendLine("new");
  b.ShowDataBuffer();
  EXPECT_EQ(DataWindowShows(ui), 0);
  EXPECT_EQ(b.ViewCount(), 2);  // no blank line added either
  ui.minimized = false;
  b.ShowDataBuffer();
  EXPECT_EQ(ui.LastDataText(), "kept in the view\r\nnew\r\n\r\n\r\n");
  EXPECT_EQ(ui.events.back().title, "NOVASTRA - Data");
  EXPECT_EQ(b.AllCount(), 2);  // "new" and the blank line; one spare entry follows
  EXPECT_EQ(b.ViewCount(), 3);
  ASSERT_GE(b.AllLines().size(), 3u);
  EXPECT_EQ(b.AllLines()[2], "");
  EXPECT_TRUE(ui.Messages().empty());
  // Saved contents come back unchanged.
  const DataBuffer::Contents kept = b.Save();
  b.ClearAll();
  b.ClearView();
  b.AppendLine("c");
  b.Restore(kept);
  EXPECT_EQ(b.AllCount(), 2);
  EXPECT_EQ(b.ViewCount(), 3);
  EXPECT_EQ(b.AllLines()[0], "new");
  EXPECT_EQ(b.ViewLines()[3], "");
}

TEST(DataBuffer, WarnsAtEveryDisplayAbove1000Lines) {
  HeadlessUi ui;
  DataBuffer b(ui);
  for (int i = 0; i < 999; ++i) b.AppendLine("line");
  b.ShowDataBuffer();  // 1000 lines with the blank one: no warning yet
  EXPECT_EQ(ui.CountMessages(kNearlyFull), 0);
  b.ShowDataBuffer();  // 1001
  EXPECT_EQ(ui.CountMessages(kNearlyFull), 1);
  EXPECT_EQ(ui.events.back().kind, HeadlessUi::Event::DataWindow);  // shown after the warning
  EXPECT_EQ(ui.Messages().back().title, "Warning!");
  EXPECT_EQ(ui.Messages().back().icon, MessageIcon::Information);
}

TEST(DataBuffer, AFullBufferDropsLinesWithOneMessagePerDisplay) {
  HeadlessUi ui;
  DataBuffer b(ui);
  for (int i = 0; i < kBufferCapacity; ++i) {
    if (i % 1000 == 0) b.ClearView();  // pages, as the runs write them
    b.AppendLine("line " + std::to_string(i));
  }
  ASSERT_EQ(b.AllCount(), 32767);
  EXPECT_TRUE(ui.Messages().empty());
  const std::string full =
      "Buffer cannot hold any more data. Please print and/or clear data buffer before displaying "
      "any more data.";
  // A 35-line page, then its display: the lines are dropped, and one box
  // counts them (the blank line of the display is the 36th).
  b.ClearView();
  for (int i = 0; i < 35; ++i) b.AppendLine("page line");
  EXPECT_TRUE(ui.Messages().empty());
  b.ShowDataBuffer();
  ASSERT_EQ(ui.Messages().size(), 1u);  // this one alone, not the nearly-full warning too
  EXPECT_EQ(ui.Messages()[0].text, full + "\r\n\r\n36 lines were not added.");
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Critical);
  EXPECT_EQ(ui.Messages()[0].title, "Warning!");
  EXPECT_EQ(b.DroppedLines(), 0);
  // One more line, reported on its own by a writer that does not display.
  b.AppendLine("one more");
  b.ReportDroppedLines();
  b.ReportDroppedLines();  // nothing new: no box
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[1].text, full + "\r\n\r\n1 line was not added.");
  EXPECT_EQ(b.AllCount(), 32767);
  EXPECT_EQ(b.ViewCount(), 0);
  EXPECT_EQ(b.AllLines()[32766], "line 32766");
}

}  // namespace
}  // namespace novastra
