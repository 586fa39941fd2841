// A command chosen before a modal loop acts on what the user chose, whatever
// happened while the loop ran: the group or tag deletion asked about while the
// tray is clicked and the groups move, the file picked for a tag deleted while
// the picker was up, and a card command after the view was rebuilt with the
// right-clicked card beyond the cards made so far, and the tag menu's view, sort
// and icon size after a hovered group replaced the right-clicked tag on screen.
// Run under Wine's heap checking.
#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/list_item_id.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/app/support/own_probe.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/controls/menu_wnd.h"

namespace {

using dialog_test::VisibleStandardDialog;
using launcher_test::NewLink;
using launcher_test::NewTag;
using window_test::PumpFor;
using window_test::PumpUntil;

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F7);
const LPARAM kChordMessage = MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F7);

// Steps run from a thread timer while a message box or picker of the window is
// up (its loop dispatches the timer): each runs on a later tick than the one
// before, and again while it answers false. A step may run a loop of its own;
// the ticks that loop dispatches go to `nested` meanwhile.
struct UnderTheBox {
  static UnderTheBox*& Current() {
    static UnderTheBox* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    UnderTheBox* self = Current();
    if (!self) return;
    if (self->busy) {
      if (self->nested) self->nested();
      return;
    }
    if (self->steps.empty() || !(self->box = VisibleStandardDialog())) return;
    self->busy = true;
    const bool done = self->steps.front()();
    self->busy = false;
    if (done || ++self->tries > 60) {
      self->steps.erase(self->steps.begin());
      self->tries = 0;
    }
  }
  std::vector<std::function<bool()>> steps;
  std::function<void()> nested;
  HWND box = nullptr;
  bool busy = false;
  int tries = 0;
};

class ModalChoiceTest : public launcher_test::MainWindowFixture {
 protected:
  ModalChoiceTest() : MainWindowFixture(/*inFront=*/true) {}

  void TearDown() override {
    UnderTheBox::Current() = nullptr;
    MainWindowFixture::TearDown();
  }

  // Right-clicks the point, follows the path, and runs `under` while the box
  // or picker that the chosen item opens is up.
  menu_driver::Visit ChooseWhileBoxUp(POINT at, const std::vector<std::wstring>& path, UnderTheBox& under) {
    PumpFor(300);
    SetForegroundWindow(hwnd_);
    UnderTheBox::Current() = &under;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, UnderTheBox::Tick);
    menu_driver::Visit visit = menu_driver::ChooseFromMenu(hwnd_, at, path);
    PumpUntil([&] { return under.steps.empty() && !VisibleStandardDialog(); }, 10000);
    KillTimer(nullptr, timer);
    UnderTheBox::Current() = nullptr;
    EXPECT_TRUE(visit.shown) << "the menu opens";
    menu_driver::ExpectEveryItemFound(visit);
    return visit;
  }

  static int64_t StoredLinkRows() {
    sqlite3* db = nullptr;
    const std::wstring path = pexo_test::ExeFolder() + L"\\db\\link.db";
    if (sqlite3_open16(path.c_str(), &db) != SQLITE_OK) return -1;
    sqlite3_stmt* count = nullptr;
    int64_t rows = -1;
    if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM Links", -1, &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW) {
      rows = sqlite3_column_int64(count, 0);
    }
    sqlite3_finalize(count);
    sqlite3_close(db);
    return rows;
  }
};

enum class Deleted { kGroup, kTag };

