#pragma once

#include <ostream>
#include <string_view>

// Writes CSV as RFC 4180 lays it out, in UTF-8: fields separated by commas, records ended by CRLF.
namespace JetDump {

class CsvWriter {
 public:
  explicit CsvWriter(std::ostream& out) : out_(out) {}

  // A field as it is (numbers, dates, hex, names); quoted only when it holds a comma, a quote
  // or a line break. The empty text gives an empty unquoted field, the form of Null.
  void Plain(std::u16string_view text);
  // A field always quoted, inner quotes doubled: text, so that an empty text differs from Null.
  void Quoted(std::u16string_view text);
  void EndRecord();

 private:
  void StartField();
  void WriteQuoted(std::u16string_view text);

  std::ostream& out_;
  bool atRecordStart_ = true;
};

}  // namespace JetDump
