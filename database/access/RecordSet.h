#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Value.h"

// A record set: the records of one query, read forwards. Opened with a static cursor it is a
// snapshot — its record count is exact and the program's own writes do not change which records
// it holds.
namespace Access {

class Connection;
class RowSource;

inline constexpr int kCursorStatic = 3;
inline constexpr int kLockReadOnly = 1;
inline constexpr int kLockOptimistic = 3;

class RecordSet {
 public:
  RecordSet();
  RecordSet(RecordSet&&) noexcept;
  RecordSet& operator=(RecordSet&&) noexcept;
  ~RecordSet();

  // Opens "SELECT * FROM `t`" or "SELECT `f` FROM `t`" on an open connection. Throws for any
  // other statement, an unknown table or field, or a closed connection.
  void Open(std::u16string_view sql, Connection& connection, int cursorType = kCursorStatic,
            int lockType = kLockOptimistic);
  void Close();
  bool IsOpen() const { return source_ != nullptr; }

  // True once the current position is past the last record (at once for no records).
  bool Eof();
  void MoveNext();
  size_t RecordCount();

  size_t FieldCount() const;
  const std::u16string& FieldName(size_t field) const;
  // The field's data type, as ADO numbers it (7 for a date).
  int FieldType(size_t field) const;

  // The current record's value of a field, by position or by name (ignoring case).
  Main::Value Value(size_t field);
  Main::Value Value(std::u16string_view fieldName);

  // The write path: a new value for a field of the current record (text is converted to the
  // field's type), written to that record itself — and no other — by Update. Throws on a
  // read-only connection or record set, leaving the record as it was.
  void SetValue(size_t field, Main::Value value);
  void Update();
  // Throws what SetValue and Update would throw for this text in the field, without writing —
  // also on a read-only connection. A record that would outgrow its page is only found by Update.
  void CheckText(size_t field, std::u16string_view text) const;

  // Made by a connection for its schema rowsets.
  explicit RecordSet(std::unique_ptr<RowSource> source);

 private:
  RowSource& Source() const;
  void RequireCurrentRecord();
  size_t FieldIndex(std::u16string_view fieldName) const;

  std::unique_ptr<RowSource> source_;
  size_t position_ = 0;
  bool readOnly_ = false;
  // Values set but not yet updated, one a field; kept in a vector whose storage serves record after
  // record.
  std::vector<std::pair<size_t, Main::Value>> pending_;
};

}  // namespace Access
