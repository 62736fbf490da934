#pragma once

#include <cstddef>
#include <string>

#include "common/Value.h"

// What a record set reads its records from: a table of the database, seen as a snapshot, or rows
// held in memory (the schema rowsets).
namespace Access {

class RowSource {
 public:
  virtual ~RowSource() = default;

  virtual size_t FieldCount() const = 0;
  virtual const std::u16string& FieldName(size_t field) const = 0;
  virtual int FieldType(size_t field) const = 0;

  // True when record `index` (0-based) exists; may read ahead to find out.
  virtual bool HasRecord(size_t index) = 0;
  // The exact number of records (may read the whole source once).
  virtual size_t RecordCount() = 0;
  // The value of a field of an existing record.
  virtual Main::Value Value(size_t index, size_t field) = 0;
  // Writes a field of an existing record (text converted to the field's type).
  virtual void Write(size_t index, size_t field, const Main::Value& value) = 0;
  // Throws what writing this text to the field would throw, short of a record that would outgrow
  // its page; writes nothing.
  virtual void CheckText(size_t field, std::u16string_view text) const = 0;
};

}  // namespace Access
