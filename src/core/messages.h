#pragma once

#include <string>
#include <string_view>

#include "core/form_input.h"

namespace velmora::core {

inline constexpr std::string_view kApplicationTitle = "Velmora Arudha Lagna";

enum class MessageIcon { Critical, Information };

// One notice for the user: the text, the icon and the box to focus
// afterwards (None leaves the focus where it is).
struct Notice {
    std::string Text;
    MessageIcon Icon = MessageIcon::Information;
    FormField Focus = FormField::None;

    bool operator==(const Notice&) const = default;
};

}  // namespace velmora::core
