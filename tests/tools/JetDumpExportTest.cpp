// `jetdump export` of tables the creator makes, against CSV built the slow way from the values
// the scan gives: every type, text that needs quoting, Null beside empty text, a Memo longer
// than the output buffer, and the same bytes through a file descriptor as through a stream.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "common/Text.h"
#include "jet/Creator.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/tools/CsvReference.h"
#include "tools/jetdump/Commands.h"
#include "tools/jetdump/CsvWriter.h"
#include "tools/jetdump/FieldText.h"
#include "tools/jetdump/TableExport.h"

namespace JetDump {
namespace {

using Main::Value;
using Testing::QuotedReference;
using Testing::RecordingSink;

// Longer than the output buffer, so that it is written across a flush.
constexpr size_t kLongMemoCharacters = CsvWriter::kDefaultCapacity + 4321;

std::u16string LongMemo() {
  std::u16string memo;
  while (memo.size() < kLongMemoCharacters) memo += u"Line \"\u00e9\u20ac\U0001F600\", then\r\n";
  return memo;
}

// EveryTypeTable's rows, then rows of text that needs care in CSV.
Jet::Testing::Rows ExportedRows() {
  Jet::Testing::Rows rows = Jet::Testing::EveryTypeRows();
  const auto textRow = [](std::u16string name, std::u16string notes) {
    Jet::Row row(15);
    row[1] = Value::Text(std::move(name));
    row[2] = Value::Text(std::move(notes));
    return row;
  };
  rows.push_back(textRow(u"a,b", u"say \"hi\""));
  rows.push_back(textRow(u"cr\ronly", u"lf\nonly"));
  rows.push_back(textRow(u"\"", u"\"\""));
  rows.push_back(textRow(u"\U0001F600 \U0010FFFF", std::u16string{u'x', char16_t(0xD800), u'y', char16_t(0xDC00)}));
  rows.push_back(textRow(u"", u"Null beside empty text"));
  rows.push_back(textRow(u"long memo", LongMemo()));
  return rows;
}

// ACE17 for Date/Time Extended and Large Number beside EveryTypeTable.
std::filesystem::path MakeDatabase() {
  const auto folder = std::filesystem::temp_directory_path() / ("quorvane_jetdump_export_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto file = folder / "export.accdb";
  auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Ace17);
  Jet::TableSpec everyType = Jet::Testing::EveryTypeTable(u"Every Type");
  everyType.fields[1].name = u"Name, Given";  // a header field that needs quotes
  creator.AddTable(everyType);
  creator.InsertRows(u"Every Type", ExportedRows());
  creator.AddTable({u"Later", {{u"Precise", Jet::FieldType::DateTimeExtended}, {u"Big", Jet::FieldType::LargeNumber}}});
  creator.InsertRows(u"Later", {{Value::ExtendedDate({0}), Value::Integer(std::numeric_limits<int64_t>::min())},
                                {Value::ExtendedDate({Main::kMaxExtendedTicks}), Value::Integer(std::numeric_limits<int64_t>::max())},
                                {Value::ExtendedDate(Main::ExtendedFromCivil({2021, 6, 14, 12, 45, 0}, 1234567)), Value()},
                                {Value(), Value::Integer(0)}});
  creator.Close();
  return file;
}

// A field as it is unless it holds a comma, a quote or a line break.
std::string PlainReference(std::u16string_view text) {
  const std::string utf8 = Main::ToUtf8(text);
  return utf8.find_first_of(",\"\r\n") == std::string::npos ? utf8 : QuotedReference(text);
}

// A cell the slow way: the value's text in UTF-8, with the export's own forms for text, Yes/No
// and dates.
std::string ReferenceCell(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Text: return QuotedReference(value.AsText());
    case Value::Kind::Boolean: return value.AsBoolean() ? "1" : "0";
    case Value::Kind::DateTime: return std::string(FullDateText(value.AsDateTime().oleDate).View());
    case Value::Kind::ExtendedDateTime: return std::string(FullExtendedDateText(value.AsExtendedDateTime()).View());
    default: return PlainReference(value.ToText());
  }
}

std::string ReferenceCsv(const Jet::Database& database, std::u16string_view name) {
  const auto table = database.Table(name);
  std::string csv;
  for (size_t column = 0; column < table->columns.size(); ++column)
    csv += (column == 0 ? "" : ",") + PlainReference(table->columns[column].name);
  csv += "\r\n";
  for (const Jet::Row& row : Jet::Testing::ReadAll(database, name)) {
    for (size_t column = 0; column < row.size(); ++column) csv += (column == 0 ? "" : ",") + ReferenceCell(row[column]);
    csv += "\r\n";
  }
  return csv;
}

class JetDumpExport : public testing::Test {
 protected:
  static void SetUpTestSuite() { file_ = new std::filesystem::path(MakeDatabase()); }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(file_->parent_path());
    delete file_;
  }
  static std::filesystem::path* file_;
};
std::filesystem::path* JetDumpExport::file_ = nullptr;

