#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "jet/Creator.h"
#include "jet/JetError.h"
#include "tests/jet/write/IndexProblems.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Testing::OpenForWriting;
using Testing::RowAt;
using Testing::WritableCopy;

long OpenError(const std::filesystem::path& file, std::u16string* description = nullptr) {
  try {
    OpenForWriting(file);
  } catch (const Main::Error& error) {
    if (description != nullptr) *description = error.Description();
    return error.Number();
  }
  return 0;
}

std::set<std::filesystem::path> FolderListing(const std::filesystem::path& folder) {
  std::set<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// A child process that holds a write lock on `file` until it is killed.
pid_t HoldLockInChild(const std::filesystem::path& file) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0644);
    struct flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x10000000;  // where Access locks its lock file's ranges
    lock.l_len = 1;
    const char done = (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0) ? 'y' : 'n';
    (void)!::write(ready[1], &done, 1);
    while (true) ::pause();
  }
  char answer = 'n';
  (void)!::read(ready[0], &answer, 1);
  ::close(ready[0]);
  ::close(ready[1]);
  return answer == 'y' ? child : -1;
}

void Stop(pid_t child) {
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
}

TEST(WriterLocking, OneWriterAtATimeAndReadersAlongside) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = WritableCopy("V2000/testV2000.mdb");
  const auto listing = FolderListing(file.parent_path());
  auto writer = OpenForWriting(file);
  EXPECT_TRUE(writer->IsWritable());
  std::u16string message;
  EXPECT_EQ(OpenError(file, &message), JetErrorNumber::kDatabaseInUse);
  EXPECT_EQ(message, u"The database is in use by another program.");
  EXPECT_NO_THROW(Database::Open(file)->TablesRowset());
  // The program writes no file of its own beside the database.
  EXPECT_EQ(FolderListing(file.parent_path()), listing);
  writer->Close();
  EXPECT_FALSE(writer->IsWritable());
  EXPECT_EQ(OpenError(file), 0);
}

TEST(WriterLocking, ReadOnlyFilesAndFoldersFailAtOpen) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = WritableCopy("V2000/testV2000.mdb");
  const auto original = Testing::ReadBytes(file);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  std::u16string message;
  EXPECT_EQ(OpenError(file, &message), JetErrorNumber::kReadOnly);
  EXPECT_NE(message.find(u"read-only"), std::u16string::npos);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const auto folder = file.parent_path();
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_EQ(OpenError(file, &message), JetErrorNumber::kReadOnly);
  EXPECT_NE(message.find(u"folder"), std::u16string::npos);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  EXPECT_EQ(Testing::ReadBytes(file), original);
  // The corpus itself is read-only.
  EXPECT_EQ(OpenError(Testing::CorpusDir() / "V2000/testV2000.mdb"), JetErrorNumber::kReadOnly);
}

TEST(WriterLocking, AnAccessLockFileHeldByALiveProcessRefusesWriting) {
  QUORVANE_REQUIRE_CORPUS();
  for (const std::string name : {"V2000/testV2000.mdb", "V2007/testV2007.accdb"}) {
    const auto file = WritableCopy(name);
    auto lockFile = file;
    lockFile.replace_extension(name.ends_with(".mdb") ? ".ldb" : ".laccdb");
    const pid_t holder = HoldLockInChild(lockFile);
    ASSERT_GT(holder, 0);
    EXPECT_EQ(OpenError(file), JetErrorNumber::kDatabaseInUse) << name;
    Stop(holder);
    // A lock file left behind by a process that is gone does not stop anyone.
    EXPECT_TRUE(std::filesystem::exists(lockFile));
    EXPECT_EQ(OpenError(file), 0) << name;
  }
}

