#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/row/RowDecoder.h"
#include "jet/row/ValueReader.h"
#include "jet/schema/TableLayout.h"
#include "jet/text/TextCodec.h"

// The index key of a stored row for one of its table's physical indexes: each index column's cell
// decoded as the table scan decodes it (Memo through the long-value reader) and encoded by
// AppendKeyColumn.
namespace Jet {

struct RowKey {
  std::vector<uint8_t> bytes;
  bool allNull = false;  // every column of the index is null (ignore-nulls indexes hold no entry)
  bool anyNull = false;
};

class RowKeys {
 public:
  // `codePage` is the database's code page (Jet3 text); `table` must outlive this object.
  RowKeys(const PageFile& pages, const FormatLayout& format, uint16_t codePage, const TableLayout& table);

  // The key from cells split by RowDecoder (one per column of the definition). Throws
  // kNotSupported for an index column the encoder cannot key (also Jet3 text in a code page other
  // than 1252, and a calculated column: both with the cause kFieldCannotChange, since no row of
  // the column can be keyed), kCorrupt for a column number the table does not have.
  RowKey KeyOf(const PhysicalIndexLayout& index, const std::vector<Cell>& cells) const;
  // The key of a row's bytes.
  RowKey KeyOf(const PhysicalIndexLayout& index, ByteSpan row) const;

 private:
  const FormatLayout& format_;
  const TableLayout& table_;
  bool cp1252_;  // Jet3: the text's code page is the one General 97 keys are made for
  TextCodec codec_;
  ValueReader values_;
  mutable RowDecoder decoder_;
  mutable std::vector<Cell> cells_;
};

}  // namespace Jet
