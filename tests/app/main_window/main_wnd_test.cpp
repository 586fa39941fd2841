// The main window built from the embedded skin over a prepared link database:
// groups, tags and cards appear; clicks, keys and drags act on the store.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/controls/app_control_factory.h"
#include "app/controls/card_item.h"
#include "app/controls/list_item_id.h"
#include "app/desktop/window_alpha.h"
#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "data/system_links.h"
#include "data/theme_loader.h"
#include "app/search_window/notice_wnd.h"
#include "sqlite3.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/notice_test_support.h"
#include "tests/app/support/own_probe.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_ui.h"
#include "ui/controls/stock_controls.h"
#include "ui/controls/label.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/tab_box.h"

namespace {

using window_test::PaintNow;
using window_test::PumpFor;
using window_test::PumpUntil;

std::shared_ptr<Group> MakeGroup(const std::wstring& name, int type = kGroupOrdinary) {
  auto group = std::make_shared<Group>();
  group->NAME = name;
  group->TYPE = type;
  return group;
}

using pexo_test::ProbeLog;
using pexo_test::ProbePath;

// A program link to the probe, which logs the link's name as its argument.
std::shared_ptr<Link> MakeLink(const std::wstring& name) {
  auto link = std::make_shared<Link>();
  link->NAME = name;
  link->PATH = ProbePath();
  link->Parameter = L"probe-" + std::to_wstring(name.size());
  link->TYPE = kLinkProgram;
  return link;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(launcher_test::StartLauncherSkin()); }
  static void TearDownTestSuite() { launcher_test::StopLauncherSkin(); }

  void SetUp() override {
    launcher_test::RemoveStoreFiles();
    DeleteFileW(ProbeLog().c_str());
    Settings& settings = launcher_test::QuietWindowSettings();
    settings.nPosX = 40;
    settings.nPosY = 30;
    settings.nCurGroup = 0;
    settings.nCurTag = 0;
  }

  void TearDown() override {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
  }

  // Two groups: "常用" with an ordinary tag of three programs, a note tag and an
  // all-links tag; "工具" with one tag of one link.
  void PrepareStore() {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    // The new file holds a default group with one tag: fill that one.
    ASSERT_FALSE(store.topGroups.empty());
    auto first = store.topGroups[0];
    first->NAME = L"常用";
    ASSERT_TRUE(store.SaveGroup(first));
    ASSERT_FALSE(first->tags.empty());
    auto tag = first->tags[0];
    tag->NAME = L"办公";
    ASSERT_TRUE(store.SaveGroup(tag));
    for (const wchar_t* name : {L"记事本", L"计算器", L"画图"}) {
      ASSERT_TRUE(store.AddLink(tag, MakeLink(name)));
    }
    auto note = MakeGroup(L"便签", kGroupNote);
    note->Content = L"第一行";
    ASSERT_TRUE(store.AddTag(first, note));
    ASSERT_TRUE(store.SaveGroup(note));
    ASSERT_TRUE(store.AddTag(first, MakeGroup(L"全部", kGroupAllLinks)));
    auto second = MakeGroup(L"工具");
    ASSERT_TRUE(store.AddGroup(second));
    auto tools = MakeGroup(L"系统");
    ASSERT_TRUE(store.AddTag(second, tools));
    ASSERT_TRUE(store.AddLink(tools, MakeLink(L"命令行")));
    store.Close();
  }

  void Open() {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    PaintNow(hwnd_);
    PumpFor(300);
    PaintNow(hwnd_);
  }

