#include "database/access/ConnectionString.h"

#include <gtest/gtest.h>

#include "common/Error.h"

namespace Access {
namespace {

TEST(ConnectionString, ReadsTheProgramsStringsWithKeysInAnyCase) {
  const auto jet = ConnectionString::Parse(
      u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=/home/ana/db.mdb;JET OLEDB:Database Password=");
  EXPECT_EQ(jet.Get(u"Provider"), u"Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(jet.Get(u"data source"), u"/home/ana/db.mdb");
  EXPECT_EQ(jet.Get(kPasswordKey), u"");  // present and empty
  EXPECT_EQ(jet.Get(u"User ID"), std::nullopt);
}

TEST(ConnectionString, UnquotedValuesLoseSurroundingBlanksAndKeepEqualsSigns) {
  const auto s = ConnectionString::Parse(u"  Data Source =  C:\\a=b.mdb  ;;Provider=x;");
  EXPECT_EQ(s.Get(kDataSourceKey), u"C:\\a=b.mdb");
  EXPECT_EQ(s.Get(kProviderKey), u"x");
}

TEST(ConnectionString, QuotedValuesKeepSemicolonsQuotesAndBlanks) {
  const auto s = ConnectionString::Parse(
      u"Data Source=\"/tmp/a;b.mdb\";Jet OLEDB:Database Password=' pa''ss;Provider=evil '");
  EXPECT_EQ(s.Get(kDataSourceKey), u"/tmp/a;b.mdb");
  EXPECT_EQ(s.Get(kPasswordKey), u" pa'ss;Provider=evil ");
  EXPECT_EQ(s.Get(kProviderKey), std::nullopt);  // the password added no attribute
}

TEST(ConnectionString, MalformedStringsFail) {
  for (const std::u16string_view text :
       {u"Data Source=\"unterminated", u"Data Source=\"a\"b;", u"=value", u"justakey;Provider=x"}) {
    EXPECT_THROW(ConnectionString::Parse(text), Main::Error);
  }
}

TEST(ConnectionString, QuotingGivesEveryValueBackUnchanged) {
  for (const std::u16string_view value :
       {u"plain.mdb", u"", u"a;b", u" lead", u"trail ", u"it's", u"say \"hi\"", u"both ' and \"",
        u"=;=\"';", u"C:\\Program Files\\db.accdb"}) {
    const std::u16string text = u"Provider=x;Jet OLEDB:Database Password=" + QuoteConnectionValue(value);
    EXPECT_EQ(ConnectionString::Parse(text).Get(kPasswordKey), value) << std::string(value.begin(), value.end());
  }
  EXPECT_EQ(QuoteConnectionValue(u"/home/ana/Kunden.mdb"), u"/home/ana/Kunden.mdb");
  EXPECT_EQ(QuoteConnectionValue(u"a;b"), u"\"a;b\"");
  EXPECT_EQ(QuoteConnectionValue(u"say \"hi\""), u"'say \"hi\"'");
}

}  // namespace
}  // namespace Access
