#include "jet/row/RowDecoder.h"

// Row layout, Jet4 and ACE:
//
//   0   2  number of columns in this row (rows keep the count they were written with)
//   2   .. fixed-length values, each at 2 + its column's fixed offset
//   ..  .. variable-length values, one after the other
//   ..  2  end of the variable data (offset from the row start)
//   ..  2n offsets of the variable values, last entry first: variable entry i at
//          row end - null mask - 4 - 2i
//   ..  2  number of variable entries (n)
//   ..  m  null mask, m = (columns + 7) / 8: bit k (least significant first) set means the column
//          with number k is not null; Yes/No values are this bit itself
//
// Jet3 rows use one byte for the column count, the offsets and the entry count, so offsets only
// reach 255. Rows of 256 bytes or more add a jump table between the offsets and the entry count:
// (row length - 1) / 256 bytes, last first, each the index of the first variable entry whose
// offset lies in the next 256-byte block (a final entry may be an unused dummy). An entry's
// offset is its byte plus 256 for each jump at or before it.
//
// A column whose number is not below the row's column count, or whose variable index is not
// below the row's entry count, was added after the row was written and is null in it.
namespace Jet {
namespace {
constexpr size_t kJumpBlock = 256;

bool MaskBit(ByteSpan mask, uint16_t number) {
  return (mask[number / 8] >> (number % 8)) & 1;
}
}  // namespace

RowDecoder::RowDecoder(const FormatLayout& layout, const TableLayout& table)
    : layout_(layout), table_(table) {}

void RowDecoder::ReadVariableOffsets(ByteSpan row, size_t nullMaskSize) {
  variableOffsets_.clear();
  if (row.size() < nullMaskSize + 2) ThrowCorrupt("a row is too short for its variable offsets");
  const size_t countAt = row.size() - nullMaskSize - 2;
  const size_t count = ReadU16(row, countAt);
  if ((count + 1) * 2 > countAt) ThrowCorrupt("a row's variable offset table does not fit the row");
  for (size_t n = 0; n <= count; ++n) variableOffsets_.push_back(ReadU16(row, countAt - 2 - 2 * n));
}

void RowDecoder::ReadJumpTableOffsets(ByteSpan row, size_t nullMaskSize) {
  variableOffsets_.clear();
  if (row.size() < nullMaskSize + 2) ThrowCorrupt("a row is too short for its variable offsets");
  const size_t countAt = row.size() - 1 - nullMaskSize;
  const size_t count = ReadU8(row, countAt);
  size_t jumps = (row.size() - 1) / kJumpBlock;
  if (jumps + count + 1 > countAt) ThrowCorrupt("a row's variable offset table does not fit the row");
  const size_t lastOffsetAt = countAt - jumps - 1;  // entry 0; entry i at lastOffsetAt - i
  if ((lastOffsetAt - count) / kJumpBlock < jumps) --jumps;  // the last jump is a dummy
  size_t jumpsUsed = 0;
  for (size_t n = 0; n <= count; ++n) {
    while (jumpsUsed < jumps && ReadU8(row, countAt - 1 - jumpsUsed) == n) ++jumpsUsed;
    variableOffsets_.push_back(
        static_cast<uint16_t>(ReadU8(row, lastOffsetAt - n) + jumpsUsed * kJumpBlock));
  }
}

void RowDecoder::Split(ByteSpan row, std::vector<Cell>& cells) {
  const size_t fieldSize = layout_.rowFieldSize;
  const size_t columnCount = fieldSize == 1 ? ReadU8(row, 0) : ReadU16(row, 0);
  const size_t nullMaskSize = (columnCount + 7) / 8;
  if (row.size() < fieldSize + nullMaskSize) ThrowCorrupt("a row is shorter than its null mask");
  const ByteSpan mask = row.last(nullMaskSize);
  const size_t dataEnd = row.size() - nullMaskSize;

  bool offsetsRead = false;
  cells.resize(table_.columns.size());
  for (size_t n = 0; n < table_.columns.size(); ++n) {
    const ColumnLayout& column = table_.columns[n];
    Cell& cell = cells[n];
    cell = Cell{};
    const bool present = column.number < columnCount && MaskBit(mask, column.number);
    if (column.valueInNullMask) {
      cell.null = false;
      cell.flag = present;
      continue;
    }
    if (!present) continue;
    if (!column.variable) {
      cell.bytes = Slice(row.first(dataEnd), fieldSize + column.fixedOffset, column.fixedSize);
      cell.null = false;
      continue;
    }
    if (!offsetsRead) {
      if (layout_.jet3)
        ReadJumpTableOffsets(row, nullMaskSize);
      else
        ReadVariableOffsets(row, nullMaskSize);
      offsetsRead = true;
    }
    if (size_t{column.variableIndex} + 1 >= variableOffsets_.size()) continue;
    const size_t start = variableOffsets_[column.variableIndex];
    const size_t end = variableOffsets_[column.variableIndex + 1];
    if (end < start) ThrowCorrupt("a variable-length value of a row ends before it starts");
    cell.bytes = Slice(row.first(dataEnd), start, end - start);
    cell.null = false;
  }
}

}  // namespace Jet
