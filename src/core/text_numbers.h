#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::core {

// Reads a text as a 16-bit whole number: blanks around it are ignored, a
// fractional value is rounded to the nearest integer (halves to the even
// neighbour); a text that is not a number, or lies outside -32768..32767,
// gives nothing.
std::optional<std::int16_t> ParseInt16(std::string_view text);

// Reads a text as a number, blanks around it ignored; nothing when the whole
// text is not one number.
std::optional<double> ParseNumber(std::string_view text);

// The number at the start of a text, as far as it reads as one; 0 when the
// text does not start with a number. Leading blanks are skipped.
double LeadingNumber(std::string_view text);

// The one reading of a form entry that passed its check: the number the
// text starts with, to the nearest whole (halves to the even neighbour); 0
// when it does not start with a number or lies outside -32768..32767. The
// degree checks judge the same leading number, so "28x" reads as 28 as it
// passed; every other entry passes only as a whole number.
int EntryNumber(std::string_view text);
// The same for a number already read from its text (LeadingNumber's value).
int EntryNumberOf(double number);

// The text between double quotes, for messages that name a value; one
// longer than 80 bytes is cut to its first 79 or fewer (whole characters)
// and "…" marks the cut.
std::string Quoted(std::string_view text);

// The text without its leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

}  // namespace velmora::core
