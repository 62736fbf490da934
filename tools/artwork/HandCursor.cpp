#include "tools/artwork/HandCursor.h"

#include <array>
#include <string_view>

namespace Artwork {
namespace {

// The hand, top row first: 'X' outline (black), 'o' fill (white), anything else transparent.
constexpr std::array<std::string_view, 21> kHand = {
    "     XX            ",  //
    "    XooX           ",  //
    "    XooX           ",  //
    "    XooX           ",  //
    "    XooX           ",  //
    "    XooXXX         ",  //
    "    XooXooXXX      ",  //
    "    XooXooXooXX    ",  //
    " XX XooXooXooXoX   ",  //
    "XooXXooooooooXoX   ",  //
    "XoooXooooooooooX   ",  //
    " XooXooooooooooX   ",  //
    "  XoXooooooooooX   ",  //
    "  XooooooooooooX   ",  //
    "   XoooooooooooX   ",  //
    "   XooooooooooX    ",  //
    "    XoooooooooX    ",  //
    "    XoooooooooX    ",  //
    "     XooooooooX    ",  //
    "     XooooooooX    ",  //
    "     XXXXXXXXXX    ",  //
};

char PixelAt(int x, int y) {
  if (y >= static_cast<int>(kHand.size()) || x >= static_cast<int>(kHand[y].size())) return ' ';
  return kHand[y][x];
}

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(value & 0xff);
  out.push_back((value >> 8) & 0xff);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, value & 0xffff);
  PutU16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> HandCursorFile() {
  constexpr int size = kHandCursorSize;
  constexpr std::uint32_t colourBytes = size * size * 4;
  constexpr std::uint32_t maskBytes = size * (size / 8);  // 32-pixel rows are already 4-byte aligned
  constexpr std::uint32_t headerBytes = 40;
  constexpr std::uint32_t imageOffset = 6 + 16;

  std::vector<std::uint8_t> file;
  PutU16(file, 0);  // reserved
  PutU16(file, 2);  // a cursor
  PutU16(file, 1);  // one image
  file.push_back(size);
  file.push_back(size);
  file.push_back(0);  // no colour table
  file.push_back(0);
  PutU16(file, kHandHotspotX);
  PutU16(file, kHandHotspotY);
  PutU32(file, headerBytes + colourBytes + maskBytes);
  PutU32(file, imageOffset);

  PutU32(file, headerBytes);
  PutU32(file, size);
  PutU32(file, size * 2);  // colour image and mask
  PutU16(file, 1);         // planes
  PutU16(file, 32);        // bits per pixel
  PutU32(file, 0);         // no compression
  PutU32(file, colourBytes + maskBytes);
  for (int unused = 0; unused < 4; ++unused) PutU32(file, 0);

  for (int y = size - 1; y >= 0; --y) {  // bottom row first
    for (int x = 0; x < size; ++x) {
      const char pixel = PixelAt(x, y);
      const std::uint8_t shade = pixel == 'o' ? 0xff : 0x00;
      const std::uint8_t alpha = (pixel == 'o' || pixel == 'X') ? 0xff : 0x00;
      file.insert(file.end(), {shade, shade, shade, alpha});
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    for (int byte = 0; byte < size / 8; ++byte) {
      std::uint8_t bits = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const char pixel = PixelAt(byte * 8 + bit, y);
        if (pixel != 'o' && pixel != 'X') bits |= 0x80 >> bit;  // transparent
      }
      file.push_back(bits);
    }
  }
  return file;
}

}  // namespace Artwork
