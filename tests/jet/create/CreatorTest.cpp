// Databases made by the creator, read back through the engine.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "tests/jet/create/CreatedDatabase.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::CreatorScratchDir;
using Testing::ErrorNumberOf;
using Testing::EveryTypeRows;
using Testing::EveryTypeRowsRead;
using Testing::EveryTypeTable;
using Testing::ReadAll;

constexpr double kFixedDate = 44439.5;  // 2021-08-31 12:00

std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class CreatorFormats : public ::testing::TestWithParam<FileFormat> {};

INSTANTIATE_TEST_SUITE_P(Formats, CreatorFormats, ::testing::Values(FileFormat::Jet4, FileFormat::Ace12),
                         [](const auto& info) { return info.param == FileFormat::Jet4 ? "Jet4" : "Ace12"; });

TEST_P(CreatorFormats, AnEmptyDatabaseHoldsOnlyTheSystemTables) {
  const auto file = CreatorScratchDir() / "empty.mdb";
  CreateDatabase(file, GetParam()).Close();
  const auto database = Database::Open(file);
  EXPECT_EQ(database->Info().format, GetParam());
  EXPECT_EQ(database->Info().pageSize, 4096u);
  EXPECT_EQ(database->Info().codePage, 1252);
  EXPECT_EQ(database->Info().sortOrder, 1033);
  EXPECT_FALSE(database->Info().pagesEncoded);
  EXPECT_FALSE(database->Info().hasPassword);
  std::vector<std::u16string> listed;
  for (const CatalogEntry& entry : database->TablesRowset()) {
    EXPECT_EQ(entry.type, u"SYSTEM TABLE") << std::string(entry.name.begin(), entry.name.end());
    listed.push_back(entry.name);
  }
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"MSysACEs", u"MSysObjects", u"MSysQueries", u"MSysRelationships"}));
  EXPECT_EQ(ReadAll(*database, u"MSysQueries").size(), 0u);
}

TEST_P(CreatorFormats, EveryTypeRoundTrips) {
  const auto file = CreatorScratchDir() / "types.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable(EveryTypeTable(u"Every Type"));
  creator.InsertRows(u"every type", EveryTypeRows());
  creator.Close();

  const auto database = Database::Open(file);
  const auto table = database->Table(u"Every Type");
  EXPECT_EQ(table->rowCount, 4u);
  ASSERT_EQ(table->columns.size(), 15u);
  const Column& id = table->columns[0];
  EXPECT_TRUE(id.autonumber);
  EXPECT_EQ(id.type, ColumnType::Long);
  EXPECT_EQ(table->columns[1].type, ColumnType::Text);
  EXPECT_EQ(table->columns[1].maxCharacters, 40);
  EXPECT_TRUE(table->columns[1].compressedUnicode);
  EXPECT_EQ(table->columns[2].type, ColumnType::Memo);
  EXPECT_FALSE(table->columns[2].hyperlink);
  const ColumnType types[] = {ColumnType::Byte,     ColumnType::Integer,  ColumnType::Long,
                              ColumnType::Single,   ColumnType::Double,   ColumnType::Currency,
                              ColumnType::DateTime, ColumnType::Boolean,  ColumnType::OleObject,
                              ColumnType::Guid,     ColumnType::Decimal,  ColumnType::Memo};
  for (size_t n = 0; n < std::size(types); ++n) EXPECT_EQ(table->columns[3 + n].type, types[n]) << n;
  EXPECT_EQ(table->columns[13].precision, 18);
  EXPECT_EQ(table->columns[13].scale, 4);
  EXPECT_TRUE(table->columns[14].hyperlink);
  EXPECT_TRUE(table->indexes.empty());

  EXPECT_EQ(ReadAll(*database, u"Every Type"), EveryTypeRowsRead());
}

