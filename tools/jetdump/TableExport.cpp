#include "tools/jetdump/TableExport.h"

#include <string>
#include <vector>

#include "tools/jetdump/CsvWriter.h"
#include "tools/jetdump/ExportField.h"

namespace JetDump {
namespace {

// Text and Memo cells are read into one reused string; the others come as values.
std::vector<bool> TextColumns(const Jet::TableDefinition& table) {
  std::vector<bool> text;
  for (const Jet::Column& column : table.columns)
    text.push_back(column.type == Jet::ColumnType::Text || column.type == Jet::ColumnType::Memo);
  return text;
}

void WriteRows(CsvWriter& csv, const Jet::Database& database, std::shared_ptr<const Jet::TableDefinition> table) {
  for (const Jet::Column& column : table->columns) csv.Plain(column.name);
  csv.EndRecord();
  const std::vector<bool> isText = TextColumns(*table);
  const std::unique_ptr<Jet::RowCursor> cursor = database.Scan(std::move(table));
  std::u16string text;
  while (cursor->Next()) {
    for (size_t column = 0; column < isText.size(); ++column) {
      if (!isText[column])
        WriteCell(csv, cursor->Get(column));
      else if (cursor->GetText(column, text))
        csv.Quoted(text);
      else
        csv.Unquoted({});  // Null
    }
    csv.EndRecord();
  }
}

}  // namespace

void ExportTable(const Jet::Database& database, std::shared_ptr<const Jet::TableDefinition> table, ByteSink& out) {
  CsvWriter csv(out);
  try {
    WriteRows(csv, database, std::move(table));
  } catch (...) {
    csv.FlushAfterFailure();
    throw;
  }
  csv.Flush();
}

}  // namespace JetDump
