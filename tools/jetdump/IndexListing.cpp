#include "tools/jetdump/IndexListing.h"

#include "common/Text.h"
#include "jet/IndexReport.h"

namespace JetDump {
namespace {

std::string FlagsOf(const Jet::IndexDescription& index) {
  std::string flags;
  auto add = [&](bool holds, const char* name) {
    if (!holds) return;
    if (!flags.empty()) flags += ", ";
    flags += name;
  };
  add(index.primaryKey, "primary");
  add(index.foreignKey, "foreign");
  add(index.unique, "unique");
  add(index.ignoreNulls, "ignore nulls");
  add(index.required, "required");
  return flags;
}

void PrintFinding(const Jet::IndexFinding& finding, std::ostream& out) {
  out << Main::ToUtf8(finding.table) << ": " << Main::ToUtf8(finding.index) << ": page " << finding.page << ": "
      << finding.what << '\n';
}

}  // namespace

void ListIndexes(const Jet::Database& database, const Jet::TableDefinition& table, std::ostream& out) {
  for (const Jet::IndexDescription& index : Jet::DescribeIndexes(database, table)) {
    out << Main::ToUtf8(index.name) << '\t';
    for (size_t i = 0; i < index.fields.size(); ++i)
      out << (i == 0 ? "" : ", ") << Main::ToUtf8(index.fields[i].name) << (index.fields[i].ascending ? " asc" : " desc");
    out << '\t' << index.sortOrder << '\t' << FlagsOf(index) << '\t' << index.entries << '\t' << index.pages << '\n';
  }
}

bool CheckDatabase(const Jet::Database& database, std::ostream& out) {
  const Jet::DatabaseIndexCheck check = Jet::CheckAllIndexes(database);
  for (const Jet::IndexFinding& problem : check.problems) PrintFinding(problem, out);
  for (const Jet::IndexFinding& skipped : check.notChecked) PrintFinding(skipped, out);
  out << check.problems.size() << (check.problems.size() == 1 ? " problem" : " problems") << " in "
      << check.indexes << " indexes of " << check.tables << " tables (" << check.entries << " entries on "
      << check.pages << " pages); rows not compared for " << check.notChecked.size() << " indexes\n";
  return !check.problems.empty();
}

}  // namespace JetDump
