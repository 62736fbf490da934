#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The number typed at "Enter Number:": recognition and conversion to a character count.
namespace Engine {

// The number the text holds: optional blanks around, an optional sign, digits with an optional
// fraction and exponent ("12", " -3.5 ", "2e1", ".5"). Nothing when the text is not a number.
std::optional<double> ParseNumberAnswer(std::u16string_view text);

// The number converted to a 16-bit count, to the nearest integer with a half going to the even
// neighbour (2.5 gives 2, 3.5 gives 4). Throws Main::Error: type mismatch for a text that is not a
// number, overflow for one outside -32768 to 32767.
int16_t ToCount(std::u16string_view text);

// True when the text is a number whose count lies in 0 to 32767: the numbers the prompt accepts.
bool IsAcceptedCount(std::u16string_view text);

}  // namespace Engine
