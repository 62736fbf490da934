// The free-space count the page editor writes into a data page's header, against the pages Access
// itself wrote: Access 97 (Jet3, 2 KB pages, the row table after a 10-byte header) and Access 2000
// (Jet4, 4 KB pages, after a 14-byte header).
#include <gtest/gtest.h>

#include "jet/base/ByteReader.h"
#include "jet/page/DataPageEditor.h"
#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "tests/jet/CorpusFiles.h"

namespace Jet {
namespace {

// The data pages of every file in the folder rebuilt from their rows, each compared with the
// original's free-space count; returns how many pages were compared.
size_t CompareFreeSpace(const std::string& folder, FileFormat format) {
  const FormatLayout& layout = LayoutOf(format);
  size_t compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Testing::CorpusDir() / folder)) {
    const std::vector<uint8_t> file = Testing::ReadBytes(entry.path());
    const PageFile pages(file, layout.pageSize);
    for (uint32_t number = 1; number < pages.PageCount(); ++number) {
      const Page page = pages.Read(number);
      if (page.Type() != kDataPageType) continue;
      const std::vector<uint8_t> rebuilt = DataPageEditor(page, layout).Build();
      EXPECT_EQ(ReadU16(rebuilt, kFreeSpaceAt), ReadU16(page.Bytes(), kFreeSpaceAt))
          << entry.path().filename() << " page " << number;
      ++compared;
    }
  }
  return compared;
}

TEST(DataPageEditor, FreeSpaceCountsAsAccessCountsIt) {
  QUORVANE_REQUIRE_CORPUS();
  EXPECT_GT(CompareFreeSpace("V1997", FileFormat::Jet3), 100u);
  EXPECT_GT(CompareFreeSpace("V2000", FileFormat::Jet4), 100u);
}

}  // namespace
}  // namespace Jet
