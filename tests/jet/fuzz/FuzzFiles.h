#pragma once

// What the engine's fuzz targets share: a private file in the temporary folder that each input is
// written to (the engine opens files, not memory), and a scan that reads every cell of a table.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/Database.h"

namespace JetFuzz {

// A file of its own under $TMPDIR (or /tmp), removed with the object.
class ScratchFile {
 public:
  explicit ScratchFile(const char* prefix = "jet-fuzz") {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder != nullptr ? folder : "/tmp") + "/" + prefix + "-XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) std::abort();
    path_ = pattern;
  }
  ~ScratchFile() {
    close(fd_);
    std::filesystem::remove(path_);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // Replaces the file's contents with these bytes.
  const std::filesystem::path& Write(const uint8_t* data, size_t size) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    size_t written = 0;
    while (written < size) {
      const ssize_t n = pwrite(fd_, data + written, size - written, static_cast<off_t>(written));
      if (n <= 0) std::abort();
      written += static_cast<size_t>(n);
    }
    return path_;
  }

  // The bytes at the path now (whoever wrote them).
  std::vector<uint8_t> Read() const {
    const int fd = open(path_.c_str(), O_RDONLY);
    if (fd < 0) std::abort();
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (;;) {
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n < 0) std::abort();
      if (n == 0) break;
      bytes.insert(bytes.end(), buffer, buffer + n);
    }
    close(fd);
    return bytes;
  }

 private:
  int fd_ = -1;
  std::filesystem::path path_;
};

// Reads every cell of the table, the text cells also through GetText; a cell whose Get and IsNull
// disagree aborts. Each row's identity and values go to `row` when one is given. Throws what the
// engine throws.
inline void ScanTable(const Jet::Database& database, std::u16string_view name,
                      const std::function<void(Jet::RowId, std::vector<Main::Value>&&)>& row = {}) {
  const std::shared_ptr<const Jet::TableDefinition> table = database.Table(name);
  const std::unique_ptr<Jet::RowCursor> cursor = database.Scan(table);
  std::u16string text;
  while (cursor->Next()) {
    std::vector<Main::Value> values;
    if (row) values.reserve(table->columns.size());
    for (size_t column = 0; column < table->columns.size(); ++column) {
      Main::Value value = cursor->Get(column);
      if (value.IsNull() != cursor->IsNull(column)) std::abort();
      const Jet::ColumnType type = table->columns[column].type;
      if (type == Jet::ColumnType::Text || type == Jet::ColumnType::Memo) cursor->GetText(column, text);
      if (row) values.push_back(std::move(value));
    }
    if (row) row(cursor->Id(), std::move(values));
  }
}

}  // namespace JetFuzz
