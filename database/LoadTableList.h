#pragma once

#include "common/ui/ListView.h"
#include "database/BuildConnectionString.h"

// Fills the main window's table list with the chosen database's user tables (module Access1).
namespace Access1 {

// Lists the tables of the choice's current path; with no list (no such file) the table list
// keeps what it holds, otherwise it is emptied and gets one entry per table, pumping events once
// per entry. A failure to open or read the database is thrown to the caller.
void LoadTableList(const DatabaseChoice& choice, Ui::ListView& tableList);

}  // namespace Access1