class DeletionUnderTrayTest : public ModalChoiceTest, public ::testing::WithParamInterface<Deleted> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ModalChoiceTest::SetUp());
    GetSettings().bDelConfirm = true;
    // A, B and C, the middle one holding a link with a chord: three groups of
    // one tag each, or three tags of the one group.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    // The store's first group and tag are A; B and C come after them.
    auto group = store.topGroups.at(0);
    auto a = GetParam() == Deleted::kGroup ? group : group->tags.at(0);
    a->NAME = L"A";
    ASSERT_TRUE(store.SaveGroup(a));
    std::vector<std::shared_ptr<Group>> tags = {group->tags.at(0)};
    for (const wchar_t* name : {L"B", L"C"}) {
      tags.push_back(NewTag(name));
      if (GetParam() == Deleted::kGroup) {
        ASSERT_TRUE(store.AddGroup(NewTag(name)));
        ASSERT_TRUE(store.AddTag(store.topGroups.back(), tags.back()));
      } else {
        ASSERT_TRUE(store.AddTag(group, tags.back()));
      }
    }
    for (size_t i = 0; i < tags.size(); ++i) {
      auto link = NewLink(L"link " + std::to_wstring(i), L"C:\\windows\\notepad.exe");
      if (i == 1) link->HotKey = kChord;
      ASSERT_TRUE(store.AddLink(tags[i], link));
    }
    OpenWindowOverStore();
  }

  std::vector<std::wstring> Names() const {
    return GetParam() == Deleted::kGroup ? GroupNames() : TagNames(0);
  }
  ui::ListBox* List() const { return GetParam() == Deleted::kGroup ? window_->GroupList() : window_->TagList(); }
};

