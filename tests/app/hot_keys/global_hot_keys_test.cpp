// The application's and the links' global chords on a test owner window: texts,
// registration, and the WM_HOTKEY dispatch by chord content.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/hot_keys/app_hot_keys.h"
#include "app/hot_keys/hot_key_dispatch.h"
#include "app/hot_keys/hot_key_text.h"
#include "data/group.h"
#include "data/hot_key_table.h"
#include "data/link.h"
#include "data/settings.h"

namespace {

constexpr uint8_t kCtrlAltShift = kHotKeyCtrl | kHotKeyAlt | kHotKeyShift;

std::wstring LayoutKeyName(UINT vk, bool extended) {
  const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
  wchar_t name[64] = {};
  GetKeyNameTextW(static_cast<LONG>((scan << 16) | 1 | (extended ? 1 << 24 : 0)), name, 64);
  return name;
}

TEST(HotKeyText, ModifiersInFixedOrderThenTheKey) {
  EXPECT_EQ(HotKeyCodeToText(0x0241), L"Ctrl + A");
  EXPECT_EQ(HotKeyToText(kHotKeyShift, VK_XBUTTON1), L"Shift + X1");
  EXPECT_EQ(HotKeyToText(kHotKeyCtrl, VK_XBUTTON2), L"Ctrl + X2");
  EXPECT_EQ(HotKeyToText(kHotKeyCtrl | kHotKeyAlt, 'S'), L"Ctrl + Alt + S");
  EXPECT_EQ(HotKeyToText(kHotKeyWin | kHotKeyAlt | kHotKeyShift | kHotKeyCtrl, VK_SPACE),
            L"Ctrl + Shift + Alt + Win + Space");
  // A key that is itself a modifier is not named twice.
  EXPECT_EQ(HotKeyToText(kHotKeyAlt, VK_MENU), LayoutKeyName(VK_MENU, false));
  EXPECT_EQ(HotKeyToText(kHotKeyWin, VK_LWIN), L"Win");
  EXPECT_EQ(HotKeyToText(kHotKeyCtrl | kHotKeyWin, VK_LWIN), L"Ctrl + Win");
  // Key 0: only the modifier parts; nothing at all: empty.
  EXPECT_EQ(HotKeyToText(kHotKeyCtrl | kHotKeyAlt, 0), L"Ctrl + Alt + ");
  EXPECT_EQ(HotKeyToText(0, 0), L"");
}

TEST(HotKeyText, OtherKeysAreNamedByTheKeyboardLayout) {
  EXPECT_EQ(HotKeyToText(kHotKeyShift, VK_F5), L"Shift + " + LayoutKeyName(VK_F5, false));
  EXPECT_FALSE(LayoutKeyName(VK_F5, false).empty());
  // Page Up to Help are read as extended keys: the navigation key, not the keypad's.
  for (UINT vk : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_DELETE, VK_INSERT}) {
    const std::wstring name = LayoutKeyName(vk, true);
    EXPECT_EQ(HotKeyToText(kHotKeyCtrl, vk), L"Ctrl + " + name) << vk;
  }
  EXPECT_EQ(HotKeyToText(0, VK_OEM_2), LayoutKeyName(VK_OEM_2, false));
}

TEST(AppHotKeysTest, FailureMessageNamesTheChord) {
  EXPECT_EQ(HotKeyFailureMessage(MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, 'S')),
            L"注册快捷键 Ctrl + Alt + S 失败!");
}

