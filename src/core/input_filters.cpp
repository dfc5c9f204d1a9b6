#include "core/input_filters.h"

namespace velmora::core {

Notice OnlyNumbersNotice() { return {std::string(kOnlyNumbersMessage), MessageIcon::Critical, FormField::None}; }

Notice OnlyLettersNotice() { return {std::string(kOnlyLettersMessage), MessageIcon::Information, FormField::None}; }

std::optional<char32_t> FilterDigitKey(char32_t code) {
    if ((code >= U'0' && code <= U'9') || code == 8) return code;
    return std::nullopt;
}

std::optional<char32_t> FilterNameKey(char32_t code) {
    if (code >= U'a' && code <= U'z') return code - 32;
    if ((code >= U'A' && code <= U'Z') || code == U' ' || code == 13 || code == 8) return code;
    return std::nullopt;
}

std::optional<std::string> FilterDigitText(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return std::string(text);
}

std::optional<std::string> FilterNameText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c >= 'a' && c <= 'z') {
            out.push_back(static_cast<char>(c - 32));
        } else if ((c >= 'A' && c <= 'Z') || c == ' ') {
            out.push_back(c);
        } else {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace velmora::core
