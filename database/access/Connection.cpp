#include "database/access/Connection.h"

#include <utility>

#include "common/FileExists.h"
#include "database/access/AccessError.h"
#include "database/access/AdoDataType.h"
#include "database/access/ConnectionString.h"
#include "database/access/MemoryRowSource.h"
#include "database/access/RecordSet.h"
#include "jet/CaseFold.h"

namespace Access {
namespace {

bool IsKnownProvider(std::u16string_view provider) {
  return Jet::EqualIgnoringCase(provider, u"Microsoft.ACE.OLEDB.12.0") ||
         Jet::EqualIgnoringCase(provider, u"Microsoft.Jet.OLEDB.4.0");
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
  database_ = Jet::Database::Open(Main::PathFromText(parsed.Get(kDataSourceKey).value_or(u"")), options);
}

void Connection::Close() {
  if (!IsOpen()) Fail(AccessErrorNumber::kObjectClosed, u"Operation is not allowed when the object is closed.");
  database_.reset();
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
