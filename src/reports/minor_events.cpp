#include "reports/minor_events.h"

#include <cmath>
#include <limits>

#include "astro/angles.h"
#include "astro/zodiac.h"

namespace novastra {

namespace {

double Wrap180(double x) { return x - 360 * std::round(x / 360); }

// The UT Julian Day of T (Julian centuries of UT from J2000.0).
double JulianDayOf(double T) { return 2451545.0 + T * 36525.0; }

// Where in the hour (0..1) a quantity crosses zero, from its values g0 and
// g1 at the hour's ends and g2 at x2 hours (2, the hour after, or -1, the
// hour before): the root of the parabola through the three (three-point
// interpolation, Meeus, Astronomical Algorithms, ch. 3), by Newton's
// method from the straight line's root, which it falls back to when the
// parabola leaves the hour. A straight line is minutes off where the two
// curves part slowly, as the Moon's declination near its turn beside the
// osculating Lilith's.
double CrossingInHour(double g0, double g1, double g2, double x2) {
  const double linear = g0 / (g0 - g1);
  const double c = (g2 - g0 - (g1 - g0) * x2) / (x2 * (x2 - 1));
  double x = linear;
  for (int k = 0; k < 4; ++k) {
    const double value = g0 + (g1 - g0) * x + c * x * (x - 1);
    const double slope = (g1 - g0) + c * (2 * x - 1);
    if (slope == 0) return linear;
    x -= value / slope;
  }
  return std::isfinite(x) && x >= 0 && x <= 1 ? x : linear;
}

// The chosen minor bodies as event body numbers with their sample rows.
struct Track {
  int body = 0;
  const MinorHourSamples::Row* longitude = nullptr;
  const MinorHourSamples::Row* declination = nullptr;
};

class MinorDaySearch {
 public:
  MinorDaySearch(const HourSamples& planets, const MinorHourSamples& minor,
                 const MinorChoice& choice, double dayJD, const EventChoices& choices)
      : planets_(planets), minor_(minor), dayJD_(dayJD), choices_(choices) {
    for (int k = 0; k < kMinorBodyCount; ++k)
      if (choice[k])
        tracks_.push_back({EventBodyOf(kMinorBodies[k]), &minor.longitude[k],
                           &minor.declination[k]});
  }

  std::vector<Event> Run() {
    for (size_t a = 0; a < tracks_.size(); ++a) {
      const Track& t = tracks_[a];
      Ingresses(t);
      Stations(t);
      for (int p = 1; p <= 11; ++p) {
        const Track planet{p, &planets_.first[p], &planets_.second[p]};
        Pair(t, planet);
      }
      for (size_t b = a + 1; b < tracks_.size(); ++b) Pair(t, tracks_[b]);
    }
    return std::move(events_);
  }

 private:
  Event At(EventKind kind, int body, int h, double minutes) const {
    return Event::Found(kind, body, dayJD_, h, minutes);
  }

  // The sample beside hour h's two that the parabola goes through: the
  // next hour's end, or in the day's last hour the hour before's start.
  static int ThirdSample(int h) { return h + 2 < kSamplesPerDay ? h + 2 : h - 1; }

  void Pair(const Track& a, const Track& b) {
    for (int h = 0; h + 1 < kSamplesPerDay; ++h) {
      Aspects(a, b, h);
      Parallels(a, b, h);
    }
  }