  ui::ListContainerElement* Card(int index) {
    return dynamic_cast<ui::ListContainerElement*>(window_->LinkBox()->GetItemAt(static_cast<size_t>(index)));
  }
  std::wstring CardName(int index) {
    auto* card = dynamic_cast<CardItem*>(Card(index));
    auto* text = card ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(card->Child(L"item_text")) : nullptr;
    return text ? text->GetText() : L"";
  }
  // Moves the cursor over the card and presses and releases the left button
  // there, as the system delivers a click.
  void ClickCard(int index) {
    PaintNow(hwnd_);  // lays the cards out
    ClickMiddle(Card(index)->GetPos());
    PumpFor(50);
  }
  // The same at the middle of a client rectangle, without waiting.
  void ClickMiddle(const RECT& pos) {
    const LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    POINT screen = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    ClientToScreen(hwnd_, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(hwnd_, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd_, WM_LBUTTONUP, 0, at);
  }
  std::shared_ptr<Group> FirstTag() { return GetLinkStore().topGroups[0]->tags[0]; }

  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(MainWindowTest, ShowsGroupsTagsAndCardsPlacedFromTheSettings) {
  PrepareStore();
  GetSettings().nPosX = -50;  // pulled back onto the screen
  GetSettings().nCurTag = 7;   // out of range: the first tag
  Open();

  RECT rc = {};
  GetWindowRect(hwnd_, &rc);
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 30);
  EXPECT_EQ(rc.right - rc.left, 388);

  ASSERT_NE(window_->GroupList(), nullptr);
  ASSERT_EQ(window_->GroupList()->GetCount(), 2);
  EXPECT_EQ(window_->GroupList()->GetCurSel(), 0);
  EXPECT_EQ(window_->FindControlByName(L"major1")->GetName(), L"major1");
  ASSERT_EQ(window_->TagList()->GetCount(), 3);
  EXPECT_EQ(window_->TagList()->GetCurSel(), 0);
  EXPECT_EQ(window_->CurrentTagIndex(), 0);

  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);
  EXPECT_EQ(CardName(0), L"记事本");
  EXPECT_EQ(CardName(2), L"画图");
  const auto link = FirstTag()->links[0];
  EXPECT_EQ(Card(0)->GetName(), L"lnk" + std::to_wstring(link->ID));
  EXPECT_EQ(GetListItemId(Card(0)), link->ID);
  EXPECT_EQ(Card(0)->GetToolTipText(), L"记事本\r\n" + link->PATH + L"\r\n启动次数：0");

  // The note tag shows the editor page with its text; the all-links tag every
  // link of the group.
  window_->TagList()->SelectItem(1, false, true);
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 1);
  EXPECT_EQ(window_->NoteText(), L"第一行");
  window_->TagList()->SelectItem(2, false, true);
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 0);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 3);

  // The second group: its own tag and card; back to the first, which reopens on
  // the tag it showed last.
  window_->GroupList()->SelectItem(1, false, true);
  EXPECT_EQ(window_->TagList()->GetCount(), 1);
  ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
  EXPECT_EQ(CardName(0), L"命令行");
  window_->GroupList()->SelectItem(0, false, true);
  EXPECT_EQ(window_->TagList()->GetCurSel(), 2);

  const std::wstring picture = pexo_test::ExeFolder() + L"\\main_window.png";
  window_->TagList()->SelectItem(0, false, true);
  PaintNow(hwnd_);
  ASSERT_TRUE(window_test::SaveWindowPng(*window_, picture));
}

TEST_F(MainWindowTest, AGroupWithoutTagsShowsAnEmptyCardAreaAfterANoteAndTheNoteComesBackWhole) {
  PrepareStore();
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.AddGroup(MakeGroup(L"空组")));
    store.Close();
  }
  Open();
  SetForegroundWindow(hwnd_);
  ASSERT_EQ(window_->GroupList()->GetCount(), 3);
  auto itemPos = [](ui::ListBox* list, int index) { return list->GetItemAt(static_cast<size_t>(index))->GetPos(); };

  PaintNow(hwnd_);
  ClickMiddle(itemPos(window_->TagList(), 1));
  ASSERT_TRUE(PumpUntil([&] { return window_->NoteTagId() != 0; }, 2000)) << "the note tag is shown";
  const int noteId = window_->NoteTagId();
  ASSERT_EQ(window_->LinkTabBox()->GetCurSel(), 1);

  PaintNow(hwnd_);
  ClickMiddle(itemPos(window_->GroupList(), 2));
  ASSERT_TRUE(PumpUntil([&] { return window_->GroupList()->GetCurSel() == 2; }, 2000));
  EXPECT_EQ(window_->TagList()->GetCount(), 0);
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 0) << "the card page, not the note editor";
  EXPECT_EQ(window_->LinkBox()->GetCount(), 0);
  EXPECT_EQ(window_->NoteTagId(), 0) << "no note is open for editing";
  EXPECT_EQ(GetLinkStore().FindGroup(noteId)->Content, L"第一行") << "leaving the note stored nothing else";

  PaintNow(hwnd_);
  ClickMiddle(itemPos(window_->GroupList(), 0));
  ASSERT_TRUE(PumpUntil([&] { return window_->NoteTagId() == noteId; }, 2000)) << "the group reopens on its note";
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 1);
  ASSERT_TRUE(PumpUntil([&] { return window_->NoteText() == L"第一行"; }, 2000)) << window_->NoteText().size();
}

