#pragma once
// The graphic ephemeris as geometry: time across, longitude up, reduced modulo
// a dial of 360, 90, 45 or 30 degrees. No drawing here: the painter turns the
// model into pixels, the tests read it directly.
#include <string>
#include <vector>

#include "chart/ephemeris_series.h"

namespace novastra::chart {

struct Point {
  double x = 0, y = 0;
};

struct Rect {
  double left = 0, top = 0, width = 0, height = 0;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};

// True for the dials the chart offers: 360, 90, 45 and 30 degrees.
bool IsDial(int degrees);

struct ChartOptions {
  int dial = 360;
  std::vector<double> fixedPoints;  // degrees, e.g. natal positions
  double width = 1600;              // the whole picture, in device units
  double height = 1000;
  // The scale of text, and of the margins that hold it, against a 1600x1000
  // picture; 0: the picture's own scale (files and print). A window gives
  // the one that draws its labels at the desktop's font size.
  double textScale = 0;
};

// The scale of a picture's lines, text and margins: its size against
// 1600x1000, or the options' text scale when given.
double PictureScale(const ChartOptions& o);

// One stretch of a body's line, drawn as a polyline: cut where the reduced
// longitude wraps at the dial's edge and where the body turns (stations), so
// that each segment is either all direct or all retrograde.
struct Segment {
  int body = 0;
  bool retrograde = false;
  std::vector<Point> points;
  std::vector<double> jd;       // the instant of each point
  std::vector<double> reduced;  // the longitude modulo the dial at each point
};

struct FixedLine {
  double degrees = 0;  // as given
  double reduced = 0;  // modulo the dial
  double y = 0;
};

// Where a body's line meets a fixed point's line: a transit.
struct Crossing {
  int body = 0;
  double degrees = 0;  // the fixed point as given
  double jd = 0;
  Point at;
};

struct TimeTick {
  double jd = 0;  // 0h UT of the first day of the month
  double x = 0;
  int year = 0, month = 0;
  bool yearStart = false;  // January, or the first tick drawn
  bool labelMonth = false;
  bool labelYear = false;
};

// A day line of a short chart (a few months or less), at 0h UT; labelled
// days are spaced so that their numbers do not run together.
struct DayTick {
  double jd = 0;
  double x = 0;
  int day = 0;  // of the month
  bool label = false;
};

struct DegreeMark {
  double degrees = 0;  // 0 .. dial
  double y = 0;
  bool major = false;  // sign boundary (360 dial) or labelled degree
};

struct SignBand {
  int sign = 0;  // 1 Aries .. 12 Pisces
  double yTop = 0, yBottom = 0;
};

struct BodyEnds {
  int body = 0;
  Point first, last;
};

struct ChartModel {
  ChartOptions options;
  Rect plot;
  double jd0 = 0, jd1 = 0;
  std::vector<int> bodies;
  std::vector<Segment> segments;
  std::vector<FixedLine> fixedLines;
  std::vector<Crossing> crossings;
  std::vector<TimeTick> ticks;
  std::vector<DayTick> days;  // empty where a day is under 5 pixels wide
  std::vector<DegreeMark> marks;
  std::vector<SignBand> signs;  // 360 dial only
  std::vector<BodyEnds> ends;

  double XAt(double jd) const;
  double JdAt(double x) const;
  double YAt(double reducedDegrees) const;
  double ReducedAt(double y) const;
  // Pixel size of one degree of the dial along y, and of one day along x.
  double PixelsPerDegree() const { return plot.height / options.dial; }
  double PixelsPerDay() const { return plot.width / (jd1 - jd0); }
};

// The model of a chart over the series' whole range. An empty series or an
// unknown dial gives an empty model (no segments).
ChartModel BuildChart(const EphemerisSeries& series, const ChartOptions& options);

// The longitude modulo the dial, 0 <= r < dial.
double Reduce(double degrees, int dial);

// Index of the day nearest to jd in the series (clamped to its range).
int NearestDay(const EphemerisSeries& series, double jd);

// Calendar date of the day holding jd (Gregorian).
struct CivilDay {
  int year = 0, month = 0, day = 0;
};
CivilDay CivilFromJd(double jd);
// Julian Day of 0h UT of a Gregorian date.
double JdFromCivil(int year, int month, int day);
// "05 Jan 2009".
std::string DayText(double jd);
extern const char* const kMonthAbbrev[12];

}  // namespace novastra::chart
