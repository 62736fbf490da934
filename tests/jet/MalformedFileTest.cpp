#include <gtest/gtest.h>

#include "tests/jet/CorpusFiles.h"
#include "jet/Database.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

// Opens the file, lists the catalogue and reads every cell of every table. Damage may stop it
// with a JetError, nothing else.
void ReadEverything(const std::filesystem::path& file) {
  const auto database = Database::Open(file);
  std::u16string text;
  for (const CatalogEntry& entry : database->TablesRowset()) {
    if (entry.type != u"TABLE" && entry.type != u"SYSTEM TABLE") continue;
    const auto definition = database->Table(entry.name);
    const auto cursor = database->Scan(definition);
    while (cursor->Next())
      for (size_t n = 0; n < definition->columns.size(); ++n) {
        cursor->Get(n);
        cursor->GetText(n, text);
      }
  }
}

// A small deterministic generator, so that a failure can be repeated.
struct XorShift {
  uint64_t state;
  uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
};

TEST(MalformedFile, DamagedCopiesFailCleanly) {
  QUORVANE_REQUIRE_CORPUS();
  const auto folder = Testing::ScratchDir();
  XorShift random{0x9E3779B97F4A7C15ull};
  int failures = 0;
  for (const char* name : {"V1997/overflowTestV1997.mdb", "V2000/delColTestV2000.mdb",
                           "V2007/complexDataTestV2007.accdb"}) {
    const std::vector<uint8_t> original = Testing::ReadBytes(Testing::CorpusDir() / name);
    const size_t pageSize = original[0x14] == 0 ? 2048 : 4096;
    for (int round = 0; round < 150; ++round) {
      std::vector<uint8_t> damaged = original;
      // Mostly hit the catalogue's definition and data pages, sometimes anywhere after the header.
      const size_t span = round % 2 == 0 ? pageSize * 8 : damaged.size() - pageSize;
      const int changes = 1 + static_cast<int>(random.Next() % 8);
      for (int change = 0; change < changes; ++change)
        damaged[pageSize + random.Next() % span] = static_cast<uint8_t>(random.Next());
      const auto file = Testing::WriteBytes(folder / "damaged.mdb", damaged);
      try {
        ReadEverything(file);
      } catch (const JetError&) {
        ++failures;
      }
    }
  }
  EXPECT_GT(failures, 0);  // the damage was noticed at least somewhere
}

TEST(MalformedFile, TruncatedCopiesFailCleanly) {
  QUORVANE_REQUIRE_CORPUS();
  const std::vector<uint8_t> original = Testing::ReadBytes(Testing::CorpusDir() / "V2000/test2V2000.mdb");
  const auto folder = Testing::ScratchDir();
  // Cut inside a page, or so short that the catalogue is missing: not a database.
  for (const size_t length : {4096u * 1 + 100, 4096u * 2, 4096u * 10 + 1, 4096u * 30 + 4000}) {
    const auto file = Testing::WriteBytes(
        folder / "cut.mdb", std::vector<uint8_t>(original.begin(), original.begin() + length));
    try {
      ReadEverything(file);
      ADD_FAILURE() << length;
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kUnrecognizedFormat) << length;
    }
  }
  // Cut at a page boundary: the pages that are gone are pointed at from outside the file.
  for (const size_t pages : {3u, 5u, 10u, 30u}) {
    const auto file = Testing::WriteBytes(
        folder / "cut.mdb", std::vector<uint8_t>(original.begin(), original.begin() + 4096 * pages));
    try {
      ReadEverything(file);
      ADD_FAILURE() << pages;
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt) << pages;
    }
  }
}

}  // namespace
}  // namespace Jet