TEST_F(MainWindowTest, ACardClickCountsTheRunAndAResortedTagFollowsTheCount) {
  PrepareStore();
  Open();
  auto tag = FirstTag();
  ASSERT_TRUE(GetLinkStore().SetGroupSort(tag, kSortByRunCount));
  window_->OnTagSelect(nullptr);
  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);
  const std::wstring last = CardName(2);

  // A click on the last card through the window's mouse messages.
  ClickCard(2);
  PumpUntil([&] { return CardName(0) == last; }, 2000);

  EXPECT_EQ(CardName(0), last) << "the clicked link has the highest run count now";
  std::shared_ptr<Link> clicked;
  for (const auto& link : tag->links) {
    if (link->NAME == last) clicked = link;
  }
  ASSERT_NE(clicked, nullptr);
  EXPECT_EQ(clicked->RunCount, 1);
  EXPECT_TRUE(Card(0)->GetToolTipText().ends_with(L"\r\n启动次数：1")) << "the rebuilt card shows the new count";
  // The launch thread started the probe.
  EXPECT_TRUE(PumpUntil([] { return pexo_test::ReadFileBytes(ProbeLog()).find("probe-") != std::string::npos; },
                        10000));
  // The count is stored: a fresh load reads it.
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  EXPECT_EQ(reloaded.FindLink(clicked->ID)->RunCount, 1);
}

TEST_F(MainWindowTest, ACardWhoseTargetIsGoneShowsANoticeNamingIt) {
  PrepareStore();
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto gone = MakeLink(L"旧工具");
    gone->PATH = L"C:\\no\\such\\tool.exe";
    ASSERT_TRUE(store.AddLink(store.topGroups[0]->tags[0], gone));
    store.Close();
  }
  Open();
  ASSERT_EQ(window_->LinkBox()->GetCount(), 4);
  ASSERT_EQ(CardName(3), L"旧工具");
  ClickCard(3);
  EXPECT_TRUE(PumpUntil([&] { return window_->LastNotice() == L"无法打开 旧工具"; }, 10000))
      << "the launch thread's refusal reaches the window";
  ui::Control* tip = window_->FindControlByName(L"tips");
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return tip->IsVisible(); }, 2000)) << "the notice is shown";
  notice_test::ExpectCentredAcrossWindow(*window_, tip);
}

// Every notice of the notice line is drawn centred across the window, a short one
// and a long one alike, not as wide as its text at the left edge.
TEST_F(MainWindowTest, NoticesAreDrawnCentredAcrossTheWindow) {
  PrepareStore();
  Open();
  ui::Control* tip = window_->FindControlByName(L"tips");
  ASSERT_NE(tip, nullptr);
  for (const wchar_t* text : {L"保存失败，请检查数据库文件", L"特殊标签不能删除", L"无法打开 旧工具"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
    window_->ShowNotice(text);
    ASSERT_TRUE(PumpUntil([&] { return tip->IsVisible(); }, 2000));
    notice_test::ExpectCentredAcrossWindow(*window_, tip);
  }
}

// A card started with "bHideAfterLink" hides the window before the system
// answers: its refusal is told in the notice window where the search window
// stands, not in the hidden window's notice line.
TEST_F(MainWindowTest, ARefusedCardLaunchOfAWindowThatHidLaterIsToldInTheNoticeWindow) {
  PrepareStore();
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto gone = MakeLink(L"旧工具");
    gone->PATH = L"C:\\no\\such\\tool.exe";
    ASSERT_TRUE(store.AddLink(store.topGroups[0]->tags[0], gone));
    store.Close();
  }
  GetSettings().bHideAfterLink = true;
  GetSettings().bSaveRunCount = true;
  Open();
  ASSERT_TRUE(PumpUntil([&] { return window_->SearchWindow() != nullptr; }, 5000)) << "no search window";
  ASSERT_EQ(CardName(3), L"旧工具");
  ClickCard(3);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(hwnd_); }, 5000)) << "the window did not hide after the launch";
  CSearchWnd* search = window_->SearchWindow();
  EXPECT_TRUE(PumpUntil(
      [&] {
        CNoticeWnd* notice = search->Notice();
        return notice && IsWindowVisible(notice->GetHWND()) && notice->Text() == L"无法打开 旧工具";
      },
      10000))
      << "the refusal is not told; the last notice: " << testing::PrintToString(window_->LastNotice());
  EXPECT_FALSE(window_->FindControlByName(L"tips")->IsVisible()) << "told in the hidden window";
  EXPECT_FALSE(IsWindowVisible(search->GetHWND())) << "the search window stays hidden";
  EXPECT_EQ(FirstTag()->links.back()->RunCount, 1) << "counted as every card click is";
}

