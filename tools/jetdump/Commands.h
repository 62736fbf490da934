#pragma once

#include <ostream>

#include "jet/Database.h"
#include "tools/jetdump/CommandLine.h"

// The three listings jetdump prints, each written to a stream in UTF-8.
namespace JetDump {

// One line a row of the tables rowset: TYPE<TAB>NAME.
void ListTables(const Jet::Database& database, std::ostream& out);

// One line a column: NAME<TAB>TYPE<TAB>SIZE<TAB>FLAGS.
void ListColumns(const Jet::TableDefinition& table, std::ostream& out);

// A header row of column names, then every row in scan order (see ExportField.h).
void ExportTable(const Jet::Database& database, std::shared_ptr<const Jet::TableDefinition> table,
                 std::ostream& out);

// Opens the command's file and prints what it asks for; throws Main::Error on failure.
void RunCommand(const Command& command, std::ostream& out);

}  // namespace JetDump
