// The search popup driven by real keys and clicks under a display: local links
// first, then the file-search service's results (from the project's stand-in
// service), launching, hiding, and a service that never answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "app/controls/search_list_box.h"
#include "app/search_window/notice_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/initials.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "data/theme_loader.h"
#include "tests/search_client/fake_search_service.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/app/support/notice_test_support.h"
#include "tests/app/support/own_probe.h"
#include "tests/app/support/real_mouse.h"
#include "tests/support/clipboard_text.h"
#include "tests/support/scaled_suite.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/controls/menu_wnd.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/scroll_bar.h"

namespace {

using search_test::FakeEntry;
using search_test::FakeSearchService;
using window_test::PaintNow;
using window_test::PumpFor;
using window_test::PumpUntil;

using pexo_test::ProbeLog;
using pexo_test::ProbePath;

// The probe writes its line in one go; a file without a whole line is one it is
// still writing.
bool ProbeLineWritten() { return pexo_test::ReadFileBytes(ProbeLog()).find('\n') != std::string::npos; }

std::string Utf8(const std::wstring& text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
  return out;
}

// The search window the keys are typed into. A window that another test shows
// meanwhile can take the foreground (tests run side by side): it is given back
// before each key, as the user would click the search window again.
CSearchWnd*& Typist() {
  static CSearchWnd* window = nullptr;
  return window;
}

bool TypistVisible() { return Typist() && IsWindow(Typist()->GetHWND()) && IsWindowVisible(Typist()->GetHWND()); }

void PressKey(WORD vk, bool shift = false) {
  if (TypistVisible() && GetForegroundWindow() != Typist()->GetHWND()) {
    SetForegroundWindow(Typist()->GetHWND());
    PumpFor(30);
  }
  std::vector<INPUT> inputs;
  auto add = [&](WORD key, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  if (shift) add(VK_SHIFT, false);
  add(vk, false);
  add(vk, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpFor(60);
}

// Each letter is typed once the one before has reached the search box: real
// input takes longer to arrive on a busy machine.
void TypeText(const std::string& letters) {
  for (char ch : letters) {
    const bool waited = TypistVisible();
    const size_t before = waited ? Typist()->SearchEdit()->GetText().size() : 0;
    PressKey(ch == '-' ? VK_OEM_MINUS : static_cast<WORD>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch));
    if (waited) PumpUntil([&] { return Typist()->SearchEdit()->GetText().size() > before; }, 2000);
  }
}

// Each event carries its point, as a real mouse's do (see real_mouse.h).
void ClickAt(POINT at) {
  SetCursorPos(at.x, at.y);
  real_mouse::SendAt(at, 0);
  real_mouse::SendAt(at, MOUSEEVENTF_LEFTDOWN);
  real_mouse::SendAt(at, MOUSEEVENTF_LEFTUP);
  PumpFor(100);
}

class SearchWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(launcher_test::StartLauncherSkin()); }
  static void TearDownTestSuite() { launcher_test::StopLauncherSkin(); }

  void SetUp() override {
    DeleteFileW(ProbeLog().c_str());
    Settings& settings = GetSettings();
    settings = Settings();
    settings.bOpenFileSearch = true;
    settings.bSaveRunCount = false;
    settings.bShowTooltip = true;
    settings.bRunCount = true;
    BuildStore();
  }

  void TearDown() override {
    Typist() = nullptr;
    RemoveSearchMouseHook();
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpFor(50);
    GetLinkStore().Close();
  }

  // One group with a tag of four links; "jisuanqi" matches the text "js".
  void BuildStore() {
    LinkStore& store = GetLinkStore();
    auto group = std::make_shared<Group>();
    group->ID = ++store.maxGroupId;
    group->NAME = L"常用";
    store.topGroups.push_back(group);
    store.groupsById[group->ID] = group;
    auto tag = std::make_shared<Group>();
    tag->ID = ++store.maxGroupId;
    tag->ParentGroup = group->ID;
    tag->NAME = L"工具";
    group->tags.push_back(tag);
    store.groupsById[tag->ID] = tag;
    const std::pair<const wchar_t*, int> links[] = {{L"计算器", 2}, {L"记事本", 9}, {L"画图", 1}, {L"JS 控制台", 4}};
    for (const auto& [name, runs] : links) AddProbeLink(*tag, name, runs);
  }
  // A program link in `tag` that starts the probe with its own ID.
  static std::shared_ptr<Link> AddProbeLink(Group& tag, const std::wstring& name, int runs) {
    LinkStore& store = GetLinkStore();
    auto link = std::make_shared<Link>();
    link->ID = ++store.maxLinkId;
    link->ParentGroup = tag.ID;
    link->group = store.FindGroup(tag.ID);
    link->NAME = name;
    link->RunCount = runs;
    link->TYPE = kLinkProgram;
    link->PATH = ProbePath();
    link->Parameter = L"probe-" + std::to_wstring(link->ID);
    link->nameInitials = MakeInitialsKey(name);
    tag.links.push_back(link);
    store.linksById[link->ID] = link;
    return link;
  }