  // The separation a - b (-180..180) crossing each chosen angle during hour
  // h; 0 and 180 degrees are one target each, the others both signs. A jump
  // of 90 degrees or more between the samples is the wrap at 180, not a
  // crossing (the fastest pair, the Moon and the osculating Lilith, parts
  // by under 2 degrees an hour).
  void Aspects(const Track& a, const Track& b, int h) {
    const int third = ThirdSample(h);
    const double s0 = Wrap180((*a.longitude)[h] - (*b.longitude)[h]);
    const double s1 = Wrap180((*a.longitude)[h + 1] - (*b.longitude)[h + 1]);
    const double s2 = Wrap180((*a.longitude)[third] - (*b.longitude)[third]);
    for (int type = kConjunction; type <= kAspectTypes; ++type) {
      if ((choices_.aspects & (1u << type)) == 0) continue;
      const double angle = AspectAngle(type);
      const double targets[2] = {angle, -angle};
      const int count = angle == 0 || angle == 180 ? 1 : 2;
      for (int k = 0; k < count; ++k) {
        const double f0 = Wrap180(s0 - targets[k]), f1 = Wrap180(s1 - targets[k]);
        if ((f0 < 0) == (f1 < 0) || std::fabs(f1 - f0) >= 90) continue;
        const double f2 = f1 + Wrap180(Wrap180(s2 - targets[k]) - f1);
        const double m = 60 * CrossingInHour(f0, f1, f2, third - h);
        Event e = At(EventKind::Aspect, a.body, h, m);
        e.other = b.body;
        e.aspect = type;
        e.separation = std::fabs(Wrap180(s0 + Wrap180(s1 - s0) * m / 60));
        events_.push_back(e);
      }
    }
  }

  // Equal declinations (parallel) and opposite ones (contraparallel) during
  // hour h, counted in the hour whose end reaches them.
  void Parallels(const Track& a, const Track& b, int h) {
    const int third = ThirdSample(h);
    const auto& da = *a.declination;
    const auto& db = *b.declination;
    const double par[3] = {da[h] - db[h], da[h + 1] - db[h + 1], da[third] - db[third]};
    const double contra[3] = {da[h] + db[h], da[h + 1] + db[h + 1], da[third] + db[third]};
    for (const auto* g : {par, contra}) {
      if ((g[0] < 0) == (g[1] < 0)) continue;
      Event e = At(g == par ? EventKind::Parallel : EventKind::Contraparallel, a.body, h,
                   60 * CrossingInHour(g[0], g[1], g[2], third - h));
      e.other = b.body;
      events_.push_back(e);
    }
  }

  // Each crossing of a sign's first degree during an hour, either way; the
  // sign entered is the one the body moves into.
  void Ingresses(const Track& t) {
    const auto& lon = *t.longitude;
    for (int h = 0; h + 1 < kSamplesPerDay; ++h) {
      const int sign0 = SignOf(lon[h]), sign1 = SignOf(lon[h + 1]);
      if (sign0 == sign1) continue;
      const double step = Wrap180(lon[h + 1] - lon[h]);
      if (step == 0) continue;
      const double x1 = lon[h] + step;
      // The boundary passed: the start of the sign entered moving forward,
      // the start of the sign left moving backward.
      const double boundary = step > 0 ? 30 * std::floor(x1 / 30) : 30 * std::floor(lon[h] / 30);
      Event e = At(EventKind::Ingress, t.body, h, 60 * (boundary - lon[h]) / step);
      e.sign = SignOf(NormalizeDegrees(x1));
      events_.push_back(e);
    }
  }

  // The hours whose step goes the other way from the hour before.
  void Stations(const Track& t) {
    const auto& lon = *t.longitude;
    const size_t k = static_cast<size_t>(MinorBodyOfEvent(t.body));
    for (int h = 0; h + 1 < kSamplesPerDay; ++h) {
      if (h == 0 && !minor_.hasBefore) continue;
      const double previous = h == 0 ? minor_.before[k] : lon[h - 1];
      const double before = Wrap180(lon[h] - previous);
      const double step = Wrap180(lon[h + 1] - lon[h]);
      if ((before < 0) == (step < 0)) continue;
      Event e = At(EventKind::Station, t.body, h, 0);
      e.direction = step < 0 ? Direction::Retrograde : Direction::Direct;
      events_.push_back(e);
    }
  }

