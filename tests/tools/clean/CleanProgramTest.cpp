// quorvane-clean end to end on databases the tests make: what it prints, what it leaves in the
// file, and its exit status.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/Text.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "jet/Creator.h"
#include "tests/jet/CorpusFiles.h"
#include "tools/clean/ExitStatus.h"
#include "tools/clean/Program.h"

namespace Clean {
namespace {

using Main::Value;
using Texts = std::vector<std::string>;

// What one run printed and returned.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

Texts Lines(const std::string& text) {
  Texts lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CleanProgramTest : public testing::Test {
 protected:
  // People: Name Text(10), City Text(50), Photo Binary; Log: Note Memo with 150 records.
  void SetUp() override {
    file = Jet::Testing::ScratchDir() / "clean.mdb";
    MakeDatabase(file, {});
  }

  static void MakeDatabase(const std::filesystem::path& path, const std::u16string& password) {
    Jet::CreateOptions options;
    options.password = password;
    auto db = Jet::CreateDatabase(path, Jet::FileFormat::Jet4, options);
    db.AddTable({u"People", {{u"Name", Jet::FieldType::Text, 10},
                             {u"City", Jet::FieldType::Text, 50},
                             {u"Photo", Jet::FieldType::OleObject}}});
    db.InsertRows(u"People", {{Value::Text(u" Ann  Lee"), Value::Text(u"Oslo"), Value::Null()},
                              {Value::Text(u"Bo"), Value::Text(u"New  York"), Value::Null()},
                              {Value::Null(), Value::Text(u"a\tb"), Value::Null()}});
    db.AddTable({u"Log", {{u"Note", Jet::FieldType::Memo}}});
    for (int n = 0; n < 150; ++n) db.InsertRow(u"Log", {Value::Text(u"note " + Main::FromUtf8(std::to_string(n)))});
    db.Close();
  }

  ProgramRun Run(std::vector<std::u16string> arguments, bool terminal = false) const {
    std::ostringstream out, err;
    Console console(out, err, terminal);
    ProgramRun run;
    run.status = RunProgram(arguments, console);
    run.out = out.str();
    run.err = err.str();
    return run;
  }
  std::u16string File() const { return Main::FromUtf8(file.string()); }

  // The field's values as stored, Null as "<null>".
  Texts Stored(const std::u16string& table, const std::u16string& field) const {
    auto connection = Access::CreateConnection();
    connection->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File() + u";Jet OLEDB:Database Password=");
    Access::RecordSet records;
    records.Open(u"SELECT `" + field + u"` FROM `" + table + u"`", *connection);
    Texts values;
    for (; !records.Eof(); records.MoveNext()) {
      const Value value = records.Value(0);
      values.push_back(value.IsNull() ? "<null>" : Main::ToUtf8(value.ToText()));
    }
    return values;
  }

  std::filesystem::path file;
};

TEST_F(CleanProgramTest, TheListingsShowTablesFieldsValuesAndOperations) {
  const ProgramRun tables = Run({File(), u"--tables"});
  EXPECT_EQ(tables.status, kExitDone);
  EXPECT_EQ(Lines(tables.out), (Texts{"Log", "People"}));  // catalogue order: by name
  EXPECT_EQ(tables.err, "");

  EXPECT_EQ(Lines(Run({File(), u"--fields", u"people"}).out), (Texts{"Name", "City", "Photo"}));

  const ProgramRun preview = Run({File(), u"--preview", u"People", u"City"});
  EXPECT_EQ(Lines(preview.out), (Texts{"Oslo", "New  York", "a\\tb"}));
  const Texts notes = Lines(Run({File(), u"--preview", u"Log", u"Note"}).out);
  ASSERT_EQ(notes.size(), 101u);
  EXPECT_EQ(notes.front(), "note 0");
  EXPECT_EQ(notes.back(), "note 100");
  EXPECT_EQ(Lines(Run({File(), u"--preview", u"People", u"Name"}).out), (Texts{" Ann  Lee", "Bo", ""}));

  const Texts operations = Lines(Run({u"--operations"}).out);
  ASSERT_EQ(operations.size(), 27u);
  EXPECT_EQ(operations[0], "1\tRemove All Spaces In Selected Field");
  EXPECT_EQ(operations[26], "27\tRemove All Text Before x Position In Field");

  const ProgramRun help = Run({u"--help"});
  EXPECT_EQ(help.status, kExitDone);
  EXPECT_TRUE(Contains(help.out, "Exit status:"));
  EXPECT_TRUE(Contains(help.out, "Example:"));
  const ProgramRun nothing = Run({});
  EXPECT_EQ(nothing.status, kExitUsage);
  EXPECT_EQ(nothing.out, help.out);
}

TEST_F(CleanProgramTest, ARunCleansEveryNamedFieldAndCountsItsRecords) {
  const ProgramRun run = Run({File(), u"--table", u"people", u"--field", u"name", u"--field", u"City",
                              u"--operation", u"Remove All Spaces In Selected Field"});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Stored(u"People", u"Name"), (Texts{"AnnLee", "Bo", "<null>"}));
  EXPECT_EQ(Stored(u"People", u"City"), (Texts{"Oslo", "NewYork", "a\tb"}));
  EXPECT_EQ(Lines(run.out), (Texts{"Name: 3 of 3 records read, 1 changed, 2 unchanged, 0 refused.",
                                   "City: 3 of 3 records read, 1 changed, 2 unchanged, 0 refused."}));
  const Texts err = Lines(run.err);
  EXPECT_EQ(err.front(), "Name: 0%");
  EXPECT_TRUE(std::find(err.begin(), err.end(), "Name: 50%") != err.end()) << run.err;
  EXPECT_TRUE(std::find(err.begin(), err.end(), "City: 100%") != err.end()) << run.err;
  EXPECT_EQ(err.back(), "Done.");
}

TEST_F(CleanProgramTest, ADryRunListsTheChangesAndLeavesTheFileAsItWas) {
  const std::string before = Bytes(file);
  const ProgramRun run = Run({File(), u"--table", u"People", u"--field", u"City", u"--operation", u"9",
                              u"--answer", u" | ", u"--dry-run"});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Lines(run.out), (Texts{"a\\tb\ta | b",
                                   "City: 3 of 3 records read, 1 would change, 2 would stay as they are, 0 refused."}));
  EXPECT_TRUE(Bytes(file) == before);  // byte for byte

