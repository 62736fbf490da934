#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/jetdump/ByteSink.h"

// What jetdump's CSV tests compare against: the blocks a writer hands over, and fields built the
// slow way, through the common UTF-8 conversion.
namespace JetDump::Testing {

// Keeps every block the writer hands over, in order.
class RecordingSink : public ByteSink {
 public:
  void Write(const char* bytes, size_t size) override { blocks.emplace_back(bytes, size); }
  std::string All() const;
  std::vector<std::string> blocks;
};

// Refuses every block with a std::runtime_error.
class FailingSink : public ByteSink {
 public:
  void Write(const char* bytes, size_t size) override;
};

// The text in UTF-8 (Main::ToUtf8), quoted, inner quotes doubled.
std::string QuotedReference(std::u16string_view text);

}  // namespace JetDump::Testing
