#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Error.h"

// jetdump's command line: which listing to print for which file.
namespace JetDump {

// What the command line asks for.
struct Command {
  enum class Action { Tables, Columns, Export, Set, Indexes, Check };
  Action action = Action::Tables;
  std::filesystem::path file;
  std::u16string table;     // Columns, Export, Set and Indexes
  std::u16string password;  // empty: none given
  // Set: the field, the row's position in scan order (from 0) and the new value.
  std::u16string column;
  uint64_t row = 0;
  std::u16string value;
  bool valueIsNull = false;  // --null in place of the value
};

// A command line that does not say what to do; main prints the usage after its description.
class UsageError : public Main::Error {
 public:
  explicit UsageError(std::string_view utf8Description);
};

// Reads the arguments after the program name; throws UsageError when they are malformed.
Command ParseCommandLine(const std::vector<std::string>& arguments);

// How to call jetdump, one line a form.
std::string UsageText();

}  // namespace JetDump
