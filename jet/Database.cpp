#include "jet/Database.h"

#include "jet/OpenDatabase.h"
#include "jet/base/Failure.h"

namespace Jet {

void Database::UpdateValue(const TableDefinition&, RowId, size_t, const Main::Value&) { ThrowReadOnly(); }

void Database::UpdateText(const TableDefinition&, RowId, size_t, std::u16string_view) { ThrowReadOnly(); }

std::unique_ptr<Database> Database::Open(const std::filesystem::path& file, const OpenOptions& options) {
  return std::make_unique<OpenDatabase>(file, options);
}

}  // namespace Jet
