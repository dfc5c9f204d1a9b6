#include "core/jaimini_texts.h"

#include <cstdio>

#include "core/text_formats.h"
#include "model/names.h"

namespace velmora::core {

std::string KarakaSchemeText(int scheme) {
    return scheme == 7 ? "7 chara karakas (no Pitrikaraka)" : "8 chara karakas (with the Pitrikaraka)";
}

std::string DegreeInSignText(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f\u00B0", degrees);
    return text;
}

std::string BodyListText(const analysis::BodyList& bodies) {
    if (bodies.Count == 0) return "-";
    std::string text;
    for (int i = 0; i < bodies.Count; ++i) {
        if (i > 0) text += ", ";
        text += kBodyNames[bodies.Bodies[static_cast<std::size_t>(i)]];
    }
    return text;
}

std::vector<std::array<std::string, 4>> KarakaRows(const analysis::CharaKarakas& karakas) {
    std::vector<std::array<std::string, 4>> rows;
    for (int i = 0; i < karakas.Count; ++i) {
        const analysis::CharaKaraka& k = karakas.Ranked[static_cast<std::size_t>(i)];
        rows.push_back({std::string(k.Name), std::string(k.Title), std::string(kBodyNames[k.Graha]),
                        DegreeInSignText(k.DegreeInSign)});
    }
    return rows;
}

std::vector<std::array<std::string, 7>> ArgalaRows(const analysis::JaiminiTools& tools) {
    std::vector<std::array<std::string, 7>> rows;
    for (const analysis::ArgalaReference& reference : tools.Argala) {
        for (const analysis::ArgalaHouse& house : reference.Houses) {
            rows.push_back({std::string(reference.From), std::string(SignNameOf(reference.Sign)),
                            std::to_string(house.House), BodyListText(house.Bodies),
                            std::to_string(house.ObstructionHouse), BodyListText(house.Obstructing),
                            std::string(analysis::ArgalaStateName(house.State))});
        }
    }
    return rows;
}

std::vector<std::array<std::string, 4>> GrahaArudhaRows(const analysis::JaiminiTools& tools) {
    std::vector<std::array<std::string, 4>> rows;
    for (const analysis::GrahaArudhaSet& set : tools.GrahaArudhas) {
        for (int i = 0; i < set.Count; ++i) {
            const analysis::GrahaArudha& arudha = set.Arudhas[static_cast<std::size_t>(i)];
            rows.push_back({std::string(kBodyNames[set.Graha]), std::string(SignNameOf(arudha.OwnSign)),
                            std::string(SignNameOf(arudha.Sign)), arudha.Moved ? "moved to the 10th" : ""});
        }
    }
    return rows;
}

std::vector<std::array<std::string, 4>> CharaPeriodRows(const analysis::CharaDashaTable& table) {
    std::vector<std::array<std::string, 4>> rows;
    for (const analysis::CharaPeriod& period : table.Periods) {
        rows.push_back({std::string(SignNameOf(period.Sign)), std::to_string(period.Years),
                        DateText(period.StartDate()), DateText(period.EndDate())});
    }
    return rows;
}

std::string CharaDirectionText(const analysis::CharaDashaTable& table) {
    return "The periods run " + std::string(analysis::DirectionName(table.Forward)) + " from " +
           std::string(SignNameOf(table.Periods[0].Sign)) + " (chara dasha as K.N. Rao teaches it).";
}

}  // namespace velmora::core
