// A whole skinned window from the embedded skin: tab pages, a tile box of cards
// and a scrolling list, laid out, painted on screen and saved as a picture.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"
#include "tests/ui/core/stock_controls_registered.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"
#include "ui/core/scrollable_box.h"
#include "ui/core/tab_box.h"
#include "ui/core/tile_box.h"
#include "ui/core/v_layout.h"
#include "ui/core/window_impl_base.h"

namespace {

using window_test::PumpFor;
using window_test::PumpUntil;

class ShowcaseWindow : public ui::WindowImplBase {
 public:
  explicit ShowcaseWindow(bool* deleted) : deleted_(deleted) {}
  ~ShowcaseWindow() override { *deleted_ = true; }

  std::wstring GetWindowClassName() const override { return L"PexoShowcaseWindow"; }
  std::wstring GetSkinFolder() override { return L"test"; }
  std::wstring GetSkinFile() override { return L"showcase.xml"; }
  // The skin's scrolling list is a plain scrollable box stacking its rows.
  ui::Control* CreateControl(const std::wstring& className) override {
    return className == L"ScrollList" ? new ui::ScrollableBox(new ui::VLayout) : nullptr;
  }

 private:
  bool* deleted_;
};

class SkinShowcaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", nullptr, false, L"gray", L"lang\\zh_CN");
  }
  static void TearDownTestSuite() { ui::UiGlobals::Shutdown(); }

  void TearDown() override {
    if (window_ && !deleted_ && IsWindow(window_->GetHWND())) DestroyWindow(window_->GetHWND());
  }

  HWND Open() {
    window_ = new ShowcaseWindow(&deleted_);
    HWND hwnd = window_->Create(nullptr, L"Pexo", WS_POPUP, 0, false, RECT{60, 60, 700, 480});
    if (!hwnd) return nullptr;
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    window_test::PaintNow(hwnd);
    // Let the fades of the first paint finish.
    PumpFor(400);
    window_test::PaintNow(hwnd);
    return hwnd;
  }

  template <typename T>
  T* Find(const wchar_t* name) {
    return dynamic_cast<T*>(window_->FindControlByName(name));
  }

  ShowcaseWindow* window_ = nullptr;
  bool deleted_ = false;
};

TEST_F(SkinShowcaseTest, TheSkinBuildsLaysOutPaintsAndIsSaved) {
  HWND hwnd = Open();
  ASSERT_NE(hwnd, nullptr);

  RECT window = {};
  GetWindowRect(hwnd, &window);
  EXPECT_EQ(window.right - window.left, 640);
  EXPECT_EQ(window.bottom - window.top, 420);

  // The tab box shows its first page.
  auto* pages = Find<ui::TabBox>(L"pages");
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->GetCurSel(), 0);
  EXPECT_TRUE(Find<ui::Control>(L"cards")->IsVisible());
  EXPECT_FALSE(Find<ui::Control>(L"notes")->IsVisible());

  // Cards stand in rows of equal cells.
  auto* cards = Find<ui::TileBox>(L"cards");
  ASSERT_NE(cards, nullptr);
  ASSERT_EQ(cards->GetCount(), 7);
  const RECT first = cards->GetItemAt(0)->GetPos();
  const RECT second = cards->GetItemAt(1)->GetPos();
  EXPECT_EQ(second.top, first.top);
  EXPECT_GE(second.left - first.left, 124);  // cells share the box's width
  const RECT last = cards->GetItemAt(6)->GetPos();
  EXPECT_GT(last.top, first.top);
  EXPECT_EQ(first.right - first.left, 116);

  // The list holds more rows than it can show, so it scrolls.
  auto* list = Find<ui::ScrollableBox>(L"list");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetCount(), 24);
  for (int i = 0; i < list->GetCount(); ++i) {
    auto* row = dynamic_cast<ui::LabelTemplate<ui::Control>*>(list->GetItemAt(static_cast<size_t>(i)));
    ASSERT_NE(row, nullptr);
    row->SetText(L"列表项 " + std::to_wstring(i + 1));
  }
  window_test::PaintNow(hwnd);
  EXPECT_GT(list->GetScrollRange().cy, 0);
  list->SetScrollPosY(45);
  window_test::PaintNow(hwnd);
  EXPECT_EQ(list->GetScrollPos().cy, 45);

  // What was painted: the caption's colour, a card's colour band.
  ui::IRenderContext* surface = window_->GetRenderContext();
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(window_test::PixelAt(surface, 300, 5) & 0xFFFFFFu, 0x2D3E50u);
  const RECT band = cards->GetItemAt(0)->GetPos();
  EXPECT_EQ(window_test::PixelAt(surface, (band.left + band.right) / 2, band.top + 20) & 0xFFFFFFu, 0x3B82F6u);

  const std::wstring picture = pexo_test::ExeFolder() + L"\\skin_showcase.png";
  ASSERT_TRUE(window_test::SaveWindowPng(*window_, picture));
  EXPECT_GT(pexo_test::ReadFileBytes(picture).size(), 1000u);
}

TEST_F(SkinShowcaseTest, TheTabOptionsSwitchPagesThroughTheSkinsEvents) {
  HWND hwnd = Open();
  ASSERT_NE(hwnd, nullptr);
  auto* pages = Find<ui::TabBox>(L"pages");
  ASSERT_NE(pages, nullptr);
  window_->SendControlEvent(Find<ui::Control>(L"tab_notes"), ui::buttondown);
  EXPECT_EQ(pages->GetCurSel(), 1);
  EXPECT_TRUE(Find<ui::Control>(L"notes")->IsVisible());
  EXPECT_FALSE(Find<ui::Control>(L"cards")->IsVisible());
  window_->SendControlEvent(Find<ui::Control>(L"tab_cards"), ui::buttondown);
  EXPECT_EQ(pages->GetCurSel(), 0);

  // The caption's close button closes the window, which deletes itself.
  window_->SendControlEvent(Find<ui::Control>(L"closebtn"), ui::click);
  EXPECT_TRUE(PumpUntil([this] { return deleted_; }));
}

}  // namespace
