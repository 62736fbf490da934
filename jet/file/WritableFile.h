#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// The database file opened for writing: an exclusive advisory lock (flock) held for the life of
// this object, whole-page writes at their offsets, and fsync. Opening refuses a read-only file, a
// file in a read-only folder, a file another writer holds, and a file whose Access lock file
// (.ldb / .laccdb beside it) is locked by a live process. It creates no file of its own.
namespace Jet {

class WritableFile {
 public:
  // Throws JetError: kFileNotFound, kReadOnly (read-only file, folder or file system),
  // kDatabaseInUse (another writer here, or Access has it open), kNoPermission.
  explicit WritableFile(const std::filesystem::path& file);
  ~WritableFile();
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;

  // Writes `bytes` at `offset` in full; throws JetError on a failed or short write.
  void WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
  // Flushes the written pages to the disk (fsync).
  void Sync();
  // Syncs, then releases the lock and the descriptor. Later writes throw kReadOnly.
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

// Whether the Access lock file that belongs to `database` (same name with .ldb or .laccdb) exists
// and a live process holds a lock on it.
bool LockFileHeld(const std::filesystem::path& database);

}  // namespace Jet