  void Open() {
    window_ = new CSearchWnd;
    hwnd_ = window_->Create(GetDesktopWindow(), L"PexoWnd", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_LAYERED, true);
    ASSERT_NE(hwnd_, nullptr);
    Typist() = window_;
    SetWindowPos(hwnd_, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    InstallSearchMouseHook(hwnd_);
    window_->BringUp();
    PumpFor(150);
    PaintNow(hwnd_);
  }

  std::wstring RowText(int index, const wchar_t* child = L"item_text") {
    auto* row = dynamic_cast<ui::ListContainerElement*>(window_->ResultList()->GetItemAt(static_cast<size_t>(index)));
    auto* label = row ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(row->FindChildByName(child)) : nullptr;
    return label ? label->GetText() : L"<none>";
  }
  int WindowHeight() {
    RECT rc = window_->GetWindowRectWithoutShadow(false);
    return rc.bottom - rc.top;
  }
  // The pixels of the list's row `index` as drawn now, left of the scroll bar.
  std::vector<DWORD> RowPicture(int index) {
    ui::SearchListBox* list = window_->ResultList();
    const RECT row = list->GetItemAt(static_cast<size_t>(index))->GetPos();
    const int top = row.top - list->GetScrollPos().cy;
    std::vector<DWORD> pixels;
    for (int y = top; y < top + (row.bottom - row.top); ++y) {
      for (int x = row.left; x < row.right - 16; ++x) pixels.push_back(window_test::PixelAt(window_->GetRenderContext(), x, y));
    }
    return pixels;
  }
  // The pixels of the whole result list as drawn now.
  std::vector<DWORD> ListPicture() {
    const RECT area = window_->ResultList()->GetPos();
    std::vector<DWORD> pixels;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) pixels.push_back(window_test::PixelAt(window_->GetRenderContext(), x, y));
    }
    return pixels;
  }
  // A key repaints only the rows it changed: the list must then look as it does
  // when the whole window is painted again.
  void ExpectListAsWhollyRepainted() {
    const std::vector<DWORD> painted = ListPicture();
    InvalidateRect(hwnd_, nullptr, FALSE);
    PaintNow(hwnd_);
    EXPECT_TRUE(ListPicture() == painted) << "a row kept from the previous text shows something else";
  }

  CSearchWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(SearchWindowTest, TypingShowsLocalLinksByRunCountThenServiceResultsOnce) {
  FakeSearchService service;
  // The reply comes after the query was answered, so the first letter's reply
  // arrives while the second letter's query is current and must be dropped.
  service.SetReplyMode(FakeSearchService::ReplyMode::kAfterSending);
  CreateDirectoryW((pexo_test::ExeFolder() + L"\\js-tools").c_str(), nullptr);
  service.SetCatalogue({{L"js-notes.txt", L"C:\\users\\docs"}, {L"js-tools", pexo_test::ExeFolder(), 0x1}});
  Open();
  EXPECT_EQ(WindowHeight(), CSearchWnd::kEditBand);

  TypeText("js");
  ASSERT_EQ(window_->SearchEdit()->GetText(), L"js");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 5; }));
  PumpFor(150);
  // Local matches (记事本 and 计算器 by initials, "JS 控制台" by name), most run first.
  ASSERT_EQ(window_->ResultCount(), 5u) << "a stale reply added rows twice";
  EXPECT_EQ(RowText(0), L"记事本");
  EXPECT_EQ(RowText(1), L"JS 控制台");
  EXPECT_EQ(RowText(2), L"计算器");
  EXPECT_EQ(RowText(3), L"js-notes.txt");
  EXPECT_EQ(RowText(4), L"js-tools");
  EXPECT_EQ(window_->Result(4)->ICON, L"#dir") << "a folder shows the folder icon";
  EXPECT_EQ(window_->Result(3)->PATH, L"C:\\users\\docs\\js-notes.txt");
  EXPECT_EQ(window_->Result(3)->CustomColor, CSearchWnd::kServiceColor);
  EXPECT_EQ(window_->Result(3)->TYPE, kLinkFile);
  EXPECT_EQ(window_->Result(3)->ParentGroup, 0);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 0);
  PaintNow(hwnd_);
  {
    auto* row = dynamic_cast<ui::Box*>(window_->ResultList()->GetItemAt(3));
    const RECT text = row->FindChildByName(L"item_text")->GetPos();
    EXPECT_GT(text.right - text.left, 60) << "a service row's name is laid out";
    const RECT desc = row->FindChildByName(L"item_desc")->GetPos();
    EXPECT_EQ(desc.right - desc.left, 0);
  }
  EXPECT_EQ(WindowHeight(), CSearchWnd::kEditBand + 5 * CSearchWnd::kRowHeight);

  // The service was asked with the text as typed and 32 minus the local matches.
  const auto queries = service.queries();
  ASSERT_FALSE(queries.empty());
  EXPECT_EQ(queries.back().text, L"js");
  EXPECT_EQ(queries.back().max_results, 29u);

  // Tooltips: a local row names its tag and run count, a service row only its path.
  auto* local = window_->ResultList()->GetItemAt(0);
  EXPECT_EQ(local->GetToolTipText(), L"常用 > 工具\r\n记事本\r\n" + ProbePath() + L"\r\n启动次数：9");
  EXPECT_EQ(window_->ResultList()->GetItemAt(3)->GetToolTipText(), L"C:\\users\\docs\\js-notes.txt\r\n");

  // Arrow keys move the selection while the caret stays in the edit; Tab wraps.
  PressKey(VK_UP);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 0);
  PressKey(VK_DOWN);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 1);
  PressKey(VK_END);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 4);
  PressKey(VK_DOWN);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 4);
  PressKey(VK_TAB);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 0);
  PressKey(VK_TAB, true);
  EXPECT_EQ(window_->ResultList()->GetCurSel(), 4);
  EXPECT_EQ(window_->GetFocusControl(), window_->SearchEdit());

  const std::wstring picture = pexo_test::PictureFolder() + L"search_window.png";
  PaintNow(hwnd_);
  ASSERT_TRUE(window_test::SaveWindowPng(*window_, picture));

  // Deleting the text empties the list and shrinks the window to its band.
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  EXPECT_EQ(window_->ResultCount(), 0u);
  EXPECT_EQ(WindowHeight(), CSearchWnd::kEditBand);
  EXPECT_TRUE(service.faults().empty());
}

