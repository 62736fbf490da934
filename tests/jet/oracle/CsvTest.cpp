#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/jet/oracle/Csv.h"

namespace Oracle {
namespace {

CsvField Plain(std::string text) { return {std::move(text), false}; }
CsvField Quoted(std::string text) { return {std::move(text), true}; }

TEST(OracleCsv, ReadsRecordsEndedByLfOrCrLf) {
  EXPECT_EQ(ParseCsv("a,b\n1,2\r\n3,\n"),
            (std::vector<CsvRecord>{{Plain("a"), Plain("b")},
                                    {Plain("1"), Plain("2")},
                                    {Plain("3"), Plain("")}}));
  // A last record without a line end, and a one-column Null row.
  EXPECT_EQ(ParseCsv("x\n\ny"),
            (std::vector<CsvRecord>{{Plain("x")}, {Plain("")}, {Plain("y")}}));
}

TEST(OracleCsv, TellsQuotedFieldsAndKeepsTheirLineBreaksAndQuotes) {
  EXPECT_EQ(ParseCsv("\"\",\"say \"\"hi\"\"\",\"two\r\nlines, one field\"\n"),
            (std::vector<CsvRecord>{{Quoted(""), Quoted("say \"hi\""),
                                     Quoted("two\r\nlines, one field")}}));
}

TEST(OracleCsv, RejectsBrokenQuoting) {
  EXPECT_THROW(ParseCsv("\"open\n"), std::runtime_error);
  EXPECT_THROW(ParseCsv("\"closed\"tail\n"), std::runtime_error);
}

}  // namespace
}  // namespace Oracle
