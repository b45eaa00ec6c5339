#include "text/ical_export.h"

#include <date/date.h>
#include <fmt/format.h>
#include <libical/ical.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "astro/angles.h"
#include "reports/zone_transitions.h"
#include "text/date_input.h"
#include "text/eclipse_text.h"
#include "text/export_formats.h"
#include "text/glyphs.h"

namespace novastra {

namespace {

constexpr double kUnixEpochJD = 2440587.5;  // 1970-01-01 0h UT
constexpr int kMoonBody = 2;

constexpr const char* kKindWords[kCalendarKinds] = {"aspects",  "parallels", "ingresses",
                                                    "stations", "lunations", "void"};
constexpr const char* kBodyWords[] = {"",        "sun",    "moon",   "mercury", "venus", "mars",
                                      "jupiter", "saturn", "uranus", "neptune", "pluto", "node"};

// ---- instants ----

long long SecondsOf(double jd) { return std::llround((jd - kUnixEpochJD) * 86400.0); }

// The instant rounded to the whole minute, half up, as the lists show times.
long long MinuteOf(double jd) {
  const long long s = SecondsOf(jd) + 30;
  return s >= 0 ? s / 60 : -((-s + 59) / 60);
}

icaltimetype UtcTime(long long unixSeconds) {
  return icaltime_from_timet_with_zone(static_cast<time_t>(unixSeconds), 0,
                                       icaltimezone_get_utc_timezone());
}

// A floating (zone-less) date and time from seconds counted like Unix time.
icaltimetype FloatingTime(long long seconds) {
  using namespace std::chrono;
  const sys_seconds t{std::chrono::seconds{seconds}};
  const auto day = floor<date::days>(t);
  const date::year_month_day ymd{day};
  const date::hh_mm_ss<std::chrono::seconds> tod{t - day};
  icaltimetype it = icaltime_null_time();
  it.year = static_cast<int>(ymd.year());
  it.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  it.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  it.hour = static_cast<int>(tod.hours().count());
  it.minute = static_cast<int>(tod.minutes().count());
  it.second = static_cast<int>(tod.seconds().count());
  return it;
}

int YearOf(double jd) {
  const icaltimetype t = FloatingTime(SecondsOf(jd));
  return t.year;
}

// ---- words and symbols ----

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

// The symbols of the program's glyph codes, as Unicode text.
std::string Symbols(std::string_view codes) {
  std::string s;
  for (char c : codes)
    if (const Glyph* g = FindGlyph(static_cast<unsigned char>(c))) s += Utf8(g->unicode);
  return s;
}
std::string Symbols(std::initializer_list<char> codes) {
  return Symbols(std::string_view(codes.begin(), codes.size()));
}

const char* DirectionWord(Direction d) {
  return d == Direction::Retrograde ? "retrograde" : "direct";
}

// Mean longitude of the Sun, degrees (Meeus, Astronomical Algorithms, eq. 25.2).
const char* PhaseWords(const Event& e) {
  switch (PhaseOf(e)) {
    case LunarPhase::NewMoon: return "New Moon";
    case LunarPhase::FirstQuarter: return "First Quarter";
    case LunarPhase::FullMoon: return "Full Moon";
    case LunarPhase::LastQuarter: return "Last Quarter";
  }
  return "";
}

// "14°37' Capricorn", to the nearest minute of arc.
std::string PositionWords(double longitude) {
  const long long m = std::llround(NormalizeDegrees(longitude) * 60) % (360LL * 60);
  const int sign = static_cast<int>(m / 1800) + 1;
  const int deg = static_cast<int>(m % 1800 / 60), min = static_cast<int>(m % 60);
  return std::to_string(deg) + "\u00B0" + (min < 10 ? "0" : "") + std::to_string(min) + "' " +
         SignName(sign);
}

std::string EventSymbols(const Event& e, Coordinates coords) {
  const char body = BodyCode(e.body, coords);
  switch (e.kind) {
    case EventKind::Ingress: return Symbols({body, SignCode(e.sign)});
    case EventKind::Station: return Symbols({body, StationCode(e.direction)});
    case EventKind::Aspect:
    case EventKind::Lunation:
      return Symbols({body, AspectCode(e.aspect), BodyCode(e.other, coords)});
    case EventKind::Parallel:
    case EventKind::Contraparallel:
      return Symbols(
          {body,
           static_cast<char>(e.kind == EventKind::Parallel ? kGlyphParallel : kGlyphContraparallel),
           BodyCode(e.other, coords)});
  }
  return {};
}

const char* Category(EventKind kind) {
  switch (kind) {
    case EventKind::Aspect: return "Aspect";
    case EventKind::Parallel:
    case EventKind::Contraparallel: return "Parallel";
    case EventKind::Ingress: return "Ingress";
    case EventKind::Station: return "Station";
    case EventKind::Lunation: return "Lunation";
  }
  return "";
}

// FNV-1a, 64 bits: a short stable digest of an event's key.
std::string Digest(const std::string& key) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : key) {
    h ^= c;
    h *= 1099511628211ull;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, h >>= 4) s[static_cast<size_t>(i)] = kHex[h & 15];
  return s + "@novastra";
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The comma list's items, blanks around each removed; nullopt when one is empty.
std::optional<std::vector<std::string>> Items(const std::string& list) {
  std::vector<std::string> out;
  size_t from = 0;
  while (true) {
    const size_t comma = list.find(',', from);
    std::string item =
        list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    const size_t a = item.find_first_not_of(" \t"), b = item.find_last_not_of(" \t");
    if (a == std::string::npos) return std::nullopt;
    out.push_back(Lower(item.substr(a, b - a + 1)));
    if (comma == std::string::npos) return out;
    from = comma + 1;
  }
}

std::string WordList(const char* const* words, int from, int to) {
  std::string s;
  for (int i = from; i <= to; ++i)
    s += std::string(i == from ? "" : i == to ? " or " : ", ") + words[i];
  return s;
}

// ---- libical ----

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The component as text: CRLF line ends, lines folded at 75 octets.
std::string Text(icalcomponent* c) {
  char* s = icalcomponent_as_ical_string_r(c);
  std::string out = s ? s : "";
  std::free(s);
  return out;
}

void AddTime(icalcomponent* event, icalproperty* (*make)(icaltimetype), double jd,
             const IcalOptions& o) {
  const long long minute = MinuteOf(jd);
  if (o.zone.IsUniversal()) {
    icalcomponent_add_property(event, make(UtcTime(minute * 60)));
    return;
  }
  const LocalClock clock = o.zone.At(jd);
  if (clock.repeated) {
    // A local time that a change back from daylight-saving time repeats: a
    // TZID time there is ambiguous (RFC 5545 takes the first occurrence, some
    // readers the second), so both occurrences are given in UTC.
    icalcomponent_add_property(event, make(UtcTime(minute * 60)));
    return;
  }
  // The wall clock of the UT minute to the nearest minute. A local mean time
  // offset has seconds (New York -4:56:02 before 1883); calendar readers
  // (libical, Python's icalendar) drop them, and with the clock rounded they
  // read back the very minute.
  const double minuteJD = kUnixEpochJD + static_cast<double>(minute) / 1440.0;
  const std::vector<ZoneObservance> now = ZoneObservances(o.zone, minuteJD, minuteJD);
  const long long offset = now.empty() ? clock.offsetMinutes * 60LL : now.front().offsetSeconds;
  const long long local = minute * 60 + offset + 30;
  icalproperty* p = make(FloatingTime((local >= 0 ? local / 60 : -((-local + 59) / 60)) * 60));
  icalproperty_add_parameter(p, icalparameter_new_tzid(o.zone.Name().c_str()));
  icalcomponent_add_property(event, p);
}

Component NewEvent(const std::string& uid, const std::string& summary, const std::string& category,
                   const IcalOptions& o) {
  Component e{icalcomponent_new_vevent()};
  icalcomponent_add_property(e.get(), icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(e.get(), icalproperty_new_dtstamp(UtcTime(SecondsOf(o.stampJD))));
  icalcomponent_add_property(e.get(), icalproperty_new_summary(summary.c_str()));
  icalcomponent_add_property(e.get(), icalproperty_new_categories(category.c_str()));
  // An instant in the sky, not an appointment: the time stays free.
  icalcomponent_add_property(e.get(), icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
  return e;
}

std::string WithSymbols(const std::string& words, const std::string& symbols,
                        const IcalOptions& o) {
  return o.symbols && !symbols.empty() ? words + " " + symbols : words;
}

void AddObservance(icalcomponent* vtimezone, const ZoneObservance& z) {
  icalcomponent* c = z.daylight ? icalcomponent_new_xdaylight() : icalcomponent_new_xstandard();
  // The onset in the local time before the change.
  icalcomponent_add_property(
      c, icalproperty_new_dtstart(FloatingTime(SecondsOf(z.startJD) + z.offsetBeforeSeconds)));
  icalcomponent_add_property(c, icalproperty_new_tzoffsetfrom(z.offsetBeforeSeconds));
  icalcomponent_add_property(c, icalproperty_new_tzoffsetto(z.offsetSeconds));
  if (!z.abbreviation.empty())
    icalcomponent_add_property(c, icalproperty_new_tzname(z.abbreviation.c_str()));
  icalcomponent_add_component(vtimezone, c);
}

}  // namespace

const char* CalendarKindWord(CalendarKind kind) { return kKindWords[static_cast<int>(kind)]; }
const char* CalendarBodyWord(int body) { return body >= 1 && body <= 11 ? kBodyWords[body] : ""; }

bool CalendarFilter::Keeps(const Event& e) const {
  CalendarKind kind = CalendarKind::Aspects;
  bool pair = true;
  switch (e.kind) {
    case EventKind::Aspect: kind = CalendarKind::Aspects; break;
    case EventKind::Parallel:
    case EventKind::Contraparallel: kind = CalendarKind::Parallels; break;
    case EventKind::Lunation: kind = CalendarKind::Lunations; break;
    case EventKind::Ingress:
      kind = CalendarKind::Ingresses;
      pair = false;
      break;
    case EventKind::Station:
      kind = CalendarKind::Stations;
      pair = false;
      break;
  }
  return Has(kind) && Chosen(e.body) && (!pair || Chosen(e.other));
}

bool CalendarFilter::Chosen(int body) const {
  if (IsMinorEventBody(body)) return minor[static_cast<size_t>(body - kFirstMinorEventBody)];
  return body >= 1 && body <= 11 && bodies[static_cast<size_t>(body)];
}

bool CalendarFilter::Keeps(const VoidOfCourse&) const {
  return Has(CalendarKind::Void) && bodies[kMoonBody];
}

bool CalendarFilter::Keeps(const Station& s) const {
  return Has(CalendarKind::Stations) && Chosen(s.body);
}

namespace {

// Sets chosen[i] for every word of the comma list that is words[i], from <=
// i <= to, or for all of them at "all"; `noun` names a word not found.
template <size_t N>
bool ParseWordList(const std::string& list, const char* const* words, size_t from, size_t to,
                   const char* noun, std::array<bool, N>& chosen, std::string& why) {
  const auto items = Items(list);
  const std::string expected = "expected a comma list of " +
                               WordList(words, static_cast<int>(from), static_cast<int>(to)) +
                               ", or all";
  if (!items) {
    why = "an empty item in \"" + list + "\" (" + expected + ")";
    return false;
  }
  std::array<bool, N> found{};
  for (const std::string& item : *items) {
    bool known = false;
    for (size_t i = from; i <= to; ++i)
      if (item == "all" || item == words[i]) found[i] = known = true;
    if (!known) {
      why.assign("unknown ").append(noun).append(" \"").append(item).append("\" (");
      why.append(expected).append(")");
      return false;
    }
  }
  chosen = found;
  return true;
}

}  // namespace

bool ParseCalendarKinds(const std::string& list, CalendarFilter& filter, std::string& why) {
  return ParseWordList(list, kKindWords, 0, kCalendarKinds - 1, "kind", filter.kinds, why);
}

bool ParseCalendarBodies(const std::string& list, CalendarFilter& filter, std::string& why) {
  return ParseWordList(list, kBodyWords, 1, 11, "body", filter.bodies, why);
}

bool ParseEventBodies(const std::string& list, EventBodies& bodies, std::string& why) {
  const auto items = Items(list);
  if (!items) return ParseCalendarBodies(list, bodies.filter, why);  // its empty-item message
  std::string planets;
  for (const std::string& item : *items) {
    std::string ignored;
    MinorChoice one{};
    if (item != "all" && ParseMinorBodies(item, one, ignored)) {
      for (size_t k = 0; k < one.size(); ++k) bodies.minor[k] = bodies.minor[k] || one[k];
      continue;
    }
    if (item == "all") bodies.minor.fill(true);
    planets += (planets.empty() ? "" : ",") + item;
  }
  if (planets.empty()) return true;
  if (!ParseCalendarBodies(planets, bodies.filter, why)) {
    std::string minorWords;
    for (const MinorBody b : kMinorBodies) {
      std::string word = MinorBodyKey(b);
      std::replace(word.begin(), word.end(), '_', '-');
      minorWords += (minorWords.empty() ? "" : ", ") + word;
    }
    why += "; or the minor bodies " + minorWords;
    return false;
  }
  bodies.planetsNamed = planets != "all";
  return true;
}

bool ParseAspectList(const std::string& list, std::uint16_t& aspects, std::string& why) {
  constexpr std::uint16_t kMinor = kAllAspects & ~kMajorAspects;
  std::string names = "major, minor, all";
  for (int t = 1; t <= kAspectTypes; ++t) names += std::string(", ") + AspectName(t);
  const auto items = Items(list);
  if (!items) {
    why = "an empty item in \"" + list + "\" (expected a comma list of " + names + ")";
    return false;
  }
  std::uint16_t chosen = 0;
  for (const std::string& item : *items) {
    std::uint16_t bits = item == "major" ? kMajorAspects
                         : item == "minor" ? kMinor
                         : item == "all"   ? kAllAspects
                                           : 0;
    for (int t = 1; t <= kAspectTypes && bits == 0; ++t)
      if (item == AspectName(t)) bits = static_cast<std::uint16_t>(1u << t);
    if (bits == 0) {
      why.assign("unknown aspect \"").append(item).append("\" (expected a comma list of ");
      why.append(names).append(")");
      return false;
    }
    chosen |= bits;
  }
  aspects = chosen;
  return true;
}

std::string AspectListWords(std::uint16_t aspects) {
  if (aspects == kMajorAspects) return "major";
  if (aspects == kAllAspects) return "all";
  std::string s;
  for (int t = 1; t <= kAspectTypes; ++t)
    if (aspects & (1u << t)) s += (s.empty() ? "" : ",") + std::string(AspectName(t));
  return s;
}

std::string EventSummaryWords(const Event& e, Coordinates coords) {
  std::string body = BodyName(e.body, coords);
  switch (e.kind) {
    case EventKind::Ingress: return body + " enters " + SignName(e.sign);
    case EventKind::Station: return body + " stations " + DirectionWord(e.direction);
    case EventKind::Aspect:
      return body + " " + AspectName(e.aspect) + " " + BodyName(e.other, coords);
    case EventKind::Lunation: {
      std::string s = body + " " + AspectName(e.aspect) + " " + BodyName(e.other, coords) + " - " +
                      PhaseWords(e);
      if (e.eclipse == Eclipse::Solar) s += " - solar eclipse";
      if (e.eclipse == Eclipse::Lunar) s += " - lunar eclipse";
      return s;
    }
    case EventKind::Parallel: return body + " parallel " + BodyName(e.other, coords);
    case EventKind::Contraparallel: return body + " contraparallel " + BodyName(e.other, coords);
  }
  return body;
}

std::string EventUid(const Event& e, Coordinates coords) {
  std::string key = std::string(EventKindName(e.kind)) + "|" + BodyName(e.body, coords) + "|";
  switch (e.kind) {
    case EventKind::Aspect:
    case EventKind::Lunation:
      key += std::string(BodyName(e.other, coords)) + "|" + AspectName(e.aspect);
      break;
    case EventKind::Parallel:
    case EventKind::Contraparallel: key += BodyName(e.other, coords); break;
    case EventKind::Ingress: key += SignName(e.sign); break;
    case EventKind::Station: key += DirectionWord(e.direction); break;
  }
  return Digest(key + "|" + std::to_string(MinuteOf(e.jd)));
}

std::string IcalBegin(const IcalOptions& o, double fromJD, double toJD) {
  Component cal{icalcomponent_new_vcalendar()};
  icalcomponent_add_property(cal.get(),
                             icalproperty_new_prodid("-//NOVASTRA//NOVASTRA aspectarian//EN"));
  icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(cal.get(), icalproperty_new_calscale("GREGORIAN"));
  icalcomponent_add_property(cal.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
  icalproperty* name = icalproperty_new_x(o.name.c_str());
  icalproperty_set_x_name(name, "X-WR-CALNAME");
  icalcomponent_add_property(cal.get(), name);
  if (!o.zone.IsUniversal()) {
    icalproperty* tz = icalproperty_new_x(o.zone.Name().c_str());
    icalproperty_set_x_name(tz, "X-WR-TIMEZONE");
    icalcomponent_add_property(cal.get(), tz);
    // Whole years, so a calendar program finds every offset of the run's span.
    const double first =
        date::sys_days{date::year{YearOf(fromJD)} / 1 / 1}.time_since_epoch().count() +
        kUnixEpochJD;
    const double last =
        date::sys_days{date::year{YearOf(toJD) + 1} / 1 / 1}.time_since_epoch().count() +
        kUnixEpochJD;
    icalcomponent* vtz = icalcomponent_new_vtimezone();
    icalcomponent_add_property(vtz, icalproperty_new_tzid(o.zone.Name().c_str()));
    for (const ZoneObservance& z : ZoneObservances(o.zone, first, last)) AddObservance(vtz, z);
    icalcomponent_add_component(cal.get(), vtz);
  }
  std::string text = Text(cal.get());
  // The events follow: the text up to END:VCALENDAR, which IcalEnd gives.
  const size_t end = text.rfind("END:VCALENDAR");
  if (end != std::string::npos) text.resize(end);
  return text;
}

std::string IcalEnd() { return "END:VCALENDAR\r\n"; }

void AppendIcalEvent(std::string& out, const Event& e, const IcalOptions& o,
                     const CalendarFilter& filter, const EclipseEntry* eclipse) {
  if (!filter.Keeps(e)) return;
  Component v = NewEvent(EventUid(e, o.coords),
                         WithSymbols(EventSummaryWords(e, o.coords), EventSymbols(e, o.coords), o),
                         Category(e.kind), o);
  AddTime(v.get(), icalproperty_new_dtstart, e.jd, o);
  std::string description;
  if (e.kind == EventKind::Lunation) {
    description =
        std::string(PhaseWords(e)) + ", the Moon at " + PositionWords(e.moonLongitude) + ".";
    if (e.eclipse != Eclipse::None)
      description += std::string(" Eclipse warning: ") +
                     (e.eclipse == Eclipse::Solar ? "solar" : "lunar") +
                     " eclipse (the Moon is within the eclipse limit of its node).";
  }
  if (e.kind == EventKind::Station)
    description = e.refined ? EventSummaryWords(e, o.coords) + " at " +
                                  PositionWords(e.bodyLongitude) + "."
                            : "Time +/- up to 1 hour.";
  if (!description.empty())
    icalcomponent_add_property(v.get(), icalproperty_new_description(description.c_str()));
  out += Text(v.get());
  if (eclipse) AppendIcalEclipse(out, *eclipse, o);
}

void AppendIcalVoid(std::string& out, const VoidOfCourse& period, const IcalOptions& o,
                    const CalendarFilter& filter) {
  if (!filter.Keeps(period)) return;
  const std::string key = "void|Moon|" + std::to_string(MinuteOf(period.startJD)) + "|" +
                          std::to_string(MinuteOf(period.endJD));
  Component v = NewEvent(
      Digest(key), WithSymbols("Moon void of course", Symbols({BodyCode(kMoonBody, o.coords)}), o),
      "Void of course", o);
  AddTime(v.get(), icalproperty_new_dtstart, period.startJD, o);
  // Times are whole minutes: a period of under a minute still ends after it
  // starts (RFC 5545 wants DTEND later than DTSTART), one minute later.
  const double end = MinuteOf(period.endJD) > MinuteOf(period.startJD)
                         ? period.endJD
                         : kUnixEpochJD + static_cast<double>(MinuteOf(period.startJD) + 1) / 1440.0;
  AddTime(v.get(), icalproperty_new_dtend, end, o);
  const std::string description = "From the Moon's last aspect in " +
                                  std::string(SignName(period.signLeft)) + " (" +
                                  EventSummaryWords(period.lastAspect, o.coords) +
                                  ") until it enters " + SignName(period.signEntered) + ".";
  icalcomponent_add_property(v.get(), icalproperty_new_description(description.c_str()));
  out += Text(v.get());
}

void AppendIcalStation(std::string& out, const Station& s, const IcalOptions& o,
                       const CalendarFilter& filter) {
  if (!filter.Keeps(s)) return;
  Event e;
  e.kind = EventKind::Station;
  e.body = s.body;
  e.direction = s.direction;
  e.jd = s.jd;
  Component v = NewEvent(EventUid(e, Coordinates::Geocentric),
                         WithSymbols(EventSummaryWords(e, Coordinates::Geocentric),
                                     EventSymbols(e, Coordinates::Geocentric), o),
                         "Station", o);
  AddTime(v.get(), icalproperty_new_dtstart, s.jd, o);
  const std::string description =
      EventSummaryWords(e, Coordinates::Geocentric) + " at " + PositionWords(s.longitude) + ".";
  icalcomponent_add_property(v.get(), icalproperty_new_description(description.c_str()));
  out += Text(v.get());
}

void AppendIcalEclipse(std::string& out, const EclipseEntry& e, const IcalOptions& o) {
  const std::string title = EclipseTitle(e);
  Component v = NewEvent(Digest(std::string("eclipse|") + EclipseKindWord(e) + "|" +
                                std::to_string(MinuteOf(e.GreatestUT()))),
                         title, "Eclipse", o);
  AddTime(v.get(), icalproperty_new_dtstart, e.GreatestUT(), o);
  const LunarEclipse* lunar = e.Lunar();
  const SarosPlace saros = e.Saros();
  std::string description = "Greatest eclipse at " + IsoInstant(e.GreatestUT()) + ", gamma " +
                            fmt::format("{:.4f}", e.Gamma()) +
                            ", Saros " + std::to_string(saros.series) + " (" +
                            std::to_string(saros.member) + ").";
  if (lunar) {
    description += fmt::format(" Umbral magnitude {:.4f}, penumbral magnitude {:.4f}.",
                               lunar->umbralMagnitude, lunar->penumbralMagnitude);
    const LunarContacts& c = lunar->contacts;
    const std::pair<const char*, std::optional<double>> contacts[] = {
        {"P1", c.P1}, {"U1", c.U1}, {"U2", c.U2}, {"U3", c.U3}, {"U4", c.U4}, {"P4", c.P4}};
    for (const auto& [name, jd] : contacts)
      if (jd) description += std::string(" ") + name + " " + IsoInstant(*jd) + ".";
  }
  icalcomponent_add_property(v.get(), icalproperty_new_description(description.c_str()));
  out += Text(v.get());
}

void AppendIcalInstant(std::string& out, const std::string& key, double jd,
                       const std::string& words, const std::string& symbolCodes,
                       const std::string& category, const std::string& description,
                       const IcalOptions& o) {
  Component v = NewEvent(Digest(key + "|" + std::to_string(MinuteOf(jd))),
                         WithSymbols(words, Symbols(symbolCodes), o), category, o);
  AddTime(v.get(), icalproperty_new_dtstart, jd, o);
  if (!description.empty())
    icalcomponent_add_property(v.get(), icalproperty_new_description(description.c_str()));
  out += Text(v.get());
}

}  // namespace novastra
