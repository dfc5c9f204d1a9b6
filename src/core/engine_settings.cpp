#include "core/engine_settings.h"

#include <array>
#include <cctype>
#include <vector>

namespace velmora::core {

namespace {

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string_view EphemerisModeKey(EphemerisMode mode) {
    return mode == EphemerisMode::Precise ? "precise" : "formulas";
}

std::optional<EphemerisMode> ParseEphemerisMode(std::string_view key) {
    if (SameWord(key, "formulas")) return EphemerisMode::Formulas;
    if (SameWord(key, "precise")) return EphemerisMode::Precise;
    return std::nullopt;
}

std::string_view AyanamsaKeyOf(const EngineSettings& settings) {
    return settings.Mode == EphemerisMode::Precise ? astro::AyanamsaKey(settings.Ayanamsa) : "formula";
}

std::string_view NodeKeyOf(const EngineSettings& settings) {
    return settings.Mode == EphemerisMode::Precise ? astro::NodeKindKey(settings.Node) : "formula";
}

std::string EngineDescription(const EngineSettings& settings) {
    if (settings.Mode == EphemerisMode::Formulas) return "Formulas";
    std::string text = "Precise \xC2\xB7 ";
    text += astro::AyanamsaDisplayName(settings.Ayanamsa);
    text += " \xC2\xB7 ";
    text += settings.Node == astro::NodeKind::True ? "true node" : "mean node";
    return text;
}

const astro::PositionEngine& EngineFor(const EngineSettings& settings) {
    static const astro::FormulaEngine formulas;
    if (settings.Mode == EphemerisMode::Formulas) return formulas;
    // One engine per ayanamsa and node, made on first use.
    static const std::vector<astro::PreciseEngine> precise = [] {
        std::vector<astro::PreciseEngine> engines;
        for (astro::Ayanamsa ayanamsa : astro::kAllAyanamsas) {
            for (astro::NodeKind node : astro::kAllNodeKinds) {
                astro::PreciseSettings s;
                s.ayanamsa = ayanamsa;
                s.node = node;
                engines.emplace_back(s);
            }
        }
        return engines;
    }();
    return precise[static_cast<std::size_t>(settings.Ayanamsa) * astro::kAllNodeKinds.size() +
                   static_cast<std::size_t>(settings.Node)];
}

}  // namespace velmora::core
