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

namespace {

// Calls `take(match)` for each "\t[NAME]\t\t\tTYPE[ NOT NULL][, ]" line of the CREATE TABLE
// statement: 1 the name, 2 the type, 3 " NOT NULL" or nothing.
template <typename Take>
void ForEachSchemaColumnLine(const std::filesystem::path& file, const std::string& table, Take take) {
  static const std::regex kColumnLine(R"(^\t\[(.*)\]\t\t\t(.*?)( NOT NULL)?(, )?$)");
  std::istringstream lines(Run({"mdb-schema", "-T", table, file.string(), "access"}));
  std::smatch match;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, match, kColumnLine)) take(match);
  }
}

}  // namespace

std::vector<SchemaColumn> MdbSchemaColumns(const std::filesystem::path& file,
                                           const std::string& table) {
  std::vector<SchemaColumn> columns;
  ForEachSchemaColumnLine(file, table, [&](const std::smatch& match) {
    columns.push_back({match[1].str(), match[2].str()});
  });
  return columns;
}

std::vector<std::string> MdbSchemaNotNullColumns(const std::filesystem::path& file,
                                                 const std::string& table) {
  std::vector<std::string> names;
  ForEachSchemaColumnLine(file, table, [&](const std::smatch& match) {
    if (match[3].matched) names.push_back(match[1].str());
  });
  return names;
}

std::vector<CsvRecord> MdbExport(const std::filesystem::path& file, const std::string& table) {
  return ParseCsv(Run({"mdb-export", "-D", kDateFormat, "-T", kDateFormat, "-b", "hex",
                       file.string(), table}));
}

}  // namespace Oracle
