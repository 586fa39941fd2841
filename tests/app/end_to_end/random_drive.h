// The core of the long random drive of the real Pexo.exe: the program's folder and
// run, the model of what link.db and conf.ini must hold, the checks, and the
// steps every action shares (the window brought to the front, a group or tag
// chosen, a menu path followed, a dialog awaited, a question answered). The
// actions themselves stand in the random_drive_*.h headers, each adding its own
// to the drive's table with a weight.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/app/end_to_end/random_drive_store.h"
#include "tests/support/clipboard_text.h"
#include "tests/support/pexo_program.h"
#include "ui/base/scoped_handles.h"

namespace drive {

// Where things are in the 388 x 600 window (client coordinates).
constexpr int kWindowWidth = 388;
constexpr POINT kTagSpace = {37, 560};
constexpr POINT kLinkBoxSpace = {250, 520};
constexpr POINT kMenuButton = {kWindowWidth - 53, 21};
constexpr POINT kSearchButton = {kWindowWidth - 85, 21};
// The empty foot of the tag column: a click there closes a menu and changes nothing.
constexpr POINT kQuietSpot = {37, 580};
inline POINT GroupCentre(size_t index) { return {1 + 6 + 36 + 72 * static_cast<LONG>(index), 47 + 15}; }
// Groups are 72 wide, one pixel apart, from the strip's padding of 6.
inline int GroupLeft(size_t index) { return 1 + 6 + 73 * static_cast<int>(index); }
inline POINT TagCentre(size_t index) { return {37, 109 + 38 * static_cast<LONG>(index)}; }
inline POINT CardCentre(size_t index) {
  return {128 + 96 * static_cast<LONG>(index % 3), 133 + 84 * static_cast<LONG>(index / 3)};
}

constexpr size_t kMaxGroups = 4;  // they fit the strip's one row
constexpr size_t kMaxTags = 7;
constexpr size_t kMaxLinks = 9;  // three rows of three cards

// The main chord that shows and hides the window: Ctrl+Alt+F8.
constexpr UINT kMainChordModifiers = MOD_CONTROL | MOD_ALT;
constexpr WORD kMainChordKey = VK_F8;

// Ctrl+Shift+F12 is the drive's own chord, to learn what the display does with
// synthesised chords.
constexpr WORD kCalibrationKey = VK_F12;

// Whether this display turns synthesised keys into WM_HOTKEY: learnt once with a
// chord of this thread's own.
inline bool KeysMakeChords() {
  static const bool makes = [] {
    constexpr int kId = 0xB001;
    if (!RegisterHotKey(nullptr, kId, MOD_CONTROL | MOD_SHIFT, kCalibrationKey)) return false;
    e2e::PressChord({VK_CONTROL, VK_SHIFT}, kCalibrationKey);
    MSG message = {};
    const bool came = pexo_test::WaitUntil(
        [&] { return PeekMessageW(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != FALSE; }, 2000);
    UnregisterHotKey(nullptr, kId);
    return came;
  }();
  return makes;
}

using e2e::ColourDistance;

// The seed: PEXO_DRIVE_SEED, else the fixed one CI runs.
inline uint32_t DriveSeed() {
  if (const char* seed = std::getenv("PEXO_DRIVE_SEED")) return static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
  return 20251209;
}

// Shown at the left, not docked; a single click only selects a card (so that the
// drive never opens a browser), deleting asks first, Ctrl+Alt+F8 shows and hides.
// These values stay as written through every run (the settings actions change
// some of them and say so); the window's place and the current group and tag,
// which the program writes back itself, come after them.
inline std::map<std::wstring, std::wstring> DriveConf() {
  return {{L"bHideOnStart", L"0"}, {L"bAutoDock", L"0"},    {L"bHideNotify", L"1"},  {L"bTopMost", L"1"},
          {L"bShowDate", L"0"},    {L"Theme", L""},         {L"bDoubleClick", L"1"}, {L"bDelConfirm", L"1"},
          {L"bFocusSearch", L"0"}, {L"nMainHotKey", std::to_wstring((2 | 1) << 8 | VK_F8)}};
}
constexpr char kDrivePlace[] = "nPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\nnCurGroup=0\r\nnCurTag=0\r\n";

inline std::string ConfText(const std::map<std::wstring, std::wstring>& values) {
  std::wstring text = L"[main]\r\n";
  for (const auto& [key, value] : values) text += key + L"=" + value + L"\r\n";
  return Utf8(text);
}

// Under Wine with no window manager on the display, every window the program
// hides or closes keeps its thread waiting two seconds for a manager that never
// answers, so each dialog or menu costs the drive seconds. The drive runs alone on
// the display, so while it runs the program's windows are left unmanaged by X
// (Wine's own per-program setting; Windows never reads it).
class UnmanagedWindowsUnderWine {
 public:
  UnmanagedWindowsUnderWine() {
    if (!pexo_test::RunningUnderWine()) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return;
    }
    const ui::UniqueRegKey owned(key);
    set_ = RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t)) ==
           ERROR_SUCCESS;
  }
  ~UnmanagedWindowsUnderWine() {
    if (set_) RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Pexo.exe");
  }
  UnmanagedWindowsUnderWine(const UnmanagedWindowsUnderWine&) = delete;
  UnmanagedWindowsUnderWine& operator=(const UnmanagedWindowsUnderWine&) = delete;

 private:
  static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\Pexo.exe\\X11 Driver";
  bool set_ = false;
};

