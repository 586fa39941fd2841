#include "ui/controls/menu_ui.h"

#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_wnd.h"
#include "ui/core/v_layout.h"

namespace ui {

namespace {

// The work area of the monitor nearest to the point.
RECT WorkAreaAt(POINT point) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

}  // namespace

CMenuUI::CMenuUI() : ListBox(new VLayout) {}

CMenuUI::~CMenuUI() {
  if (CMenuWnd* window = window_) {
    OnMenuWndGone();
    window->DetachLevel();
    HWND hwnd = window->GetHWND();
    if (IsWindow(hwnd)) SendMessageW(hwnd, WM_CLOSE, 0, 0);
  }
}

void CMenuUI::OnMenuWndGone() {
  window_ = nullptr;
  hotItem_ = nullptr;
  SetWindowAndParent(nullptr, GetParent(), false);
}

void CMenuUI::Adopt(Control* control) {
  if (auto* item = dynamic_cast<CMenuItem*>(control)) item->SetOwnerMenu(this);
}

void CMenuUI::Disown(Control* control) {
  if (control == hotItem_) hotItem_ = nullptr;
  if (auto* item = dynamic_cast<CMenuItem*>(control); item && item->GetOwnerMenu() == this) {
    item->SetOwnerMenu(nullptr);
  }
}

bool CMenuUI::Add(Control* control) {
  if (!ListBox::Add(control)) return false;
  Adopt(control);
  return true;
}

bool CMenuUI::AddAt(Control* control, size_t index) {
  if (!ListBox::AddAt(control, index)) return false;
  Adopt(control);
  return true;
}

bool CMenuUI::Remove(Control* control) {
  if (GetItemIndex(control) < 0) return false;
  Disown(control);
  return ListBox::Remove(control);
}

bool CMenuUI::RemoveAt(size_t index) {
  Control* control = GetItemAt(index);
  if (!control) return false;
  Disown(control);
  return ListBox::RemoveAt(index);
}

void CMenuUI::RemoveAll() {
  for (int i = 0; i < GetCount(); ++i) Disown(GetItemAt(static_cast<size_t>(i)));
  hotItem_ = nullptr;
  ListBox::RemoveAll();
}

void CMenuUI::OnItemHot(CMenuItem*) {}

void CMenuUI::OnItemNotHot(CMenuItem*) {}

SIZE CMenuUI::FitToArea(SIZE available) {
  SIZE size = EstimateSize(available);
  SetPos(RECT{0, 0, size.cx, size.cy});
  return size;
}

void CMenuUI::SetHotItem(CMenuItem* item) {
  if (!item || item == hotItem_) return;
  OnItemHot(item);
  for (int i = 0; i < GetCount(); ++i) {
    auto* other = dynamic_cast<CMenuItem*>(GetItemAt(static_cast<size_t>(i)));
    if (other && other != item) OnItemNotHot(other);
  }
  if (CMenuItem* old = hotItem_) {
    static_cast<IListItem*>(old)->Selected(false, true);
    if (old->IsSubMenuOpen()) {
      if (CMenuUI* sub = old->GetSubMenu()) sub->HideMenu();
      old->SetSubMenuOpen(false);
    }
  }
  hotItem_ = item;
  CMenuUI* sub = item->GetSubMenu();
  if (!item->HasSubMenu() || !sub) return;
  // The sub-menu is measured inside its own window, made now when it is first opened.
  if (!item->IsSubMenuOpen() && window_ && sub->GetMenuWnd()) {
    const RECT itemRect = item->GetPos();
    POINT anchor = {itemRect.left + (itemRect.right - itemRect.left) - 2, itemRect.top};
    ClientToScreen(window_->GetHWND(), &anchor);
    const RECT work = WorkAreaAt(anchor);
    const SIZE size = sub->FitToArea(SIZE{work.right - work.left, work.bottom - work.top});
    if (anchor.x + size.cx > work.right) {
      // No room on the right: open on the left, overlapping the item by 2 pixels.
      POINT left = {itemRect.left + 2, itemRect.top};
      ClientToScreen(window_->GetHWND(), &left);
      anchor.x = left.x - size.cx;
    }
    if (anchor.y + size.cy > work.bottom) {
      anchor.y = anchor.y + (itemRect.bottom - itemRect.top) - size.cy;
      if (anchor.y < work.top) anchor.y = work.bottom - size.cy;
    }
    sub->ShowAt(anchor);
    item->SetSubMenuOpen(true);
  }
  static_cast<IListItem*>(item)->Selected(true, true);
}

void CMenuUI::ShowAt(POINT screenPoint) {
  SelectItem(-1, false, true);
  if (!GetMenuWnd()) return;
  const RECT pos = GetPos();
  HWND hwnd = window_->GetHWND();
  // The level's window is made once and shown again for every menu: it goes to
  // the top of the topmost band (while still hidden, so nothing is activated),
  // or a window raised since it was last shown (the launcher's own, when kept on
  // top) would cover it and take its clicks.
  SetWindowPos(hwnd, HWND_TOPMOST, screenPoint.x, screenPoint.y, pos.right - pos.left, pos.bottom - pos.top,
               SWP_NOACTIVATE | SWP_NOREDRAW);
  window_->SetWindowAlpha(CMenuMgr::GetMenuAlpha());
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  Invalidate();
  // Painted before the loop goes on: a layered window shows nothing, and lets
  // clicks through to the window below, until its first paint, which a busy
  // queue would otherwise put off.
  UpdateWindow(hwnd);
}

void CMenuUI::HideMenu() {
  if (window_) {
    window_->SetWindowAlpha(CMenuMgr::GetMenuAlpha());
    ::ShowWindow(window_->GetHWND(), SW_HIDE);
  }
  Invalidate();
  if (hotItem_ && hotItem_->IsSubMenuOpen()) {
    if (CMenuUI* sub = hotItem_->GetSubMenu()) sub->HideMenu();
    hotItem_->SetSubMenuOpen(false);
  }
  hotItem_ = nullptr;
}

bool CMenuUI::CreateMenuWnd(HWND owner) {
  if (!window_) {
    auto* window = new CMenuWnd(this);
    window_ = window;
    window->SetWindowAlpha(CMenuMgr::GetMenuAlpha());
    window->SetNoFocus(true);
    const DWORD exStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    if (!window->Create(owner, L"MenuUI", WS_POPUP, exStyle, true, RECT{0, 0, 0, 0})) {
      // A window destroyed during its creation has deleted itself already (its
      // final message cleared window_); otherwise the object is still ours.
      if (window_) {
        window_ = nullptr;
        delete window;
      }
      return false;
    }
  }
  return true;
}

CMenuWnd* CMenuUI::GetMenuWnd() {
  if (window_) return window_;
  HWND owner = owner_;
  if (parentMenu_) {
    CMenuWnd* parentWindow = parentMenu_->GetMenuWnd();
    if (!parentWindow) return nullptr;
    owner = parentWindow->GetHWND();
  }
  CreateMenuWnd(owner);
  return window_;
}

}  // namespace ui
