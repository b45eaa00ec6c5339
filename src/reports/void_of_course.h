#pragma once
// The void-of-course Moon: from the Moon's last aspect (conjunction, sextile,
// square, trine or opposition to the Sun or Mercury to Pluto, as the
// aspectarian lists them) before it leaves a sign, until its ingress into the
// next sign.
#include <vector>

#include "reports/events.h"
#include "reports/sampling.h"

namespace novastra {

struct VoidOfCourse {
  double startJD = 0;  // UT instant of the last aspect
  double endJD = 0;    // UT instant of the ingress
  int signLeft = 0;    // 1 Aries .. 12 Pisces
  int signEntered = 0;
  Event lastAspect;  // the aspect (or lunation) that starts the period
  Event ingress;     // the Moon's ingress that ends it
};

// True for an aspect or lunation of the Moon with the Sun or Mercury to Pluto.
bool IsMoonAspect(const Event& e);

// One period per Moon ingress of `events` that has a Moon aspect before it in
// the list; `events` hold every aspect and ingress of the Moon (no filtering
// choices), in time order.
std::vector<VoidOfCourse> VoidsFromEvents(const std::vector<Event>& events);

// The periods whose ingress falls on the days startJD .. startJD + dayCount - 1
// (noon Julian Days; UT days), found from the Moon's own events with a few
// days searched before the first so that its last aspect is known. Empty in
// heliocentric runs.
std::vector<VoidOfCourse> FindVoidsOfCourse(const SampleContext& sky, double startJD, int dayCount);

// The periods of a run whose events are `events` (found with `choices`):
// when the choices list every Moon aspect and ingress, only the days before
// the run are searched again; otherwise as FindVoidsOfCourse.
std::vector<VoidOfCourse> VoidsOfRun(const SampleContext& sky, const EventChoices& choices,
                                     double startJD, int dayCount,
                                     const std::vector<Event>& events);

}  // namespace novastra