// Starts a child that opens `file` for writing (with `password`), lists the rows of `tableName`
// and then, once it has told the parent it is about to write, runs `update(database, table, ids)`
// until it is killed. Returns the child once its first update is under way, or -1 when it ended
// before.
pid_t StartUpdatingChild(const std::filesystem::path& file, const char16_t* tableName,
                         const std::function<void(Database&, const TableDefinition&, const std::vector<RowId>&)>& update,
                         const std::u16string& password = {}) {
  int updating[2];
  if (::pipe(updating) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    auto database = Database::Open(file, OpenOptions{password, true});
    const auto table = database->Table(tableName);
    std::vector<RowId> ids;
    for (auto cursor = database->Scan(table); cursor->Next();) ids.push_back(cursor->Id());
    (void)!::write(updating[1], "u", 1);
    update(*database, *table, ids);
    ::_exit(0);
  }
  ::close(updating[1]);  // a child that dies before it writes ends the read
  char started = 0;
  const ssize_t heard = child > 0 ? ::read(updating[0], &started, 1) : 0;
  ::close(updating[0]);
  return heard == 1 ? child : -1;
}

// The value row `row` gets in round `round` of the kill test: its length varies so that rows
// grow, shrink and move.
std::u16string KillTestValue(size_t round, size_t row) {
  std::u16string text = Main::FromUtf8("k" + std::to_string(round) + " r" + std::to_string(row) + " ");
  text.resize(8 + (round * 7 + row * 13) % 47, u'.');
  return text;
}

TEST(WriterCrash, AProcessKilledAtAnyMomentLeavesEveryRowOldOrNew) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  const auto file = WritableCopy("V2000/compIndexTestV2000.mdb");
  std::vector<std::u16string> original;
  {
    auto database = Database::Open(file);
    const auto table = database->Table(u"Table1");
    for (auto cursor = database->Scan(table); cursor->Next();) original.push_back(cursor->Get(2).AsText());
  }
  std::mt19937 random(20240601);
  size_t firstRound = 0;
  std::vector<std::u16string> current = original;  // the values as the last check found them
  size_t killsChangingRows = 0;
  size_t killsLeavingACopy = 0;
  for (int kill = 0; kill < 30; ++kill) {
    // Every third child starts again from the file as Access left it, where the first rounds
    // move many rows (later rounds mostly rewrite moved rows where they now live), and is killed
    // early in them. The time to the kill counts from the child's first update.
    const bool fresh = kill % 3 == 2;
    if (fresh) {
      WritableCopy("V2000/compIndexTestV2000.mdb");
      current = original;
    }
    const pid_t child = StartUpdatingChild(file, u"Table1", [&](Database& database, const TableDefinition& table,
                                                                 const std::vector<RowId>& ids) {
      for (size_t round = firstRound;; ++round)
        for (size_t row = 0; row < ids.size(); ++row) database.UpdateText(table, ids[row], 2, KillTestValue(round, row));
    });
    ASSERT_GT(child, 0) << "kill " << kill << ": the child ended before its first update";
    std::this_thread::sleep_for(std::chrono::microseconds(fresh ? random() % 4000 : random() % 40000));
    Stop(child);
    firstRound += 3;

    // A kill in the middle of a move may leave one copy of the row behind, which mdbtools lists as
    // one more record (the engine, like Access, skips it) -- one at most: the copies of earlier
    // kills went when the next writer first changed the table. The next writer removes it too.
    const auto dump = Oracle::MdbExport(file, "Table1");
    ASSERT_GE(dump.size(), original.size() + 1) << "kill " << kill;
    ASSERT_LE(dump.size(), original.size() + 2) << "kill " << kill;
    killsLeavingACopy += dump.size() == original.size() + 2 ? 1 : 0;
    {
      auto writer = OpenForWriting(file);
      const auto table = writer->Table(u"Table1");
      const RowId first = RowAt(*writer, table, 0);
      writer->UpdateValue(*table, first, 2, writer->ReadRow(*table, first)[2]);
      writer->Close();
    }

    // Every row once, with its old or a new value, through the engine and through mdbtools alike.
    auto database = Database::Open(file);
    const auto table = database->Table(u"Table1");
    std::vector<std::string> values;
    bool changed = false;
    size_t row = 0;
    for (auto cursor = database->Scan(table); cursor->Next(); ++row) {
      ASSERT_LT(row, original.size());
      const std::u16string value = cursor->Get(2).AsText();
      changed = changed || value != current[row];
      current[row] = value;
      bool known = value == original[row];
      for (size_t round = 0; round < firstRound + 1000 && !known; ++round) known = value == KillTestValue(round, row);
      ASSERT_TRUE(known) << "kill " << kill << " row " << row << ": " << Testing::Utf8(value);
      values.push_back(Testing::Utf8(value));
    }
    ASSERT_EQ(row, original.size()) << "kill " << kill;
    killsChangingRows += changed ? 1 : 0;
    const auto exported = Oracle::MdbExport(file, "Table1");
    ASSERT_EQ(exported.size(), original.size() + 1) << "kill " << kill;
    std::vector<std::string> exportedValues;
    for (size_t r = 1; r < exported.size(); ++r) exportedValues.push_back(exported[r].at(2).text);
    std::sort(values.begin(), values.end());
    std::sort(exportedValues.begin(), exportedValues.end());
    ASSERT_EQ(exportedValues, values) << "kill " << kill;
  }
  // Children were killed in the middle of their work, not all before their first write (under the
  // sanitizers about half of them are), and some in the middle of a move.
  EXPECT_GE(killsChangingRows, 5u);
  EXPECT_GT(killsLeavingACopy, 0u);
}

