#pragma once

#include "common/Value.h"
#include "jet/Database.h"
#include "tests/jet/oracle/Csv.h"

// Reads a field of `jetdump export` back into the value it stands for, so that jetdump's CSV
// can be compared with mdb-export's through the same cell comparison as the engine.
namespace Oracle {

// Throws std::runtime_error for a field that is not in jetdump's form for the column's type.
Main::Value ValueFromJetDumpField(const Jet::Column& column, const CsvField& field);

}  // namespace Oracle
