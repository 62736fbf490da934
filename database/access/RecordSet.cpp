#include "database/access/RecordSet.h"

#include <numeric>
#include <variant>

#include "database/access/AccessError.h"
#include "database/access/Connection.h"
#include "database/access/Sql.h"
#include "database/access/TableRowSource.h"
#include "jet/CaseFold.h"

namespace Access {
namespace {

std::unique_ptr<RowSource> TableSource(const std::shared_ptr<Jet::Database>& database,
                                       std::u16string_view tableName,
                                       const std::u16string* fieldName) {
  auto table = database->Table(tableName);
  std::vector<size_t> columns;
  if (fieldName == nullptr) {
    columns.resize(table->columns.size());
    std::iota(columns.begin(), columns.end(), size_t{0});
  } else {
    const int column = table->FindColumn(*fieldName);
    if (column < 0) {
      Fail(AccessErrorNumber::kItemNotFound,
           u"The field '" + *fieldName + u"' does not exist in the table '" + table->name + u"'.");
    }
    columns.push_back(static_cast<size_t>(column));
  }
  return std::make_unique<TableRowSource>(database, std::move(table), std::move(columns));
}

}  // namespace

RecordSet::RecordSet() = default;
RecordSet::RecordSet(std::unique_ptr<RowSource> source) : source_(std::move(source)) {}
RecordSet::RecordSet(RecordSet&&) noexcept = default;
RecordSet& RecordSet::operator=(RecordSet&&) noexcept = default;
RecordSet::~RecordSet() = default;

void RecordSet::Open(std::u16string_view sql, Connection& connection, int /*cursorType*/,
                     int /*lockType*/) {
  if (IsOpen()) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is open.");
  const Statement statement = ParseStatement(sql);
  const auto& database = connection.Database();
  if (const auto* all = std::get_if<SelectAll>(&statement)) {
    source_ = TableSource(database, all->table, nullptr);
  } else if (const auto* one = std::get_if<SelectField>(&statement)) {
    source_ = TableSource(database, one->table, &one->field);
  } else {
    Fail(kSyntaxErrorNumber, u"The statement returns no records: " + std::u16string(sql));
  }
  position_ = 0;
}

void RecordSet::Close() {
  Source();
  source_.reset();
}

RowSource& RecordSet::Source() const {
  if (!source_) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is closed.");
  return *source_;
}

bool RecordSet::Eof() { return !Source().HasRecord(position_); }

void RecordSet::MoveNext() {
  if (Eof()) {
    Fail(AccessErrorNumber::kNoCurrentRecord,
         u"Either BOF or EOF is True, or the current record has been deleted. Requested "
         u"operation requires a current record.");
  }
  ++position_;
}

size_t RecordSet::RecordCount() { return Source().RecordCount(); }

size_t RecordSet::FieldCount() const { return Source().FieldCount(); }

const std::u16string& RecordSet::FieldName(size_t field) const {
  if (field >= FieldCount()) {
    Fail(AccessErrorNumber::kItemNotFound,
         u"Item cannot be found in the collection corresponding to the requested name or ordinal.");
  }
  return Source().FieldName(field);
}

int RecordSet::FieldType(size_t field) const {
  FieldName(field);
  return Source().FieldType(field);
}

size_t RecordSet::FieldIndex(std::u16string_view fieldName) const {
  for (size_t i = 0; i < FieldCount(); ++i) {
    if (Jet::EqualIgnoringCase(Source().FieldName(i), fieldName)) return i;
  }
  Fail(AccessErrorNumber::kItemNotFound,
       u"Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

Main::Value RecordSet::Value(size_t field) {
  FieldName(field);
  if (Eof()) {
    Fail(AccessErrorNumber::kNoCurrentRecord,
         u"Either BOF or EOF is True, or the current record has been deleted. Requested "
         u"operation requires a current record.");
  }
  return Source().Value(position_, field);
}

Main::Value RecordSet::Value(std::u16string_view fieldName) { return Value(FieldIndex(fieldName)); }

}  // namespace Access
