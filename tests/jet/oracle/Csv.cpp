#include "tests/jet/oracle/Csv.h"

#include <stdexcept>

namespace Oracle {
namespace {

// Walks the text one field at a time.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text) : text_(text) {}

  std::vector<CsvRecord> ReadAll() {
    std::vector<CsvRecord> records;
    while (position_ < text_.size()) records.push_back(ReadRecord());
    return records;
  }

 private:
  CsvRecord ReadRecord() {
    CsvRecord record;
    for (;;) {
      record.push_back(ReadField());
      if (position_ >= text_.size()) return record;
      const char separator = text_[position_++];
      if (separator == ',') continue;
      if (separator == '\r' && position_ < text_.size() && text_[position_] == '\n') ++position_;
      return record;
    }
  }

  CsvField ReadField() {
    CsvField field;
    if (position_ < text_.size() && text_[position_] == '"') {
      field.quoted = true;
      ++position_;
      for (;;) {
        const size_t quote = text_.find('"', position_);
        if (quote == std::string_view::npos) throw std::runtime_error("unterminated quoted field");
        field.text.append(text_.substr(position_, quote - position_));
        position_ = quote + 1;
        if (position_ < text_.size() && text_[position_] == '"') {
          field.text.push_back('"');
          ++position_;
        } else {
          break;
        }
      }
      if (position_ < text_.size() && text_.find_first_of(",\r\n", position_) != position_) {
        throw std::runtime_error("text after a closing quote");
      }
      return field;
    }
    const size_t end = std::min(text_.find_first_of(",\r\n", position_), text_.size());
    field.text = std::string(text_.substr(position_, end - position_));
    position_ = end;
    return field;
  }

  std::string_view text_;
  size_t position_ = 0;
};

}  // namespace

std::vector<CsvRecord> ParseCsv(std::string_view text) { return CsvReader(text).ReadAll(); }

}  // namespace Oracle
