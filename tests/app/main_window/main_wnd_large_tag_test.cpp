// A tag of 5 000 cards behaves as a small one: scrolled with the scroll bar, the
// screen shows every card in order; keys and clicks select by the same indexes
// and events; a card far down the tag starts its own link.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/controls/card_item.h"
#include "app/controls/list_item_id.h"
#include "app/main_window/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/app/support/own_probe.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/core/scroll_bar.h"

namespace {

using window_test::PaintNow;
using window_test::PumpFor;
using window_test::PumpUntil;

constexpr int kCards = 5000;

using pexo_test::ProbeLog;
using pexo_test::ProbePath;

// The colours the cards write their names in, in turn: strong colours none of
// which lies between another and the light card (where a name's smoothed edges
// are), so that a card's picture tells whose name it shows.
constexpr DWORD kNameColors[] = {0xFFC80000, 0xFF009600, 0xFF0000C8, 0xFFC800C8,
                                 0xFF008C8C, 0xFFDC7800, 0xFF6E00DC, 0xFF787800};
constexpr int kNameColorCount = static_cast<int>(std::size(kNameColors));
DWORD NameColor(int i) { return kNameColors[i % kNameColorCount]; }
// The same as stored text.
std::string NameColorSql() {
  std::string cases = "CASE i % " + std::to_string(kNameColorCount);
  char text[16];
  for (int k = 0; k < kNameColorCount; ++k) {
    std::snprintf(text, sizeof(text), "'#%08X'", static_cast<unsigned>(kNameColors[k]));
    cases += " WHEN " + std::to_string(k) + " THEN " + text;
  }
  return cases + " END";
}

int ColorDistance(DWORD a, DWORD b) {
  int sum = 0;
  for (int shift : {0, 8, 16}) sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
  return sum;
}

class LargeTagTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(launcher_test::StartLauncherSkin()); }
  static void TearDownTestSuite() { launcher_test::StopLauncherSkin(); }

  void SetUp() override {
    launcher_test::RemoveStoreFiles();
    DeleteFileW(ProbeLog().c_str());
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

  // The first tag: kCards links to the probe, each named in a colour of its own
  // and started with "far-<position>"; a second tag of one link.
  void Prepare() {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups[0]->tags[0];
    auto other = launcher_test::NewTag(L"其他");
    ASSERT_TRUE(store.AddTag(store.topGroups[0], other));
    ASSERT_TRUE(store.AddLink(other, launcher_test::NewLink(L"单个", ProbePath())));
    std::string path;
    for (wchar_t c : ProbePath()) path += static_cast<char>(c);  // the test folder's path is ASCII
    const std::string sql =
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(kCards - 1) +
        ") INSERT INTO Links(NAME,POS,ParentGroup,TYPE,ICON,PATH,Parameter,WorkDir,CustomColor,Remark) "
        "SELECT 'card' || i, i, " + std::to_string(tag->ID) + ", 0, '', '" + path + "', 'far-' || i, '', "
        + NameColorSql() + ", '' FROM n";
    ASSERT_EQ(sqlite3_exec(store.connection, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    store.Close();
  }

  void Open() {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    PaintNow(hwnd_);
    PumpFor(100);
    PaintNow(hwnd_);
  }

  ui::GrowingListBox* Box() { return window_->LinkBox(); }
  CardItem* Card(int index) { return dynamic_cast<CardItem*>(Box()->GetItemAt(static_cast<size_t>(index))); }
  int ScrollY() { return static_cast<int>(Box()->GetScrollPos().cy); }
  POINT ItemCentre(int index) {
    const RECT pos = Card(index)->GetPos();
    return {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2 - ScrollY()};
  }

  // Real mouse input at a client point: move there, press, release.
  void ClickAt(POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    POINT screen = at;
    ClientToScreen(hwnd_, &screen);
    SetCursorPos(screen.x, screen.y);
    window_test::PostAndPump(hwnd_, WM_MOUSEMOVE, 0, where);
    window_test::PostAndPump(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, where);
    window_test::PostAndPump(hwnd_, WM_LBUTTONUP, 0, where);
  }
  // Drags the scroll bar's thumb so that its middle lands `fraction` of the way
  // down the bar.
  void DragThumbTo(double fraction) {
    ui::ScrollBar* bar = Box()->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    // Keys and the wheel scroll smoothly: a press on where the thumb was a moment
    // ago would land beside it.
    WaitScrollAtRest();
    const RECT thumb = bar->GetThumbRect();
    const RECT track = bar->GetPos();
    const POINT from = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    const int y = track.top + static_cast<int>((track.bottom - track.top) * fraction);
    // The real cursor goes along: the bar's timer reads it when a press lands
    // beside the thumb.
    auto moveCursor = [&](POINT at) {
      ClientToScreen(hwnd_, &at);
      SetCursorPos(at.x, at.y);
    };
    moveCursor(from);
    window_test::PostAndPump(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
    window_test::PostAndPump(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    moveCursor({from.x, y});
    window_test::PostAndPump(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x, y));
    // The bar follows a dragged thumb on its repeat timer, while the button is held:
    // the button goes up once the thumb's middle is under the cursor or the bar is
    // at its end.
    std::string trail;
    DWORD lastNote = 0;
    EXPECT_TRUE(PumpUntil(
        [&] {
          const RECT now = bar->GetThumbRect();
          if (GetTickCount() - lastNote > 300) {
            lastNote = GetTickCount();
            trail += " [scroll " + std::to_string(ScrollY()) + " mid " + std::to_string((now.top + now.bottom) / 2) +
                     " state " + std::to_string(static_cast<int>(bar->GetThumbState())) + "]";
          }
          return std::abs((now.top + now.bottom) / 2 - y) <= 2 || ScrollY() == Box()->GetScrollRange().cy;
        },
        5000))
        << "the thumb did not follow the drag: from " << from.y << " (thumb " << thumb.top << ".." << thumb.bottom
        << ") to " << y << " track " << track.top << ".." << track.bottom << trail;
    window_test::PostAndPump(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(from.x, y));
    PaintNow(hwnd_);
  }
  // Pumps until the view has not moved for a while: keys and the wheel scroll
  // smoothly. `leftTheTop`: not before it has moved down from the top.
  void WaitScrollAtRest(bool leftTheTop = false) {
    int lastScroll = -1;
    DWORD movedAt = GetTickCount();
    PumpUntil(
        [&] {
          PaintNow(hwnd_);
          if (ScrollY() != lastScroll) {
            lastScroll = ScrollY();
            movedAt = GetTickCount();
          }
          return (!leftTheTop || lastScroll > 0) && GetTickCount() - movedAt > 250;
        },
        5000);
  }
  void Key(WPARAM key) {
    window_test::PostAndPump(hwnd_, WM_KEYDOWN, key, 1);
    window_test::PostAndPump(hwnd_, WM_KEYUP, key, 0xC0000001);
  }

  // Checks the window's picture: every card wholly in view stands in its row and
  // column of the tag's order and shows its own name's colour in its lower half
  // (the colour of the link `shift` places further in the stored order).
  // Returns the number of cards checked.
  int CheckCardsOnScreen(const char* where, int shift = 0) {
    PaintNow(hwnd_);
    ui::IRenderContext* context = window_->GetRenderContext();
    if (!context) return 0;
    const RECT view = Box()->GetPaddingPos();
    const int scroll = ScrollY();
    const RECT first = Card(0)->GetPos();
    const int pitchX = Card(1)->GetPos().left - first.left;
    int perRow = 1;
    while (perRow < kCards && Card(perRow)->GetPos().top == first.top) ++perRow;
    const int pitchY = Card(perRow)->GetPos().top - first.top;
    int checked = 0;
    // Rows from the first one wholly in view to the last one wholly in view.
    const int firstRow = (scroll + view.top - first.top + pitchY - 1) / pitchY;
    for (int row = firstRow;; ++row) {
      const int top = first.top + row * pitchY - scroll;
      const int bottom = top + (first.bottom - first.top);
      if (bottom > view.bottom) break;
      for (int column = 0; column < perRow; ++column) {
        const int index = row * perRow + column;
        if (index >= Box()->GetTotalItems()) break;
        const RECT pos = Card(index)->GetPos();
        EXPECT_EQ(pos.left, first.left + column * pitchX) << where << ": card " << index;
        EXPECT_EQ(pos.top - scroll, top) << where << ": card " << index;
        // The name: pixels in its own colour, none in a neighbour's.
        int own = 0;
        int neighbours = 0;
        for (int y = top + (bottom - top) / 2; y < bottom; ++y) {
          for (int x = pos.left; x < pos.right; ++x) {
            const DWORD pixel = window_test::PixelAt(context, x, y);
            const int link = index + shift;
            if (ColorDistance(pixel, NameColor(link)) <= 24) ++own;
            if (link > 0 && ColorDistance(pixel, NameColor(link - 1)) <= 24) ++neighbours;
            if (ColorDistance(pixel, NameColor(link + 1)) <= 24) ++neighbours;
          }
        }
        EXPECT_GE(own, 3) << where << ": card " << index << " does not show its name";
        EXPECT_EQ(neighbours, 0) << where << ": card " << index << " shows a neighbour's name";
        ++checked;
      }
    }
    return checked;
  }

  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(LargeTagTest, ScrollingThroughTheTagShowsEveryCardInOrder) {
  Prepare();
  Open();
  ASSERT_EQ(Box()->GetTotalItems(), kCards);
  // Only the cards in view (and none far below) are made so far.
  EXPECT_LT(Box()->GetCount(), 200);
  EXPECT_EQ(ScrollY(), 0);
  EXPECT_GT(CheckCardsOnScreen("top"), 8);
  ASSERT_TRUE(window_test::SaveWindowPng(*window_, pexo_test::ExeFolder() + L"\\large_tag_top.png"));

  // The scroll bar's thumb dragged a third, two thirds and all the way down.
  int last = 0;
  for (double fraction : {0.33, 0.66, 1.0}) {
    DragThumbTo(fraction);
    EXPECT_GT(ScrollY(), last) << fraction;
    last = ScrollY();
    EXPECT_GT(CheckCardsOnScreen(std::to_string(fraction).c_str()), 8);
  }
  EXPECT_EQ(ScrollY(), static_cast<int>(Box()->GetScrollRange().cy)) << "at the end";
  ASSERT_TRUE(window_test::SaveWindowPng(*window_, pexo_test::ExeFolder() + L"\\large_tag_end.png"));
  // Only the cards shown were given their inside.
  int built = 0;
  ASSERT_EQ(Box()->GetCount(), kCards);
  for (int i = 0; i < kCards; ++i) built += Card(i)->IsInsideBuilt() ? 1 : 0;
  EXPECT_LT(built, 200);

  // Back at the top after a switch to the other tag and back, all is as at first.
  window_->TagList()->SelectItem(1, false, true);
  PaintNow(hwnd_);
  ASSERT_EQ(Box()->GetTotalItems(), 1);
  ASSERT_EQ(Box()->GetCount(), 1);
  window_->TagList()->SelectItem(0, false, true);
  ASSERT_EQ(Box()->GetTotalItems(), kCards);
  EXPECT_LT(Box()->GetCount(), 200);
  Box()->SetScrollPos({0, 0});
  EXPECT_GT(CheckCardsOnScreen("top again"), 8);
}

TEST_F(LargeTagTest, KeysAndClicksSelectByIndexAndAFarCardStartsItsOwnLink) {
  Prepare();
  Open();
  ASSERT_EQ(Box()->GetTotalItems(), kCards);
  std::vector<std::pair<WPARAM, LPARAM>> selects;
  Box()->AttachEvent(ui::select, [&](ui::EventArgs* e) {
    selects.emplace_back(e->wParam, e->lParam);
    return true;
  });

  // A click on the first card: the current index only, with the old one (none).
  RECT pos = Card(0)->GetPos();
  ClickAt({(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2});
  ASSERT_EQ(selects.size(), 1u);
  EXPECT_EQ(selects[0], std::make_pair(WPARAM{0}, LPARAM{-1}));
  EXPECT_EQ(Box()->GetCurSel(), 0);

  // Keys on the focused card: End, Up, Home, Down, each a single selection.
  selects.clear();
  for (WPARAM key : {WPARAM{VK_END}, WPARAM{VK_UP}, WPARAM{VK_HOME}, WPARAM{VK_DOWN}}) Key(key);
  const std::vector<std::pair<WPARAM, LPARAM>> keyed = {
      {kCards - 1, -1}, {kCards - 2, -1}, {0, -1}, {1, -1}};
  EXPECT_EQ(selects, keyed);
  EXPECT_EQ(Box()->GetCurSel(), 1);
  EXPECT_TRUE(Card(1)->IsSelected());
  EXPECT_FALSE(Card(kCards - 1)->IsSelected());

  // Scrolled to the end, a click on the card before the last starts that card's
  // link and counts its run; the current index follows with the old one.
  DragThumbTo(1.0);
  const int farCard = kCards - 2;
  pos = Card(farCard)->GetPos();
  const int scroll = ScrollY();
  selects.clear();
  ASSERT_TRUE(PumpUntil([] { return !pexo_test::ReadFileBytes(ProbeLog()).empty(); }, 10000))
      << "the click on the first card started its link";
  DeleteFileW(ProbeLog().c_str());
  ClickAt({(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2 - scroll});
  ASSERT_EQ(selects.size(), 1u);
  EXPECT_EQ(selects[0], std::make_pair(WPARAM{farCard}, LPARAM{1}));
  ASSERT_TRUE(PumpUntil([] { return pexo_test::ReadFileBytes(ProbeLog()).find("far-") != std::string::npos; },
                        10000));
  EXPECT_NE(pexo_test::ReadFileBytes(ProbeLog()).find("far-" + std::to_string(farCard)), std::string::npos);
  PumpFor(300);
  const std::string log = pexo_test::ReadFileBytes(ProbeLog());
  EXPECT_EQ(log.find("far-"), log.rfind("far-")) << "one start only: " << log;
  const int32_t id = GetListItemId(Card(farCard));
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  ASSERT_TRUE(reloaded.FindLink(id));
  EXPECT_EQ(reloaded.FindLink(id)->RunCount, 1);
  EXPECT_EQ(reloaded.FindLink(id)->Parameter, L"far-" + std::to_wstring(farCard));
}

// A card deleted from its own menu leaves the cards after it, made then or
// later, in the tag's order: the wheel scrolls down to cards not made when the
// card went, and each shows the link after its own place.
TEST_F(LargeTagTest, ACardDeletedFromItsMenuLeavesTheCardsNotYetMadeInOrder) {
  Prepare();
  GetSettings().bDelConfirm = false;
  Open();
  const int madeAtFirst = Box()->GetCount();
  ASSERT_LT(madeAtFirst, 200);
  const int32_t doomed = GetListItemId(Card(2));
  PumpFor(300);
  SetForegroundWindow(hwnd_);
  const menu_driver::Visit visit =
      menu_driver::ChooseFromMenu(hwnd_, ItemCentre(2), {L"del_link"});
  EXPECT_TRUE(visit.shown) << "the card menu opens";
  menu_driver::ExpectEveryItemFound(visit);
  PaintNow(hwnd_);
  ASSERT_FALSE(GetLinkStore().FindLink(doomed));
  ASSERT_EQ(Box()->GetTotalItems(), kCards - 1);

  // Cards before the deleted one show their own links, those after it the next.
  const std::vector<std::shared_ptr<Link>>& stored = GetLinkStore().topGroups[0]->tags[0]->links;
  ASSERT_EQ(stored.size(), static_cast<size_t>(kCards - 1));
  for (int notch = 0; notch < 40; ++notch) {
    POINT screen = ItemCentre(0);
    ClientToScreen(hwnd_, &screen);
    window_test::PostAndPump(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  }
  WaitScrollAtRest(/*leftTheTop=*/true);
  EXPECT_GT(ScrollY(), 0);
  EXPECT_GT(Box()->GetCount(), madeAtFirst) << "the wheel reached cards not made before";
  EXPECT_LT(Box()->GetCount(), kCards - 1) << "and made no more than it needs ahead";
  for (int i = 0; i < Box()->GetCount(); ++i) {
    ASSERT_EQ(GetListItemId(Card(i)), stored[static_cast<size_t>(i)]->ID) << "card " << i;
    ASSERT_EQ(Card(i)->GetIndex(), i);
  }
  EXPECT_GT(CheckCardsOnScreen("after the wheel", 1), 8);

  // End reaches the last card, the stored order's last link.
  int inView = 0;
  while (Card(inView)->GetPos().top - ScrollY() < Box()->GetPaddingPos().top) ++inView;
  ClickAt(ItemCentre(inView));
  EXPECT_EQ(Box()->GetCurSel(), inView);
  Key(VK_END);
  ASSERT_EQ(Box()->GetCount(), kCards - 1);
  EXPECT_EQ(Box()->GetCurSel(), kCards - 2);
  EXPECT_EQ(GetListItemId(Card(kCards - 2)), stored.back()->ID);
  EXPECT_EQ(GetLinkStore().FindLink(GetListItemId(Card(kCards - 2)))->Parameter, L"far-" + std::to_wstring(kCards - 1));
}

}  // namespace
