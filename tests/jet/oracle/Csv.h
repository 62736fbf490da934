#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reads CSV as mdb-export and jetdump write it: comma-separated fields, records ended by LF or
// CRLF, quoted fields with doubled inner quotes that may span lines.
namespace Oracle {

struct CsvField {
  std::string text;     // without the quotes, inner quotes undoubled
  bool quoted = false;  // an unquoted empty field is how both write Null
  friend bool operator==(const CsvField&, const CsvField&) = default;
};

using CsvRecord = std::vector<CsvField>;

// Throws std::runtime_error for an unterminated quoted field or text after a closing quote.
std::vector<CsvRecord> ParseCsv(std::string_view text);

}  // namespace Oracle