TEST_F(MainWindowTest, DoubleClickModeIgnoresSingleClicksAndAltOpensPropertiesWithoutCounting) {
  PrepareStore();
  GetSettings().bDoubleClick = true;
  Open();
  auto link = FirstTag()->links[0];
  window_->SendControlEvent(Card(0), ui::click);
  EXPECT_EQ(link->RunCount, 0);
  window_->SendControlEvent(Card(0), ui::doubleclick);
  EXPECT_EQ(link->RunCount, 1);
}

TEST_F(MainWindowTest, ACardDroppedOnAnotherReordersTheTagAndSortedTagsRefuse) {
  PrepareStore();
  Open();
  auto tag = FirstTag();
  const int firstId = tag->links[0]->ID;
  // Press the first card, enter the third, release.
  window_->SendControlEvent(Card(0), ui::buttondown);
  window_->SendControlEvent(Card(2), ui::mouseenter);
  window_->SendControlEvent(Card(0), ui::buttonup);
  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);
  EXPECT_EQ(GetListItemId(Card(2)), firstId);
  EXPECT_EQ(tag->links[2]->ID, firstId);
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  EXPECT_EQ(reloaded.topGroups[0]->tags[0]->links[2]->ID, firstId);

  // Released on itself: nothing moves.
  window_->SendControlEvent(Card(1), ui::buttondown);
  window_->SendControlEvent(Card(1), ui::buttonup);
  EXPECT_EQ(GetListItemId(Card(2)), firstId);

  ASSERT_TRUE(GetLinkStore().SetGroupSort(tag, kSortByInitials));
  window_->OnTagSelect(nullptr);
  window_->SendControlEvent(Card(0), ui::buttondown);
  window_->SendControlEvent(Card(1), ui::mouseenter);
  window_->SendControlEvent(Card(0), ui::buttonup);
  EXPECT_EQ(window_->LastNotice(), L"标签页为排序模式，不可拖拽排序");

  window_->TagList()->SelectItem(2, false, true);  // the all-links tag
  window_->SendControlEvent(Card(0), ui::buttondown);
  window_->SendControlEvent(Card(1), ui::mouseenter);
  window_->SendControlEvent(Card(0), ui::buttonup);
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不可排序");
}

TEST_F(MainWindowTest, ShiftArrowsMoveGroupsAndTagsAndTheIndexesFollow) {
  PrepareStore();
  Open();
  auto* groups = window_->GroupList();
  auto* firstItem = groups->GetItemAt(0);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = keys[VK_RIGHT] = 0x80;
  SetKeyboardState(keys);
  window_->SendControlEvent(firstItem, ui::keydown, VK_RIGHT);
  keys[VK_SHIFT] = keys[VK_RIGHT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetLinkStore().topGroups[1]->NAME, L"常用");
  EXPECT_EQ(groups->GetItemAt(1), firstItem);
  EXPECT_EQ(groups->GetCurSel(), 1);
  EXPECT_EQ(window_->CurrentGroupIndex(), 1) << "the stored index follows the moved group";

  // Shift+Down on the last tag does nothing; on the first it moves it.
  ASSERT_EQ(window_->TagList()->GetCount(), 3) << "the tag list still shows the moved group's tags";
  window_->TagList()->SelectItem(0, false, true);

  auto* tagItem = window_->TagList()->GetItemAt(0);
  keys[VK_SHIFT] = keys[VK_DOWN] = 0x80;
  SetKeyboardState(keys);
  window_->SendControlEvent(tagItem, ui::keydown, VK_DOWN);
  window_->SendControlEvent(window_->TagList()->GetItemAt(2), ui::keydown, VK_DOWN);
  keys[VK_SHIFT] = keys[VK_DOWN] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetLinkStore().topGroups[1]->tags[1]->NAME, L"办公");
  EXPECT_EQ(window_->TagList()->GetItemAt(1), tagItem);
  EXPECT_EQ(window_->CurrentTagIndex(), 1);
  // The view still shows the moved tag's cards.
  window_->OnTagSelect(nullptr);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 3);
}

