#pragma once
// The aspectarian's events of Chiron, the asteroids and the two Liliths: their
// aspects to the eleven bodies and to each other, parallels and
// contraparallels of declination, sign ingresses and stations, found from
// hourly samples of the chosen bodies beside the planets' samples of the same
// day. The day's list places them after the planets' events of their minute
// (SortDayEvents), so choosing them changes no other line.
#include <array>
#include <optional>
#include <vector>

#include "astro/minor_bodies.h"
#include "reports/events.h"
#include "reports/minor_report.h"
#include "reports/sampling.h"
#include "reports/stations.h"

namespace novastra {

static_assert(kLastMinorEventBody - kFirstMinorEventBody + 1 == kMinorBodyCount);

// The event body number of a minor body (12 Chiron .. 18 Osc. Lilith) and back.
inline int EventBodyOf(MinorBody b) { return kFirstMinorEventBody + static_cast<int>(b); }
inline MinorBody MinorBodyOfEvent(int body) {
  return kMinorBodies[static_cast<size_t>(body - kFirstMinorEventBody)];
}

// One day's hourly samples of the chosen minor bodies, [body][hour 0..24]
// (24h is the next day's 0h): the longitude in the run's zodiac and the
// declination; `before` is the longitude at 23h of the day before, so that
// a station in the day's first hour is found from the day alone.
struct MinorHourSamples {
  using Row = std::array<double, 26>;  // as HourSamples' rows (the last unused)
  std::array<Row, kMinorBodyCount> longitude{};
  std::array<Row, kMinorBodyCount> declination{};
  std::array<double, kMinorBodyCount> before{};
  bool hasBefore = true;  // false on the first day the series cover
};

// Samples the chosen bodies on the day whose noon Julian Day is dayJD, in
// the sky and zodiac of ctx. False when the asteroids' series do not cover
// the whole day.
bool SampleMinorDay(const MinorTables& tables, const MinorChoice& choice, const SampleContext& ctx,
                    double dayJD, MinorHourSamples& out);

// The day's events of the chosen bodies, in the order found. Aspects (the
// types of choices.aspects) pair a minor body (first) with each of the
// eleven (`planets`, as FindDayEvents reads them) and with each chosen
// minor body after it; each is the instant the pair's separation crosses the
// aspect's angle, interpolated within its hour through three samples and
// counted in the hour whose end reaches it, so an aspect exact at a day's
// seam is listed once. Parallels and contraparallels are the crossings of equal and of
// opposite declinations. Stations are the hours whose step reverses the
// step before, to the hour as the planets' are (RefineStationEvents gives
// them their minute). Nothing for heliocentric runs or "Moon - change sign
// only".
std::vector<Event> FindMinorDayEvents(const HourSamples& planets, const MinorHourSamples& minor,
                                      const MinorChoice& choice, double dayJD,
                                      const EventChoices& choices);

// A minor body's station event (found to the hour) given the minute nearest
// the zero of its longitude speed, found by bisection within the hour either
// side of the hour found, and its longitude there; empty when the speed
// does not change sign there.
std::optional<Station> RefineMinorStation(const MinorTables& tables, const SampleContext& ctx,
                                          const Event& station);

// A minor body's longitude in the run's zodiac at T (Julian centuries of UT
// from J2000.0) on the day of dayJD; NaN outside the series.
double MinorLongitudeAt(const MinorTables& tables, MinorBody body, const SampleContext& ctx,
                        double T, double dayJD);

}  // namespace novastra
