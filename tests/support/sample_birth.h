#pragma once

// The sample birth of the tests, as the input form holds it. Plain C++ with
// no library behind it, so that the tests of every front end can share it:
// core::FormInput is made from it (tests/core/form_builders.h), the window
// tests type it (tests/ui/window_fixture.h), the tool's tests pass it as
// options (tests/cli/tool_arguments.h).

#include <string>
#include <utility>

namespace velmora::testing {

// The texts of the input form: what each box holds, what each list shows
// (the month as its list position) and which option buttons are on. As
// constructed, the form as the window opens it; every member has an
// initializer, so a birth can name only what differs from that.
struct FormTexts {
    std::string Name{};
    int MonthIndex = 0;  // 0 = January
    std::string Day = "1";
    std::string Year = "1901";
    std::string Hour = "0";
    std::string Minute = "0";
    std::string Second = "0";
    int ZoneRow = 29;  // the zone list's row: 29 is Greenwich Mean Time
    bool DaylightSaving = false;
    std::string LatitudeDegrees{};
    std::string LatitudeMinutes{};
    bool South = false;
    std::string LongitudeDegrees{};
    std::string LongitudeMinutes{};
    bool East = true;
    std::string City{};
    std::string State{};
    std::string Country{};
};

// The sample birth: New Delhi, 5 January 1980, 09:05 Indian time (zone row
// 34). Capricorn rises, Jupiter is retrograde, Venus is the atmakaraka, and
// several bodies have readings. Tests change what they need. (A function,
// not a global: the globals tests build from it are then safe to initialize
// in any order.)
inline FormTexts DelhiBirth(std::string name = "ASHA") {
    return {.Name = std::move(name),
            .MonthIndex = 0,
            .Day = "5",
            .Year = "1980",
            .Hour = "9",
            .Minute = "5",
            .ZoneRow = 34,
            .LatitudeDegrees = "28",
            .LatitudeMinutes = "36",
            .LongitudeDegrees = "77",
            .LongitudeMinutes = "12",
            .City = "New Delhi",
            .State = "Delhi",
            .Country = "India"};
}

}  // namespace velmora::testing
