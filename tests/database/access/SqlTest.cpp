#include "database/access/Sql.h"

#include <gtest/gtest.h>

#include "common/Error.h"

namespace Access {
namespace {

TEST(Sql, SelectsTheProgramSends) {
  const Statement all = ParseStatement(u"SELECT * FROM `Customers`");
  ASSERT_TRUE(std::holds_alternative<SelectAll>(all));
  EXPECT_EQ(std::get<SelectAll>(all).table, u"Customers");

  const Statement one = ParseStatement(u"SELECT `Post Code` FROM `Kunden Ärger`");
  ASSERT_TRUE(std::holds_alternative<SelectField>(one));
  EXPECT_EQ(std::get<SelectField>(one).field, u"Post Code");
  EXPECT_EQ(std::get<SelectField>(one).table, u"Kunden Ärger");

  const Statement bracketed = ParseStatement(u"  select [City]\nfrom [Customers] ;  ");
  EXPECT_EQ(std::get<SelectField>(bracketed).field, u"City");
  EXPECT_EQ(std::get<SelectAll>(ParseStatement(u"SELECT * FROM Orders")).table, u"Orders");
}

TEST(Sql, UpdateWithLiteralsUndoubled) {
  const Statement s = ParseStatement(
      u"update [Customers] set [City]='St.John''sWood' where [City]='St. John''s Wood'");
  ASSERT_TRUE(std::holds_alternative<UpdateWhereEqual>(s));
  const auto& u = std::get<UpdateWhereEqual>(s);
  EXPECT_EQ(u.table, u"Customers");
  EXPECT_EQ(u.setField, u"City");
  EXPECT_EQ(u.newValue, u"St.John'sWood");
  EXPECT_EQ(u.whereField, u"City");
  EXPECT_EQ(u.oldValue, u"St. John's Wood");
  EXPECT_EQ(std::get<UpdateWhereEqual>(ParseStatement(u"UPDATE [t] SET [f]='' WHERE [f]=''")).newValue, u"");
}

TEST(Sql, AnythingElseIsASyntaxErrorNamingTheStatement) {
  for (const std::u16string_view sql : {
           u"",
           u"DELETE FROM [t]",
           u"SELECT a, b FROM t",
           u"SELECT * FROM `t` WHERE x=1",
           u"SELECT * FROMt",
           u"SELECT `a FROM `t`",
           u"SELECT `` FROM `t`",
           u"SELECT [a]] FROM [t]",
           u"SELECT `a[b` FROM `t`",
           // an answer with an apostrophe ends the literal early
           u"update [t] set [f]='it's' where [f]='x'",
           u"update [t] set [f]='a' where [f]='b'; drop table t",
           u"update [t] set [f]='a' where [f]='b' or 1=1",
           u"update [t] set [f]='a'",
           u"UPDATE [t] SET [f]='a' WHERE [f]='b",
       }) {
    try {
      ParseStatement(sql);
      ADD_FAILURE() << "accepted: " << std::string(sql.begin(), sql.end());
    } catch (const Main::Error& e) {
      EXPECT_EQ(e.Number(), kSyntaxErrorNumber);
      EXPECT_EQ(e.Description(), u"Syntax error in query: " + std::u16string(sql));
    }
  }
}

}  // namespace
}  // namespace Access
