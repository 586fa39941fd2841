// A long random drive of the real Pexo.exe from outside: a fixed seed picks each
// user action (clicks on groups, tags and cards, menu commands that add, rename,
// move and delete tags and links through their dialogs, dialogs cancelled, files
// dropped from this process, keys,
// hides and shows, the search window, a second start, restarts). The test keeps a
// model of the tags and their links and checks, every 50 actions and after each
// restart, that the program answers, link.db is whole and holds what the model
// says. A failure prints the seed and the last actions so that it can be replayed.
#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/app/support/test_data_object.h"
#include "tests/support/pexo_program.h"
#include "ui/base/scoped_handles.h"

namespace {

using pexo_test::PexoProgram;

constexpr uint32_t kSeed = 20251209;
// PEXO_DRIVE_ACTIONS sets another count (a short drive while changing the program).
constexpr int kDefaultActions = 1000;
constexpr int kCheckEvery = 50;
constexpr size_t kMaxTags = 7;
constexpr size_t kMaxLinks = 9;  // three rows of three cards

// Shown at the left, not docked; a single click only selects a card (so that the
// drive never opens a browser), deleting asks nothing, Ctrl+Alt+F8 shows and hides.
std::string DriveConf() {
  return "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
         "bDoubleClick=1\r\nbDelConfirm=0\r\nbFocusSearch=0\r\n"
         "nPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\nnCurGroup=0\r\nnCurTag=0\r\n"
         "nMainHotKey=" +
         std::to_string((2 | 1) << 8 | VK_F8) + "\r\n";
}

// Where things are in the 388 x 600 window (client coordinates).
constexpr POINT kGroup0 = {1 + 6 + 36, 47 + 15};
constexpr POINT kTagSpace = {37, 560};
constexpr POINT kLinkBoxSpace = {250, 520};
constexpr POINT kMenuButton = {388 - 53, 21};
constexpr POINT kSearchButton = {388 - 85, 21};
POINT TagCentre(size_t index) { return {37, 109 + 38 * static_cast<LONG>(index)}; }
POINT CardCentre(size_t index) {
  return {128 + 96 * static_cast<LONG>(index % 3), 133 + 84 * static_cast<LONG>(index / 3)};
}

struct TagModel {
  std::wstring name;
  std::vector<std::wstring> links;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The tags of the first group and their links, in order, as link.db holds them.
bool ReadStore(const std::wstring& path, std::vector<TagModel>* tags, std::string* integrity) {
  sqlite3* db = nullptr;
  const std::string utf8 = Narrow(path);  // temporary folders are ASCII
  if (sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, 2000);
  auto text = [](sqlite3_stmt* row, int column) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    const std::string utf8 = bytes ? bytes : "";
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    return wide;
  };
  bool ok = true;
  sqlite3_stmt* row = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &row, nullptr) == SQLITE_OK &&
      sqlite3_step(row) == SQLITE_ROW) {
    *integrity = Narrow(text(row, 0));
  } else {
    ok = false;
  }
  sqlite3_finalize(row);
  std::vector<int64_t> ids;
  tags->clear();
  if (sqlite3_prepare_v2(db,
                         "SELECT ID,NAME FROM Groups WHERE ParentGroup=(SELECT ID FROM Groups WHERE "
                         "ParentGroup=0 OR ParentGroup IS NULL ORDER BY POS,ID LIMIT 1) ORDER BY POS,ID",
                         -1, &row, nullptr) == SQLITE_OK) {
    while (sqlite3_step(row) == SQLITE_ROW) {
      ids.push_back(sqlite3_column_int64(row, 0));
      tags->push_back({text(row, 1), {}});
    }
  } else {
    ok = false;
  }
  sqlite3_finalize(row);
  for (size_t i = 0; ok && i < ids.size(); ++i) {
    if (sqlite3_prepare_v2(db, "SELECT NAME FROM Links WHERE ParentGroup=? ORDER BY POS,ID", -1, &row, nullptr) !=
        SQLITE_OK) {
      ok = false;
      break;
    }
    sqlite3_bind_int64(row, 1, ids[i]);
    while (sqlite3_step(row) == SQLITE_ROW) (*tags)[i].links.push_back(text(row, 0));
    sqlite3_finalize(row);
  }
  sqlite3_close(db);
  return ok;
}

