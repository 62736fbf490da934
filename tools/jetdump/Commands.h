#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "jet/Database.h"
#include "tools/jetdump/ByteSink.h"
#include "tools/jetdump/CommandLine.h"

// The listings jetdump prints in UTF-8, and the program run on its command line.
namespace JetDump {

// One line a row of the tables rowset: TYPE<TAB>NAME.
void ListTables(const Jet::Database& database, std::ostream& out);

// One line a column: NAME<TAB>TYPE<TAB>SIZE<TAB>FLAGS.
void ListColumns(const Jet::TableDefinition& table, std::ostream& out);

// Writes the value of a set command into its row (the file opened for writing, flushed and
// closed); throws Main::Error with the file unchanged when the value is refused.
void SetValue(const Command& command);

// Opens the command's file and prints what it asks for, or changes it; throws Main::Error on
// failure. Returns the exit status: 1 when check found a damaged index, else 0. Export writes its
// CSV to `exportOut` when given (the same place as `out`, without the stream between), else to `out`.
int RunCommand(const Command& command, std::ostream& out, ByteSink* exportOut = nullptr);

// The whole program on the arguments after its name: the listing on `out`; a failure's
// description (and for a malformed command line the usage) on `err`. Returns the exit status:
// 0 done, 1 failed (or check found damage), 2 malformed command line. `exportOut` as for RunCommand.
int RunJetDump(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               ByteSink* exportOut = nullptr);

}  // namespace JetDump
