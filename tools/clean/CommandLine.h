#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/OperationCatalogue.h"

// The command line of quorvane-clean: what the user asked for, checked before any database is
// opened.
namespace Clean {

enum class Action {
  kHelp,        // --help
  kOperations,  // --operations
  kTables,      // FILE --tables
  kFields,      // FILE --fields TABLE
  kPreview,     // FILE --preview TABLE FIELD
  kClean,       // FILE --table T --field F ... --operation OP [answers] [--dry-run]
};

// The answers a cleaning operation's prompts take, as given on the command line.
struct PromptAnswers {
  std::optional<std::u16string> answer;   // a text prompt
  std::optional<std::u16string> find;     // "Find What:"
  std::optional<std::u16string> replace;  // "Replace With:" after "Find What:"
  std::optional<std::u16string> number;   // "Enter Number:"
};

struct CommandLine {
  Action action = Action::kHelp;
  std::u16string file;
  std::u16string password;
  std::u16string table;                // --table, --fields, --preview
  std::vector<std::u16string> fields;  // --field (each once), or the one field of --preview
  const Engine::Operation* operation = nullptr;
  PromptAnswers answers;
  bool dryRun = false;
};

// A command line that cannot be carried out; its text says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the program's name. Options take their value as the next argument
// or after "=" ("--table=Customers"); "--" ends the options. Throws UsageError for an unknown or
// repeated option, a missing value or file, a mix of actions, an unknown operation, and answers
// the operation does not take, lacks, or cannot use (a number outside 0 to 32767).
CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

// The operation named by its exact list text or by its number, 1 to 27; nullptr for neither.
const Engine::Operation* FindOperationByTextOrNumber(std::u16string_view name);

}  // namespace Clean
