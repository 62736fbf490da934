#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Writes Windows cursor files in memory for the reader's tests: one image, 1 bit per pixel
// (black and white) or 32 bits (blue, green, red, alpha), with its AND mask.
namespace Testing {

struct CursorDrawing {
  int width = 32;
  int height = 32;
  int bitsPerPixel = 1;
  int hotspotX = 0;
  int hotspotY = 0;
  std::function<std::uint32_t(int x, int y)> colour;  // 0xAARRGGBB; 1 bit: white or not
  std::function<bool(int x, int y)> mask;             // the AND mask bit
};

class CursorFileBuilder {
 public:
  static std::vector<std::uint8_t> Build(const CursorDrawing& drawing) {
    CursorFileBuilder file;
    const int colourStride = (drawing.width * drawing.bitsPerPixel + 31) / 32 * 4;
    const int maskStride = (drawing.width + 31) / 32 * 4;
    const int paletteSize = drawing.bitsPerPixel == 1 ? 8 : 0;
    const int imageSize = 40 + paletteSize + (colourStride + maskStride) * drawing.height;
    file.U16(0).U16(2).U16(1);  // header: a cursor with one image
    file.U8(static_cast<std::uint8_t>(drawing.width)).U8(static_cast<std::uint8_t>(drawing.height)).U8(0).U8(0);
    file.U16(drawing.hotspotX).U16(drawing.hotspotY).U32(imageSize).U32(6 + 16);
    file.U32(40).U32(drawing.width).U32(2 * drawing.height).U16(1).U16(drawing.bitsPerPixel);
    file.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    if (drawing.bitsPerPixel == 1) file.U32(0x000000).U32(0xFFFFFF);
    for (int y = drawing.height - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(colourStride);
      for (int x = 0; x < drawing.width; ++x) {
        const std::uint32_t colour = drawing.colour(x, y);
        if (drawing.bitsPerPixel == 1) {
          if ((colour & 0xFFFFFF) == 0xFFFFFF) row[x / 8] |= 0x80 >> (x % 8);
        } else {
          for (int byte = 0; byte < 4; ++byte) row[4 * x + byte] = static_cast<std::uint8_t>(colour >> (8 * byte));
        }
      }
      file.bytes_.insert(file.bytes_.end(), row.begin(), row.end());
    }
    for (int y = drawing.height - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(maskStride);
      for (int x = 0; x < drawing.width; ++x) {
        if (drawing.mask(x, y)) row[x / 8] |= 0x80 >> (x % 8);
      }
      file.bytes_.insert(file.bytes_.end(), row.begin(), row.end());
    }
    return file.bytes_;
  }

 private:
  CursorFileBuilder& U8(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
  }
  CursorFileBuilder& U16(int value) { return U8(value & 0xFF).U8((value >> 8) & 0xFF); }
  CursorFileBuilder& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }

  std::vector<std::uint8_t> bytes_;
};

}  // namespace Testing
