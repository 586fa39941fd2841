// Image loading through the framework's image cache: archive before disk, DPI
// variants, SVG rasterising and the weak cache entries.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"
#include "tests/ui/base/image_test_files.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/image_cache_key.h"
#include "ui/base/image_info.h"
#include "ui/base/svg_image.h"
#include "ui/base/ui_globals.h"

namespace {

using ui::UiGlobals;

constexpr char kArchivePassword[] = "ArchiveTest123";
constexpr char kHalfRedSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='24'>"
    "<rect width='24' height='24' fill='#ff0000' fill-opacity='0.5'/></svg>";

class DpiScale {
 public:
  explicit DpiScale(int scale) {
    DpiScaler::Instance().SetAdapted(true);
    DpiScaler::Instance().SetScale(scale);
  }
  ~DpiScale() {
    DpiScaler::Instance().SetScale(100);
    DpiScaler::Instance().SetAdapted(false);
  }
};

BYTE PixelByte(HBITMAP frame, int x, int y, int channel) {
  DIBSECTION dib = {};
  GetObjectW(frame, sizeof(dib), &dib);
  const BYTE* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
  const int row = dib.dsBmih.biHeight < 0 ? y : dib.dsBm.bmHeight - 1 - y;
  return bits[row * dib.dsBm.bmWidthBytes + x * 4 + channel];
}

class ImageCacheTest : public ::testing::Test {
 protected:
  void TearDown() override { UiGlobals::CloseSkinZip(); }
  std::wstring Png(const std::wstring& name, int size, DWORD color = 0xFF123456) {
    std::wstring path = dir_.File(name);
    EXPECT_TRUE(pexo_test::WritePng(path, size, size, [=](int, int) { return color; }));
    return path;
  }
  pexo_test::TempDir dir_;
};

TEST(ImageCacheKeyTest, ShorterFirstThenFromTheEnd) {
  ui::ImageCacheKeyLess less;
  EXPECT_TRUE(less(L"zz", L"aaa"));
  EXPECT_FALSE(less(L"aaa", L"zz"));
  EXPECT_TRUE(less(L"ba", L"ab"));   // the last characters decide first: a < b
  EXPECT_FALSE(less(L"ab", L"ba"));
  EXPECT_TRUE(less(L"a\\x.png", L"b\\x.png"));  // differs only in the first character
  EXPECT_FALSE(less(L"b\\x.png", L"a\\x.png"));
  EXPECT_FALSE(less(L"same", L"same"));
  EXPECT_TRUE(less(L"\x0041", L"\xFF41"));  // unsigned 16-bit comparison
}

TEST_F(ImageCacheTest, SharedWhileAliveAndDecodedAgainAfterRelease) {
  const std::wstring path = Png(L"a.png", 5);
  auto first = UiGlobals::GetImage(path);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->cached);
  EXPECT_EQ(first->path, path);
  EXPECT_EQ(first->width, 5);
  EXPECT_EQ(UiGlobals::GetImage(path), first);
  // Another spelling of the same path finds the same entry.
  std::wstring doubled = path;
  doubled.insert(doubled.rfind(L'\\'), L"\\");
  EXPECT_EQ(UiGlobals::GetImage(doubled), first);
  EXPECT_EQ(UiGlobals::FindCachedImage(path), first);

  first.reset();
  EXPECT_EQ(UiGlobals::FindCachedImage(path), nullptr);
  Png(L"a.png", 7);  // decoded again from the file
  auto second = UiGlobals::GetImage(path);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->width, 7);
}

TEST_F(ImageCacheTest, ReleasingAnOldImageKeepsANewerEntry) {
  const std::wstring path = Png(L"b.png", 4);
  auto old_image = UiGlobals::GetImage(path);
  ASSERT_NE(old_image, nullptr);
  auto newer = std::make_shared<ui::ImageInfo>();
  newer->path = path;
  newer->width = 99;
  UiGlobals::AddCachedImage(newer);
  EXPECT_TRUE(newer->cached);
  old_image.reset();  // its releaser must not drop the newer image's entry
  EXPECT_EQ(UiGlobals::FindCachedImage(path), newer);
  EXPECT_EQ(UiGlobals::GetImage(path), newer);
  UiGlobals::RemoveCachedImage(path);
  EXPECT_EQ(UiGlobals::FindCachedImage(path), nullptr);
}