// The rows of the previous text are refilled for the next one, and the rows of
// an emptied text wait for the next search. Rows that showed service results and
// now show local links take back the remark, the colour and the tooltip of a
// local row, and a row that was selected comes back unselected: each row looks
// as it does in a new window's first search.
TEST_F(SearchWindowTest, RefilledAndSparedRowsLookAsInANewWindow) {
  Group& tag = *GetLinkStore().topGroups[0]->tags[0];
  AddProbeLink(tag, L"Jar 打包", 1)->CustomColor = L"#FFCC3300";
  tag.links.back()->Remark = L"打包成 jar";
  AddProbeLink(tag, L"Jpeg 查看器", 0)->Remark = L"看图";
  FakeSearchService service;
  service.SetCatalogue({{L"js-notes.txt", L"C:\\users\\docs"}, {L"js-tools.txt", L"C:\\users\\docs"}});
  SetCursorPos(0, 0);  // no row is hot
  auto showJ = [&] {
    ASSERT_EQ(window_->SearchEdit()->GetText(), L"j");
    ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 7; }));
    PumpFor(100);
    PaintNow(hwnd_);
    ASSERT_EQ(RowText(3), L"Jar 打包");
    ASSERT_EQ(RowText(4), L"Jpeg 查看器");
  };
  struct Shown {
    std::vector<std::vector<DWORD>> rows;
    std::vector<std::wstring> tips;
  };
  auto take = [&] {
    Shown shown;
    for (int i = 0; i < 7; ++i) {
      shown.rows.push_back(RowPicture(i));
      shown.tips.push_back(window_->ResultList()->GetItemAt(static_cast<size_t>(i))->GetToolTipText());
    }
    return shown;
  };

  Open();
  TypeText("js");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 5; }));
  PumpFor(100);
  PaintNow(hwnd_);
  ASSERT_EQ(RowText(3), L"js-notes.txt");
  ui::Control* serviceRow = window_->ResultList()->GetItemAt(3);
  PressKey(VK_BACK);
  showJ();
  EXPECT_EQ(window_->ResultList()->GetItemAt(3), serviceRow) << "the row was made again, not refilled";
  EXPECT_EQ(RowText(3, L"item_desc"), L"打包成 jar");
  const Shown refilled = take();
  // A selected row among those the emptied text spares.
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  ASSERT_EQ(window_->ResultList()->GetCurSel(), 2);
  PressKey(VK_BACK);
  ASSERT_EQ(window_->ResultList()->GetCount(), 0);
  TypeText("j");
  showJ();
  const Shown spared = take();

  DestroyWindow(hwnd_);
  PumpFor(50);
  Open();
  TypeText("j");
  showJ();
  const Shown fresh = take();
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    const size_t at = static_cast<size_t>(i);
    EXPECT_TRUE(refilled.rows[at] == fresh.rows[at]) << "a refilled row looks unlike a new one";
    EXPECT_TRUE(spared.rows[at] == fresh.rows[at]) << "a spared row looks unlike a new one";
    EXPECT_EQ(refilled.tips[at], fresh.tips[at]);
    EXPECT_EQ(spared.tips[at], fresh.tips[at]);
  }
  EXPECT_TRUE(service.faults().empty());
}

TEST_F(SearchWindowTest, WithoutTheServiceOnlyLocalLinksShow) {
  Open();
  TypeText("ht");
  ASSERT_EQ(window_->ResultCount(), 1u);
  EXPECT_EQ(RowText(0), L"画图");
  EXPECT_FALSE(window_->IsServiceQueryPending());
}

// At 150 %, set before the framework starts as a display at 144 dpi would, the
// window grows by the rows as they are laid out: the last one shows whole.
class SearchWindowAtOneAndAHalfTest : public pexo_test::AtOneAndAHalf<SearchWindowTest> {};

TEST_F(SearchWindowAtOneAndAHalfTest, TheWindowHoldsEveryRowWholeAndShrinksBackToItsBand) {
  const auto scaled = [](int value) { return DpiScaler::Instance().ScaleInt(value); };
  Open();
  EXPECT_EQ(WindowHeight(), scaled(CSearchWnd::kEditBand));
  TypeText("js");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 3; }));
  PaintNow(hwnd_);
  EXPECT_EQ(WindowHeight(), scaled(CSearchWnd::kEditBand + 3 * CSearchWnd::kRowHeight));
  RECT client = {};
  GetClientRect(hwnd_, &client);
  const RECT last = window_->ResultList()->GetItemAt(2)->GetPos();
  EXPECT_EQ(last.bottom - last.top, scaled(CSearchWnd::kRowHeight));
  EXPECT_LE(last.bottom, client.bottom) << "the last row is cut off";
  EXPECT_EQ(RowText(2), L"计算器");
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 0; }));
  EXPECT_EQ(WindowHeight(), scaled(CSearchWnd::kEditBand));
}

TEST_F(SearchWindowTest, AServiceThatNeverRepliesLeavesTheWindowAnswering) {
  FakeSearchService service;
  service.SetReplyMode(FakeSearchService::ReplyMode::kNever);
  Open();
  std::atomic<bool> typed{false};
  std::atomic<bool> answered{false};
  std::thread probe([&] {
    while (!typed) Sleep(5);
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(hwnd_, WM_NULL, 0, 0, SMTO_BLOCK, 200, &result) != 0;
  });
  TypeText("jsq");
  typed = true;
  PumpUntil([&] { return answered.load(); }, 1000);
  probe.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(service.queries().size(), 3u);
  ASSERT_EQ(window_->ResultCount(), 1u);
  EXPECT_EQ(RowText(0), L"计算器");
  EXPECT_TRUE(window_->IsServiceQueryPending());
}

TEST_F(SearchWindowTest, EnterStartsTheSelectedResultAndHides) {
  Open();
  TypeText("js");
  ASSERT_EQ(window_->ResultCount(), 3u);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([] { return ProbeLineWritten(); }, 5000));
  const std::string line = pexo_test::ReadFileBytes(ProbeLog());
  const auto second = window_->Result(1);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(line.find(Utf8(second->Parameter)), std::string::npos) << line;
  EXPECT_FALSE(IsWindowVisible(hwnd_));
}

