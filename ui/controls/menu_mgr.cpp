#include "ui/controls/menu_mgr.h"

#include <atomic>
#include <cstdio>
#include <functional>

#include "ui/controls/menu_item.h"
#include "ui/controls/menu_ui.h"
#include "ui/controls/menu_wnd.h"
#include "ui/core/box.h"
#include "ui/core/skin_builder.h"

namespace ui {

namespace {

std::atomic<int> g_menuAlpha{255};

RECT WorkAreaAt(POINT point) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

bool IsPress(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
         message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN;
}

bool IsRelease(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_CONTEXTMENU ||
         message == WM_NCLBUTTONUP || message == WM_NCRBUTTONUP;
}

}  // namespace

void CMenuMgr::SetMenuAlpha(int alpha) { g_menuAlpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha); }

int CMenuMgr::GetMenuAlpha() { return g_menuAlpha; }

CMenuMgr::CMenuMgr(HWND owner) : owner_(owner) {}

CMenuMgr::~CMenuMgr() {
  // The levels close their windows as they go.
  root_.reset();
}

Control* CMenuMgr::CreateMenuControl(const std::wstring& className) {
  if (className == L"MenuUI") return new CMenuUI;
  if (className == L"MenuItem") return new CMenuItem;
  return nullptr;
}

bool CMenuMgr::LoadXml(HWND owner, const std::wstring& path) {
  owner_ = owner;
  openMenu_ = nullptr;
  root_.reset();
  SkinBuilder builder;
  CreateControlCallback create = ToWeakCallback(
      [this](const std::wstring& className) { return CreateMenuControl(className); });
  root_.reset(builder.Create(path, create));
  if (!root_) {
    wchar_t text[MAX_PATH + 64];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"Failed to load xml file %ls", path.c_str());
    MessageBoxW(nullptr, text, L"Duilib", MB_ICONERROR);
    return false;
  }
  auto* box = dynamic_cast<Box*>(root_.get());
  if (!box) return true;
  for (int i = 0; i < box->GetCount(); ++i) {
    if (auto* level = dynamic_cast<CMenuUI*>(box->GetItemAt(static_cast<size_t>(i)))) level->SetManager(this);
  }
  LinkSubMenus();
  // Each level's window is created when the level is first shown.
  for (int i = 0; i < box->GetCount(); ++i) {
    if (auto* level = dynamic_cast<CMenuUI*>(box->GetItemAt(static_cast<size_t>(i)))) level->SetMenuOwner(owner_);
  }
  return true;
}

void CMenuMgr::LinkSubMenus() {
  auto* box = static_cast<Box*>(root_.get());
  for (int i = 0; i < box->GetCount(); ++i) {
    auto* level = dynamic_cast<CMenuUI*>(box->GetItemAt(static_cast<size_t>(i)));
    if (!level) continue;
    for (int j = 0; j < level->GetCount(); ++j) {
      auto* item = dynamic_cast<CMenuItem*>(level->GetItemAt(static_cast<size_t>(j)));
      if (!item || item->GetSubMenuName().empty()) continue;
      // A name that finds no level, or a level that would close a loop, leaves the
      // item without a sub-menu.
      item->SetSubMenu(FindMenu(item->GetSubMenuName()));
    }
  }
}

CMenuUI* CMenuMgr::FindMenu(const std::wstring& name) const {
  auto* box = dynamic_cast<Box*>(root_.get());
  if (!box) return nullptr;
  for (int i = 0; i < box->GetCount(); ++i) {
    Control* child = box->GetItemAt(static_cast<size_t>(i));
    if (child && child->GetName() == name) return dynamic_cast<CMenuUI*>(child);
  }
  return nullptr;
}

bool CMenuMgr::IsMenuWindow(HWND hwnd) const {
  auto* box = dynamic_cast<Box*>(root_.get());
  if (!box || !hwnd) return false;
  for (int i = 0; i < box->GetCount(); ++i) {
    auto* level = dynamic_cast<CMenuUI*>(box->GetItemAt(static_cast<size_t>(i)));
    if (level && level->GetCreatedMenuWnd() && level->GetCreatedMenuWnd()->GetHWND() == hwnd) return true;
  }
  return false;
}