class RandomDrive;

// One kind of user action: picked with a chance in proportion to its weight; it
// acts, brings the model along and returns false with the reason when an
// invariant broke.
struct Action {
  std::string name;
  int weight;
  std::function<bool(RandomDrive&, std::string*)> run;
};

class RandomDrive {
 public:
  RandomDrive()
      : conf_(DriveConf()),
        program_(ConfText(conf_) + kDrivePlace),
        random_(DriveSeed()),
        // Every action of the run, numbered, for whoever studies a passing run's second tries.
        log_(std::filesystem::path(pexo_test::ExeFolder() + L"\\random_drive.log")) {}
  RandomDrive(const RandomDrive&) = delete;
  RandomDrive& operator=(const RandomDrive&) = delete;

  void AddActions(std::vector<Action> actions) {
    // PEXO_DRIVE_ONLY=word keeps only the actions whose names hold it (restarts stay).
    const char* only = std::getenv("PEXO_DRIVE_ONLY");
    for (Action& action : actions) {
      if (only && *only && action.name.find(only) == std::string::npos && action.name != "restart") continue;
      actions_.push_back(std::move(action));
    }
  }

  // Runs after every start, once the window shows: what an area of actions must
  // note of a new run before any action (which chords it registered, say).
  void AddStartHook(std::function<void(RandomDrive&)> hook) { startHooks_.push_back(std::move(hook)); }

  // Runs `count` actions; false with the reason at the first broken invariant.
  bool Run(int count, std::string* failure) {
    if (!Start(failure)) return false;
    model_ = {{L"新的分组", {{L"新的标签", kOrdinaryTag, {}, {}}}}};
    group_ = tag_ = 0;
    int total = 0;
    for (const Action& action : actions_) total += action.weight;
    for (int number = 1; number <= count; ++number) {
      action_ = number;
      if (!Prepare(failure)) return Fail(failure, "action " + std::to_string(number));
      uint32_t roll = Pick(static_cast<uint32_t>(total));
      const Action* chosen = &actions_.front();
      for (const Action& action : actions_) {
        if (roll < static_cast<uint32_t>(action.weight)) {
          chosen = &action;
          break;
        }
        roll -= static_cast<uint32_t>(action.weight);
      }
      const bool done = chosen->run(*this, failure);
      CountSecondClicks();
      if (!done) return Fail(failure, "action " + std::to_string(number) + " " + chosen->name);
      if (number % kCheckEvery == 0 && !Check(failure)) return Fail(failure, "check after " + std::to_string(number));
    }
    if (!Restart(false, failure)) return Fail(failure, "final restart");
    if (!Check(failure)) return Fail(failure, "final check");
    Log("close at the end");
    if (!Close(failure)) return false;
    // A few retries are the display's; more would hide a program that drops
    // what it is given.
    if (retries_.size() * 100 > static_cast<size_t>(kRetriesPer100) * static_cast<size_t>(count)) {
      *failure = std::to_string(retries_.size()) + " retries in " + std::to_string(count) + " actions, more than " +
                 std::to_string(kRetriesPer100) + " in 100";
      return false;
    }
    return true;
  }

