#pragma once

#include "tools/clean/CommandLine.h"
#include "tools/clean/Console.h"

// A cleaning run from the command line: the main window's run over a view that holds the table
// and fields named on the command line, its prompts answered from the options.
namespace Clean {

// Checks the table and fields (and, for a real run, that the database can be written), runs,
// and returns the exit status. Throws Main::Error when the database cannot be opened.
int RunCleaning(const CommandLine& command, Console& console);

}  // namespace Clean
