#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "jet/catalog/Catalog.h"

// The kinds of the complex columns of an ACE database, from MSysComplexColumns and the names of
// the template tables it points at.
namespace Jet {

// Complex column id (as a column's definition stores it) to its kind.
using ComplexKinds = std::map<uint32_t, ComplexKind>;

// Reads every row of MSysComplexColumns; a row whose template table the catalogue lacks or does
// not name as a known kind is left out.
ComplexKinds ReadComplexKinds(const ScanContext& context,
                              std::shared_ptr<const TableLayout> msysComplexColumns,
                              const Catalog& catalog);

// The kind whose template table has this name: MSysComplexType_Attachment, MSysComplexTypeVH_...
// for a version history, MSysComplexType_<value type> for a multi-value list; None for others.
ComplexKind ComplexKindOfTemplate(std::u16string_view templateName);

}  // namespace Jet