TEST_F(MainWindowTest, ANoteIsSavedIntoTheTagItWasFilledFrom) {
  PrepareStore();
  Open();
  window_->TagList()->SelectItem(1, false, true);
  const int noteId = window_->NoteTagId();
  ASSERT_NE(noteId, 0);
  // Typed over, as the user replaces the note's text.
  auto type = [this](const wchar_t* text) {
    auto* editor = dynamic_cast<ui::RichEdit*>(window_->NoteEditor());
    ASSERT_NE(editor, nullptr);
    editor->SetSelAll();
    editor->ReplaceSel(text, true);
  };
  type(L"新的内容");
  window_->SendControlEvent(window_->NoteEditor(), ui::killfocus);
  EXPECT_EQ(GetLinkStore().FindGroup(noteId)->Content, L"新的内容");

  // Ctrl+S after the tag list moved on still saves into the note shown.
  type(L"再改");
  window_->TagList()->SelectItem(0, false, false);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys['S'] = 0x80;
  SetKeyboardState(keys);
  window_->SendControlEvent(window_->NoteEditor(), ui::keydown, 'S');
  keys[VK_CONTROL] = keys['S'] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetLinkStore().FindGroup(noteId)->Content, L"再改");
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  EXPECT_EQ(reloaded.FindGroup(noteId)->Content, L"再改");
}

// The note as the next start reads it from link.db.
std::wstring StoredNote(int noteId) {
  LinkStore reloaded;
  if (!reloaded.Open(DefaultLinkDbPath())) return L"(no store)";
  auto note = reloaded.FindGroup(noteId);
  return note ? note->Content : L"(no note)";
}

bool Holds(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

TEST_F(MainWindowTest, ATypedNoteIsStoredWhenAHoveredTagOrGroupReplacesItAndWhenTheCloseButtonHides) {
  PrepareStore();
  Settings& settings = GetSettings();
  settings.bMouseEnterActiveTag = true;
  settings.nActiveTagDelay = 0;
  settings.bMouseEnterActiveGroup = true;
  settings.nActiveGroupDelay = 0;
  Open();
  SetForegroundWindow(hwnd_);
  auto itemPos = [](ui::ListBox* list, int index) { return list->GetItemAt(static_cast<size_t>(index))->GetPos(); };
  // The pointer comes to rest on an item: hovering shows it without a click.
  auto hover = [this](const RECT& pos) {
    const POINT at = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    POINT screen = at;
    ClientToScreen(hwnd_, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x + 1, at.y));
    PostMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PumpFor(150);
  };
  auto typeInNote = [this](const std::wstring& text) {
    PaintNow(hwnd_);
    ClickMiddle(window_->NoteEditor()->GetPos());
    PumpFor(100);
    for (wchar_t ch : text) PostMessageW(hwnd_, WM_CHAR, ch, 1);
    PumpFor(150);
  };

  ClickMiddle(itemPos(window_->TagList(), 1));
  ASSERT_TRUE(PumpUntil([&] { return window_->NoteTagId() != 0; }, 2000)) << "the note tag is shown";
  const int noteId = window_->NoteTagId();
  typeInNote(L"甲记");
  ASSERT_TRUE(Holds(window_->NoteText(), L"甲记")) << "typed into the note";

  // Another tag hovered: the note is left while its editor keeps the focus.
  hover(itemPos(window_->TagList(), 0));
  ASSERT_EQ(window_->TagList()->GetCurSel(), 0);
  EXPECT_TRUE(Holds(StoredNote(noteId), L"甲记")) << StoredNote(noteId).size();

  // The note again, then another group hovered.
  hover(itemPos(window_->TagList(), 1));
  ASSERT_EQ(window_->NoteTagId(), noteId);
  typeInNote(L"乙记");
  hover(itemPos(window_->GroupList(), 1));
  ASSERT_EQ(window_->GroupList()->GetCurSel(), 1);
  EXPECT_TRUE(Holds(StoredNote(noteId), L"乙记"));

  // Back in the first group its note is shown again; the close button hides the window.
  hover(itemPos(window_->GroupList(), 0));
  ASSERT_EQ(window_->NoteTagId(), noteId) << "the group reopens on its note";
  typeInNote(L"丙记");
  PaintNow(hwnd_);
  ClickMiddle(window_->FindControlByName(L"btn_close")->GetPos());
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(hwnd_); }, 2000)) << "the close button hides";
  EXPECT_TRUE(Holds(StoredNote(noteId), L"丙记"));
  const std::wstring stored = StoredNote(noteId);
  EXPECT_TRUE(Holds(stored, L"第一行") && Holds(stored, L"甲记") && Holds(stored, L"乙记")) << "nothing before is lost";
}

