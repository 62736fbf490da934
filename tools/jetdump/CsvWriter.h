#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "tools/jetdump/ByteSink.h"

// Writes CSV as RFC 4180 lays it out, in UTF-8: fields separated by commas, records ended by CRLF.
// Fields are encoded straight into one buffer, handed to the sink whenever it fills and on Flush.
namespace JetDump {

class CsvWriter {
 public:
  static constexpr size_t kDefaultCapacity = size_t{1} << 20;
  // The smallest buffer taken: room for the widest character and its field's separator.
  static constexpr size_t kMinimumCapacity = 16;

  // `capacity` below kMinimumCapacity is raised to it.
  explicit CsvWriter(ByteSink& sink, size_t capacity = kDefaultCapacity);

  // A field as it is (names, texts of numbers); quoted only when it holds a comma, a quote or a
  // line break. The empty text gives an empty unquoted field, the form of Null.
  void Plain(std::u16string_view text);
  // A field always quoted, inner quotes doubled: text, so that an empty text differs from Null.
  void Quoted(std::u16string_view text);
  // A field of ASCII characters that never need quotes (numbers, dates, ids), written as given.
  void Unquoted(std::string_view ascii);
  // A field of the bytes in lowercase hex, two digits a byte.
  void Hex(std::span<const uint8_t> bytes);
  void EndRecord();

  // Hands what is buffered to the sink.
  void Flush();
  // Flush for a failure's way out: a second failure of the sink is dropped so that the first one
  // is the one reported.
  void FlushAfterFailure() noexcept;

 private:
  void StartField();
  void Put(char c);
  // UTF-8 of the text, quotes doubled, unpaired surrogates as U+FFFD; flushes as it goes.
  void PutEscaped(std::u16string_view text);
  size_t Room() const { return capacity_ - size_; }

  ByteSink& sink_;
  size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  size_t size_ = 0;
  bool atRecordStart_ = true;
};

}  // namespace JetDump
