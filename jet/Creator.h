#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "jet/Database.h"

// Makes new Access files: an empty Jet4 (.mdb), ACE12 or ACE17 (.accdb) database with its system tables,
// then user tables of any type the Access table designer offers, their rows, saved select queries
// and linked-table entries. The file is written when the creator is closed. Tables may have
// indexes (primary key, unique, ordinary; up to 10 fields each, ascending or descending); their
// pages are built from the rows when the creator is closed.
//
//   auto db = Jet::CreateDatabase(path, Jet::FileFormat::Jet4);
//   db.AddTable({u"People", {{u"Id", Jet::FieldType::AutoNumber}, {u"Name", Jet::FieldType::Text, 50}}});
//   db.InsertRows(u"People", {{Main::Value::Null(), Main::Value::Text(u"O'Brien")}});
//   db.Close();
//
// Every failure is a Jet::JetError.
namespace Jet {

// The field types of the Access table designer (Number fields by their field size).
enum class FieldType {
  Text,           // size: 1 to 255 characters
  Memo,
  Byte,
  Integer,
  LongInteger,
  Single,
  Double,
  Currency,
  DateTime,
  YesNo,
  OleObject,
  ReplicationId,
  Decimal,        // precision 1 to 28, scale 0 to precision
  Hyperlink,      // a Memo holding "text#address#"
  AutoNumber,     // a Long Integer numbered 1, 2, 3 ... where a row gives Null
  DateTimeExtended,  // 0001-01-01 to 9999-12-31 to 100 ns; ACE17 databases only
  LargeNumber,    // a 64-bit whole number; ACE16 (Access 2016) databases and later
};

struct FieldSpec {
  std::u16string name;
  FieldType type = FieldType::Text;
  uint16_t size = 255;     // Text: characters
  uint8_t precision = 18;  // Decimal
  uint8_t scale = 0;       // Decimal
  // A calculated field (ACE14 and later): Access computes its value from `expression`, and
  // `type` (Text, Memo, a Number size, Large Number, Currency, Date/Time, Yes/No, Replication
  // ID) is the result's type (a Decimal result keeps `scale` and takes 28 digits). Rows give the
  // result, stored as given: the creator evaluates nothing. A Null result of a type other than
  // Text and Memo is stored as an empty result, as Access stores it.
  bool calculated = false;
  std::u16string expression = {};
};

// One field of an index and its direction.
struct IndexColumnSpec {
  std::u16string field;
  bool ascending = true;
};

// An index as the table designer makes it. A primary key is unique and takes no Null; a required
// index takes no Null; an index that ignores nulls has no entry for a row whose fields are all
// Null.
struct IndexSpec {
  std::u16string name;
  std::vector<IndexColumnSpec> columns;
  bool primaryKey = false;
  bool unique = false;
  bool ignoreNulls = false;
  bool required = false;
};

struct TableSpec {
  std::u16string name;
  std::vector<FieldSpec> fields;
  std::vector<IndexSpec> indexes = {};  // none: a table without indexes
};

// SELECT [table].[column], ... FROM [table]; no columns selects [table].*.
struct SelectQuerySpec {
  std::u16string name;
  std::u16string table;
  std::vector<std::u16string> columns;
};

// A table of another Access file, listed here under `name`.
struct LinkedTableSpec {
  std::u16string name;
  std::u16string database;     // the other file's path
  std::u16string foreignName;  // the table's name there
};

// How an .accdb file with a password is encrypted: agile encryption, AES with a key of `keyBits`
// (128, 192 or 256) in CBC mode, `hash` for the keys, the password hashed `spinCount` times
// (fewer make opening faster and the password easier to guess).
struct EncryptionOptions {
  enum class Hash { Sha1, Sha256, Sha384, Sha512 };
  uint32_t keyBits = 256;
  Hash hash = Hash::Sha512;
  uint32_t spinCount = 100'000;
};

struct CreateOptions {
  // Jet4: stored in the header, at most 20 characters. .accdb: the file is encrypted with
  // `encryption`, its keys made from the password (its first 255 characters).
  std::u16string password;
  // When the database and its objects were made (days since 1899-12-30); a fixed date makes
  // the same file every time. 0: now.
  double created = 0;
  EncryptionOptions encryption = {};
};

using Row = std::vector<Main::Value>;

class DatabaseCreator {
 public:
  DatabaseCreator(const std::filesystem::path& file, FileFormat format, const CreateOptions& options);
  DatabaseCreator(DatabaseCreator&&) noexcept;
  DatabaseCreator& operator=(DatabaseCreator&&) noexcept;
  // Writes the file if Close was not called, ignoring failures.
  ~DatabaseCreator();

  // Throws for an empty or duplicate name, no fields, duplicate field names, sizes out of range
  // or a row that could never fit a page; for an index with no fields or more than 10, a field
  // the table does not have or that cannot be indexed (OLE Object, calculated), a duplicate index name
  // or a second primary key; for a Date/Time Extended field in a format other than ACE17, a
  // Large Number field before ACE16, a calculated field in a format before ACE14, of another
  // result type or without an expression.
  void AddTable(const TableSpec& table);

  // Values in field order, one per field, of the field's kind (Integer for the whole-number
  // types, Money for Currency, Date for Date/Time, ExtendedDate for Date/Time Extended, Boolean
  // for Yes/No, Binary for OLE Object, ReplicationId, Exact, Text for Text, Memo and Hyperlink); Null anywhere (Yes/No: No) except
  // in a field of a primary key or a required index (3058).
  void InsertRow(std::u16string_view table, const Row& row);
  void InsertRows(std::u16string_view table, const std::vector<Row>& rows);
  // The bulk path: fills `count` rows one after another through `fill(n, row)`, reusing `row`.
  void InsertGenerated(std::u16string_view table, size_t count,
                       const std::function<void(size_t, Row&)>& fill);

  void AddSelectQuery(const SelectQuerySpec& query);
  void AddLinkedTable(const LinkedTableSpec& link);

  // Writes the whole file and flushes it to the disk; the creator takes nothing more after.
  // Throws 3022 when the rows of a table repeat a key of one of its unique indexes or its primary
  // key (nothing is written then).
  void Close();

 private:
  class Impl;
  // The state of a creator not yet closed; throws JetError kReadOnly after Close.
  Impl& Live();
  std::unique_ptr<Impl> impl_;
};

// Starts a new database at `file` (replacing it when written).
DatabaseCreator CreateDatabase(const std::filesystem::path& file, FileFormat format,
                               const CreateOptions& options = {});

}  // namespace Jet
