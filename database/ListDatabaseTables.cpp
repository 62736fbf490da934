#include "database/ListDatabaseTables.h"

#include "common/FileExists.h"
#include "common/ui/EventPump.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"

namespace Access1 {

std::optional<std::vector<std::u16string>> ListDatabaseTables(std::u16string_view path,
                                                              const DatabaseChoice& choice) {
  const std::unique_ptr<Access::Connection> connection = Access::CreateConnection();
  if (!Main::FileExists(path)) return std::nullopt;
  connection->Open(BuildConnectionString(choice));
  Access::RecordSet catalogue = connection->OpenSchema(Access::kSchemaTables);
  std::vector<std::u16string> tables;
  while (!catalogue.Eof()) {
    Ui::PumpEvents();
    if (catalogue.Value(u"TABLE_TYPE").ToText() == u"TABLE") {
      tables.push_back(catalogue.Value(u"TABLE_NAME").ToText());
    }
    catalogue.MoveNext();
  }
  catalogue.Close();
  connection->Close();
  return tables;
}

}  // namespace Access1
