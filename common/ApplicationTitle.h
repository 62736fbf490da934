#pragma once

#include <string>
#include <string_view>

// The application title: the title of every message box and input box that has none of its own.
namespace Main {

// Sets the title from the product name, once at start-up.
void SetApplicationTitle();

// The title set by SetApplicationTitle (the product name before it is set).
const std::u16string& ApplicationTitle();

// The title made from a name: the name is cut at its last blank (the blank and all after it go),
// again and again while more than 40 characters remain. A name without a blank is kept whole, and
// cutting stops when no blank is left.
std::u16string TitleFromName(std::u16string_view name);

}  // namespace Main