TEST_F(ImageCacheTest, ImageKeysComeOnlyFromTheCache) {
  auto icon = std::make_shared<ui::ImageInfo>();
  icon->path = L"?icon/C:/Tools/app.exe";  // keys may hold forward slashes
  icon->width = 16;
  UiGlobals::AddCachedImage(icon);
  EXPECT_EQ(UiGlobals::GetImage(L"?icon/C:/Tools/app.exe"), icon);
  EXPECT_EQ(UiGlobals::FindCachedImage(L"?icon/C:/Tools/app.exe"), icon);
  EXPECT_EQ(UiGlobals::GetImage(L"?icon/never-registered"), nullptr);

  icon.reset();  // not released through the cache: the entry stays behind, expired
  EXPECT_EQ(UiGlobals::GetImage(L"?icon/C:/Tools/app.exe"), nullptr);
  UiGlobals::RemoveCachedImage(L"?icon/C:/Tools/app.exe");
}

TEST_F(ImageCacheTest, ExpiredPathEntryIsLoadedAgain) {
  const std::wstring path = Png(L"c.png", 6);
  {
    auto stranger = std::make_shared<ui::ImageInfo>();
    stranger->path = path;
    UiGlobals::AddCachedImage(stranger);
  }
  auto image = UiGlobals::GetImage(path);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 6);
}

TEST_F(ImageCacheTest, FailedLoadsAreNotCached) {
  const std::wstring path = dir_.File(L"later.png");
  EXPECT_EQ(UiGlobals::GetImage(path), nullptr);
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"bad.png"), "not an image"));
  EXPECT_EQ(UiGlobals::GetImage(dir_.File(L"bad.png")), nullptr);
  Png(L"later.png", 3);
  EXPECT_NE(UiGlobals::GetImage(path), nullptr);
}

TEST_F(ImageCacheTest, DpiVariantsOnDisk) {
  const std::wstring plain = Png(L"btn.png", 4);
  Png(L"btn@150.png", 6);
  Png(L"solo.png", 4);
  {
    DpiScale dpi(150);
    EXPECT_EQ(UiGlobals::GetScaledImagePath(plain, false), dir_.File(L"btn@150.png"));
    auto image = UiGlobals::GetImage(plain);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 6);
    EXPECT_EQ(image->path, dir_.File(L"btn@150.png"));
    EXPECT_FALSE(image->dpiScaled);
    EXPECT_EQ(UiGlobals::GetScaledImagePath(dir_.File(L"solo.png"), false), dir_.File(L"solo.png"));
    EXPECT_EQ(UiGlobals::GetScaledImagePath(dir_.File(L"x.svg"), false), dir_.File(L"x.svg"));
    EXPECT_EQ(UiGlobals::GetScaledImagePath(dir_.File(L"noext"), false), dir_.File(L"noext"));
  }
  {
    DpiScale dpi(100);
    EXPECT_EQ(UiGlobals::GetScaledImagePath(plain, false), plain);
  }
  EXPECT_EQ(UiGlobals::GetScaledImagePath(plain, false), plain);  // adaptation off
}

TEST_F(ImageCacheTest, ArchiveComesBeforeTheDisk) {
  ASSERT_TRUE(UiGlobals::OpenSkinZip(202, L"SKIN", kArchivePassword));
  auto image = UiGlobals::GetImage(L"arch/btn.png");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->path, L"arch\\btn.png");
  EXPECT_EQ(image->width, 4);
  EXPECT_EQ(PixelByte(image->GetFrame(0), 1, 1, 2), 255);  // red

  auto translucent = UiGlobals::GetImage(L"arch\\only.png");
  ASSERT_NE(translucent, nullptr);
  EXPECT_TRUE(translucent->alpha);

  {
    DpiScale dpi(150);
    EXPECT_EQ(UiGlobals::GetScaledImagePath(L"arch\\btn.png", true), L"arch\\btn@150.png");
    EXPECT_EQ(UiGlobals::GetScaledImagePath(L"arch\\only.png", true), L"arch\\only.png");
    auto variant = UiGlobals::GetImage(L"arch\\btn.png");
    ASSERT_NE(variant, nullptr);
    EXPECT_EQ(variant->width, 6);
    auto svg = UiGlobals::GetImage(L"arch\\star.svg");
    ASSERT_NE(svg, nullptr);
    EXPECT_EQ(svg->width, 36);
    EXPECT_TRUE(svg->dpiScaled);
  }
  EXPECT_EQ(UiGlobals::GetImage(L"arch\\missing.png"), nullptr);
  // Files on disk are still found when the archive lacks them.
  EXPECT_NE(UiGlobals::GetImage(Png(L"disk.png", 2)), nullptr);
}