TEST_F(SearchWindowTest, EscAndAClickOutsideHideButAClickInsideDoesNot) {
  Open();
  ASSERT_TRUE(IsWindowVisible(hwnd_));
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(hwnd_));

  // Showing again starts with an empty search.
  TypeText("j");
  window_->BringUp();
  PumpFor(100);
  TypeText("ht");
  ASSERT_EQ(window_->ResultCount(), 1u);
  window_->ShowWindow(false, false);
  window_->BringUp();
  PumpFor(100);
  EXPECT_EQ(window_->SearchEdit()->GetText(), L"");
  EXPECT_EQ(window_->ResultCount(), 0u) << "each opening starts with an empty search";
  EXPECT_EQ(WindowHeight(), CSearchWnd::kEditBand);

  RECT rc = {};
  GetWindowRect(hwnd_, &rc);
  ClickAt({(rc.left + rc.right) / 2, rc.top + 20});
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  ClickAt({rc.right + 200, rc.bottom + 200});
  PumpUntil([&] { return !IsWindowVisible(hwnd_); }, 1000);
  EXPECT_FALSE(IsWindowVisible(hwnd_));
}

TEST_F(SearchWindowTest, ResultMenuCommandsActOnTheRowsLinkAndHideAsTheyShould) {
  // A web address, a built-in function and an item-ID list among the links.
  auto tag = GetLinkStore().topGroups[0]->tags[0];
  auto addLink = [&](const std::wstring& name, int32_t type, const std::wstring& path) {
    auto link = std::make_shared<Link>();
    link->ID = ++GetLinkStore().maxLinkId;
    link->ParentGroup = tag->ID;
    link->group = tag;
    link->NAME = name;
    link->TYPE = type;
    link->PATH = path;
    link->nameInitials = MakeInitialsKey(name);
    tag->links.push_back(link);
    GetLinkStore().linksById[link->ID] = link;
    return link;
  };
  addLink(L"qq web", kLinkWebAddress, L"https://example.com/qq");
  addLink(L"qq sys", kLinkBuiltinFunction, L"#Mute");
  auto listed = addLink(L"qq list", kLinkItemIdList, L"");
  FakeSearchService service;
  service.SetCatalogue({{L"qq-file.txt", L"C:\\nowhere"}});
  Open();
  TypeText("qq");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 4; }));
  const POINT cursor = {200, 200};

  // "open_path" of a web address copies it and hides the window.
  ASSERT_EQ(window_->Result(0)->NAME, L"qq web");
  EXPECT_TRUE(window_->RunResultCommand(L"open_path", window_->Result(0), cursor));
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_EQ(pexo_test::ClipboardText(), L"https://example.com/qq");

  // A built-in function has no folder: nothing opens, the window still hides.
  window_->BringUp();
  TypeText("qq");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 4; }));
  EXPECT_FALSE(window_->RunResultCommand(L"open_path", window_->Result(1), cursor));
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_FALSE(window_->RunResultCommand(L"winshell", window_->Result(1), cursor));

  // An item-ID-list link finds its folder through its stored list, not its empty
  // path: a damaged list is refused instead of opening the folder of nothing.
  listed->Pidl = {1, 2, 3};
  EXPECT_FALSE(window_->RunResultCommand(L"open_path", window_->Result(2), cursor));

  // "use_admin" on a service result hides the window and counts nothing.
  window_->BringUp();
  TypeText("qq");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 4; }));
  GetSettings().bSaveRunCount = true;
  auto serviceLink = window_->Result(3);
  ASSERT_EQ(serviceLink->ParentGroup, 0);
  EXPECT_TRUE(window_->RunResultCommand(L"use_admin", window_->Result(3), cursor));
  EXPECT_FALSE(IsWindowVisible(hwnd_));
  EXPECT_EQ(serviceLink->RunCount, 0);
  EXPECT_FALSE(window_->RunResultCommand(L"no_such", window_->Result(0), cursor));
  EXPECT_FALSE(window_->RunResultCommand(L"open_path", window_->Result(9), cursor));

  // The menu file has the level and items the handler names.
  ASSERT_NE(window_->Menus(), nullptr);
  EXPECT_NE(window_->Menus()->FindMenu(L"menu_search_item"), nullptr);
}

// The pixels of the menu level's item label that stand out from the item's own
// background: the item's text as drawn.
int InkPixels(ui::Window& level, ui::Control* label, ui::Control* item, DWORD* background) {
  ui::IRenderContext* context = level.GetRenderContext();
  if (!context || !label || !item) return 0;
  const RECT text = label->GetPos();
  const RECT row = item->GetPos();
  const DWORD bk = window_test::PixelAt(context, row.right - 4, (row.top + row.bottom) / 2);
  if (background) *background = bk;
  int ink = 0;
  for (int y = text.top; y < text.bottom; ++y) {
    for (int x = text.left; x < text.right; ++x) {
      const DWORD pixel = window_test::PixelAt(context, x, y);
      int distance = 0;
      for (int shift : {0, 8, 16}) distance += std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((bk >> shift) & 0xFF));
      if (distance > 150) ++ink;
    }
  }
  return ink;
}

