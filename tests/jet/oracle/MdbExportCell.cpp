#include "tests/jet/oracle/MdbExportCell.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "common/Text.h"
#include "tools/jetdump/ExportField.h"

namespace Oracle {
namespace {

using Jet::ColumnType;
using Kind = Main::Value::Kind;

// The date mdbtools prints for a stored date it refuses to convert.
constexpr std::string_view kRejectedDate = "1900-01-00 00:00:00";
// mdbtools converts stored dates from 0 up to this value only.
constexpr double kLastDateMdbToolsConverts = 1e6;

const char* KindName(Kind kind) {
  static constexpr const char* kNames[] = {"Null",     "Text",     "Integer", "Single",
                                           "Double",   "Currency", "Decimal", "DateTime",
                                           "Boolean",  "Bytes",    "Guid",    "ExtendedDateTime"};
  return kNames[static_cast<size_t>(kind)];
}

// The text with control characters (C0 and C1) shown as \u{XX}, so that a report shows them.
std::string Visible(std::u16string_view text) {
  std::u16string shown;
  for (const char16_t c : text) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      char code[16];
      std::snprintf(code, sizeof code, "\\u{%02X}", static_cast<unsigned>(c));
      shown.append(code, code + std::char_traits<char>::length(code));
    } else {
      shown.push_back(c);
    }
  }
  return Main::ToUtf8(shown);
}

std::string Describe(const CsvField& printed, const Main::Value& read) {
  const std::string text = Visible(Main::FromUtf8(printed.text));
  const std::string shown = printed.quoted ? "\"" + text + "\"" : (text.empty() ? "Null" : text);
  return "mdb-export printed " + shown + ", the engine read " + KindName(read.kind()) + " " +
         Visible(read.ToText());
}

bool PrintedNull(const CsvField& printed) { return !printed.quoted && printed.text.empty(); }

// Whether the value read is one mdbtools prints as an empty unquoted field.
bool MdbToolsPrintsAsNull(const Jet::Column& column, const Main::Value& read) {
  if (read.IsNull()) return true;
  if (read.kind() == Kind::Text) return read.AsText().empty();
  if (column.type == ColumnType::Binary && read.kind() == Kind::Bytes) {
    return read.AsBytes().empty() || read.AsBytes().front() == 0;
  }
  return false;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  int64_t number = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return number;
}

std::optional<double> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return std::nullopt;
  return number;
}

// The printed number as mdbtools' printf format gives it for the value read, as a number.
double RoundedLikeMdbTools(double number, int significantDigits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", significantDigits, number);
  return std::strtod(buffer, nullptr);
}

// A decimal text without trailing fraction zeros, without a lone point, and "0" for "-0".
std::string CanonicalDecimal(std::string text) {
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

std::string UpperHex(const Main::Bytes& bytes) {
  std::string hex;
  char buffer[3];
  for (const uint8_t byte : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X", byte);
    hex += buffer;
  }
  return hex;
}

std::string UpperHex(std::string_view text) {
  return UpperHex(Main::Bytes(text.begin(), text.end()));
}

bool SameNumber(const CsvField& printed, double read, int significantDigits) {
  const std::optional<double> number = ParseNumber(printed.text);
  return number && *number == RoundedLikeMdbTools(read, significantDigits);
}

// The id as mdbtools formats it: without the hyphen between the fourth and the fifth group.
std::string MdbToolsGuidText(const Main::Guid& id) {
  constexpr size_t kFourthHyphen = 24;  // "{XXXXXXXX-XXXX-XXXX-XXXX-..."
  std::string text = Main::ToUtf8(Main::FormatGuid(id));
  text.erase(kFourthHyphen, 1);
  return text;
}

// The text as mdbtools prints it from a file of this format (see the header).
std::string MdbToolsText(std::u16string text, Jet::FileFormat format) {
  if (format == Jet::FileFormat::Jet3) {
    for (char16_t& c : text) {
      if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) c = u'?';
    }
  }
  return Main::ToUtf8(text);
}

