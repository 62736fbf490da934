#include <gtest/gtest.h>

#include "common/ui/qt/CursorFile.h"
#include "common/ui/qt/ProgramIcon.h"
#include "tools/artwork/HandCursor.h"

// The program's own hand pointer and icon.
namespace Artwork {
namespace {

constexpr std::uint32_t kAlpha = 0xff000000;

TEST(HandCursor, ReadsBackAsA32PixelCursorWithItsHotspotOnTheFingertip) {
  const auto file = HandCursorFile();
  const Ui::CursorImage image = Ui::ReadCursorFile(file);
  ASSERT_EQ(image.width, 32);
  ASSERT_EQ(image.height, 32);
  EXPECT_EQ(image.hotspotX, kHandHotspotX);
  EXPECT_EQ(image.hotspotY, kHandHotspotY);
  const auto pixel = [&image](int x, int y) { return image.pixels[static_cast<size_t>(y) * 32 + x]; };
  EXPECT_EQ(pixel(kHandHotspotX, kHandHotspotY), kAlpha);          // the tip's black outline
  EXPECT_EQ(pixel(5, 3), kAlpha | 0xffffff);                        // white inside the finger
  EXPECT_EQ(pixel(0, 0) & kAlpha, 0u);                              // transparent around the hand
  EXPECT_EQ(pixel(31, 31) & kAlpha, 0u);
  size_t opaque = 0;
  for (const std::uint32_t value : image.pixels) opaque += (value & kAlpha) != 0;
  EXPECT_GT(opaque, 150u);
  EXPECT_LT(opaque, 400u);
}

TEST(ProgramIcon, IsATileWithTransparentCornersAtEverySize) {
  for (const int size : {16, 64, 256}) {
    const QImage icon = Ui::ProgramIconImage(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
    EXPECT_EQ(qAlpha(icon.pixel(size / 2, size - size / 8)), 255) << size;
  }
}

}  // namespace
}  // namespace Artwork