// The code row `row` gets in round `round` of the index kill test: unique to the row, its first
// letter jumping across the alphabet from round to round so that the key moves far through the
// index, its length varying so that pages fill and split.
std::u16string KillTestCode(size_t round, size_t row) {
  std::u16string code(1, static_cast<char16_t>(u'a' + (round * 7 + row * 13) % 26));
  code += Main::FromUtf8("-" + std::to_string(row) + "-" + std::to_string(round) + " ");
  code.resize(code.size() + (round * 11 + row * 5) % 40, u'x');
  return code;
}

// A Jet4 file with a table of `rows` rows indexed three ways: a Long primary key, a unique text
// index on Code and an ordinary text index on Name.
std::filesystem::path IndexedKillTestFile(size_t rows) {
  const auto file = Testing::ScratchDir() / "indexed.mdb";
  auto creator = CreateDatabase(file, FileFormat::Jet4);
  TableSpec table{u"Keys", {{u"Id", FieldType::LongInteger}, {u"Code", FieldType::Text, 80}, {u"Name", FieldType::Text, 80}}};
  table.indexes = {IndexSpec{u"PrimaryKey", {{u"Id"}}, true, true},
                   IndexSpec{u"Code", {{u"Code"}}, false, true},
                   IndexSpec{u"Name", {{u"Name"}}}};
  creator.AddTable(table);
  creator.InsertGenerated(u"Keys", rows, [](size_t n, Row& row) {
    row = {Main::Value::Integer(static_cast<int64_t>(n)), Main::Value::Text(KillTestCode(0, n)),
           Main::Value::Text(Main::FromUtf8("name " + std::to_string(n % 97)))};
  });
  creator.Close();
  return file;
}

// A kill test of changes to indexed rows: children run `update` from a round on and are killed
// at random moments; after each kill the next writer (with `password`) changes the table once,
// which mends what the kill left, every index must then match its rows and `checkRows` must find
// every row old or new (it returns whether any row changed since the file was made).
struct KillPlan {
  std::filesystem::path file;
  const char16_t* table;
  std::u16string password;
  size_t mendColumn;     // the column the next writer rewrites with its own value
  int freshEvery;        // every so many kills the file starts again as it was made
  size_t roundsPerKill;  // rounds a child is given before the next starts after them
  uint32_t maxDelay;     // microseconds from the child's first update to its kill
  unsigned seed;
  std::function<void(Database&, const TableDefinition&, const std::vector<RowId>&, size_t firstRound)> update;
  std::function<bool(const Database&, int kill, size_t firstRound)> checkRows;
  std::function<void(int kill)> killed = [](int) {};  // called once the child is gone
};

