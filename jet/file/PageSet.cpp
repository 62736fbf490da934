#include "jet/file/PageSet.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "jet/base/Failure.h"

namespace Jet::Create {
namespace {

[[noreturn]] void ThrowWriteFailure(const std::filesystem::path& file, int error) {
  ThrowNoPermission("Cannot write the database file '" + file.string() + "': " + std::strerror(error) + ".");
}

}  // namespace

uint32_t PageSet::Allocate() {
  pages_.emplace_back(pageSize_, 0);
  return Count() - 1;
}

MutableBytes PageSet::Page(uint32_t number) {
  return pages_.at(number);
}

std::span<const uint8_t> PageSet::Page(uint32_t number) const {
  return pages_.at(number);
}

void PageSet::WriteFile(const std::filesystem::path& file, const PageCodec& codec) const {
  const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) ThrowWriteFailure(file, errno);
  std::vector<uint8_t> page;
  for (uint32_t number = 0; number < Count(); ++number) {
    page = pages_[number];
    codec.Encode(number, page);
    size_t written = 0;
    while (written < page.size()) {
      const ssize_t result = ::write(descriptor, page.data() + written, page.size() - written);
      if (result < 0 && errno == EINTR) continue;
      if (result <= 0) {
        const int error = result < 0 ? errno : EIO;
        ::close(descriptor);
        ThrowWriteFailure(file, error);
      }
      written += static_cast<size_t>(result);
    }
  }
  if (::fsync(descriptor) != 0 || ::close(descriptor) != 0) ThrowWriteFailure(file, errno);
}

}  // namespace Jet::Create
