// The icons of a tag's cards are looked up when each card is first painted: a big
// tag decodes only the stored icons of the cards on screen, and the fallbacks and
// extraction of missing icons look as they always did.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/card_item.h"
#include "app/controls/list_item_id.h"
#include "app/main_window/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/data/icon_test_util.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/skin_image.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"

namespace {

using window_test::PaintNow;
using window_test::PumpFor;

constexpr int kCards = 150;

std::wstring DbFolder() { return pexo_test::ExeFolder() + L"\\db\\"; }

class CardIconsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(launcher_test::StartLauncherSkin()); }
  static void TearDownTestSuite() { launcher_test::StopLauncherSkin(); }

  void SetUp() override {
    launcher_test::RemoveStoreFiles();
    Settings& settings = launcher_test::QuietWindowSettings();
    settings.nPosX = 40;
    settings.nPosY = 30;
  }

  void TearDown() override {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
  }

  // The first tag: kCards programs with stored icons, the last three special: a
  // stored row that does not decode (its icon source is missing too), a web address
  // without an icon file, and a link without a row whose icon is extracted from a
  // picture. A second tag holds one link.
  void Prepare() {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups[0]->tags[0];
    for (int i = 0; i < kCards; ++i) {
      auto link = std::make_shared<Link>();
      link->NAME = L"卡片" + std::to_wstring(i);
      link->PATH = L"C:\\windows\\notepad.exe";
      link->TYPE = kLinkProgram;
      if (i == kCards - 3) link->ICON = DbFolder() + L"missing_icon.png";
      if (i == kCards - 2) {
        link->TYPE = kLinkWebAddress;
        link->PATH = L"http://example.invalid/";
        link->ICON = L"#url";
      }
      if (i == kCards - 1) link->ICON = pictureSource_;
      ASSERT_TRUE(store.AddLink(tag, link));
    }
    auto other = std::make_shared<Group>();
    other->NAME = L"其他";
    ASSERT_TRUE(store.AddTag(store.topGroups[0], other));
    auto single = std::make_shared<Link>();
    single->NAME = L"单个";
    single->PATH = L"C:\\windows\\notepad.exe";
    ASSERT_TRUE(store.AddLink(other, single));
    for (const auto& link : tag->links) ids_.push_back(link->ID);
    store.Close();

    IconCache icons(DbFolder() + L"icon.db");
    ASSERT_TRUE(icons.Open());
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    for (int i = 0; i < kCards - 1; ++i) ASSERT_TRUE(icons.AddIconToCache(Key(i), icon, icon, icon));
    icons.Close();
    icon_test::Db db(DbFolder() + L"icon.db");
    ASSERT_TRUE(db.Exec("update Cache set Icon32=x'00010203' where ID=" + Id(kCards - 3)));
  }

  void Open() {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    PaintNow(hwnd_);
  }

  std::wstring Key(int index) const { return L"lnk" + std::to_wstring(ids_[static_cast<size_t>(index)]); }
  std::string Id(int index) const { return std::to_string(ids_[static_cast<size_t>(index)]); }
  // The card at the index, made first when it has not scrolled into view yet.
  CardItem* Card(int index) {
    if (index >= window_->LinkBox()->GetCount()) window_->LinkBox()->MakeItemsThrough(index);
    return dynamic_cast<CardItem*>(window_->LinkBox()->GetItemAt(static_cast<size_t>(index)));
  }
  // The image text of the card's icon control.
  std::wstring IconOf(int index) {
    auto* icon = Card(index) ? Card(index)->Child(L"item_icon") : nullptr;
    return icon ? icon->GetBkImage().attributes.file : L"(none)";
  }
  // The card's name label, built first when the card never was on screen.
  ui::LabelTemplate<ui::Control>* TextOf(int index) {
    return Card(index) ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(Card(index)->Child(L"item_text")) : nullptr;
  }
  std::wstring NameOf(int index) { return TextOf(index) ? TextOf(index)->GetText() : L"(none)"; }
  int BuiltCards() {
    int built = 0;
    for (int i = 0; i < window_->LinkBox()->GetCount(); ++i) built += Card(i)->IsInsideBuilt() ? 1 : 0;
    return built;
  }
  int PaintedCards() {
    int painted = 0;
    for (int i = 0; i < window_->LinkBox()->GetCount(); ++i) painted += Card(i)->HasFirstPaintAction() ? 0 : 1;
    return painted;
  }

  std::wstring pictureSource_;
  std::vector<int32_t> ids_;
  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(CardIconsTest, OnlyPaintedCardsLookTheirIconsUpAndFallbacksStayAsBefore) {
  // A picture file as the icon source of the last card, which has no stored row.
  pictureSource_ = DbFolder() + L"card_picture.png";
  ASSERT_TRUE(pexo_test::WriteFileBytes(pictureSource_, icon_test::SolidPng(48, 0xFF00A000)));
  Prepare();
  Open();
  IconCache& cache = GetIconCache();
  ASSERT_EQ(window_->LinkBox()->GetTotalItems(), kCards);
  // Only the cards in view are made.
  EXPECT_LT(window_->LinkBox()->GetCount(), kCards / 3);

  // The first screen of cards is painted and shows the stored icons; the rest
  // were not looked up, so their rows are still undecoded.
  const int painted = PaintedCards();
  EXPECT_GT(painted, 3);
  EXPECT_LT(painted, kCards / 3);
  EXPECT_EQ(IconOf(0), IconCache::MakeImageKey(Key(0), IconCache::kSize32));
  EXPECT_EQ(IconOf(painted - 1), IconCache::MakeImageKey(Key(painted - 1), IconCache::kSize32));
  EXPECT_TRUE(Card(painted)->HasFirstPaintAction());
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kCards - 1 - painted));
  const std::wstring untouched = IconOf(kCards - 5);
  EXPECT_NE(untouched, IconCache::MakeImageKey(Key(kCards - 5), IconCache::kSize32));

  // Scrolled to the end, the last cards are painted and looked up: the broken row
  // falls back to the error icon, the web address to its own, and the missing row
  // is extracted from its picture and stored.
  window_->LinkBox()->EndDown(true, false);
  PaintNow(hwnd_);
  PaintNow(hwnd_);
  EXPECT_FALSE(Card(kCards - 1)->HasFirstPaintAction());
  EXPECT_EQ(IconOf(kCards - 3), L"?n:#err");
  EXPECT_EQ(IconOf(kCards - 2), L"?n:#url");
  EXPECT_EQ(IconOf(kCards - 1), IconCache::MakeImageKey(Key(kCards - 1), IconCache::kSize32));
  EXPECT_TRUE(IconCache::IsCached(IconOf(kCards - 1)));
  EXPECT_LT(cache.undecodedCount(), static_cast<size_t>(kCards - 1 - painted));
  EXPECT_GT(cache.undecodedCount(), 0u) << "cards scrolled past are never looked up";

  // Leaving the tag and coming back decodes nothing again: decoded icons stay.
  const size_t undecoded = cache.undecodedCount();
  window_->TagList()->SelectItem(1, false, true);
  PaintNow(hwnd_);
  window_->TagList()->SelectItem(0, false, true);
  PaintNow(hwnd_);
  EXPECT_EQ(cache.undecodedCount(), undecoded);
  EXPECT_EQ(IconOf(0), IconCache::MakeImageKey(Key(0), IconCache::kSize32));
  EXPECT_TRUE(IconCache::IsCached(IconOf(0)));

  // The extracted icon was stored for the next start; the broken row is left as it was.
  icon_test::Db db(DbFolder() + L"icon.db");
  EXPECT_EQ(db.Number("select count(*) from Cache where Invalid=0 and ID=" + Id(kCards - 1)), 1);
  EXPECT_EQ(db.Blob("select Icon32 from Cache where ID=" + Id(kCards - 3)), std::string("\x00\x01\x02\x03", 4));
}

