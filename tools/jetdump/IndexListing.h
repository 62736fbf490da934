#pragma once

#include <ostream>

#include "jet/Database.h"

// How jetdump lists a table's indexes and reports a check of every index of a database.
namespace JetDump {

// One line a logical index: NAME<TAB>FIELDS<TAB>SORT ORDER<TAB>FLAGS<TAB>ENTRIES<TAB>PAGES, where
// FIELDS is "Field asc, Other desc", SORT ORDER is empty for an index without text fields and
// FLAGS lists, comma-separated, those that hold: primary, foreign, unique, ignore nulls, required.
void ListIndexes(const Jet::Database& database, const Jet::TableDefinition& table, std::ostream& out);

// One line a problem, "<table>: <index>: page N: <what>", then the indexes whose rows could not be
// compared in the same form, then a summary line. Returns whether any index is damaged.
bool CheckDatabase(const Jet::Database& database, std::ostream& out);

}  // namespace JetDump
