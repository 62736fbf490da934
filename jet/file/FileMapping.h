#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

// A read-only memory map of a whole file as it was long when opened: the pages come in from disk
// only when first touched, and what is later written to the file within that length shows in it.
namespace Jet {

class FileMapping {
 public:
  // Throws JetError: kFileNotFound, kNoPermission, or kUnrecognizedFormat for an empty file or
  // something that is not a regular file.
  explicit FileMapping(const std::filesystem::path& file);
  ~FileMapping();
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  std::span<const uint8_t> Bytes() const { return {data_, size_}; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace Jet
