#pragma once

#include <cstdint>
#include <vector>

// The program's own hand pointer, HAND-M.CUR: a pointing hand drawn in black and white on a
// 32 x 32 cursor, its hotspot at the tip of the index finger.
namespace Artwork {

inline constexpr int kHandCursorSize = 32;
inline constexpr int kHandHotspotX = 5;
inline constexpr int kHandHotspotY = 0;

// The whole .cur file: one 32-bit image with its alpha and the matching AND mask.
std::vector<std::uint8_t> HandCursorFile();

}  // namespace Artwork
