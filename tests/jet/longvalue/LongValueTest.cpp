#include "jet/longvalue/LongValue.h"

#include <gtest/gtest.h>

#include "tests/jet/PageBuilder.h"

namespace Jet {
namespace {

using namespace Testing;

const FormatLayout& kLayout = LayoutOf(FileFormat::Jet3);  // 2 KB pages keep the images small

Bytes Header(uint32_t lengthAndKind, uint32_t page, uint8_t slot) {
  Bytes header;
  AppendU32(header, lengthAndKind);
  const Bytes pointer = RowPointerBytes(page, slot);
  header.insert(header.end(), pointer.begin(), pointer.end());
  AppendU32(header, 0);
  return header;
}

std::string ReadAll(const Bytes& file, const Bytes& header) {
  const PageFile pages(file, kLayout.pageSize);
  std::vector<uint8_t> out;
  LongValueReader(pages, kLayout).Read(header, out);
  return std::string(out.begin(), out.end());
}

Bytes EmptyPage() { return Bytes(kLayout.pageSize, 0); }

TEST(LongValue, InRowAndSingleRow) {
  const Bytes file = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{Ascii("elsewhere and more")}})});
  EXPECT_EQ(ReadAll(file, Concat({Header(0x80000000u | 6, 0, 0), Ascii("inline")})), "inline");
  // A stated length longer than what is stored gives what is stored.
  EXPECT_EQ(ReadAll(file, Concat({Header(0x80000000u | 99, 0, 0), Ascii("abc")})), "abc");
  EXPECT_EQ(ReadAll(file, Header(0x40000000u | 9, 1, 0)), "elsewhere");
}

TEST(LongValue, ChainAcrossPages) {
  const Bytes file = FileOf({
      EmptyPage(),
      DataPageBytes(kLayout, 0, {{Ascii("unrelated")}, {Concat({RowPointerBytes(2, 1), Ascii("Hello, ")})}}),
      DataPageBytes(kLayout, 0, {{Ascii("x")}, {Concat({RowPointerBytes(0, 0), Ascii("world!")})}}),
  });
  EXPECT_EQ(ReadAll(file, Header(13, 1, 1)), "Hello, world!");
  // The length ends the value even when the last row holds more.
  EXPECT_EQ(ReadAll(file, Header(9, 1, 1)), "Hello, wo");
}

TEST(LongValue, BrokenChainsAreCorrupt) {
  const Bytes looping = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{Concat({RowPointerBytes(1, 0), Ascii("ab")})}})});
  const Bytes endsEarly = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{Concat({RowPointerBytes(0, 0), Ascii("ab")})}})});
  const Bytes deletedRow = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{Ascii("gone"), RowFlag::kDeleted}})});
  const std::vector<std::pair<Bytes, Bytes>> cases = {
      {looping, Header(1000, 1, 0)},
      {endsEarly, Header(1000, 1, 0)},
      {deletedRow, Header(0x40000000u | 4, 1, 0)},
      {looping, Header(0x40000000u | 4, 7, 0)},  // a page past the end of the file
      {looping, Header(0x40000000u | 4, 1, 5)},  // a slot the page does not have
      {looping, Bytes{1, 2}},                    // a header cut short
  };
  for (const auto& [file, header] : cases) {
    try {
      ReadAll(file, header);
      ADD_FAILURE() << "no error";
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
    }
  }
}

TEST(LongValue, AHugeStatedLengthDoesNotAllocateIt) {
  const Bytes file = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{Concat({RowPointerBytes(0, 0), Ascii("ab")})}})});
  // 1 GB stated, a 2-byte chain: the error comes without trying to reserve the gigabyte.
  EXPECT_THROW(ReadAll(file, Header(0x3FFFFFFF, 1, 0)), JetError);
}

}  // namespace
}  // namespace Jet
