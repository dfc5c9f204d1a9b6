#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/birth.h"
#include "core/engine_settings.h"
#include "core/form_input.h"
#include "core/messages.h"

namespace velmora::core {

// A birth saved to disk: the entries of the input window as one small JSON
// object (docs/birth-file.md).

inline constexpr std::string_view kBirthFileFormat = "velmora-birth";
inline constexpr int kBirthFileVersion = 1;
// Anything longer is not a birth file; it is refused before it is parsed.
inline constexpr std::size_t kBirthFileMaxBytes = std::size_t{64} * 1024;
// Objects and arrays nest at most this deep (the birth object itself is
// one level, "place" two); deeper text is refused before it is built.
inline constexpr std::size_t kBirthFileMaxDepth = 64;
// The file name ending the front ends offer.
inline constexpr std::string_view kBirthFileSuffix = ".vbirth";

struct BirthFileContents {
    FormInput Form;
    std::optional<EngineSettings> Ephemeris;  // when the file names an engine
};

// Either the birth, or why the file was refused.
struct BirthFileReading {
    std::optional<BirthFileContents> Birth;
    std::string Error;            // one line: which key, what is wrong
    std::optional<Notice> Check;  // the input window's failed check, when that refused it
};

// The file's bytes for a birth read from a form (ReadForm). An engine is
// written when given.
std::string BirthFileText(const Birth& birth, const std::optional<EngineSettings>& ephemeris = std::nullopt);

// Reads a birth file. Unknown keys are ignored. Refused: more than
// kBirthFileMaxBytes, text that is not UTF-8 JSON, nesting deeper than
// kBirthFileMaxDepth, a key given twice in one object, a missing key, a value of
// the wrong type or shape, and a form the input window's checks refuse
// (Error is then the window's own message).
BirthFileReading ReadBirthFile(std::string_view bytes);

}  // namespace velmora::core
