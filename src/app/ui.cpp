#include "app/ui.h"

#include "app/calendar_export.h"

namespace novastra {

void HeadlessUi::ShowMessage(MessageIcon icon, std::string_view title, std::string_view text) {
  Event e{Event::Message};
  e.icon = icon;
  e.title = title;
  e.text = text;
  events.push_back(e);
  if (onMessage) onMessage(e);
}

void HeadlessUi::SetBusy(bool busy) {
  Event e{Event::Busy};
  e.busy = busy;
  events.push_back(e);
}

void HeadlessUi::OpenProgress() { events.push_back(Event{Event::ProgressOpen}); }

void HeadlessUi::UpdateProgress(int done, int total) {
  if (cancelAtProgress >= 0 && done >= cancelAtProgress) cancelled = true;
  Event e{Event::Progress};
  e.done = done;
  e.total = total;
  events.push_back(e);
}

void HeadlessUi::CloseProgress() { events.push_back(Event{Event::ProgressClose}); }

void HeadlessUi::ShowDataWindow(std::string_view caption) {
  Event e{Event::DataWindow};
  e.title = caption;
  e.text = dataText_;
  events.push_back(e);
}

bool HeadlessUi::AskCalendarChoices(const CalendarExportQuestion& question,
                                    CalendarFilter& choices) {
  Event e{Event::CalendarChoices};
  e.text = question.zoneName;
  e.done = question.eventCount;
  e.total = question.voidCount;
  events.push_back(e);
  if (!calendarChoices) return false;
  calendarChoices(choices);
  return true;
}

bool HeadlessUi::AskCalendarFileName(const CalendarSaveQuestion& question,
                                     std::filesystem::path& file) {
  Event e{Event::CalendarFile};
  e.title = question.folder.string();
  e.text = question.fileName;
  events.push_back(e);
  file = calendarFile;
  return !file.empty();
}

std::vector<HeadlessUi::Event> HeadlessUi::Messages() const {
  std::vector<Event> out;
  for (const auto& e : events)
    if (e.kind == Event::Message) out.push_back(e);
  return out;
}

int HeadlessUi::CountMessages(std::string_view text) const {
  int n = 0;
  for (const auto& e : events)
    if (e.kind == Event::Message && e.text == text) ++n;
  return n;
}

std::string HeadlessUi::LastDataText() const {
  for (auto it = events.rbegin(); it != events.rend(); ++it)
    if (it->kind == Event::DataWindow) return it->text;
  return {};
}

}  // namespace novastra
