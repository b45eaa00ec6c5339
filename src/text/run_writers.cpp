#include "text/run_writers.h"

#include <atomic>
#include <limits>

#include "astro/calendar.h"
#include "astro/engine.h"
#include "text/aspectarian_text.h"
#include "text/export_formats.h"
#include "text/stations_text.h"

namespace novastra {

namespace {

// The Data Window's text of a run as printed: every line, then the blank line
// the display adds and the empty spare entry.
std::string ViewText(const std::vector<std::string>& lines, const TextStyle& style) {
  std::string out;
  for (const std::string& line : lines) {
    out += EncodeText(line, style);
    out += '\n';
  }
  return out + "\n\n";
}

class TextWriter : public RunWriter {
 public:
  explicit TextWriter(const TextLayout& layout) : layout_(layout) {}

  std::string Days(const EphemerisReport& piece) override {
    const EphemerisDay& first = piece.days.front();
    HeaderInfo info = PieceHeader(layout_, first.rowJD);
    if (layout_.localRows) {  // the zone's name for "Greenwich", the first row's Julian Day
      info.displayJD = first.jd;
      info.place = layout_.localRows->Name();
    }
    std::vector<std::string> lines =
        EphemerisTableLines(layout_.columns, piece, info, layout_.raHours, true, layout_.carry);
    lines.emplace_back();  // the table's spare entry
    // The chosen minor bodies in a table of their own after the planets'.
    for (std::string& line : MinorTableLines(piece, info, layout_.carry))
      lines.push_back(std::move(line));
    return ViewText(lines, layout_.style);
  }

  std::string Events(const AspectarianReport& piece) override {
    const HeaderInfo info = PieceHeader(layout_, piece.startJD);
    const CalendarChoices& calendar = layout_.calendar;
    const std::vector<std::string> lines =
        calendar.Plain() ? AspectarianLines(piece, info, layout_.coords, layout_.carry)
                         : CalendarAspectarianLines(piece, info, layout_.coords, calendar,
                                                    piece.startJD, piece.dayCount);
    return ViewText(layout_.twoColumns ? TwoColumnLines(lines) : lines, layout_.style);
  }

  std::string Stations(const std::vector<Station>& stations) override {
    if (stations.empty()) return {};
    const std::string text = layout_.calendar.Plain()
                                 ? StationsListText(stations, layout_.carry)
                                 : CalendarStationsText(stations, layout_.calendar);
    std::string lines;  // line ends as the terminal's
    for (char c : text)
      if (c != '\r') lines += c;
    return EncodeText(lines, layout_.style);
  }

 private:
  TextLayout layout_;
};

// The void periods in time order among the events, by their start.
template <class OnVoid, class OnEvent>
void InTimeOrder(const AspectarianReport& piece, OnVoid onVoid, OnEvent onEvent) {
  size_t k = 0;
  auto voidsUntil = [&](double jd) {
    for (; k < piece.voids.size() && piece.voids[k].startJD <= jd; ++k) onVoid(piece.voids[k]);
  };
  for (const Event& e : piece.events) {
    voidsUntil(e.jd - 1e-9);
    onEvent(e);
  }
  voidsUntil(std::numeric_limits<double>::infinity());
}

class CsvWriter : public RunWriter {
 public:
  CsvWriter(CsvRows rows, Coordinates coords, const TimeZone* zone, const MinorChoice& minor)
      : rows_(rows), coords_(coords), zone_(zone), minor_(minor) {}

  std::string Begin() override {
    return rows_ == CsvRows::Days ? DayCsvHeader(true, minor_) : EventCsvHeader();
  }

  std::string Days(const EphemerisReport& piece) override {
    std::string out;
    AppendEphemerisCsv(out, piece);
    return out;
  }

  std::string Events(const AspectarianReport& piece) override {
    std::string out;
    InTimeOrder(
        piece, [&](const VoidOfCourse& v) { AppendVoidCsv(out, v, zone_); },
        [&](const Event& e) {
          AppendEventCsv(out, e, coords_, zone_, EclipseOfLunation(e, piece.eclipses));
        });
    return out;
  }

  std::string Stations(const std::vector<Station>& stations) override {
    std::string out;
    for (const Station& s : stations) AppendStationCsv(out, s, zone_);
    return out;
  }

