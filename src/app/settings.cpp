#include "app/settings.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <system_error>

#include "app/input_check.h"
#include "app/text_file.h"
#include "text/ical_export.h"
#include "astro/ayanamsas.h"

namespace novastra {

namespace {

constexpr const char* kSettingsFile = "NOVASTRA.INI";
constexpr const char* kHeaderLine = "[NOVASTRA] - Do NOT change the order of these variables.";
constexpr const char* kLineBreak = "\r\n";

// The Input window's own initial choices, used where the file says nothing.
void SetInputDefaults(RunParameters& params) {
  const RunParameters fresh;
  params.FullMonth = fresh.FullMonth;
  params.SaveData = fresh.SaveData;
  params.Instant = fresh.Instant;
  params.Coords = fresh.Coords;
  params.MoonNodes = fresh.MoonNodes;
  params.ZodiacMode = fresh.ZodiacMode;
  params.MoonSign = fresh.MoonSign;
  params.TimeZoneName = fresh.TimeZoneName;
  params.VoidOfCourse = fresh.VoidOfCourse;
  params.LocalRows = fresh.LocalRows;
  params.SkyChoice = fresh.SkyChoice;
  params.Aspects = fresh.Aspects;
  params.MinorBodies = fresh.MinorBodies;
  params.SiderealAyanamsa = fresh.SiderealAyanamsa;
}

// One line of the file: its text after the '=', and the number it starts with.
struct LineValue {
  const std::string& text;
  double x;
  bool yes() const { return text == "Yes"; }
  // A number too large for any setting is a read error, as in the 16-bit ones.
  bool fitsSingle() const {
    return std::isfinite(x) && std::fabs(x) <= std::numeric_limits<float>::max();
  }
};

// Reads one key's value into the settings or the run's choices; false when
// the reading must stop (a number that does not fit its setting).
using ApplyValue = bool (*)(const LineValue& v, Settings& s, RunParameters& params);

template <double Settings::*Field>
bool FiniteNumber(const LineValue& v, Settings& s, RunParameters&) {
  if (!std::isfinite(v.x)) return false;
  s.*Field = v.x;
  return true;
}

template <bool Settings::*Field>
bool SettingsYes(const LineValue& v, Settings& s, RunParameters&) {
  s.*Field = v.yes();
  return true;
}

template <bool RunParameters::*Field>
bool ChoiceYes(const LineValue& v, Settings&, RunParameters& params) {
  params.*Field = v.yes();
  return true;
}

// A window's place: any single-precision number.
template <float Settings::*Field>
bool Place(const LineValue& v, Settings& s, RunParameters&) {
  if (!v.fitsSingle()) return false;
  s.*Field = static_cast<float>(v.x);
  return true;
}

// A window's size: positive numbers only, others leave it as it was.
template <float Settings::*Field>
bool Size(const LineValue& v, Settings& s, RunParameters&) {
  if (v.x <= 0) return true;
  if (!v.fitsSingle()) return false;
  if (static_cast<float>(v.x) > 0) s.*Field = static_cast<float>(v.x);
  return true;
}

// The Data Window's place and size in twips; positiveOnly leaves it as it
// was for a number that is not positive.
template <int16_t Settings::*Field, bool positiveOnly>
bool Twips(const LineValue& v, Settings& s, RunParameters&) {
  if (positiveOnly && v.x <= 0) return true;
  int16_t n = 0;
  if (!RoundToInt16(v.x, n)) return false;
  s.*Field = n;
  return true;
}

bool FontSize(const LineValue& v, Settings& s, RunParameters&) {
  if (!std::isfinite(v.x)) return false;
  if (v.x >= 7.75) s.FontSize = v.x;
  return true;
}

bool NumberOfDays(const LineValue& v, Settings& s, RunParameters& params) {
  if (v.x <= 0) return true;
  int16_t n = 0;
  if (!RoundToInt16(v.x, n)) return false;
  // The days field shows the number and keeps it within 1..366.
  SetDaysText(params, std::to_string(n));
  s.NumberOfDays = params.NumberOfDays;
  return true;
}

bool Instant(const LineValue& v, Settings&, RunParameters& params) {
  params.Instant = v.text == "Midnight" ? InstantChoice::Midnight : InstantChoice::Noon;
  return true;
}

bool Coords(const LineValue& v, Settings&, RunParameters& params) {
  params.Coords = v.text == "Helio" ? Coordinates::Heliocentric : Coordinates::Geocentric;
  return true;
}

bool MoonNodes(const LineValue& v, Settings&, RunParameters& params) {
  params.MoonNodes = v.text == "Mean"         ? NodeMode::Mean
                     : v.text == "Osculating" ? NodeMode::Osculating
                                              : NodeMode::True;
  return true;
}

bool ZodiacMode(const LineValue& v, Settings&, RunParameters& params) {
  params.ZodiacMode = v.text == "Sidereal"   ? Zodiac::Sidereal
                      : v.text == "Ayanamsa" ? Zodiac::Ayanamsa
                                             : Zodiac::Tropical;
  return true;
}

// The key word of a named ayanamsa; any other word keeps the SVP's zodiac.
bool SiderealAyanamsa(const LineValue& v, Settings&, RunParameters& params) {
  params.SiderealAyanamsa = FindNamedAyanamsa(v.text).value_or(NamedAyanamsa::None);
  return true;
}

bool MoonSign(const LineValue& v, Settings&, RunParameters& params) {
  params.MoonSign = v.text == "Display" ? MoonChangeSign::Display : MoonChangeSign::NoDisplay;
  return true;
}

bool Zone(const LineValue& v, Settings&, RunParameters& params) {
  params.TimeZoneName = v.text.empty() ? "UT" : v.text;
  return true;
}

bool SkyChoice(const LineValue& v, Settings&, RunParameters& params) {
  params.SkyChoice = v.text == "Apparent" ? Sky::Apparent : Sky::Design;
  return true;
}

// A list the program did not write leaves the five aspects.
bool AspectsValue(const LineValue& v, Settings&, RunParameters& params) {
  std::string why;
  if (!ParseAspectList(v.text, params.Aspects, why)) params.Aspects = kMajorAspects;
  return true;
}

// A list the program did not write chooses no minor body.
bool MinorBodiesValue(const LineValue& v, Settings&, RunParameters& params) {
  std::string why;
  if (!ParseMinorBodies(v.text, params.MinorBodies, why)) params.MinorBodies = {};
  return true;
}

// The same for the windows' own choices of minor bodies.
template <MinorChoice Settings::*Field>
bool WindowMinorBodies(const LineValue& v, Settings& s, RunParameters&) {
  std::string why;
  if (!ParseMinorBodies(v.text, s.*Field, why)) s.*Field = {};
  return true;
}

// The keys by the start of their line, the first that matches is read (so
// "NOVASTRAMaximized" before the other "NOVASTRA" keys). The keys the older
// programs wrote match without their '=', as those programs read them.
struct Key {
  const char* start;
  ApplyValue apply;
};
constexpr Key kKeys[] = {
    {"FontSize", FontSize},
    {"FontBold", FiniteNumber<&Settings::FontBold>},
    {"FontItalic", FiniteNumber<&Settings::FontItalic>},
    {"NOVASTRAMaximized", SettingsYes<&Settings::MainMaximized>},
    {"DataMaximized", SettingsYes<&Settings::DataMaximized>},
    {"NOVASTRATop", Place<&Settings::MainTop>},
    {"NOVASTRALeft", Place<&Settings::MainLeft>},
    {"NOVASTRAHeight", Size<&Settings::MainHeight>},
    {"NOVASTRAWidth", Size<&Settings::MainWidth>},
    {"DataTop", Twips<&Settings::DataTop, true>},
    {"DataLeft", Twips<&Settings::DataLeft, false>},
    {"DataHeight", Twips<&Settings::DataHeight, true>},
    {"DataWidth", Twips<&Settings::DataWidth, true>},
    {"CalcFullMonth", ChoiceYes<&RunParameters::FullMonth>},
    {"SaveData", ChoiceYes<&RunParameters::SaveData>},
    {"Type", Instant},
    {"NumberOfDays", NumberOfDays},
    {"Coordinates", Coords},
    {"MoonNodes", MoonNodes},
    {"Zodiac", ZodiacMode},
    {"MoonChangeSign", MoonSign},
    {"TimeZone=", Zone},
    {"MoonVoidOfCourse=", ChoiceYes<&RunParameters::VoidOfCourse>},
    {"LocalTimeRows=", ChoiceYes<&RunParameters::LocalRows>},
    {"Sky=", SkyChoice},
    {"Aspects=", AspectsValue},
    {"MinorBodies=", MinorBodiesValue},
    {"GraphMinorBodies=", WindowMinorBodies<&Settings::GraphMinorBodies>},
    {"CalendarMinorBodies=", WindowMinorBodies<&Settings::CalendarMinorBodies>},
    {"SiderealAyanamsa=", SiderealAyanamsa},
};

// Applies one line; false when the reading must stop.
bool ApplyLine(const std::string& line, Settings& s, RunParameters& params) {
  const size_t eq = line.find('=');
  const std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
  for (const Key& key : kKeys)
    if (line.rfind(key.start, 0) == 0) return key.apply({value, LeadingNumber(value)}, s, params);
  return true;
}

// The days field as written: its text unchanged, unless it could break the
// line structure of the file, in which case its value is written instead.
std::string DaysFieldText(const RunParameters& params) {
  for (char c : params.DaysText)
    if (static_cast<unsigned char>(c) < 32) return std::to_string(params.NumberOfDays);
  return params.DaysText;
}

// N(x) of a single-precision value: its own shortest text, so that 0.1 is
// written as 0.1 and not as the digits of its double widening.
std::string SingleNumber(float x) {
  if (x == 0) x = 0;
  char buf[80];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
  std::string digits = ec == std::errc() ? std::string(buf, ptr) : std::string("0");
  return x < 0 ? digits : " " + digits;
}

}  // namespace

std::string SettingsNumber(double x) {
  if (x == 0) x = 0;  // no "-0"
  char buf[400];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed);
  std::string digits = ec == std::errc() ? std::string(buf, ptr) : std::string("0");
  return x < 0 ? digits : " " + digits;
}

