// libFuzzer target: any bytes, opened as an Access file, listed and scanned cell by cell, must
// give values or a Main::Error; never a crash, a sanitizer report, a hang or a leak.
#include <cstdint>

#include "jet/Database.h"
#include "jet/JetError.h"
#include "tests/jet/fuzz/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static JetFuzz::ScratchFile input;
  try {
    const std::unique_ptr<Jet::Database> database = Jet::Database::Open(input.Write(data, size));
    for (const Jet::CatalogEntry& entry : database->TablesRowset()) {
      try {
        JetFuzz::ScanTable(*database, entry.name);
      } catch (const Main::Error&) {
        // A broken table: the others are still scanned.
      }
    }
  } catch (const Main::Error&) {
    // Rejected as a whole: the expected outcome for most inputs.
  }
  return 0;
}
