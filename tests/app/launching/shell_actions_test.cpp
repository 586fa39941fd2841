#include "app/launching/shell_actions.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "data/link.h"
#include "data/program_dir.h"
#include "tests/support/test_support.h"
#include "ui/base/scoped_handles.h"

namespace {

struct SavedShortcut {
  std::wstring path;
  std::wstring arguments;
  std::wstring description;
  std::wstring workDir;
  ui::AbsoluteItemIdList list;
};

bool ReadShortcut(const std::wstring& file, SavedShortcut& out) {
  ui::ComPtr<IShellLinkW> shortcut;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shortcut.put_void())) ||
      FAILED(shortcut.As<IPersistFile>()->Load(file.c_str(), STGM_READ))) {
    return false;
  }
  wchar_t text[MAX_PATH] = {};
  shortcut->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
  out.path = text;
  text[0] = 0;
  shortcut->GetArguments(text, MAX_PATH);
  out.arguments = text;
  text[0] = 0;
  shortcut->GetDescription(text, MAX_PATH);
  out.description = text;
  text[0] = 0;
  shortcut->GetWorkingDirectory(text, MAX_PATH);
  out.workDir = text;
  ITEMIDLIST* raw = nullptr;
  if (SUCCEEDED(shortcut->GetIDList(&raw))) out.list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  return true;
}

TEST(ShellActionsTest, ShortcutFileNameCannotLeaveItsFolder) {
  struct Case {
    const wchar_t* name;
    const wchar_t* file;
  } cases[] = {
      {L"记事本", L"记事本.lnk"},
      {L"..\\..\\Startup\\evil", L".._.._Startup_evil.lnk"},
      {L"a/b:c*d?e\"f<g>h|i", L"a_b_c_d_e_f_g_h_i.lnk"},
      {L"name. . ", L"name.lnk"},
      {L"tab\there", L"tab_here.lnk"},
      {L"...", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutFileName(c.name), c.file) << c.name;
}

class ShellActionsComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(com_.succeeded()); }
  ui::ScopedComInit com_;
  pexo_test::TempDir dir_;
};

TEST_F(ShellActionsComTest, ShortcutCarriesTheLinksTargetArgumentsAndRemarkAndReplacesAnOldOne) {
  Link link;
  link.TYPE = kLinkProgram;
  link.NAME = L"..\\escape";
  link.PATH = L".\\tool.exe";
  link.Parameter = L".\\data\\in.txt";
  link.WorkDir = L".\\work";
  link.Remark = L"first";
  ASSERT_TRUE(CreateShortcutFile(link, dir_.path()));
  link.Remark = L"second";
  ASSERT_TRUE(CreateShortcutFile(link, dir_.path()));

  SavedShortcut saved;
  ASSERT_TRUE(ReadShortcut(dir_.File(L".._escape.lnk"), saved));
  EXPECT_EQ(_wcsicmp(saved.path.c_str(), (GetProgramDir() + L"tool.exe").c_str()), 0) << saved.path;
  EXPECT_EQ(saved.arguments, L".\\data\\in.txt");  // arguments stay as stored
  EXPECT_EQ(_wcsicmp(saved.workDir.c_str(), (GetProgramDir() + L"work").c_str()), 0) << saved.workDir;
  EXPECT_EQ(saved.description, L"second");
  // Nothing was written next to the folder.
  std::wstring parent = dir_.path().substr(0, dir_.path().rfind(L'\\'));
  EXPECT_EQ(GetFileAttributesW((parent + L"\\escape.lnk").c_str()), INVALID_FILE_ATTRIBUTES);

  link.NAME = L"...";
  EXPECT_FALSE(CreateShortcutFile(link, dir_.path()));
}

TEST_F(ShellActionsComTest, ShortcutOfAnItemIdListLinkTargetsTheStoredList) {
  std::wstring target = dir_.File(L"target.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(target, "x"));
  PIDLIST_ABSOLUTE raw = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHParseDisplayName(target.c_str(), nullptr, &raw, 0, nullptr)));
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  Link link;
  link.TYPE = kLinkItemIdList;
  link.NAME = L"Listed";
  std::string bytes = list.ToBytes();
  link.Pidl.assign(bytes.begin(), bytes.end());
  ASSERT_TRUE(CreateShortcutFile(link, dir_.path()));

  SavedShortcut saved;
  ASSERT_TRUE(ReadShortcut(dir_.File(L"Listed.lnk"), saved));
  EXPECT_FALSE(saved.list.empty());
  EXPECT_EQ(_wcsicmp(saved.path.c_str(), target.c_str()), 0) << saved.path;
}

// The shell menu on a real window: keys posted to the menu while it is up choose
// its first command or dismiss it.
class ShellMenuTest : public ShellActionsComTest {
 protected:
  static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP && watchedFlag_) flagSeenWhileOpen_ = *watchedFlag_;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  void SetUp() override {
    ShellActionsComTest::SetUp();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PexoShellMenuOwner";
    RegisterClassW(&windowClass);
    owner_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, nullptr,
                             nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(owner_, nullptr);
    SetForegroundWindow(owner_);
  }
  void TearDown() override { DestroyWindow(owner_); }

  // Presses the keys into the popup menu once it shows, from another thread.
  std::thread PressInMenu(std::vector<WPARAM> keys, UINT message = WM_KEYDOWN) {
    return std::thread([keys, message] {
      HWND menu = nullptr;
      for (int i = 0; i < 200 && !menu; ++i) {
        Sleep(25);
        menu = FindWindowW(L"#32768", nullptr);
      }
      for (WPARAM key : keys) {
        PostMessageW(menu, message, key, 0);
        Sleep(50);
      }
    });
  }

  HWND owner_ = nullptr;
  static inline bool* watchedFlag_ = nullptr;
  static inline bool flagSeenWhileOpen_ = false;
};

