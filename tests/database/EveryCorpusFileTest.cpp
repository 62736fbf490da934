#include <gtest/gtest.h>

#include "database/BuildConnectionString.h"
#include "database/ListDatabaseTables.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "jet/Database.h"
#include "tests/support/DatabaseFiles.h"

namespace Access1 {
namespace {

struct Boxes : DatabaseChoice {
  std::u16string path;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return {}; }
};

// Every real Access file opens through a built connection string, lists its user tables, and
// gives the first 101 values of every field as the engine's own scan reads them.
TEST(EveryCorpusFile, OpensListsAndPreviewsEveryField) {
  QUORVANE_REQUIRE_CORPUS();
  size_t fieldsRead = 0;
  for (const auto& file : Jet::Testing::CorpusFiles()) {
    SCOPED_TRACE(file.string());
    Boxes boxes;
    boxes.path = Testing::PathText(file);
    const auto tables = ListDatabaseTables(boxes.path, boxes);
    ASSERT_TRUE(tables.has_value());

    const auto engine = Jet::Database::Open(file);
    std::vector<std::u16string> expected;
    for (const auto& entry : engine->TablesRowset()) {
      if (entry.type == u"TABLE") expected.push_back(entry.name);
    }
    EXPECT_EQ(*tables, expected);

    Access::Connection connection;
    connection.Open(BuildConnectionString(boxes));
    for (const std::u16string& table : *tables) {
      const auto definition = engine->Table(table);
      for (size_t column = 0; column < definition->columns.size(); ++column) {
        Access::RecordSet records;
        records.Open(u"SELECT `" + definition->columns[column].name + u"` FROM `" + table + u"`",
                     connection);
        auto cursor = engine->Scan(definition);
        for (int row = 0; row <= 100 && !records.Eof(); ++row, records.MoveNext()) {
          ASSERT_TRUE(cursor->Next());
          EXPECT_EQ(records.Value(0), cursor->Get(column));
        }
        ++fieldsRead;
      }
    }
    connection.Close();
  }
  EXPECT_GT(fieldsRead, 500u);
}

}  // namespace
}  // namespace Access1
