#pragma once

#include <string_view>

#include "core/precise_check.h"
#include "model/names.h"

namespace velmora::core {

// "precisePlacement": the formula positions checked against the precise
// ephemeris (docs/json.md). Written by any rapidjson-style writer.
template <class W>
void WritePrecisePlacement(W& w, const PreciseCheck& check) {
    auto key = [&w](std::string_view k) { w.Key(k.data(), static_cast<unsigned>(k.size())); };
    auto text = [&w](std::string_view s) { w.String(s.data(), static_cast<unsigned>(s.size())); };
    key("precisePlacement");
    w.StartObject();
    key("checked");
    w.Bool(check.Ran);
    if (!check.Ran) {
        key("error");
        text(check.Error);
    }
    key("differing");
    w.StartArray();
    for (const PrecisePlacement& p : check.Differing) {
        w.StartObject();
        key("body");
        text(kBodyNames[p.Which]);
        key("formulaSign");
        w.Int(p.FormulaSign);
        key("preciseSign");
        w.Int(p.PreciseSign);
        key("preciseLongitude");
        w.Double(p.PreciseLongitude);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

}  // namespace velmora::core
