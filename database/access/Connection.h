#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "jet/Database.h"

// A connection to one database file, opened with an OLE DB connection string. The provider may
// be named as Microsoft.ACE.OLEDB.12.0 or Microsoft.Jet.OLEDB.4.0; either way the program's own
// engine opens the file, whatever its format.
namespace Access {

class RecordSet;

// Connection modes; anything but read-write opens the file read-only.
inline constexpr int kModeRead = 1;
inline constexpr int kModeReadWrite = 3;
// The schema OpenSchema gives: the tables rowset.
inline constexpr int kSchemaTables = 20;

class Connection {
 public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  virtual ~Connection() = default;

  void SetMode(int mode) { mode_ = mode; }
  int Mode() const { return mode_; }

  // Throws Main::Error: an unknown provider (3706), a missing or unreadable file, a wrong
  // password, a file that is not a database, and in read-write mode a file in use by another
  // program. In read-write mode a file that cannot be written (a file without write permission,
  // a read-only folder or file system) is opened read-only, as the Access engine opens it: it
  // can be read, and every change is refused with "Cannot update. Database or object is
  // read-only." (3027).
  void Open(std::u16string_view connectionString);
  // Makes every change durable and lets the file go.
  void Close();
  bool IsOpen() const { return database_ != nullptr; }
  // True when the open database takes no change: opened for reading, or a read-write open of a
  // file that cannot be written. Throws when the connection is closed.
  bool IsReadOnly() const;
  // Why the open database takes no change: the engine's own reason where it has one, else
  // "Cannot update. Database or object is read-only.". Throws when the connection is closed.
  std::u16string ReadOnlyReason() const;

  // The tables rowset (schema 20): TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE.
  RecordSet OpenSchema(int schema);

  // Runs one statement; it takes effect at once. An UPDATE changes every row whose field equals
  // the literal (text ignoring case, other types by value after converting the literal); a
  // SELECT only checks that its table and field exist. Throws for any other statement and on a
  // read-only connection.
  void Execute(std::u16string_view sql);

  // The open database; throws when the connection is closed.
  const std::shared_ptr<Jet::Database>& Database() const;

 protected:
  // Opens the file with the engine. A provider that stands between the connection and the
  // engine (a test that makes the engine refuse a chosen record) overrides it.
  virtual std::shared_ptr<Jet::Database> OpenFile(const std::filesystem::path& file,
                                                  const Jet::OpenOptions& options);

 private:
  int mode_ = 0;
  std::shared_ptr<Jet::Database> database_;
};

// Creates connections; replaceable so that tests can stand in a provider that is missing.
using ConnectionFactory = std::function<std::unique_ptr<Connection>()>;

// A new, closed connection from the installed factory (may throw, as a missing provider does).
std::unique_ptr<Connection> CreateConnection();

// Installs a factory and returns the previous one; an empty factory restores the engine's.
ConnectionFactory InstallConnectionFactory(ConnectionFactory factory);

}  // namespace Access
