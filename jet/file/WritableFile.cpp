#include "jet/file/WritableFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

[[noreturn]] void ThrowNotWritable(const std::string& name, const std::string& why) {
  ThrowReadOnly("The database '" + name + "' cannot be opened for writing: " + why + ".");
}

// True when some other process holds any lock on the open file `fd`.
bool OthersHoldLock(int fd) {
  struct flock probe{};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 0;
  probe.l_len = 0;  // to the end, and beyond
  if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK) return true;
  if (::flock(fd, LOCK_SH | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  ::flock(fd, LOCK_UN);
  return false;
}

bool LockFileHeldAt(const std::filesystem::path& lockFile) {
  const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = OthersHoldLock(fd);
  ::close(fd);
  return held;
}

// The checks done before the file is opened for writing: it exists, and neither it nor its
// folder is marked read-only (checked on the permission bits too, which root would override).
void CheckWritable(const std::filesystem::path& file) {
  const std::string name = file.string();
  struct stat status{};
  if (::stat(name.c_str(), &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      ThrowFileNotFound(name);
    ThrowCannotOpen(name);
  }
  if (!S_ISREG(status.st_mode))
    ThrowUnrecognizedFormat(name);
  if ((status.st_mode & kAnyWrite) == 0 || ::access(name.c_str(), W_OK) != 0)
    ThrowNotWritable(name, "the file is read-only");
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  struct stat folderStatus{};
  if (::stat(folder.c_str(), &folderStatus) == 0 &&
      ((folderStatus.st_mode & kAnyWrite) == 0 || ::access(folder.c_str(), W_OK) != 0))
    ThrowNotWritable(name, "its folder is read-only");
}

}  // namespace

bool LockFileHeld(const std::filesystem::path& database) {
  std::filesystem::path ldb = database;
  std::filesystem::path laccdb = database;
  return LockFileHeldAt(ldb.replace_extension(".ldb")) || LockFileHeldAt(laccdb.replace_extension(".laccdb"));
}

WritableFile::WritableFile(const std::filesystem::path& file) : path_(file) {
  CheckWritable(file);
  const std::string name = file.string();
  fd_ = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == EROFS || errno == EACCES || errno == EPERM) ThrowNotWritable(name, std::strerror(errno));
    ThrowCannotOpen(name, " for writing");
  }
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd_);
    fd_ = -1;
    ThrowDatabaseInUse();
  }
  if (LockFileHeld(file)) {
    ::close(fd_);
    fd_ = -1;
    ThrowDatabaseInUse();
  }
}

WritableFile::~WritableFile() {
  if (fd_ < 0) return;
  ::fsync(fd_);
  ::close(fd_);
}

void WritableFile::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  if (fd_ < 0) ThrowReadOnly("The database has been closed for writing.");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0)
      ThrowNoPermission("Writing to the database '" + path_.string() + "' failed: " + std::strerror(errno) + ".");
    done += static_cast<size_t>(written);
  }
}

void WritableFile::Sync() {
  if (fd_ < 0) return;
  if (::fsync(fd_) != 0)
    ThrowNoPermission("Flushing the database '" + path_.string() + "' failed: " + std::strerror(errno) + ".");
}

void WritableFile::Close() {
  if (fd_ < 0) return;
  Sync();
  ::close(fd_);
  fd_ = -1;
}

}  // namespace Jet
