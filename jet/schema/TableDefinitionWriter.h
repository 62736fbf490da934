#pragma once

#include <cstdint>
#include <vector>

#include "jet/schema/TableLayout.h"
#include "jet/file/PageSet.h"

// Writes table definitions (their layout is described in TableDefinitionReader.cpp) with their
// indexes, Jet4 and ACE.
namespace Jet::Create {

// The definition as one block, as if its pages were joined (the first page's 8-byte header
// included). `distinctKeys` gives each physical index's count of distinct keys (missing ones: 0);
// the block's size does not depend on it, nor on the rows, nor on where the maps and roots are.
std::vector<uint8_t> EncodeTableDefinition(const TableLayout& table, uint32_t rowCount,
                                           uint32_t nextAutoNumber,
                                           const std::vector<uint32_t>& distinctKeys = {});

// How many pages a definition of this many bytes takes.
size_t DefinitionPageCount(size_t blockSize, uint32_t pageSize);

// Writes the block onto `chain` (DefinitionPageCount pages, the first being the table's page).
void WriteDefinitionPages(const std::vector<uint8_t>& block, const std::vector<uint32_t>& chain,
                          PageSet& pages);

}  // namespace Jet::Create
