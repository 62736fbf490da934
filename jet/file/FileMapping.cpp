#include "jet/file/FileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

// Closes a descriptor when the constructor leaves, whatever way it leaves.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

[[noreturn]] void ThrowOpenFailure(int error, const std::string& name) {
  if (error == ENOENT || error == ENOTDIR) ThrowFileNotFound(name);
  if (error == EACCES || error == EPERM) ThrowCannotOpen(name, ": permission denied");
  ThrowCannotOpen(name);
}

}  // namespace

FileMapping::FileMapping(const std::filesystem::path& file) {
  const std::string name = file.string();
  const Descriptor descriptor{::open(name.c_str(), O_RDONLY | O_CLOEXEC)};
  if (descriptor.fd < 0) ThrowOpenFailure(errno, name);
  struct stat status{};
  if (::fstat(descriptor.fd, &status) != 0) ThrowOpenFailure(errno, name);
  if (!S_ISREG(status.st_mode) || status.st_size <= 0)
    ThrowUnrecognizedFormat(name);
  size_ = static_cast<size_t>(status.st_size);
  // Shared, so that pages the writer puts into the file (pwrite) show here: the page file serves
  // them from the mapping once they are written instead of keeping copies.
  void* mapped = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, descriptor.fd, 0);
  if (mapped == MAP_FAILED) ThrowOpenFailure(errno, name);
  data_ = static_cast<const uint8_t*>(mapped);
}

FileMapping::~FileMapping() {
  ::munmap(const_cast<uint8_t*>(data_), size_);
}

}  // namespace Jet
