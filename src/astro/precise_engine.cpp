#include "astro/precise_engine.h"

#include <swephexp.h>

#include <cctype>
#include <cmath>

#include "astro/swiss_library.h"

namespace velmora::astro {

namespace {

// 1800-01-02 0h UT and 2400-01-01 0h UT.
constexpr double kFirstDay = 2378497.5;
constexpr double kEndDay = 2597641.5;
constexpr const char* kRangeText = "1800-01-02 to 2399-12-31 (universal time)";

constexpr int32 kCalcFlags = SEFLG_SWIEPH | SEFLG_SPEED | SEFLG_SIDEREAL;

int SiderealModeOf(Ayanamsa ayanamsa) {
    switch (ayanamsa) {
        case Ayanamsa::Lahiri:
            return SE_SIDM_LAHIRI;
        case Ayanamsa::Raman:
            return SE_SIDM_RAMAN;
        case Ayanamsa::Krishnamurti:
            return SE_SIDM_KRISHNAMURTI;
        case Ayanamsa::FaganBradley:
            return SE_SIDM_FAGAN_BRADLEY;
        case Ayanamsa::Yukteshwar:
            return SE_SIDM_YUKTESHWAR;
        case Ayanamsa::TrueChitra:
            return SE_SIDM_TRUE_CITRA;
    }
    return SE_SIDM_LAHIRI;
}

// [0, 360), also for a tiny negative input that fmod would carry to 360.
double Normalized(double degrees) {
    double x = std::fmod(degrees, 360.0);
    if (x < 0) x += 360.0;
    if (x >= 360.0) x = 0;
    return x;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::pair<double, double> PreciseRange() { return {kFirstDay, kEndDay}; }

PreciseOutcome ComputePrecise(double julianDayUt, double latitude, double longitudeEast,
                              const PreciseSettings& settings) {
    PreciseOutcome outcome;
    if (!std::isfinite(julianDayUt) || julianDayUt < kFirstDay || julianDayUt >= kEndDay) {
        outcome.Error = std::string("The precise ephemeris covers ") + kRangeText + "; this birth lies outside it.";
        return outcome;
    }
    if (!std::isfinite(latitude) || latitude < -90 || latitude > 90) {
        outcome.Error = "The latitude must lie between 90 south and 90 north.";
        return outcome;
    }
    if (!std::isfinite(longitudeEast) || longitudeEast < -180 || longitudeEast > 180) {
        outcome.Error = "The longitude must lie between 180 west and 180 east.";
        return outcome;
    }

    PreciseResult& r = outcome.Result;
    SwissLibraryUse library(settings.ephemerisPath);
    library.UseSiderealMode(SiderealModeOf(settings.ayanamsa));

    constexpr std::array<int32, 8> kPlanets{SE_SUN,  SE_MOON,    SE_MERCURY, SE_VENUS,
                                            SE_MARS, SE_JUPITER, SE_SATURN,  SE_MEAN_NODE};
    char serr[AS_MAXCH] = {};
    for (std::size_t i = 0; i < kPlanets.size(); ++i) {
        int32 body = kPlanets[i];
        if (body == SE_MEAN_NODE && settings.node == NodeKind::True) body = SE_TRUE_NODE;
        double xx[6] = {};
        outcome.Error = library.Calculate(julianDayUt, body, kCalcFlags, xx);
        if (!outcome.Error.empty()) return outcome;
        r.Longitudes[i] = Normalized(xx[0]);
        r.Speeds[i] = xx[3];
    }
    constexpr std::size_t kRahu = 7, kKetu = 8, kAscendant = 9;
    r.Longitudes[kKetu] = Normalized(r.Longitudes[kRahu] + 180.0);
    r.Speeds[kKetu] = r.Speeds[kRahu];

    // The house system does not matter for the ascendant; equal houses work
    // at every latitude.
    // The second form of the routine also gives the ascendant's daily rate.
    double cusps[13] = {};
    double ascmc[10] = {};
    double cuspSpeeds[13] = {};
    double ascmcSpeeds[10] = {};
    serr[0] = '\0';
    if (swe_houses_ex2(julianDayUt, SEFLG_SIDEREAL, latitude, longitudeEast, 'E', cusps, ascmc, cuspSpeeds, ascmcSpeeds,
                       serr) < 0) {
        outcome.Error = "The Swiss Ephemeris could not compute the ascendant for this place.";
        return outcome;
    }
    r.Longitudes[kAscendant] = Normalized(ascmc[0]);
    r.Speeds[kAscendant] = ascmcSpeeds[0];

    double ayanamsa = 0;
    serr[0] = '\0';
    if (swe_get_ayanamsa_ex_ut(julianDayUt, SEFLG_SWIEPH, &ayanamsa, serr) < 0) {
        outcome.Error = std::string("The Swiss Ephemeris failed: ") + serr;
        return outcome;
    }
    r.AyanamsaDegrees = ayanamsa;

    for (std::size_t p = 0; p < r.Retrograde.size(); ++p) r.Retrograde[p] = r.Speeds[2 + p] < 0;

    outcome.Ok = true;
    return outcome;
}

std::string_view AyanamsaKey(Ayanamsa ayanamsa) {
    switch (ayanamsa) {
        case Ayanamsa::Lahiri:
            return "lahiri";
        case Ayanamsa::Raman:
            return "raman";
        case Ayanamsa::Krishnamurti:
            return "krishnamurti";
        case Ayanamsa::FaganBradley:
            return "fagan-bradley";
        case Ayanamsa::Yukteshwar:
            return "yukteshwar";
        case Ayanamsa::TrueChitra:
            return "true-chitra";
    }
    return "lahiri";
}

std::string_view AyanamsaDisplayName(Ayanamsa ayanamsa) {
    switch (ayanamsa) {
        case Ayanamsa::Lahiri:
            return "Lahiri";
        case Ayanamsa::Raman:
            return "Raman";
        case Ayanamsa::Krishnamurti:
            return "Krishnamurti";
        case Ayanamsa::FaganBradley:
            return "Fagan/Bradley";
        case Ayanamsa::Yukteshwar:
            return "Yukteshwar";
        case Ayanamsa::TrueChitra:
            return "True Chitra";
    }
    return "Lahiri";
}

std::optional<Ayanamsa> ParseAyanamsa(std::string_view key) {
    for (Ayanamsa a : kAllAyanamsas) {
        if (EqualsIgnoringCase(key, AyanamsaKey(a))) return a;
    }
    return std::nullopt;
}

std::string_view NodeKindKey(NodeKind node) { return node == NodeKind::True ? "true" : "mean"; }

std::string_view NodeKindDisplayName(NodeKind node) { return node == NodeKind::True ? "True node" : "Mean node"; }

std::optional<NodeKind> ParseNodeKind(std::string_view key) {
    for (NodeKind n : kAllNodeKinds) {
        if (EqualsIgnoringCase(key, NodeKindKey(n))) return n;
    }
    return std::nullopt;
}

}  // namespace velmora::astro