void CMenuMgr::OnItemClicked(CMenuItem* item) {
  done_ = true;
  result_ = item;
}

CMenuItem* CMenuMgr::ShowMenu(const std::wstring& name, int x, int y, bool foreground) {
  // A handler that asks for a menu while one of ours is open would reset the
  // state the open loop still runs on.
  if (running_) return nullptr;
  done_ = false;
  result_ = nullptr;
  openMenu_ = FindMenu(name);
  if (!openMenu_ || !openMenu_->GetMenuWnd()) {
    openMenu_ = nullptr;
    return nullptr;
  }
  const RECT work = WorkAreaAt(POINT{x, y});
  const SIZE size = openMenu_->FitToArea(SIZE{work.right - work.left, work.bottom - work.top});
  if (x + size.cx > work.right) x = work.right - size.cx;
  if (y + size.cy > work.bottom) {
    y -= size.cy;
    if (y < work.top) y = work.bottom - size.cy;
  }
  openMenu_->ShowAt(POINT{x, y});
  if (foreground) {
    HWND hwnd = openMenu_->GetMenuWnd()->GetHWND();
    SetForegroundWindow(hwnd);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  }
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  running_ = true;
  if (loopObserver_) loopObserver_(true);
  RunMenuLoop(foreground);
  // A handler run by the loop may have deleted the manager.
  if (alive.expired()) return nullptr;
  running_ = false;
  if (loopObserver_) loopObserver_(false);
  if (alive.expired()) return nullptr;
  openMenu_ = nullptr;
  CMenuItem* result = result_;
  result_ = nullptr;
  return result;
}

void CMenuMgr::Dismiss() {
  if (!running_) return;
  done_ = true;
  result_ = nullptr;
}

void CMenuMgr::CloseOpenMenu() {
  if (openMenu_) openMenu_->HideMenu();
  openMenu_ = nullptr;
}

// The menu ends when another window takes the foreground. A menu that took the
// foreground itself (the tray's) is not ended by no foreground at all or by the
// bare desktop window: Windows passes through either for a moment while
// activation changes, and an X display without a window manager hands the input
// focus straight back to its root window (the desktop) when a pop-up without a
// frame takes the foreground. A click on the desktop gives the foreground to the
// shell's desktop window, which does end it.
bool CMenuMgr::ForegroundTakenFrom(HWND watched, bool tookForeground) {
  const HWND foreground = GetForegroundWindow();
  if (foreground == watched) return false;
  return !tookForeground || (foreground != nullptr && foreground != GetDesktopWindow());
}

void CMenuMgr::RunMenuLoop(bool foreground) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  for (;;) {
    if (alive.expired()) return;
    if (done_) {
      CloseOpenMenu();
      return;
    }
    if (!openMenu_ || !openMenu_->GetMenuWnd()) {
      // The level went away under the loop.
      openMenu_ = nullptr;
      result_ = nullptr;
      return;
    }
    HWND watched = foreground ? openMenu_->GetMenuWnd()->GetHWND() : owner_;
    if (ForegroundTakenFrom(watched, foreground)) {
      CloseOpenMenu();
      result_ = nullptr;
      return;
    }
    MSG msg = {};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      continue;
    }
    if (msg.message == WM_QUIT) {
      DispatchMessageW(&msg);
      PostQuitMessage(static_cast<int>(msg.wParam));
      if (!alive.expired()) {
        CloseOpenMenu();
        result_ = nullptr;
      }
      return;
    }
    const bool onMenu = IsMenuWindow(msg.hwnd);
    if (IsPress(msg.message) || IsRelease(msg.message)) {
      if (!onMenu) {
        // The menu ends, and the click still reaches what was clicked.
        CloseOpenMenu();
        result_ = nullptr;
        PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        return;
      }
    } else if (msg.message == WM_MOUSEMOVE && !onMenu) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace ui
