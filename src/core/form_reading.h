#pragma once

#include <variant>

#include "core/birth.h"
#include "core/engine_settings.h"
#include "core/form_input.h"
#include "core/messages.h"

namespace velmora::core {

// Either the first failed check of a form or its typed birth.
using FormReading = std::variant<Birth, Notice>;

// Reads a form once: the input window's checks in their order (the first
// one that fails is the answer, with its message and field), then the clock
// of an atlas place at that date and time (a time that never existed there
// is refused), then every entry read into the typed birth, with the engine
// settings it is to be analysed by. Nothing reads a form's texts after this.
FormReading ReadForm(const FormInput& form, const EngineSettings& settings = {});

// The birth of a reading, or null when the form was refused.
inline const Birth* BirthOf(const FormReading& reading) { return std::get_if<Birth>(&reading); }
inline const Notice* RefusalOf(const FormReading& reading) { return std::get_if<Notice>(&reading); }
// Not of a temporary: the pointer would outlive it.
const Birth* BirthOf(FormReading&&) = delete;
const Notice* RefusalOf(FormReading&&) = delete;

}  // namespace velmora::core
