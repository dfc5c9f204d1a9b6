#pragma once

#include <array>
#include <utility>

#include "astro/time_conversion.h"
#include "model/names.h"

namespace velmora::astro {

// Body numbers of the orbital-element table, in the order of computation.
enum OrbitBody : int {
    kOrbitMercury = 0,
    kOrbitVenus = 1,
    kOrbitEarth = 2,  // gives the Sun
    kOrbitMars = 3,
    kOrbitJupiter = 4,
    kOrbitSaturn = 5,
    kOrbitUranus = 6,
    kOrbitNeptune = 7,
    kOrbitPluto = 8,
};

// The orbits the chart computes and the body each gives, the Earth first:
// its position is shared by every body, and the Sun's is its opposite.
// Uranus, Neptune and Pluto never reach the chart.
inline constexpr std::array<std::pair<int, Body>, 6> kChartOrbits{{{kOrbitEarth, Sun},
                                                                   {kOrbitMercury, Mercury},
                                                                   {kOrbitVenus, Venus},
                                                                   {kOrbitMars, Mars},
                                                                   {kOrbitJupiter, Jupiter},
                                                                   {kOrbitSaturn, Saturn}}};

// Keplerian mean elements at one moment: the semi-major axis in AU, the
// eccentricity, and the angles in radians.
struct OrbitalElements {
    double SemiMajorAxis = 0;
    double Eccentricity = 0;
    double Inclination = 0;
    double AscendingNode = 0;
    double Perihelion = 0;
    double MeanLongitude = 0;
};

// Sets `current` to the elements of body 0..8 at d days from J2000.0 and
// returns true; any other body number leaves `current` as it was.
bool ElementsFor(int body, double dayCount, OrbitalElements& current);

// True anomaly in [0, 2pi) from the mean anomaly (radians) and eccentricity.
double TrueAnomaly(double meanAnomaly, double eccentricity);

// The general precession in longitude, in degrees, from J2000 to d days from
// it: what carries a longitude on the equinox of J2000 to the equinox of date.
double GeneralPrecessionAt(double dayCount);

// Geocentric tropical ecliptic longitude of body 0..8 in degrees, [0, 360].
double BodyLongitude(int body, double dayCount);

// The sidereal longitudes of the Sun, the five planets and the nodes at the
// moment, written into their slots of `longitudes` (body order); the Moon and
// ascendant slots are left alone. `siderealCorrection` is the ascendant's.
void ComputePlanetPositions(const BirthMoment& moment, double siderealCorrection,
                            std::array<double, kBodyCount>& longitudes);

}  // namespace velmora::astro