// The result menu acts on the result right-clicked: a Down key gives the keys
// back to the text while the menu stays up, and the letters typed then rebuild
// the results under it. The menu is drawn as the other menus are, in the skin's
// colours and in the dark theme's; its picture is saved for people.
TEST_F(SearchWindowTest, TheResultMenuIsDrawnAndActsOnTheRightClickedLinkAfterLettersRebuiltTheResults) {
  GetSettings().bSaveRunCount = true;
  GetSettings().bOpenFileSearch = false;
  Open();
  TypeText("j");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 3; }));
  const std::shared_ptr<Link> chosen = window_->Result(0);
  const std::shared_ptr<Link> later = window_->Result(2);
  ASSERT_EQ(chosen->NAME, L"记事本");
  ASSERT_EQ(later->NAME, L"计算器");
  PaintNow(hwnd_);
  const RECT row = window_->ResultList()->GetItemAt(0)->GetPos();
  const POINT at = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
  ui::CMenuUI* menu = window_->Menus()->FindMenu(L"menu_search_item");
  ASSERT_NE(menu, nullptr);

  // Right-clicks the first row and runs `steps` while the menu is up.
  auto withMenu = [&](std::vector<std::function<bool()>> steps) {
    // Run from the menu driver's timer, which the menu's loop dispatches.
    menu_driver::Script script;
    script.steps = {[&] { return window_->Menus()->IsRunning() && menu->GetCreatedMenuWnd() &&
                                 IsWindowVisible(menu->GetCreatedMenuWnd()->GetHWND()); }};
    script.steps.insert(script.steps.end(), steps.begin(), steps.end());
    menu_driver::Script::Current() = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, menu_driver::Script::Tick);
    SetForegroundWindow(hwnd_);
    menu_driver::PostAt(hwnd_, WM_RBUTTONDOWN, MK_RBUTTON, at);
    menu_driver::PostAt(hwnd_, WM_RBUTTONUP, 0, at);
    PumpUntil([&] { return script.steps.empty() && !window_->Menus()->IsRunning(); }, 15000);
    KillTimer(nullptr, timer);
    menu_driver::Script::Current() = nullptr;
    if (window_->Menus()->IsRunning()) window_->Menus()->Dismiss();
    EXPECT_TRUE(script.steps.empty()) << "a step of the menu visit never came to pass";
  };
  // How the level shows its first item's text, pictured first.
  auto inkOfFirstItem = [&](const std::wstring& picture, DWORD* background) {
    HWND level = menu->GetCreatedMenuWnd()->GetHWND();
    auto* window = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(level, GWLP_USERDATA));
    InvalidateRect(level, nullptr, FALSE);
    UpdateWindow(level);
    if (!picture.empty()) {
      EXPECT_TRUE(menu_driver::SaveMenusPng({level}, picture));
    }
    return window ? InkPixels(*window, menu->FindChildByName(L"label_use_admin"), menu->FindChildByName(L"use_admin"),
                              background)
                  : 0;
  };

  int ink = 0;
  DWORD background = 0;
  HWND item = nullptr;
  POINT middle = {};
  // The steps that hover the menu's item and click it.
  auto clickItem = [&](const wchar_t* name) -> std::vector<std::function<bool()>> {
    return {
        [&, name] {
          ui::Control* target = menu_driver::FindVisibleItem(hwnd_, name, &item);
          if (!target) return false;
          const RECT rc = target->GetPos();
          middle = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
          menu_driver::PostAt(item, WM_MOUSEMOVE, 0, POINT{middle.x + 1, middle.y});
          menu_driver::PostAt(item, WM_MOUSEMOVE, 0, middle);
          return true;
        },
        [&] {
          menu_driver::PostAt(item, WM_LBUTTONDOWN, MK_LBUTTON, middle);
          return true;
        },
        [&] {
          menu_driver::PostAt(item, WM_LBUTTONUP, 0, middle);
          return true;
        },
    };
  };
  auto then = [](std::vector<std::function<bool()>> first, const std::vector<std::function<bool()>>& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
  };
  withMenu(then({
      [&] {
        ink = inkOfFirstItem(pexo_test::PictureFolder() + L"search_menu.png", &background);
        // Down, then "sq": the results become 计算器 alone while the menu stays up.
        INPUT keys[6] = {};
        const WORD vks[3] = {VK_DOWN, 'S', 'Q'};
        for (int i = 0; i < 3; ++i) {
          keys[2 * i].type = keys[2 * i + 1].type = INPUT_KEYBOARD;
          keys[2 * i].ki.wVk = keys[2 * i + 1].ki.wVk = vks[i];
          keys[2 * i + 1].ki.dwFlags = KEYEVENTF_KEYUP;
        }
        SendInput(6, keys, sizeof(INPUT));
        return true;
      },
      [&] { return window_->ResultCount() == 1 && window_->Result(0) == later; },
  }, clickItem(L"use_admin")));
  EXPECT_GT(ink, 40) << "the menu's first item shows no text";
  EXPECT_EQ(chosen->RunCount, 10) << "the right-clicked link was not the one started";
  EXPECT_EQ(later->RunCount, 2) << "the result under the menu was started instead";
  EXPECT_FALSE(IsWindowVisible(hwnd_));

  // In the dark theme its items are drawn too, over the theme's dark background.
  const std::wstring themes = pexo_test::ExeFolder() + L"\\theme\\";
  CreateDirectoryW(themes.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(pexo_test::DataFile(L"../../theme/dark.xml").c_str(), (themes + L"dark.xml").c_str(), FALSE));
  ASSERT_TRUE(LoadTheme(L"dark.xml"));
  window_->BringUp();
  TypeText("j");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 3; }));
  PaintNow(hwnd_);
  int darkInk = 0;
  DWORD darkBackground = 0;
  withMenu({[&] {
    darkInk = inkOfFirstItem(L"", &darkBackground);
    window_->Menus()->Dismiss();
    return true;
  }});
  ASSERT_TRUE(pexo_test::WriteFileBytes(themes + L"skin_only.xml", "<Global/>"));
  LoadTheme(L"skin_only.xml");
  DeleteFileW((themes + L"dark.xml").c_str());
  DeleteFileW((themes + L"skin_only.xml").c_str());
  EXPECT_GT(darkInk, 40) << "the menu's first item shows no text in the dark theme";
  EXPECT_NE(darkBackground & 0xFFFFFF, background & 0xFFFFFF) << "the dark theme does not reach the menu";

  // The right-clicked link deleted while the menu is up is left alone: nothing
  // starts and nothing is counted.
  window_->ShowWindow(false, false);  // each opening starts with an empty search
  window_->BringUp();
  TypeText("j");
  ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == 3; }));
  ASSERT_EQ(window_->Result(0), chosen);
  PaintNow(hwnd_);
  // (This store has no file: the link leaves it as a deletion takes it out.)
  withMenu(then({[&] {
                  auto& links = GetLinkStore().topGroups[0]->tags[0]->links;
                  links.erase(std::find(links.begin(), links.end(), chosen));
                  GetLinkStore().linksById.erase(chosen->ID);
                  return true;
                }},
                clickItem(L"use_admin")));
  EXPECT_EQ(chosen->RunCount, 10) << "the deleted link was started";
  EXPECT_EQ(later->RunCount, 2);
  EXPECT_EQ(GetLinkStore().FindLink(chosen->ID), nullptr);
}

