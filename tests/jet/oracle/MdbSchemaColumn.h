#pragma once

#include "jet/Database.h"
#include "tests/jet/oracle/MdbTools.h"

// A column of the engine's table definition as `mdb-schema FILE access` (mdbtools 1.0) declares
// it, to compare with what mdb-schema prints. Its rules: Text "(n)" in characters; Memo and
// Hyperlink alike "Memo/Hyperlink (255)"; OLE "OLE (255)"; Decimal "Numeric (precision, scale)";
// types it does not name "Unknown_00xx" (complex columns are "Unknown_0012").
namespace Oracle {

SchemaColumn MdbSchemaDeclaration(const Jet::Column& column);

}  // namespace Oracle