TEST_P(CreatorFormats, QueriesAndLinksAreListedWithTheTables) {
  const auto file = CreatorScratchDir() / "objects.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable({u"Customers", {{u"Name", FieldType::Text, 50}, {u"City", FieldType::Text, 30}}});
  creator.AddSelectQuery({u"Customer Names", u"Customers", {u"Name"}});
  creator.AddSelectQuery({u"All Customers", u"Customers", {}});
  creator.AddLinkedTable({u"Orders", u"C:\\Data\\Shop.mdb", u"Order List"});
  creator.Close();

  const auto database = Database::Open(file);
  std::vector<CatalogEntry> user;
  for (const CatalogEntry& entry : database->TablesRowset())
    if (entry.type != u"SYSTEM TABLE") user.push_back(entry);
  ASSERT_EQ(user.size(), 4u);
  EXPECT_EQ(user[0].name, u"Orders");
  EXPECT_EQ(user[0].type, u"LINK");
  EXPECT_EQ(user[1].name, u"Customers");
  EXPECT_EQ(user[1].type, u"TABLE");
  EXPECT_EQ(user[2].name, u"All Customers");
  EXPECT_EQ(user[2].type, u"VIEW");
  EXPECT_EQ(user[3].name, u"Customer Names");

  std::vector<std::u16string> outputs;
  for (const Row& row : ReadAll(*database, u"MSysQueries"))
    if (row[1] == Value::Integer(6)) outputs.push_back(row[5].AsText());
  EXPECT_EQ(outputs, (std::vector<std::u16string>{u"[Customers].[Name]", u"[Customers].*"}));
  bool linkFound = false;
  for (const Row& row : ReadAll(*database, u"MSysObjects")) {
    if (row[2] != Value::Text(u"Orders")) continue;
    linkFound = true;
    EXPECT_EQ(row[3], Value::Integer(6));
    EXPECT_EQ(row[8], Value::Text(u"C:\\Data\\Shop.mdb"));
    EXPECT_EQ(row[10], Value::Text(u"Order List"));
  }
  EXPECT_TRUE(linkFound);
}

// Long values stay in the row up to 64 bytes, take one long-value row up to 4076 bytes and a
// chain of rows (4072 bytes each) beyond.
TEST_P(CreatorFormats, LongValuesAtTheirBoundaries) {
  const size_t sizes[] = {0, 1, 64, 65, 4072, 4076, 4077, 8144, 8145, 100000};
  const auto file = CreatorScratchDir() / "long.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable({u"Long", {{u"Size", FieldType::LongInteger}, {u"Blob", FieldType::OleObject},
                              {u"Plain", FieldType::Memo}, {u"Wide", FieldType::Memo}}});
  Testing::Rows expected;
  for (const size_t size : sizes) {
    Main::Bytes blob(size);
    for (size_t n = 0; n < size; ++n) blob[n] = static_cast<uint8_t>(n * 7 + size);
    std::u16string plain(size / 2, u'a');
    for (size_t n = 0; n < plain.size(); ++n) plain[n] = static_cast<char16_t>(u'a' + n % 26);
    // Text that cannot be compressed: two bytes a character.
    const std::u16string wide(size / 2, u'Ж');
    expected.push_back({Value::Integer(static_cast<int64_t>(size)), Value::Binary(blob), Value::Text(plain),
                        Value::Text(wide)});
  }
  creator.InsertRows(u"Long", expected);
  creator.Close();
  EXPECT_EQ(ReadAll(*Database::Open(file), u"Long"), expected);
}