// A program whose file is gone, found and started from the search window: the
// window hides as the launch starts, and the system's refusal comes back later and
// is told by name in the notice window, centred over the place of the search band
// and without taking the focus, as a card click tells it in the main window. The
// run is counted as a card click counts a refused one. A click on the row and the
// result menu's commands that the system can refuse tell it the same way; opening
// the search window again takes the notice away.
TEST_F(SearchWindowTest, ALaunchTheSystemRefusesIsToldWhereTheSearchWindowStood) {
  GetSettings().bSaveRunCount = true;
  GetSettings().bOpenFileSearch = false;
  auto gone = AddProbeLink(*GetLinkStore().topGroups[0]->tags[0], L"zz 旧工具", 0);
  gone->PATH = L"C:\\no\\such\\tool.exe";
  gone->Parameter.clear();
  Open();
  const RECT band = window_->GetWindowRectWithoutShadow(false);
  HWND notice = nullptr;
  // Waits for the notice and checks where and how it shows.
  auto expectNotice = [&](const std::wstring& text) {
    SCOPED_TRACE(Utf8(text));
    EXPECT_FALSE(IsWindowVisible(hwnd_)) << "the search window hides as the launch starts";
    const bool shown = PumpUntil(
        [&] {
          CNoticeWnd* window = window_->Notice();
          return window && IsWindowVisible(window->GetHWND()) && window->Text() == text;
        },
        10000);
    ASSERT_TRUE(shown) << "no notice; the last one: " << Utf8(window_->LastNotice());
    notice = window_->Notice()->GetHWND();
    wchar_t title[128] = {};
    GetWindowTextW(notice, title, 128);
    EXPECT_EQ(title, text) << "the notice's window text is what a screen reader reads";
    RECT rc = {};
    GetWindowRect(notice, &rc);
    EXPECT_EQ(rc.top, band.top);
    EXPECT_LE(std::abs((rc.left + rc.right) - (band.left + band.right)), 1) << "centred over the search band";
    EXPECT_NE(GetForegroundWindow(), notice) << "the notice took the focus";
    ui::Control* label = window_->Notice()->FindControlByName(L"notice_text");
    ASSERT_NE(label, nullptr);
    RECT client = {};
    GetClientRect(notice, &client);
    const RECT at = label->GetPos();
    EXPECT_LE(std::abs((at.left + at.right) - client.right), 1) << "the text is laid out across the window";
    EXPECT_GT(at.right - at.left, client.right / 2);
    notice_test::ExpectCentredAcrossWindow(*window_->Notice(), label);
  };
  auto rowCentre = [&] {
    PaintNow(hwnd_);
    const RECT row = window_->ResultList()->GetItemAt(0)->GetPos();
    return POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
  };
  // Each opening starts with an empty search.
  auto findGone = [&] {
    if (IsWindowVisible(hwnd_)) window_->ShowWindow(false, false);
    window_->BringUp();
    PumpFor(100);
    TypeText("zz");
    return PumpUntil([&] { return window_->ResultCount() == 1 && window_->Result(0) == gone; });
  };

  // Enter.
  ASSERT_TRUE(findGone());
  PressKey(VK_RETURN);
  expectNotice(L"无法打开 zz 旧工具");
  EXPECT_EQ(gone->RunCount, 1) << "a refused launch counts as a card click counts it";
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(notice); }, 10000)) << "the notice goes by itself";

  // A click on the row: one click starts it (a second one lands where the hidden
  // window was, so a double click starts nothing twice).
  ASSERT_TRUE(findGone());
  POINT screen = rowCentre();
  ClientToScreen(hwnd_, &screen);
  ClickAt(screen);
  expectNotice(L"无法打开 zz 旧工具");
  EXPECT_EQ(gone->RunCount, 2);
  window_->BringUp();
  EXPECT_FALSE(IsWindowVisible(notice)) << "a new search starts where the notice stood";

  // The result menu's "以管理员身份运行" and "打开文件位置".
  ASSERT_TRUE(findGone());
  const POINT firstRow = rowCentre();
  auto settle = [&](bool retry) {
    if (retry || !IsWindowVisible(hwnd_)) {
      ASSERT_TRUE(findGone());
    }
    SetForegroundWindow(hwnd_);
    PumpUntil([&] { return GetForegroundWindow() == hwnd_; }, 2000);
  };
  menu_driver::ChooseWithRetry(hwnd_, firstRow, {L"use_admin"}, settle);
  expectNotice(L"无法打开 zz 旧工具");
  EXPECT_EQ(gone->RunCount, 3);
  menu_driver::ChooseWithRetry(hwnd_, firstRow, {L"open_path"}, settle);
  expectNotice(L"无法打开 zz 旧工具 的文件位置");
  EXPECT_EQ(gone->RunCount, 3) << "showing the folder is no run";
}

// Four thousand results: the list builds only the rows it shows, yet scrolling
// shows every row in order (each row's picture is the one a search for it alone
// draws), keys select the same indexes, and Enter on the last row starts its link.
class ManyResultsTest : public SearchWindowTest {
 protected:
  static constexpr int kLinks = 4000;

