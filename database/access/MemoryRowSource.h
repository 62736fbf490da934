#pragma once

#include <vector>

#include "database/access/AccessError.h"
#include "database/access/RowSource.h"

// Records held in memory: the rowsets a connection's schema queries give.
namespace Access {

class MemoryRowSource : public RowSource {
 public:
  struct Field {
    std::u16string name;
    int type;
  };

  MemoryRowSource(std::vector<Field> fields, std::vector<std::vector<Main::Value>> rows)
      : fields_(std::move(fields)), rows_(std::move(rows)) {}

  size_t FieldCount() const override { return fields_.size(); }
  const std::u16string& FieldName(size_t field) const override { return fields_.at(field).name; }
  int FieldType(size_t field) const override { return fields_.at(field).type; }
  bool HasRecord(size_t index) override { return index < rows_.size(); }
  size_t RecordCount() override { return rows_.size(); }
  Main::Value Value(size_t index, size_t field) override { return rows_.at(index).at(field); }
  void Write(size_t, size_t, const Main::Value&) override { RefuseWrites(); }
  void CheckText(size_t, std::u16string_view) const override { RefuseWrites(); }

 private:
  [[noreturn]] static void RefuseWrites() {
    Fail(AccessErrorNumber::kNotUpdatable, u"The schema rowset cannot be updated.", Main::ErrorCause::kReadOnly);
  }

  std::vector<Field> fields_;
  std::vector<std::vector<Main::Value>> rows_;
};

}  // namespace Access
