#pragma once

// The texts of Jaimini's tools as tables, shared by the text report, the
// printable report and the Jaimini tab: each row a list of cells.

#include <array>
#include <string>
#include <vector>

#include "analysis/jaimini.h"

namespace velmora::core {

// "8 chara karakas (with the Pitrikaraka)" or "7 chara karakas (no
// Pitrikaraka)".
std::string KarakaSchemeText(int scheme);

// A degree in sign with two decimals: "27.38°".
std::string DegreeInSignText(double degrees);

// "Sun, Moon" in body order; "-" for none.
std::string BodyListText(const analysis::BodyList& bodies);

// Karaka, its full name, the body, the degree it ranks by: "AK",
// "Atmakaraka", "Saturn", "27.38°"; rank order.
std::vector<std::array<std::string, 4>> KarakaRows(const analysis::CharaKarakas& karakas);

// From, its sign, the argala house, its bodies, the obstruction house, its
// bodies, the state: "AL", "Cancer", "2", "Sun", "12", "-", "unobstructed";
// Asc, AL, AK, each with houses 2, 4, 11, 5.
std::vector<std::array<std::string, 7>> ArgalaRows(const analysis::JaiminiTools& tools);

// Body, the owned sign, its arudha and whether the count was moved to the
// 10th: "Mars", "Aries", "Leo", "moved"; body order, owned signs ascending.
std::vector<std::array<std::string, 4>> GrahaArudhaRows(const analysis::JaiminiTools& tools);

// Sign, years, start, end (universal-time dates) of the twelve periods.
std::vector<std::array<std::string, 4>> CharaPeriodRows(const analysis::CharaDashaTable& table);

// "Periods run forward from Virgo (K.N. Rao's chara dasha)."
std::string CharaDirectionText(const analysis::CharaDashaTable& table);

}  // namespace velmora::core
