#include "jet/text/IconvConverter.h"

#include <cerrno>

namespace Jet {

std::unique_ptr<IconvConverter> IconvConverter::Open(const char* to, const char* from) {
  const iconv_t handle = iconv_open(to, from);
  if (handle == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return std::unique_ptr<IconvConverter>(new IconvConverter(handle));
}

IconvConverter::~IconvConverter() { iconv_close(handle_); }

void IconvConverter::Reset() const { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

bool IconvConverter::Step(std::span<const uint8_t> in, char* to, size_t& room, Outcome& outcome) const {
  // iconv takes a non-const input pointer but does not write through it.
  char* from = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
  size_t left = in.size();
  const size_t result = iconv(handle_, &from, &left, &to, &room);
  const int error = errno;
  outcome.read += in.size() - left;
  if (result != static_cast<size_t>(-1)) {
    // The end of the input: a conversion that holds a character back to see whether the next
    // one combines with it (CP1255, CP1258) gives it out now.
    const bool flushed = iconv(handle_, nullptr, nullptr, &to, &room) != static_cast<size_t>(-1);
    if (!flushed && errno == E2BIG) return true;
    outcome.stop = flushed ? Stop::kEnd : Stop::kIncomplete;
    return false;
  }
  if (error == E2BIG) return true;
  outcome.stop = error == EINVAL ? Stop::kIncomplete : Stop::kInvalid;
  return false;
}

}  // namespace Jet
