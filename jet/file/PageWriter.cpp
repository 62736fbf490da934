#include "jet/file/PageWriter.h"

#include "jet/base/Failure.h"

namespace Jet {

PageWriter::~PageWriter() {
  try {
    Flush();
  } catch (...) {  // a failed last write leaves the file as it was after the write before
  }
}

void PageWriter::CheckWritable(uint32_t number, bool mayAppend) const {
  if (number == 0) ThrowNotSupported("The header page is never rewritten.");
  if (const std::string refusal = pages_.Codec().WriteRefusal(); !refusal.empty()) ThrowNotSupported(refusal);
  if (number > pages_.PageCount() || (!mayAppend && number == pages_.PageCount()))
    ThrowCorrupt("a page write names " + PageText(number) + " beyond the end of the file");
}

void PageWriter::Write(uint32_t number, std::vector<uint8_t> decoded) {
  CheckWritable(number, true);
  if (decoded.size() != pages_.PageSize())
    ThrowCorrupt("a page write names " + PageText(number) + " beyond the end of the file");
  if (heldBack_ != number) Flush();
  pages_.Replace(number, std::move(decoded));
  heldBack_ = number;
  ++written_;
}

MutableBytes PageWriter::Edit(uint32_t number) {
  CheckWritable(number, false);
  if (heldBack_ != number) Flush();
  const MutableBytes bytes = pages_.Editable(number);
  heldBack_ = number;
  ++written_;
  return bytes;
}

void PageWriter::Flush() {
  if (!heldBack_) return;
  const uint32_t number = *heldBack_;
  WriteToFile(number, pages_.Read(number).Bytes());
  heldBack_.reset();
  pages_.Settled(number);
}

void PageWriter::WriteToFile(uint32_t number, ByteSpan decoded) {
  const uint64_t offset = uint64_t{number} * pages_.PageSize();
  if (pages_.Codec().IsPlain()) {
    file_.WriteAt(offset, decoded);
    return;
  }
  encoded_.assign(decoded.begin(), decoded.end());
  pages_.Codec().Encode(number, encoded_);
  file_.WriteAt(offset, encoded_);
}

uint32_t PageWriter::Append(std::vector<uint8_t> decoded) {
  const uint32_t number = pages_.PageCount();
  Write(number, std::move(decoded));
  return number;
}

}  // namespace Jet
