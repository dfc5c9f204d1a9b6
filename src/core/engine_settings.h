#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "astro/engine.h"
#include "astro/precise_engine.h"

namespace velmora::core {

// Which engine computes the positions: the program's own formulas (the
// default) or the Swiss Ephemeris with a chosen ayanamsa and node.
enum class EphemerisMode { Formulas, Precise };

struct EngineSettings {
    EphemerisMode Mode = EphemerisMode::Formulas;
    astro::Ayanamsa Ayanamsa = astro::Ayanamsa::Lahiri;
    astro::NodeKind Node = astro::NodeKind::Mean;

    bool operator==(const EngineSettings&) const = default;
};

// "formulas" or "precise".
std::string_view EphemerisModeKey(EphemerisMode mode);
std::optional<EphemerisMode> ParseEphemerisMode(std::string_view key);

// The keys JSON reports: the formulas have their own correction and node, so
// they report "formula" for both.
std::string_view AyanamsaKeyOf(const EngineSettings& settings);
std::string_view NodeKeyOf(const EngineSettings& settings);

// What the result window says ran: "Formulas" or "Precise · Lahiri · mean node".
std::string EngineDescription(const EngineSettings& settings);

// The engine for these settings (one shared instance per choice, safe to use
// from several threads).
const astro::PositionEngine& EngineFor(const EngineSettings& settings);

}  // namespace velmora::core
