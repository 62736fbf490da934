#include "common/ui/qt/CursorFile.h"

#include <cstddef>
#include <string>

#include "common/Error.h"
#include "common/ui/ControlErrors.h"

namespace Ui {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kCursorType = 2;
constexpr int kLargestSide = 256;

[[noreturn]] void Reject(const std::string& why) {
  throw Main::Error(ControlError::kInvalidPicture, "Invalid picture: " + why);
}

// Bounds-checked little-endian reads over a piece of the file.
class LittleEndianReader {
 public:
  explicit LittleEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t U8(std::size_t at) const { return Bytes(at, 1)[0]; }
  std::uint16_t U16(std::size_t at) const {
    const auto b = Bytes(at, 2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::uint32_t U32(std::size_t at) const {
    const auto b = Bytes(at, 4);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

  std::span<const std::uint8_t> Bytes(std::size_t at, std::size_t count) const {
    if (at > bytes_.size() || count > bytes_.size() - at) Reject("the cursor file is cut short");
    return bytes_.subspan(at, count);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

std::size_t RowStride(int width, int bitsPerPixel) {
  return (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

// The bitmap part of one image: its geometry and where its table and rows lie.
struct Bitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<std::uint32_t> palette;        // 0x00RRGGBB
  std::span<const std::uint8_t> colourRows;  // bottom row first
  std::span<const std::uint8_t> maskRows;    // bottom row first
};

Bitmap ReadBitmap(const LittleEndianReader& image) {
  if (image.Bytes(0, 4)[0] == 0x89) Reject("PNG-compressed cursor images are not supported");
  if (image.U32(0) != kInfoHeaderSize) Reject("the image has no BITMAPINFOHEADER");
  Bitmap bitmap;
  bitmap.width = image.I32(4);
  const std::int32_t doubleHeight = image.I32(8);
  bitmap.bitsPerPixel = image.U16(14);
  if (bitmap.width < 1 || bitmap.width > kLargestSide || doubleHeight < 2 ||
      doubleHeight > 2 * kLargestSide || doubleHeight % 2 != 0) {
    Reject("the image size is out of range");
  }
  bitmap.height = doubleHeight / 2;
  if (image.U32(16) != 0) Reject("compressed bitmaps are not supported");
  const int bits = bitmap.bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    Reject("unsupported bits per pixel: " + std::to_string(bits));
  }
  std::size_t at = kInfoHeaderSize;
  if (bits <= 8) {
    const std::uint32_t colourCount = image.U32(32) != 0 ? image.U32(32) : 1u << bits;
    if (colourCount > (1u << bits)) Reject("the colour table is too long");
    for (std::uint32_t i = 0; i < colourCount; ++i, at += 4) {
      bitmap.palette.push_back(image.U32(at) & 0xFFFFFFu);
    }
  }
  const std::size_t colourSize = RowStride(bitmap.width, bits) * bitmap.height;
  bitmap.colourRows = image.Bytes(at, colourSize);
  bitmap.maskRows = image.Bytes(at + colourSize, RowStride(bitmap.width, 1) * bitmap.height);
  return bitmap;
}

std::uint32_t ColourAt(const Bitmap& bitmap, std::span<const std::uint8_t> row, int x) {
  switch (bitmap.bitsPerPixel) {
    case 32:
      return row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 |
             static_cast<std::uint32_t>(row[4 * x + 3]) << 24;
    case 24:
      return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
    default: {
      const int bits = bitmap.bitsPerPixel;
      const int perByte = 8 / bits;
      const int shift = 8 - bits * (x % perByte + 1);
      const std::size_t index = (row[x / perByte] >> shift) & ((1 << bits) - 1);
      if (index >= bitmap.palette.size()) Reject("a pixel names a colour the table lacks");
      return bitmap.palette[index];
    }
  }
}

bool MaskBitAt(std::span<const std::uint8_t> row, int x) { return (row[x / 8] >> (7 - x % 8)) & 1; }

bool HasOwnAlpha(const Bitmap& bitmap) {
  if (bitmap.bitsPerPixel != 32) return false;
  for (std::size_t i = 3; i < bitmap.colourRows.size(); i += 4) {
    if (bitmap.colourRows[i] != 0) return true;
  }
  return false;
}

std::vector<std::uint32_t> Pixels(const Bitmap& bitmap) {
  const bool ownAlpha = HasOwnAlpha(bitmap);
  const std::size_t colourStride = RowStride(bitmap.width, bitmap.bitsPerPixel);
  const std::size_t maskStride = RowStride(bitmap.width, 1);
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(bitmap.width) * bitmap.height);
  for (int y = 0; y < bitmap.height; ++y) {
    const std::size_t stored = bitmap.height - 1 - y;
    const auto colours = bitmap.colourRows.subspan(stored * colourStride, colourStride);
    const auto mask = bitmap.maskRows.subspan(stored * maskStride, maskStride);
    for (int x = 0; x < bitmap.width; ++x) {
      const std::uint32_t colour = ColourAt(bitmap, colours, x);
      if (ownAlpha) {
        pixels.push_back(colour);
      } else if (!MaskBitAt(mask, x)) {
        pixels.push_back(0xFF000000u | (colour & 0xFFFFFFu));
      } else {
        pixels.push_back((colour & 0xFFFFFFu) == 0 ? 0u : 0xFF000000u);
      }
    }
  }
  return pixels;
}

}  // namespace

CursorImage ReadCursorFile(std::span<const std::uint8_t> file) {
  const LittleEndianReader reader(file);
  if (reader.U16(0) != 0 || reader.U16(2) != kCursorType) Reject("this is not a cursor file");
  if (reader.U16(4) == 0) Reject("the cursor file holds no image");
  const std::uint32_t size = reader.U32(kHeaderSize + 8);
  const std::uint32_t offset = reader.U32(kHeaderSize + 12);
  const Bitmap bitmap = ReadBitmap(LittleEndianReader(reader.Bytes(offset, size)));

  CursorImage cursor;
  cursor.width = bitmap.width;
  cursor.height = bitmap.height;
  cursor.hotspotX = reader.U16(kHeaderSize + 4);
  cursor.hotspotY = reader.U16(kHeaderSize + 6);
  if (cursor.hotspotX >= cursor.width || cursor.hotspotY >= cursor.height) {
    Reject("the hotspot lies outside the image");
  }
  cursor.pixels = Pixels(bitmap);
  return cursor;
}

}  // namespace Ui
