#include "tests/jet/create/CreatedIndexes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/Text.h"
#include "jet/base/Failure.h"
#include "jet/index/IndexChecker.h"
#include "jet/index/IndexTree.h"
#include "jet/schema/TableDefinitionReader.h"
#include "jet/text/TextCodec.h"

namespace Jet::Testing {
namespace {

std::vector<uint8_t> Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

CreatedTable::CreatedTable(const std::filesystem::path& file, FileFormat format, std::u16string_view table)
    : bytes_(Bytes(file)),
      layout_(LayoutOf(format)),
      pages_(bytes_, layout_.pageSize),
      table_(ReadTableDefinition(pages_, layout_, TextCodec(), Database::Open(file)->Table(table)->definitionPage,
                                 std::u16string(table))) {}

const PhysicalIndexLayout& CreatedTable::Physical(std::u16string_view name) const {
  for (const Index& index : table_->definition->indexes)
    if (index.name == name) return table_->physicalIndexes.at(index.physicalIndex);
  throw std::runtime_error("no index " + Main::ToUtf8(name));
}

std::vector<RowId> CreatedTable::RowsInOrder(std::u16string_view name) const {
  std::vector<RowId> rows;
  IndexTree(pages_, layout_, Physical(name).firstPage).ForEachEntry([&](const IndexEntry& entry) {
    rows.push_back(RowId{entry.page, entry.slot});
    return true;
  });
  return rows;
}

bool CreatedTable::RootIsNode(std::u16string_view name) const {
  return pages_.Read(Physical(name).firstPage).Type() == kIndexNodePageType;
}

std::string CreatedTable::Problems() const {
  std::string found;
  for (const IndexProblem& problem : CheckIndexes(pages_, layout_, 1252, *table_))
    found += Main::ToUtf8(problem.index) + " " + PageText(problem.page) + ": " + problem.what + "\n";
  return found;
}

}  // namespace Jet::Testing
