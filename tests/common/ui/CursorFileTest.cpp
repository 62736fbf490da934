#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/ui/ControlErrors.h"
#include "common/ui/qt/CursorFile.h"
#include "tests/common/ui/CursorFileBuilder.h"
#include "tests/common/ui/ErrorNumber.h"

namespace Ui {
namespace {

using Testing::CursorDrawing;
using Testing::CursorFileBuilder;

constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr std::uint32_t kTransparent = 0x00000000;

std::uint32_t PixelAt(const CursorImage& image, int x, int y) { return image.pixels[y * image.width + x]; }

long ErrorNumberOf(const std::vector<std::uint8_t>& file) {
  return Testing::ErrorNumberOf([&] { ReadCursorFile(file); });
}

// A 1-bit drawing with the four kinds of monochrome pixel in the four quarters: black and white
// (mask 0), transparent (mask 1 over black) and inverting (mask 1 over white).
CursorDrawing MonochromeQuarters(int width, int height) {
  CursorDrawing drawing;
  drawing.width = width;
  drawing.height = height;
  drawing.hotspotX = 3;
  drawing.hotspotY = 5;
  drawing.colour = [width](int x, int) { return x < width / 2 ? 0x000000u : 0xFFFFFFu; };
  drawing.mask = [height](int, int y) { return y >= height / 2; };
  return drawing;
}

TEST(CursorFile, MonochromeImageGivesOpaqueTransparentAndInvertingPixelsTopRowFirst) {
  for (const int width : {32, 20}) {  // 20 pixels: rows padded to 4 bytes
    SCOPED_TRACE(width);
    const CursorImage image = ReadCursorFile(CursorFileBuilder::Build(MonochromeQuarters(width, 32)));
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, 32);
    EXPECT_EQ(image.hotspotX, 3);
    EXPECT_EQ(image.hotspotY, 5);
    ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(width * 32));
    EXPECT_EQ(PixelAt(image, 0, 0), kOpaqueBlack);
    EXPECT_EQ(PixelAt(image, width - 1, 15), kOpaqueWhite);
    EXPECT_EQ(PixelAt(image, 0, 16), kTransparent);
    EXPECT_EQ(PixelAt(image, width - 1, 31), kOpaqueBlack);  // inverting, drawn black
  }
}

TEST(CursorFile, TrueColourImageKeepsItsAlphaOrTakesTheMask) {
  CursorDrawing drawing;
  drawing.bitsPerPixel = 32;
  drawing.hotspotX = 31;
  drawing.hotspotY = 31;
  drawing.colour = [](int x, int y) { return x == 1 && y == 0 ? 0x80123456u : 0xFF00FF00u; };
  drawing.mask = [](int x, int) { return x == 0; };
  CursorImage image = ReadCursorFile(CursorFileBuilder::Build(drawing));
  EXPECT_EQ(image.hotspotX, 31);
  EXPECT_EQ(PixelAt(image, 1, 0), 0x80123456u);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFF00FF00u);  // its own alpha wins over the mask
  EXPECT_EQ(PixelAt(image, 5, 31), 0xFF00FF00u);

  drawing.colour = [](int x, int) { return x < 2 ? 0u : x == 2 ? 0x00FFFFFFu : 0x00123456u; };  // no alpha at all
  drawing.mask = [](int x, int) { return x < 3; };
  image = ReadCursorFile(CursorFileBuilder::Build(drawing));
  EXPECT_EQ(PixelAt(image, 0, 7), kTransparent);
  EXPECT_EQ(PixelAt(image, 2, 7), kOpaqueBlack);  // inverting
  EXPECT_EQ(PixelAt(image, 3, 7), 0xFF123456u);
}

TEST(CursorFile, EveryCutShortFileIsRejected) {
  const std::vector<std::uint8_t> file = CursorFileBuilder::Build(MonochromeQuarters(32, 32));
  for (std::size_t length = 0; length < file.size(); ++length) {
    SCOPED_TRACE(length);
    const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(ErrorNumberOf(cut), ControlError::kInvalidPicture);
  }
}

TEST(CursorFile, MalformedHeadersAndImagesAreRejected) {
  const std::vector<std::uint8_t> good = CursorFileBuilder::Build(MonochromeQuarters(32, 32));
  ASSERT_EQ(ErrorNumberOf(good), 0);
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint8_t value;
  };
  constexpr std::size_t kImage = 22;  // header 6 + one directory entry 16
  const Damage damages[] = {
      {"an icon, not a cursor", 2, 1},
      {"no image", 4, 0},
      {"hotspot x outside the image", 10, 32},
      {"hotspot y outside the image", 12, 40},
      {"image offset beyond the file", 21, 0x10},
      {"PNG image", kImage, 0x89},
      {"no BITMAPINFOHEADER", kImage, 12},
      {"zero width", kImage + 4, 0},
      {"odd double height", kImage + 8, 63},
      {"16 bits per pixel", kImage + 14, 16},
      {"compressed", kImage + 16, 1},
      {"colour table longer than 2 colours", kImage + 32, 3},
      {"pixels naming a colour the 1-colour table lacks", kImage + 32, 1},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::vector<std::uint8_t> file = good;
    file[damage.at] = damage.value;
    EXPECT_EQ(ErrorNumberOf(file), ControlError::kInvalidPicture);
  }
}

}  // namespace
}  // namespace Ui
