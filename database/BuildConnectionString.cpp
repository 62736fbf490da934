#include "database/BuildConnectionString.h"

#include "database/access/ConnectionString.h"

namespace Access1 {

bool IsAceDatabase(std::u16string_view path) {
  if (path.size() < 5) return false;
  std::u16string ending(path.substr(path.size() - 5));
  for (char16_t& c : ending) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return ending == u"accdb";
}

std::u16string BuildConnectionString(std::u16string_view path, std::u16string_view password) {
  std::u16string text = IsAceDatabase(path) ? u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source="
                                            : u"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=";
  text += Access::QuoteConnectionValue(path);
  text += u";JET OLEDB:Database Password=";
  text += Access::QuoteConnectionValue(password);
  return text;
}

std::u16string BuildConnectionString(const DatabaseChoice& choice) {
  return BuildConnectionString(choice.DatabasePath(), choice.DatabasePassword());
}

}  // namespace Access1
