#include "jet/PageWriter.h"

#include "jet/Failure.h"
#include "jet/Rc4.h"

namespace Jet {

void PageWriter::Write(uint32_t number, std::vector<uint8_t> decoded) {
  if (number == 0) ThrowNotSupported("The header page is never rewritten.");
  if (decoded.size() != pages_.PageSize() || number > pages_.PageCount())
    ThrowCorrupt("a page write names " + PageText(number) + " beyond the end of the file");
  const uint64_t offset = uint64_t{number} * pages_.PageSize();
  if (databaseKey_ != 0) {
    std::vector<uint8_t> encoded = decoded;
    DecodePage(encoded, databaseKey_, number);  // the cipher is its own inverse
    file_.WriteAt(offset, encoded);
  } else {
    file_.WriteAt(offset, decoded);
  }
  pages_.Replace(number, std::move(decoded));
  ++written_;
}

uint32_t PageWriter::Append(std::vector<uint8_t> decoded) {
  const uint32_t number = pages_.PageCount();
  Write(number, std::move(decoded));
  return number;
}

}  // namespace Jet