  // At most 101 changes are listed; all are counted.
  const ProgramRun many = Run({File(), u"--table", u"Log", u"--field", u"Note", u"--operation", u"12", u"--dry-run"});
  const Texts lines = Lines(many.out);
  ASSERT_EQ(lines.size(), 102u);
  EXPECT_EQ(lines[0], "note 0\tnote ");
  EXPECT_EQ(lines[100], "note 100\tnote ");
  EXPECT_EQ(lines[101], "Note: 150 of 150 records read, 150 would change, 0 would stay as they are, 0 refused.");
  EXPECT_TRUE(Bytes(file) == before);  // byte for byte
}

TEST_F(CleanProgramTest, TheAnswersReachThePromptsOfEveryField) {
  // Find and replace over two fields: asked once, used for both.
  const ProgramRun replaced = Run({File(), u"--table", u"People", u"--field", u"Name", u"--field", u"City",
                                   u"--operation", u"19", u"--find", u"o", u"--replace", u"0"});
  EXPECT_EQ(replaced.status, kExitDone) << replaced.err;
  EXPECT_EQ(Stored(u"People", u"Name"), (Texts{" Ann  Lee", "B0", "<null>"}));
  EXPECT_EQ(Stored(u"People", u"City"), (Texts{"Osl0", "New  Y0rk", "a\tb"}));
  // A number converted as the prompt converts it: 2.5 is 2.
  const ProgramRun cut = Run({File(), u"--table", u"People", u"--field", u"City", u"--operation", u"24",
                              u"--number", u"2.5"});
  EXPECT_EQ(cut.status, kExitDone) << cut.err;
  EXPECT_EQ(Stored(u"People", u"City"), (Texts{"l0", "w  Y0rk", "b"}));
}

