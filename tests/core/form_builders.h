#pragma once

#include <string>

#include "core/form_input.h"

namespace velmora::testing {

// The form as typed for a birth in New Delhi on 5 January 1980 at 09:05
// Indian time (zone row 34): Jupiter is retrograde and several bodies have
// readings. Tests change what they need.
inline FormInput DelhiForm(std::string name = "ASHA") {
    FormInput f;
    f.Name = std::move(name);
    f.MonthIndex = 0;
    f.Day = "5";
    f.Year = "1980";
    f.Hour = "9";
    f.Minute = "5";
    f.ZoneRow = 34;
    f.LatitudeDegrees = "28";
    f.LatitudeMinutes = "36";
    f.LongitudeDegrees = "77";
    f.LongitudeMinutes = "12";
    f.City = "New Delhi";
    f.State = "Delhi";
    f.Country = "India";
    return f;
}

}  // namespace velmora::testing
