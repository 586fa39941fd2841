#include "ui/base/image_info.h"

#include <gtest/gtest.h>

#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"
#include "tests/ui/base/image_test_files.h"

namespace {

namespace gp = Gdiplus::DllExports;

struct LoadedFile {
  explicit LoadedFile(const std::wstring& path) { gp::GdipCreateBitmapFromFile(path.c_str(), &bitmap); }
  ~LoadedFile() {
    if (bitmap) gp::GdipDisposeImage(bitmap);
  }
  Gdiplus::GpBitmap* bitmap = nullptr;
};

BYTE PixelByte(HBITMAP frame, int x, int y, int channel) {
  BITMAP info = {};
  GetObjectW(frame, sizeof(info), &info);
  // GDI+ hands out bottom-up DIBs.
  const BYTE* row = static_cast<const BYTE*>(info.bmBits) +
                    static_cast<size_t>(info.bmHeight - 1 - y) * info.bmWidthBytes;
  return row[x * 4 + channel];
}

TEST(ImageInfoTest, OpaqueArgbPixelsMeanNoAlpha) {
  Gdiplus::GpBitmap* opaque = pexo_test::MakeArgbBitmap(4, 3, [](int, int) { return 0xFF336699; });
  auto image = ui::ImageInfo::LoadFromBitmap(opaque, L"skin\\a.png");
  gp::GdipDisposeImage(opaque);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 4);
  EXPECT_EQ(image->height, 3);
  EXPECT_EQ(image->path, L"skin\\a.png");
  EXPECT_FALSE(image->alpha);
  EXPECT_FALSE(image->cached);
  EXPECT_FALSE(image->dpiScaled);
  ASSERT_EQ(image->GetFrameCount(), 1u);
  EXPECT_TRUE(image->GetFrameDelays().empty());
  EXPECT_EQ(PixelByte(image->GetFrame(0), 0, 0, 0), 0x99);
  EXPECT_EQ(image->GetFrame(1), nullptr);

  Gdiplus::GpBitmap* one_translucent = pexo_test::MakeArgbBitmap(
      4, 3, [](int x, int y) { return (x == 3 && y == 2) ? 0xFE336699 : 0xFF336699; });
  image = ui::ImageInfo::LoadFromBitmap(one_translucent, L"b.png");
  gp::GdipDisposeImage(one_translucent);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->alpha);
}

TEST(ImageInfoTest, PngFileWithTransparencyKeepsPremultipliedPixels) {
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"half.png");
  ASSERT_TRUE(pexo_test::WritePng(path, 2, 2, [](int x, int) { return x == 0 ? 0x80FF0000 : 0xFF00FF00; }));
  LoadedFile file(path);
  ASSERT_NE(file.bitmap, nullptr);
  auto image = ui::ImageInfo::LoadFromBitmap(file.bitmap, path);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->alpha);
  // AlphaBlend wants premultiplied pixels: half-transparent red has red about 128.
  EXPECT_NEAR(PixelByte(image->GetFrame(0), 0, 0, 2), 128, 1);
  EXPECT_EQ(PixelByte(image->GetFrame(0), 0, 0, 3), 0x80);
  EXPECT_EQ(PixelByte(image->GetFrame(0), 1, 1, 1), 0xFF);
}

TEST(ImageInfoTest, AnimatedGifKeepsOneFramePerDelay) {
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"spin.gif");
  ASSERT_TRUE(pexo_test::WriteFileBytes(path, pexo_test::AnimatedGifBytes({0, 4, 7})));
  LoadedFile file(path);
  ASSERT_NE(file.bitmap, nullptr);
  auto image = ui::ImageInfo::LoadFromBitmap(file.bitmap, path);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->GetFrameCount(), 3u);
  ASSERT_EQ(image->GetFrameDelays().size(), 3u);
  EXPECT_EQ(image->GetFrameDelays()[1], 4u);
  EXPECT_EQ(image->GetFrameDelays()[2], 7u);
}

TEST(ImageInfoTest, MultiSizeIconWithoutDelaysLoadsAsStillImage) {
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"app.ico");
  ASSERT_TRUE(pexo_test::WriteFileBytes(path, pexo_test::MultiSizeIcoBytes({16, 32})));
  LoadedFile file(path);
  ASSERT_NE(file.bitmap, nullptr);
  auto image = ui::ImageInfo::LoadFromBitmap(file.bitmap, path);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetFrameCount(), 1u);
  EXPECT_TRUE(image->GetFrameDelays().empty());
  EXPECT_GT(image->width, 0);
}

TEST(ImageInfoTest, UndecodableBitmapGivesNothing) {
  EXPECT_EQ(ui::ImageInfo::LoadFromBitmap(nullptr, L"x"), nullptr);
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"broken.png");
  ASSERT_TRUE(pexo_test::WriteFileBytes(path, "\x89PNG\r\n\x1a\n garbage"));
  LoadedFile file(path);
  EXPECT_EQ(ui::ImageInfo::LoadFromBitmap(file.bitmap, path), nullptr);
}

TEST(ImageInfoTest, PushedFramesAreOwnedAndDeleted) {
  HDC screen = GetDC(nullptr);
  HBITMAP frame = CreateCompatibleBitmap(screen, 2, 2);
  ReleaseDC(nullptr, screen);
  {
    ui::ImageInfo image;
    image.PushFrame(frame);
    EXPECT_EQ(image.GetFrame(0), frame);
  }
  BITMAP info = {};
  EXPECT_EQ(GetObjectW(frame, sizeof(info), &info), 0);  // already deleted
}

}  // namespace
