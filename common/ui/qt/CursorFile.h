#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Reads the window's custom pointer image from a Windows cursor file (.cur).
//
// The file, all numbers little-endian:
//   header, 6 bytes:   reserved (u16, 0), type (u16, 2 for a cursor), image count (u16, >= 1)
//   directory entries, 16 bytes each: width (u8, 0 means 256), height (u8, 0 means 256),
//                      colour count (u8), reserved (u8), hotspot x (u16), hotspot y (u16),
//                      image size in bytes (u32), image offset from the file's start (u32)
//   image:             a BITMAPINFOHEADER (40 bytes: header size u32 = 40, width i32,
//                      height i32 = twice the image height, planes u16 = 1, bits per pixel u16,
//                      compression u32 = 0, image size u32, two resolutions i32, colours used
//                      u32, colours important u32), then for 1, 4 and 8 bits per pixel a colour
//                      table of (colours used, or 2^bits) entries of blue, green, red, 0; then the
//                      colour rows (the XOR image) and the 1-bit mask rows (the AND image), each
//                      row padded to 4 bytes and the bottom row first.
// A pixel whose mask bit is 1 is transparent where its colour is black and inverts the screen
// otherwise; the inverting pixels are drawn black here. A 32-bit image carries its own alpha;
// when every alpha byte is 0 the mask gives the transparency instead. Only the first image of the
// file is read; PNG-compressed images are not.
namespace Ui {

// A cursor image: `pixels` holds width * height values 0xAARRGGBB (not premultiplied), the top
// row first.
struct CursorImage {
  int width = 0;
  int height = 0;
  int hotspotX = 0;
  int hotspotY = 0;
  std::vector<std::uint32_t> pixels;
};

// Reads the first image of a cursor file held in memory. A file this reader cannot take throws
// Main::Error (ControlError::kInvalidPicture) saying what is wrong with it.
CursorImage ReadCursorFile(std::span<const std::uint8_t> file);

}  // namespace Ui
