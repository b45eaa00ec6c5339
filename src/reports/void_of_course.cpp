#include "reports/void_of_course.h"

#include <algorithm>

#include "reports/aspectarian_report.h"

namespace novastra {

namespace {

constexpr int kSunBody = 1, kMoonBody = 2, kPlutoBody = 10;
// The Moon stays in a sign at most about 2.7 days; four days before the first
// ingress are enough to hold its last aspect in the sign before.
constexpr int kLookBackDays = 4;

}  // namespace

bool IsMoonAspect(const Event& e) {
  if (e.kind != EventKind::Aspect && e.kind != EventKind::Lunation) return false;
  if (!IsMajorAspect(e.aspect)) return false;  // the minor aspects do not end a void
  if (e.body != kMoonBody && e.other != kMoonBody) return false;
  const int partner = e.body == kMoonBody ? e.other : e.body;
  return partner >= kSunBody && partner <= kPlutoBody && partner != kMoonBody;
}

std::vector<VoidOfCourse> VoidsFromEvents(const std::vector<Event>& events) {
  // The lists order a day by hour and shown minute, and an interpolated
  // minute may fall outside its hour: order the Moon's aspects by instant.
  std::vector<const Event*> aspects;
  for (const Event& e : events)
    if (IsMoonAspect(e)) aspects.push_back(&e);
  std::stable_sort(aspects.begin(), aspects.end(),
                   [](const Event* x, const Event* y) { return x->jd < y->jd; });
  std::vector<VoidOfCourse> out;
  for (const Event& e : events) {
    if (e.kind != EventKind::Ingress || e.body != kMoonBody) continue;
    const auto after = std::upper_bound(aspects.begin(), aspects.end(), e.jd,
                                        [](double jd, const Event* x) { return jd < x->jd; });
    if (after == aspects.begin()) continue;
    const Event& last = **(after - 1);
    VoidOfCourse v;
    v.startJD = last.jd;
    v.endJD = e.jd;
    v.signEntered = e.sign;
    v.signLeft = e.sign == 1 ? 12 : e.sign - 1;
    v.lastAspect = last;
    v.ingress = e;
    out.push_back(v);
  }
  return out;
}

std::vector<VoidOfCourse> FindVoidsOfCourse(const SampleContext& sky, double startJD,
                                            int dayCount) {
  if (sky.coords == Coordinates::Heliocentric || dayCount <= 0) return {};
  AspectarianRequest request;
  request.sky = sky;
  request.choices.coords = sky.coords;  // every event, no filtering choice
  request.startJD = startJD - kLookBackDays;
  request.dayCount = dayCount + kLookBackDays;
  request.findVoids = false;
  const AspectarianReport report = BuildAspectarian(request);
  std::vector<VoidOfCourse> voids = VoidsFromEvents(report.events);
  std::erase_if(voids, [&](const VoidOfCourse& v) { return v.ingress.dayJD < startJD; });
  return voids;
}

std::vector<VoidOfCourse> VoidsOfRun(const SampleContext& sky, const EventChoices& choices,
                                     double startJD, int dayCount,
                                     const std::vector<Event>& events) {
  if (sky.coords == Coordinates::Heliocentric || dayCount <= 0) return {};
  const bool everyMoonEvent = !choices.moonChangeOnly &&
                              choices.moonSign == MoonChangeSign::Display && choices.option12 == 0 &&
                              (choices.aspects & kMajorAspects) == kMajorAspects;
  if (!everyMoonEvent) return FindVoidsOfCourse(sky, startJD, dayCount);
  AspectarianRequest before;
  before.sky = sky;
  before.choices.coords = sky.coords;
  before.startJD = startJD - kLookBackDays;
  before.dayCount = kLookBackDays;
  before.findVoids = false;
  std::vector<Event> all = BuildAspectarian(before).events;
  all.insert(all.end(), events.begin(), events.end());
  std::vector<VoidOfCourse> voids = VoidsFromEvents(all);
  std::erase_if(voids, [&](const VoidOfCourse& v) { return v.ingress.dayJD < startJD; });
  return voids;
}

}  // namespace novastra