TEST(SvgImageTest, RasterisesAtScaleWithPremultipliedAlpha) {
  std::string text = kHalfRedSvg;
  DpiScale dpi(150);
  auto image = ui::SvgToImageInfo(ui::ParseSvgFromMemory(text.data()), L"half.svg");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 36);
  EXPECT_EQ(image->height, 36);
  EXPECT_TRUE(image->alpha);
  EXPECT_TRUE(image->dpiScaled);
  EXPECT_EQ(image->path, L"half.svg");
  ASSERT_EQ(image->GetFrameCount(), 1u);
  EXPECT_NEAR(PixelByte(image->GetFrame(0), 18, 18, 3), 128, 1);  // alpha
  EXPECT_NEAR(PixelByte(image->GetFrame(0), 18, 18, 2), 128, 1);  // red, premultiplied
  EXPECT_EQ(PixelByte(image->GetFrame(0), 18, 18, 0), 0);        // blue

  EXPECT_EQ(ui::SvgToImageInfo(nullptr, L"x.svg"), nullptr);
  std::string empty = "<svg xmlns='http://www.w3.org/2000/svg'></svg>";
  EXPECT_EQ(ui::SvgToImageInfo(ui::ParseSvgFromMemory(empty.data()), L"e.svg"), nullptr);
}

TEST(SvgImageTest, RenderToBitmapNeedsASquare) {
  std::string square = kHalfRedSvg;
  NSVGimage* svg = ui::ParseSvgFromMemory(square.data());
  ASSERT_NE(svg, nullptr);
  HBITMAP bitmap = ui::RenderSvgToBitmap(svg, 48);
  ASSERT_NE(bitmap, nullptr);
  BITMAP info = {};
  GetObjectW(bitmap, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 48);
  EXPECT_NEAR(PixelByte(bitmap, 40, 40, 3), 128, 1);
  DeleteObject(bitmap);
  ui::DeleteSvgImage(svg);

  std::string wide = "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='16'/>";
  svg = ui::ParseSvgFromMemory(wide.data());
  EXPECT_EQ(ui::RenderSvgToBitmap(svg, 24), nullptr);
  ui::DeleteSvgImage(svg);
  EXPECT_EQ(ui::RenderSvgToBitmap(nullptr, 24), nullptr);
  ui::DeleteSvgImage(nullptr);
}

TEST(SvgImageTest, SvgPathsAndFiles) {
  EXPECT_TRUE(ui::IsSvgPath(L"a.svg"));
  EXPECT_TRUE(ui::IsSvgPath(L"dir\\ICON.SVG"));
  EXPECT_FALSE(ui::IsSvgPath(L"svg"));
  EXPECT_FALSE(ui::IsSvgPath(L"a.svgz"));
  EXPECT_FALSE(ui::IsSvgPath(L"nodot"));

  pexo_test::TempDir dir;
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir.File(L"f.svg"), kHalfRedSvg));
  NSVGimage* svg = ui::ParseSvgFromFile(dir.File(L"f.svg"));
  ASSERT_NE(svg, nullptr);
  ui::DeleteSvgImage(svg);
  EXPECT_EQ(ui::ParseSvgFromFile(dir.File(L"missing.svg")), nullptr);

  // A folder name outside the ANSI code page.
  const std::wstring folder = dir.File(L"图标");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(pexo_test::WriteFileBytes(folder + L"\\星.svg", kHalfRedSvg));
  auto image = UiGlobals::GetImage(folder + L"\\星.svg");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 24);
}

}  // namespace

namespace {
int g_provided = 0;
std::shared_ptr<ui::ImageInfo> g_providedImage;
std::shared_ptr<ui::ImageInfo> ProvideForTest(const std::wstring& key) {
  ++g_provided;
  if (key != L"?late:one") return nullptr;
  g_providedImage = std::make_shared<ui::ImageInfo>();
  g_providedImage->path = key;
  return UiGlobals::AddCachedImage(g_providedImage);
}
}  // namespace

TEST_F(ImageCacheTest, ImageKeyProviderIsAskedOnlyForImageKeysWithoutALiveImage) {
  UiGlobals::SetImageKeyProvider(&ProvideForTest);
  g_provided = 0;
  EXPECT_EQ(UiGlobals::FindCachedImage(L"?late:unknown"), nullptr);
  EXPECT_EQ(g_provided, 1);
  auto late = UiGlobals::GetImage(L"?late:one");
  ASSERT_TRUE(late);
  EXPECT_EQ(g_provided, 2);
  EXPECT_EQ(UiGlobals::FindCachedImage(L"?late:one"), late) << "registered once provided";
  EXPECT_EQ(g_provided, 2);
  EXPECT_EQ(UiGlobals::FindCachedImage(L"C:\\not\\a\\key.png"), nullptr);
  EXPECT_EQ(g_provided, 2) << "file paths are never provided";
  UiGlobals::SetImageKeyProvider(nullptr);
  late.reset();
  g_providedImage.reset();
  UiGlobals::RemoveCachedImage(L"?late:one");
}