// A note the store refused while another connection held link.db is kept with
// its tag; deleting the tag takes the kept text along, and nothing shows it again.
TEST_F(MainWindowTest, ANoteKeptFromARefusedSaveGoesWithItsDeletedTag) {
  PrepareStore();
  GetSettings().bDelConfirm = false;
  Open();
  auto itemPos = [](ui::ListBox* list, int index) { return list->GetItemAt(static_cast<size_t>(index))->GetPos(); };
  ClickMiddle(itemPos(window_->TagList(), 1));
  ASSERT_TRUE(PumpUntil([&] { return window_->NoteTagId() != 0; }, 2000)) << "the note tag is shown";
  const int noteId = window_->NoteTagId();
  PaintNow(hwnd_);
  ClickMiddle(window_->NoteEditor()->GetPos());
  PumpFor(100);
  PostMessageW(hwnd_, WM_CHAR, L'甲', 1);
  ASSERT_TRUE(PumpUntil([&] { return Holds(window_->NoteText(), L"甲"); }, 2000)) << "typed into the note";
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open16(DefaultLinkDbPath().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  ClickMiddle(itemPos(window_->TagList(), 0));
  ASSERT_TRUE(PumpUntil([&] { return window_->TagList()->GetCurSel() == 0; }, 2000));
  EXPECT_TRUE(window_->HasUnsavedNote(noteId));
  EXPECT_EQ(window_->LastNotice(), L"保存失败，请检查数据库文件");
  // Refused again while the file is held: the delete changes nothing and keeps the text.
  EXPECT_FALSE(window_->DeleteTagWithId(noteId));
  EXPECT_TRUE(window_->HasUnsavedNote(noteId));
  ASSERT_EQ(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);

  EXPECT_TRUE(window_->DeleteTagWithId(noteId));
  EXPECT_FALSE(window_->HasUnsavedNote(noteId)) << "the text of a deleted tag stayed";
  ASSERT_TRUE(window_->AddSpecialTag(
      kGroupNote, GetLinkStore().topGroups.at(static_cast<size_t>(window_->CurrentGroupIndex()))->ID));
  ASSERT_TRUE(PumpUntil([&] { return window_->NoteTagId() != 0; }, 2000)) << "the new note tag is shown";
  EXPECT_NE(window_->NoteTagId(), noteId);
  EXPECT_EQ(window_->NoteText(), L"") << "a new note shows nothing of the deleted one";
  EXPECT_EQ(StoredNote(noteId), L"(no note)");
}

TEST_F(MainWindowTest, HoverActivationSelectsAtOnceOrAfterTheDelay) {
  PrepareStore();
  GetSettings().bMouseEnterActiveGroup = true;
  GetSettings().nActiveGroupDelay = 0;
  GetSettings().bMouseEnterActiveTag = true;
  GetSettings().nActiveTagDelay = 200;
  Open();
  window_->SendControlEvent(window_->GroupList()->GetItemAt(1), ui::mouseenter);
  EXPECT_EQ(window_->GroupList()->GetCurSel(), 1);
  window_->GroupList()->SelectItem(0, false, true);
  window_->SendControlEvent(window_->TagList()->GetItemAt(2), ui::mouseenter);
  window_->SendControlEvent(window_->TagList()->GetItemAt(2), ui::mouseleave);
  EXPECT_EQ(window_->TagList()->GetCurSel(), 0);
  EXPECT_TRUE(PumpUntil([&] { return window_->TagList()->GetCurSel() == 2; }, 2000));
}

TEST_F(MainWindowTest, TheMenuFileGivesEveryLevelAndTheBuiltInFunctionsAndThemesAreListed) {
  PrepareStore();
  const std::wstring themes = pexo_test::ExeFolder() + L"\\theme\\";
  CreateDirectoryW(themes.c_str(), nullptr);
  for (const wchar_t* file : {L"blue.xml", L"dark.xml", L"gray.xml"}) {
    CopyFileW(pexo_test::DataFile(std::wstring(L"../../theme/") + file).c_str(), (themes + file).c_str(), FALSE);
  }
  Open();
  ui::CMenuMgr* menus = window_->Menus();
  ASSERT_NE(menus, nullptr);
  for (const wchar_t* level :
       {L"main_menu", L"tray_menu", L"menu_sysfunc", L"menu_skin", L"linkbox", L"icon_size", L"view_type", L"view_sort",
        L"menu_linkbox_item", L"menu_move_gp", L"menu_copy_gp", L"menu_link_move", L"menu_link_copy", L"major_group",
        L"major_group_item", L"minor_group", L"minor_group_item", L"menu_tag_move", L"minor_icon_size",
        L"minor_view_type", L"minor_view_sort"}) {
    EXPECT_NE(menus->FindMenu(level), nullptr) << level;
  }
  ui::CMenuUI* functions = menus->FindMenu(L"menu_sysfunc");
  ASSERT_EQ(functions->GetCount(), static_cast<int>(SystemLinkTable().size()));
  for (int row = 0; row < functions->GetCount(); ++row) {
    auto* item = dynamic_cast<ui::CMenuItem*>(functions->GetItemAt(static_cast<size_t>(row)));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetName(), L"SysFunc");
    EXPECT_EQ(item->GetItemId(), row);
  }
  ui::CMenuUI* skins = menus->FindMenu(L"menu_skin");
  ASSERT_GE(skins->GetCount(), 3);
  for (int i = 0; i < skins->GetCount(); ++i) {
    auto* item = dynamic_cast<ui::Box*>(skins->GetItemAt(static_cast<size_t>(i)));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetName(), L"MenuSkinItem");
    auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(item->FindChildByName(L"MenuItemText"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->GetText().ends_with(L".xml"));
  }
}