  void SetUp() override {
    SearchWindowTest::SetUp();
    GetSettings().bOpenFileSearch = false;
    Group& tag = *GetLinkStore().topGroups[0]->tags[0];
    for (int i = 0; i < kLinks; ++i) AddProbeLink(tag, RowName(i), 0);
  }
  static std::wstring RowName(int i) {
    wchar_t name[32];
    swprintf(name, 32, L"row-%04d", i);
    return name;
  }
  // Types `text` into an emptied search and waits for `count` results.
  void Search(const std::string& text, size_t count) {
    window_->ShowWindow(false, false);  // each opening starts with an empty search
    window_->BringUp();
    PumpFor(100);
    TypeText(text);
    ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == count; }, 5000)) << text;
    SetCursorPos(0, 0);  // no row is hot
    PumpFor(100);
    PaintNow(hwnd_);
  }
  // The rows wholly in view, each with its picture.
  std::map<int, std::vector<DWORD>> RowsInView() {
    ui::SearchListBox* list = window_->ResultList();
    const RECT area = list->GetPos();
    const int scroll = list->GetScrollPos().cy;
    std::map<int, std::vector<DWORD>> rows;
    for (int i = 0; i < list->GetCount(); ++i) {
      const RECT row = list->GetItemAt(static_cast<size_t>(i))->GetPos();
      if (row.top - scroll >= area.top && row.bottom - scroll <= area.bottom) rows[i] = RowPicture(i);
    }
    return rows;
  }
  // Each row in view shows its own result: its text, its place, and the picture a
  // search for its ten draws of it.
  void ExpectRowsInOrder(const std::map<int, std::vector<DWORD>>& rows, const char* where) {
    SCOPED_TRACE(where);
    ASSERT_GE(rows.size(), 20u);
    int previous = -1;
    for (const auto& [index, picture] : rows) {
      EXPECT_EQ(RowText(index), RowName(index));
      if (previous >= 0) {
        EXPECT_EQ(index, previous + 1);
      }
      previous = index;
    }
    std::set<int> tens;
    for (const auto& [index, picture] : rows) tens.insert(index / 10);
    for (int ten : tens) {
      const std::wstring prefix = RowName(ten * 10).substr(0, 7);
      Search(std::string(prefix.begin(), prefix.end()), 10);
      // Row 0 of that search is the selected one, and its last row is cut by the
      // list's padding (a list of ten rows is ten rows high, padding included).
      for (int k = 1; k < 9; ++k) {
        const auto found = rows.find(ten * 10 + k);
        if (found != rows.end()) {
          EXPECT_TRUE(RowPicture(k) == found->second) << "row " << found->first << " looks wrong";
        }
      }
    }
  }
};

TEST_F(ManyResultsTest, ScrollingShowsEveryRowInOrderAndKeysAndEnterReachTheFarEnd) {
  Open();
  Search("row", kLinks);
  ui::SearchListBox* list = window_->ResultList();
  EXPECT_EQ(list->GetTotalItems(), kLinks);
  EXPECT_LT(list->GetCount(), 100) << "rows out of view were built";
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_GT(list->GetScrollRange().cy, (kLinks - 24) * CSearchWnd::kRowHeight - 10) << "the bar covers every row";
  ExpectRowsInOrder(RowsInView(), "top");

  // The wheel and a drag of the bar's thumb to the middle, with real input.
  Search("row", kLinks);
  RECT rc = {};
  GetWindowRect(hwnd_, &rc);
  const RECT listPos = list->GetPos();
  SetCursorPos(rc.left + 200, rc.top + listPos.top + 100);
  for (int i = 0; i < 5; ++i) {
    INPUT wheel = {};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(1, &wheel, sizeof(wheel));
    PumpFor(80);
  }
  PumpFor(600);  // the wheel scrolls animated
  EXPECT_GT(list->GetScrollPos().cy, 0);
  ui::ScrollBar* bar = list->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  const RECT thumb = bar->GetThumbRect();
  const POINT grip = {rc.left + (thumb.left + thumb.right) / 2, rc.top + (thumb.top + thumb.bottom) / 2};
  SetCursorPos(grip.x, grip.y);
  real_mouse::SendAt(grip, MOUSEEVENTF_LEFTDOWN);
  PumpFor(80);
  POINT dragged = grip;
  for (int step = 1; step <= 6; ++step) {
    dragged = {grip.x, grip.y + step * (listPos.bottom - listPos.top) / 12};
    SetCursorPos(dragged.x, dragged.y);
    PumpFor(60);
  }
  real_mouse::SendAt(dragged, MOUSEEVENTF_LEFTUP);
  PumpFor(100);
  SetCursorPos(0, 0);
  PumpFor(100);
  const int middle = list->GetScrollPos().cy;
  EXPECT_GT(middle, list->GetScrollRange().cy / 4);
  EXPECT_LT(middle, list->GetScrollRange().cy * 3 / 4);
  PaintNow(hwnd_);
  ExpectRowsInOrder(RowsInView(), "middle");

  // End selects the last row and scrolls it into view; Up the one before; Home the
  // first. Each selection is announced with the new index and -1, as a single one is.
  Search("row", kLinks);
  std::vector<std::pair<WPARAM, LPARAM>> selections;
  list->AttachEvent(ui::select, [&](ui::EventArgs* e) {
    selections.emplace_back(e->wParam, e->lParam);
    return true;
  });
  PressKey(VK_END);
  EXPECT_EQ(list->GetCurSel(), kLinks - 1);
  PressKey(VK_UP);
  EXPECT_EQ(list->GetCurSel(), kLinks - 2);
  ASSERT_EQ(selections.size(), 2u);
  EXPECT_EQ(selections[0], std::make_pair(static_cast<WPARAM>(kLinks - 1), static_cast<LPARAM>(-1)));
  EXPECT_EQ(selections[1], std::make_pair(static_cast<WPARAM>(kLinks - 2), static_cast<LPARAM>(-1)));
  PressKey(VK_TAB);
  EXPECT_EQ(list->GetCurSel(), kLinks - 1);
  PaintNow(hwnd_);
  auto last = RowsInView();
  EXPECT_EQ(last.rbegin()->first, kLinks - 1);
  last.erase(kLinks - 1);  // the selected row looks selected
  ExpectRowsInOrder(last, "end");
  Search("row", kLinks);
  PressKey(VK_END);
  PressKey(VK_HOME);
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(list->GetScrollPos().cy, 0);
  PressKey(VK_TAB, true);
  EXPECT_EQ(list->GetCurSel(), kLinks - 1) << "Shift+Tab on the first row wraps to the last";

  // Enter starts the link of that far-down row.
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([] { return ProbeLineWritten(); }, 5000));
  const auto farLink = GetLinkStore().topGroups[0]->tags[0]->links.back();
  ASSERT_EQ(farLink->NAME, RowName(kLinks - 1));
  EXPECT_NE(pexo_test::ReadFileBytes(ProbeLog()).find(Utf8(farLink->Parameter) + "\n"), std::string::npos)
      << pexo_test::ReadFileBytes(ProbeLog());
  EXPECT_FALSE(IsWindowVisible(hwnd_));
}

