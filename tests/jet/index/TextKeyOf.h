#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/index/IndexKeyEncoder.h"

// What the key tests share: the key part of a text value of a column.
namespace Jet::Testing {

inline std::vector<uint8_t> TextKeyOf(std::u16string text, bool ascending, const Column& column,
                                      const FormatLayout& format) {
  KeyValue value;
  value.null = false;
  value.text = std::move(text);
  std::vector<uint8_t> key;
  AppendKeyColumn(key, column, ascending, value, format);
  return key;
}

}  // namespace Jet::Testing
