#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "jet/base/ByteWriter.h"
#include "jet/crypto/PageCodec.h"

// The pages of a database being created, held in memory and numbered from 0 (the header page)
// until the whole file is written at once. A page's bytes stay where they are while further
// pages are allocated.
namespace Jet::Create {

class PageSet {
 public:
  explicit PageSet(uint32_t pageSize) : pageSize_(pageSize) {}

  uint32_t PageSize() const { return pageSize_; }
  uint32_t Count() const { return static_cast<uint32_t>(pages_.size()); }
  // Appends a zeroed page and returns its number.
  uint32_t Allocate();
  MutableBytes Page(uint32_t number);
  std::span<const uint8_t> Page(uint32_t number) const;

  // Writes every page to `file` (replacing it), each encoded by `codec` (page 0 never is), and
  // flushes it to the disk. Throws JetError.
  void WriteFile(const std::filesystem::path& file, const PageCodec& codec = PlainPageCodec()) const;

 private:
  uint32_t pageSize_;
  std::vector<std::vector<uint8_t>> pages_;
};

}  // namespace Jet::Create
