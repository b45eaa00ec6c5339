// novastra-cli book: a title page and one page per month (daily positions and
// the month's phenomena) as one PDF, written whole or not at all.
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/aspectarian_run.h"
#include "app/range_run.h"
#include "app/safe_write.h"
#include "astro/calendar.h"
#include "chart/month_book.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "reports/stations.h"
#include "text/date_input.h"

namespace novastra::cli {

namespace {

struct BookValues {
  std::string from, to;
  std::string tz = "UT";
  std::string paper = "a4";
  std::string sky = "design";
  std::string zodiac = "tropical";
  std::string ayanamsa;
  std::string node = "true";
  bool noon = false;
  std::string output;
  std::string home;
};

struct YearMonth {
  int year = 0, month = 0;
  int Index() const { return year * 12 + month - 1; }
};

int Refuse(const std::string& what, const std::string& why) {
  std::cerr << "novastra-cli book: " << EscapeControls(what) << ": " << EscapeControls(why)
            << '\n';
  return kUsageError;
}

// "YYYY-MM" from 1800-01 to 2100-12.
std::optional<YearMonth> ParseMonth(const std::string& text, std::string& why) {
  const bool shaped = text.size() == 7 && text[4] == '-' &&
                      std::all_of(text.begin(), text.end(), [](char c) {
                        return c == '-' || (c >= '0' && c <= '9');
                      }) &&
                      text.find('-') == 4 && text.rfind('-') == 4;
  if (!shaped) {
    why = "a month is written YYYY-MM, e.g. 2027-01";
    return std::nullopt;
  }
  const YearMonth ym{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2))};
  if (ym.month < 1 || ym.month > 12) {
    why = "the month must be 01 to 12";
    return std::nullopt;
  }
  if (ym.year < 1800 || ym.year > 2100) {
    why = "the months run from 1800-01 to 2100-12";
    return std::nullopt;
  }
  return ym;
}

struct BookPlan {
  RunParameters params;
  TimeZone zone;
  chart::Paper paper = chart::Paper::A4;
  std::vector<YearMonth> months;
};

// The choices of the options; the reason in `refusal` when one is refused.
std::optional<BookPlan> PlanOf(const BookValues& v, const std::vector<std::string>& extras,
                               int& refusal) {
  std::string why;
  BookPlan plan;
  auto refuse = [&refusal](int status) {
    refusal = status;
    return std::nullopt;
  };
  if (!extras.empty())
    return refuse(Refuse("\"" + extras.front() + "\"", "not an option of book (see --help)"));
  if (v.from.empty()) return refuse(Refuse("--from", "a first month is required, e.g. 2027-01"));
  if (v.to.empty()) return refuse(Refuse("--to", "a last month is required, e.g. 2027-12"));
  const auto from = ParseMonth(v.from, why);
  if (!from) return refuse(Refuse("--from \"" + v.from + "\"", why));
  const auto to = ParseMonth(v.to, why);
  if (!to) return refuse(Refuse("--to \"" + v.to + "\"", why));
  if (to->Index() < from->Index())
    return refuse(Refuse("--to \"" + v.to + "\"", "the last month comes before the first"));
  for (int k = from->Index(); k <= to->Index(); ++k) plan.months.push_back({k / 12, k % 12 + 1});
  if (v.output.empty()) return refuse(Refuse("-o", "an output file ending in .pdf is required"));
  std::string ext = std::filesystem::path(v.output).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext != ".pdf") return refuse(Refuse("-o \"" + v.output + "\"", "the file name must end in .pdf"));
  if (v.paper != "a4" && v.paper != "letter")
    return refuse(Refuse("--paper \"" + v.paper + "\"", "a4 or letter"));
  plan.paper = v.paper == "a4" ? chart::Paper::A4 : chart::Paper::Letter;
  if (v.sky != "design" && v.sky != "apparent")
    return refuse(Refuse("--sky \"" + v.sky + "\"", "design or apparent"));
  if (v.zodiac != "tropical" && v.zodiac != "sidereal" && v.zodiac != "ayanamsa")
    return refuse(Refuse("--zodiac \"" + v.zodiac + "\"", "tropical, sidereal or ayanamsa"));
  const AyanamsaChoice ayanamsa = ChooseAyanamsa(v.ayanamsa, v.zodiac);
  if (!ayanamsa.error.empty())
    return refuse(Refuse("--ayanamsa \"" + v.ayanamsa + "\"", ayanamsa.error));
  if (v.node != "mean" && v.node != "true")
    return refuse(Refuse("--node \"" + v.node + "\"", "mean or true"));
  const auto zone = TimeZone::Find(v.tz, &why);
  if (!zone) return refuse(Refuse("--tz \"" + v.tz + "\"", why));
  plan.zone = *zone;
  RunParameters& p = plan.params;
  p.Instant = v.noon ? InstantChoice::Noon : InstantChoice::Midnight;
  p.ZodiacMode = v.zodiac == "sidereal"   ? Zodiac::Sidereal
                 : v.zodiac == "ayanamsa" ? Zodiac::Ayanamsa
                                          : Zodiac::Tropical;
  p.SiderealAyanamsa = ayanamsa.named;
  p.MoonNodes = v.node == "mean" ? NodeMode::Mean : NodeMode::True;
  p.SkyChoice = v.sky == "apparent" ? Sky::Apparent : Sky::Design;
  p.TimeZoneName = v.tz;
  return plan;
}

