#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jet/Database.h"
#include "jet/base/ByteWriter.h"
#include "jet/file/FormatLayout.h"
#include "jet/file/Header.h"
#include "tests/jet/CorpusFiles.h"

// Jet3 files made to hold their text in another code page, as a Japanese, Chinese or Korean
// Access 97 would have written them: no such file is at hand.
namespace Jet::Testing {

// Makes the Jet3 file `file` (a scratch copy, no database key) name `codePage` for its text: in
// its header and in the Text and Memo columns of `tables` (whose definitions must fit their first
// page). The bytes of the rows stay as they are.
inline void DeclareJet3CodePage(const std::filesystem::path& file, uint16_t codePage,
                                const std::vector<std::u16string>& tables) {
  const FormatLayout& layout = LayoutOf(FileFormat::Jet3);
  std::vector<uint32_t> definitionPages;
  {
    const auto database = Database::Open(file);
    ASSERT_EQ(database->Info().format, FileFormat::Jet3) << file;
    for (const std::u16string& table : tables) definitionPages.push_back(database->Table(table)->definitionPage);
  }
  std::vector<uint8_t> bytes = ReadBytes(file);
  ToggleHeaderMask(bytes, true);
  PutU16(bytes, kHeaderCodePage, codePage);
  ToggleHeaderMask(bytes, true);
  for (const uint32_t page : definitionPages) {
    const MutableBytes definition = MutableBytes(bytes).subspan(size_t{page} * layout.pageSize, layout.pageSize);
    const size_t columns = ReadU16(definition, layout.tdefColumnCount);
    const size_t first = layout.tdefHeaderSize +
                         ReadU32(definition, layout.tdefPhysicalIndexCount) * layout.physicalIndexCountSize;
    ASSERT_LE(first + columns * layout.columnBlockSize, definition.size()) << file << " page " << page;
    for (size_t n = 0; n < columns; ++n) {
      const MutableBytes block = definition.subspan(first + n * layout.columnBlockSize, layout.columnBlockSize);
      const auto type = static_cast<ColumnType>(block[0]);
      if (type == ColumnType::Text || type == ColumnType::Memo) PutU16(block, layout.columnCodePage, codePage);
    }
  }
  WriteBytes(file, bytes);
}

}  // namespace Jet::Testing
