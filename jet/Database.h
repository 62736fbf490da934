#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "jet/RowCursor.h"
#include "jet/Schema.h"

// The Access file engine's public face: open a Jet3, Jet4 or ACE file, list its catalogue, read
// table definitions and scan rows. Everything else under jet/ is the engine's own business.
// Every failure is a Jet::JetError (a Main::Error with a number and a description).
namespace Jet {

class Database {
 public:
  // Opens read-only. Throws JetError for a missing, unreadable, empty, truncated or foreign file,
  // a wrong or missing password (an encrypted .accdb file's keys are made from it), or an
  // encrypted .accdb file of a scheme the engine does not decrypt.
  static std::unique_ptr<Database> Open(const std::filesystem::path& file,
                                        const OpenOptions& options = {});
  virtual ~Database() = default;

  virtual const DatabaseInfo& Info() const = 0;

  // The tables rowset, ordered by type and then by name, ignoring case.
  virtual std::vector<CatalogEntry> TablesRowset() const = 0;

  // The definition of the table with this name (ignoring case); throws JetError when none.
  virtual std::shared_ptr<const TableDefinition> Table(std::u16string_view name) const = 0;

  // A cursor over the table's rows in the order Access returns them without ORDER BY. It reads
  // pages only as it reaches them.
  virtual std::unique_ptr<RowCursor> Scan(std::shared_ptr<const TableDefinition> table) const = 0;

  // The values of one row, in column order.
  virtual std::vector<Main::Value> ReadRow(const TableDefinition& table, RowId id) const = 0;
  // The value of one column (a position in the definition's columns) of one row; only that
  // column's value is read.
  virtual Main::Value ReadValue(const TableDefinition& table, RowId id, size_t column) const {
    return ReadRow(table, id).at(column);
  }

  // Writing. A database opened without readWrite (or closed) refuses every change with JetError
  // kReadOnly.
  virtual bool IsWritable() const { return false; }
  // Why a database opened for writing takes no change although its file could be written (an
  // encrypted file whose data integrity check the engine cannot keep valid); empty otherwise.
  virtual std::u16string WriteRefusal() const { return {}; }

  // Sets `column` (a position in the definition's columns) of the row with this identity (from
  // RowCursor::Id) to `value`, converting between number kinds as Access does. Throws JetError,
  // with the row and the file unchanged: kFieldTooSmall for text longer than the field,
  // kTypeMismatch / kOverflow (Main::ErrorNumber) for a value the column cannot take,
  // kValueRequired for Null where the field requires a value, kNotSupported for a field that is
  // part of an index (naming field and index), an AutoNumber, calculated or complex field,
  // kRecordTooLarge for a row that would not fit a page, kRecordDeleted for a deleted row.
  // Each refusal carries its cause (Main::ErrorCause): kFieldCannotChange where no row of the
  // column can be written, kReadOnly, or one of the row's own (kRecordValue, kRecordStorage —
  // the latter also for kNotSupported when a long value reaches 1 GB or a usage map cannot
  // record a page the row needs).
  // The row may move to another page; its identity stays the same. Before the first change of a
  // table in a session, copies of moved rows that no row points to (a process killed in the
  // middle of moving a row leaves one) are removed from the table's pages; a table whose moved
  // rows point outside it (or to slots its pages lack) refuses every change with kCorrupt.
  virtual void UpdateValue(const TableDefinition& table, RowId row, size_t column, const Main::Value& value);
  // The same with the value given as text, converted as the Access engine converts text for the
  // column's type (see TextToValue.h); Binary, OLE object, Replication ID and complex columns
  // refuse text.
  virtual void UpdateText(const TableDefinition& table, RowId row, size_t column, std::u16string_view text);
  // Throws what UpdateText would throw for this text in any row of `column` (a field that cannot
  // be changed, a text that does not convert or does not fit the field) and writes nothing; works
  // on a read-only database too. A row that would outgrow its page is only found by the write.
  virtual void CheckText(const TableDefinition& table, size_t column, std::u16string_view text) const = 0;
  // Makes every change so far durable (fsync).
  virtual void Flush() {}
  // Flushes and gives up writing (and the lock); reading goes on.
  virtual void Close() {}
};

}  // namespace Jet
