#include "astro/ephemeris.h"

#include <array>
#include <cmath>

#include "astro/angles.h"

namespace velmora::astro {

namespace {

// E. M. Standish (JPL Solar System Dynamics), "Keplerian Elements for
// Approximate Positions of the Major Planets", table 1: mean ecliptic and
// equinox of J2000, fit for 1800-2050, in the table's earlier form with the
// angular rates in arcseconds per Julian century. Rows: Mercury, Venus,
// Earth-Moon barycentre (gives the Sun), Mars, Jupiter, Saturn, Uranus,
// Neptune, Pluto; columns a, e, i, node, perihelion, mean longitude, each
// as its J2000 value and its rate.
struct ElementRow {
    double a0, a1, e0, e1, i0, i1, node0, node1, peri0, peri1, l0, l1;
};

constexpr std::array<ElementRow, 9> kElements{{
    {0.38709893, +0.00000066, 0.20563069, +0.00002527, 7.00487, -23.51, 48.33167, -446.30, 77.45645, +573.57, 252.25084,
     +538101628.29},
    {0.72333199, +0.00000092, 0.00677323, -0.00004938, 3.39471, -2.86, 76.68069, -996.89, 131.53298, -108.80, 181.97973,
     +210664136.06},
    {1.00000011, -0.00000005, 0.01671022, -0.00003804, 0.00005, -46.94, -11.26064, -18228.25, 102.94719, +1198.28,
     100.46435, +129597740.63},
    {1.52366231, -0.00007221, 0.09341233, +0.00011902, 1.85061, -25.47, 49.57854, -1020.19, 336.04084, +1560.78,
     355.45332, +68905103.78},
    {5.20336301, +0.00060737, 0.04839266, -0.00012880, 1.30530, -4.15, 100.55615, +1217.17, 14.75385, +839.93, 34.40438,
     +10925078.35},
    {9.53707032, -0.00301530, 0.05415060, -0.00036762, 2.48446, +6.11, 113.71504, -1591.05, 92.43194, -1948.89,
     49.94432, +4401052.95},
    {19.19126393, +0.00152025, 0.04716771, -0.00019150, 0.76986, -2.09, 74.22988, -1681.40, 170.96424, +1312.56,
     313.23218, +1542547.79},
    {30.06896348, -0.00125196, 0.00858587, +0.00002510, 1.76917, -3.64, 131.72169, -151.25, 44.97135, -844.43,
     304.88003, +786449.21},
    {39.48168677, -0.00076912, 0.24880766, +0.00006465, 17.14175, +11.07, 110.30347, -37.33, 224.06676, -132.25,
     238.92881, +522747.90},
}};

double Angle(double base, double ratePerCentury, double t) { return (base + ratePerCentury * t / 3600) * kDegToRad; }

// Heliocentric ecliptic x and y of a body in AU.
struct Plane {
    double x, y;
};

// The position from the elements and the true anomaly already solved.
Plane HeliocentricPosition(const OrbitalElements& el, double nu) {
    const double e = el.Eccentricity;
    const double r = el.SemiMajorAxis * (1 - e * e) / (1 + e * std::cos(nu));
    const double u = nu + el.Perihelion - el.AscendingNode;
    const double cosNode = std::cos(el.AscendingNode), sinNode = std::sin(el.AscendingNode);
    const double cosU = std::cos(u), sinU = std::sin(u);
    const double cosI = std::cos(el.Inclination);
    return {r * (cosNode * cosU - sinU * sinNode * cosI), r * (sinNode * cosU + sinU * cosNode * cosI)};
}

Plane EarthPosition(const OrbitalElements& earth, double nu) {
    const double e = earth.Eccentricity;
    const double r = earth.SemiMajorAxis * (1 - e * e) / (1 + e * std::cos(nu));
    return {r * std::cos(earth.Perihelion + nu), r * std::sin(earth.Perihelion + nu)};
}

double MeanAnomalyOf(const OrbitalElements& el) { return ReduceRadians(el.MeanLongitude - el.Perihelion); }

// The geocentric longitude in degrees of a body at heliocentric p ({0, 0}
// for the Sun: its geocentric vector is the negated Earth vector).
double GeocentricLongitude(const Plane& p, const Plane& earth) {
    double lambda = PolarAngle(p.y - earth.y, p.x - earth.x) * (180 / kPi);
    while (lambda > 360) lambda -= 360;
    while (lambda < 0) lambda += 360;
    return lambda;
}

// Sidereal longitude: the tropical one less the ayanamsa, kept non-negative.
double Sidereal(double tropical, double ayanamsa) {
    double lambda = tropical - ayanamsa;
    while (lambda < 0) lambda += 360;
    return lambda;
}

}  // namespace

// The general precession in longitude from J2000, in degrees: the IAU 1976
// expression of Lieske et al. (1977), 5029.0966" T + 1.11113" T^2 -
// 0.000006" T^3 (T in Julian centuries), as in Meeus, Astronomical
// Algorithms (2nd ed.), chapter 21.
double GeneralPrecessionAt(double dayCount) {
    const double t = dayCount / 36525;
    return (5029.0966 * t + 1.11113 * t * t - 0.000006 * t * t * t) / 3600;
}

bool ElementsFor(int body, double dayCount, OrbitalElements& current) {
    if (body < 0 || body > 8) return false;
    const ElementRow& row = kElements[static_cast<std::size_t>(body)];
    const double t = dayCount / 36525;
    current.SemiMajorAxis = row.a0 + row.a1 * t;
    current.Eccentricity = row.e0 + row.e1 * t;
    current.Inclination = Angle(row.i0, row.i1, t);
    current.AscendingNode = Angle(row.node0, row.node1, t);
    current.Perihelion = Angle(row.peri0, row.peri1, t);
    current.MeanLongitude = Angle(row.l0, row.l1, t);
    return true;
}

namespace {

// Kepler's equation E - e sin E = M solved by Newton's method from the
// second-order starting value E = M + e sin M (1 + e cos M), then the true
// anomaly from tan(v/2) = sqrt((1+e)/(1-e)) tan(E/2): Meeus, Astronomical
// Algorithms (2nd ed.), chapter 30, "Equation of Kepler".
//
// Several orbits are solved in step: each takes exactly the steps it would
// take alone and stops at its own tolerance, so every value is the same to
// the last bit, but the orbits' independent sines and cosines overlap in the
// processor instead of each waiting for the one before.
template <std::size_t N>
void TrueAnomalies(const std::array<double, N>& meanAnomaly, const std::array<double, N>& e,
                   std::array<double, N>& nu) {
    std::array<double, N> eccentric;
    for (std::size_t k = 0; k < N; ++k)
        eccentric[k] = meanAnomaly[k] + e[k] * std::sin(meanAnomaly[k]) * (1 + e[k] * std::cos(meanAnomaly[k]));
    // Newton's method converges in a handful of steps for these
    // eccentricities; the bound only stops a runaway on a non-finite input.
    std::array<bool, N> solved{};
    for (int step = 0; step < 100; ++step) {
        bool all = true;
        for (std::size_t k = 0; k < N; ++k) {
            if (solved[k]) continue;
            const double previous = eccentric[k];
            eccentric[k] =
                previous - (previous - e[k] * std::sin(previous) - meanAnomaly[k]) / (1 - e[k] * std::cos(previous));
            solved[k] = std::fabs(previous - eccentric[k]) <= 1e-12;
            all = all && solved[k];
        }
        if (all) break;
    }
    for (std::size_t k = 0; k < N; ++k) {
        nu[k] = 2 * std::atan(std::sqrt((1 + e[k]) / (1 - e[k])) * std::tan(eccentric[k] / 2));
        if (nu[k] < 0) nu[k] += kTwoPi;
    }
}

}  // namespace

double TrueAnomaly(double meanAnomaly, double e) {
    std::array<double, 1> nu{};
    TrueAnomalies<1>({meanAnomaly}, {e}, nu);
    return nu[0];
}

double BodyLongitude(int body, double dayCount) {
    OrbitalElements el;
    OrbitalElements earth;
    ElementsFor(body, dayCount, el);
    ElementsFor(kOrbitEarth, dayCount, earth);
    const Plane earthAt = EarthPosition(earth, TrueAnomaly(MeanAnomalyOf(earth), earth.Eccentricity));
    Plane p{0, 0};
    if (body != kOrbitEarth) p = HeliocentricPosition(el, TrueAnomaly(MeanAnomalyOf(el), el.Eccentricity));
    return GeocentricLongitude(p, earthAt);
}

void ComputePlanetPositions(const BirthMoment& moment, double siderealCorrection,
                            std::array<double, kBodyCount>& longitudes) {
    const ClockReading ut = UniversalCalendarTime(moment);
    const double d = DayCount2000(ut.Year, ut.Month, ut.Day, ut.Hour, ut.Minute);
    const double ayanamsa = std::fabs(siderealCorrection);

    constexpr std::size_t kOrbits = kChartOrbits.size();
    std::array<OrbitalElements, kOrbits> elements;
    std::array<double, kOrbits> meanAnomaly{}, eccentricity{}, trueAnomaly{};
    for (std::size_t k = 0; k < kOrbits; ++k) {
        ElementsFor(kChartOrbits[k].first, d, elements[k]);
        meanAnomaly[k] = MeanAnomalyOf(elements[k]);
        eccentricity[k] = elements[k].Eccentricity;
    }
    TrueAnomalies(meanAnomaly, eccentricity, trueAnomaly);
    const Plane earth = EarthPosition(elements[0], trueAnomaly[0]);

    // The elements give longitudes on the fixed equinox of J2000, while the
    // sidereal correction is measured from the equinox of date: carry them
    // to the equinox of date first.
    const double precession = GeneralPrecessionAt(d);
    for (std::size_t k = 0; k < kOrbits; ++k) {
        const Plane p = k == 0 ? Plane{0, 0} : HeliocentricPosition(elements[k], trueAnomaly[k]);
        longitudes[kChartOrbits[k].second] = Sidereal(GeocentricLongitude(p, earth) + precession, ayanamsa);
    }

    // Mean ascending node of the Moon, N = 125.1228 - 0.0529538083 d degrees,
    // from the Moon's elements in Paul Schlyter's "How to compute planetary
    // positions" (his d counts from 1999 December 31 at 0h, this one from
    // J2000.0: the node moves 0.08 degrees in those 1.5 days, kept as the
    // charts have always had it). The conversion back to degrees divides
    // by 3.1416 and the node is set back by one degree, as the charts this
    // program reproduces have always been drawn.
    const double node = ReduceRadians((125.1228 - 0.0529538083 * d) * kDegToRad);
    double rahu = node * 180 / 3.1416 - 1 - ayanamsa;
    while (rahu < 0) rahu += 360;
    double ketu = rahu + 180;
    while (ketu > 360) ketu -= 360;
    longitudes[Rahu] = rahu;
    longitudes[Ketu] = ketu;
}

}  // namespace velmora::astro
