#include "tests/jet/oracle/MdbTools.h"

#include <regex>
#include <sstream>
#include <stdexcept>

#include "tests/jet/oracle/ProgramOutput.h"

namespace Oracle {
namespace {

constexpr const char* kDateFormat = "%Y-%m-%d %H:%M:%S";

std::string Run(const std::vector<std::string>& arguments) {
  const std::optional<ProgramResult> result = RunProgram(arguments);
  if (!result) throw std::runtime_error(arguments.front() + " cannot be started");
  if (result->exitStatus != 0) {
    throw std::runtime_error(arguments.front() + " failed with status " +
                             std::to_string(result->exitStatus) + " on " + arguments[1]);
  }
  return result->standardOutput;
}

}  // namespace

bool MdbToolsPresent() {
  static const bool present = [] {
    for (const char* tool : {"mdb-tables", "mdb-export", "mdb-ver"}) {
      if (!RunProgram({tool, "--version"})) return false;
    }
    return true;
  }();
  return present;
}

std::vector<std::string> MdbUserTables(const std::filesystem::path& file) {
  const std::string output = Run({"mdb-tables", "-1", file.string()});
  std::vector<std::string> tables;
  size_t start = 0;
  for (size_t end = output.find('\n'); end != std::string::npos; end = output.find('\n', start)) {
    tables.push_back(output.substr(start, end - start));
    start = end + 1;
  }
  if (start < output.size()) tables.push_back(output.substr(start));
  return tables;
}

std::string MdbVersion(const std::filesystem::path& file) {
  std::string version = Run({"mdb-ver", file.string()});
  while (!version.empty() && (version.back() == '\n' || version.back() == '\r')) version.pop_back();
  return version;
}

std::vector<SchemaColumn> MdbSchemaColumns(const std::filesystem::path& file,
                                           const std::string& table) {
  // "\t[NAME]\t\t\tTYPE[ NOT NULL][, ]" inside the CREATE TABLE statement.
  static const std::regex kColumnLine(R"(^\t\[(.*)\]\t\t\t(.*?)( NOT NULL)?(, )?$)");
  std::istringstream lines(Run({"mdb-schema", "-T", table, file.string(), "access"}));
  std::vector<SchemaColumn> columns;
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, match, kColumnLine)) {
      columns.push_back({match[1].str(), match[2].str()});
    }
  }
  return columns;
}

std::vector<CsvRecord> MdbExport(const std::filesystem::path& file, const std::string& table) {
  return ParseCsv(Run({"mdb-export", "-D", kDateFormat, "-T", kDateFormat, "-b", "hex",
                       file.string(), table}));
}

}  // namespace Oracle
