#pragma once

#include <string>
#include <string_view>

// Conversions between the core's UTF-16 text and UTF-8 (file names, terminal output).
namespace Main {

// Malformed UTF-8 sequences become U+FFFD.
std::u16string FromUtf8(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view utf16);

}  // namespace Main
