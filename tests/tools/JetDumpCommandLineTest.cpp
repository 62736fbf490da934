#include <gtest/gtest.h>

#include "tools/jetdump/CommandLine.h"

namespace JetDump {
namespace {

using Action = Command::Action;

TEST(JetDumpCommandLine, ReadsEachCommandWithItsArguments) {
  const Command tables = ParseCommandLine({"tables", "a.mdb"});
  EXPECT_EQ(tables.action, Action::Tables);
  EXPECT_EQ(tables.file, "a.mdb");
  EXPECT_TRUE(tables.password.empty());

  const Command columns = ParseCommandLine({"columns", "b.accdb", "Orders"});
  EXPECT_EQ(columns.action, Action::Columns);
  EXPECT_EQ(columns.file, "b.accdb");
  EXPECT_EQ(columns.table, u"Orders");

  const Command exported = ParseCommandLine({"export", "c.mdb", "Kunden Straße"});
  EXPECT_EQ(exported.action, Action::Export);
  EXPECT_EQ(exported.table, u"Kunden Stra\u00dfe");
}

TEST(JetDumpCommandLine, ReadsTheIndexCommands) {
  const Command indexes = ParseCommandLine({"indexes", "a.mdb", "Orders"});
  EXPECT_EQ(indexes.action, Action::Indexes);
  EXPECT_EQ(indexes.table, u"Orders");
  const Command check = ParseCommandLine({"check", "b.mdb", "--password", "p"});
  EXPECT_EQ(check.action, Action::Check);
  EXPECT_EQ(check.file, "b.mdb");
  EXPECT_EQ(check.password, u"p");
}

TEST(JetDumpCommandLine, TakesThePasswordInEitherFormAndAnywhere) {
  EXPECT_EQ(ParseCommandLine({"tables", "a.mdb", "--password", "s3cr\xc3\xa9t"}).password,
            u"s3cr\u00e9t");
  EXPECT_EQ(ParseCommandLine({"--password=x,y", "export", "a.mdb", "T"}).password, u"x,y");
  const Command middle = ParseCommandLine({"columns", "--password", "-dash", "a.mdb", "T"});
  EXPECT_EQ(middle.password, u"-dash");
  EXPECT_EQ(middle.file, "a.mdb");
  EXPECT_EQ(middle.table, u"T");
  // An empty password is a password given.
  EXPECT_EQ(ParseCommandLine({"tables", "a.mdb", "--password="}).password, u"");
}

TEST(JetDumpCommandLine, RejectsMalformedCommandLinesWithAReason) {
  const std::vector<std::vector<std::string>> malformed = {
      {},
      {"list", "a.mdb"},
      {"tables"},
      {"tables", "a.mdb", "extra"},
      {"columns", "a.mdb"},
      {"export", "a.mdb", "T", "U"},
      {"tables", "a.mdb", "--password"},
      {"tables", "a.mdb", "--password", "p", "--password=q"},
      {"tables", "a.mdb", "--verbose"},
      {"indexes", "a.mdb"},
      {"check", "a.mdb", "T"},
  };
  for (const auto& arguments : malformed) {
    SCOPED_TRACE(testing::PrintToString(arguments));
    try {
      ParseCommandLine(arguments);
      ADD_FAILURE() << "accepted";
    } catch (const UsageError& error) {
      EXPECT_FALSE(error.Description().empty());
    }
  }
}

TEST(JetDumpCommandLine, UsageNamesEveryCommand) {
  const std::string usage = UsageText();
  for (const char* command : {"jetdump tables FILE", "jetdump columns FILE TABLE",
                              "jetdump export FILE TABLE", "jetdump indexes FILE TABLE",
                              "jetdump check FILE", "--password"}) {
    EXPECT_NE(usage.find(command), std::string::npos) << command;
  }
}

}  // namespace
}  // namespace JetDump
