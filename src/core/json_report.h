#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/pipeline.h"
#include "core/time_scan.h"

namespace velmora {

inline constexpr int kJsonSchemaVersion = 2;

enum class JsonLayout { Indented, Compact };

// The whole analysis as one JSON object (schema 2, see docs/json.md),
// written from the typed result.
std::string AnalysisJson(const BirthAnalysis& analysis, JsonLayout layout = JsonLayout::Indented);

// The same object appended to `out` (no trailing newline), for callers that
// write many of them.
void AppendAnalysisJson(std::string& out, const BirthAnalysis& analysis, JsonLayout layout);

// Parts written only on request, after every other key: the birth-time scan
// ("sensitivity") and the sky at a moment ("transits"). Null leaves a key out,
// so empty extras give exactly the object above.
struct JsonExtras {
    const SensitivityScan* Sensitivity = nullptr;
    const TransitSky* Transits = nullptr;
};
std::string AnalysisJson(const BirthAnalysis& analysis, const JsonExtras& extras,
                         JsonLayout layout = JsonLayout::Indented);

// Many analyses as JSON lines, each the compact object followed by a line
// break, written one after another into one buffer (the batch's output:
// no copy of each line on its way out).
class CompactJsonLines {
public:
    CompactJsonLines();
    ~CompactJsonLines();
    CompactJsonLines(CompactJsonLines&&) noexcept;
    CompactJsonLines& operator=(CompactJsonLines&&) noexcept;

    void AppendAnalysis(const BirthAnalysis& analysis);
    // A line made elsewhere (its line break is added).
    void AppendLine(std::string_view line);
    std::string_view Text() const;
    void Clear();

private:
    struct Writer;
    std::unique_ptr<Writer> writer_;
};

// The JSON keys of the profile fields, field order.
extern const std::array<std::string_view, kProfileFieldCount> kProfileJsonKeys;

// "28:36N" and "077:12E": the coordinates as the birth file and the JSON
// input show them.
std::string LatitudeText(const BirthData& birth);
std::string LongitudeText(const BirthData& birth);

}  // namespace velmora