  // Every retry of the run with its action and cause, for the output.
  std::string RetrySummary() const {
    std::string text = std::to_string(retries_.size()) + " retries\n";
    for (const auto& [action, cause] : retries_) text += "  action " + std::to_string(action) + ": " + cause + "\n";
    return text;
  }

  std::string RecentActions() const {
    std::string text;
    for (const std::string& action : recent_) text += "  " + action + "\n";
    return text;
  }

  // --- What the actions use ---------------------------------------------------

  pexo_test::PexoProgram& program() { return program_; }
  DWORD pid() const { return program_.processId(); }
  HWND main() const { return main_; }
  int actionNumber() const { return action_; }

  // The model: every group with its tags; the group and tag the drive works in.
  std::vector<GroupModel>& groups() { return model_; }
  size_t& groupIndex() { return group_; }
  size_t& tagIndex() { return tag_; }
  GroupModel& group() { return model_[group_]; }
  TagModel& tag() { return model_[group_].tags[tag_]; }
  // conf.ini's values as the drive set them; checked with the store.
  std::map<std::wstring, std::wstring>& conf() { return conf_; }

  uint32_t Pick(uint32_t count) { return count == 0 ? 0 : random_() % count; }

  // A name no other thing of the drive has: mostly short, now and then thousands
  // of characters, Latin or Chinese.
  std::wstring NewName(const std::wstring& prefix) {
    const std::wstring name = prefix + std::to_wstring(++counter_);
    const uint32_t roll = Pick(40);
    if (roll == 0) return name + L"-" + std::wstring(2000 + Pick(2000), L'x');
    if (roll == 1) return name + L"-" + std::wstring(1500 + Pick(1500), L'长');
    if (roll == 2) return name + L"名称";
    return name;
  }

  void Log(const std::string& action) {
    recent_.push_back(action);
    if (recent_.size() > 20) recent_.pop_front();
    log_ << action_ << ' ' << (GetTickCount() - started_) / 100 / 10.0 << "s " << action << std::endl;
  }