 private:
  CsvRows rows_;
  Coordinates coords_;
  const TimeZone* zone_;
  MinorChoice minor_;
};

class JsonWriter : public RunWriter {
 public:
  JsonWriter(std::string runLine, Coordinates coords, const TimeZone* zone)
      : runLine_(std::move(runLine)), coords_(coords), zone_(zone) {}

  std::string Begin() override { return runLine_; }

  std::string Days(const EphemerisReport& piece) override {
    std::string out;
    for (const EphemerisDay& day : piece.days) AppendDayJson(out, day);
    count_ += static_cast<long long>(piece.days.size());
    return out;
  }

  std::string Events(const AspectarianReport& piece) override {
    std::string out;
    InTimeOrder(
        piece, [&](const VoidOfCourse& v) { AppendVoidJson(out, v, zone_); },
        [&](const Event& e) {
          AppendEventJson(out, e, coords_, zone_, EclipseOfLunation(e, piece.eclipses));
        });
    count_ +=
        static_cast<long long>(piece.voids.size()) + static_cast<long long>(piece.events.size());
    return out;
  }

  std::string Stations(const std::vector<Station>& stations) override {
    std::string out;
    for (const Station& s : stations) AppendStationJson(out, s, zone_);
    count_ += static_cast<long long>(stations.size());
    return out;
  }

  std::string End() override { return JsonEndLine(count_); }

 private:
  std::string runLine_;
  Coordinates coords_;
  const TimeZone* zone_;
  std::atomic<long long> count_ = 0;  // Days adds from several threads
};

class IcalWriter : public RunWriter {
 public:
  IcalWriter(const IcalOptions& options, const CalendarFilter& filter, double firstDayJD,
             int dayCount)
      : options_(options), filter_(filter), firstDayJD_(firstDayJD), dayCount_(dayCount) {}

  // The zone's offsets from the day before the first to a few days after the
  // last: a void period may end after the run's last day.
  std::string Begin() override {
    return IcalBegin(options_, firstDayJD_ - 1, firstDayJD_ + dayCount_ + 3);
  }

  std::string Days(const EphemerisReport&) override { return {}; }

  std::string Events(const AspectarianReport& piece) override {
    std::string out;
    for (const Event& e : piece.events)
      if (OnRunDates(e.jd) && filter_.Keeps(e))
        AppendIcalEvent(out, e, options_, filter_, EclipseOfLunation(e, piece.eclipses));
    for (const VoidOfCourse& v : piece.voids)
      if (OnRunDates(v.startJD) && filter_.Keeps(v)) AppendIcalVoid(out, v, options_, filter_);
    return out;
  }

  std::string Stations(const std::vector<Station>& stations) override {
    std::string out;
    for (const Station& s : stations)
      if (OnRunDates(s.jd) && filter_.Keeps(s)) AppendIcalStation(out, s, options_, filter_);
    return out;
  }

  std::string End() override { return IcalEnd(); }

 private:
  bool OnRunDates(double jd) const {
    const double day = options_.zone.At(jd).dayJD;
    return day >= firstDayJD_ && day < firstDayJD_ + dayCount_;
  }

  IcalOptions options_;
  CalendarFilter filter_;
  double firstDayJD_;
  int dayCount_;
};

}  // namespace

HeaderInfo PieceHeader(const TextLayout& layout, double startJD) {
  const bool midnight = layout.midnight;
  return HeaderInfo{ZodiacLabel(layout.zodiac), DateTextFromJulianDay(startJD),
                    midnight ? "midnight" : "noon", midnight ? startJD - 0.5 : startJD};
}

std::unique_ptr<RunWriter> MakeTextWriter(const TextLayout& layout) {
  return std::make_unique<TextWriter>(layout);
}

std::unique_ptr<RunWriter> MakeCsvWriter(CsvRows rows, Coordinates coords, const TimeZone* zone,
                                         const MinorChoice& minor) {
  return std::make_unique<CsvWriter>(rows, coords, zone, minor);
}

std::unique_ptr<RunWriter> MakeJsonWriter(const std::string& version, const std::string& command,
                                          const JsonParameters& parameters, Coordinates coords,
                                          const TimeZone* zone) {
  return std::make_unique<JsonWriter>(JsonRunLine(version, command, parameters), coords, zone);
}

std::unique_ptr<RunWriter> MakeIcalWriter(const IcalOptions& options, const CalendarFilter& filter,
                                          double firstDayJD, int dayCount) {
  return std::make_unique<IcalWriter>(options, filter, firstDayJD, dayCount);
}

}  // namespace novastra
