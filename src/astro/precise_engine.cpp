#include "astro/precise_engine.h"

#include <swephexp.h>

#include <cctype>
#include <cmath>
#include <initializer_list>
#include <mutex>

namespace velmora::astro {

namespace {

// 1800-01-02 0h UT and 2400-01-01 0h UT.
constexpr double kFirstDay = 2378497.5;
constexpr double kEndDay = 2597641.5;
constexpr const char* kRangeText = "1800-01-02 to 2399-12-31 (universal time)";

constexpr int32 kCalcFlags = SEFLG_SWIEPH | SEFLG_SPEED | SEFLG_SIDEREAL;

// The library keeps its ephemeris path, open files, sidereal mode and cached
// positions in globals, and is not safe to call from two threads at once:
// every call into it goes through one lock. Some builds (Debian's among them)
// make those globals thread-local instead, so a new thread starts from the
// library's defaults. A setting is therefore skipped only when both this
// thread and the process as a whole last set the same value; setting the
// path closes the open files, so it is not repeated needlessly.
struct LastSettings {
    bool PathSet = false;
    std::string Path;
    int SiderealMode = -1;
};

std::mutex gLibraryLock;
LastSettings gProcessSettings;  // guarded by gLibraryLock
thread_local LastSettings tThreadSettings;

// Where the library keeps its files per thread, a thread that used it must
// close them when it ends, or every short-lived worker leaves its ephemeris
// files open. Closing resets the library, so the next call sets the path
// and the sidereal mode again.
struct ThreadCloser {
    bool Used = false;
    ~ThreadCloser() {
        if (!Used) return;
        std::lock_guard<std::mutex> guard(gLibraryLock);
        swe_close();
        gProcessSettings = {};
    }
};
thread_local ThreadCloser tCloser;

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

std::string MissingFilesMessage(const std::string& path) {
    return "The Swiss Ephemeris data files (sepl_18.se1, semo_18.se1) were not found in \"" + path +
           "\"; install swe-basic-data or choose the folder that holds them.";
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
    std::lock_guard<std::mutex> guard(gLibraryLock);
    tCloser.Used = true;

    const std::string& path = settings.ephemerisPath;
    if (!gProcessSettings.PathSet || gProcessSettings.Path != path || !tThreadSettings.PathSet ||
        tThreadSettings.Path != path) {
        swe_set_ephe_path(path.c_str());
        for (LastSettings* last : {&gProcessSettings, &tThreadSettings}) {
            last->PathSet = true;
            last->Path = path;
        }
    }
    const int mode = SiderealModeOf(settings.ayanamsa);
    if (gProcessSettings.SiderealMode != mode || tThreadSettings.SiderealMode != mode) {
        swe_set_sid_mode(mode, 0, 0);
        gProcessSettings.SiderealMode = mode;
        tThreadSettings.SiderealMode = mode;
    }

    constexpr std::array<int32, 8> kPlanets{SE_SUN,  SE_MOON,    SE_MERCURY, SE_VENUS,
                                            SE_MARS, SE_JUPITER, SE_SATURN,  SE_MEAN_NODE};
    char serr[AS_MAXCH] = {};
    for (std::size_t i = 0; i < kPlanets.size(); ++i) {
        int32 body = kPlanets[i];
        if (body == SE_MEAN_NODE && settings.node == NodeKind::True) body = SE_TRUE_NODE;
        double xx[6] = {};
        serr[0] = '\0';
        const int32 flags = swe_calc_ut(julianDayUt, body, kCalcFlags, xx, serr);
        if (flags < 0) {
            outcome.Error = std::string("The Swiss Ephemeris failed: ") + serr;
            return outcome;
        }
        // Without its files the library quietly falls back to the Moshier
        // series; that is not the precision this engine promises.
        if ((flags & SEFLG_SWIEPH) == 0) {
            outcome.Error = MissingFilesMessage(settings.ephemerisPath);
            return outcome;
        }
        r.Longitudes[i] = Normalized(xx[0]);
        r.Speeds[i] = xx[3];
    }
    constexpr std::size_t kRahu = 7, kKetu = 8, kAscendant = 9;
    r.Longitudes[kKetu] = Normalized(r.Longitudes[kRahu] + 180.0);
    r.Speeds[kKetu] = r.Speeds[kRahu];

    // The house system does not matter for the ascendant; equal houses work
    // at every latitude.
    double cusps[13] = {};
    double ascmc[10] = {};
    if (swe_houses_ex(julianDayUt, SEFLG_SIDEREAL, latitude, longitudeEast, 'E', cusps, ascmc) < 0) {
        outcome.Error = "The Swiss Ephemeris could not compute the ascendant for this place.";
        return outcome;
    }
    r.Longitudes[kAscendant] = Normalized(ascmc[0]);
    r.Speeds[kAscendant] = 0;

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
