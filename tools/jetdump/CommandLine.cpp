#include "tools/jetdump/CommandLine.h"

#include "common/Text.h"

namespace JetDump {
namespace {

// "Invalid procedure call or argument."
constexpr long kInvalidArgument = 5;

constexpr std::string_view kPasswordOption = "--password";
constexpr std::string_view kNullValue = "--null";

struct ActionForm {
  std::string_view name;
  Command::Action action;
  bool needsTable;
  bool setsValue = false;  // FILE TABLE COLUMN ROW VALUE
};

constexpr ActionForm kActions[] = {
    {"tables", Command::Action::Tables, false},
    {"columns", Command::Action::Columns, true},
    {"export", Command::Action::Export, true},
    {"set", Command::Action::Set, true, true},
    {"indexes", Command::Action::Indexes, true},
    {"check", Command::Action::Check, false},
};

uint64_t ParseRowNumber(const std::string& text) {
  uint64_t row = 0;
  if (text.empty() || text.size() > 18) throw UsageError("The row '" + text + "' is not a row number.");
  for (const char c : text) {
    if (c < '0' || c > '9') throw UsageError("The row '" + text + "' is not a row number.");
    row = row * 10 + static_cast<uint64_t>(c - '0');
  }
  return row;
}

const ActionForm& FindAction(std::string_view name) {
  for (const ActionForm& form : kActions) {
    if (form.name == name) return form;
  }
  throw UsageError("Unknown command '" + std::string(name) + "'.");
}

}  // namespace

UsageError::UsageError(std::string_view utf8Description)
    : Main::Error(kInvalidArgument, utf8Description) {}

Command ParseCommandLine(const std::vector<std::string>& arguments) {
  std::vector<std::string> positional;
  std::u16string password;
  bool passwordGiven = false;
  bool nullGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string value;
    if (argument == kNullValue) {
      if (nullGiven) throw UsageError("--null is given twice.");
      nullGiven = true;
      continue;
    }
    if (argument == kPasswordOption) {
      if (i + 1 == arguments.size()) throw UsageError("--password needs a value.");
      value = arguments[++i];
    } else if (argument.starts_with(std::string(kPasswordOption) + "=")) {
      value = argument.substr(kPasswordOption.size() + 1);
    } else if (argument.size() > 1 && argument.front() == '-') {
      throw UsageError("Unknown option '" + argument + "'.");
    } else {
      positional.push_back(argument);
      continue;
    }
    if (passwordGiven) throw UsageError("--password is given twice.");
    passwordGiven = true;
    password = Main::FromUtf8(value);
  }

  if (positional.empty()) throw UsageError("No command given.");
  const ActionForm& form = FindAction(positional.front());
  if (nullGiven && !form.setsValue) throw UsageError("--null belongs to the set command.");
  const size_t expected = form.setsValue ? (nullGiven ? 5 : 6) : form.needsTable ? 3 : 2;
  if (positional.size() < expected) {
    throw UsageError(form.setsValue    ? "The command needs a file, a table, a field, a row and a value."
                     : form.needsTable ? "The command needs a file and a table."
                                       : "The command needs a file.");
  }
  if (positional.size() > expected) {
    throw UsageError("Unexpected argument '" + positional[expected] + "'.");
  }

  Command command;
  command.action = form.action;
  command.file = std::filesystem::path(positional[1]);
  if (form.needsTable) command.table = Main::FromUtf8(positional[2]);
  if (form.setsValue) {
    command.column = Main::FromUtf8(positional[3]);
    command.row = ParseRowNumber(positional[4]);
    command.valueIsNull = nullGiven;
    if (!nullGiven) command.value = Main::FromUtf8(positional[5]);
  }
  command.password = std::move(password);
  return command;
}

std::string UsageText() {
  return "Usage:\n"
         "  jetdump tables FILE [--password P]         the tables rowset: TYPE<TAB>NAME\n"
         "  jetdump columns FILE TABLE [--password P]  NAME<TAB>TYPE<TAB>SIZE<TAB>FLAGS\n"
         "  jetdump export FILE TABLE [--password P]   the table's rows as CSV (RFC 4180, UTF-8)\n"
         "  jetdump set FILE TABLE COLUMN ROW VALUE [--password P]\n"
         "                                            writes VALUE (--null: Null) into COLUMN of the\n"
         "                                            ROW-th row (from 0, in scan order)\n"
         "  jetdump indexes FILE TABLE [--password P]  NAME<TAB>FIELDS<TAB>SORT ORDER<TAB>FLAGS<TAB>ENTRIES<TAB>PAGES\n"
         "  jetdump check FILE [--password P]          checks every index of every table against its\n"
         "                                            pages and rows; status 1 when any is damaged\n";
}

}  // namespace JetDump
