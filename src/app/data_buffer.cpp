#include "app/data_buffer.h"

#include <algorithm>
#include <new>

#include "app/ui.h"

namespace novastra {

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kDataCaption = "NOVASTRA - Data";
constexpr const char* kBufferFullText =
    "Buffer cannot hold any more data. Please print and/or clear data buffer before "
    "displaying any more data.";
constexpr const char* kTooMuchText =
    "You have generated too much data to fit in the Data Window. I will display what I can "
    "and truncate the rest.";
constexpr int16_t kNearlyFullLines = 1000;

}  // namespace

void DataBuffer::ClearView() {
  viewCount_ = 0;
  viewLines_.assign(2, std::string());
}

void DataBuffer::AppendLine(const std::string& line) {
  // Both lists grow together, so a line goes into both or into neither.
  bool stored = false;
  if (allCount_ < kBufferCapacity && viewCount_ < kBufferCapacity) {
    try {
      allLines_.resize(static_cast<size_t>(allCount_) + 2);
      viewLines_.resize(static_cast<size_t>(viewCount_) + 2);
      allLines_[allCount_] = line;
      viewLines_[viewCount_] = line;
      ++allCount_;
      ++viewCount_;
      // The view keeps exactly one empty spare entry after its last line.
      viewLines_.resize(static_cast<size_t>(viewCount_) + 1);
      viewLines_[viewCount_].clear();
      stored = true;
    } catch (const std::bad_alloc&) {
      stored = false;
    }
  }
  // A dropped line is counted; the user hears of them once, with their number.
  if (!stored) ++dropped_;
}

void DataBuffer::ReportDroppedLines() {
  if (dropped_ == 0) return;
  std::string text = kBufferFullText;
  text += kLineBreak;
  text += kLineBreak;
  text += std::to_string(dropped_) + (dropped_ == 1 ? " line was" : " lines were") + " not added.";
  dropped_ = 0;
  ui_.ShowMessage(MessageIcon::Critical, kWarningTitle, text);
}

void DataBuffer::Restore(Contents c) {
  allLines_ = std::move(c.allLines);
  viewLines_ = std::move(c.viewLines);
  allCount_ = c.allCount;
  viewCount_ = c.viewCount;
  dropped_ = 0;
}

void DataBuffer::AppendBlankLine() { AppendLine(std::string()); }

int DataBuffer::ViewTextLines() const {
  int lines = 0;
  for (int j = 0; j < viewCount_ && j < static_cast<int>(viewLines_.size()); ++j) {
    const std::string& entry = viewLines_[static_cast<size_t>(j)];
    lines += 1 + static_cast<int>(std::count(entry.begin(), entry.end(), '\n'));
  }
  return lines;
}

void DataBuffer::ShowDataBuffer() {
  if (ui_.DataWindowMinimized() || allCount_ == 0) {
    ReportDroppedLines();
    return;
  }
  AppendBlankLine();
  // A display that found the buffer full says so in one box; that box already
  // asks for the buffer to be cleared, so the nearly-full reminder stays away.
  const bool full = dropped_ > 0;
  ReportDroppedLines();

  std::string text;
  // Entries 0 through ViewCount: the lines and the empty spare entry.
  int k = 0;
  try {
    size_t size = 0;
    for (int j = 0; j <= viewCount_; ++j) size += viewLines_[j].size() + 2;
    text.reserve(size);
    for (; k <= viewCount_; ++k) {
      text += viewLines_[k];
      text += kLineBreak;
    }
  } catch (const std::bad_alloc&) {
    const int truncated = viewCount_ - k + 1;
    std::string message = kTooMuchText;
    message += kLineBreak;
    message += kLineBreak;
    message += "I have truncated  " + std::to_string(truncated) + " lines of text.";
    ui_.ShowMessage(MessageIcon::Exclamation, kWarningTitle, message);
  }

  // The text goes in first; the nearly-full warning comes before the window is
  // shown and gets its caption.
  ui_.SetDataText(text);
  if (allCount_ > kNearlyFullLines && !full)
    ui_.ShowMessage(MessageIcon::Information, kWarningTitle, kNearlyFullMessage);
  ui_.ShowDataWindow(kDataCaption);
}

void DataBuffer::ClearAll() {
  allCount_ = 0;
  allLines_.assign(2, std::string());
}

void DataBuffer::ResetAllCount() {
  // The old lines would be dropped by the next append anyway; dropping them now
  // keeps the empty spare entry at index AllCount for every reader.
  ClearAll();
}

void DataBuffer::ResetViewCount() { ClearView(); }

}  // namespace novastra
