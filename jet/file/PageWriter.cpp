#include "jet/file/PageWriter.h"

#include "jet/base/Failure.h"

namespace Jet {

PageWriter::~PageWriter() {
  try {
    Flush();
  } catch (...) {  // a failed last write leaves the file as it was after the write before
  }
}

void PageWriter::Write(uint32_t number, std::vector<uint8_t> decoded) {
  if (number == 0) ThrowNotSupported("The header page is never rewritten.");
  if (const std::string refusal = pages_.Codec().WriteRefusal(); !refusal.empty()) ThrowNotSupported(refusal);
  if (decoded.size() != pages_.PageSize() || number > pages_.PageCount())
    ThrowCorrupt("a page write names " + PageText(number) + " beyond the end of the file");
  if (heldBack_ != number) Flush();
  pages_.Replace(number, std::move(decoded));
  heldBack_ = number;
  ++written_;
}

void PageWriter::Flush() {
  if (!heldBack_) return;
  const uint32_t number = *heldBack_;
  const Page page = pages_.Read(number);
  const ByteSpan decoded = page.Bytes();
  const uint64_t offset = uint64_t{number} * pages_.PageSize();
  if (!pages_.Codec().IsPlain()) {
    std::vector<uint8_t> encoded(decoded.begin(), decoded.end());
    pages_.Codec().Encode(number, encoded);
    file_.WriteAt(offset, encoded);
  } else {
    file_.WriteAt(offset, decoded);
  }
  heldBack_.reset();
}

uint32_t PageWriter::Append(std::vector<uint8_t> decoded) {
  const uint32_t number = pages_.PageCount();
  Write(number, std::move(decoded));
  return number;
}

}  // namespace Jet
