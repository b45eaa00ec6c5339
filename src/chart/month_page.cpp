#include "chart/month_page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <fmt/format.h>

#include "astro/calendar.h"
#include "text/charset.h"
#include "text/eclipse_text.h"
#include "text/glyphs.h"

namespace novastra::chart {

namespace {

constexpr const char* kMonthNames[13] = {"",        "January",  "February", "March",  "April",
                                         "May",     "June",     "July",     "August", "September",
                                         "October", "November", "December"};
constexpr const char* kWeekdays[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
constexpr const char* kBodyTitles[12] = {"",      "Sun",    "Moon", "Merc.",  "Venus", "Mars",
                                         "Jupiter", "Saturn", "Uranus", "Nept.", "Pluto", "Node"};

QString FromCodes(const std::string& codes) { return QString::fromStdString(ToUtf8(codes)); }

// Degrees and whole minutes of |degrees|, the minutes rounded half away from
// zero and 60 carried into the degrees.
std::pair<long, long> DegreesMinutes(double degrees) {
  const long total = std::lround(std::fabs(degrees) * 60.0);
  return {total / 60, total % 60};
}

// "dd hh:mm" of a zone's clock.
std::string ClockText(const LocalClock& c) {
  const CivilDate d = ParseDateText(DateTextFromJulianDay(c.dayJD));
  return fmt::format("{:02d} {:02d}:{:02d}", d.day, c.hour, c.minute);
}

std::string PhaseText(const Event& e) {
  switch (PhaseOf(e)) {
    case LunarPhase::NewMoon: return "New Moon ";
    case LunarPhase::FirstQuarter: return "First Qtr ";
    case LunarPhase::FullMoon: return "Full Moon ";
    case LunarPhase::LastQuarter: return "Last Qtr ";
  }
  return "";
}

// The line of one aspectarian event, in the symbol codes.
std::string EventCodes(const Event& e) {
  const char body = BodyCode(e.body, Coordinates::Geocentric);
  const char other = BodyCode(e.other, Coordinates::Geocentric);
  switch (e.kind) {
    case EventKind::Aspect: return std::string{body, AspectCode(e.aspect), other};
    case EventKind::Parallel: return std::string{body, static_cast<char>(kGlyphParallel), other};
    case EventKind::Contraparallel:
      return std::string{body, static_cast<char>(kGlyphContraparallel), other};
    case EventKind::Ingress: return std::string{body} + " enters " + SignCode(e.sign);
    case EventKind::Station:
      return std::string{body, ' ', StationCode(e.direction), ' '} +
             (e.refined ? PageLongitude(e.bodyLongitude) : std::string());
    case EventKind::Lunation: return PhaseText(e) + PageLongitude(e.moonLongitude);
  }
  return "";
}

struct Timed {
  double jd = 0;
  PhenomenonLine line;
};

Timed LineAt(const TimeZone& zone, double jd, std::string codes) {
  const LocalClock c = zone.At(jd);
  return {jd, {c.dayJD, c.hour, c.minute, std::move(codes)}};
}

// The phenomena laid out in columns: the type size, the column width and how
// many lines each column holds.
struct Columns {
  double size = 7;     // points
  int wrapCells = 27;  // characters of a line before it continues below
  int count = 1;
  int perColumn = 1;
  double pitch = 7.5;
  double width = 0;
};

// The cells the symbol font gives the first n characters of a text: two for
// a symbol, one for a character (and for the marks that take a character's place).
size_t CellsOf(const std::string& codes, size_t n) {
  size_t cells = 0;
  for (size_t k = 0; k < n && k < codes.size(); ++k) {
    const char c = codes[k];
    const bool mark = c == kRetrogradeCode || c == kDegreeCode || c == kMinuteCode;
    cells += FindGlyph(static_cast<unsigned char>(c)) && !mark ? 2 : 1;
  }
  return cells;
}

// The characters of a text that fill at most `room` cells.
size_t CharactersWithin(const std::string& codes, size_t room) {
  size_t n = 0;
  while (n < codes.size() && CellsOf(codes, n + 1) <= room) ++n;
  return n;
}

// The lines as drawn: each phenomenon, wrapped after `cells` cells onto
// indented continuation lines.
std::vector<std::string> WrappedLines(const std::vector<PhenomenonLine>& lines, int cells) {
  std::vector<std::string> out;
  for (const PhenomenonLine& p : lines) {
    const std::string clock = ClockText({p.dayJD, p.hour, p.minute, 0, false});
    std::string rest = p.codes;
    std::string head = clock + " ";
    const size_t room = static_cast<size_t>(std::max(4, cells - 9));
    while (CellsOf(rest, rest.size()) > room) {
      const size_t fit = CharactersWithin(rest, room);
      size_t cut = rest.rfind(' ', fit);
      if (cut == std::string::npos || cut == 0) cut = fit;
      out.push_back(head + rest.substr(0, cut));
      rest = rest.substr(cut + (rest[cut] == ' ' ? 1 : 0));
      head = std::string(9, ' ');
    }
    out.push_back(head + rest);
  }
  return out;
}

QFont FontOf(const QString& family, double points, bool bold = false) {
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

// The largest type, from 7.5 down to 6 points, at which every line fits the
// area, lines wrapped as little as may be; count 0 when none does.
Columns FitColumns(const std::vector<PhenomenonLine>& lines, const QRectF& area,
                   const QString& family, QPaintDevice* device) {
  for (int cells : {27, 23}) {
    for (int halfPoints = 15; halfPoints >= 12; --halfPoints) {
      const double size = halfPoints / 2.0;
      const QFontMetricsF fm(FontOf(family, size), device);
      const double cell = fm.horizontalAdvance(QChar('0'));
      Columns c;
      c.size = size;
      c.wrapCells = cells;
      c.pitch = size * 1.08;
      c.width = cells * cell + 2 * cell;
      c.count = static_cast<int>((area.width() + 2 * cell) / c.width);
      c.perColumn = static_cast<int>(area.height() / c.pitch);
      const auto wrapped = WrappedLines(lines, cells);
      if (c.count > 0 && static_cast<size_t>(c.count) * static_cast<size_t>(c.perColumn) >=
                             wrapped.size())
        return c;
    }
  }
  return Columns{7, 27, 0, 0, 7.5, 0};
}

// The header: month and year, then zodiac, sky, instant and zone.
double PaintHeader(QPainter& p, const MonthInput& m, const QRectF& page, const PageFonts& fonts) {
  p.setFont(FontOf(fonts.text, 12, true));
  const QFontMetricsF big(p.font());
  double y = page.top() + big.ascent();
  p.drawText(QPointF(page.left(), y), QString("%1 %2").arg(MonthName(m.month)).arg(m.year));
  p.setFont(FontOf(fonts.text, 7.5));
  const std::string zone = m.zone.IsUniversal() ? "Universal Time" : m.zone.Name();
  const QString line = QString::fromStdString(
      fmt::format("{} zodiac, {}; positions at {}; times in {}", m.zodiacText, m.skyText,
                  m.instantText, zone));
  p.drawText(QPointF(page.right() - QFontMetricsF(p.font()).horizontalAdvance(line), y), line);
  return y + big.descent() + 6;
}

struct GridGeometry {
  double left = 0, cell = 0, pitch = 0;
  // Start cell of the day, sidereal time and each body's column.
  static constexpr int kDayCell = 0, kTimeCell = 6;
  static int BodyCell(int body) { return 15 + 8 * (body - 1); }
  static constexpr int kCells = 15 + 8 * 11;
  double X(int cells) const { return left + cells * cell; }
};

// One table of the days: titles, then a row per day. Returns the y below it.
double PaintTable(QPainter& p, const MonthInput& m, const GridGeometry& g, double y,
                  bool declination, const PageFonts& fonts) {
  p.setFont(FontOf(fonts.text, 6.5, true));
  y += g.pitch;
  p.drawText(QPointF(g.X(GridGeometry::kDayCell), y), declination ? "Decl." : "Long.");
  p.drawText(QPointF(g.X(GridGeometry::kTimeCell), y), "Sid. time");
  for (int b = 1; b <= 11; ++b) {
    const QString title = kBodyTitles[b];
    p.drawText(QPointF(g.X(GridGeometry::BodyCell(b)), y), title);
  }
  p.drawLine(QPointF(g.left, y + 2), QPointF(g.X(GridGeometry::kCells - 1), y + 2));
  p.setFont(FontOf(fonts.symbols, 7));
  y += 1.5;
  for (const EphemerisDay& day : m.ephemeris.days) {
    y += g.pitch;
    const CivilDate d = ParseDateText(DateTextFromJulianDay(day.rowJD));
    const int weekday = static_cast<int>((std::lround(day.rowJD) + 1) % 7);
    p.drawText(QPointF(g.X(GridGeometry::kDayCell), y),
               QString::fromStdString(fmt::format("{} {:02d}", kWeekdays[weekday], d.day)));
    p.drawText(QPointF(g.X(GridGeometry::kTimeCell), y),
               QString::fromStdString(PageSiderealTime(day.siderealSeconds)));
    for (int b = 1; b <= 11; ++b) {
      std::string cell = declination ? PageDeclination(day.positions.Declination[b])
                                     : PageLongitude(day.positions.Longitude[b]);
      if (!declination && day.retrograde[b]) cell += kRetrogradeCode;
      p.drawText(QPointF(g.X(GridGeometry::BodyCell(b)), y), FromCodes(cell));
    }
    if (weekday == 6)
      p.drawLine(QPointF(g.left, y + 1.8), QPointF(g.X(GridGeometry::kCells - 1), y + 1.8));
  }
  return y + 4;
}

void PaintPhenomena(QPainter& p, const std::vector<PhenomenonLine>& lines, const Columns& c,
                    const QRectF& area, const PageFonts& fonts) {
  p.setFont(FontOf(fonts.symbols, c.size));
  const std::vector<std::string> wrapped = WrappedLines(lines, c.wrapCells);
  for (size_t k = 0; k < wrapped.size(); ++k) {
    const size_t perColumn = static_cast<size_t>(c.perColumn);
    const size_t columnIndex = k / perColumn;
    const auto column = static_cast<double>(columnIndex);
    const auto row = static_cast<double>(k - columnIndex * perColumn);
    p.drawText(QPointF(area.left() + column * c.width, area.top() + (row + 1) * c.pitch),
               FromCodes(wrapped[k]));
  }
}

}  // namespace

const char* MonthName(int month) { return month >= 1 && month <= 12 ? kMonthNames[month] : ""; }

std::string PageLongitude(double degrees) {
  double x = std::fmod(degrees, 360.0);
  if (x < 0) x += 360.0;
  constexpr long kCircle = 360L * 60, kSign = 30L * 60;  // minutes of arc
  long total = std::lround(x * 60.0) % kCircle;
  const int sign = static_cast<int>(total / kSign) + 1;
  total %= kSign;
  return fmt::format("{:02d}{}{:02d}", total / 60, SignCode(sign), total % 60);
}

std::string PageDeclination(double degrees) {
  const auto [d, m] = DegreesMinutes(degrees);
  const bool south = degrees < 0 && (d != 0 || m != 0);
  return fmt::format("{:02d}{}{:02d}", d, south ? kSouthCode : kNorthCode, m);
}

std::string PageSiderealTime(double seconds) {
  const long s = std::lround(seconds) % 86400;
  return fmt::format("{:02d}:{:02d}:{:02d}", s / 3600, s / 60 % 60, s % 60);
}

std::vector<PhenomenonLine> MonthPhenomena(const MonthInput& month) {
  const TimeZone& zone = month.zone;
  std::vector<Timed> timed;
  for (const Event& e : month.aspectarian.events) timed.push_back(LineAt(zone, e.jd, EventCodes(e)));
  for (const VoidOfCourse& v : month.aspectarian.voids) {
    const LocalClock end = zone.At(v.endJD);
    timed.push_back(LineAt(zone, v.startJD,
                           std::string{BodyCode(2, Coordinates::Geocentric)} + " v/c to " +
                               ClockText(end)));
  }
  for (const EclipseEntry& e : month.aspectarian.eclipses) {
    std::string type = EclipseTypeWord(e);
    if (!type.empty()) type[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
    timed.push_back(LineAt(zone, e.GreatestUT(),
                           fmt::format("{} {} eclipse, mag. {:.3f}", type, EclipseKindWord(e),
                                       EclipseMagnitude(e))));
  }
  // The events come in time order; each void or eclipse goes after the
  // events of its instant.
  std::stable_sort(timed.begin(), timed.end(),
                   [](const Timed& a, const Timed& b) { return a.jd < b.jd; });
  std::vector<PhenomenonLine> lines;
  lines.reserve(timed.size());
  for (Timed& t : timed) lines.push_back(std::move(t.line));
  return lines;
}

bool PaintMonthPage(QPainter& p, const MonthInput& m, const QRectF& page, const PageFonts& fonts) {
  constexpr double kMargin = 18;
  const QRectF inner = page.adjusted(kMargin, kMargin, -kMargin, -kMargin);
  p.save();
  p.setPen(QPen(Qt::black, 0.3));
  const double top = PaintHeader(p, m, inner, fonts);

  GridGeometry g;
  g.left = inner.left();
  g.cell = QFontMetricsF(FontOf(fonts.symbols, 7), p.device()).horizontalAdvance(QChar('0'));
  g.pitch = 7.4;
  double y = PaintTable(p, m, g, top, false, fonts);
  PaintTable(p, m, g, y, true, fonts);

  const double gridRight = g.X(GridGeometry::kCells) + 8;
  const QRectF area(gridRight, top + 2, inner.right() - gridRight, inner.bottom() - top - 2);
  const std::vector<PhenomenonLine> lines = MonthPhenomena(m);
  const Columns c = FitColumns(lines, area, fonts.symbols, p.device());
  const bool fits = c.count > 0;
  if (fits) PaintPhenomena(p, lines, c, area, fonts);
  p.restore();
  return fits;
}

void PaintTitlePage(QPainter& p, const MonthInput& first, const MonthInput& last,
                    const QRectF& page, const PageFonts& fonts) {
  p.save();
  p.setPen(Qt::black);
  p.setFont(FontOf(fonts.text, 28, true));
  const QString range = QString("%1 %2 - %3 %4")
                            .arg(MonthName(first.month))
                            .arg(first.year)
                            .arg(MonthName(last.month))
                            .arg(last.year);
  QRectF r(page.left(), page.top() + page.height() * 0.3, page.width(), 50);
  p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, "Ephemeris and Aspectarian");
  r.translate(0, 50);
  p.setFont(FontOf(fonts.text, 20));
  p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, range);
  r.translate(0, 50);
  p.setFont(FontOf(fonts.text, 12));
  const std::string zone = first.zone.IsUniversal() ? "Universal Time" : first.zone.Name();
  p.drawText(r, Qt::AlignHCenter | Qt::AlignTop,
             QString::fromStdString(fmt::format("{} zodiac, {}; positions at {}; times in {}",
                                                first.zodiacText, first.skyText,
                                                first.instantText, zone)));
  r.translate(0, 24);
  p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, "NOVASTRA");
  p.restore();
}

}  // namespace novastra::chart
