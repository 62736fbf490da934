#include "jet/IndexReport.h"

#include <sstream>

#include "jet/JetError.h"
#include "jet/OpenDatabase.h"
#include "jet/index/IndexChecker.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/TextSortOrder.h"

namespace Jet {
namespace {

const OpenDatabase& Engine(const Database& database) { return dynamic_cast<const OpenDatabase&>(database); }

std::string SortOrderName(const Column& column, const FormatLayout& format) {
  try {
    switch (TextSortOrderOf(column, format)) {
      case TextSortOrder::General97: return "General 97";
      case TextSortOrder::GeneralLegacy: return "General Legacy";
      case TextSortOrder::General: return "General";
    }
  } catch (const JetError& error) {
    if (error.Number() != JetErrorNumber::kNotSupported) throw;
  }
  std::ostringstream text;
  text << "other (0x" << std::hex << std::uppercase << column.sortOrder << std::dec << " version "
       << unsigned{column.sortOrderVersion} << ")";
  return text.str();
}

const Column* ColumnNumbered(const TableDefinition& table, uint16_t number) {
  for (const Column& column : table.columns)
    if (column.number == number) return &column;
  return nullptr;
}

// The sort orders of the index's text fields, each named once.
std::string SortOrderOf(const TableDefinition& table, const Index& index, const FormatLayout& format) {
  std::string names;
  for (const IndexColumn& field : index.columns) {
    const Column* column = ColumnNumbered(table, field.columnNumber);
    if (column == nullptr || (column->type != ColumnType::Text && column->type != ColumnType::Memo)) continue;
    const std::string name = SortOrderName(*column, format);
    if (names.find(name) != std::string::npos) continue;
    names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}

bool IsLocalTable(const CatalogEntry& entry) {
  return entry.type == u"TABLE" || entry.type == u"SYSTEM TABLE" || entry.type == u"ACCESS TABLE";
}

void AddFindings(std::vector<IndexFinding>& to, const std::u16string& table, const std::vector<IndexProblem>& from) {
  for (const IndexProblem& problem : from) to.push_back({table, problem.index, problem.page, problem.what});
}

}  // namespace

std::vector<IndexDescription> DescribeIndexes(const Database& database, const TableDefinition& table) {
  const OpenDatabase& engine = Engine(database);
  const auto layout = engine.Layout(table.definitionPage, table.name);
  std::vector<IndexDescription> descriptions;
  for (const Index& index : table.indexes) {
    const PhysicalIndexLayout& physical = layout->physicalIndexes[index.physicalIndex];
    IndexDescription description;
    description.name = index.name;
    for (const IndexColumn& field : index.columns) {
      const Column* column = ColumnNumbered(table, field.columnNumber);
      description.fields.push_back({column == nullptr ? u"?" : column->name, field.ascending});
    }
    description.sortOrder = SortOrderOf(table, index, engine.Format());
    description.primaryKey = index.primaryKey;
    description.foreignKey = index.foreignKey;
    description.unique = (physical.flags & IndexFlag::kUnique) != 0 || index.primaryKey;
    description.ignoreNulls = (physical.flags & IndexFlag::kIgnoreNulls) != 0;
    description.required = (physical.flags & IndexFlag::kRequired) != 0;
    const IndexShape shape =
        CheckIndexShape(engine.Pages(), engine.Format(), physical.firstPage, table.definitionPage);
    description.entries = shape.entries.size();
    description.pages = shape.pages;
    descriptions.push_back(std::move(description));
  }
  return descriptions;
}

DatabaseIndexCheck CheckAllIndexes(const Database& database) {
  const OpenDatabase& engine = Engine(database);
  DatabaseIndexCheck check;
  for (const CatalogEntry& entry : database.TablesRowset()) {
    if (!IsLocalTable(entry)) continue;
    const auto definition = database.Table(entry.name);
    const auto layout = engine.Layout(definition->definitionPage, entry.name);
    const IndexCheckReport report =
        CheckTableIndexes(engine.Pages(), engine.Format(), database.Info().codePage, *layout);
    ++check.tables;
    check.indexes += report.indexes;
    check.entries += report.entries;
    check.pages += report.pages;
    AddFindings(check.problems, entry.name, report.problems);
    AddFindings(check.notChecked, entry.name, report.notChecked);
  }
  return check;
}

}  // namespace Jet