// A hidden top-level window that takes WM_HOTKEY through the dispatch and keeps a
// record of what each chord did.
class HotKeyOwner {
 public:
  HotKeyOwner() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HotKeyOwner::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PexoHotKeyTestOwner";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            wc.hInstance, this);
    actions.toggleMain = [this] { log.push_back(L"main"); };
    actions.showSearch = [this] {
      if (!searchWindow) return false;
      log.push_back(L"search");
      return true;
    };
    actions.launchLink = [this](const std::shared_ptr<Link>& link) { log.push_back(L"run " + link->PATH); };
    actions.saveRunCount = [this](const std::shared_ptr<Link>& link) {
      log.push_back(L"count " + std::to_wstring(link->RunCount));
    };
    actions.rebuildTagView = [this] { log.push_back(L"rebuild"); };
  }
  ~HotKeyOwner() { DestroyWindow(hwnd_); }

  HWND hwnd() const { return hwnd_; }
  // Runs the window's messages until none is left.
  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  void Post(uint16_t code) {
    PostMessageW(hwnd_, WM_HOTKEY, 0, MAKELPARAM(HotKeyModifiers(code), HotKeyVirtualKey(code)));
    Pump();
  }

  Settings settings;
  HotKeyTable table;
  HotKeyActions actions;
  bool searchWindow = true;
  std::vector<std::wstring> log;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    auto* self = reinterpret_cast<HotKeyOwner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_HOTKEY && self) {
      DispatchHotKey(lp, self->settings, self->table, self->actions);
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  HWND hwnd_ = nullptr;
};

std::shared_ptr<Link> MakeLink(const std::wstring& name, const std::wstring& path, uint16_t code) {
  auto link = std::make_shared<Link>();
  link->NAME = name;
  link->PATH = path;
  link->HotKey = code;
  return link;
}

using Log = std::vector<std::wstring>;

TEST(HotKeyDispatch, MainThenSearchThenLinksByChordContent) {
  HotKeyOwner owner;
  owner.table.SetOwnerWindow(owner.hwnd());
  owner.settings.nMainHotKey = MakeHotKeyCode(kCtrlAltShift, 'Q');
  owner.settings.nSearchHotKey = MakeHotKeyCode(kCtrlAltShift, 'W');
  owner.settings.bSaveRunCount = true;
  auto tag = std::make_shared<Group>();
  tag->SORT = kSortByRunCount;
  auto link = MakeLink(L"a", L"a.exe", MakeHotKeyCode(kCtrlAltShift, 'E'));
  link->group = tag;
  // A link that has the main chord too is never reached through it.
  auto shadowed = MakeLink(L"b", L"b.exe", MakeHotKeyCode(kCtrlAltShift, 'Q'));
  owner.table.RegisterLink(link);
  owner.table.RegisterLink(shadowed);

  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'Q'));
  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'W'));
  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'E'));
  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'R'));  // nobody's chord
  EXPECT_EQ(owner.log, (Log{L"main", L"search", L"run a.exe", L"count 1", L"rebuild"}));
  EXPECT_EQ(link->RunCount, 1);

  // Without a search window the search chord goes on to the links.
  owner.log.clear();
  owner.searchWindow = false;
  auto search_twin = MakeLink(L"c", L"c.exe", MakeHotKeyCode(kCtrlAltShift, 'W'));
  owner.table.RegisterLink(search_twin);
  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'W'));
  EXPECT_EQ(owner.log, (Log{L"run c.exe", L"count 1"}));  // its tag is not sorted by runs

  // The same chord for main and search: the main window toggles.
  owner.log.clear();
  owner.searchWindow = true;
  owner.settings.nSearchHotKey = owner.settings.nMainHotKey;
  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'Q'));
  EXPECT_EQ(owner.log, (Log{L"main"}));

  // Without "bSaveRunCount" a link only runs; chords of 0 never match.
  owner.log.clear();
  owner.settings.bSaveRunCount = false;
  owner.settings.nMainHotKey = 0;
  owner.settings.nSearchHotKey = 0;
  owner.Post(MakeHotKeyCode(kCtrlAltShift, 'E'));
  owner.Post(0);
  EXPECT_EQ(owner.log, (Log{L"run a.exe"}));
  EXPECT_EQ(link->RunCount, 1);
  owner.table.UnregisterAll();
}

