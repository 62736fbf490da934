#pragma once

#include <memory>

#include "jet/Database.h"
#include "tools/jetdump/ByteSink.h"

// `jetdump export`: a table's rows as CSV, streamed through one large buffer.
namespace JetDump {

// A header row of column names, then every row in scan order (cells as ExportField.h writes
// them), written to `out` a buffer at a time. The rows before a failure reach `out` before the
// failure is thrown on.
void ExportTable(const Jet::Database& database, std::shared_ptr<const Jet::TableDefinition> table, ByteSink& out);

}  // namespace JetDump