TEST_P(CreatorFormats, ManyRowsSpanManyPages) {
  constexpr size_t kRows = 150000;  // about 700 data pages: a reference usage map
  const auto file = CreatorScratchDir() / "many.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable({u"Big", {{u"Id", FieldType::AutoNumber}, {u"Code", FieldType::Text, 12},
                             {u"Amount", FieldType::Double}}});
  creator.InsertGenerated(u"Big", kRows, [](size_t n, Row& row) {
    row.assign({Value(), Value::Text(u"ID-" + Main::FormatInteger(static_cast<int64_t>(n))),
                Value::Double(static_cast<double>(n) / 4)});
  });
  creator.Close();

  const auto database = Database::Open(file);
  EXPECT_GT(database->Info().pageCount, 600u);
  const auto table = database->Table(u"Big");
  EXPECT_EQ(table->rowCount, kRows);
  const std::unique_ptr<RowCursor> cursor = database->Scan(table);
  size_t count = 0;
  uint32_t lastPage = 0;
  size_t pagesSeen = 0;
  while (cursor->Next()) {
    if (cursor->Id().page != lastPage) ++pagesSeen;
    lastPage = cursor->Id().page;
    ASSERT_EQ(cursor->Get(0), Value::Integer(static_cast<int64_t>(count + 1)));
    ASSERT_EQ(cursor->Get(1), Value::Text(u"ID-" + Main::FormatInteger(static_cast<int64_t>(count))));
    ASSERT_EQ(cursor->Get(2), Value::Double(static_cast<double>(count) / 4));
    ++count;
  }
  EXPECT_EQ(count, kRows);
  EXPECT_GT(pagesSeen, 512u);
}

TEST_P(CreatorFormats, AutoNumbersCarryOnAfterTheLargestGiven) {
  const auto file = CreatorScratchDir() / "auto.mdb";
  auto creator = CreateDatabase(file, GetParam());
  creator.AddTable({u"T", {{u"Id", FieldType::AutoNumber}, {u"Name", FieldType::Text, 10}}});
  creator.InsertRows(u"T", {{Value(), Value::Text(u"a")}, {Value::Integer(10), Value::Text(u"b")},
                            {Value(), Value::Text(u"c")}, {Value::Integer(5), Value::Text(u"d")},
                            {Value(), Value::Text(u"e")}});
  creator.Close();
  std::vector<int64_t> ids;
  for (const Row& row : ReadAll(*Database::Open(file), u"T")) ids.push_back(row[0].AsInteger());
  EXPECT_EQ(ids, (std::vector<int64_t>{1, 10, 11, 5, 12}));
}

TEST_P(CreatorFormats, TheSameInputMakesTheSameBytes) {
  const auto folder = CreatorScratchDir();
  for (const char* name : {"a.mdb", "b.mdb"}) {
    auto creator = CreateDatabase(folder / name, GetParam(), CreateOptions{u"", kFixedDate});
    creator.AddTable(EveryTypeTable(u"T"));
    creator.InsertRows(u"T", EveryTypeRows());
    creator.AddSelectQuery({u"Q", u"T", {u"Name"}});
    creator.Close();
  }
  EXPECT_EQ(FileBytes(folder / "a.mdb"), FileBytes(folder / "b.mdb"));
}

TEST(Creator, APasswordIsNeededToOpenTheFile) {
  const auto file = CreatorScratchDir() / "secret.mdb";
  auto creator = CreateDatabase(file, FileFormat::Jet4, CreateOptions{u"Sésame 20 characters", kFixedDate});
  creator.AddTable({u"T", {{u"Name", FieldType::Text, 10}}});
  creator.InsertRow(u"T", {Value::Text(u"hidden")});
  creator.Close();

  try {
    Database::Open(file);
    ADD_FAILURE() << "opened without the password";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kNotValidPassword);
    EXPECT_EQ(error.Description(), u"Not a valid password.");
  }
  EXPECT_EQ(ErrorNumberOf([&] { Database::Open(file, OpenOptions{u"Sésame 20 characterS"}); }),
            JetErrorNumber::kNotValidPassword);
  const auto database = Database::Open(file, OpenOptions{u"Sésame 20 characters"});
  EXPECT_TRUE(database->Info().hasPassword);
  EXPECT_EQ(ReadAll(*database, u"T"), (Testing::Rows{{Value::Text(u"hidden")}}));
}