bool SameDate(const CsvField& printed, double oleDate) {
  if (oleDate < 0 || oleDate > kLastDateMdbToolsConverts) return printed.text == kRejectedDate;
  return printed.text == Main::ToUtf8(JetDump::FullDateTime(oleDate));
}

// Whether the printed field shows the value read; the value's kind is already checked.
bool SameValue(const Jet::Column& column, const CsvField& printed, const Main::Value& read,
               Jet::FileFormat format) {
  switch (column.type) {
    case ColumnType::Boolean: return printed.text == (read.AsBoolean() ? "1" : "0");
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Complex: return ParseInteger(printed.text) == read.AsInteger();
    case ColumnType::Currency:
      return CanonicalDecimal(printed.text) ==
             Main::ToUtf8(Main::FormatCurrency(read.AsCurrency()));
    case ColumnType::Decimal:
      return CanonicalDecimal(printed.text) == Main::ToUtf8(Main::FormatDecimal(read.AsDecimal()));
    case ColumnType::Single: return SameNumber(printed, read.AsSingle(), 8);
    case ColumnType::Double: return SameNumber(printed, read.AsDouble(), 16);
    case ColumnType::DateTime: return SameDate(printed, read.AsDateTime().oleDate);
    case ColumnType::Text:
    case ColumnType::Memo:
      return printed.quoted && printed.text == MdbToolsText(read.AsText(), format);
    case ColumnType::OleObject: return printed.text == UpperHex(read.AsBytes());
    case ColumnType::Binary: {
      const Main::Bytes& bytes = read.AsBytes();
      return printed.text == UpperHex(Main::Bytes(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0)));
    }
    case ColumnType::Guid:
      return printed.text == UpperHex(MdbToolsGuidText(read.AsGuid()));
    case ColumnType::BigInt:
    case ColumnType::DateTimeExtended: return true;  // not decoded by mdbtools; see MdbToolsDecodes
  }
  return false;
}

// The kind of value the engine gives for a column type.
Kind ExpectedKind(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean: return Kind::Boolean;
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Complex:
    case ColumnType::BigInt: return Kind::Integer;
    case ColumnType::Currency: return Kind::Currency;
    case ColumnType::Single: return Kind::Single;
    case ColumnType::Double: return Kind::Double;
    case ColumnType::DateTime: return Kind::DateTime;
    case ColumnType::Text:
    case ColumnType::Memo: return Kind::Text;
    case ColumnType::Binary:
    case ColumnType::OleObject: return Kind::Bytes;
    case ColumnType::Guid: return Kind::Guid;
    case ColumnType::Decimal: return Kind::Decimal;
    case ColumnType::DateTimeExtended: return Kind::ExtendedDateTime;
  }
  return Kind::Null;
}

}  // namespace

bool MdbToolsDecodes(const Jet::Column& column) {
  if (column.rawType != static_cast<uint8_t>(column.type)) return false;
  switch (column.type) {
    // mdbtools 1.0 prints nothing for these ("unsupported data type").
    case ColumnType::BigInt:
    case ColumnType::DateTimeExtended: return false;
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Binary:
    case ColumnType::Text:
    case ColumnType::OleObject:
    case ColumnType::Memo:
    case ColumnType::Guid:
    case ColumnType::Decimal:
    case ColumnType::Complex: return true;
  }
  return false;  // a code the engine does not know
}

std::string CellMismatch(const Jet::Column& column, const CsvField& printed,
                         const Main::Value& read, Jet::FileFormat format) {
  if (!MdbToolsDecodes(column)) return {};
  if (PrintedNull(printed)) {
    return MdbToolsPrintsAsNull(column, read) ? std::string() : Describe(printed, read);
  }
  if (read.kind() != ExpectedKind(column.type) || !SameValue(column, printed, read, format)) {
    return Describe(printed, read);
  }
  return {};
}

}  // namespace Oracle
