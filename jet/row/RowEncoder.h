#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "common/Value.h"
#include "jet/file/FormatLayout.h"
#include "jet/row/RowDecoder.h"
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

// One column of a row being assembled, already in stored form: its bytes when `present`, Null
// otherwise; for a Yes/No column `present` is the value and the bytes are not used.
struct ColumnBytes {
  ByteSpan bytes;
  bool present = false;
};

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

  // The row of `cells` (a stored row as RowDecoder splits it, one cell per column) with column
  // `changed` holding `changedBytes` instead, into `row` (its storage reused: no allocation once
  // it and this encoder have held a row as long). Throws as EncodeChanged does.
  void EncodeReplacing(std::span<const Cell> cells, size_t changed, ColumnBytes changedBytes,
                       std::vector<uint8_t>& row) const;

  // The longest row a data page takes.
  size_t MaxRowSize() const;

  const ValueEncoder& Values() const { return values_; }

 private:
  std::vector<uint8_t> EncodeRow(std::span<const Field> fields, std::optional<size_t> onlyRequired) const;
  std::vector<uint8_t> StoredBytes(size_t column, const Field& field) const;
  // The row of columns given in stored form (column n from `column(n)`), into `row`.
  template <class ColumnAt>
  void Assemble(const ColumnAt& column, std::optional<size_t> onlyRequired, std::vector<uint8_t>& row) const;
  void AppendVariableTrailer(std::vector<uint8_t>& row) const;
  void AppendJet3VariableTrailer(std::vector<uint8_t>& row, size_t maskSize) const;

  const FormatLayout& layout_;
  const TableLayout& table_;
  ValueEncoder values_;
  uint16_t rowColumns_ = 0;       // the column count every row gets
  uint16_t variableEntries_ = 0;  // entries of the variable offset table
  size_t fixedPartSize_ = 0;
  std::vector<int> entryColumns_;  // per variable entry the column stored there, -1 for none
  // Scratch of the row being assembled, kept for the next row so that none allocates.
  mutable std::vector<uint16_t> offsets_;  // one per variable entry and one for the end
  mutable std::vector<uint8_t> mask_;
  mutable std::vector<ColumnBytes> parts_;  // per column what the row holds
};

}  // namespace Jet
