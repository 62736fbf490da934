#include "tools/jetdump/CsvWriter.h"

#include <algorithm>
#include <cstring>

namespace JetDump {
namespace {

// The most bytes one UTF-16 unit takes here: three for a character of the basic plane, two for a
// doubled quote; a surrogate pair takes four for its two units.
constexpr size_t kWidestUnit = 3;
constexpr char16_t kReplacement = 0xFFFD;

bool NeedsQuotes(std::u16string_view text) {
  return text.find_first_of(u",\"\r\n") != std::u16string_view::npos;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char* PutThreeBytes(char* out, char16_t unit) {
  out[0] = static_cast<char>(0xE0 | (unit >> 12));
  out[1] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (unit & 0x3F));
  return out + 3;
}

char* PutFourBytes(char* out, char32_t code) {
  out[0] = static_cast<char>(0xF0 | (code >> 18));
  out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (code & 0x3F));
  return out + 4;
}

}  // namespace

CsvWriter::CsvWriter(ByteSink& sink, size_t capacity)
    : sink_(sink),
      capacity_(std::max(capacity, kMinimumCapacity)),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

void CsvWriter::Plain(std::u16string_view text) {
  if (NeedsQuotes(text)) {
    Quoted(text);
    return;
  }
  StartField();
  PutEscaped(text);  // no quote to double
}

void CsvWriter::Quoted(std::u16string_view text) {
  StartField();
  Put('"');
  PutEscaped(text);
  Put('"');
}

void CsvWriter::Unquoted(std::string_view ascii) {
  StartField();
  while (!ascii.empty()) {
    if (Room() == 0) Flush();
    const size_t part = std::min(Room(), ascii.size());
    std::memcpy(buffer_.get() + size_, ascii.data(), part);
    size_ += part;
    ascii.remove_prefix(part);
  }
}

void CsvWriter::Hex(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  StartField();
  while (!bytes.empty()) {
    if (Room() < 2) Flush();
    const size_t part = std::min(Room() / 2, bytes.size());
    char* out = buffer_.get() + size_;
    for (const uint8_t byte : bytes.first(part)) {
      *out++ = kDigits[byte >> 4];
      *out++ = kDigits[byte & 0x0F];
    }
    size_ += 2 * part;
    bytes = bytes.subspan(part);
  }
}

void CsvWriter::EndRecord() {
  Put('\r');
  Put('\n');
  atRecordStart_ = true;
}

void CsvWriter::Flush() {
  if (size_ == 0) return;
  const size_t size = size_;
  size_ = 0;
  sink_.Write(buffer_.get(), size);
}

void CsvWriter::FlushAfterFailure() noexcept {
  try {
    Flush();
  } catch (...) {
    // The failure being reported is the one that ended the export.
  }
}

void CsvWriter::StartField() {
  if (!atRecordStart_) Put(',');
  atRecordStart_ = false;
}

void CsvWriter::Put(char c) {
  if (Room() == 0) Flush();
  buffer_[size_++] = c;
}

void CsvWriter::PutEscaped(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    // A part of the text whose units fit the room even at their widest; a surrogate pair starting
    // on its last unit takes one byte more, which the room keeps back.
    if (Room() < kWidestUnit + 1) Flush();
    const size_t end = i + std::min(text.size() - i, (Room() - 1) / kWidestUnit);
    char* out = buffer_.get() + size_;
    while (i < end) {
      const char16_t unit = text[i++];
      if (unit < 0x80) {
        if (unit == u'"') *out++ = '"';
        *out++ = static_cast<char>(unit);
      } else if (unit < 0x800) {
        *out++ = static_cast<char>(0xC0 | (unit >> 6));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
      } else if (IsHighSurrogate(unit) && i < text.size() && IsLowSurrogate(text[i])) {
        out = PutFourBytes(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i++] - 0xDC00));
      } else {
        out = PutThreeBytes(out, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
      }
    }
    size_ = static_cast<size_t>(out - buffer_.get());
  }
}

}  // namespace JetDump