// Runs twenty kills of `plan`; returns how many found rows changed.
size_t RunKills(const KillPlan& plan) {
  const auto pristine = Testing::ReadBytes(plan.file);
  std::mt19937 random(plan.seed);
  size_t firstRound = 1;
  size_t killsChangingRows = 0;
  for (int kill = 0; kill < 20; ++kill) {
    if (kill % plan.freshEvery == plan.freshEvery - 1) {
      Testing::WriteBytes(plan.file, pristine);
      firstRound = 1;
    }
    const pid_t child = StartUpdatingChild(
        plan.file, plan.table,
        [&](Database& database, const TableDefinition& table, const std::vector<RowId>& ids) {
          plan.update(database, table, ids, firstRound);
        },
        plan.password);
    EXPECT_GT(child, 0) << "kill " << kill << ": the child ended before its first update";
    if (child <= 0) return killsChangingRows;
    std::this_thread::sleep_for(std::chrono::microseconds(random() % plan.maxDelay));
    Stop(child);
    plan.killed(kill);
    firstRound += plan.roundsPerKill;
    {
      auto writer = Database::Open(plan.file, OpenOptions{plan.password, true});
      const auto table = writer->Table(plan.table);
      const RowId first = RowAt(*writer, table, 0);
      writer->UpdateValue(*table, first, plan.mendColumn, writer->ReadRow(*table, first)[plan.mendColumn]);
      writer->Close();
    }
    EXPECT_EQ(Testing::IndexProblems(plan.file, plan.password), std::vector<std::string>{}) << "kill " << kill;
    const auto database = Database::Open(plan.file, OpenOptions{plan.password, false});
    killsChangingRows += plan.checkRows(*database, kill, firstRound) ? 1 : 0;
    if (::testing::Test::HasFailure()) break;
  }
  return killsChangingRows;
}

TEST(WriterCrash, IndexesKilledInTheMiddleOfAChangeAreMendedBeforeTheNextChange) {
  constexpr size_t kRows = 1500;
  KillPlan plan{IndexedKillTestFile(kRows), u"Keys", {}, 2, 4, 50, 300000, 20261208};
  plan.update = [](Database& database, const TableDefinition& table, const std::vector<RowId>& ids, size_t firstRound) {
    for (size_t round = firstRound;; ++round)
      for (size_t row = 0; row < ids.size(); ++row) {
        database.UpdateText(table, ids[row], 1, KillTestCode(round, row));
        database.UpdateText(table, ids[row], 2, KillTestCode(round + 1, row) + u" name");
      }
  };
  // Every row once, each code its first one or one the child wrote.
  plan.checkRows = [&](const Database& database, int kill, size_t firstRound) {
    const auto table = database.Table(u"Keys");
    size_t row = 0;
    bool changed = false;
    for (auto cursor = database.Scan(table); cursor->Next(); ++row) {
      EXPECT_LT(row, kRows);
      const std::u16string code = cursor->Get(1).AsText();
      bool known = false;
      for (size_t round = 0; round < firstRound && !known; ++round) known = code == KillTestCode(round, row);
      EXPECT_TRUE(known) << "kill " << kill << " row " << row << ": " << Testing::Utf8(code);
      changed = changed || code != KillTestCode(0, row);
    }
    EXPECT_EQ(row, kRows) << "kill " << kill;
    return changed;
  };
  EXPECT_GE(RunKills(plan), 5u);
}

// The long Notes row `row` gets in round `round` of the encrypted kill test: from a few hundred to
// several thousand characters, so that long values take pages of their own and new pages are
// added to the file.
std::u16string KillTestNotes(size_t round, size_t row) {
  std::u16string notes = Main::FromUtf8("notes " + std::to_string(round) + "/" + std::to_string(row) + " ");
  notes.resize(300 + (round * 1931 + row * 577) % 6000, u'n');
  return notes;
}

constexpr char16_t kKillTestPassword[] = u"kill switch";