// Every link has its card (its name "lnk<ID>", id, index, events), made when it
// scrolls into view or is reached, and the icon and name inside are built only
// for the cards shown; whatever reaches into a card that was never shown gets
// its inside built then, with the right name and colour.
TEST_F(CardIconsTest, CardsBuildTheirInsideWhenShownAndEveryCardBehavesTheSame) {
  pictureSource_ = DbFolder() + L"card_picture.png";
  ASSERT_TRUE(pexo_test::WriteFileBytes(pictureSource_, icon_test::SolidPng(48, 0xFF00A000)));
  Prepare();
  {
    // One card far down the tag has a colour of its own.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto link = store.FindLink(ids_[kCards - 10]);
    ASSERT_TRUE(link);
    link->CustomColor = L"#FFC00000";
    ASSERT_TRUE(store.SaveLink(link));
    store.Close();
  }
  Open();
  ASSERT_EQ(window_->LinkBox()->GetTotalItems(), kCards);
  const int built = BuiltCards();
  EXPECT_GT(built, 3);
  EXPECT_LT(built, kCards / 3);
  EXPECT_TRUE(Card(0)->IsInsideBuilt());
  EXPECT_FALSE(Card(kCards - 10)->IsInsideBuilt());
  EXPECT_EQ(NameOf(0), L"卡片0");
  // A card reached far down carries its link.
  CardItem* farCard = Card(kCards - 10);
  EXPECT_EQ(window_->FindControlByName(Key(kCards - 10)), farCard);

  // Asked for, a card that was never shown builds its inside with its own name
  // and colour, and nothing else.
  EXPECT_EQ(NameOf(kCards - 10), L"卡片" + std::to_wstring(kCards - 10));
  EXPECT_EQ(TextOf(kCards - 10)->GetTextColor(), L"#FFC00000");
  EXPECT_EQ(BuiltCards(), built + 1);

  // Scrolled to the end, the cards there are built and show their names.
  window_->LinkBox()->EndDown(true, false);
  PaintNow(hwnd_);
  PaintNow(hwnd_);
  EXPECT_TRUE(Card(kCards - 4)->IsInsideBuilt());
  EXPECT_EQ(NameOf(kCards - 4), L"卡片" + std::to_wstring(kCards - 4));
  EXPECT_FALSE(Card(kCards / 2)->IsInsideBuilt()) << "cards scrolled past are never built";
  const RECT last = Card(kCards - 1)->GetPos();
  const RECT lastText = TextOf(kCards - 1)->GetPos();
  EXPECT_TRUE(lastText.left >= last.left && lastText.right <= last.right && lastText.bottom <= last.bottom &&
              lastText.bottom > lastText.top)
      << "the inside is laid out in its card";

  // A card in the middle, never shown, is dragged onto the first: the tag is
  // rebuilt in the new order.
  window_->LinkBox()->SendEvent(ui::reorder, static_cast<WPARAM>(kCards / 2), 0);
  PaintNow(hwnd_);
  ASSERT_EQ(window_->LinkBox()->GetTotalItems(), kCards);
  EXPECT_EQ(NameOf(0), L"卡片" + std::to_wstring(kCards / 2));
  EXPECT_EQ(NameOf(1), L"卡片0");
  EXPECT_EQ(NameOf(kCards / 2), L"卡片" + std::to_wstring(kCards / 2 - 1));

  // A card never shown is deleted from its menu command.
  GetSettings().bDelConfirm = false;
  const int32_t doomed = GetListItemId(Card(kCards - 20));
  EXPECT_TRUE(window_->RunCardLinkCommand(L"del_link", window_->CurrentTag()->ID, doomed, POINT{0, 0}));
  PaintNow(hwnd_);
  ASSERT_EQ(window_->LinkBox()->GetTotalItems(), kCards - 1);
  EXPECT_FALSE(GetLinkStore().FindLink(doomed));
  EXPECT_EQ(NameOf(kCards - 20), L"卡片" + std::to_wstring(kCards - 19));

  // Switching tags back and forth many times leaves each tag's cards right, and
  // the window finds each card by its name.
  for (int round = 0; round < 12; ++round) {
    window_->TagList()->SelectItem(1, false, true);
    PaintNow(hwnd_);
    ASSERT_EQ(window_->LinkBox()->GetTotalItems(), 1);
    EXPECT_EQ(NameOf(0), L"单个");
    window_->TagList()->SelectItem(0, false, true);
    PaintNow(hwnd_);
    PumpFor(5);  // the old cards are deleted through the window's queue
    ASSERT_EQ(window_->LinkBox()->GetTotalItems(), kCards - 1);
  }
  EXPECT_TRUE(Card(0)->IsInsideBuilt());
  EXPECT_EQ(NameOf(kCards - 2), L"卡片" + std::to_wstring(kCards - 1));
  CardItem* lastCard = Card(kCards - 2);
  EXPECT_EQ(window_->FindControlByName(Key(kCards - 1)), lastCard);
  EXPECT_LT(BuiltCards(), kCards / 3);

  // As a list, the names measure their own height once the inside is built.
  GetLinkStore().topGroups[0]->tags[0]->LAYOUT = kLayoutList;
  window_->TagList()->SelectItem(1, false, true);
  window_->TagList()->SelectItem(0, false, true);
  PaintNow(hwnd_);
  ASSERT_TRUE(Card(1)->IsInsideBuilt());
  const RECT row = Card(1)->GetPos();
  const RECT rowText = TextOf(1)->GetPos();
  EXPECT_EQ(NameOf(1), L"卡片0");
  EXPECT_GT(rowText.bottom - rowText.top, 8) << "a name laid out with no height is not shown";
  EXPECT_TRUE(rowText.top >= row.top && rowText.bottom <= row.bottom);
}

