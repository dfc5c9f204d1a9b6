#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/messages.h"

namespace velmora::core {

inline constexpr std::string_view kOnlyNumbersMessage = "Only Numbers Are Accepted";
inline constexpr std::string_view kOnlyLettersMessage = "Please Enter only Letters";

// The notices the two keystroke filters show for a refused character.
Notice OnlyNumbersNotice();  // stop icon
Notice OnlyLettersNotice();  // information icon

// Keystroke filters. Each takes a character code and gives the code to let
// through (possibly changed) or nothing when the character is refused.
// Digits: 0-9 and Backspace (8) pass; everything else, Ctrl+V (22) included,
// is refused.
std::optional<char32_t> FilterDigitKey(char32_t code);
// Name: letters, blank, Enter (13) and Backspace (8) pass, lower-case letters
// become capitals; everything else is refused.
std::optional<char32_t> FilterNameKey(char32_t code);

// Text that arrives other than by a single keystroke (a paste, a drop, an
// input method, a command-line argument) must pass as a whole: every
// character a digit, or every character a letter or blank (letters turned
// into capitals). Nothing when any character is refused.
std::optional<std::string> FilterDigitText(std::string_view text);
std::optional<std::string> FilterNameText(std::string_view text);

}  // namespace velmora::core
