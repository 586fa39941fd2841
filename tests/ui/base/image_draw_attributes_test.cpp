#include "ui/base/image_draw_attributes.h"

#include <gtest/gtest.h>

#include "ui/base/dpi_scaler.h"
#include "ui/base/image_info.h"
#include "ui/base/skin_image.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class DpiAt150 {
 public:
  DpiAt150() {
    DpiScaler::Instance().SetAdapted(true);
    DpiScaler::Instance().SetScale(150);
  }
  ~DpiAt150() {
    DpiScaler::Instance().SetScale(100);
    DpiScaler::Instance().SetAdapted(false);
  }
};

TEST(ImageDrawAttributesTest, BareFileNameKeepsDefaults) {
  ui::SkinImage slot;
  slot.SetImageString(L"bk.png");
  const auto& a = slot.attributes;
  EXPECT_EQ(a.wholeText, L"bk.png");
  EXPECT_EQ(a.file, L"bk.png");
  EXPECT_TRUE(SameRect(a.dest, RECT{-1, -1, -1, -1}));
  EXPECT_TRUE(SameRect(a.source, RECT{-1, -1, -1, -1}));
  EXPECT_TRUE(SameRect(a.corner, RECT{0, 0, 0, 0}));
  EXPECT_EQ(a.fade, 255);
  EXPECT_FALSE(a.xtiled);
  EXPECT_TRUE(a.fullxtiled);
  EXPECT_FALSE(a.ytiled);
  EXPECT_TRUE(a.fullytiled);
  EXPECT_EQ(a.tiledMargin, 0);
  EXPECT_EQ(a.playCount, -1);
}

TEST(ImageDrawAttributesTest, PairsSetTheirFields) {
  ui::SkinImage slot;
  slot.SetImageString(
      L"file='a.png' fade='128' source='1,2,3,4' corner='4,5,6,7' xtiled='true' "
      L"fullxtiled='false' ytiled='true' fullytiled='no' tiledmargin='-3' playcount='2'");
  const auto& a = slot.attributes;
  EXPECT_EQ(a.file, L"a.png");
  EXPECT_EQ(a.fade, 128);
  EXPECT_TRUE(SameRect(a.source, RECT{1, 2, 3, 4}));
  EXPECT_TRUE(SameRect(a.corner, RECT{4, 5, 6, 7}));
  EXPECT_TRUE(a.xtiled);
  EXPECT_FALSE(a.fullxtiled);
  EXPECT_TRUE(a.ytiled);
  EXPECT_FALSE(a.fullytiled);
  EXPECT_EQ(a.tiledMargin, -3);
  EXPECT_EQ(a.playCount, 2);

  slot.SetImageString(L"res='b.png' fade='300' xtiled='True'");
  EXPECT_EQ(slot.attributes.file, L"b.png");
  EXPECT_EQ(slot.attributes.fade, 44);  // 300 kept in 8 bits
  EXPECT_FALSE(slot.attributes.xtiled);
}

TEST(ImageDrawAttributesTest, SeparatorsDecideWhereParsingEnds) {
  ui::ImageDrawAttributes a;
  a.Parse(L"file='a.png'\tfade='10'");
  EXPECT_EQ(a.file, L"a.png");
  EXPECT_EQ(a.fade, 255);

  a.Reset();
  a.Parse(L"file='a.png'  fade='10'");
  EXPECT_EQ(a.fade, 10);

  a.Reset();
  a.Parse(L"file = 'a.png' fade='10'");  // blanks around '=' are allowed
  EXPECT_EQ(a.file, L"a.png");
  EXPECT_EQ(a.fade, 10);

  a.Reset();
  a.Parse(L"fade='10'fade='20'");  // no separator after a value
  EXPECT_EQ(a.fade, 10);

  a.Reset();
  a.Parse(L"fade=\"10\"");
  EXPECT_EQ(a.fade, 255);

  a.Reset();
  a.Parse(L"fade='10");  // unterminated value
  EXPECT_EQ(a.fade, 255);

  a.Reset();
  a.Parse(L"fade='' unknown='1' corner='1,2'");  // empty value, unknown name, short list
  EXPECT_EQ(a.fade, 255);
  EXPECT_TRUE(SameRect(a.corner, RECT{1, 2, 0, 0}));
}

TEST(ImageDrawAttributesTest, DestIsScaledUnlessDestscaleSaysOtherwiseFirst) {
  DpiAt150 dpi;
  ui::ImageDrawAttributes a;
  a.Parse(L"dest='1,2,3,4'");
  EXPECT_TRUE(SameRect(a.dest, RECT{2, 3, 5, 6}));
  a.Reset();
  a.Parse(L"destscale='false' dest='1,2,3,4'");
  EXPECT_TRUE(SameRect(a.dest, RECT{1, 2, 3, 4}));
  a.Reset();
  a.Parse(L"dest='1,2,3,4' destscale='false'");
  EXPECT_TRUE(SameRect(a.dest, RECT{2, 3, 5, 6}));
  a.Reset();
  a.Parse(L"corner='2,2,2,2' source='2,2,4,4'");  // never scaled here
  EXPECT_TRUE(SameRect(a.corner, RECT{2, 2, 2, 2}));
  EXPECT_TRUE(SameRect(a.source, RECT{2, 2, 4, 4}));
}

TEST(SkinImageTest, FrameDelaysFollowTheirFloors) {
  ui::SkinImage slot;
  EXPECT_EQ(slot.GetFrameDelay(), 0);  // no image
  auto image = std::make_shared<ui::ImageInfo>();
  for (int i = 0; i < 5; ++i) image->PushFrame(nullptr);
  image->SetFrameDelays({0, 2, 4, 7, 3});
  slot.image = image;
  const int expected[] = {100, 100, 50, 70, 50};
  for (int i = 0; i < 5; ++i) {
    slot.currentFrame = i;
    EXPECT_EQ(slot.GetFrameDelay(), expected[i]) << i;
  }
  slot.currentFrame = 5;
  EXPECT_EQ(slot.GetFrameDelay(), 0);

  slot.playing = true;
  slot.loopsPlayed = 3;
  slot.ReleaseImage();
  EXPECT_EQ(slot.image, nullptr);
  EXPECT_EQ(slot.currentFrame, 0);
  EXPECT_FALSE(slot.playing);
  EXPECT_EQ(slot.loopsPlayed, 0);
}

}  // namespace
