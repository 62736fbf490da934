#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/PageFile.h"
#include "jet/WritableFile.h"

// Whole-page writes: each page goes to the file (RC4-encoded for a Jet4 file with a database
// key) and into the page file, so that reads see it at once. The header page is never written.
namespace Jet {

class PageWriter {
 public:
  PageWriter(WritableFile& file, PageFile& pages, uint32_t databaseKey)
      : file_(file), pages_(pages), databaseKey_(databaseKey) {}

  // `decoded` must be one whole page.
  void Write(uint32_t number, std::vector<uint8_t> decoded);
  // Writes a new page past the last one and returns its number.
  uint32_t Append(std::vector<uint8_t> decoded);
  uint32_t PageSize() const { return pages_.PageSize(); }
  const PageFile& Pages() const { return pages_; }
  uint64_t PagesWritten() const { return written_; }

 private:
  WritableFile& file_;
  PageFile& pages_;
  uint32_t databaseKey_;
  uint64_t written_ = 0;
};

}  // namespace Jet