TEST_F(ShellMenuTest, DismissingChoosesNothingAndClearsTheFlag) {
  std::wstring file = dir_.File(L"doc.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, "x"));
  bool menuOpen = false;
  watchedFlag_ = &menuOpen;
  std::thread keys = PressInMenu({VK_ESCAPE});
  int command = ParseShellPath(owner_, file, POINT{120, 120}, menuOpen);
  keys.join();
  watchedFlag_ = nullptr;
  EXPECT_EQ(command, 0);
  EXPECT_TRUE(flagSeenWhileOpen_);
  EXPECT_FALSE(menuOpen);
}

// The chosen command runs as the menu's own: its id less the first id (1) is the
// verb handed back. "Create Link" leaves a shortcut next to the file.
TEST_F(ShellMenuTest, ChosenCommandRunsAsTheMenusOwn) {
  std::wstring file = dir_.File(L"doc.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, "x"));
  bool menuOpen = false;
  std::thread keys = PressInMenu({L'l'}, WM_CHAR);  // the mnemonic of "Create &Link"
  int command = ParseShellPath(owner_, file, POINT{120, 120}, menuOpen);
  keys.join();
  EXPECT_GE(command, 1);
  EXPECT_FALSE(menuOpen);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(dir_.File(L"*.lnk").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE && pexo_test::RunningUnderWine()) {
    GTEST_SKIP() << "this Wine chooses \"Create Link\" but writes no shortcut";
  }
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
}

// A shell menu object as the shell hands out for a file: one owner-drawn command
// and a "Send to" sub-menu that is only filled when it opens. It notes every
// message its owner window passes on.
class RecordingContextMenu final : public IContextMenu3 {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IContextMenu || iid == IID_IContextMenu2 || iid == IID_IContextMenu3) {
      *out = static_cast<IContextMenu3*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // It lives on the test's stack.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT, UINT) override {
    first_ = first;
    sendTo_ = CreatePopupMenu();
    InsertMenuW(menu, index, MF_BYPOSITION | MF_OWNERDRAW, first, reinterpret_cast<LPCWSTR>(1));
    InsertMenuW(menu, index + 1, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sendTo_), L"Send to");
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2);
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT message, WPARAM wParam, LPARAM lParam) override {
    return HandleMenuMsg2(message, wParam, lParam, nullptr);
  }
  HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    seen.push_back(message);
    LRESULT answer = 0;
    if (message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == sendTo_ && GetMenuItemCount(sendTo_) == 0) {
      AppendMenuW(sendTo_, MF_STRING, first_ + 1, L"Desktop");
    } else if (message == WM_MEASUREITEM) {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      measure->itemWidth = 80;
      measure->itemHeight = 20;
      answer = TRUE;
    } else if (message == WM_DRAWITEM) {
      answer = TRUE;
    } else if (message == WM_MENUCHAR) {
      answer = MAKELRESULT(0, MNC_CLOSE);
    }
    if (result) *result = answer;
    return S_OK;
  }

  bool Saw(UINT message) const { return std::find(seen.begin(), seen.end(), message) != seen.end(); }
  std::vector<UINT> seen;

 private:
  UINT first_ = 0;
  HMENU sendTo_ = nullptr;
};

TEST_F(ShellMenuTest, WhileTheMenuIsUpItsOwnerPassesTheFillingAndDrawingMessagesToIt) {
  RecordingContextMenu contextMenu;
  bool menuOpen = false;
  // A key that no item answers to, then away: the menu asks its owner what the
  // key means (WM_MENUCHAR), and the answer "close" ends it.
  std::thread keys = PressInMenu({L'q'}, WM_CHAR);
  // Should the menu stay up all the same, Escape ends it (the checks below fail then).
  std::thread escape([] {
    Sleep(1500);
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  const int command = TrackShellContextMenu(owner_, &contextMenu, POINT{120, 120}, menuOpen);
  keys.join();
  escape.join();
  EXPECT_EQ(command, 0);
  EXPECT_FALSE(menuOpen);
  EXPECT_TRUE(contextMenu.Saw(WM_INITMENUPOPUP)) << "the menu is told when it opens";
  EXPECT_TRUE(contextMenu.Saw(WM_MEASUREITEM)) << "its owner-drawn item is measured by it";
  EXPECT_TRUE(contextMenu.Saw(WM_MENUCHAR)) << "an unknown key is its to answer";

  // Once the menu is gone the owner keeps its messages.
  contextMenu.seen.clear();
  MEASUREITEMSTRUCT measure = {};
  measure.CtlType = ODT_MENU;
  SendMessageW(owner_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  SendMessageW(owner_, WM_INITMENUPOPUP, 0, 0);
  EXPECT_TRUE(contextMenu.seen.empty());
}

TEST_F(ShellMenuTest, NoMenuForUnparsablePathsEmptyListsOrBuiltInFunctions) {
  bool menuOpen = false;
  EXPECT_EQ(ParseShellPath(owner_, L"Q:\\no\\such\\place\\file.txt", POINT{0, 0}, menuOpen), 0);
  EXPECT_EQ(ShowShellContextMenu(owner_, nullptr, POINT{0, 0}, menuOpen), 0);
  Link link;
  link.TYPE = kLinkItemIdList;
  EXPECT_EQ(ShowLinkShellMenu(owner_, link, POINT{0, 0}, menuOpen), 0);
  link.TYPE = kLinkBuiltinFunction;
  link.PATH = L"#Mute";
  EXPECT_EQ(ShowLinkShellMenu(owner_, link, POINT{0, 0}, menuOpen), 0);
  EXPECT_FALSE(menuOpen);
}

}  // namespace
