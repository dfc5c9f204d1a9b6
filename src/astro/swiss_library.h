#pragma once

// Exclusive use of the Swiss Ephemeris library, shared by everything in this
// layer that calls it (the precise engine, sunrise and sunset).

#include <mutex>
#include <string>

namespace velmora::astro {

// Holds the library's lock for its lifetime, with the ephemeris path set for
// this thread. The library keeps its path, open files, sidereal mode and
// cached positions in globals and is not safe to call from two threads at
// once, so every call into it happens while one of these is alive.
class SwissLibraryUse {
public:
    explicit SwissLibraryUse(const std::string& ephemerisPath);
    SwissLibraryUse(const SwissLibraryUse&) = delete;
    SwissLibraryUse& operator=(const SwissLibraryUse&) = delete;

    // One of the library's SE_SIDM_ numbers; set only when it changes.
    void UseSiderealMode(int mode);

    // swe_calc_ut of one body into result[0..5]: the error text when the
    // library failed, or fell back to its own series for want of the data
    // files; empty otherwise.
    std::string Calculate(double julianDayUt, int body, int flags, double* result) const;

private:
    std::lock_guard<std::mutex> guard_;
    const std::string& path_;
};

// What to tell the user when the library found no data files in `path` and
// would fall back to its lower-precision series.
std::string MissingEphemerisFilesMessage(const std::string& path);

}  // namespace velmora::astro
