#pragma once

#include "model/birth_record.h"
#include "astro/engine_state.h"
#include "astro/time_conversion.h"

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

// Geocentric tropical ecliptic longitude of body 0..8 in degrees, [0, 360].
double BodyLongitude(int body, double dayCount);

// Third engine step: the Sun, the five planets and the nodes, and the ten
// position texts in body order. Reads the correction and the Moon and
// ascendant texts that the first two steps left.
void ComputePlanetPositions(const BirthData& birth, const ZoneOffset& zone, EngineState& state);

}  // namespace velmora::astro