std::string Describe(const std::vector<TagModel>& tags) {
  std::ostringstream out;
  for (const TagModel& tag : tags) {
    out << Narrow(tag.name) << "[";
    for (const std::wstring& link : tag.links) out << Narrow(link) << " ";
    out << "] ";
  }
  return out.str();
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

class RandomDrive {
 public:
  RandomDrive()
      : program_(DriveConf()),
        random_(kSeed),
        // Every action of the run, numbered, for whoever studies a passing run's second tries.
        log_(std::filesystem::path(pexo_test::ExeFolder() + L"\\random_drive.log")) {}

  PexoProgram& program() { return program_; }

  // Runs `count` actions; false with the reason at the first broken invariant.
  bool Run(int count, std::string* failure) {
    if (!Start(failure)) return false;
    model_ = {{L"新的标签", {}}};
    for (int action = 1; action <= count; ++action) {
      action_ = action;
      if (!Step(failure)) return Fail(failure, "action " + std::to_string(action));

      if (action % kCheckEvery == 0 && !Check(failure)) return Fail(failure, "check after " + std::to_string(action));
    }
    if (!Restart(false, failure)) return Fail(failure, "final restart");
    if (!Check(failure)) return Fail(failure, "final check");
    program_.CloseAndWait(main_);
    return true;
  }

  std::string RecentActions() const {
    std::string text;
    for (const std::string& action : recent_) text += "  " + action + "\n";
    return text;
  }

 private:
  bool Fail(std::string* failure, const std::string& where) {
    *failure = where + ": " + *failure;
    return false;
  }

  uint32_t Pick(uint32_t count) { return count == 0 ? 0 : random_() % count; }

  void Log(const std::string& action) {
    recent_.push_back(action);
    if (recent_.size() > 20) recent_.pop_front();
    log_ << action_ << ' ' << action << std::endl;
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
    Sleep(400);  // the cards fade in
    return true;
  }

  bool Restart(bool throughMenu, std::string* failure) {
    Log(throughMenu ? "restart through the menu's exit" : "restart by closing the window");
    if (throughMenu) {
      Front();
      e2e::Click(main_, kMenuButton);
      HWND level = e2e::WaitNewMenuLevel(program_.processId(), {});
      if (!level) {
        *failure = "the main menu did not open";
        return false;
      }
      e2e::ClickScreen(e2e::LastMenuItemPoint(level));
    } else {
      PostMessageW(main_, WM_CLOSE, 0, 0);
    }
    DWORD code = 0xFFFFFFFF;
    if (throughMenu && !program_.WaitExit(8000, &code)) {
      // The click on the menu's last item is sometimes lost; the window is closed instead.
      Log("the menu's exit did not end the program: closing the window");
      e2e::Click(main_, {37, 580});
      PostMessageW(main_, WM_CLOSE, 0, 0);
    }
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
    if (!Start(failure)) return false;
    SelectTag(0);
    return Check(failure);
  }

  bool Check(std::string* failure) {
    // Input still queued is taken first. Under Wine, when X manages the program's
    // windows, the window stays busy for about two seconds after one of its dialogs
    // closed; that is waited out here, then the window must answer within a second.
    Sleep(200);
    PexoProgram::Answers(main_, 4000);
    if (!PexoProgram::Answers(main_, 1000)) {
      *failure = "the window did not answer within 1 s";
      return false;
    }
    std::vector<TagModel> stored;
    std::string integrity;
    if (!ReadStore(program_.File(L"db\\link.db"), &stored, &integrity)) {
      *failure = "link.db could not be read";
      return false;
    }
    if (integrity != "ok") {
      *failure = "integrity_check: " + integrity;
      return false;
    }
    return StoreMatches(failure);
  }

  // The main window shown and in front, as the user has it before acting.
  bool Front() {
    if (!IsWindowVisible(main_)) ShowByChord();
    SetForegroundWindow(main_);
    return pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 3000);
  }

  void ShowByChord() {
    e2e::PressChord({VK_CONTROL, VK_MENU}, VK_F8);
    if (pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 1500)) return;
    // The display did not turn the keys into the chord: deliver what it would.
    const ATOM atom = GlobalFindAtomW(L"PexoHotKey");
    PostMessageW(main_, WM_HOTKEY, atom - 0xC000, 0);
    pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 1500);
  }

  // Whether the tag's row shows the selection colour. The skin marks the chosen
  // tag light blue (about 220,232,246), the hovered one grey (234,239,244) and the
  // others near white: only the chosen one is clearly bluer than red.
  bool TagShownChosen(size_t index) {
    const POINT at = e2e::ToScreen(main_, {20, TagCentre(index).y});
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour != CLR_INVALID && static_cast<int>(GetBValue(colour)) - static_cast<int>(GetRValue(colour)) > 18;
  }

  // Clicks the tag and looks that it is the one shown: a key pressed just before
  // (Home, an arrow) may still move the list's choice after the click, and a
  // user who sees another tag shown clicks again.
  void SelectTag(size_t index) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (attempt > 0) Log("  (tag " + std::to_string(index) + " not shown): once more");
      e2e::Click(main_, TagCentre(index), false, 120);
      if (pexo_test::WaitUntil([&] { return TagShownChosen(index); }, 1500)) break;
    }
    current_ = index;
  }

  // Opens the menu of the right-clicked point and follows the path; false when a
  // level did not come.
  bool Menu(POINT client, std::initializer_list<e2e::MenuStep> path, std::string* failure) {
    if (e2e::ChooseMenu(program_.processId(), main_, client, path)) return true;
    // What the screen showed, beside the test program, for whoever replays the seed.
    e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_failure.png");
    *failure = "a menu level did not open (the screen is in random_drive_failure.png)";
    return false;
  }

  HWND WaitDialog(const wchar_t* className, std::string* failure) {
    HWND dialog = e2e::WaitVisible(program_.processId(), className, 5000);
    if (!dialog) *failure = "no " + Narrow(className);
    // Clicks before the dialog has faded in and laid out its fields miss them.
    if (dialog) e2e::WaitSettled(dialog);
    return dialog;
  }

  bool WaitDialogGone(const wchar_t* className, std::string* failure) {
    if (e2e::WaitGone(program_.processId(), className, 5000)) return true;
    *failure = Narrow(className) + " stayed open";
    return false;
  }

  static POINT DialogButton(HWND dialog, bool ok) {
    RECT rc = {};
    GetClientRect(dialog, &rc);
    return {rc.right - 1 - 16 - 42 - (ok ? 84 + 8 : 0), rc.bottom - 1 - 14 - 15};
  }

  enum class DialogEnd { kOk, kCancelButton, kEscape };

  // The link box menu's "添加网址", the dialog filled in and ended as asked.
  bool AddWebLink(const std::wstring& name, DialogEnd end, std::string* failure) {
    if (!Menu(kLinkBoxSpace, {{2}}, failure)) return false;
    HWND dialog = WaitDialog(L"UrlWnd", failure);
    if (!dialog) return false;
    e2e::Click(dialog, {250, 70}, false, 80);
    e2e::TypeText(name);
    e2e::Click(dialog, {250, 108}, false, 80);
    e2e::TypeText(L"http://e/" + name);
    if (end == DialogEnd::kEscape) {
      e2e::PressKey(VK_ESCAPE);
    } else {
      e2e::Click(dialog, DialogButton(dialog, end == DialogEnd::kOk));
    }
    return WaitDialogGone(L"UrlWnd", failure);
  }

  // A file dragged in from this process with OLE and let go over the card area.
  bool DropFile(const std::wstring& name, std::string* failure) {
    const std::wstring path = program_.File(name + L".txt");
    if (!pexo_test::WriteFileBytes(path, "dropped")) {
      *failure = "the file to drop could not be written";
      return false;
    }
    TestDataObject data;
    data.SetFiles({path});
    e2e::CarryOverAndDrop source(e2e::ToScreen(main_, kLinkBoxSpace));
    e2e::MoveTo(e2e::ToScreen(main_, {kLinkBoxSpace.x - 60, kLinkBoxSpace.y}));
    DWORD effect = DROPEFFECT_NONE;
    if (DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect) != DRAGDROP_S_DROP) {
      *failure = "the drag was not dropped";
      return false;
    }
    return true;
  }

  bool AskName(const std::wstring& name, bool confirm, std::string* failure) {
    HWND dialog = WaitDialog(L"NameWnd", failure);
    if (!dialog) return false;
    // Keys go to the active window: typing before the dialog is active would lose
    // the name and let Enter confirm the old one.
    if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2000)) {
      SetForegroundWindow(dialog);
      Sleep(100);
    }
    Sleep(50);
    e2e::TypeText(name);
    e2e::PressKey(confirm ? VK_RETURN : VK_ESCAPE);
    return WaitDialogGone(L"NameWnd", failure);
  }

  // Whether link.db holds what the model says: the tags in order, and each tag's
  // set of link names.
  bool StoreMatches(std::string* what = nullptr) {
    std::vector<TagModel> stored;
    std::string integrity;
    if (!ReadStore(program_.File(L"db\\link.db"), &stored, &integrity)) {
      if (what) *what = "link.db could not be read";
      return false;
    }
    bool same = stored.size() == model_.size();
    for (size_t i = 0; same && i < stored.size(); ++i) {
      std::vector<std::wstring> a = stored[i].links;
      std::vector<std::wstring> b = model_[i].links;
      std::sort(a.begin(), a.end());
      std::sort(b.begin(), b.end());
      same = stored[i].name == model_[i].name && a == b;
    }
    if (!same && what) *what = "link.db holds " + Describe(stored) + "but the drive made " + Describe(model_);
    return same;
  }

  // Closes a dialog or menu a lost click left open.
  void Recover() {
    for (const wchar_t* dialogClass : {L"UrlWnd", L"NameWnd", L"SysWnd"}) {
      if (HWND dialog = e2e::WaitVisible(program_.processId(), dialogClass, 0)) {
        // The close button at the right of the caption: a click needs no keyboard focus.
        RECT rc = {};
        GetClientRect(dialog, &rc);
        e2e::Click(dialog, {rc.right - 1 - 6 - 15, 1 + 20});
        e2e::WaitGone(program_.processId(), dialogClass, 4000);
      }
    }
    if (!e2e::VisibleWindows(program_.processId(), L"MenuWnd").empty()) {
      e2e::Click(main_, {37, 580});
      e2e::WaitGone(program_.processId(), L"MenuWnd", 2000);
    }
  }

  // An action that changes what link.db holds: the model takes the change, the
  // action runs, and link.db must follow within a few seconds (a closing dialog
  // blocks the window for two). Other programs on a shared display may take the
  // foreground and end a menu before its click: when nothing changed, the action
  // is done once more, as a user would.
  bool Mutate(const std::function<bool(std::string*)>& act, const std::function<void()>& apply,
              std::string* failure) {
    apply();
    std::string why;
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (attempt > 0) {
        Log("  (" + why + "): once more; " + e2e::LastMenuNote());
        // What the screen showed when the action was not taken, for whoever replays the seed.
        e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_not_taken_" +
                                                      std::to_wstring(action_) + L".png");
        Recover();
        Front();
      }
      why.clear();
      e2e::LastMenuNote().clear();
      if (act(&why)) {
        if (pexo_test::WaitUntil([&] { return StoreMatches(); }, 5000)) return true;
        StoreMatches(&why);
      }
    }
    *failure = why;
    return false;
  }

  bool Step(std::string* failure) {
    if (!Front()) {
      *failure = "the window could not be shown";
      return false;
    }
    if (!TagShownChosen(current_)) {
      // The tag the drive works in is not the one shown (a key or a dialog moved
      // the choice): the user clicks it first.
      Log("  (tag " + std::to_string(current_) + " is not the one shown)");
      SelectTag(current_);
    }
    TagModel& tag = model_[current_];
    const uint32_t roll = Pick(100);
    if (roll < 14) {  // a tag chosen
      const size_t index = Pick(static_cast<uint32_t>(model_.size()));
      Log("click tag " + std::to_string(index));
      SelectTag(index);
    } else if (roll < 18) {
      Log("click group 0");
      e2e::Click(main_, kGroup0, false, 120);
    } else if (roll < 30) {  // a card selected (a single click does not launch here)
      if (tag.links.empty()) return true;
      const size_t index = Pick(static_cast<uint32_t>(tag.links.size()));
      Log("click card " + std::to_string(index));
      const DWORD since = GetTickCount() - lastCardClick_;
      if (since < GetDoubleClickTime() + 100) Sleep(GetDoubleClickTime() + 100 - since);
      e2e::Click(main_, CardCentre(index), false, 100);
      lastCardClick_ = GetTickCount();
    } else if (roll < 40) {
      if (tag.links.size() >= kMaxLinks) return true;
      const std::wstring name = L"w" + std::to_wstring(++counter_);
      Log("add web link " + Narrow(name) + " to tag " + std::to_string(current_));
      return Mutate([=, this](std::string* why) { return AddWebLink(name, DialogEnd::kOk, why); },
                    [=, this] { model_[current_].links.push_back(name); }, failure);
    } else if (roll < 44) {
      if (tag.links.size() >= kMaxLinks) return true;
      const std::wstring name = L"d" + std::to_wstring(++counter_);
      Log("drop file " + Narrow(name) + " on tag " + std::to_string(current_));
      return Mutate([=, this](std::string* why) { return DropFile(name, why); },
                    [=, this] { model_[current_].links.push_back(name); }, failure);
    } else if (roll < 48) {
      const std::wstring name = L"w" + std::to_wstring(++counter_);
      const DialogEnd end = Pick(2) == 0 ? DialogEnd::kCancelButton : DialogEnd::kEscape;
      Log("cancel web link " + Narrow(name));
      return Mutate([=, this](std::string* why) { return AddWebLink(name, end, why); }, [] {}, failure);
    } else if (roll < 55) {  // a card deleted from its menu
      if (tag.links.empty()) return true;
      const size_t index = Pick(static_cast<uint32_t>(tag.links.size()));
      Log("delete card " + std::to_string(index) + " (" + Narrow(tag.links[index]) + ")");
      return Mutate([=, this](std::string* why) { return Menu(CardCentre(index), {{8, 2}}, why); },
                    [=, this] { model_[current_].links.erase(model_[current_].links.begin() + static_cast<long>(index)); },
                    failure);
    } else if (roll < 62) {  // a card moved or copied to another tag
      if (tag.links.empty() || model_.size() < 2) return true;
      const size_t index = Pick(static_cast<uint32_t>(tag.links.size()));
      size_t target = Pick(static_cast<uint32_t>(model_.size() - 1));
      if (target >= current_) ++target;
      if (model_[target].links.size() >= kMaxLinks) return true;
      const bool copy = Pick(3) == 0;
      Log(std::string(copy ? "copy" : "move") + " card " + std::to_string(index) + " (" + Narrow(tag.links[index]) +
          ") to tag " + std::to_string(target));
      return Mutate(
          [=, this](std::string* why) {
            return Menu(CardCentre(index), {{copy ? 5 : 4, 1}, {0}, {static_cast<int>(target)}}, why);
          },
          [=, this] {
            std::vector<std::wstring>& links = model_[current_].links;
            model_[target].links.push_back(links[index]);
            if (!copy) links.erase(links.begin() + static_cast<long>(index));
          },
          failure);
    } else if (roll < 68) {  // a new tag, named or cancelled
      if (model_.size() >= kMaxTags) return true;
      const bool confirm = Pick(5) != 0;
      const std::wstring name = L"t" + std::to_wstring(++counter_);
      Log((confirm ? "new tag " : "new tag cancelled ") + Narrow(name));
      return Mutate(
          [=, this](std::string* why) { return Menu(kTagSpace, {{0}}, why) && AskName(name, confirm, why); },
          [=, this] {
            if (!confirm) return;
            model_.push_back({name, {}});
            current_ = model_.size() - 1;
          },
          failure);
    } else if (roll < 72) {  // a tag renamed
      const size_t index = Pick(static_cast<uint32_t>(model_.size()));
      const std::wstring name = L"r" + std::to_wstring(++counter_);
      Log("rename tag " + std::to_string(index) + " to " + Narrow(name));
      return Mutate(
          [=, this](std::string* why) {
            e2e::Click(main_, TagCentre(index), false, 120);
            return Menu(TagCentre(index), {{1}}, why) && AskName(name, true, why);
          },
          [=, this] {
            model_[index].name = name;
            current_ = index;
          },
          failure);
    } else if (roll < 75) {  // a tag deleted with its links
      if (model_.size() < 2) return true;
      const size_t index = Pick(static_cast<uint32_t>(model_.size()));
      Log("delete tag " + std::to_string(index) + " (" + Narrow(model_[index].name) + ")");
      return Mutate(
          [=, this](std::string* why) {
            e2e::Click(main_, TagCentre(index), false, 120);
            return Menu(TagCentre(index), {{2}}, why);
          },
          [=, this] {
            model_.erase(model_.begin() + static_cast<long>(index));
            current_ = std::min(index, model_.size() - 1);
          },
          failure);
    } else if (roll < 79) {  // a tag moved up or down
      if (model_.size() < 2) return true;
      const size_t index = Pick(static_cast<uint32_t>(model_.size()));
      const bool up = index == model_.size() - 1 || (index > 0 && Pick(2) == 0);
      Log(std::string("move tag ") + std::to_string(index) + (up ? " up" : " down"));
      const size_t other = up ? index - 1 : index + 1;
      return Mutate(
          [=, this](std::string* why) {
            e2e::Click(main_, TagCentre(index), false, 120);
            return Menu(TagCentre(index), {{up ? 3 : 4, 1}}, why);
          },
          [=, this] {
            std::swap(model_[index], model_[other]);
            current_ = other;
          },
          failure);
    } else if (roll < 82) {  // the link box's "refresh icons"
      Log("refresh the tag's icons");
      if (!Menu(kLinkBoxSpace, {{7, 2}}, failure)) return false;
    } else if (roll < 83) {  // the link box's "clear tag"
      Log("clear tag " + std::to_string(current_));
      return Mutate([=, this](std::string* why) { return Menu(kLinkBoxSpace, {{8, 2}}, why); },
                    [=, this] { model_[current_].links.clear(); }, failure);
    } else if (roll < 88) {  // keys that change nothing stored
      static constexpr WORD kKeys[] = {'A', 'K', 'Z', '3', VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_TAB, VK_HOME};
      const WORD key = kKeys[Pick(std::size(kKeys))];
      Log("key " + std::to_string(key));
      e2e::PressKey(key);
      // Arrows, Home and Tab move the selection of whichever list has the focus,
      // the tag list too: the user goes back to the tag being worked in.
      SelectTag(current_);
    } else if (roll < 92) {  // Escape hides, the chord shows again
      Log("hide with Escape, show with the chord");
      e2e::PressKey(VK_ESCAPE);
      if (!pexo_test::WaitUntil([&] { return !IsWindowVisible(main_); }, 2000)) {
        *failure = "Escape did not hide the window";
        return false;
      }
      ShowByChord();
      if (!IsWindowVisible(main_)) {
        *failure = "the chord did not show the window";
        return false;
      }
      Sleep(200);
    } else if (roll < 95) {  // the search window opened, typed in and left
      Log("search and leave");
      e2e::Click(main_, kSearchButton);
      HWND search = e2e::WaitVisible(program_.processId(), L"SearchWnd", 3000);
      if (!search) {
        *failure = "no search window";
        return false;
      }
      if (!e2e::WaitReadyForKeys(search)) {
        *failure = "the search window never took the keys";
        return false;
      }
      e2e::TypeText(L"w1");
      e2e::PressKey(VK_ESCAPE);
      if (!WaitDialogGone(L"SearchWnd", failure)) return false;
    } else if (roll < 97) {  // the main menu opened and left with a click beside it
      Log("main menu opened and left");
      e2e::Click(main_, kMenuButton);
      if (!e2e::WaitNewMenuLevel(program_.processId(), {})) {
        *failure = "the main menu did not open";
        return false;
      }
      e2e::Click(main_, {37, 580});  // the empty foot of the tag column, away from the menu
      if (!e2e::WaitGone(program_.processId(), L"MenuWnd", 3000)) {
        *failure = "the main menu stayed";
        return false;
      }
    } else if (roll < 98) {  // a second start from the same folder shows the first and ends
      Log("second start");
      return SecondStart(failure);
    } else {
      return Restart(Pick(2) == 0, failure);
    }
    return true;
  }

  bool SecondStart(std::string* failure) {
    std::wstring commandLine = L"\"" + program_.File(L"Pexo.exe") + L"\" main";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, program_.folder().c_str(),
                        &startup, &info)) {
      *failure = "the second start could not be made";
      return false;
    }
    DWORD code = 1;
    const bool ended = WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(info.hProcess, &code) && code == 0;
    if (!ended) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (!ended) {
      *failure = "the second start did not end with 0";
      return false;
    }
    if (!program_.Running() || !pexo_test::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 5000)) {
      *failure = "the first run did not stay and show";
      return false;
    }
    return true;
  }

  PexoProgram program_;
  std::mt19937 random_;
  HWND main_ = nullptr;
  std::vector<TagModel> model_;
  size_t current_ = 0;
  int counter_ = 0;
  DWORD lastCardClick_ = 0;
  std::deque<std::string> recent_;
  int action_ = 0;
  std::ofstream log_;
};

TEST(RandomDriveTest, RandomUserActionsLeaveTheProgramAnsweringAndLinkDbWholeAndAsDriven) {
  int actions = kDefaultActions;
  if (const char* count = std::getenv("PEXO_DRIVE_ACTIONS")) actions = std::max(1, std::atoi(count));
  std::printf("random drive: seed %u, %d actions\n", kSeed, actions);
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // drops come from this thread
  const UnmanagedWindowsUnderWine unmanaged;
  RandomDrive drive;
  ASSERT_TRUE(drive.program().copied());
  const DWORD start = GetTickCount();
  std::string failure;
  const bool passed = drive.Run(actions, &failure);
  std::printf("random drive took %lu s\n", (GetTickCount() - start) / 1000);
  OleUninitialize();
  EXPECT_TRUE(passed) << failure << "\nseed " << kSeed << "; the last actions:\n" << drive.RecentActions();
}

}  // namespace
