#pragma once

#include <optional>
#include <string>

#include "core/zones.h"

namespace velmora::core {

// A place chosen from the atlas: what the form was filled from.
struct PlacePick {
    std::string Name;
    std::string State;
    std::string Country;
    std::string TimeZone;  // IANA id, e.g. "Asia/Kolkata"
    double Latitude = 0;   // the atlas's decimal degrees, north positive
    double Longitude = 0;  // east positive

    bool operator==(const PlacePick&) const = default;
};

// The input window's entries as the user left them: the texts of the boxes,
// the shown texts of the lists and the states of the option buttons. The
// window fills it, and so does the command-line front end.
struct FormInput {
    std::string Name;               // txtName
    int MonthIndex = 0;             // cboMonth list position, 0 = January
    std::string Day = "1";          // cboDate
    std::string Year = "1901";      // cboYear
    std::string Hour = "0";         // cboHH
    std::string Minute = "0";       // cboMM
    std::string Second = "0";       // cboSS, offered but never read
    int ZoneRow = kDefaultZoneRow;  // cmbTimeZone list position
    bool DaylightSaving = false;    // chkDST
    std::string LatitudeDegrees;    // txtLatD
    std::string LatitudeMinutes;    // txtLatM
    bool South = false;             // optLat: North (false) or South (true)
    std::string LongitudeDegrees;   // txtLonD
    std::string LongitudeMinutes;   // txtLonM
    bool East = true;               // optLong: East (true) or West (false)
    std::string City;               // txtMCity
    std::string State;              // txtMState
    std::string Country;            // txtMCountry
    // An exact clock offset from universal time in minutes, east positive,
    // for a place whose offset no zone row expresses (UTC+05:45). When set,
    // it replaces the zone row and the daylight-saving box.
    std::optional<int> ExactUtcOffsetMinutes;
    // The atlas place the coordinates and zone came from, while the user
    // has not changed them by hand.
    std::optional<PlacePick> Place;

    bool operator==(const FormInput&) const = default;
};

// The boxes a failed check can send the focus to.
enum class FormField {
    None,
    Name,
    LatitudeDegrees,
    LatitudeMinutes,
    LongitudeDegrees,
    LongitudeMinutes,
    City,
    State,
    Country,
};

}  // namespace velmora::core