// What the screen shows of the layered window beside what the window painted into
// its own surface: a paint that hands the window system too small an area leaves
// old rows on the screen. Only opaque pixels count (the window's alpha scales
// them as the push blends them), and only those on the screen and not under a
// window above this one (a row's tooltip).
int StalePixels(CSearchWnd* window, std::string* first) {
  HWND hwnd = window->GetHWND();
  ui::IRenderContext* context = window->GetRenderContext();
  RECT place = {};
  GetWindowRect(hwnd, &place);
  const int width = std::min<int>(std::min<int>(place.right - place.left, context->GetWidth()),
                                  GetSystemMetrics(SM_CXSCREEN) - place.left);
  const int height = std::min<int>(std::min<int>(place.bottom - place.top, context->GetHeight()),
                                   GetSystemMetrics(SM_CYSCREEN) - place.top);
  const std::vector<DWORD> bits =
      window_test::GrabScreen(RECT{place.left, place.top, place.left + width, place.top + height});
  if (bits.empty()) return width * height;
  std::vector<RECT> covers;
  for (HWND above = GetWindow(hwnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    RECT cover = {};
    if (IsWindowVisible(above) && GetWindowRect(above, &cover)) {
      OffsetRect(&cover, -place.left, -place.top);
      covers.push_back(cover);
    }
  }
  const int alpha = window->GetWindowAlpha();
  int stale = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const POINT at = {x, y};
      if (std::any_of(covers.begin(), covers.end(), [&](const RECT& cover) { return PtInRect(&cover, at); })) {
        continue;
      }
      const DWORD painted = window_test::PixelAt(context, x, y);
      if ((painted >> 24) != 0xFF) continue;
      const DWORD shown = bits[static_cast<size_t>(y) * width + x];
      bool same = true;
      for (int shift : {0, 8, 16}) {
        const int expected = static_cast<int>((painted >> shift) & 0xFF) * alpha / 255;
        if (std::abs(static_cast<int>((shown >> shift) & 0xFF) - expected) > 2) same = false;
      }
      if (!same && stale++ == 0 && first) {
        char text[96];
        std::snprintf(text, sizeof(text), "first at %d,%d: painted %08lx, shown %08lx", x, y,
                      static_cast<unsigned long>(painted), static_cast<unsigned long>(shown));
        *first = text;
      }
    }
  }
  return stale;
}

// Typing, taking letters back and moving the selection repaint only what changed
// while the window keeps its place and size; after every key what the window
// system shows is what the window painted, and the rows are the results in order.
TEST_F(ManyResultsTest, EveryKeyLeavesTheRowsOfItsResultsOnTheScreen) {
  SetCursorPos(0, 0);  // no row is hot and shows its tooltip
  Open();
  // Above the windows of tests running beside this one, which would cover its rows.
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ui::SearchListBox* list = window_->ResultList();
  auto expectShown = [&](const char* after, size_t results) {
    SCOPED_TRACE(after);
    ASSERT_TRUE(PumpUntil([&] { return window_->ResultCount() == results; }, 5000));
    PumpFor(80);  // the key's own paint, not a forced one
    std::string first;
    EXPECT_EQ(StalePixels(window_, &first), 0) << first;
    ASSERT_EQ(list->GetTotalItems(), static_cast<int>(results));
    const int shown = std::min<int>(static_cast<int>(results), CSearchWnd::kMaxVisibleRows);
    for (int i = 0; i < shown; ++i) EXPECT_EQ(RowText(i), RowName(i + (results == 10 ? 10 : 0)));
    ExpectListAsWhollyRepainted();
  };
  TypeText("r");
  expectShown("r", kLinks);
  RECT full = {};
  GetWindowRect(hwnd_, &full);
  TypeText("o");
  expectShown("ro", kLinks);
  // Down moves the selection: two rows change, the window keeps its size.
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  EXPECT_EQ(list->GetCurSel(), 2);
  expectShown("two Downs", kLinks);
  TypeText("w-00");
  expectShown("row-00", 100);
  RECT still = {};
  GetWindowRect(hwnd_, &still);
  EXPECT_TRUE(EqualRect(&full, &still)) << "these keys keep the window's size, so their paints are partial";
  TypeText("1");
  expectShown("row-001: ten rows, a shorter window", 10);
  PressKey(VK_BACK);
  expectShown("back to row-00", 100);
  PressKey(VK_BACK);
  PressKey(VK_BACK);
  expectShown("back to row-", kLinks);
  PressKey(VK_END);
  EXPECT_EQ(list->GetCurSel(), kLinks - 1);
  PumpFor(600);  // the list scrolls to the end animated
  std::string first;
  EXPECT_EQ(StalePixels(window_, &first), 0) << "at the end: " << first;
  EXPECT_EQ(RowText(kLinks - 1), RowName(kLinks - 1));
}

TEST(SearchServiceMaximum, NeverAsksForFewerThanSixteenNorMoreThanThirtyTwo) {
  EXPECT_EQ(CSearchWnd::ServiceMaximum(0), 32);
  EXPECT_EQ(CSearchWnd::ServiceMaximum(10), 22);
  EXPECT_EQ(CSearchWnd::ServiceMaximum(15), 17);
  EXPECT_EQ(CSearchWnd::ServiceMaximum(16), 16);
  EXPECT_EQ(CSearchWnd::ServiceMaximum(40), 16);
}

}  // namespace