// A change repaints only the parts of the window it invalidated (a tag switch:
// the two tags and the cards, not the tag column between them), and what those
// parts show afterwards is exactly what a repaint of the whole window shows, for
// a tag switch, a hovered card, a card's colour changed, and scrolled cards.
TEST_F(CardIconsTest, AChangeRepaintsOnlyItsPartsAndLooksAsAWholeRepaint) {
  Prepare();
  Open();
  PaintNow(hwnd_);
  ui::IRenderContext* context = window_->GetRenderContext();
  ASSERT_NE(context, nullptr);
  const int width = context->GetWidth();
  auto pixels = [&] {
    const auto* bits = reinterpret_cast<const DWORD*>(context->GetBits());
    return std::vector<DWORD>(bits, bits + static_cast<size_t>(width) * context->GetHeight());
  };
  // A pixel of the tag column below the two tags, which none of the changes touch.
  const RECT tags = window_->TagList()->GetPos();
  const size_t untouched = static_cast<size_t>(tags.bottom - 10) * width + (tags.left + tags.right) / 2;
  constexpr DWORD kMark = 0xFF12345A;
  auto expectSameAsWholeRepaint = [&](const char* change, const std::function<void()>& act) {
    reinterpret_cast<DWORD*>(context->GetBits())[untouched] = kMark;
    act();
    // Hovering fades the card's colour in over a quarter of a second, each step a
    // repaint of the card alone.
    PumpFor(500);
    UpdateWindow(hwnd_);
    window_test::PumpMessages();
    const std::vector<DWORD> partly = pixels();
    EXPECT_EQ(partly[untouched], kMark) << change << ": a part nothing invalidated was painted";
    PaintNow(hwnd_);
    const std::vector<DWORD> whole = pixels();
    ASSERT_EQ(partly.size(), whole.size());
    EXPECT_NE(whole[untouched], kMark);
    int differing = 0;
    RECT where = {width, 100000, -1, -1};
    for (size_t i = 0; i < whole.size(); ++i) {
      if (i == untouched || partly[i] == whole[i]) continue;
      ++differing;
      const LONG x = static_cast<LONG>(i % width);
      const LONG y = static_cast<LONG>(i / width);
      where = {std::min(where.left, x), std::min(where.top, y), std::max(where.right, x + 1), std::max(where.bottom, y + 1)};
    }
    EXPECT_EQ(differing, 0) << change << ": differing pixels within " << where.left << "," << where.top << " - "
                            << where.right << "," << where.bottom;
  };

  expectSameAsWholeRepaint("switch to the small tag", [&] { window_->TagList()->SelectItem(1, false, true); });
  expectSameAsWholeRepaint("switch back", [&] { window_->TagList()->SelectItem(0, false, true); });
  const RECT card = Card(4)->GetPos();
  const LPARAM middle = MAKELPARAM((card.left + card.right) / 2, (card.top + card.bottom) / 2);
  expectSameAsWholeRepaint("hover a card", [&] { SendMessageW(hwnd_, WM_MOUSEMOVE, 0, middle); });
  EXPECT_EQ(Card(4)->GetState(), ui::kControlStateHot);
  expectSameAsWholeRepaint("hover the next card", [&] {
    const RECT next = Card(5)->GetPos();
    SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM((next.left + next.right) / 2, (next.top + next.bottom) / 2));
  });
  expectSameAsWholeRepaint("a name's colour", [&] { TextOf(2)->SetAttribute(L"normaltextcolor", L"#FFC02020"); });
  expectSameAsWholeRepaint("scroll the cards", [&] { window_->LinkBox()->LineDown(-1, false); });
}

}  // namespace
