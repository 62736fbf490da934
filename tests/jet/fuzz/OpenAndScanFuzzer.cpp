// libFuzzer target: any bytes, opened as an Access file, listed and scanned cell by cell, must
// give values or a Main::Error; never a crash, a sanitizer report, a hang or a leak.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "jet/Database.h"
#include "jet/JetError.h"

namespace {

// The one file each input is written to in turn (the engine opens files, not memory).
class InputFile {
 public:
  InputFile() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder != nullptr ? folder : "/tmp") + "/jet-fuzz-XXXXXX";
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) std::abort();
    path_ = pattern;
  }
  ~InputFile() {
    close(fd_);
    std::filesystem::remove(path_);
  }

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

 private:
  int fd_ = -1;
  std::filesystem::path path_;
};

// Reads every cell of the table, the text cells also through GetText.
void ScanTable(const Jet::Database& database, const std::u16string& name) {
  const std::shared_ptr<const Jet::TableDefinition> table = database.Table(name);
  const std::unique_ptr<Jet::RowCursor> cursor = database.Scan(table);
  std::u16string text;
  while (cursor->Next()) {
    for (size_t column = 0; column < table->columns.size(); ++column) {
      const Main::Value value = cursor->Get(column);
      if (value.IsNull() != cursor->IsNull(column)) std::abort();
      const Jet::ColumnType type = table->columns[column].type;
      if (type == Jet::ColumnType::Text || type == Jet::ColumnType::Memo) {
        cursor->GetText(column, text);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static InputFile input;
  try {
    const std::unique_ptr<Jet::Database> database = Jet::Database::Open(input.Write(data, size));
    for (const Jet::CatalogEntry& entry : database->TablesRowset()) {
      try {
        ScanTable(*database, entry.name);
      } catch (const Main::Error&) {
        // A broken table: the others are still scanned.
      }
    }
  } catch (const Main::Error&) {
    // Rejected as a whole: the expected outcome for most inputs.
  }
  return 0;
}