TEST_F(CleanProgramTest, RefusedRecordsAreReportedAndGiveStatusOne) {
  const ProgramRun run = Run({File(), u"--table", u"People", u"--field", u"Name", u"--operation", u"2",
                              u"--answer", u"___"});
  EXPECT_EQ(run.status, kExitRefused);
  // " Ann  Lee" would need 15 characters of Name's 10: refused, the others handled.
  EXPECT_EQ(Stored(u"People", u"Name"), (Texts{" Ann  Lee", "Bo", "<null>"}));
  EXPECT_TRUE(Contains(run.err, "Application Error at record 1 of Name:\nThe field is too small")) << run.err;
  EXPECT_TRUE(Contains(run.err, "PushButton2_Click at line ")) << run.err;
  EXPECT_EQ(Lines(run.out), Texts{"Name: 3 of 3 records read, 0 changed, 2 unchanged, 1 refused."});

  const ProgramRun ole = Run({File(), u"--table", u"People", u"--field", u"Photo", u"--operation", u"1"});
  EXPECT_EQ(ole.status, kExitRefused);
  EXPECT_TRUE(Contains(ole.err, "The field 'Photo' of table 'People' is left unchanged: it holds OLE objects."))
      << ole.err;
  EXPECT_EQ(Lines(ole.out), Texts{"Photo: 0 of 3 records read, 0 changed, 0 unchanged, 3 refused."});
}

TEST_F(CleanProgramTest, ADuplicateKeyInAUniqueIndexCountsAsRefused) {
  const auto indexed = Jet::Testing::ScratchDir() / "indexed.mdb";
  {
    auto db = Jet::CreateDatabase(indexed, Jet::FileFormat::Jet4);
    Jet::TableSpec table{u"Parts", {{u"Code", Jet::FieldType::Text, 10}}};
    table.indexes = {Jet::IndexSpec{u"PrimaryKey", {{u"Code"}}, true, true}};
    db.AddTable(table);
    db.InsertRows(u"Parts", {{Value::Text(u"x 1")}, {Value::Text(u"X1")}, {Value::Text(u"y 2")}});
    db.Close();
  }
  const ProgramRun run = Run({Main::FromUtf8(indexed.string()), u"--table", u"Parts", u"--field", u"Code",
                              u"--operation", u"1"});
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_TRUE(Contains(run.err, "Application Error at record 1 of Code:\nThe changes you requested")) << run.err;
  EXPECT_EQ(Lines(run.out), Texts{"Code: 3 of 3 records read, 1 changed, 1 unchanged, 1 refused."});
}

TEST_F(CleanProgramTest, UsageErrorsAndDatabasesThatCannotBeOpenedGiveStatusTwo) {
  const std::string before = Bytes(file);
  const auto refused = [&](std::vector<std::u16string> arguments, const std::string& expected) {
    const ProgramRun run = Run(std::move(arguments));
    EXPECT_EQ(run.status, kExitUsage) << expected;
    EXPECT_TRUE(Contains(run.err, expected)) << run.err;
    EXPECT_EQ(run.out, "");
  };
  refused({File(), u"--table", u"People", u"--field", u"Name", u"--operation", u"2"},
          "asks \"Replace With:\": give --answer.\nTry 'quorvane-clean --help'.");
  refused({File(), u"--table", u"Nobody", u"--field", u"Name", u"--operation", u"1"},
          "The database has no table 'Nobody'. Its tables: Log, People.");
  refused({File(), u"--table", u"People", u"--field", u"Age", u"--operation", u"1"},
          "The table 'People' has no field 'Age'. Its fields: Name, City, Photo.");
  refused({File() + u".missing", u"--tables"}, "Could not find file");
  const std::filesystem::path text = file.parent_path() / "text.mdb";
  std::ofstream(text) << std::string(8192, 'x');
  refused({Main::FromUtf8(text.string()), u"--tables"}, "Unrecognized database format");
  EXPECT_TRUE(Bytes(file) == before);  // byte for byte

  const std::filesystem::path locked = file.parent_path() / "locked.mdb";
  MakeDatabase(locked, u"secret");
  const std::u16string lockedFile = Main::FromUtf8(locked.string());
  refused({lockedFile, u"--tables"}, "Not a valid password.");
  EXPECT_EQ(Lines(Run({lockedFile, u"--password", u"secret", u"--tables"}).out), (Texts{"Log", "People"}));

  // A database another program writes can be tried, not cleaned.
  auto writer = Access::CreateConnection();
  writer->SetMode(Access::kModeReadWrite);
  writer->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + File() + u";Jet OLEDB:Database Password=");
  refused({File(), u"--table", u"People", u"--field", u"Name", u"--operation", u"1"}, "in use by another program");
  EXPECT_EQ(Run({File(), u"--table", u"People", u"--field", u"Name", u"--operation", u"1", u"--dry-run"}).status,
            kExitDone);
  writer->Close();
}

