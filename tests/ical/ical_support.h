#pragma once
// Reading an iCalendar file back with libical: each VEVENT's UID, texts and
// times, a TZID time resolved through the file's own VTIMEZONE (never the
// library's built-in zones), so the file's zone definition is what is tested.
#include <libical/ical.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace novastra::ical_test {

struct ParsedEvent {
  std::string uid, summary, description, category;
  std::string startText;  // the DTSTART line as written (unfolded)
  long long start = 0;    // Unix seconds
  long long end = 0;
  bool hasEnd = false;
  bool zoned = false;  // DTSTART carries a TZID
};

struct Parsed {
  bool ok = false;
  std::string error;
  std::string text;
  std::vector<ParsedEvent> events;
};

inline std::string PropertyText(icalproperty* p) {
  char* s = icalproperty_as_ical_string_r(p);
  std::string t = s ? s : "";
  std::free(s);
  // Unfold and drop the line end.
  std::string out;
  for (size_t k = 0; k < t.size(); ++k) {
    if (t.compare(k, 3, "\r\n ") == 0) {
      k += 2;
      continue;
    }
    if (t[k] != '\r' && t[k] != '\n') out += t[k];
  }
  return out;
}

// Seconds of a DTSTART/DTEND property: UTC as it stands, a TZID time through
// the VTIMEZONE of that name in `zones`; `ok` false when it names no zone.
inline long long TimeOf(icalproperty* p, const std::map<std::string, icaltimezone*>& zones,
                        bool& ok, bool& zoned) {
  const icaltimetype t = icalvalue_get_datetime(icalproperty_get_value(p));
  icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
  zoned = tzid != nullptr;
  if (!tzid) {
    ok = ok && icaltime_is_utc(t);
    return static_cast<long long>(icaltime_as_timet_with_zone(t, icaltimezone_get_utc_timezone()));
  }
  const auto z = zones.find(icalparameter_get_tzid(tzid));
  if (z == zones.end()) {
    ok = false;
    return 0;
  }
  return static_cast<long long>(icaltime_as_timet_with_zone(t, z->second));
}

inline Parsed Parse(const std::string& text) {
  Parsed out;
  out.text = text;
  icalcomponent* cal = icalparser_parse_string(text.c_str());
  if (!cal || icalcomponent_isa(cal) != ICAL_VCALENDAR_COMPONENT) {
    out.error = "not a VCALENDAR";
    if (cal) icalcomponent_free(cal);
    return out;
  }
  out.ok = icalcomponent_count_errors(cal) == 0;
  if (!out.ok) out.error = "libical reports errors in the file";
  std::map<std::string, icaltimezone*> zones;
  for (icalcomponent* z = icalcomponent_get_first_component(cal, ICAL_VTIMEZONE_COMPONENT); z;
       z = icalcomponent_get_next_component(cal, ICAL_VTIMEZONE_COMPONENT)) {
    icaltimezone* zone = icaltimezone_new();
    icaltimezone_set_component(zone, icalcomponent_new_clone(z));
    zones[icaltimezone_get_tzid(zone)] = zone;
  }
  for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e;
       e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
    ParsedEvent ev;
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_UID_PROPERTY))
      ev.uid = icalproperty_get_uid(p);
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_SUMMARY_PROPERTY))
      ev.summary = icalproperty_get_summary(p);
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DESCRIPTION_PROPERTY))
      ev.description = icalproperty_get_description(p);
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_CATEGORIES_PROPERTY))
      ev.category = icalproperty_get_categories(p);
    out.ok = out.ok && icalcomponent_get_first_property(e, ICAL_DTSTAMP_PROPERTY) != nullptr &&
             !ev.uid.empty();
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY)) {
      ev.startText = PropertyText(p);
      ev.start = TimeOf(p, zones, out.ok, ev.zoned);
    } else {
      out.ok = false;
    }
    if (icalproperty* p = icalcomponent_get_first_property(e, ICAL_DTEND_PROPERTY)) {
      bool zoned = false;
      ev.hasEnd = true;
      ev.end = TimeOf(p, zones, out.ok, zoned);
    }
    out.events.push_back(ev);
  }
  if (!out.ok && out.error.empty())
    out.error = "an event lacks UID, DTSTAMP or DTSTART, or names an unknown zone";
  for (auto& [name, zone] : zones) icaltimezone_free(zone, 1);
  icalcomponent_free(cal);
  return out;
}

}  // namespace novastra::ical_test