std::string ReadSettings(const std::filesystem::path& folder, Settings& settings,
                         RunParameters& params) {
  settings = Settings{};
  SetInputDefaults(params);
  SetDaysText(params, std::to_string(settings.NumberOfDays));

  std::string reason;
  bool missing = false;
  const auto bytes = ReadFileBytes(folder / kSettingsFile, &reason, &missing);
  if (!bytes)  // every default stays; a missing file silently
    return missing ? "" : ReadFailureMessage(kSettingsFile, reason, false);
  for (const std::string& line : SplitTextLines(*bytes))
    if (!ApplyLine(line, settings, params)) break;  // bad number: stop, keep what was read
  return "";
}

bool WriteSettings(const std::filesystem::path& folder, const Settings& s,
                   const RunParameters& params) {
  std::string t;
  auto line = [&t](const std::string& text) {
    t += text;
    t += kLineBreak;
  };
  line(kHeaderLine);
  line("FontSize=" + SettingsNumber(s.FontSize));
  line("FontBold=" + SettingsNumber(s.FontBold));
  line("FontItalic=" + SettingsNumber(s.FontItalic));
  line("NOVASTRATop=" + SingleNumber(s.MainTop));
  line("NOVASTRALeft=" + SingleNumber(s.MainLeft));
  line("NOVASTRAHeight=" + SingleNumber(s.MainHeight));
  line("NOVASTRAWidth=" + SingleNumber(s.MainWidth));
  line("DataTop=" + SettingsNumber(s.DataTop));
  line("DataLeft=" + SettingsNumber(s.DataLeft));
  line("DataHeight=" + SettingsNumber(s.DataHeight));
  line("DataWidth=" + SettingsNumber(s.DataWidth));
  line(params.FullMonth ? "CalcFullMonth=Yes" : "CalcFullMonth=No");
  line(params.SaveData ? "SaveData=Yes" : "SaveData=No");
  line(params.Instant == InstantChoice::Midnight ? "Type=Midnight" : "Type=Noon");
  line("NumberOfDays=" + DaysFieldText(params));
  line(params.Coords == Coordinates::Heliocentric ? "Coordinates=Helio" : "Coordinates=Geo");
  // An older program reads every word but "Mean" as the true node, the nearest to the osculating
  // one.
  line(params.MoonNodes == NodeMode::Mean         ? "MoonNodes=Mean"
       : params.MoonNodes == NodeMode::Osculating ? "MoonNodes=Osculating"
                                                  : "MoonNodes=True");
  line(params.ZodiacMode == Zodiac::Sidereal   ? "Zodiac=Sidereal"
       : params.ZodiacMode == Zodiac::Ayanamsa ? "Zodiac=Ayanamsa"
                                               : "Zodiac=Tropical");
  line(params.MoonSign == MoonChangeSign::Display ? "MoonChangeSign=Display"
                                                  : "MoonChangeSign=No Display");
  // Written only for a maximised window, after the fixed lines.
  if (s.MainMaximized) line("NOVASTRAMaximized=Yes");
  if (s.DataMaximized) line("DataMaximized=Yes");
  // Written only when chosen, so that a file without them stays as it was.
  if (params.TimeZoneName != "UT") line("TimeZone=" + params.TimeZoneName);
  if (params.VoidOfCourse) line("MoonVoidOfCourse=Yes");
  if (params.LocalRows) line("LocalTimeRows=Yes");
  if (params.SkyChoice == Sky::Apparent) line("Sky=Apparent");
  if (params.Aspects != kMajorAspects) line("Aspects=" + AspectListWords(params.Aspects));
  if (params.SiderealAyanamsa != NamedAyanamsa::None)
    line(std::string("SiderealAyanamsa=") + NamedAyanamsaKey(params.SiderealAyanamsa));
  if (AnyMinor(params.MinorBodies)) line("MinorBodies=" + MinorBodyWords(params.MinorBodies));
  if (AnyMinor(s.GraphMinorBodies)) line("GraphMinorBodies=" + MinorBodyWords(s.GraphMinorBodies));
  if (AnyMinor(s.CalendarMinorBodies))
    line("CalendarMinorBodies=" + MinorBodyWords(s.CalendarMinorBodies));
  return WriteFileSafely(folder / kSettingsFile, t).empty();
}

}  // namespace novastra