// Pictures of the window for people: each view and icon size, and two themes.
TEST_F(MainWindowTest, SavesPicturesOfTheViewsAndThemes) {
  {
    CreateDirectoryW((pexo_test::ExeFolder() + L"\\db").c_str(), nullptr);
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups[0];
    group->NAME = L"常用";
    ASSERT_TRUE(store.SaveGroup(group));
    auto tag = group->tags[0];
    tag->NAME = L"日常工具";
    ASSERT_TRUE(store.SaveGroup(tag));
    const std::pair<const wchar_t*, const wchar_t*> links[] = {
        {L"记事本", L"C:\\windows\\notepad.exe"},         {L"命令提示符", L"C:\\windows\\system32\\cmd.exe"},
        {L"注册表编辑器", L"C:\\windows\\regedit.exe"},   {L"任务管理器", L"C:\\windows\\system32\\taskmgr.exe"},
        {L"写字板", L"C:\\windows\\system32\\write.exe"}, {L"控制面板", L"C:\\windows\\system32\\control.exe"},
        {L"资源管理器", L"C:\\windows\\explorer.exe"},    {L"Windows 文件夹", L"C:\\windows"}};
    for (const auto& [name, path] : links) {
      auto link = std::make_shared<Link>();
      link->NAME = name;
      link->PATH = path;
      link->TYPE = std::wstring(path) == L"C:\\windows" ? kLinkFolder : kLinkProgram;
      ASSERT_TRUE(store.AddLink(tag, link));
    }
    tag->links[2]->CustomColor = L"#FFD9480F";
    ASSERT_TRUE(store.SaveLink(tag->links[2]));
    ASSERT_TRUE(store.AddTag(group, MakeGroup(L"开发")));
    ASSERT_TRUE(store.AddTag(group, MakeGroup(L"便签", kGroupNote)));
    ASSERT_TRUE(store.AddTag(group, MakeGroup(L"全部", kGroupAllLinks)));
    for (const wchar_t* name : {L"办公", L"娱乐", L"网站"}) {
      auto other = MakeGroup(name);
      ASSERT_TRUE(store.AddGroup(other));
      ASSERT_TRUE(store.AddTag(other, MakeGroup(L"默认")));
    }
    store.Close();
  }
  Open();
  const std::wstring pictures = pexo_test::PictureFolder();
  // The cursor is shared with the other tests, and a test that clicked the title
  // bar's buttons leaves it where this window's close button now lies: a hovered
  // control would show in the pictures, so it waits outside the window.
  RECT bounds{};
  GetWindowRect(hwnd_, &bounds);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  SetCursorPos(bounds.right + 40 < screenWidth ? bounds.right + 40 : bounds.left - 40, bounds.bottom + 40);
  auto save = [&](const wchar_t* name) {
    window_->OnTagSelect(nullptr);
    PaintNow(hwnd_);
    PumpFor(350);  // fades end
    PaintNow(hwnd_);
    EXPECT_TRUE(window_test::SaveWindowPng(*window_, pictures + name)) << name;
  };
  LinkStore& store = GetLinkStore();
  const struct {
    int layout;
    int size;
    const wchar_t* file;
  } views[] = {{kLayoutTiles, kIconSize32, L"main_tiles32.png"}, {kLayoutTiles, kIconSize16, L"main_tiles16.png"},
               {kLayoutTiles, kIconSize48, L"main_tiles48.png"}, {kLayoutList, kIconSize32, L"main_list32.png"},
               {kLayoutList, kIconSize16, L"main_list16.png"},   {kLayoutList, kIconSize48, L"main_list48.png"}};
  for (const auto& view : views) {
    ASSERT_TRUE(store.SetAllLayout(view.layout));
    ASSERT_TRUE(store.SetAllIconSize(view.size));
    save(view.file);
  }
  ASSERT_TRUE(store.SetAllLayout(kLayoutTiles));
  ASSERT_TRUE(store.SetAllIconSize(kIconSize32));
  // The themes redefine the palette by name; the window takes them at its next paint.
  const std::wstring themes = pexo_test::ExeFolder() + L"\\theme";
  CreateDirectoryW(themes.c_str(), nullptr);
  for (const wchar_t* theme : {L"blue", L"dark"}) {
    const std::wstring file = std::wstring(theme) + L".xml";
    ASSERT_TRUE(CopyFileW(pexo_test::DataFile(L"../../theme/" + file).c_str(), (themes + L"\\" + file).c_str(), FALSE));
    ASSERT_TRUE(LoadTheme(theme));
    save((L"main_theme_" + file.substr(0, file.size() - 4) + L".png").c_str());
  }
}

