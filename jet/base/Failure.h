#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jet/JetError.h"

// Builders of the engine's errors, so that every layer words them the same way.
namespace Jet {

// Structural damage: "The database file is damaged: <detail>." (kCorrupt).
[[noreturn]] void ThrowCorrupt(std::string_view detail);

// A feature the engine does not handle yet (kNotSupported), with what it concerns when known.
[[noreturn]] void ThrowNotSupported(std::string_view detail,
                                    Main::ErrorCause cause = Main::ErrorCause::kUnspecified);

// "page 12" style text for messages.
std::string PageText(uint32_t page);

}  // namespace Jet
