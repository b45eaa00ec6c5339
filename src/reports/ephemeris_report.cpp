#include "reports/ephemeris_report.h"

#include <cmath>
#include <cstdint>

#include "astro/angles.h"
#include "astro/range_engine.h"

namespace novastra {

bool IsRetrograde(double today, double yesterday) { return SignedDegrees(today - yesterday) < 0; }

EphemerisReport BuildEphemeris(const EphemerisRequest& request, const ReportControl& control) {
  EphemerisReport report;
  report.days.reserve(request.dayCount > 0 ? request.dayCount : 0);
  std::array<double, 16> previous{};
  std::vector<MinorRow> previousMinor;
  const bool minor = request.minor && AnyMinor(request.minorChoice);
  const bool local = request.localZone && !request.localZone->IsUniversal();
  // The rows are whole days apart at the run's hour: one range engine serves them.
  RangeEngine engine(*request.tables, request.engine, 2451545.0 + request.dayFraction - 0.5, 1.0,
                     64);
  for (int pass = -1; pass < request.dayCount; ++pass) {
    if (control.Cancelled()) {
      report.cancelled = true;
      break;
    }
    control.Step(pass);
    const double rowJD = pass + request.startJD;
    // A local row's instant moves with the zone's offset, so it is no longer
    // a whole number of days from the others: each is computed on its own.
    const double fraction =
        local ? request.localZone->UniversalOf(rowJD, request.dayFraction * 24.0) - (rowJD - 0.5)
              : request.dayFraction;
    const InstantSetup instant = local ? PrepareInstantAnyHour(rowJD, fraction, request.ayanamsa)
                                       : PrepareInstant(rowJD, fraction, request.ayanamsa);
    const BodyPositions positions =
        !local && rowJD == std::floor(rowJD)
            ? engine.At(static_cast<std::int64_t>(rowJD - 2451545.0), instant)
            : ComputePositions(instant, *request.tables, request.engine);
    if (pass == 0) {
      report.svp = instant.Svp;
      report.ayanamsa = instant.Ayanamsa;
      report.named = instant.Named;
    }
    if (pass >= 0) {
      EphemerisDay& day = report.days.emplace_back();
      day.rowJD = rowJD;
      day.jd = rowJD - 0.5 + fraction;
      day.siderealSeconds = instant.SiderealSeconds;
      day.positions = positions;
      for (int k = 1; k <= 11; ++k)
        day.retrograde[k] = IsRetrograde(positions.Longitude[k], previous[k]);
    }
    for (int k = 1; k <= 11; ++k) previous[k] = positions.Longitude[k];
    if (minor) {
      std::vector<MinorRow> rows =
          MinorRowsAt(*request.minor, request.minorChoice, rowJD - 0.5 + fraction, request.engine,
                      instant);
      if (pass >= 0 && rows.size() == previousMinor.size())
        for (size_t i = 0; i < rows.size(); ++i)
          rows[i].retrograde = IsRetrograde(rows[i].geo.longitude, previousMinor[i].geo.longitude);
      if (pass >= 0) report.days.back().minor = rows;
      previousMinor = std::move(rows);
    }
  }
  return report;
}

}  // namespace novastra
