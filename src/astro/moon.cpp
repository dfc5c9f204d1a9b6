#include "astro/moon.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "astro/angles.h"
#include "astro/ascendant.h"

namespace velmora::astro {

namespace {

// The Moon after Meeus, Astronomical Algorithms (1st ed., 1991), chapter 45,
// "Position of the Moon" (chapter 47 and table 47.A in the 2nd edition of
// 1998, whose mean arguments differ in the seventh decimal): the mean
// arguments L', D, M, M' and F to their linear terms, the eccentricity
// factor E = 1 - 0.002516 T - 0.0000074 T^2, and the first 25 rows of the
// table of periodic terms in longitude (45.A), their coefficients read in
// degrees (the book gives them in millionths of a degree).
//
// One periodic term: multiples of D, M, M', F, the coefficient in degrees,
// and whether it is scaled by the eccentricity factor E (once per M).
struct MoonTerm {
    signed char d, m, mp, f;
    double coefficient;
};

constexpr std::array<MoonTerm, 25> kTerms{{
    {0, 0, 1, 0, +6.288774},  {2, 0, -1, 0, +1.274027}, {2, 0, 0, 0, +0.658314},  {0, 0, 2, 0, +0.213618},
    {0, 1, 0, 0, -0.185116},  {0, 0, 0, 2, -0.114332},  {2, 0, -2, 0, +0.058793}, {2, -1, -1, 0, +0.057066},
    {2, 0, 1, 0, +0.053322},  {2, -1, 0, 0, +0.045758}, {0, 1, -1, 0, -0.040923}, {1, 0, 0, 0, -0.034720},
    {0, 1, 1, 0, -0.030383},  {2, 0, 0, -2, +0.015327}, {0, 0, 1, 2, -0.012528},  {0, 0, 1, -2, +0.010980},
    {4, 0, -1, 0, +0.010675}, {0, 0, 3, 0, +0.010034},  {4, 0, -2, 0, +0.008548}, {2, 1, -1, 0, -0.007888},
    {2, 1, 0, 0, -0.006766},  {1, 0, -1, 0, -0.005163}, {1, 1, 0, 0, +0.004987},  {2, -1, 1, 0, +0.004036},
    {2, 0, 2, 0, +0.003994},
}};

// One term's argument, D d + M m + M' m' + F f, summed in that order with
// each multiple that is zero left out: a zero multiple adds a signed zero,
// which leaves a non-zero partial sum exactly as it was (and no argument is
// all zeros), so the value is the same to the last bit as the full sum's,
// in a third of the arithmetic.
template <std::size_t K>
double ArgumentOf(double d, double m, double mp, double f) {
    constexpr MoonTerm term = kTerms[K];
    double sum = 0;
    bool started = false;
    const auto add = [&](int multiple, double angle) {
        if (multiple == 0) return;
        const double part = multiple * angle;
        sum = started ? sum + part : part;
        started = true;
    };
    add(term.d, d);
    add(term.m, m);
    add(term.mp, mp);
    add(term.f, f);
    return sum;
}

template <std::size_t K>
double TermValue(double d, double m, double mp, double f, double e) {
    constexpr MoonTerm term = kTerms[K];
    double value = term.coefficient * std::sin(ArgumentOf<K>(d, m, mp, f));
    if constexpr (term.m != 0) value *= e;
    return value;
}

template <std::size_t... K>
double PeriodicSum(double d, double m, double mp, double f, double e, std::index_sequence<K...>) {
    double sum = 0;
    ((sum += TermValue<K>(d, m, mp, f, e)), ...);
    return sum;
}

}  // namespace

double MoonTropicalLongitude(double t) {
    const double meanLongitude = 218.3164591 + 481267.88134236 * t;
    const double d = (297.8502042 + 445267.1115168 * t) * kDegToRad;
    const double m = (357.5291092 + 35999.0502909 * t) * kDegToRad;
    const double mp = (134.9634114 + 477198.8676313 * t) * kDegToRad;
    const double f = (93.2720993 + 483202.0175273 * t) * kDegToRad;
    const double e = 1 - 0.002516 * t - 0.0000074 * t * t;

    const double sum = PeriodicSum(d, m, mp, f, e, std::make_index_sequence<kTerms.size()>{});

    // Whole turns are removed by an exact remainder; the result lies in
    // [0, 360) for a negative sum and in (0, 360] for a positive one, as
    // repeated additions or subtractions of 360 would leave it.
    double lambda = meanLongitude + sum;
    if (lambda < 0) {
        lambda = RemainderOfTurns(lambda);
        if (lambda < 0) lambda += 360;
    } else if (lambda > 360) {
        lambda = RemainderOfTurns(lambda);
        if (lambda == 0) lambda = 360;
    }
    return lambda;
}

double ComputeMoon(const BirthMoment& moment) {
    const double t = CenturiesFrom2000(moment);
    double lambda = MoonTropicalLongitude(t) + MoonSiderealCorrectionAt(t);
    if (lambda < 0) lambda += 360;
    return lambda;
}

}  // namespace velmora::astro