TEST_F(JetDumpExport, WritesEveryTypeAsTheValuesReadAcrossFullBuffers) {
  const auto database = Jet::Database::Open(*file_);
  RecordingSink sink;
  ExportTable(*database, database->Table(u"Every Type"), sink);
  const std::string csv = sink.All();
  EXPECT_EQ(csv, ReferenceCsv(*database, u"Every Type"));
  EXPECT_TRUE(csv.starts_with("Id,\"Name, Given\",Notes,")) << csv.substr(0, 40);
  EXPECT_NE(csv.find("\r\n9,\"\",\"Null beside empty text\","), std::string::npos);  // the empty name
  EXPECT_NE(csv.find("\r\n4,,,,,,,,,,0,,,,\r\n"), std::string::npos);              // the row of Nulls
  // The long Memo crosses at least one flush; every block but the last is a full buffer, less at
  // most the three bytes kept for a character.
  ASSERT_GE(sink.blocks.size(), 2u);
  for (size_t block = 0; block + 1 < sink.blocks.size(); ++block) {
    EXPECT_LE(sink.blocks[block].size(), CsvWriter::kDefaultCapacity);
    EXPECT_GE(sink.blocks[block].size() + 3, CsvWriter::kDefaultCapacity);
  }
}

TEST_F(JetDumpExport, WritesExtendedDatesAndLargeNumbers) {
  const auto database = Jet::Database::Open(*file_);
  RecordingSink sink;
  ExportTable(*database, database->Table(u"Later"), sink);
  EXPECT_EQ(sink.All(), ReferenceCsv(*database, u"Later"));
  EXPECT_EQ(sink.All(),
            "Precise,Big\r\n"
            "0001-01-01 00:00:00.0000000,-9223372036854775808\r\n"
            "9999-12-31 23:59:59.9999999,9223372036854775807\r\n"
            "2021-06-14 12:45:00.1234567,\r\n"
            ",0\r\n");
}

TEST_F(JetDumpExport, PassesOnTheOutputsFailure) {
  const auto database = Jet::Database::Open(*file_);
  Testing::FailingSink sink;
  EXPECT_THROW(ExportTable(*database, database->Table(u"Every Type"), sink), std::runtime_error);
}

TEST_F(JetDumpExport, WritesTheSameBytesToADescriptorAsToAStream) {
  const std::vector<std::string> arguments = {"export", file_->string(), "Every Type"};
  std::ostringstream streamed, errors;
  ASSERT_EQ(RunJetDump(arguments, streamed, errors), 0) << errors.str();

  const auto output = file_->parent_path() / "export.csv";
  const int descriptor = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(descriptor, 0);
  DescriptorSink sink(descriptor);
  std::ostringstream unused;
  const int status = RunJetDump(arguments, unused, errors, &sink);
  close(descriptor);
  ASSERT_EQ(status, 0) << errors.str();
  EXPECT_TRUE(unused.str().empty());
  std::ifstream written(output, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), streamed.str());
}

TEST(JetDumpDescriptorSink, ReportsAWriteTheSystemRefuses) {
  DescriptorSink closed(-1);
  try {
    closed.Write("x", 1);
    ADD_FAILURE() << "a write to no descriptor was taken";
  } catch (const Main::Error& error) {
    EXPECT_NE(std::string(error.what()).find("Could not write the output"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace JetDump
