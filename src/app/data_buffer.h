#pragma once
// The Data Window's text: the full list (everything since the last clear, what
// Save and Print data write) and the view list (what is shown now).
#include <cstdint>
#include <string>
#include <vector>

namespace novastra {

class UserInterface;

inline constexpr int16_t kBufferCapacity = 32767;

// Shown at every display once the full list holds more than 1000 lines.
inline constexpr const char* kNearlyFullMessage =
    "The data buffer is nearly full. Please consider clearing the data buffer by clicking on "
    "the 'Clear all data' menu item.";

class DataBuffer {
 public:
  explicit DataBuffer(UserInterface& ui) : ui_(ui) {}

  void ClearView();                          // new view: ViewCount 0
  void AppendLine(const std::string& line);  // appends the line to both lists
  void AppendBlankLine();
  void ShowDataBuffer();  // puts the view into the Data Window

  void ClearAll();        // AllCount 0, list re-created (run buttons, "Clear all data")
  void ResetAllCount();   // AllCount 0 only (Input menu)
  void ResetViewCount();  // ViewCount 0 (start of a run)

  int16_t AllCount() const { return allCount_; }
  int16_t ViewCount() const { return viewCount_; }
  // The text lines of the view's entries so far (an entry may hold several).
  int ViewTextLines() const;
  // Lines 0..count-1 plus the empty spare entry at index count.
  const std::vector<std::string>& AllLines() const { return allLines_; }
  const std::vector<std::string>& ViewLines() const { return viewLines_; }
  // Lines dropped because the full list was at capacity, not yet reported.
  int DroppedLines() const { return dropped_; }
  // One message for every line dropped since the last report (shown by
  // ShowDataBuffer; the writers that do not display call it themselves).
  void ReportDroppedLines();

  // Both lists and their counts, kept aside by a run that may be cancelled.
  struct Contents {
    std::vector<std::string> allLines, viewLines;
    int16_t allCount = 0, viewCount = 0;
  };
  Contents Save() const { return {allLines_, viewLines_, allCount_, viewCount_}; }
  void Restore(Contents c);

 private:
  UserInterface& ui_;
  std::vector<std::string> allLines_ = std::vector<std::string>(2);
  std::vector<std::string> viewLines_ = std::vector<std::string>(2);
  int16_t allCount_ = 0;
  int16_t viewCount_ = 0;
  int dropped_ = 0;
};

}  // namespace novastra
