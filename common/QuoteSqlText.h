#pragma once

#include <string>
#include <string_view>

#include "common/Value.h"

namespace Main {

// The value's text ready to stand between apostrophes in SQL: Null gives `substitute` unchanged,
// any other value its text (Value::ToText) with every apostrophe doubled.
std::u16string QuoteSqlText(const Value& value, std::u16string_view substitute);

// Every apostrophe of the text doubled.
std::u16string DoubleApostrophes(std::u16string_view text);

}  // namespace Main
