#pragma once

#include <memory>
#include <string>

#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/schema/TableLayout.h"
#include "jet/text/TextCodec.h"

// Reads a table definition (the chain of 0x02 pages starting at the table's definition page).
namespace Jet {

std::shared_ptr<const TableLayout> ReadTableDefinition(const PageFile& pages,
                                                       const FormatLayout& layout,
                                                       const TextCodec& nameCodec,
                                                       uint32_t definitionPage,
                                                       std::u16string name);

// The definition's pages joined: the first page whole, then each next page from offset 8.
std::vector<uint8_t> JoinDefinitionPages(const PageFile& pages, uint32_t definitionPage,
                                         std::vector<uint32_t>& chain);

}  // namespace Jet
