#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"

// The Access file engine's public face: open a Jet3, Jet4 or ACE file, list its catalogue, read
// table definitions and scan rows. Everything else under jet/ is the engine's own business.
// Every failure is a Jet::JetError (a Main::Error with a number and a description).
namespace Jet {

enum class FileFormat { Jet3, Jet4, Ace12, Ace14, Ace15, Ace16, Ace17 };

// "Jet3", "Jet4", "ACE12" ...
std::u16string_view FormatName(FileFormat format);

// What the header page says about the file.
struct DatabaseInfo {
  FileFormat format = FileFormat::Jet4;
  uint32_t pageSize = 4096;
  uint32_t pageCount = 0;
  uint16_t codePage = 1252;   // the code page of Jet3 text
  uint16_t sortOrder = 0;     // the database's collation id
  bool pagesEncoded = false;  // Jet4 pages RC4-encoded with the database key
  bool hasPassword = false;
};

struct OpenOptions {
  std::u16string password;  // empty: none given
  // Open for writing: the file is locked against other writers for the life of the Database
  // (flock); opening fails (JetError) for a read-only file or folder, for a database another
  // writer holds or Access has open (its .ldb/.laccdb locked by a live process). Nothing is
  // created beside the database.
  bool readWrite = false;
};

// Column types with their codes in the file.
enum class ColumnType : uint8_t {
  Boolean = 0x01,
  Byte = 0x02,
  Integer = 0x03,
  Long = 0x04,
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Binary = 0x09,
  Text = 0x0A,
  OleObject = 0x0B,
  Memo = 0x0C,
  Guid = 0x0F,
  Decimal = 0x10,
  Complex = 0x12,
  BigInt = 0x13,
};

// What a complex column holds, as the template table of its kind tells (ACE only).
enum class ComplexKind : uint8_t {
  None,            // not a complex column, or one whose kind the file does not tell
  Attachment,      // attached files
  MultiValue,      // a list of values of one type
  VersionHistory,  // the history of an append-only Memo
};

// One column of a table definition.
struct Column {
  std::u16string name;
  ColumnType type = ColumnType::Text;
  uint8_t rawType = 0;          // the type code as stored (also for codes this engine does not know)
  uint16_t number = 0;          // the column's id within the table
  uint16_t maxLength = 0;       // size in bytes as stored (Text: two bytes a character in Jet4/ACE)
  uint16_t maxCharacters = 0;   // Text: the designer's field size; 0 where it does not apply
  bool fixedLength = false;
  bool nullable = true;         // false where the column's flags or the designer's Required say so
  bool autonumber = false;      // an AutoNumber field (complex columns never are)
  bool hyperlink = false;       // a Memo holding a hyperlink
  bool compressedUnicode = false;
  bool calculated = false;      // an expression column; its stored result is read
  uint8_t precision = 0;        // Decimal
  uint8_t scale = 0;            // Decimal
  uint16_t sortOrder = 0;       // Text and Memo collation
  ComplexKind complexKind = ComplexKind::None;
};

struct IndexColumn {
  uint16_t columnNumber = 0;
  bool ascending = true;
};

// A logical index as the table designer shows it.
struct Index {
  std::u16string name;
  uint32_t physicalIndex = 0;  // the physical index that holds its entries
  std::vector<IndexColumn> columns;
  bool primaryKey = false;
  bool unique = false;
  bool foreignKey = false;
};

// A table's definition. Columns are in column order.
struct TableDefinition {
  std::u16string name;
  uint32_t definitionPage = 0;
  uint32_t rowCount = 0;  // as the definition records it
  std::vector<Column> columns;
  std::vector<Index> indexes;

  // Position in `columns` of the column with this name (ignoring case), or -1.
  int FindColumn(std::u16string_view columnName) const;
};

// Where a row lives: a data page and a slot of its row offset table.
struct RowId {
  uint32_t page = 0;
  uint16_t slot = 0;
  friend bool operator==(const RowId&, const RowId&) = default;
};

// One row of the tables rowset: TABLE_NAME and TABLE_TYPE ("TABLE", "SYSTEM TABLE",
// "ACCESS TABLE", "VIEW", "LINK", "PASS-THROUGH").
struct CatalogEntry {
  std::u16string name;
  std::u16string type;
};

class RowCursor;

class Database {
 public:
  // Opens read-only. Throws JetError for a missing, unreadable, empty, truncated or foreign file,
  // a wrong or missing password, or an encrypted .accdb.
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

  // Writing. A database opened without readWrite (or closed) refuses every change with JetError
  // kReadOnly.
  virtual bool IsWritable() const { return false; }

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

// Walks the live rows of one table; the database must outlive it.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  // Moves to the next row; false once past the last one.
  virtual bool Next() = 0;
  virtual RowId Id() const = 0;
  // The value of the current row's column at this position in the definition's columns.
  virtual Main::Value Get(size_t column) const = 0;
  virtual bool IsNull(size_t column) const = 0;
  // Text and Memo cells decoded into `out` (reusing its storage); false for Null.
  virtual bool GetText(size_t column, std::u16string& out) const = 0;
};

}  // namespace Jet
