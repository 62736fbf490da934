#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/Schema.h"
#include "jet/base/ByteReader.h"
#include "jet/file/FormatLayout.h"

// The bytes one column contributes to an index key. A key is its columns' parts concatenated in
// the index's column order; each part is a start byte (0x7F ascending, 0x80 descending) and the
// value's bytes, or a single null byte (0x00 ascending, 0xFF descending), so that comparing keys
// as unsigned bytes gives the index order. Everything inside a key is big-endian.
namespace Jet {

// Text and Memo keys take the first 255 UTF-16 units of a value.
constexpr size_t kIndexedTextUnits = 255;

// One column's value as the key encoder takes it.
struct KeyValue {
  bool null = true;
  ByteSpan stored;      // the value's bytes as a row stores them (numbers, GUID, Binary)
  std::u16string text;  // Text and Memo: the value's text (Memo: at least its first 255 units)
  bool flag = false;    // Yes/No: the value (a Yes/No column is never null in a key)
};

// Appends the part of `column`'s value to `key`. Throws kNotSupported naming the column for a type
// that has no key (OLE object, unknown types), an unsupported sort order, or a General text key
// longer than the engine reproduces; kCorrupt when `stored` is shorter than the type's size.
void AppendKeyColumn(std::vector<uint8_t>& key, const Column& column, bool ascending,
                     const KeyValue& value, const FormatLayout& format);

// Inverts the bytes of `key` from `from` on, as descending columns store their values.
void InvertKeyBytes(std::vector<uint8_t>& key, size_t from);

}  // namespace Jet
