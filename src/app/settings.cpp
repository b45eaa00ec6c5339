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
}

// Applies one line; false when the reading must stop (a number that does not
// fit its setting).
bool ApplyLine(const std::string& line, Settings& s, RunParameters& params) {
  const size_t eq = line.find('=');
  const std::string value = eq == std::string::npos ? line : line.substr(eq + 1);
  auto is = [&line](const char* key) { return line.rfind(key, 0) == 0; };
  const double x = LeadingNumber(value);
  // A number too large for any setting is a read error, as in the 16-bit ones.
  auto fitsSingle = [x] {
    return std::isfinite(x) && std::fabs(x) <= std::numeric_limits<float>::max();
  };
  int16_t n = 0;

  if (is("FontSize")) {
    if (!std::isfinite(x)) return false;
    if (x >= 7.75) s.FontSize = x;
  } else if (is("FontBold")) {
    if (!std::isfinite(x)) return false;
    s.FontBold = x;
  } else if (is("FontItalic")) {
    if (!std::isfinite(x)) return false;
    s.FontItalic = x;
  } else if (is("NOVASTRAMaximized")) {
    s.MainMaximized = value == "Yes";
  } else if (is("DataMaximized")) {
    s.DataMaximized = value == "Yes";
  } else if (is("NOVASTRATop")) {
    if (!fitsSingle()) return false;
    s.MainTop = static_cast<float>(x);
  } else if (is("NOVASTRALeft")) {
    if (!fitsSingle()) return false;
    s.MainLeft = static_cast<float>(x);
  } else if (is("NOVASTRAHeight")) {
    if (x > 0) {
      if (!fitsSingle()) return false;
      if (static_cast<float>(x) > 0) s.MainHeight = static_cast<float>(x);
    }
  } else if (is("NOVASTRAWidth")) {
    if (x > 0) {
      if (!fitsSingle()) return false;
      if (static_cast<float>(x) > 0) s.MainWidth = static_cast<float>(x);
    }
  } else if (is("DataTop")) {
    if (x > 0) {
      if (!RoundToInt16(x, n)) return false;
      s.DataTop = n;
    }
  } else if (is("DataLeft")) {
    if (!RoundToInt16(x, n)) return false;
    s.DataLeft = n;
  } else if (is("DataHeight")) {
    if (x > 0) {
      if (!RoundToInt16(x, n)) return false;
      s.DataHeight = n;
    }
  } else if (is("DataWidth")) {
    if (x > 0) {
      if (!RoundToInt16(x, n)) return false;
      s.DataWidth = n;
    }
  } else if (is("CalcFullMonth")) {
    params.FullMonth = value == "Yes";
  } else if (is("SaveData")) {
    params.SaveData = value == "Yes";
  } else if (is("Type")) {
    params.Instant = value == "Midnight" ? InstantChoice::Midnight : InstantChoice::Noon;
  } else if (is("NumberOfDays")) {
    if (x > 0) {
      if (!RoundToInt16(x, n)) return false;
      // The days field shows the number and keeps it within 1..366.
      SetDaysText(params, std::to_string(n));
      s.NumberOfDays = params.NumberOfDays;
    }
  } else if (is("Coordinates")) {
    params.Coords = value == "Helio" ? Coordinates::Heliocentric : Coordinates::Geocentric;
  } else if (is("MoonNodes")) {
    params.MoonNodes = value == "Mean"         ? NodeMode::Mean
                       : value == "Osculating" ? NodeMode::Osculating
                                               : NodeMode::True;
  } else if (is("Zodiac")) {
    params.ZodiacMode = value == "Sidereal"   ? Zodiac::Sidereal
                        : value == "Ayanamsa" ? Zodiac::Ayanamsa
                                              : Zodiac::Tropical;
  } else if (is("MoonChangeSign")) {
    params.MoonSign = value == "Display" ? MoonChangeSign::Display : MoonChangeSign::NoDisplay;
  } else if (is("TimeZone=")) {
    params.TimeZoneName = value.empty() ? "UT" : value;
  } else if (is("MoonVoidOfCourse=")) {
    params.VoidOfCourse = value == "Yes";
  } else if (is("LocalTimeRows=")) {
    params.LocalRows = value == "Yes";
  } else if (is("Sky=")) {
    params.SkyChoice = value == "Apparent" ? Sky::Apparent : Sky::Design;
  }
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
  return WriteFileSafely(folder / kSettingsFile, t).empty();
}

}  // namespace novastra
