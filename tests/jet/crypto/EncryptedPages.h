#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "jet/Database.h"
#include "jet/file/Header.h"
#include "jet/file/PageCodecChoice.h"
#include "tests/jet/CorpusFiles.h"

// The pages of an encrypted file as stored and as decrypted, to compare a file before and after a
// write page by page; the file opened with a password.
namespace Jet::Testing {

// The numbers of the pages whose stored bytes differ between two files of one page size (pages
// only one of them has count as differing).
inline std::set<uint32_t> ChangedPages(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after,
                                       uint32_t pageSize) {
  std::set<uint32_t> changed;
  const size_t pages = std::max(before.size(), after.size()) / pageSize;
  for (uint32_t n = 0; n < pages; ++n) {
    const size_t at = size_t{n} * pageSize;
    const bool both = at + pageSize <= before.size() && at + pageSize <= after.size();
    if (!both || !std::equal(before.begin() + at, before.begin() + at + pageSize, after.begin() + at)) changed.insert(n);
  }
  return changed;
}

// The codec `file`'s header and `password` choose (the password's hash rounds run once here).
inline std::shared_ptr<const PageCodec> CodecOf(const std::vector<uint8_t>& file, const std::u16string& password) {
  return ChoosePageCodec(ReadHeader(file, "file"), file, password, "file");
}

// Page `number` of `file` (4 KB pages) decrypted by `codec` as page `as`.
inline std::vector<uint8_t> DecryptedPage(const std::vector<uint8_t>& file, uint32_t number, const PageCodec& codec,
                                          std::optional<uint32_t> as = std::nullopt) {
  const size_t at = size_t{number} * 4096;
  std::vector<uint8_t> page(file.begin() + at, file.begin() + at + 4096);
  codec.Decode(as.value_or(number), page);
  return page;
}

// `file` opened with `password`, for reading or for writing.
inline std::unique_ptr<Database> OpenWith(const std::filesystem::path& file, const std::u16string& password,
                                          bool readWrite = false) {
  return Database::Open(file, OpenOptions{password, readWrite});
}

// True when `page` holds `text` as compressed Unicode (its Latin-1 bytes) or as UTF-16.
inline bool PageHoldsText(const std::vector<uint8_t>& page, const std::string& text) {
  std::string wide;
  for (const char c : text) wide += std::string{c, '\0'};
  const std::string bytes(page.begin(), page.end());
  return bytes.find(text) != std::string::npos || bytes.find(wide) != std::string::npos;
}

}  // namespace Jet::Testing