TEST(MainWindowRules, AlphaIsNeverBelowHalfAndPlacementStaysOnScreen) {
  EXPECT_EQ(EffectiveAlpha(0), 128);
  EXPECT_EQ(EffectiveAlpha(127), 128);
  EXPECT_EQ(EffectiveAlpha(200), 200);
  EXPECT_EQ(EffectiveAlpha(999), 255);
  POINT pt = CMainWnd::ClampedPosition(2000, 10, 388, 640, 1920, 1080);
  EXPECT_EQ(pt.x, 1532);
  EXPECT_EQ(pt.y, 10);
  pt = CMainWnd::ClampedPosition(-5, 900, 388, 640, 1920, 1080);
  EXPECT_EQ(pt.x, 0);
  EXPECT_EQ(pt.y, 440);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TheSearchButtonBringsUpTheSearchWindowWhichGoesWithTheMainWindow) {
  PrepareStore();
  GetSettings().nSearchX = 300;
  GetSettings().nSearchY = 200;
  Open();
  // Made hidden at its place by the set-up's last steps, before any input.
  ASSERT_NE(window_->SearchWindow(), nullptr) << "no search window after the start";
  EXPECT_FALSE(IsWindowVisible(window_->SearchWindow()->GetHWND()));
  CSearchWnd* madeAtStart = window_->SearchWindow();

  PaintNow(hwnd_);
  ClickMiddle(window_->FindControlByName(L"btn_search")->GetPos());
  PumpUntil([&] { return window_->SearchWindow() && IsWindowVisible(window_->SearchWindow()->GetHWND()); }, 2000);
  CSearchWnd* search = window_->SearchWindow();
  ASSERT_EQ(search, madeAtStart) << "the button made another one";
  HWND searchHwnd = search->GetHWND();
  EXPECT_TRUE(IsWindowVisible(searchHwnd));
  RECT placed = {};
  GetWindowRect(searchHwnd, &placed);
  EXPECT_EQ(placed.left, 300);
  EXPECT_EQ(placed.top, 200);
  // Shown again, it is the same window.
  ShowWindow(searchHwnd, SW_HIDE);
  ClickMiddle(window_->FindControlByName(L"btn_search")->GetPos());
  EXPECT_EQ(window_->SearchWindow(), search);
  PumpUntil([&] { return IsWindowVisible(searchHwnd) != FALSE; }, 2000);
  EXPECT_TRUE(IsWindowVisible(searchHwnd));

  DestroyWindow(hwnd_);
  PumpFor(50);
  EXPECT_FALSE(IsWindow(searchHwnd));
  window_ = nullptr;
}

}  // namespace
