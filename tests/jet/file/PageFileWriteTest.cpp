// Written pages served by the page file once the writer has put them into the file: a page edited
// in place gives up its copy and is read through the file's shared mapping (for an encoded file
// through the decoded cache, then the mapping decoded again); pages written whole, pages appended
// past the mapping's end and the page held back keep theirs. Plain and RC4-encoded files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include "jet/crypto/Rc4PageCodec.h"
#include "jet/file/FileMapping.h"
#include "jet/file/PageFile.h"
#include "jet/file/PageWriter.h"
#include "jet/file/WritableFile.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kPages = 100;  // more than the decoded cache keeps

Bytes Pattern(uint32_t number, uint8_t seed) {
  Bytes page(kPageSize);
  for (size_t n = 0; n < page.size(); ++n) page[n] = static_cast<uint8_t>(seed + number * 31 + n * 7);
  return page;
}

std::shared_ptr<const PageCodec> CodecFor(bool encoded) {
  if (encoded) return std::make_shared<Rc4PageCodec>(0x5EED1234u);
  return std::make_shared<PlainPageCodec>();
}

// A file of kPages pages (Pattern seed 0) opened as the database opens one for writing.
class PageFileWriteTest : public testing::TestWithParam<bool> {
 protected:
  PageFileWriteTest() : path_(std::filesystem::temp_directory_path() / ("quorvane_page_file_" + std::to_string(::getpid()) +
                                                                        (GetParam() ? "_rc4.mdb" : ".mdb"))) {
    const std::shared_ptr<const PageCodec> codec = CodecFor(GetParam());
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    for (uint32_t number = 0; number < kPages; ++number) {
      Bytes page = Pattern(number, 0);
      codec->Encode(number, page);
      out.write(reinterpret_cast<const char*>(page.data()), static_cast<std::streamsize>(page.size()));
    }
    out.close();
    writable_.emplace(path_);
    mapping_.emplace(path_);
    pages_.emplace(mapping_->Bytes(), kPageSize, codec);
    writer_.emplace(*writable_, *pages_);
  }
  ~PageFileWriteTest() override {
    writer_.reset();
    writable_.reset();
    std::filesystem::remove(path_);
  }

  Bytes Read(uint32_t number) const {
    const ByteSpan bytes = pages_->Read(number).Bytes();
    return Bytes(bytes.begin(), bytes.end());
  }
  // The page as the file on disk holds it, decoded.
  Bytes OnDisk(uint32_t number) const {
    std::ifstream in(path_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(number) * kPageSize);
    Bytes page(kPageSize);
    in.read(reinterpret_cast<char*>(page.data()), kPageSize);
    if (in.gcount() != kPageSize) return {};
    CodecFor(GetParam())->Decode(number, page);
    return page;
  }
  void Edit(uint32_t number, const Bytes& bytes) {
    const MutableBytes target = writer_->Edit(number);
    ASSERT_EQ(target.size(), bytes.size());
    std::copy(bytes.begin(), bytes.end(), target.begin());
  }
  // Reads every other page, so that the decoded cache no longer holds `number`.
  void ReadAllBut(uint32_t number) const {
    for (uint32_t other = 1; other < kPages; ++other)
      if (other != number) (void)pages_->Read(other);
  }

  std::filesystem::path path_;
  std::optional<WritableFile> writable_;
  std::optional<FileMapping> mapping_;
  std::optional<PageFile> pages_;
  std::optional<PageWriter> writer_;
};

TEST_P(PageFileWriteTest, EditedPagesAreReadFromTheFileOnceWritten) {
  Edit(2, Pattern(2, 1));
  EXPECT_EQ(pages_->CopiesHeld(), 1u);
  EXPECT_EQ(Read(2), Pattern(2, 1));
  EXPECT_EQ(OnDisk(2), Pattern(2, 0));  // held back until another page is written
  Edit(3, Pattern(3, 1));
  EXPECT_EQ(OnDisk(2), Pattern(2, 1));
  EXPECT_EQ(pages_->CopiesHeld(), 1u);  // page 3's, held back
  EXPECT_EQ(Read(2), Pattern(2, 1));
  writer_->Flush();
  EXPECT_EQ(pages_->CopiesHeld(), 0u);
  ReadAllBut(2);
  EXPECT_EQ(Read(2), Pattern(2, 1));
  EXPECT_EQ(Read(3), Pattern(3, 1));
  EXPECT_EQ(OnDisk(3), Pattern(3, 1));
  EXPECT_EQ(Read(4), Pattern(4, 0));
}

// A page edited again after it reached the file starts from what the file holds.
TEST_P(PageFileWriteTest, AnEditStartsFromThePageAsLastWritten) {
  Edit(5, Pattern(5, 1));
  writer_->Flush();
  ReadAllBut(5);
  const MutableBytes again = writer_->Edit(5);
  EXPECT_EQ(Bytes(again.begin(), again.end()), Pattern(5, 1));
  again[100] ^= 0xFF;
  writer_->Flush();
  Bytes expected = Pattern(5, 1);
  expected[100] ^= 0xFF;
  EXPECT_EQ(Read(5), expected);
  EXPECT_EQ(OnDisk(5), expected);
  EXPECT_EQ(pages_->CopiesHeld(), 0u);
}

// A reader holding a page keeps the bytes it read while the page is edited on.
TEST_P(PageFileWriteTest, APageHeldByAReaderKeepsItsBytes) {
  Edit(6, Pattern(6, 1));
  const Page held = pages_->Read(6);
  Edit(6, Pattern(6, 2));
  EXPECT_EQ(Bytes(held.Bytes().begin(), held.Bytes().end()), Pattern(6, 1));
  EXPECT_EQ(Read(6), Pattern(6, 2));
  writer_->Flush();
  EXPECT_EQ(OnDisk(6), Pattern(6, 2));
  EXPECT_EQ(Bytes(held.Bytes().begin(), held.Bytes().end()), Pattern(6, 1));
}

TEST_P(PageFileWriteTest, PagesWrittenWholeKeepTheirCopies) {
  writer_->Write(7, Pattern(7, 1));
  writer_->Flush();
  EXPECT_EQ(pages_->CopiesHeld(), 1u);
  ReadAllBut(7);
  EXPECT_EQ(Read(7), Pattern(7, 1));
  EXPECT_EQ(OnDisk(7), Pattern(7, 1));
}

// A page past the mapping's end is served from its copy, edited or not.
TEST_P(PageFileWriteTest, AppendedPagesKeepTheirCopies) {
  EXPECT_EQ(writer_->Append(Pattern(kPages, 1)), kPages);
  writer_->Flush();
  Edit(kPages, Pattern(kPages, 2));
  writer_->Flush();
  EXPECT_EQ(pages_->CopiesHeld(), 1u);
  ReadAllBut(kPages);
  EXPECT_EQ(Read(kPages), Pattern(kPages, 2));
  EXPECT_EQ(OnDisk(kPages), Pattern(kPages, 2));
}

TEST_P(PageFileWriteTest, EditsRefuseTheHeaderAndPagesPastTheEnd) {
  EXPECT_THROW(writer_->Edit(0), JetError);
  EXPECT_THROW(writer_->Edit(kPages), JetError);
  EXPECT_EQ(pages_->CopiesHeld(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Codecs, PageFileWriteTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Rc4Encoded" : "Plain"; });

}  // namespace
}  // namespace Jet
