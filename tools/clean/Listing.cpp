#include "tools/clean/Listing.h"

#include <memory>

#include "common/Error.h"
#include "common/Text.h"
#include "database/ListDatabaseTables.h"
#include "database/access/AccessError.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "engine/FieldQuery.h"
#include "engine/OperationCatalogue.h"
#include "engine/PreviewRefill.h"
#include "jet/text/CaseFold.h"
#include "jet/JetError.h"

namespace Clean {
namespace {

std::unique_ptr<Access::Connection> OpenForReading(const Access1::DatabaseChoice& choice) {
  std::unique_ptr<Access::Connection> connection = Access::CreateConnection();
  connection->SetMode(Access::kModeRead);
  connection->Open(Access1::BuildConnectionString(choice));
  return connection;
}

std::u16string Joined(const std::vector<std::u16string>& names) {
  std::u16string text;
  for (const std::u16string& name : names) text += (text.empty() ? u"" : u", ") + name;
  return text.empty() ? u"none" : text;
}

const std::u16string* Named(const std::vector<std::u16string>& names, std::u16string_view name) {
  for (const std::u16string& candidate : names)
    if (Jet::EqualIgnoringCase(candidate, name)) return &candidate;
  return nullptr;
}

}  // namespace

std::vector<std::u16string> TableNames(const Access1::DatabaseChoice& choice) {
  const std::u16string path = choice.DatabasePath();
  std::optional<std::vector<std::u16string>> tables = Access1::ListDatabaseTables(path, choice);
  if (!tables) throw Jet::JetError(Jet::JetErrorNumber::kFileNotFound, u"Could not find file '" + path + u"'.");
  return std::move(*tables);
}

std::u16string FindTable(const Access1::DatabaseChoice& choice, std::u16string_view table) {
  const std::vector<std::u16string> tables = TableNames(choice);
  if (const std::u16string* name = Named(tables, table)) return *name;
  throw Main::Error(Jet::JetErrorNumber::kNoSuchTable, u"The database has no table '" + std::u16string(table) +
                                       u"'. Its tables: " + Joined(tables) + u".");
}

std::vector<std::u16string> FieldNames(const Access1::DatabaseChoice& choice, std::u16string_view table) {
  const auto connection = OpenForReading(choice);
  Access::RecordSet records;
  records.Open(u"SELECT * FROM `" + std::u16string(table) + u"`", *connection, Access::kCursorStatic,
               Access::kLockReadOnly);
  std::vector<std::u16string> fields;
  for (size_t field = 0; field < records.FieldCount(); ++field) fields.push_back(records.FieldName(field));
  records.Close();
  connection->Close();
  return fields;
}

std::u16string FindField(const std::vector<std::u16string>& fields, std::u16string_view table,
                         std::u16string_view field) {
  if (const std::u16string* name = Named(fields, field)) return *name;
  throw Main::Error(Access::AccessErrorNumber::kItemNotFound, u"The table '" + std::u16string(table) + u"' has no field '" +
                                       std::u16string(field) + u"'. Its fields: " + Joined(fields) + u".");
}

std::vector<std::u16string> PreviewValues(const Access1::DatabaseChoice& choice, std::u16string_view table,
                                          std::u16string_view field) {
  const auto connection = OpenForReading(choice);
  Access::RecordSet records;
  records.Open(Engine::FieldQueryText({std::u16string(table), std::u16string(field)}), *connection,
               Access::kCursorStatic, Access::kLockReadOnly);
  std::vector<std::u16string> values;
  for (; !records.Eof() && values.size() < static_cast<size_t>(Engine::kPreviewRows); records.MoveNext())
    values.push_back(records.Value(0).ToText());
  records.Close();
  connection->Close();
  return values;
}

std::vector<std::u16string> OperationLines() {
  std::vector<std::u16string> lines;
  for (const Engine::Operation& operation : Engine::Operations())
    lines.push_back(Main::FromUtf8(std::to_string(operation.number)) + u'\t' + std::u16string(operation.listText));
  return lines;
}

}  // namespace Clean
