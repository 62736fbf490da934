#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// OLE DB connection strings: `key=value` pairs separated by semicolons. Keys ignore case and the
// blanks around them; a value that holds a semicolon, a quote or a leading or trailing blank is
// enclosed in double quotes (a double quote inside written twice) or in single quotes.
namespace Access {

class ConnectionString {
 public:
  // Throws Main::Error for a malformed string (an unterminated quote, text after a closing quote).
  static ConnectionString Parse(std::u16string_view text);

  // The value of a key (any case), or nothing when the string does not name it.
  std::optional<std::u16string> Get(std::u16string_view key) const;

 private:
  std::map<std::u16string, std::u16string> values_;  // by lower-case key
};

// The value as it must stand after `key=` so that parsing gives it back unchanged: as it is when
// that is safe, otherwise quoted.
std::u16string QuoteConnectionValue(std::u16string_view value);

// The keys the program uses.
inline constexpr std::u16string_view kProviderKey = u"Provider";
inline constexpr std::u16string_view kDataSourceKey = u"Data Source";
inline constexpr std::u16string_view kPasswordKey = u"Jet OLEDB:Database Password";

}  // namespace Access
