#include "database/access/RecordSet.h"

#include <algorithm>
#include <utility>

#include "database/access/AccessError.h"
#include "database/access/Connection.h"
#include "database/access/TableRowSource.h"
#include "jet/text/CaseFold.h"

namespace Access {

RecordSet::RecordSet() = default;
RecordSet::RecordSet(std::unique_ptr<RowSource> source) : source_(std::move(source)) {}
RecordSet::RecordSet(RecordSet&&) noexcept = default;
RecordSet& RecordSet::operator=(RecordSet&&) noexcept = default;
RecordSet::~RecordSet() = default;

// Every cursor type gives a static snapshot.
void RecordSet::Open(std::u16string_view sql, Connection& connection, int /*cursorType*/,
                     int lockType) {
  if (IsOpen()) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is open.");
  source_ = SelectSource(connection.Database(), sql);
  position_ = 0;
  readOnly_ = lockType == kLockReadOnly;
  pending_.clear();
}

void RecordSet::Close() {
  Source();
  source_.reset();
  pending_.clear();
}

RowSource& RecordSet::Source() const {
  if (!source_) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is closed.");
  return *source_;
}

bool RecordSet::Eof() { return !Source().HasRecord(position_); }

void RecordSet::MoveNext() {
  RequireCurrentRecord();
  ++position_;
  pending_.clear();
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

void RecordSet::RequireCurrentRecord() {
  if (Eof()) {
    Fail(AccessErrorNumber::kNoCurrentRecord,
         u"Either BOF or EOF is True, or the current record has been deleted. Requested "
         u"operation requires a current record.");
  }
}

Main::Value RecordSet::Value(size_t field) {
  FieldName(field);
  RequireCurrentRecord();
  return Source().Value(position_, field);
}

Main::Value RecordSet::Value(std::u16string_view fieldName) { return Value(FieldIndex(fieldName)); }

void RecordSet::SetValue(size_t field, Main::Value value) {
  FieldName(field);
  RequireCurrentRecord();
  if (readOnly_) Fail(AccessErrorNumber::kNotUpdatable, u"The record set is read-only.", Main::ErrorCause::kReadOnly);
  const auto same = std::find_if(pending_.begin(), pending_.end(), [&](const auto& set) { return set.first == field; });
  if (same != pending_.end())
    same->second = std::move(value);
  else
    pending_.emplace_back(field, std::move(value));
}

void RecordSet::Update() {
  RequireCurrentRecord();
  // The values are written in field order; they are gone afterwards, also when a write fails.
  struct ClearPending {
    std::vector<std::pair<size_t, Main::Value>>& pending;
    ~ClearPending() { pending.clear(); }
  } clear{pending_};
  std::sort(pending_.begin(), pending_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [field, value] : pending_) Source().Write(position_, field, value);
}

void RecordSet::CheckText(size_t field, std::u16string_view text) const {
  FieldName(field);
  Source().CheckText(field, text);
}

}  // namespace Access
