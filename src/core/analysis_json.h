#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/pipeline.h"

namespace velmora::core {

inline constexpr int kJsonSchemaVersion = 2;

enum class JsonLayout { Indented, Compact };

// The whole analysis as one JSON object (schema 2, see docs/json.md),
// written from the typed result; the birth-time scan ("sensitivity") and the
// sky at a moment ("transits") come last, when the analysis holds them.
std::string AnalysisJson(const BirthAnalysis& analysis, JsonLayout layout = JsonLayout::Indented);

// The same object appended to `out` (no trailing newline), for callers that
// write many of them.
void AppendAnalysisJson(std::string& out, const BirthAnalysis& analysis, JsonLayout layout);

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

}  // namespace velmora::core
