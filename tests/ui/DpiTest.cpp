#include "ui/Dpi.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/app/AppTestSupport.h"

namespace {

TEST(DpiScaleTest, LengthsFollowTheDpiAndImagesGrowByWholeFactors) {
  struct Case {
    UINT dpi;
    int length22;
    int imageSize;
  };
  for (const Case& c : std::vector<Case>{{96, 22, 16}, {120, 28, 16}, {144, 33, 16}, {192, 44, 32}, {288, 66, 48}}) {
    const DpiScale scale(c.dpi);
    EXPECT_EQ(scale(22), c.length22) << c.dpi;
    EXPECT_EQ(scale.ImageSize(), c.imageSize) << c.dpi;
  }
  EXPECT_EQ(DpiScale(0).Dpi(), kBaseDpi) << "a window that knows no DPI counts as 96";
}

// The pixels of image index drawn on white, size x size, top-down rows.
std::vector<COLORREF> Drawn(HIMAGELIST images, int index, int size) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(images, index, dc, 0, 0, ILD_TRANSPARENT);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST(DpiScaleTest, AStripGrownTwiceDrawsEveryPixelAsATwoByTwoBlockWithItsTransparency) {
  InitControlsForTests();
  HIMAGELIST small = LoadImageStrip("Icons", 16, 1);
  HIMAGELIST large = LoadImageStrip("Icons", 32, 2);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(large), ImageList_GetImageCount(small));
  EXPECT_EQ(ImageList_GetImageCount(large), 21);
  for (int index : {0, 6, 20}) {
    const std::vector<COLORREF> one = Drawn(small, index, 16);
    const std::vector<COLORREF> two = Drawn(large, index, 32);
    int differing = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) differing += two[y * 32 + x] != one[(y / 2) * 16 + x / 2];
    EXPECT_EQ(differing, 0) << "image " << index;
  }
  EXPECT_EQ(LoadImageStrip("NoSuchStrip", 16, 1), nullptr);
  ImageList_Destroy(small);
  ImageList_Destroy(large);
}

}  // namespace
