#pragma once
// What the graphic ephemeris draws from: a run of days and, for each chosen
// body, its longitude on each day and whether it moves backward there.
#include <vector>

namespace novastra::chart {

struct BodySeries {
  int body = 0;                   // body index: 1 Sun, 2 Moon, 3 Mercury .. 10 Pluto, 11 North Node
  std::vector<double> longitude;  // degrees, 0 <= x < 360, one per day
  std::vector<bool> retrograde;   // moving backward from the previous day to this one
};

struct EphemerisSeries {
  std::vector<double> jd;  // Julian Day of each instant, ascending, evenly spaced
  std::vector<BodySeries> bodies;
  bool empty() const { return jd.size() < 2 || bodies.empty(); }
};

}  // namespace novastra::chart
