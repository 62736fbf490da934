#include "database/access/Sql.h"

#include <optional>

#include "common/Error.h"

namespace Access {
namespace {

// Reads the statement from left to right; every method either consumes what it expects or
// fails the whole statement.
class Parser {
 public:
  explicit Parser(std::u16string_view sql) : sql_(sql) {}

  [[noreturn]] void Fail() const {
    throw Main::Error(kSyntaxErrorNumber, u"Syntax error in query: " + std::u16string(sql_));
  }

  void SkipBlanks() {
    while (at_ < sql_.size() && IsBlank(sql_[at_])) ++at_;
  }

  // Consumes the keyword (ignoring case) when it comes next as a whole word.
  bool Keyword(std::u16string_view word) {
    SkipBlanks();
    if (sql_.size() - at_ < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (Upper(sql_[at_ + i]) != word[i]) return false;
    }
    const size_t end = at_ + word.size();
    if (end < sql_.size() && IsWordCharacter(sql_[end])) return false;
    at_ = end;
    return true;
  }

  void Expect(std::u16string_view word) {
    if (!Keyword(word)) Fail();
  }

  bool Symbol(char16_t symbol) {
    SkipBlanks();
    if (at_ < sql_.size() && sql_[at_] == symbol) {
      ++at_;
      return true;
    }
    return false;
  }

  void ExpectSymbol(char16_t symbol) {
    if (!Symbol(symbol)) Fail();
  }

  // A name between grave accents or square brackets, or a bare word.
  std::u16string Name() {
    SkipBlanks();
    if (at_ >= sql_.size()) Fail();
    const char16_t open = sql_[at_];
    if (open == u'`' || open == u'[') {
      const char16_t close = open == u'`' ? u'`' : u']';
      const size_t end = sql_.find(close, at_ + 1);
      if (end == std::u16string_view::npos || end == at_ + 1) Fail();
      std::u16string name(sql_.substr(at_ + 1, end - at_ - 1));
      if (name.find_first_of(u"[]`") != std::u16string::npos) Fail();
      at_ = end + 1;
      return name;
    }
    const size_t start = at_;
    while (at_ < sql_.size() && IsWordCharacter(sql_[at_])) ++at_;
    if (at_ == start) Fail();
    return std::u16string(sql_.substr(start, at_ - start));
  }

  // A literal between apostrophes.
  std::u16string Literal() {
    SkipBlanks();
    if (at_ >= sql_.size() || sql_[at_] != u'\'') Fail();
    ++at_;
    std::u16string value;
    for (;;) {
      if (at_ >= sql_.size()) Fail();
      if (sql_[at_] == u'\'') {
        if (at_ + 1 < sql_.size() && sql_[at_ + 1] == u'\'') {
          value.push_back(u'\'');
          at_ += 2;
          continue;
        }
        ++at_;
        return value;
      }
      value.push_back(sql_[at_++]);
    }
  }

  // Only blanks and an optional semicolon may follow the statement.
  void End() {
    Symbol(u';');
    SkipBlanks();
    if (at_ != sql_.size()) Fail();
  }

 private:
  static bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
  static bool IsWordCharacter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c > 0x7F;
  }
  static char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
  }

  std::u16string_view sql_;
  size_t at_ = 0;
};

Statement ParseSelect(Parser& p) {
  if (p.Symbol(u'*')) {
    p.Expect(u"FROM");
    SelectAll select{p.Name()};
    p.End();
    return select;
  }
  SelectField select;
  select.field = p.Name();
  p.Expect(u"FROM");
  select.table = p.Name();
  p.End();
  return select;
}

Statement ParseUpdate(Parser& p) {
  UpdateWhereEqual update;
  update.table = p.Name();
  p.Expect(u"SET");
  update.setField = p.Name();
  p.ExpectSymbol(u'=');
  update.newValue = p.Literal();
  p.Expect(u"WHERE");
  update.whereField = p.Name();
  p.ExpectSymbol(u'=');
  update.oldValue = p.Literal();
  p.End();
  return update;
}

}  // namespace

Statement ParseStatement(std::u16string_view sql) {
  Parser p(sql);
  if (p.Keyword(u"SELECT")) return ParseSelect(p);
  if (p.Keyword(u"UPDATE")) return ParseUpdate(p);
  p.Fail();
}

}  // namespace Access