TEST(Creator, PasswordsTheFormatCannotHoldAreRefused) {
  const auto folder = CreatorScratchDir();
  // An .accdb password is the key of its encryption, which takes AES keys of 128, 192 or 256 bits.
  CreateOptions oddKey{u"secret"};
  oddKey.encryption.keyBits = 64;
  EXPECT_EQ(ErrorNumberOf([&] { CreateDatabase(folder / "a.accdb", FileFormat::Ace12, oddKey); }),
            JetErrorNumber::kNotSupported);
  EXPECT_EQ(ErrorNumberOf([&] { CreateDatabase(folder / "b.mdb", FileFormat::Jet4, {u"123456789012345678901"}); }),
            JetErrorNumber::kNotValidPassword);
  EXPECT_EQ(ErrorNumberOf([&] { CreateDatabase(folder / "c.mdb", FileFormat::Jet3); }), JetErrorNumber::kNotSupported);
  EXPECT_FALSE(std::filesystem::exists(folder / "a.accdb"));
}

TEST(Creator, BadDefinitionsAndRowsAreRefusedAndLeaveNoTrace) {
  const auto file = CreatorScratchDir() / "refused.mdb";
  auto creator = CreateDatabase(file, FileFormat::Jet4);
  creator.AddTable({u"T", {{u"Name", FieldType::Text, 5}, {u"Number", FieldType::Integer}}});
  EXPECT_EQ(ErrorNumberOf([&] { creator.AddTable({u"t", {{u"X", FieldType::Byte}}}); }), 3010);
  EXPECT_NE(ErrorNumberOf([&] { creator.AddTable({u"U", {}}); }), 0);
  EXPECT_NE(ErrorNumberOf([&] { creator.AddTable({u"V", {{u"X", FieldType::Text, 256}}}); }), 0);
  EXPECT_NE(ErrorNumberOf([&] { creator.AddTable({u"W", {{u"X", FieldType::Decimal, 0, 10, 11}}}); }), 0);
  EXPECT_NE(ErrorNumberOf([&] { creator.AddTable({u"X", {{u"A", FieldType::Byte}, {u"a", FieldType::Byte}}}); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"Missing", {Value()}); }), JetErrorNumber::kNoSuchTable);
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"MSysObjects", Row(17)); }), JetErrorNumber::kNoSuchTable);
  EXPECT_NE(ErrorNumberOf([&] { creator.InsertRow(u"T", {Value::Text(u"one")}); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"T", {Value::Text(u"toolong"), Value()}); }),
            JetErrorNumber::kFieldTooSmall);
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"T", {Value::Text(u"ok"), Value::Integer(40000)}); }),
            Main::ErrorNumber::kOverflow);
  creator.InsertRow(u"T", {Value::Text(u"kept"), Value::Integer(1)});
  creator.Close();
  EXPECT_EQ(ErrorNumberOf([&] { creator.InsertRow(u"T", {Value(), Value()}); }), JetErrorNumber::kReadOnly);

  const auto database = Database::Open(file);
  EXPECT_EQ(ReadAll(*database, u"T"), (Testing::Rows{{Value::Text(u"kept"), Value::Integer(1)}}));
  EXPECT_EQ(database->Table(u"T")->rowCount, 1u);
  EXPECT_EQ(ErrorNumberOf([&] { database->Table(u"U"); }), JetErrorNumber::kNoSuchTable);
}

TEST(Creator, TheDestructorWritesAFileNotClosed) {
  const auto file = CreatorScratchDir() / "unclosed.mdb";
  {
    auto creator = CreateDatabase(file, FileFormat::Jet4);
    creator.AddTable({u"T", {{u"N", FieldType::Byte}}});
    creator.InsertRow(u"T", {Value::Integer(9)});
  }
  EXPECT_EQ(ReadAll(*Database::Open(file), u"T"), (Testing::Rows{{Value::Integer(9)}}));
}

}  // namespace
}  // namespace Jet