// True when this desktop lets the test register global hot keys at all.
bool HotKeysWork() {
  if (!RegisterHotKey(nullptr, 0xB123, kCtrlAltShift, VK_F2)) return false;
  UnregisterHotKey(nullptr, 0xB123);  // chords of this file differ from the data tests'
  return true;
}

void PressChord(uint8_t modifiers, uint8_t key) {
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  std::vector<WORD> held;
  if (modifiers & kHotKeyCtrl) held.push_back(VK_CONTROL);
  if (modifiers & kHotKeyShift) held.push_back(VK_SHIFT);
  if (modifiers & kHotKeyAlt) held.push_back(VK_MENU);
  for (WORD vk : held) add(vk, false);
  add(key, false);
  add(key, true);
  for (auto it = held.rbegin(); it != held.rend(); ++it) add(*it, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST(HotKeyDispatch, TwoLinksOfOneNameBothFireAndChangingOneKeepsTheOther) {
  if (!HotKeysWork()) GTEST_SKIP() << "this desktop refuses global hot keys";
  HotKeyOwner owner;
  owner.table.SetOwnerWindow(owner.hwnd());
  owner.settings.bSaveRunCount = false;
  auto first = MakeLink(L"twin", L"first.exe", MakeHotKeyCode(kCtrlAltShift, '1'));
  auto second = MakeLink(L"twin", L"second.exe", MakeHotKeyCode(kCtrlAltShift, '2'));
  ASSERT_TRUE(owner.table.RegisterLink(first));
  ASSERT_TRUE(owner.table.RegisterLink(second));

  // Real key presses first: the system turns registered chords into WM_HOTKEY.
  PressChord(kCtrlAltShift, '1');
  PressChord(kCtrlAltShift, '2');
  for (int i = 0; i < 100 && owner.log.size() < 2; ++i) {
    owner.Pump();
    Sleep(10);
  }
  const bool real_keys = owner.log.size() == 2;
  if (!real_keys) {
    // This display delivers no chords from synthesised input: post what it would.
    owner.log.clear();
    owner.Post(MakeHotKeyCode(kCtrlAltShift, '1'));
    owner.Post(MakeHotKeyCode(kCtrlAltShift, '2'));
  }
  EXPECT_EQ(owner.log, (Log{L"run first.exe", L"run second.exe"}));

  // The link editor changes the first link's chord.
  ASSERT_TRUE(owner.table.UnregisterLink(first));
  first->HotKey = MakeHotKeyCode(kCtrlAltShift, '3');
  ASSERT_TRUE(owner.table.RegisterLink(first));
  // The second link's chord is still held by this process: nobody else can take it.
  EXPECT_FALSE(RegisterHotKey(nullptr, 0xB124, kCtrlAltShift, '2'));
  owner.log.clear();
  if (real_keys) {
    PressChord(kCtrlAltShift, '2');
    PressChord(kCtrlAltShift, '3');
    for (int i = 0; i < 100 && owner.log.size() < 2; ++i) {
      owner.Pump();
      Sleep(10);
    }
  }
  if (owner.log.size() < 2) {
    // Synthesised keys are not always turned into chords in time: post them.
    owner.log.clear();
    owner.Post(MakeHotKeyCode(kCtrlAltShift, '2'));
    owner.Post(MakeHotKeyCode(kCtrlAltShift, '3'));
  }
  EXPECT_EQ(owner.log, (Log{L"run second.exe", L"run first.exe"}));
  owner.table.UnregisterAll();
}

TEST(AppHotKeysTest, RegistrationRulesAndTheSideButtonFlag) {
  if (!HotKeysWork()) GTEST_SKIP() << "this desktop refuses global hot keys";
  HotKeyOwner owner;
  AppHotKeys keys;
  keys.SetOwnerWindow(owner.hwnd());
  Settings& settings = owner.settings;

  // No modifier, no key or no chord: nothing registered and nothing to report.
  EXPECT_EQ(keys.Register(AppChord::kMain, MakeHotKeyCode(0, VK_F5), settings), ChordRegistration::kNone);
  EXPECT_EQ(keys.Register(AppChord::kMain, MakeHotKeyCode(kHotKeyCtrl, 0), settings), ChordRegistration::kNone);
  EXPECT_EQ(keys.Register(AppChord::kMain, 0, settings), ChordRegistration::kNone);
  EXPECT_EQ(keys.RegisteredId(AppChord::kMain), 0);

  const uint16_t main_code = MakeHotKeyCode(kCtrlAltShift, 'Y');
  ASSERT_EQ(keys.Register(AppChord::kMain, main_code, settings), ChordRegistration::kRegistered);
  EXPECT_EQ(keys.RegisteredId(AppChord::kMain), AppChordId(AppChord::kMain));
  EXPECT_EQ(static_cast<ATOM>(keys.RegisteredId(AppChord::kMain) + 0xC000), GlobalFindAtomW(L"PexoHotKey"));
  EXPECT_NE(AppChordId(AppChord::kMain), AppChordId(AppChord::kSearch));
  // The settings' apply step registers again: the old registration goes first.
  ASSERT_EQ(keys.Register(AppChord::kMain, MakeHotKeyCode(kCtrlAltShift, 'U'), settings),
            ChordRegistration::kRegistered);
  EXPECT_TRUE(RegisterHotKey(nullptr, 0xB125, kCtrlAltShift, 'Y'));  // 'Y' is free again
  // A chord someone else holds fails.
  EXPECT_EQ(keys.Register(AppChord::kSearch, MakeHotKeyCode(kCtrlAltShift, 'Y'), settings),
            ChordRegistration::kFailed);
  EXPECT_EQ(keys.RegisteredId(AppChord::kSearch), 0);
  UnregisterHotKey(nullptr, 0xB125);

  // A side button turns the mouse hook's flag on before the attempt, whatever it gives.
  settings.mouseButtonHotKeyInUse = false;
  keys.Register(AppChord::kSearch, MakeHotKeyCode(kHotKeyCtrl, VK_XBUTTON1), settings);
  EXPECT_TRUE(settings.mouseButtonHotKeyInUse);

  EXPECT_TRUE(keys.Unregister(AppChord::kMain));
  EXPECT_FALSE(keys.Unregister(AppChord::kMain));
  keys.UnregisterAll();
}

// A run of the program that was killed never gives back its references to the
// chord atoms, and they outlive it on the display. They are cleared before any
// test of this program adds its own, so the count below is this process's alone
// (the programs that add these atoms never run beside this one).
const bool kLeftoverChordAtomsCleared = [] {
  for (const wchar_t* name : {L"PexoHotKey", L"PexoSearchHotKey"}) {
    for (int i = 0; i < 100000; ++i) {
      const ATOM leftover = GlobalFindAtomW(name);
      if (leftover == 0) break;
      GlobalDeleteAtom(leftover);
    }
  }
  return true;
}();

TEST(AppHotKeysTest, EachAtomIsAddedOncePerProcess) {
  ASSERT_TRUE(kLeftoverChordAtomsCleared);
  HotKeyOwner owner;
  AppHotKeys keys;
  keys.SetOwnerWindow(owner.hwnd());
  for (int i = 0; i < 5; ++i) keys.Register(AppChord::kSearch, MakeHotKeyCode(kCtrlAltShift, 'I'), owner.settings);
  keys.UnregisterAll();
  // One reference only: a single delete removes the atom.
  const ATOM atom = static_cast<ATOM>(AppChordId(AppChord::kSearch) + 0xC000);
  ASSERT_EQ(GlobalFindAtomW(L"PexoSearchHotKey"), atom);
  GlobalDeleteAtom(atom);
  EXPECT_EQ(GlobalFindAtomW(L"PexoSearchHotKey"), 0);
  GlobalAddAtomW(L"PexoSearchHotKey");  // give back the reference the process holds until exit
}

}  // namespace
