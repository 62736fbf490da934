#include "database/LoadTableList.h"

#include "common/ui/EventPump.h"
#include "database/ListDatabaseTables.h"

namespace Access1 {

void LoadTableList(const DatabaseChoice& choice, Ui::ListView& tableList) {
  const auto tables = ListDatabaseTables(choice.DatabasePath(), choice);
  if (!tables) return;
  tableList.Clear();
  for (const std::u16string& name : *tables) {
    Ui::PumpEvents();
    tableList.AddEntry(name);
  }
}

}  // namespace Access1
