#include "tools/clean/Program.h"

#include "common/Error.h"
#include "common/Text.h"
#include "tools/clean/CommandLine.h"
#include "tools/clean/ExitStatus.h"
#include "tools/clean/FieldCleaning.h"
#include "tools/clean/HelpText.h"
#include "tools/clean/Listing.h"

namespace Clean {
namespace {

// Names and values, one a line, each kept on its line.
int PrintLines(Console& console, const std::vector<std::u16string>& lines) {
  for (const std::u16string& line : lines) console.Result(OneLine(line));
  return kExitDone;
}

void PrintHelp(Console& console) { console.Result(Main::FromUtf8(kHelpText.substr(0, kHelpText.size() - 1))); }

int Carry(const CommandLine& command, Console& console) {
  const FixedChoice choice(command.file, command.password);
  switch (command.action) {
    case Action::kHelp: PrintHelp(console); return kExitDone;
    case Action::kOperations:
      for (const std::u16string& line : OperationLines()) console.Result(line);
      return kExitDone;
    case Action::kTables: return PrintLines(console, TableNames(choice));
    case Action::kFields: return PrintLines(console, FieldNames(choice, FindTable(choice, command.table)));
    case Action::kPreview: {
      const std::u16string table = FindTable(choice, command.table);
      const std::u16string field = FindField(FieldNames(choice, table), table, command.fields.front());
      return PrintLines(console, PreviewValues(choice, table, field));
    }
    case Action::kClean: return RunCleaning(command, console);
  }
  return kExitUsage;
}

}  // namespace

int RunProgram(const std::vector<std::u16string>& arguments, Console& console) {
  if (arguments.empty()) {
    PrintHelp(console);
    return kExitUsage;
  }
  try {
    return Carry(ParseCommandLine(arguments), console);
  } catch (const UsageError& error) {
    console.Message(u"quorvane-clean: " + Main::FromUtf8(error.what()) + u"\nTry 'quorvane-clean --help'.");
  } catch (...) {
    console.Message(u"quorvane-clean: " + Main::DescribeCurrentException());
  }
  return kExitUsage;
}

}  // namespace Clean
