#include <sstream>

#include <gtest/gtest.h>

#include "tests/jet/write/WriterFixture.h"
#include "tools/jetdump/Commands.h"

namespace Jet {
namespace {

int RunSet(const std::vector<std::string>& arguments, std::string& errors) {
  std::ostringstream out, err;
  const int status = JetDump::RunJetDump(arguments, out, err);
  errors = err.str();
  return status;
}

TEST(JetDumpSet, WritesTheValueOrLeavesTheFileAsItWas) {
  QUORVANE_REQUIRE_CORPUS();
  QUORVANE_REQUIRE_MDBTOOLS();
  const auto file = Testing::WritableCopy("V2000/testV2000.mdb").string();
  std::string errors;
  EXPECT_EQ(RunSet({"set", file, "Table1", "F", "1", "2.5"}, errors), 0) << errors;
  EXPECT_EQ(Oracle::MdbExport(file, "Table1")[2][5].text, "2.5");
  const auto before = Testing::ReadBytes(file);
  EXPECT_EQ(RunSet({"set", file, "Table1", "A", "0", "a"}, errors), 1);
  EXPECT_EQ(errors.rfind("jetdump: The changes you requested to the table were not successful", 0), 0u) << errors;
  EXPECT_EQ(RunSet({"set", file, "Table1", "C", "0", "many"}, errors), 1);
  EXPECT_NE(errors.find("Type mismatch"), std::string::npos);
  EXPECT_EQ(RunSet({"set", file, "Table1", "I", "0", "--null"}, errors), 1);
  EXPECT_EQ(RunSet({"set", file, "Table1", "F", "9", "1"}, errors), 1);
  EXPECT_EQ(RunSet({"set", file, "Table1", "F", "x", "1"}, errors), 2);
  EXPECT_EQ(Testing::ReadBytes(file), before);
  EXPECT_EQ(RunSet({"set", file, "Table1", "F", "0", "--null"}, errors), 0) << errors;
  EXPECT_EQ(Oracle::MdbExport(file, "Table1")[1][5].text, "");
}

}  // namespace
}  // namespace Jet
