#include "database/access/Connection.h"

#include <utility>

#include "common/FileExists.h"
#include "database/access/AccessError.h"
#include "database/access/AdoDataType.h"
#include "database/access/ConnectionString.h"
#include "database/access/MemoryRowSource.h"
#include "database/access/RecordSet.h"
#include "database/access/Sql.h"
#include "database/access/TableRowSource.h"
#include "database/access/WhereEquality.h"
#include "jet/text/CaseFold.h"

namespace Access {
namespace {

bool IsKnownProvider(std::u16string_view provider) {
  return Jet::EqualIgnoringCase(provider, u"Microsoft.ACE.OLEDB.12.0") ||
         Jet::EqualIgnoringCase(provider, u"Microsoft.Jet.OLEDB.4.0");
}

// Every row whose field equals the old literal gets the new one. The rows are found first, so
// a row the update changes is never looked at again.
void ExecuteUpdate(Jet::Database& database, const UpdateWhereEqual& update) {
  const auto table = database.Table(update.table);
  const size_t setColumn = ColumnNamed(*table, update.setField);
  const size_t whereColumn = ColumnNamed(*table, update.whereField);
  const WhereEquality where(table->columns[whereColumn], update.oldValue);
  std::vector<Jet::RowId> matching;
  for (auto cursor = database.Scan(table); cursor->Next();) {
    if (where.Matches(cursor->Get(whereColumn))) matching.push_back(cursor->Id());
  }
  for (const Jet::RowId& row : matching) database.UpdateText(*table, row, setColumn, update.newValue);
}

ConnectionFactory& InstalledFactory() {
  static ConnectionFactory factory;
  return factory;
}

}  // namespace

void Connection::Open(std::u16string_view connectionString) {
  if (IsOpen()) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is open.");
  const ConnectionString parsed = ConnectionString::Parse(connectionString);
  const std::u16string provider = parsed.Get(kProviderKey).value_or(u"");
  if (!IsKnownProvider(provider)) {
    Fail(AccessErrorNumber::kProviderNotFound,
         u"Provider cannot be found. It may not be properly installed. ('" + provider + u"')");
  }
  Jet::OpenOptions options;
  options.password = parsed.Get(kPasswordKey).value_or(u"");
  options.readWrite = mode_ == kModeReadWrite;
  const std::filesystem::path file = Main::PathFromText(parsed.Get(kDataSourceKey).value_or(u""));
  try {
    database_ = OpenFile(file, options);
  } catch (const Main::Error& error) {
    // The engine refuses to write before it reads anything, so a file it may not write is
    // opened again for reading. A file another program writes still fails.
    if (!options.readWrite || error.Cause() != Main::ErrorCause::kReadOnly) throw;
    options.readWrite = false;
    database_ = OpenFile(file, options);
  }
}

std::shared_ptr<Jet::Database> Connection::OpenFile(const std::filesystem::path& file,
                                                    const Jet::OpenOptions& options) {
  return Jet::Database::Open(file, options);
}

bool Connection::IsReadOnly() const { return !Database()->IsWritable(); }

std::u16string Connection::ReadOnlyReason() const {
  std::u16string reason = Database()->WriteRefusal();
  return reason.empty() ? std::u16string(kReadOnlyReason) : reason;
}

void Connection::Close() {
  if (!IsOpen()) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is closed.");
  const auto database = std::exchange(database_, nullptr);
  database->Close();
}

void Connection::Execute(std::u16string_view sql) {
  const Statement statement = ParseStatement(sql);
  const auto& database = Database();
  if (const auto* update = std::get_if<UpdateWhereEqual>(&statement)) {
    ExecuteUpdate(*database, *update);
  } else {
    SelectSource(database, sql);
  }
}

const std::shared_ptr<Jet::Database>& Connection::Database() const {
  if (!IsOpen()) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is closed.");
  return database_;
}

RecordSet Connection::OpenSchema(int schema) {
  if (schema != kSchemaTables) {
    Fail(AccessErrorNumber::kItemNotFound, u"Object or provider is not capable of performing requested operation.");
  }
  std::vector<std::vector<Main::Value>> rows;
  for (const Jet::CatalogEntry& entry : Database()->TablesRowset()) {
    rows.push_back({Main::Value::Null(), Main::Value::Null(), Main::Value::Text(entry.name),
                    Main::Value::Text(entry.type)});
  }
  std::vector<MemoryRowSource::Field> fields{{u"TABLE_CATALOG", AdoType::kVarWChar},
                                             {u"TABLE_SCHEMA", AdoType::kVarWChar},
                                             {u"TABLE_NAME", AdoType::kVarWChar},
                                             {u"TABLE_TYPE", AdoType::kVarWChar}};
  return RecordSet(std::make_unique<MemoryRowSource>(std::move(fields), std::move(rows)));
}

std::unique_ptr<Connection> CreateConnection() {
  if (const ConnectionFactory& factory = InstalledFactory()) return factory();
  return std::make_unique<Connection>();
}

ConnectionFactory InstallConnectionFactory(ConnectionFactory factory) {
  return std::exchange(InstalledFactory(), std::move(factory));
}

}  // namespace Access