std::string ZodiacText(const BookValues& v) {
  if (v.zodiac == "sidereal")
    return v.ayanamsa.empty() ? "Sidereal (Fagan-Bradley)" : "Sidereal (" + v.ayanamsa + ")";
  if (v.zodiac == "ayanamsa") return "Sidereal (ayanamsa of the options)";
  return "Tropical";
}

// The positions and the phenomena of one month, as the ephemeris and the
// aspectarian's CSV give them for its dates in the zone.
chart::MonthInput ComputeMonth(const Application& app, const BookPlan& plan, const BookValues& v,
                               YearMonth ym) {
  const RunParameters& p = plan.params;
  chart::MonthInput m;
  m.year = ym.year;
  m.month = ym.month;
  m.zodiacText = ZodiacText(v);
  m.skyText = p.SkyChoice == Sky::Apparent ? "apparent sky" : "design sky";
  m.instantText = p.Instant == InstantChoice::Noon ? "12h UT" : "0h UT";
  m.zone = plan.zone;
  const double startJD = JulianDayNumber(ym.year, ym.month, 1);
  const int days = DaysInMonth(ym.year, ym.month);

  EphemerisRequest eph;
  eph.tables = &app.series();
  eph.engine = EngineChoices{p.ZodiacMode, p.MoonNodes};
  eph.engine.sky = p.SkyChoice;
  eph.ayanamsa = app.options().Ayanamsa(p.ZodiacMode, p.SiderealAyanamsa);
  eph.startJD = startJD;
  eph.dayFraction = p.Instant == InstantChoice::Noon ? 0.5 : 0;
  eph.dayCount = days;
  m.ephemeris = BuildEphemeris(eph);

  AspectarianRequest asp;
  asp.sky = SampleContextOf(app.series(), p, app.options());
  asp.choices.coords = p.Coords;
  asp.choices.aspects = p.Aspects;
  asp.choices.moonSign = p.MoonSign;
  asp.choices.option12 = app.options()[12];
  asp.startJD = startJD;
  asp.dayCount = days;
  asp.findEclipses = true;
  RangeControl control;
  RunZonedAspectarianRange(asp, plan.zone, control, [&m](const AspectarianReport& piece) {
    m.aspectarian = piece;
    return true;
  });
  RefineStationEvents(asp.sky, m.aspectarian.events);
  return m;
}

