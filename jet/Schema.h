#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The engine's plain public types: the file's format and header facts, the options of opening,
// and what a catalogue and a table definition consist of. Database.h works with them; parts of
// the engine that only need the types include this header instead of the facade.
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
  DateTimeExtended = 0x14,  // Access 2019: 42 ASCII bytes, 100-ns precision, years 1 to 9999
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
  uint8_t sortOrderVersion = 0; // Text and Memo: the collation's version (Jet4/ACE; 0 in Jet3)
  uint16_t codePage = 0;        // Jet3 Text and Memo: the code page the column names (0: none)
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
  // An enforced relationship (foreign-key indexes only): which side this table is on, the other
  // table's definition page and its index (its logical index number; -1 where none), and whether
  // updates and deletes cascade.
  bool primarySide = false;  // this table is the referenced ("one") side
  uint32_t relatedTablePage = 0;
  int32_t relatedIndex = -1;
  bool cascadeUpdates = false;
  bool cascadeDeletes = false;
  uint32_t number = 0;  // the logical index number other tables' relationships name
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
  // Position in `columns` of the column whose number (Column::number, as indexes name it) is
  // this, or -1.
  int FindColumnNumbered(uint16_t number) const;
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

}  // namespace Jet
