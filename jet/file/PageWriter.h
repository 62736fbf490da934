#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/file/WritableFile.h"

// Whole-page writes: each page goes into the page file, so that reads see it at once, and to the
// file, encoded by the page file's codec. The header page is never written.
// A codec that refuses writes (PageCodec::WriteRefusal) refuses every write before anything reaches
// the page file or the file. The last page written is held back until another page is written or Flush is called
// (write-order rule 1, jet/write/WriteOrder.h).
namespace Jet {

class PageWriter {
 public:
  PageWriter(WritableFile& file, PageFile& pages) : file_(file), pages_(pages) {}

  ~PageWriter();
  PageWriter(const PageWriter&) = delete;
  PageWriter& operator=(const PageWriter&) = delete;

  // `decoded` must be one whole page.
  void Write(uint32_t number, std::vector<uint8_t> decoded);
  // Page `number` (which exists) to change in place: a write of that page, whose bytes are what
  // the caller leaves in the span before its next call of this writer. The page's copy is given
  // up once it has reached the file (PageFile::Settled). Refuses as Write does.
  MutableBytes Edit(uint32_t number);
  // Writes the page held back, if any, to the file.
  void Flush();
  // Writes a new page past the last one and returns its number.
  uint32_t Append(std::vector<uint8_t> decoded);
  uint32_t PageSize() const { return pages_.PageSize(); }
  const PageFile& Pages() const { return pages_; }
  uint64_t PagesWritten() const { return written_; }

 private:
  WritableFile& file_;
  PageFile& pages_;
  uint64_t written_ = 0;
  // Refuses a write of page `number` before anything changes (header page, refusing codec, a page
  // beyond the end or one past it when `mayAppend` is false).
  void CheckWritable(uint32_t number, bool mayAppend) const;
  void WriteToFile(uint32_t number, ByteSpan decoded);

  std::optional<uint32_t> heldBack_;  // a page written to the page file but not yet to the file
  std::vector<uint8_t> encoded_;      // the held-back page encoded for the file (encoded files)
};

}  // namespace Jet