// Every month, computed on two threads; the reports are pure functions.
std::vector<chart::MonthInput> ComputeMonths(const Application& app, const BookPlan& plan,
                                             const BookValues& v) {
  std::vector<chart::MonthInput> months(plan.months.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t k = next++; k < months.size(); k = next++)
      months[k] = ComputeMonth(app, plan, v, plan.months[k]);
  };
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads && months.size() > 1; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
  return months;
}

int RunBook(const BookValues& v, const std::vector<std::string>& extras,
            const GlobalOptions& global) {
  int refusal = 0;
  const std::optional<BookPlan> plan = PlanOf(v, extras, refusal);
  if (!plan) return refusal;
  GlobalOptions g = global;
  if (!v.home.empty()) g.home = v.home;
  Session session;
  if (!OpenSession(g, session)) return kReadWriteFailure;
  const Application& app = *session.app;

  // Fonts and painting need the GUI application object; no window is opened.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "novastra-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication qt(argc, argv);
  // The symbol font among the supplied files (a build tree), or where an
  // installed tree keeps it, share/fonts/truetype/novastra beside share/novastra.
  std::filesystem::path fontFile = app.supplied() / "EPHEMERI.TTF";
  if (!std::filesystem::exists(fontFile))
    fontFile = app.supplied() / ".." / "fonts" / "truetype" / "novastra" / "EPHEMERI.TTF";
  chart::PageFonts fonts;
  fonts.symbols = chart::AddSymbolFont(fontFile);
  if (fonts.symbols.isEmpty()) {
    PrintError("cannot read the symbol font " + fontFile.string());
    return kReadWriteFailure;
  }

  const std::vector<chart::MonthInput> months = ComputeMonths(app, *plan, v);
  QByteArray pdf;
  if (const std::string failure = chart::DrawBook(months, plan->paper, fonts, pdf);
      !failure.empty()) {
    std::cerr << "novastra-cli book: " << failure << '\n';
    return kReadWriteFailure;
  }
  AtomicFile out{std::filesystem::path(v.output)};
  std::string reason;
  if (out.Write(std::string_view(pdf.constData(), static_cast<size_t>(pdf.size()))))
    reason = out.Commit();
  else
    reason = out.Reason();
  if (!reason.empty()) {
    out.Abandon();
    std::cerr << "novastra-cli book: cannot write " << EscapeControls(v.output) << ": " << reason
              << '\n';
    return kReadWriteFailure;
  }
  return kDone;
}

}  // namespace

void AddBookCommand(CLI::App& app, const GlobalOptions& global, int& status) {
  auto v = std::make_shared<BookValues>();
  CLI::App* sub = app.add_subcommand(
      "book", "A title page and one page per month of positions and phenomena, as PDF");
  // Values are checked in the callback, so that every refusal has status 2.
  sub->add_option("--from", v->from, "First month, YYYY-MM (1800-01..2100-12), required");
  sub->add_option("--to", v->to, "Last month, YYYY-MM (1800-01..2100-12), required");
  sub->add_option("--tz", v->tz, "Time zone of the phenomena (IANA name; default UT)");
  sub->add_option("--paper", v->paper, "a4 (default) or letter, landscape");
  sub->add_option("--sky", v->sky, "design (default) or apparent");
  sub->add_option("--zodiac", v->zodiac, "tropical, sidereal or ayanamsa");
  sub->add_option(
      "--ayanamsa", v->ayanamsa,
      "With --zodiac sidereal: a standard ayanamsa by name, one of " + AyanamsaNamesText());
  sub->add_option("--node", v->node, "Lunar node: mean or true");
  sub->add_flag("--noon", v->noon, "Positions at 12h UT (default 0h UT)");
  sub->add_option("-o,--output", v->output, "Output file ending in .pdf, required");
  sub->add_option("--home", v->home, "Application folder (default: $NOVASTRA_HOME or the usual one)");
  sub->allow_extras();
  sub->callback([v, sub, &global, &status] { status = RunBook(*v, sub->remaining(), global); });
}

}  // namespace novastra::cli