  // The main window shown and in front, as the user has it before acting.
  bool Front() {
    if (!IsWindowVisible(main_)) ShowByChord();
    SetForegroundWindow(main_);
    return pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 3000);
  }

  // The main chord pressed with the keys. Where this display makes no WM_HOTKEY
  // of synthesised keys, the message the system would send follows them: the
  // chord's own modifiers and key, which the program matches.
  void ShowByChord() {
    e2e::PressChord({VK_CONTROL, VK_MENU}, kMainChordKey);
    if (!KeysMakeChords()) {
      Log("  (the display makes no chord of keys: WM_HOTKEY posted)");
      const ATOM atom = GlobalFindAtomW(L"PexoHotKey");
      PostMessageW(main_, WM_HOTKEY, atom - 0xC000, MAKELPARAM(kMainChordModifiers, kMainChordKey));
    }
    pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 3000);
  }

  // Whether the tag's row shows the selection colour, looked at inside the row's
  // left edge: further in, a name of four Chinese characters covers the point
  // with its first glyph, and a long one wraps over the whole height of the row.
  // The skin marks the chosen tag light blue (about 220,232,246), the hovered one
  // grey (234,239,244) and the others near white: only the chosen one is clearly
  // bluer than red. A transparent window (Wine lays it over black) shows every
  // difference that much smaller: the threshold shrinks with it.
  bool TagShownChosen(size_t index) {
    const COLORREF colour = e2e::ScreenPixel(e2e::ToScreen(main_, {7, TagCentre(index).y}));
    return colour != CLR_INVALID &&
           (static_cast<int>(GetBValue(colour)) - static_cast<int>(GetRValue(colour))) * 255 > 18 * WindowAlpha();
  }

  // The main window's transparency as conf.ini names it (opaque unless set).
  int WindowAlpha() const {
    const auto found = conf_.find(L"nAlpha");
    return found == conf_.end() ? 255 : std::stoi(found->second);
  }

  bool GroupShownChosen(size_t index) { return e2e::StripItemChosen(main_, GroupLeft(index), WindowAlpha()); }

  // The one tag row of the first `count` that shows the selection colour; -1
  // when none or more than one does.
  int ShownTagRow(size_t count) {
    int shown = -1;
    for (size_t i = 0; i < count; ++i) {
      if (!TagShownChosen(i)) continue;
      if (shown >= 0) return -1;
      shown = static_cast<int>(i);
    }
    return shown;
  }

  // Clicks the tag once; it must then show chosen. A click on a row that
  // another window covers (a menu a lost click left up) would not reach it: the
  // cover is closed first, and that counts as a retry.
  bool SelectTag(size_t index, std::string* failure) {
    if (!Reachable(TagCentre(index), "tag " + std::to_string(index))) {
      *failure = "tag " + std::to_string(index) + "'s row stays covered";
      return false;
    }
    e2e::Click(main_, TagCentre(index), false, 120);
    if (!pexo_test::WaitUntil([&] { return TagShownChosen(index); }, 3000)) {
      e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_failure.png");
      *failure = "tag " + std::to_string(index) +
                 " was clicked on its shown row and is not chosen (the screen is in random_drive_failure.png)";
      return false;
    }
    tag_ = index;
    return true;
  }

  // After a command that shows a group: its item chosen in the strip and one of
  // its tags chosen in the column. The window shows the tag the group had last
  // (each group keeps its own), which the drive takes from the screen.
  bool SeeGroupShown(size_t index, std::string* failure) {
    const size_t count = model_[index].tags.size();
    int row = -1;
    int same = 0;
    const bool shown = pexo_test::WaitUntil(
        [&] {
          if (!GroupShownChosen(index)) return false;
          const int now = ShownTagRow(count);
          same = now >= 0 && now == row ? same + 1 : 0;
          row = now;
          return same >= 2;  // the column may still be drawing the tags of the group before
        },
        3000);
    if (!shown) {
      e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_failure.png");
      *failure = "group " + std::to_string(index) + " is not shown with one of its tags chosen" +
                 " (the screen is in random_drive_failure.png)";
      return false;
    }
    group_ = index;
    tag_ = static_cast<size_t>(row);
    return true;
  }

  // Clicks the group in the strip once, and reads what it then shows.
  bool SelectGroup(size_t index, std::string* failure) {
    if (!Reachable(GroupCentre(index), "group " + std::to_string(index))) {
      *failure = "group " + std::to_string(index) + "'s item stays covered";
      return false;
    }
    e2e::Click(main_, GroupCentre(index), false, 120);
    return SeeGroupShown(index, failure);
  }

  // Opens the menu of the right-clicked point and follows the path; false when a
  // level did not come.
  bool Menu(POINT client, std::initializer_list<e2e::MenuStep> path, std::string* failure) {
    const bool chosen = e2e::ChooseMenu(pid(), main_, client, path);
    CountSecondClicks();
    if (chosen) return true;
    // What the screen showed, beside the test program, for whoever replays the seed.
    e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_failure.png");
    NotCame(failure, "a menu level did not open or went before its item was clicked (" + e2e::LastMenuNote() +
                         "; the screen is in random_drive_failure.png)");
    return false;
  }

  // The title bar's menu button clicked, then the path through the main menu
  // (a negative row is its last item, "退出").
  bool MainMenu(std::initializer_list<e2e::MenuStep> path, std::string* failure) {
    HWND level = OpenMainMenu(failure);
    return level && FollowMainMenu(level, path, failure);
  }

  // The main menu's level opened by the title bar's menu button; null (with the
  // reason) when it did not open.
  HWND OpenMainMenu(std::string* failure) {
    e2e::LastMenu() = {};
    HWND level = e2e::OpenMenuLevel(pid(), [&] { e2e::Click(main_, kMenuButton, false, 50); }, "menu button");
    CountSecondClicks();
    if (!level) NotCame(failure, "the main menu did not open");
    return level;
  }

  // The path followed from the main menu's open level.
  // A window made transparent shows the level's white darker (`padding`).
  bool FollowMainMenu(HWND level, std::initializer_list<e2e::MenuStep> path, std::string* failure,
                      COLORREF padding = RGB(255, 255, 255)) {
    if (e2e::FollowMenuPath(pid(), level, path, padding)) return true;
    NotCame(failure, "the main menu: " + e2e::LastMenuNote());
    return false;
  }

  // The tray icon right-clicked, as the shell tells the window, then the item
  // clicked once.
  bool TrayMenu(e2e::MenuStep step, std::string* failure) {
    std::string why;
    const bool chosen = e2e::ChooseFromTray(pid(), main_, step, why);
    CountSecondClicks();
    if (!chosen) NotCame(failure, why);
    return chosen;
  }

  HWND WaitDialog(const wchar_t* className, std::string* failure) {
    HWND dialog = e2e::WaitVisible(pid(), className, 5000);
    if (!dialog) NotCame(failure, "no " + Utf8(className));
    // Clicks before the dialog has faded in and laid out its fields miss them.
    if (dialog) e2e::WaitSettled(dialog);
    return dialog;
  }

  bool WaitDialogGone(const wchar_t* className, std::string* failure) {
    if (e2e::WaitGone(pid(), className, 5000)) return true;
    *failure = Utf8(className) + " stayed open";
    return false;
  }

  // The OK or Cancel button of the program's own dialogs, from their corner.
  static POINT DialogButton(HWND dialog, bool ok) {
    RECT rc = {};
    GetClientRect(dialog, &rc);
    return {rc.right - 1 - 16 - 42 - (ok ? 84 + 8 : 0), rc.bottom - 1 - 14 - 15};
  }

  // The text put on the clipboard, as another program would copy it.
  static bool PutOnClipboard(const std::wstring& text) { return pexo_test::PutClipboardText(text); }
  static std::wstring ClipboardText() { return pexo_test::ClipboardText(); }

  // Text into the field that has the keys: typed when short, pasted (Ctrl+V) when
  // long, as a user brings a long text in.
  static void Enter(const std::wstring& text) {
    if (text.size() > 60 && PutOnClipboard(text)) {
      e2e::PressKey('V', {VK_CONTROL});
      return;
    }
    e2e::TypeText(text);
  }

  // The name dialog: the name replaces what the field holds and Enter or Escape ends it.
  bool AskName(const std::wstring& name, bool confirm, std::string* failure) {
    HWND dialog = WaitDialog(L"NameWnd", failure);
    if (!dialog) return false;
    // Keys go to the active window: typing before the dialog is active would lose
    // the name and let Enter confirm the old one.
    if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2000)) {
      SetForegroundWindow(dialog);
      pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 1000);
    }
    e2e::PressKey('A', {VK_CONTROL});
    Enter(name);
    e2e::PressKey(confirm ? VK_RETURN : VK_ESCAPE);
    return WaitDialogGone(L"NameWnd", failure);
  }

  // The program's question box ("确认删除吗？"): answered OK or Cancel by a click on
  // its button. False when no box came.
  bool AnswerBox(bool ok, std::string* failure) {
    HWND box = nullptr;
    pexo_test::WaitUntil([&] { return (box = pexo_test::FindProcessWindow(pid(), L"#32770", nullptr, true)); },
                         5000);
    if (!box) {
      NotCame(failure, "no question box came");
      return false;
    }
    HWND button = GetDlgItem(box, ok ? IDOK : IDCANCEL);
    RECT rc = {};
    if (!button || !GetWindowRect(button, &rc)) {
      *failure = "the question box has no such button";
      return false;
    }
    const POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    // The box takes the click once it is in front and drawn.
    SetForegroundWindow(box);
    pexo_test::WaitUntil([&] { return GetForegroundWindow() == box; }, 2000);
    e2e::WaitSettled(box, 3000);
    e2e::ClickScreen(centre, false, 100);
    if (!pexo_test::WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000)) {
      *failure = std::string("the question box's ") + (ok ? "OK" : "Cancel") + " was clicked and the box stayed";
      return false;
    }
    return true;
  }

  // Closes a dialog, box or menu a lost click left open.
  void Recover() {
    for (const wchar_t* dialogClass : {L"UrlWnd", L"NameWnd", L"SysWnd", L"EditWnd", L"SettingWnd", L"HotKeyWnd"}) {
      if (HWND dialog = e2e::WaitVisible(pid(), dialogClass, 0)) {
        // The close button at the right of the caption: a click needs no keyboard focus.
        RECT rc = {};
        GetClientRect(dialog, &rc);
        e2e::Click(dialog, {rc.right - 1 - 6 - 15, 1 + 20});
        e2e::WaitGone(pid(), dialogClass, 4000);
      }
    }
    if (HWND box = pexo_test::FindProcessWindow(pid(), L"#32770", nullptr, true)) {
      PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
      pexo_test::WaitUntil([&] { return !IsWindowVisible(box); }, 2000);
    }
    if (!e2e::VisibleWindows(pid(), L"MenuWnd").empty()) {
      e2e::Click(main_, kQuietSpot);
      e2e::WaitGone(pid(), L"MenuWnd", 2000);
    }
  }

  // Whether link.db holds what the model says.
  bool StoreMatches(std::string* what = nullptr) {
    std::vector<GroupModel> stored;
    std::string integrity;
    if (!ReadStore(program_.File(L"db\\link.db"), &stored, &integrity)) {
      if (what) *what = "link.db could not be read";
      return false;
    }
    if (integrity != "ok") {
      if (what) *what = "integrity_check: " + integrity;
      return false;
    }
    const bool same = SameStore(stored, model_);
    if (!same && what) *what = "link.db holds " + Describe(stored) + "but the drive made " + Describe(model_);
    return same;
  }

  // Whether conf.ini holds every value the drive set.
  bool ConfMatches(std::string* what = nullptr) {
    for (const auto& [key, value] : conf_) {
      std::wstring stored(4096, L'\0');
      stored.resize(GetPrivateProfileStringW(L"main", key.c_str(), L"\x1", stored.data(),
                                             static_cast<DWORD>(stored.size()), program_.File(L"conf.ini").c_str()));
      if (stored != value) {
        if (what) *what = "conf.ini holds " + Utf8(key) + "=" + Shown(stored) + " where the drive set " + Shown(value);
        return false;
      }
    }
    return true;
  }

  // --- Retries --------------------------------------------------------------

  // What an action waited for never came (no menu level, no dialog window): a
  // cause outside the program, for which the action may be done once more.
  // Anything else that goes wrong fails the drive.
  void NotCame(std::string* why, const std::string& what) {
    *why = what;
    notCame_ = true;
  }

  void CountRetry(const std::string& cause) {
    retries_.emplace_back(action_, cause);
    Log("  retry: " + cause);
  }

  // The menu helpers click once more when the first click brought no level:
  // each such click is a retry.
  void CountSecondClicks() {
    for (; e2e::LastMenu().secondClicks > 0; --e2e::LastMenu().secondClicks) {
      CountRetry("no menu level came after the first click: clicked once more");
    }
  }

  // Whether a click at the client point reaches the main window. When another
  // window covers it (a menu or dialog a lost click left up), that is closed
  // and counted as a retry; false when the point stays covered.
  bool Reachable(POINT client, const std::string& what) {
    const POINT screen = e2e::ToScreen(main_, client);
    for (int attempt = 0;; ++attempt) {
      HWND at = WindowFromPoint(screen);
      if (at && GetAncestor(at, GA_ROOT) == main_) return true;
      if (attempt == 1) return false;
      wchar_t name[64] = L"nothing";
      if (at) GetClassNameW(GetAncestor(at, GA_ROOT), name, 64);
      CountRetry(what + " was covered by " + Utf8(name) + ": closed first");
      Recover();
      Front();
    }
  }

  // An action step that changes nothing stored (a dialog or menu opened, a
  // theme chosen): done once more only when what it waited for never came.
  bool Reach(const std::function<bool(std::string*)>& act, std::string* failure) {
    std::string why;
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (attempt > 0) {
        CountRetry(why);
        Recover();
        Front();
      }
      why.clear();
      notCame_ = false;
      const bool done = act(&why);
      CountSecondClicks();
      if (done) return true;
      if (!notCame_) break;
    }
    *failure = why;
    return false;
  }

  // An action that changes what link.db holds: the model takes the change, the
  // action runs, and link.db must follow within a few seconds (a closing dialog
  // blocks the window for two). It is done once more only when its menu, item
  // or dialog never came and link.db is as it was; once its item was clicked or
  // its dialog ended, link.db not following fails the drive at once.
  bool Mutate(const std::function<bool(std::string*)>& act, const std::function<void()>& apply,
              std::string* failure) {
    const std::vector<GroupModel> before = model_;
    const size_t group = group_;
    const size_t tag = tag_;
    apply();
    std::string why;
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (attempt > 0) {
        CountRetry(why);
        // What the screen showed when the action's window did not come, for whoever replays the seed.
        e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_not_taken_" +
                                                      std::to_wstring(action_) + L".png");
        Recover();
        std::vector<GroupModel> stored;
        std::string integrity;
        if (!ReadStore(program_.File(L"db\\link.db"), &stored, &integrity) || !SameStore(stored, before)) {
          *failure = "link.db changed though the action did not come through (" + why + ")";
          return false;
        }
        // The window back as it was before the action, the model's choice kept.
        const size_t appliedGroup = group_;
        const size_t appliedTag = tag_;
        Front();
        if (!GroupShownChosen(group) && !ClickGroupUntilChosen(group, failure)) return false;
        if (!TagShownChosen(tag) && !SelectTag(tag, failure)) return false;
        group_ = appliedGroup;
        tag_ = appliedTag;
      }
      why.clear();
      notCame_ = false;
      e2e::LastMenuNote().clear();
      const bool done = act(&why);
      CountSecondClicks();
      if (done) {
        if (pexo_test::WaitUntil([&] { return StoreMatches(); }, 5000)) return true;
        StoreMatches(&why);
        *failure = "the action was carried through and link.db did not follow: " + why;
        return false;
      }
      if (!notCame_) break;
    }
    *failure = why;
    return false;
  }

  // Waits until the program has taken every key and click sent before (input is
  // taken in order): the cursor is moved onto the title bar's search button and
  // its hover colour must show, then moved off it. A message posted meanwhile
  // would be taken before input still queued.
  bool InputTaken(std::string* failure) {
    if (!IsWindowVisible(main_)) Front();
    const POINT spot = e2e::ToScreen(main_, {kSearchButton.x - 11, kSearchButton.y});
    e2e::MoveTo(e2e::ToScreen(main_, kQuietSpot));
    // The button at rest, the same over a few looks: a hover that is still fading
    // out would change by itself.
    COLORREF resting = e2e::ScreenPixel(spot);
    int stillLooks = 0;
    pexo_test::WaitUntil(
        [&] {
          Sleep(15);
          const COLORREF now = e2e::ScreenPixel(spot);
          stillLooks = now == resting ? stillLooks + 1 : 0;
          resting = now;
          return stillLooks >= 3;
        },
        2000);
    // A tip still up from before (a card's, say) would tell nothing: it must be
    // gone before the tip can count.
    const auto tipShown = [&] { return !e2e::VisibleWindows(pid(), L"tooltips_class32").empty(); };
    const bool tipTells = pexo_test::WaitUntil([&] { return !tipShown(); }, 2000);
    e2e::MoveTo(spot);
    // The button's hover colour, or its tip (the colour does not always show
    // under Wine: the tip alone came up in one run).
    bool taken =
        pexo_test::WaitUntil([&] { return e2e::ScreenPixel(spot) != resting || (tipTells && tipShown()); }, 5000);
    e2e::MoveTo(e2e::ToScreen(main_, kQuietSpot));
    // A button that still showed the hover of an earlier visit at rest loses it
    // when the cursor leaves: that change tells as well.
    if (!taken) {
      Log("  (the search button did not change under the cursor: looked at as the cursor left)");
      taken = pexo_test::WaitUntil([&] { return e2e::ScreenPixel(spot) != resting; }, 5000);
    }
    if (!taken) {
      e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_failure.png");
      *failure = "the window did not take the cursor's moves onto and off its search button within 10 s"
                 " (the screen is in random_drive_failure.png)";
    }
    return taken;
  }

  // The program closed (by WM_CLOSE once it has taken the input before, or the
  // main menu's 退出) and started again; it must end with 0 and leave conf.ini
  // and link.db as driven.
  bool Restart(bool throughMenu, std::string* failure) {
    Log(throughMenu ? "restart through the menu's exit" : "restart by closing the window");
    if (throughMenu) {
      Front();
      // Clicked, 退出 must end the program.
      if (!Reach([&](std::string* why) { return MainMenu({{-1}}, why); }, failure)) return false;
    } else if (!InputTaken(failure)) {
      return false;
    } else {
      PostMessageW(main_, WM_CLOSE, 0, 0);
    }
    return Ended(failure) && Start(failure) && Check(failure);
  }

  // The program's end after a close: exit code 0, conf.ini written.
  bool Ended(std::string* failure) {
    DWORD code = 0xFFFFFFFF;
    if (!program_.WaitExit(20000, &code) || code != 0) {
      *failure = "the program did not end with 0 (" + std::to_string(code) + ")";
      return false;
    }
    wchar_t version[16] = {};
    GetPrivateProfileStringW(L"main", L"nVersion", L"", version, 16, program_.File(L"conf.ini").c_str());
    if (std::wcstol(version, nullptr, 10) <= 0) {
      *failure = "conf.ini holds no version after a close";
      return false;
    }
    return true;
  }

  bool Start(std::string* failure) {
    if (!program_.Start()) {
      *failure = "the program did not start (error " + std::to_string(program_.startError()) + ")";
      return false;
    }
    HWND error = nullptr;
    program_.WaitMainWindowOrError(&main_, &error);
    if (!main_ || !pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 15000)) {
      *failure = "no main window after a start";
      return false;
    }
    e2e::WaitSettled(main_);  // the cards fade in
    // A start shows the group and tag of the last run: the drive goes back to the first.
    if (!model_.empty()) {
      Front();
      if (!SelectGroup(0, failure)) return false;
      if (!TagShownChosen(0) && !SelectTag(0, failure)) return false;
    }
    for (const auto& hook : startHooks_) hook(*this);
    return true;
  }

  bool Close(std::string* failure) {
    if (!InputTaken(failure)) return false;
    PostMessageW(main_, WM_CLOSE, 0, 0);
    return Ended(failure);
  }

  bool Check(std::string* failure) {
    // Input still queued is taken first; then the window must answer within 2 s.
    PexoProgram::Answers(main_, 4000);
    if (!PexoProgram::Answers(main_, 2000)) {
      *failure = "the window did not answer within 2 s";
      return false;
    }
    return StoreMatches(failure) && ConfMatches(failure);
  }

 private:
  using PexoProgram = pexo_test::PexoProgram;
  static constexpr int kCheckEvery = 50;
  static constexpr int kRetriesPer100 = 2;

  // A click on the group until its item shows chosen (the window back as it
  // was before a retried action).
  bool ClickGroupUntilChosen(size_t index, std::string* failure) {
    if (!Reachable(GroupCentre(index), "group " + std::to_string(index))) {
      *failure = "group " + std::to_string(index) + "'s item stays covered";
      return false;
    }
    e2e::Click(main_, GroupCentre(index), false, 120);
    if (pexo_test::WaitUntil([&] { return GroupShownChosen(index); }, 3000)) return true;
    *failure = "group " + std::to_string(index) + " was clicked and is not chosen";
    return false;
  }

  bool Fail(std::string* failure, const std::string& where) {
    *failure = where + ": " + *failure;
    return false;
  }

  // Before each action: the window in front and the tag the drive works in shown.
  bool Prepare(std::string* failure) {
    if (!program_.Running()) {
      *failure = "the program is not running";
      return false;
    }
    if (!Front()) {
      *failure = "the window could not be shown";
      return false;
    }
    if (!TagShownChosen(tag_)) {
      // The tag the drive works in is not the one shown (a key or a dialog moved
      // the choice): the user clicks it first.
      Log("  (tag " + std::to_string(tag_) + " is not the one shown)");
      return SelectTag(tag_, failure);
    }
    return true;
  }

  std::map<std::wstring, std::wstring> conf_;
  PexoProgram program_;
  std::mt19937 random_;
  HWND main_ = nullptr;
  std::vector<Action> actions_;
  std::vector<std::function<void(RandomDrive&)>> startHooks_;
  std::vector<GroupModel> model_;
  size_t group_ = 0;
  size_t tag_ = 0;
  int counter_ = 0;
  std::deque<std::string> recent_;
  int action_ = 0;
  bool notCame_ = false;
  std::vector<std::pair<int, std::string>> retries_;
  const DWORD started_ = GetTickCount();
  std::ofstream log_;
};

}  // namespace drive
