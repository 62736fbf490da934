#pragma once

#include <string>
#include <string_view>

// The text transforms behind the 27 cleaning operations (module Fundamental). Each is a pure
// function of its arguments over UTF-16 code units: lengths, positions and counts are in code
// units, a space is U+0020 only, and an empty value gives the empty text whatever the other
// arguments. The character loops pump window events once per step.
namespace Fundamental {

// The character sets; membership is exact code-unit equality, without locale or categories.
inline constexpr std::u16string_view LetterChars =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
inline constexpr std::u16string_view DigitChars = u"0123456789";
inline constexpr std::u16string_view AlphanumericChars =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
inline constexpr std::u16string_view AlphanumericSpaceChars =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";

// Keeps the characters that are members of `set` (keepMembers) or that are not (!keepMembers).
std::u16string FilterCharsBySet(std::u16string_view value, std::u16string_view set, bool keepMembers);
// Like FilterCharsBySet, but each character that would be dropped becomes `replacement`.
std::u16string SubstituteCharsBySet(std::u16string_view value, std::u16string_view set,
                                    std::u16string_view replacement, bool keepMembers);

std::u16string RemoveAllSpaces(std::u16string_view value);
std::u16string RemoveLeadingSpaces(std::u16string_view value);
std::u16string RemoveTrailingSpaces(std::u16string_view value);
// Runs of spaces become one space, then the leading and trailing space go.
std::u16string RemoveExtraSpaces(std::u16string_view value);
// Each line feed and each carriage return becomes one space.
std::u16string RemoveEnters(std::u16string_view value);
std::u16string RemoveTabs(std::u16string_view value);
std::u16string RemoveAlphabet(std::u16string_view value);
std::u16string RemoveNumeric(std::u16string_view value);
std::u16string RemoveAlphanumeric(std::u16string_view value);
// Only letters and digits remain (spaces go too).
std::u16string RemoveNonAlphanumeric(std::u16string_view value);

std::u16string ReplaceAllSpaces(std::u16string_view value, std::u16string_view replacement);
// Each line feed, then each carriage return (also those the replacement brought in), becomes the
// replacement.
std::u16string ReplaceEnters(std::u16string_view value, std::u16string_view replacement);
std::u16string ReplaceTabs(std::u16string_view value, std::u16string_view replacement);
std::u16string ReplaceAlphabet(std::u16string_view value, std::u16string_view replacement);
std::u16string ReplaceNumeric(std::u16string_view value, std::u16string_view replacement);
std::u16string ReplaceAlphanumeric(std::u16string_view value, std::u16string_view replacement);
// Every character other than a letter, a digit or a space becomes the replacement.
std::u16string ReplaceNonAlphanumeric(std::u16string_view value, std::u16string_view replacement);

// Every occurrence of `find` (left to right, not overlapping) removed or replaced; an empty find
// text matches nothing.
std::u16string RemoveUserDefined(std::u16string_view value, std::u16string_view find);
std::u16string ReplaceUserDefined(std::u16string_view value, std::u16string_view find,
                                  std::u16string_view replacement);

// Marker transforms: only the first occurrence counts; an empty marker is found at position 1;
// a marker that does not occur leaves the value unchanged.
// The value from the marker on.
std::u16string RemoveTextBefore(std::u16string_view value, std::u16string_view marker);
// The replacement, then the value from the marker on.
std::u16string ReplaceTextBefore(std::u16string_view value, std::u16string_view marker,
                                 std::u16string_view replacement);
// The value up to and including the marker.
std::u16string RemoveTextAfter(std::u16string_view value, std::u16string_view marker);
// The value up to and including the marker, then the replacement.
std::u16string ReplaceTextAfter(std::u16string_view value, std::u16string_view marker,
                                 std::u16string_view replacement);

// Count transforms; a negative x behaves as 0.
// The value without its first x characters.
std::u16string RemoveFirstChars(std::u16string_view value, int x);
// The value without its last x characters.
std::u16string RemoveLastChars(std::u16string_view value, int x);
// The first x characters.
std::u16string RemoveAfterPosition(std::u16string_view value, int x);
// The value without its first x characters (the same as RemoveFirstChars).
std::u16string RemoveBeforePosition(std::u16string_view value, int x);

}  // namespace Fundamental
