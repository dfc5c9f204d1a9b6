#pragma once

// Charts for the tests of the Jaimini tools and their derivations, set up by
// sign and degree in sign.

#include <array>
#include <cstddef>

namespace velmora::testing {

// Sidereal longitudes and their signs (1..12), body order, the ascendant last.
struct SignChart {
    std::array<double, 10> Longitudes{};
    std::array<int, 10> Signs{};
};

// A chart from a sign and a degree in sign for each body.
inline SignChart ChartOf(const std::array<int, 10>& signs, const std::array<double, 10>& degrees) {
    SignChart chart;
    for (std::size_t b = 0; b < 10; ++b) {
        chart.Signs[b] = signs[b];
        chart.Longitudes[b] = (signs[b] - 1) * 30.0 + degrees[b];
    }
    return chart;
}

// Every body at 10° in the given signs.
inline SignChart ChartOf(const std::array<int, 10>& signs) {
    std::array<double, 10> degrees{};
    degrees.fill(10.0);
    return ChartOf(signs, degrees);
}

}  // namespace velmora::testing
