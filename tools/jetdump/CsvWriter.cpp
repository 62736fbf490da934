#include "tools/jetdump/CsvWriter.h"

#include "common/Text.h"

namespace JetDump {
namespace {

bool NeedsQuotes(std::u16string_view text) {
  return text.find_first_of(u",\"\r\n") != std::u16string_view::npos;
}

}  // namespace

void CsvWriter::Plain(std::u16string_view text) {
  if (NeedsQuotes(text)) {
    Quoted(text);
    return;
  }
  StartField();
  out_ << Main::ToUtf8(text);
}

void CsvWriter::Quoted(std::u16string_view text) {
  StartField();
  WriteQuoted(text);
}

void CsvWriter::EndRecord() {
  out_ << "\r\n";
  atRecordStart_ = true;
}

void CsvWriter::StartField() {
  if (!atRecordStart_) out_ << ',';
  atRecordStart_ = false;
}

void CsvWriter::WriteQuoted(std::u16string_view text) {
  out_ << '"';
  size_t start = 0;
  for (size_t quote = text.find(u'"'); quote != std::u16string_view::npos;
       quote = text.find(u'"', start)) {
    out_ << Main::ToUtf8(text.substr(start, quote + 1 - start)) << '"';
    start = quote + 1;
  }
  out_ << Main::ToUtf8(text.substr(start)) << '"';
}

}  // namespace JetDump
