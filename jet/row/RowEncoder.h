#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "common/Value.h"
#include "jet/file/FormatLayout.h"
#include "jet/schema/TableLayout.h"
#include "jet/row/ValueEncoder.h"

// Builds a whole row's bytes from a table layout and one field per column: the inverse of
// RowDecoder, for the writer (rows rebuilt on update) and the creator (new rows). The layout of
// the bytes is described in RowDecoder.cpp.
namespace Jet {

// A column's bytes exactly as the row stores them: a value kept from an existing row (a Cell's
// bytes), or for a Memo or OLE object column the 12-byte header of a long value already placed in
// long-value pages (see LongValueFormat.h).
struct StoredField {
  std::vector<uint8_t> bytes;
};

// What one column of a new row holds: a value to encode, or bytes already in stored form.
// Yes/No columns take a Value (Null is No).
using Field = std::variant<Main::Value, StoredField>;

class RowEncoder {
 public:
  // `codePage` is the code page of Jet3 text (ignored for Jet4 and ACE).
  RowEncoder(const FormatLayout& layout, const TableLayout& table, uint16_t codePage = 1252);

  // The row's bytes; `fields` is parallel to the definition's columns. A Memo or OLE object value
  // given as a Value is stored in the row itself (inline long value). Throws JetError:
  // kValueRequired for Null in a column that requires a value, kRecordTooLarge for a row longer
  // than MaxRowSize(), kNotSupported for a value in a complex or calculated column, and what
  // ValueEncoder::Encode throws.
  std::vector<uint8_t> Encode(std::span<const Field> fields) const;
  // The same for a row rebuilt after one column changed: only that column must satisfy its
  // Required property (the others keep what the row held).
  std::vector<uint8_t> EncodeChanged(std::span<const Field> fields, size_t changedColumn) const;

  // The longest row a data page takes.
  size_t MaxRowSize() const;

  const ValueEncoder& Values() const { return values_; }

 private:
  std::vector<uint8_t> EncodeRow(std::span<const Field> fields, std::optional<size_t> onlyRequired) const;
  std::vector<uint8_t> StoredBytes(size_t column, const Field& field) const;
  void AppendVariableTrailer(std::vector<uint8_t>& row, const std::vector<uint16_t>& offsets) const;
  void AppendJet3VariableTrailer(std::vector<uint8_t>& row, const std::vector<uint16_t>& offsets,
                                 size_t maskSize) const;

  const FormatLayout& layout_;
  const TableLayout& table_;
  ValueEncoder values_;
  uint16_t rowColumns_ = 0;       // the column count every row gets
  uint16_t variableEntries_ = 0;  // entries of the variable offset table
  size_t fixedPartSize_ = 0;
};

}  // namespace Jet
