#include "tests/tools/CsvReference.h"

#include <stdexcept>

#include "common/Text.h"

namespace JetDump::Testing {

std::string RecordingSink::All() const {
  std::string all;
  for (const std::string& block : blocks) all += block;
  return all;
}

void FailingSink::Write(const char*, size_t) { throw std::runtime_error("the sink is full"); }

std::string QuotedReference(std::u16string_view text) {
  std::string field = "\"";
  for (const char c : Main::ToUtf8(text)) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + "\"";
}

}  // namespace JetDump::Testing
