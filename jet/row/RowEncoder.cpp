#include "jet/row/RowEncoder.h"

#include <algorithm>

#include "jet/base/ByteWriter.h"
#include "jet/base/Failure.h"
#include "jet/longvalue/LongValueFormat.h"
#include "jet/schema/LongValueColumn.h"

namespace Jet {
namespace {

constexpr size_t kJumpBlock = 256;
constexpr size_t kSlotBytes = 2;  // an offset of the variable table, and its count
// A data page's header and the row's slot in the offset table leave this much for one row
// (Jet4/ACE 4060, Jet3 2012 bytes).
constexpr size_t kRowReserve = 36;

}  // namespace

RowEncoder::RowEncoder(const FormatLayout& layout, const TableLayout& table, uint16_t codePage)
    : layout_(layout), table_(table), values_(layout.jet3 ? ValueEncoder(codePage) : ValueEncoder()) {
  rowColumns_ = table.maxColumns;
  variableEntries_ = table.variableColumns;
  for (const ColumnLayout& column : table.columns) {
    rowColumns_ = std::max<uint16_t>(rowColumns_, static_cast<uint16_t>(column.number + 1));
    if (column.variable)
      variableEntries_ = std::max<uint16_t>(variableEntries_, static_cast<uint16_t>(column.variableIndex + 1));
    else if (!column.valueInNullMask)
      fixedPartSize_ = std::max<size_t>(fixedPartSize_, size_t{column.fixedOffset} + column.fixedSize);
  }
  if (layout.jet3 && rowColumns_ > 255) ThrowNotSupported("A Jet3 table cannot have more than 255 columns.");
  entryColumns_.assign(variableEntries_, -1);
  for (size_t n = 0; n < table.columns.size(); ++n)
    if (table.columns[n].variable && !table.columns[n].valueInNullMask)
      entryColumns_[table.columns[n].variableIndex] = static_cast<int>(n);
}

size_t RowEncoder::MaxRowSize() const {
  return layout_.pageSize - kRowReserve;
}

std::vector<uint8_t> RowEncoder::StoredBytes(size_t column, const Field& field) const {
  if (const StoredField* stored = std::get_if<StoredField>(&field)) return stored->bytes;
  const Column& definition = table_.definition->columns[column];
  const Main::Value& value = std::get<Main::Value>(field);
  if (definition.calculated || definition.type == ColumnType::Complex)
    ThrowNotSupported("The field '" + std::string(definition.name.begin(), definition.name.end()) +
                      "' is calculated or holds attachments or several values; it cannot be written.",
                      Main::ErrorCause::kFieldCannotChange);
  std::vector<uint8_t> bytes = values_.Encode(definition, table_.columns[column], value);
  if (IsLongValue(definition.type)) return InlineLongValue(bytes);
  return bytes;
}

std::vector<uint8_t> RowEncoder::Encode(std::span<const Field> fields) const {
  return EncodeRow(fields, std::nullopt);
}

std::vector<uint8_t> RowEncoder::EncodeChanged(std::span<const Field> fields, size_t changedColumn) const {
  return EncodeRow(fields, changedColumn);
}

std::vector<uint8_t> RowEncoder::EncodeRow(std::span<const Field> fields, std::optional<size_t> onlyRequired) const {
  if (fields.size() != table_.definition->columns.size())
    ThrowNoSuchColumn();
  std::vector<std::vector<uint8_t>> encoded(fields.size());
  // Each column is encoded when the row reaches it, so that the first column at fault is named.
  const auto column = [&](size_t n) -> ColumnBytes {
    const Field& field = fields[n];
    const Main::Value* value = std::get_if<Main::Value>(&field);
    if (table_.columns[n].valueInNullMask) {
      if (value == nullptr) ThrowNotSupported("A Yes/No field takes a value, not stored bytes.");
      return ColumnBytes{{}, values_.Flag(table_.definition->columns[n], *value)};
    }
    if (value != nullptr && value->IsNull()) return ColumnBytes{};
    encoded[n] = StoredBytes(n, field);
    return ColumnBytes{encoded[n], true};
  };
  std::vector<uint8_t> row;
  Assemble(column, onlyRequired, row);
  return row;
}

void RowEncoder::EncodeReplacing(std::span<const Cell> cells, size_t changed, ColumnBytes changedBytes,
                                 std::vector<uint8_t>& row) const {
  if (cells.size() != table_.definition->columns.size() || changed >= cells.size())
    ThrowNoSuchColumn();
  const auto column = [&](size_t n) -> ColumnBytes {
    if (n == changed) return changedBytes;
    const Cell& cell = cells[n];
    if (table_.columns[n].valueInNullMask) return ColumnBytes{{}, cell.flag};
    return ColumnBytes{cell.bytes, !cell.null};
  };
  Assemble(column, changed, row);
}

template <class ColumnAt>
void RowEncoder::Assemble(const ColumnAt& column, std::optional<size_t> onlyRequired, std::vector<uint8_t>& row) const {
  const std::vector<Column>& columns = table_.definition->columns;
  const size_t countSize = layout_.rowFieldSize;
  const size_t maskSize = (size_t{rowColumns_} + 7) / 8;
  mask_.assign(maskSize, 0);
  row.assign(countSize + fixedPartSize_, 0);
  row[0] = static_cast<uint8_t>(rowColumns_);
  if (countSize == 2) row[1] = static_cast<uint8_t>(rowColumns_ >> 8);

  parts_.resize(columns.size());
  for (size_t n = 0; n < columns.size(); ++n) {
    const ColumnLayout& place = table_.columns[n];
    const ColumnBytes part = column(n);
    parts_[n] = part;
    const auto setBit = [&] { mask_[place.number / 8] |= static_cast<uint8_t>(1u << (place.number % 8)); };
    if (place.valueInNullMask) {
      if (part.present) setBit();
      continue;
    }
    if (!part.present) {
      if (!columns[n].nullable && !columns[n].autonumber && (!onlyRequired || *onlyRequired == n))
        ThrowValueRequired(u"The field '" + columns[n].name +
                           u"' cannot contain a Null value because the Required property for this field is set to True.");
      continue;
    }
    setBit();
    if (place.variable) continue;
    if (part.bytes.size() != place.fixedSize)
      ThrowNotSupported("a fixed-length value of the wrong size was given for the field '" +
                        std::string(columns[n].name.begin(), columns[n].name.end()) + "'");
    std::copy(part.bytes.begin(), part.bytes.end(), row.begin() + static_cast<ptrdiff_t>(countSize + place.fixedOffset));
  }

  if (variableEntries_ > 0) {
    // Variable values in the order of their entries; an entry without a column stays empty.
    offsets_.clear();
    for (const int entryColumn : entryColumns_) {
      if (row.size() > MaxRowSize())
        ThrowRecordTooLarge();
      offsets_.push_back(static_cast<uint16_t>(row.size()));
      if (entryColumn < 0) continue;
      const ColumnBytes& part = parts_[static_cast<size_t>(entryColumn)];
      if (part.present) row.insert(row.end(), part.bytes.begin(), part.bytes.end());
    }
    if (row.size() > MaxRowSize()) ThrowRecordTooLarge();
    offsets_.push_back(static_cast<uint16_t>(row.size()));
    if (layout_.jet3)
      AppendJet3VariableTrailer(row, maskSize);
    else
      AppendVariableTrailer(row);
  }
  row.insert(row.end(), mask_.begin(), mask_.end());
  if (row.size() > MaxRowSize()) ThrowRecordTooLarge();
}

void RowEncoder::AppendVariableTrailer(std::vector<uint8_t>& row) const {
  const std::vector<uint16_t>& offsets = offsets_;
  // The end of the data, the entries last first, then their count.
  size_t at = row.size();
  row.resize(at + kSlotBytes * (offsets.size() + 1));
  for (size_t n = offsets.size(); n-- > 0; at += kSlotBytes) PutU16(row, at, offsets[n]);
  PutU16(row, at, static_cast<uint16_t>(offsets.size() - 1));
}

void RowEncoder::AppendJet3VariableTrailer(std::vector<uint8_t>& row, size_t maskSize) const {
  const std::vector<uint16_t>& offsets = offsets_;
  const size_t entries = offsets.size() - 1;
  const size_t dataEnd = offsets.back();
  // The jump table's size depends on the row's length, which includes it.
  const size_t withoutJumps = dataEnd + offsets.size() + 1 + maskSize;
  size_t jumps = 0;
  while ((withoutJumps + jumps - 1) / kJumpBlock != jumps) jumps = (withoutJumps + jumps - 1) / kJumpBlock;
  const size_t usedJumps = dataEnd / kJumpBlock;
  if (jumps > usedJumps + 1)
    ThrowNotSupported("a Jet3 row with this many variable-length columns cannot be stored");
  for (size_t n = offsets.size(); n-- > 0;) row.push_back(static_cast<uint8_t>(offsets[n] % kJumpBlock));
  // A trailing unused jump entry, furthest from the count.
  if (jumps > usedJumps) row.push_back(0xFF);
  for (size_t jump = usedJumps; jump-- > 0;) {
    size_t first = 0;
    while (offsets[first] < (jump + 1) * kJumpBlock) ++first;
    row.push_back(static_cast<uint8_t>(first));
  }
  row.push_back(static_cast<uint8_t>(entries));
}

}  // namespace Jet