// A file the user may only read can be listed and tried; a real run is refused before it starts
// instead of naming every field as left unchanged.
TEST_F(CleanProgramTest, AReadOnlyFileIsListedAndTriedButNotCleaned) {
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const std::string before = Bytes(file);
  EXPECT_EQ(Lines(Run({File(), u"--tables"}).out), (Texts{"Log", "People"}));
  const ProgramRun real = Run({File(), u"--table", u"People", u"--field", u"City", u"--operation", u"1"});
  EXPECT_EQ(real.status, kExitUsage);
  EXPECT_TRUE(Contains(real.err, "cannot be opened for writing: it can only be read")) << real.err;
  EXPECT_EQ(real.out, "");
  const ProgramRun dry = Run({File(), u"--table", u"People", u"--field", u"City", u"--operation", u"1", u"--dry-run"});
  EXPECT_EQ(dry.status, kExitDone);
  EXPECT_TRUE(Contains(dry.out, "City: 3 of 3 records read, 1 would change")) << dry.out;
  EXPECT_TRUE(Bytes(file) == before);  // byte for byte
}

TEST_F(CleanProgramTest, ATerminalGetsOneProgressLineRedrawnInPlace) {
  const ProgramRun run = Run({File(), u"--table", u"People", u"--field", u"City", u"--operation", u"1"}, true);
  EXPECT_EQ(run.status, kExitDone);
  EXPECT_TRUE(Contains(run.err, "\r\x1b[K[####################] 100.0%  3 of 3  City\nDone.\n")) << run.err;
  EXPECT_FALSE(Contains(run.err, "City: 100%"));
}

// An .accdb file with a password is encrypted: the password lists and cleans it, a wrong one is
// refused with the file as it was, and the connection string's password reads the cleaned values.
TEST_F(CleanProgramTest, AnEncryptedAccdbIsListedAndCleanedWithItsPassword) {
  const std::filesystem::path locked = file.parent_path() / "locked.accdb";
  const std::u16string password = u"s3cret pass";
  {
    Jet::CreateOptions options;
    options.password = password;
    options.encryption.spinCount = 1000;
    auto db = Jet::CreateDatabase(locked, Jet::FileFormat::Ace12, options);
    db.AddTable({u"People", {{u"Name", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"People", {{Value::Text(u" Ann  Lee")}, {Value::Text(u"Bo")}});
    db.Close();
  }
  const std::u16string lockedFile = Main::FromUtf8(locked.string());
  const std::string before = Bytes(locked);
  for (const std::u16string& wrong : {std::u16string(u"S3cret pass"), std::u16string()}) {
    const ProgramRun run = Run({lockedFile, u"--password", wrong, u"--table", u"People", u"--field", u"Name",
                                u"--operation", u"1"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_TRUE(Contains(run.err, "Not a valid password.")) << run.err;
  }
  EXPECT_TRUE(Bytes(locked) == before);

  EXPECT_EQ(Lines(Run({lockedFile, u"--password", password, u"--tables"}).out), Texts{"People"});
  const ProgramRun run = Run({lockedFile, u"--password", password, u"--table", u"People", u"--field", u"Name",
                              u"--operation", u"1"});
  EXPECT_EQ(run.status, kExitDone) << run.err;
  EXPECT_EQ(Lines(run.out), Texts{"Name: 2 of 2 records read, 1 changed, 1 unchanged, 0 refused."});
  auto connection = Access::CreateConnection();
  connection->Open(u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + lockedFile +
                   u";Jet OLEDB:Database Password=" + password);
  Access::RecordSet records;
  records.Open(u"SELECT `Name` FROM `People`", *connection);
  Texts values;
  for (; !records.Eof(); records.MoveNext()) values.push_back(Main::ToUtf8(records.Value(0).ToText()));
  EXPECT_EQ(values, (Texts{"AnnLee", "Bo"}));
}

}  // namespace
}  // namespace Clean
