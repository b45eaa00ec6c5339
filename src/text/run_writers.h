#pragma once
// The output formats of the range commands behind one interface. A command
// computes its typed results piece by piece and hands each piece to the
// writer of the chosen format, which returns the piece's text: the Data
// Window's text, CSV rows, JSON Lines or iCalendar events. A new kind of
// result is one more method here and in each writer; a new column is one line
// in the format's row code (export_formats.cpp, ical_export.cpp).
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "astro/choices.h"
#include "reports/aspectarian_report.h"
#include "reports/ephemeris_report.h"
#include "reports/stations.h"
#include "reports/time_zone.h"
#include "text/calendar_text.h"
#include "text/ephemeris_tables.h"
#include "text/ical_export.h"
#include "text/text_encoding.h"

namespace novastra {

class RunWriter {
 public:
  virtual ~RunWriter() = default;
  // The text before the first piece: a CSV header row, the JSON run line, the calendar's head.
  virtual std::string Begin() { return {}; }
  // One piece of the ephemeris: its days. Safe to call from several threads
  // at once (the pieces of a range are written out where they are computed).
  virtual std::string Days(const EphemerisReport& piece) = 0;
  // One piece of the aspectarian: its events and the Moon's void periods.
  virtual std::string Events(const AspectarianReport& piece) = 0;
  // The stations found in one piece.
  virtual std::string Stations(const std::vector<Station>& stations) = 0;
  // The text after the last piece of a complete run.
  virtual std::string End() { return {}; }
};

// ---- text: as the Data Window shows it ----

struct TextLayout {
  TextStyle style;      // the bytes of standard output or -o FILE
  bool carry = true;    // minutes and seconds that round to 60 move into the next unit
  Zodiac zodiac = Zodiac::Tropical;
  bool midnight = false;  // the header names midnight instead of noon
  // The ephemeris.
  ColumnSet columns = ColumnSet::Longitude;
  bool raHours = false;                 // the RightAscension table in hours (option 11)
  const TimeZone* localRows = nullptr;  // rows at this zone's midnight or noon (not UT)
  // The aspectarian and the stations.
  Coordinates coords = Coordinates::Geocentric;
  CalendarChoices calendar;  // zone, void periods, station directions
  bool twoColumns = false;   // the aspectarian in two columns (option 5 not 0)
};

// The header of a piece's table that starts on the day startJD (noon Julian Day).
HeaderInfo PieceHeader(const TextLayout& layout, double startJD);

std::unique_ptr<RunWriter> MakeTextWriter(const TextLayout& layout);

// ---- CSV and JSON Lines (export_formats.h) ----

enum class CsvRows { Days, Events };

// Times of events and stations also in `zone` when it is not UT. The zone
// must outlive the writer.
// The day rows end with the chosen minor bodies' columns.
std::unique_ptr<RunWriter> MakeCsvWriter(CsvRows rows, Coordinates coords, const TimeZone* zone,
                                         const MinorChoice& minor = {});

using JsonParameters = std::vector<std::pair<std::string, std::string>>;
// The run line names the command and its parameters; the end line counts the
// lines between.
std::unique_ptr<RunWriter> MakeJsonWriter(const std::string& version, const std::string& command,
                                          const JsonParameters& parameters, Coordinates coords,
                                          const TimeZone* zone);

// ---- iCalendar ----

// The calendar of the run's dates firstDayJD .. firstDayJD + dayCount - 1 in
// options.zone: events are kept when their date in the zone lies on them and
// the filter keeps them. The ephemeris has no calendar form.
std::unique_ptr<RunWriter> MakeIcalWriter(const IcalOptions& options, const CalendarFilter& filter,
                                          double firstDayJD, int dayCount);

}  // namespace novastra
