#include "tools/jetdump/Commands.h"

#include "common/Error.h"
#include "common/Text.h"
#include "jet/JetError.h"
#include "tools/jetdump/ColumnDescription.h"
#include "tools/jetdump/IndexListing.h"
#include "tools/jetdump/TableExport.h"

namespace JetDump {

void ListTables(const Jet::Database& database, std::ostream& out) {
  for (const Jet::CatalogEntry& entry : database.TablesRowset()) {
    out << Main::ToUtf8(entry.type) << '\t' << Main::ToUtf8(entry.name) << '\n';
  }
}

void ListColumns(const Jet::TableDefinition& table, std::ostream& out) {
  for (const Jet::Column& column : table.columns) {
    out << Main::ToUtf8(column.name) << '\t' << Main::ToUtf8(DesignerTypeName(column)) << '\t'
        << FieldSize(column) << '\t' << Main::ToUtf8(ColumnFlags(table, column)) << '\n';
  }
}

void SetValue(const Command& command) {
  Jet::OpenOptions options;
  options.password = command.password;
  options.readWrite = true;
  const std::unique_ptr<Jet::Database> database = Jet::Database::Open(command.file, options);
  const std::shared_ptr<const Jet::TableDefinition> table = database->Table(command.table);
  const int column = table->FindColumn(command.column);
  if (column < 0)
    throw Jet::JetError(Jet::JetErrorNumber::kNoSuchColumn,
                        u"The table '" + table->name + u"' has no field '" + command.column + u"'.");
  const std::unique_ptr<Jet::RowCursor> cursor = database->Scan(table);
  uint64_t position = 0;
  while (true) {
    if (!cursor->Next())
      throw Jet::JetError(Jet::JetErrorNumber::kNoCurrentRecord,
                          "The table has " + std::to_string(position) + " rows; there is no row " +
                              std::to_string(command.row) + ".");
    if (position++ == command.row) break;
  }
  const size_t field = static_cast<size_t>(column);
  if (command.valueIsNull)
    database->UpdateValue(*table, cursor->Id(), field, Main::Value::Null());
  else
    database->UpdateText(*table, cursor->Id(), field, command.value);
  database->Close();
}

int RunCommand(const Command& command, std::ostream& out, ByteSink* exportOut) {
  if (command.action == Command::Action::Set) {
    SetValue(command);
    return 0;
  }
  Jet::OpenOptions options;
  options.password = command.password;
  const std::unique_ptr<Jet::Database> database = Jet::Database::Open(command.file, options);
  switch (command.action) {
    case Command::Action::Tables: ListTables(*database, out); break;
    case Command::Action::Columns: ListColumns(*database->Table(command.table), out); break;
    case Command::Action::Export: {
      StreamSink streamOut(out);
      ExportTable(*database, database->Table(command.table), exportOut != nullptr ? *exportOut : streamOut);
      break;
    }
    case Command::Action::Indexes: ListIndexes(*database, *database->Table(command.table), out); break;
    case Command::Action::Check: return CheckDatabase(*database, out) ? 1 : 0;
    case Command::Action::Set: break;  // handled above
  }
  return 0;
}

int RunJetDump(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               ByteSink* exportOut) {
  try {
    const int status = RunCommand(ParseCommandLine(arguments), out, exportOut);
    out.flush();
    return out ? status : 1;
  } catch (const UsageError& error) {
    err << "jetdump: " << error.what() << "\n" << UsageText();
    return 2;
  } catch (...) {
    err << "jetdump: " << Main::ToUtf8(Main::DescribeCurrentException()) << "\n";
    return 1;
  }
}

}  // namespace JetDump