  const HourSamples& planets_;
  const MinorHourSamples& minor_;
  double dayJD_;
  const EventChoices& choices_;
  std::vector<Track> tracks_;
  std::vector<Event> events_;
};

}  // namespace

bool SampleMinorDay(const MinorTables& tables, const MinorChoice& choice, const SampleContext& ctx,
                    double dayJD, MinorHourSamples& out) {
  for (int h = -1; h < kSamplesPerDay; ++h) {
    const double T = HourT(dayJD, h);
    const auto places = ComputeMinorPlaces(tables, JulianDayOf(T), ctx.choices.sky, choice);
    const InstantSetup instant = PrepareInstantAt(T, dayJD, ctx.ayanamsa);
    for (int k = 0; k < kMinorBodyCount; ++k) {
      if (!choice[k]) continue;
      const auto& place = places[static_cast<size_t>(k)];
      if (!place) {
        if (h >= 0) return false;
        out.hasBefore = false;
        continue;
      }
      const double lon = ShiftLongitude(place->longitude, ctx.choices.zodiac, instant);
      if (h < 0) {
        out.before[k] = lon;
      } else {
        out.longitude[k][h] = lon;
        out.declination[k][h] = place->declination;
      }
    }
  }
  return true;
}

std::vector<Event> FindMinorDayEvents(const HourSamples& planets, const MinorHourSamples& minor,
                                      const MinorChoice& choice, double dayJD,
                                      const EventChoices& choices) {
  if (choices.coords == Coordinates::Heliocentric || choices.moonChangeOnly) return {};
  return MinorDaySearch(planets, minor, choice, dayJD, choices).Run();
}

double MinorLongitudeAt(const MinorTables& tables, MinorBody body, const SampleContext& ctx,
                        double T, double dayJD) {
  const auto place = ComputeMinorPlace(tables, body, JulianDayOf(T), ctx.choices.sky);
  if (!place) return std::numeric_limits<double>::quiet_NaN();
  return ShiftLongitude(place->longitude, ctx.choices.zodiac,
                        PrepareInstantAt(T, dayJD, ctx.ayanamsa));
}

std::optional<Station> RefineMinorStation(const MinorTables& tables, const SampleContext& ctx,
                                          const Event& station) {
  const MinorBody body = MinorBodyOfEvent(station.body);
  const double dayStart = station.dayJD - 0.5;
  auto longitude = [&](double jd) {
    return MinorLongitudeAt(tables, body, ctx, (jd - 2451545.0) / 36525.0, station.dayJD);
  };
  // The speed by central differences over a quarter of an hour either side
  // (exact for the parabola a longitude follows near its station).
  constexpr double kHalfStep = 0.01;
  auto speed = [&](double jd) {
    return Wrap180(longitude(jd + kHalfStep) - longitude(jd - kHalfStep)) / (2 * kHalfStep);
  };
  const double hourJD = dayStart + station.hour / 24.0;
  double a = hourJD - 1 / 24.0, b = hourJD + 1 / 24.0;
  const double sa = speed(a), sb = speed(b);
  if (!std::isfinite(sa) || !std::isfinite(sb) || (sa < 0) == (sb < 0)) return std::nullopt;
  while (b - a > 0.1 / 86400) {  // to a tenth of a second
    const double m = (a + b) / 2;
    ((speed(m) < 0) == (sa < 0) ? a : b) = m;
  }
  const auto minute = static_cast<long>(std::lround(((a + b) / 2 - dayStart) * 1440));
  const long day = minute >= 0 ? minute / 1440 : -((-minute + 1439) / 1440);
  Station s;
  s.body = station.body;
  s.direction = station.direction;
  s.dayJD = station.dayJD + static_cast<double>(day);
  const long inDay = minute - day * 1440;
  s.hour = static_cast<int>(inDay / 60);
  s.minutes = static_cast<int>(inDay % 60);
  s.jd = s.dayJD - 0.5 + static_cast<double>(inDay) / 1440;
  s.longitude = longitude(s.jd);
  return s;
}

}  // namespace novastra
