#include "database/BuildConnectionString.h"

#include <gtest/gtest.h>

#include "database/access/ConnectionString.h"

namespace Access1 {
namespace {

// The selection window's boxes as a test sets them.
struct Boxes : DatabaseChoice {
  std::u16string path, password;
  std::u16string DatabasePath() const override { return path; }
  std::u16string DatabasePassword() const override { return password; }
};

TEST(BuildConnectionString, ProviderFollowsTheLastFiveCharacters) {
  EXPECT_TRUE(IsAceDatabase(u"/data/Sales.ACCDB"));
  EXPECT_TRUE(IsAceDatabase(u"/data/sales.accdb"));
  EXPECT_TRUE(IsAceDatabase(u"/data/salesaccdb"));  // no dot needed
  EXPECT_FALSE(IsAceDatabase(u"/data/sales.mdb"));
  EXPECT_FALSE(IsAceDatabase(u"/data/sales.accde"));
  EXPECT_FALSE(IsAceDatabase(u"/data/sales.accdb "));  // a trailing blank
  EXPECT_FALSE(IsAceDatabase(u"ccdb"));
  EXPECT_FALSE(IsAceDatabase(u""));
}

TEST(BuildConnectionString, PlainValuesGiveTheExactStrings) {
  EXPECT_EQ(BuildConnectionString(u"/data/sales.accdb", u"secret"),
            u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/data/sales.accdb;"
            u"JET OLEDB:Database Password=secret");
  EXPECT_EQ(BuildConnectionString(u"C:\\Data\\sales.mdb", u""),
            u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Data\\sales.mdb;"
            u"JET OLEDB:Database Password=");
}

TEST(BuildConnectionString, ReadsTheBoxesAtEveryCall) {
  Boxes boxes;
  boxes.path = u"a.mdb";
  const std::u16string first = BuildConnectionString(boxes);
  boxes.path = u"b.accdb";
  boxes.password = u"pw";
  EXPECT_NE(BuildConnectionString(boxes), first);
  EXPECT_EQ(BuildConnectionString(boxes),
            u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=b.accdb;JET OLEDB:Database Password=pw");
}

TEST(BuildConnectionString, AwkwardPathsAndPasswordsArriveUnchanged) {
  for (const auto& [path, password] : std::initializer_list<std::pair<std::u16string, std::u16string>>{
           {u"/data/a;b.mdb", u"pa;ss"},
           {u"/data/it's.accdb", u" lead and trail "},
           {u"/data/x.mdb", u"x;Provider=Other"},
           {u"/data/\"q\".mdb", u"'\""}}) {
    const auto parsed = Access::ConnectionString::Parse(BuildConnectionString(path, password));
    EXPECT_EQ(parsed.Get(Access::kDataSourceKey), path);
    EXPECT_EQ(parsed.Get(Access::kPasswordKey), password);
    EXPECT_NE(parsed.Get(Access::kProviderKey), u"Other");
  }
}

}  // namespace
}  // namespace Access1
