#include "jet/base/Failure.h"

namespace Jet {

void ThrowCorrupt(std::string_view detail) {
  throw JetError(JetErrorNumber::kCorrupt,
                 "The database file is damaged: " + std::string(detail) + ".");
}

void ThrowNotSupported(std::string_view detail, Main::ErrorCause cause) {
  throw JetError(JetErrorNumber::kNotSupported, std::string(detail), cause);
}

std::string PageText(uint32_t page) { return "page " + std::to_string(page); }

}  // namespace Jet
