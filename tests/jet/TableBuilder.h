#pragma once

#include <memory>
#include <string>

#include "tests/jet/PageBuilder.h"
#include "jet/schema/TableLayout.h"

// Builds table layouts by hand for the row and scan tests.
namespace Jet::Testing {

class TableBuilder {
 public:
  explicit TableBuilder(uint32_t definitionPage = 9) {
    definition_->definitionPage = definitionPage;
    definition_->name = std::u16string(u"Table");
  }

  TableBuilder& Fixed(std::u16string name, ColumnType type, uint16_t offset, uint16_t size) {
    ColumnLayout place;
    place.fixedOffset = offset;
    place.fixedSize = size;
    place.flags = ColumnFlag::kFixedLength;
    return Add(std::move(name), type, place);
  }

  TableBuilder& YesNo(std::u16string name) {
    ColumnLayout place;
    place.flags = ColumnFlag::kFixedLength;
    place.valueInNullMask = true;
    return Add(std::move(name), ColumnType::Boolean, place);
  }

  TableBuilder& Variable(std::u16string name, ColumnType type, uint16_t variableIndex) {
    ColumnLayout place;
    place.variable = true;
    place.variableIndex = variableIndex;
    return Add(std::move(name), type, place);
  }

  // The next column gets this number (as after deleted columns).
  TableBuilder& SkipNumbers(uint16_t count) {
    nextNumber_ = static_cast<uint16_t>(nextNumber_ + count);
    return *this;
  }

  TableBuilder& OwnedPages(uint32_t page, uint16_t slot) {
    layout_->ownedPages = RowPointer{page, slot};
    return *this;
  }

  std::shared_ptr<const TableLayout> Build() {
    layout_->definition = definition_;
    return layout_;
  }

 private:
  TableBuilder& Add(std::u16string name, ColumnType type, ColumnLayout place) {
    place.number = nextNumber_++;
    Column column;
    column.name = std::move(name);
    column.type = type;
    column.rawType = static_cast<uint8_t>(type);
    column.number = place.number;
    column.fixedLength = !place.variable;
    definition_->columns.push_back(column);
    layout_->columns.push_back(place);
    return *this;
  }

  std::shared_ptr<TableDefinition> definition_ = std::make_shared<TableDefinition>();
  std::shared_ptr<TableLayout> layout_ = std::make_shared<TableLayout>();
  uint16_t nextNumber_ = 0;
};

// A Jet4 row of variable-length values only, every one present (columns numbered from 0, the
// variable index equal to the column number).
inline Bytes Jet4VariableRow(const std::vector<Bytes>& values) {
  Bytes row;
  AppendU16(row, static_cast<uint16_t>(values.size()));
  std::vector<uint16_t> starts;
  for (const Bytes& value : values) {
    starts.push_back(static_cast<uint16_t>(row.size()));
    row.insert(row.end(), value.begin(), value.end());
  }
  starts.push_back(static_cast<uint16_t>(row.size()));  // end of the variable data
  for (size_t n = starts.size(); n-- > 0;) AppendU16(row, starts[n]);
  AppendU16(row, static_cast<uint16_t>(values.size()));
  const size_t maskSize = (values.size() + 7) / 8;
  for (size_t n = 0; n < maskSize; ++n) {
    uint8_t bits = 0;
    for (size_t bit = 0; bit < 8 && n * 8 + bit < values.size(); ++bit) bits |= uint8_t(1u << bit);
    row.push_back(bits);
  }
  return row;
}

inline Bytes Utf16(const std::u16string& text) {
  Bytes bytes;
  for (const char16_t c : text) AppendU16(bytes, c);
  return bytes;
}

}  // namespace Jet::Testing
