#include "astro/swiss_library.h"

#include <swephexp.h>

#include <initializer_list>

namespace velmora::astro {

namespace {

// Some builds of the library (Debian's among them) make its globals
// thread-local, so a new thread starts from the library's defaults. A setting
// is therefore skipped only when both this thread and the process as a whole
// last set the same value; setting the path closes the open files, so it is
// not repeated needlessly.
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

}  // namespace

SwissLibraryUse::SwissLibraryUse(const std::string& path) : guard_(gLibraryLock), path_(path) {
    tCloser.Used = true;
    if (!gProcessSettings.PathSet || gProcessSettings.Path != path || !tThreadSettings.PathSet ||
        tThreadSettings.Path != path) {
        swe_set_ephe_path(path.c_str());
        for (LastSettings* last : {&gProcessSettings, &tThreadSettings}) {
            last->PathSet = true;
            last->Path = path;
        }
    }
}

void SwissLibraryUse::UseSiderealMode(int mode) {
    if (gProcessSettings.SiderealMode != mode || tThreadSettings.SiderealMode != mode) {
        swe_set_sid_mode(mode, 0, 0);
        gProcessSettings.SiderealMode = mode;
        tThreadSettings.SiderealMode = mode;
    }
}

std::string SwissLibraryUse::Calculate(double julianDayUt, int body, int flags, double* result) const {
    char serr[AS_MAXCH] = {};
    const int32 returned = swe_calc_ut(julianDayUt, body, flags, result, serr);
    if (returned < 0) return std::string("The Swiss Ephemeris failed: ") + serr;
    // Without its files the library quietly falls back to the Moshier
    // series; that is not the precision promised.
    if ((flags & SEFLG_SWIEPH) != 0 && (returned & SEFLG_SWIEPH) == 0) return MissingEphemerisFilesMessage(path_);
    return {};
}

std::string MissingEphemerisFilesMessage(const std::string& path) {
    return "The Swiss Ephemeris data files (sepl_18.se1, semo_18.se1) were not found in \"" + path +
           "\"; install swe-basic-data or choose the folder that holds them.";
}

}  // namespace velmora::astro