// An ACE12 file encrypted with agile AES-256 and SHA-512 (few hash rounds, so that the many opens
// stay quick) with a table of `rows` rows: a Long primary key, a Name with an ordinary index and
// Notes (Memo) empty at first.
std::filesystem::path EncryptedKillTestFile(size_t rows) {
  const auto file = Testing::ScratchDir() / "encrypted.accdb";
  CreateOptions options;
  options.password = kKillTestPassword;
  options.encryption.spinCount = 16;
  auto creator = CreateDatabase(file, FileFormat::Ace12, options);
  TableSpec table{u"Notes", {{u"Id", FieldType::LongInteger}, {u"Name", FieldType::Text, 80}, {u"Notes", FieldType::Memo}}};
  table.indexes = {IndexSpec{u"PrimaryKey", {{u"Id"}}, true, true}, IndexSpec{u"Name", {{u"Name"}}}};
  creator.AddTable(table);
  creator.InsertGenerated(u"Notes", rows, [](size_t n, Row& row) {
    row = {Main::Value::Integer(static_cast<int64_t>(n)), Main::Value::Text(KillTestValue(0, n)), Main::Value::Text(u"")};
  });
  creator.Close();
  return file;
}

TEST(WriterCrash, AnEncryptedFileKilledAtAnyMomentOpensWithEveryRowOldOrNew) {
  constexpr size_t kRows = 400;
  KillPlan plan{EncryptedKillTestFile(kRows), u"Notes", kKillTestPassword, 1, 5, 40, 250000, 20261209};
  plan.update = [](Database& database, const TableDefinition& table, const std::vector<RowId>& ids, size_t firstRound) {
    for (size_t round = firstRound;; ++round)
      for (size_t row = 0; row < ids.size(); ++row) {
        database.UpdateText(table, ids[row], 1, KillTestValue(round, row));
        if (row % 3 == 0) database.UpdateText(table, ids[row], 2, KillTestNotes(round, row));
      }
  };
  // Long values the child wrote made the file grow before some kills.
  size_t killsGrowingTheFile = 0;
  auto size = std::filesystem::file_size(plan.file);
  plan.killed = [&](int) {
    const auto now = std::filesystem::file_size(plan.file);
    killsGrowingTheFile += now > size ? 1 : 0;
    size = now;
  };
  // The file opens with its password only (every page decrypts); every row once, its Name and
  // Notes each the first one or one the child wrote.
  plan.checkRows = [&](const Database& database, int kill, size_t firstRound) {
    EXPECT_EQ(Testing::RefusalNumber([&] { Database::Open(plan.file); }), JetErrorNumber::kNotValidPassword);
    const auto table = database.Table(u"Notes");
    size_t row = 0;
    bool changed = false;
    for (auto cursor = database.Scan(table); cursor->Next(); ++row) {
      EXPECT_LT(row, kRows);
      const std::u16string name = cursor->Get(1).AsText();
      const std::u16string notes = cursor->Get(2).AsText();
      bool knownName = name == KillTestValue(0, row);
      bool knownNotes = notes.empty();
      for (size_t round = 1; round < firstRound && !(knownName && knownNotes); ++round) {
        knownName = knownName || name == KillTestValue(round, row);
        knownNotes = knownNotes || notes == KillTestNotes(round, row);
      }
      EXPECT_TRUE(knownName) << "kill " << kill << " row " << row << ": " << Testing::Utf8(name);
      EXPECT_TRUE(knownNotes) << "kill " << kill << " row " << row << ": " << Testing::Utf8(notes.substr(0, 40));
      changed = changed || name != KillTestValue(0, row);
    }
    EXPECT_EQ(row, kRows) << "kill " << kill;
    size = std::filesystem::file_size(plan.file);  // the mend may have written too
    return changed;
  };
  EXPECT_GE(RunKills(plan), 5u);
  EXPECT_GT(killsGrowingTheFile, 0u);
}

}  // namespace
}  // namespace Jet