TEST_P(DeletionUnderTrayTest, TheTrayCannotReopenTheWindowUnderTheQuestionAndOkDeletesTheChosenOneWhereverItMoved) {
  ASSERT_EQ(Names(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
  ASSERT_NE(GetHotKeyTable().FindLink(kChord), nullptr);
  const bool groups = GetParam() == Deleted::kGroup;
  ui::CMenuMgr* menus = window_->Menus();
  ASSERT_NE(menus, nullptr);
  bool disabledUnderBox = false;
  bool trayAnswered = false;
  bool trayOfferedOnlyExit = false;
  bool fullTrayMenuShown = true;
  bool overviewSeen = false;
  bool disabledAfterOverview = false;
  bool secondQuestionRefused = false;
  int boxes = 0;
  UnderTheBox under;
  under.steps = {
      [&] {
        disabledUnderBox = !IsWindowEnabled(hwnd_);
        // The tray icon's right click, as the shell sends it.
        PostMessageW(hwnd_, CMainWnd::kTrayMessage, 0, WM_RBUTTONDOWN);
        return true;
      },
      [&] {
        // The tray menu came up (Wine may close it at once: it cannot have the
        // foreground from a posted message) with "退出" alone.
        ui::CMenuUI* modal = menus->FindMenu(L"tray_menu_modal");
        ui::CMenuUI* full = menus->FindMenu(L"tray_menu");
        if (!modal || !modal->GetCreatedMenuWnd()) return false;
        trayAnswered = true;
        trayOfferedOnlyExit = modal->GetCount() == 1 && modal->FindChildByName(L"close") != nullptr;
        fullTrayMenuShown = full && full->GetCreatedMenuWnd() != nullptr;
        if (menus->IsRunning()) menus->Dismiss();
        return !menus->IsRunning();
      },
      [&] {
        // Its "快捷键一览", as the full tray menu would carry it out: the dialog
        // gives the window back no input when it closes.
        under.nested = [&] {
          if (ui::Window* dialog = window_->OpenDialog(); dialog && IsWindowVisible(dialog->GetHWND())) {
            overviewSeen = true;
            dialog->Close(0);
          }
        };
        auto* item = dynamic_cast<ui::CMenuItem*>(menus->FindMenu(L"tray_menu")->FindChildByName(L"hotkey"));
        if (item) window_->RunMainMenuCommand(item);
        under.nested = nullptr;
        disabledAfterOverview = !IsWindowEnabled(hwnd_);
        // A second question on top of this one is refused.
        const int32_t other = GetListItemId(List()->GetItemAt(0));
        secondQuestionRefused =
            !(groups ? window_->DeleteGroupWithId(other) : window_->DeleteTagWithId(other));
        VisibleStandardDialog(&boxes);
        // Meanwhile B moves to the front, as Shift and the arrow key would move it.
        LinkStore& store = GetLinkStore();
        EXPECT_TRUE(groups ? store.MoveGroupUp(1) : store.MoveTagUp(store.topGroups.at(0), 1));
        PostMessageW(under.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
      },
  };
  ChooseWhileBoxUp(ItemPoint(List(), 1), {groups ? L"del_group" : L"del_tag"}, under);
  EXPECT_TRUE(under.steps.empty()) << "the question did not come, or a step never finished";
  EXPECT_TRUE(disabledUnderBox);
  EXPECT_TRUE(trayAnswered) << "no tray menu came up under the question";
  EXPECT_TRUE(trayOfferedOnlyExit) << "the tray offers more than 退出 under the question";
  EXPECT_FALSE(fullTrayMenuShown);
  EXPECT_TRUE(overviewSeen) << "the hot-key overview did not open";
  EXPECT_TRUE(disabledAfterOverview) << "the overview gave the window its input back under the question";
  EXPECT_TRUE(secondQuestionRefused);
  EXPECT_EQ(boxes, 1) << "a second question was stacked over the first";

  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A", L"C"})) << "not the chosen one was deleted";
  EXPECT_EQ(GetHotKeyTable().FindLink(kChord), nullptr) << "the deleted link's chord stays registered";
  EXPECT_EQ(List()->GetCount(), 2);
  EXPECT_TRUE(IsWindowEnabled(hwnd_));
  Restart();
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A", L"C"}));
}

INSTANTIATE_TEST_SUITE_P(GroupAndTag, DeletionUnderTrayTest, ::testing::Values(Deleted::kGroup, Deleted::kTag),
                         [](const ::testing::TestParamInfo<Deleted>& info) {
                           return info.param == Deleted::kGroup ? "Group" : "Tag";
                         });

// "添加文件" while its tag is deleted: the picked file becomes no link of a tag
// that is gone (a row no tag would ever show).
TEST_F(ModalChoiceTest, AFilePickedForATagDeletedMeanwhileMakesNoLink) {
  LinkStore& store = GetLinkStore();
  ASSERT_TRUE(store.Open());
  ASSERT_TRUE(store.AddTag(store.topGroups.at(0), NewTag(L"乙")));
  OpenWindowOverStore();
  ASSERT_EQ(window_->CurrentTagIndex(), 0);
  const int32_t pickedFor = window_->CurrentTag()->ID;
  bool deleted = false;
  UnderTheBox under;
  under.steps = {[&] {
    LinkStore& links = GetLinkStore();
    deleted = links.DeleteTag(links.topGroups.at(0), 0);
    // The file-name field of the explorer-style dialog: an edit or a combo box.
    if (!SetDlgItemTextW(under.box, 0x480, L"C:\\windows\\system32\\cmd.exe")) {
      SetDlgItemTextW(under.box, 0x47c, L"C:\\windows\\system32\\cmd.exe");
    }
    PostMessageW(under.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  }};
  const RECT box = window_->LinkBox()->GetPos();
  ChooseWhileBoxUp(POINT{(box.left + box.right) / 2, box.bottom - 12}, {L"add_file"}, under);
  ASSERT_TRUE(deleted) << "the picker did not come up";
  EXPECT_EQ(GetLinkStore().FindGroup(pickedFor), nullptr);
  EXPECT_TRUE(GetLinkStore().topGroups.at(0)->tags.at(0)->links.empty()) << "the file went to another tag";
  Close();
  EXPECT_EQ(StoredLinkRows(), 0) << "the picked file was stored for the deleted tag";
}

// A tag of 500 cards sorted by run count: the card far down is right-clicked,
// and while the menu is up the cards go back to the top and the first link's
// chord rebuilds them, so that only the first cards are made again. "删除" still deletes the right-clicked link.
TEST_F(ModalChoiceTest, ACardCommandAfterTheViewWasRebuiltReachesACardNotMadeAgain) {
  constexpr int kCards = 500;
  GetSettings().bDelConfirm = false;
  GetSettings().bSaveRunCount = true;
  LinkStore& store = GetLinkStore();
  ASSERT_TRUE(store.Open());
  auto tag = store.topGroups.at(0)->tags.at(0);
  tag->SORT = kSortByRunCount;
  tag->LAYOUT = kLayoutList;
  ASSERT_TRUE(store.SaveGroup(tag));
  const std::wstring probe = pexo_test::ProbePath();
  for (int i = 0; i < kCards; ++i) {
    auto link = NewLink(L"卡" + std::to_wstring(i), probe);
    link->Parameter = L"modal-choice-" + std::to_wstring(i);
    link->RunCount = kCards - i;
    if (i == 0) link->HotKey = kChord;
    ASSERT_TRUE(store.AddLink(tag, link));
    ASSERT_TRUE(store.SaveRunCount(link));
  }
  OpenWindowOverStore();
  ui::GrowingListBox* cards = window_->LinkBox();
  const int target = kCards - 3;
  cards->EnsureVisible(target);
  ASSERT_TRUE(PumpUntil([&] { return cards->GetCount() > target; }, 5000)) << "the far card was not made";
  window_test::PaintNow(hwnd_);
  const int32_t chosen = GetListItemId(cards->GetItemAt(static_cast<size_t>(target)));
  ASSERT_NE(chosen, 0);
  const RECT card = cards->GetItemAt(static_cast<size_t>(target))->GetPos();
  const POINT at = {(card.left + card.right) / 2, (card.top + card.bottom) / 2 - cards->GetScrollPos().cy};
  bool rebuiltWithoutIt = false;
  PumpFor(300);
  SetForegroundWindow(hwnd_);
  const menu_driver::Visit visit = menu_driver::ChooseFromMenu(hwnd_, at, {L"del_link"}, [&] {
    // The cards are scrolled back to the top (as the wheel would), then the chord
    // rebuilds them: only those of the first screen are made again.
    cards->SetScrollPos(SIZE{0, 0});
    SendMessageW(hwnd_, WM_HOTKEY, 1, kChordMessage);
    rebuiltWithoutIt = window_->CardIndexOfLink(chosen) < 0;
  });
  EXPECT_TRUE(visit.shown) << "the card menu opens";
  menu_driver::ExpectEveryItemFound(visit);
  EXPECT_TRUE(rebuiltWithoutIt) << "the chord's rebuild made the far card again: nothing is tried";
  EXPECT_FALSE(GetLinkStore().FindLink(chosen)) << "the right-clicked link stays";
  EXPECT_EQ(GetLinkStore().topGroups.at(0)->tags.at(0)->links.size(), static_cast<size_t>(kCards - 1));
  EXPECT_EQ(window_->CardIndexOfLink(chosen), -1);

  // "以管理员身份运行" the same way: the far card's own link starts and is counted.
  cards->EnsureVisible(target);
  ASSERT_TRUE(PumpUntil([&] { return cards->GetCount() > target; }, 5000)) << "the far card was not made";
  window_test::PaintNow(hwnd_);
  const std::shared_ptr<Link> started = GetLinkStore().FindLink(GetListItemId(cards->GetItemAt(static_cast<size_t>(target))));
  ASSERT_NE(started, nullptr);
  const int runsBefore = started->RunCount;
  const RECT startedCard = cards->GetItemAt(static_cast<size_t>(target))->GetPos();
  const POINT startedAt = {(startedCard.left + startedCard.right) / 2,
                           (startedCard.top + startedCard.bottom) / 2 - cards->GetScrollPos().cy};
  rebuiltWithoutIt = false;
  PumpFor(300);
  const menu_driver::Visit elevated = menu_driver::ChooseFromMenu(hwnd_, startedAt, {L"use_admin"}, [&] {
    cards->SetScrollPos(SIZE{0, 0});
    SendMessageW(hwnd_, WM_HOTKEY, 1, kChordMessage);
    rebuiltWithoutIt = window_->CardIndexOfLink(started->ID) < 0;
  });
  EXPECT_TRUE(elevated.shown) << "the card menu opens";
  menu_driver::ExpectEveryItemFound(elevated);
  EXPECT_TRUE(rebuiltWithoutIt) << "the chord's rebuild made the far card again: nothing is tried";
  EXPECT_EQ(started->RunCount, runsBefore + 1) << "the right-clicked link was not started";
  Close();
  EXPECT_EQ(StoredLinkRows(), kCards - 1);
}


// The tag item menu's view, sort and icon size act on the tag that was
// right-clicked, even when a hovered group showed another tag while the menu
// was up; a tag deleted meanwhile takes nothing. The hover is made by a real
// mouse move before the right click, with a long activation delay that runs out
// under the menu.
class TagMenuUnderHoverTest : public ModalChoiceTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ModalChoiceTest::SetUp());
    GetSettings().bDelConfirm = false;
    GetSettings().bSaveRunCount = true;
    GetSettings().bMouseEnterActiveGroup = true;
    GetSettings().nActiveGroupDelay = 600000;  // runs out only when the test says so
    // Group 一 with tags 甲 and 乙, group 二 with tag 丙; a link in each.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto first = store.topGroups.at(0);
    first->NAME = L"一";
    ASSERT_TRUE(store.SaveGroup(first));
    first->tags.at(0)->NAME = L"甲";
    ASSERT_TRUE(store.SaveGroup(first->tags.at(0)));
    ASSERT_TRUE(store.AddTag(first, NewTag(L"乙")));
    ASSERT_TRUE(store.AddGroup(NewTag(L"二")));
    ASSERT_TRUE(store.AddTag(store.topGroups.back(), NewTag(L"丙")));
    int n = 0;
    for (const auto& group : store.topGroups) {
      for (const auto& tag : group->tags) {
        ASSERT_TRUE(store.AddLink(tag, NewLink(L"link " + std::to_wstring(n++), L"C:\\windows\\notepad.exe")));
      }
    }
    OpenWindowOverStore();
  }

  std::shared_ptr<Group> TagNamed(const std::wstring& name) {
    for (const auto& group : GetLinkStore().topGroups) {
      for (const auto& tag : group->tags) {
        if (tag->NAME == name) return tag;
      }
    }
    return nullptr;
  }

  void ClickAt(POINT at) {
    menu_driver::PostAt(hwnd_, WM_MOUSEMOVE, 0, at);
    menu_driver::PostAt(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    menu_driver::PostAt(hwnd_, WM_LBUTTONUP, 0, at);
  }

  // Shows the group's tag with a click on each, as a hand would choose it.
  void ShowTag(int group, int tag) {
    window_test::PaintNow(hwnd_);
    if (window_->GroupList()->GetCurSel() != group) {
      ClickAt(ItemPoint(window_->GroupList(), group));
      PumpUntil([&] { return window_->GroupList()->GetCurSel() == group; }, 3000);
    }
    window_test::PaintNow(hwnd_);
    if (window_->TagList()->GetCurSel() != tag) {
      ClickAt(ItemPoint(window_->TagList(), tag));
      PumpUntil([&] { return window_->TagList()->GetCurSel() == tag; }, 3000);
    }
    window_test::PaintNow(hwnd_);
  }

  // The pointer rests on the group item: its activation waits for the delay.
  void HoverGroup(int group) {
    window_test::PaintNow(hwnd_);
    const POINT at = ItemPoint(window_->GroupList(), group);
    menu_driver::PostAt(hwnd_, WM_MOUSEMOVE, 0, POINT{at.x + 1, at.y});
    menu_driver::PostAt(hwnd_, WM_MOUSEMOVE, 0, at);
    PumpFor(100);
  }

  // Right-clicks the shown group's tag item, lets the pending hover run out once
  // the menu is up (or runs `under` instead), then follows `path`. True when the
  // hover replaced the shown tag under the menu.
  bool ChooseAfterHover(int tag, int hoveredGroup, const std::vector<std::wstring>& path,
                        const std::function<void()>& under = {}) {
    return ChooseAfterHoverAt([&] { return ItemPoint(window_->TagList(), tag); }, hoveredGroup, path, under);
  }
  // The same with a right click on the shown tag's card.
  bool ChooseOnCardAfterHover(int card, int hoveredGroup, const std::vector<std::wstring>& path,
                              const std::function<void()>& under = {}) {
    return ChooseAfterHoverAt([&] { return ItemPoint(window_->LinkBox(), card); }, hoveredGroup, path, under);
  }
  bool ChooseAfterHoverAt(const std::function<POINT()>& rightClickPoint, int hoveredGroup,
                          const std::vector<std::wstring>& path, const std::function<void()>& under) {
    const int shownGroup = window_->GroupList()->GetCurSel();
    const int shownTag = window_->TagList()->GetCurSel();
    menu_driver::Visit visit;
    bool replaced = false;
    for (int visits = 0; visits < 2; ++visits) {
      if (visits > 0) {
        // Another program took the foreground and the menu closed before its items
        // were reached: nothing was chosen, so the same tag is shown again and the
        // visit made once more (a deletion under the menu is not made twice).
        if (!visit.lostToOtherProgram || under) break;
        std::printf("menu visit made once more: %s\n", visit.missingNote.c_str());
        ShowTag(shownGroup, shownTag);
      }
      HoverGroup(hoveredGroup);
      const std::shared_ptr<Group> clicked = window_->CurrentTag();
      replaced = false;
      PumpFor(300);
      SetForegroundWindow(hwnd_);
      visit = menu_driver::ChooseFromMenu(hwnd_, rightClickPoint(), path, [&] {
        if (under) {
          under();
        } else {
          // The hover's delay runs out under the open menu.
          SendMessageW(hwnd_, WM_TIMER, CMainWnd::kTimerGroupHover, 0);
        }
        replaced = window_->GroupList()->GetCurSel() == hoveredGroup && window_->CurrentTag() != clicked;
      });
      KillTimer(hwnd_, CMainWnd::kTimerGroupHover);
    }
    EXPECT_TRUE(visit.shown) << "the tag menu opens";
    menu_driver::ExpectEveryItemFound(visit);
    return replaced;
  }

  // The size of the shown tag's first card, as its template gives it.
  SIZE FirstCardSize() {
    window_test::PaintNow(hwnd_);
    PumpUntil([&] { return window_->LinkBox()->GetCount() > 0; }, 3000);
    ui::Control* card = window_->LinkBox()->GetItemAt(0);
    return card ? SIZE{card->GetFixedWidth(), card->GetFixedHeight()} : SIZE{};
  }
};

TEST_F(TagMenuUnderHoverTest, ViewSortAndIconSizeActOnTheRightClickedTagAfterAHoveredGroupReplacedIt) {
  ShowTag(0, 0);
  ASSERT_EQ(window_->CurrentTag()->NAME, L"甲");
  const SIZE tile32 = FirstCardSize();
  ASSERT_GT(tile32.cx, 0);

  // 甲 right-clicked, 二 hovered: 丙 is shown when 列表 is clicked.
  EXPECT_TRUE(ChooseAfterHover(0, 1, {L"open_minor_view_type", L"btn_view_tile", L"view_list"}))
      << "the hover did not replace the tag under the menu";
  EXPECT_EQ(window_->CurrentTag()->NAME, L"丙") << "the hovered group stays shown";
  EXPECT_EQ(TagNamed(L"甲")->LAYOUT, kLayoutList);
  EXPECT_EQ(TagNamed(L"丙")->LAYOUT, kLayoutTiles) << "the shown tag took the right-clicked tag's view";
  EXPECT_EQ(FirstCardSize().cx, tile32.cx) << "丙's cards changed";

  // 丙 right-clicked, 一 hovered back: 首字母 sorts 丙, not the 甲 now shown.
  EXPECT_TRUE(ChooseAfterHover(0, 0, {L"open_minor_view_sort", L"sort_initial"}));
  EXPECT_EQ(window_->CurrentTag()->NAME, L"甲");
  EXPECT_EQ(TagNamed(L"丙")->SORT, kSortByInitials);
  EXPECT_EQ(TagNamed(L"甲")->SORT, kSortByPosition);

  // 甲 again, with its own marks, and 二 hovered: 大图标 enlarges 甲 alone.
  EXPECT_TRUE(ChooseAfterHover(0, 1, {L"open_minor_icon_size", L"btn_big_icon", L"large_icon"}));
  EXPECT_EQ(TagNamed(L"甲")->ICONSIZE, kIconSize48);
  EXPECT_EQ(TagNamed(L"丙")->ICONSIZE, kIconSize32);
  EXPECT_EQ(FirstCardSize().cx, tile32.cx) << "丙's cards changed";

  // 丙 right-clicked and deleted while the menu is up: 小图标 changes no tag.
  const int32_t doomed = TagNamed(L"丙")->ID;
  bool deleted = false;
  ChooseAfterHover(0, 0, {L"open_minor_icon_size", L"small_icon"}, [&] { deleted = window_->DeleteTagWithId(doomed); });
  EXPECT_TRUE(deleted);
  EXPECT_EQ(GetLinkStore().FindGroup(doomed), nullptr);
  for (const wchar_t* name : {L"甲", L"乙"}) EXPECT_NE(TagNamed(name)->ICONSIZE, kIconSize16) << name;

  // What link.db holds, and the view of the right-clicked tag after a restart.
  Restart();
  ASSERT_EQ(TagNamed(L"丙"), nullptr);
  EXPECT_EQ(TagNamed(L"甲")->LAYOUT, kLayoutList);
  EXPECT_EQ(TagNamed(L"甲")->ICONSIZE, kIconSize48);
  EXPECT_EQ(TagNamed(L"甲")->SORT, kSortByPosition);
  EXPECT_EQ(TagNamed(L"乙")->LAYOUT, kLayoutTiles);
  EXPECT_EQ(TagNamed(L"乙")->ICONSIZE, kIconSize32);
  ShowTag(0, 0);
  const SIZE list48 = FirstCardSize();
  EXPECT_GT(list48.cx, tile32.cx) << "甲 is not shown as a list";
  EXPECT_LT(list48.cy, tile32.cy);
}

// The card menu's 删除 takes the right-clicked card's link from its own tag, even
// when a hovered group showed another tag while the menu was up; with its tag
// deleted meanwhile it takes nothing.
TEST_F(TagMenuUnderHoverTest, ACardDeletedFromItsMenuGoesFromItsOwnTagAfterAHoveredGroupReplacedIt) {
  ShowTag(0, 0);
  ASSERT_EQ(window_->CurrentTag()->NAME, L"甲");
  ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
  const int32_t doomed = TagNamed(L"甲")->links.at(0)->ID;
  const int32_t shownAfter = TagNamed(L"丙")->links.at(0)->ID;

  // 甲's card right-clicked, 二 hovered: 丙 is shown when 删除 is clicked.
  EXPECT_TRUE(ChooseOnCardAfterHover(0, 1, {L"del_link"})) << "the hover did not replace the tag under the menu";
  EXPECT_EQ(window_->CurrentTag()->NAME, L"丙");
  EXPECT_EQ(GetLinkStore().FindLink(doomed), nullptr) << "the right-clicked link stays";
  EXPECT_TRUE(TagNamed(L"甲")->links.empty());
  ASSERT_EQ(TagNamed(L"丙")->links.size(), 1u) << "the shown tag lost a link";
  EXPECT_EQ(window_->CardIndexOfLink(shownAfter), 0) << "丙's card went from the view";

  // 丙's card right-clicked, 一 hovered, 丙 deleted while the menu is up: 删除
  // finds no tag and takes nothing from any other.
  ShowTag(1, 0);
  const int32_t goneTag = TagNamed(L"丙")->ID;
  bool deleted = false;
  ChooseOnCardAfterHover(0, 0, {L"del_link"}, [&] {
    SendMessageW(hwnd_, WM_TIMER, CMainWnd::kTimerGroupHover, 0);
    deleted = window_->DeleteTagWithId(goneTag);
  });
  EXPECT_TRUE(deleted);
  ShowTag(0, 1);
  ASSERT_EQ(TagNamed(L"乙")->links.size(), 1u) << "a tag not right-clicked lost its link";

  // What link.db holds after a restart.
  Restart();
  EXPECT_EQ(GetLinkStore().FindLink(doomed), nullptr);
  EXPECT_TRUE(TagNamed(L"甲")->links.empty());
  ASSERT_NE(TagNamed(L"乙"), nullptr);
  EXPECT_EQ(TagNamed(L"乙")->links.size(), 1u);
}

}  // namespace
