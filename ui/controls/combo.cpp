#include "ui/controls/combo.h"

#include <algorithm>

#include "ui/base/animation_player.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/layout.h"
#include "ui/core/v_layout.h"
#include "ui/render/render_context.h"

namespace ui {

namespace {

// The text-carrying face of an item: list items are option boxes.
LabelTemplate<Box>* AsTextItem(Control* control) { return dynamic_cast<LabelTemplate<Box>*>(control); }

}  // namespace

Combo::Combo() : list_(std::make_unique<ListBox>(new VLayout)) {
  list_->GetLayout()->SetPadding(RECT{1, 1, 1, 1}, true);
  list_->SetBkColor(L"white");
  list_->SetBorderColor(L"gray");
  list_->SetAttribute(L"bordersize", L"1");
  // The items are the combo's: what it removes, it deletes, as any box does.
  list_->SetAutoDestroyChild(true);
  list_->EnableScrollBar(true, false);
  list_->ApplyAttributeList(dropAttributes_);
  list_->AttachEvent(select, ToWeakCallback([this](EventArgs* event) { return OnListSelect(event); }));
}

Combo::~Combo() {
  CComboWnd* window = dropWindow_;
  if (!window) return;  // the inner list deletes the items with itself
  // The combo may go from inside an event of its own popup (a select listener
  // deleting it): the popup, the inner list and the item that raised the event
  // are then still running below us. The popup lets go of the combo at once,
  // keeps the list and closes later, taking the list and its items with it.
  dropWindow_ = nullptr;
  window->Detach();
  window->AdoptList(std::move(list_));
  window->CloseLater();
}

std::wstring Combo::GetType() const { return L"Combo"; }

bool Combo::IsDropOpen() const { return dropWindow_ && !dropWindow_->IsClosingDrop(); }

void Combo::CloseDrop() {
  if (CComboWnd* window = dropWindow_) {
    dropWindow_ = nullptr;
    window->Detach();
    HWND hwnd = window->GetHWND();
    if (IsWindow(hwnd)) {
      DestroyWindow(hwnd);
    } else {
      delete window;
    }
  }
}

void Combo::Activate() {
  if (!IsVisible() || !IsEnabled() || dropWindow_) return;
  auto* window = new CComboWnd;
  dropWindow_ = window;
  if (!window->Init(this)) {
    if (dropWindow_ == window) {
      dropWindow_ = nullptr;
      delete window;
    }
    return;
  }
  // The popup's close is reported to the combo's own windowclose listeners.
  window->AttachWindowEvent(windowclose, ToWeakCallback([this](EventArgs* event) {
                              auto found = codeListeners_.find(windowclose);
                              if (found == codeListeners_.end()) return true;
                              return RunEventCallbacks(EventCallbackList(found->second), event);
                            }));
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  window->SendControlEvent(this, click, 0, 0);
  if (!alive.expired()) Invalidate();
}

void Combo::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const DpiScaler& dpi = DpiScaler::Instance();
  if (name == L"dropbox") {
    dropAttributes_ = value;
    list_->ApplyAttributeList(value);
  } else if (name == L"vscrollbar") {
    // The inner list always has its vertical bar.
  } else if (name == L"dropboxsize") {
    int size[2] = {};
    if (ParseIntList(value, size, 2)) dropSize_ = SIZE{dpi.ScaleInt(size[0]), dpi.ScaleInt(size[1])};
  } else if (name == L"popuptop") {
    popupTop_ = value == L"true";
  } else if (name == L"textpadding") {
    RECT rc;
    if (ParseRect(value, &rc)) {
      dpi.ScaleRect(rc);
      textPadding_ = rc;
      Invalidate();
    }
  } else {
    Box::SetAttribute(name, value);
  }
}

bool Combo::ButtonDown(EventArgs& event) {
  if (!IsEnabled()) return true;
  pressed_ = true;
  Invalidate();
  Activate();
  return true;
}

bool Combo::ButtonUp(EventArgs& event) {
  if (!pressed_) return true;
  pressed_ = false;
  if (AnimationPlayer* hot = GetAnimations().GetPlayer(kAnimationHot)) hot->Cancel();
  Invalidate();
  const RECT pos = GetPos();
  const bool inside = event.Type != pointerup && PtInRect(&pos, event.ptMouse);
  SetHotAlpha(inside ? 255 : 0);
  return true;
}

int Combo::GetCount() const { return list_->GetCount(); }
Control* Combo::GetItemAt(size_t index) const { return list_->GetItemAt(index); }
int Combo::GetItemIndex(Control* control) const { return list_->GetItemIndex(control); }
bool Combo::SetItemIndex(Control* control, size_t index) { return list_->SetItemIndex(control, index); }

void Combo::ReadCurrentFromList() { curSel_ = list_->GetCurSel(); }

bool Combo::Add(Control* control) {
  if (!list_->Add(control)) return false;
  control->SetReceivePointer(true);
  ReadCurrentFromList();
  return true;
}

bool Combo::AddAt(Control* control, size_t index) {
  if (!list_->AddAt(control, index)) return false;
  control->SetReceivePointer(true);
  ReadCurrentFromList();
  return true;
}

bool Combo::Remove(Control* control) {
  const bool removed = list_->Remove(control);
  ReadCurrentFromList();
  return removed;
}

bool Combo::RemoveAt(size_t index) {
  const bool removed = list_->RemoveAt(index);
  ReadCurrentFromList();
  return removed;
}

void Combo::RemoveAll() {
  list_->RemoveAll();
  curSel_ = -1;
}

std::wstring Combo::GetText() const {
  if (curSel_ < 0) return L"";
  auto* item = AsTextItem(list_->GetItemAt(static_cast<size_t>(curSel_)));
  return item ? item->GetText() : L"";
}

bool Combo::SelectInternal(int index) {
  if (index < 0 || index >= list_->GetCount()) return false;
  const int old = curSel_;
  curSel_ = index;
  list_->SelectItem(index, false, false);
  // A select listener may delete the combo.
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  if (dropWindow_) dropWindow_->SendControlEvent(this, select, static_cast<WPARAM>(index), old);
  if (!alive.expired()) Invalidate();
  return true;
}

bool Combo::SelectItem(int index, bool trigger) {
  list_->SelectItem(index, false, false);
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  if (!SelectInternal(index)) return false;
  if (alive.expired()) return true;
  Invalidate();
  if (dropWindow_ && trigger) dropWindow_->SendControlEvent(this, select, static_cast<WPARAM>(curSel_), -1);
  return true;
}

bool Combo::OnListSelect(EventArgs*) {
  if (dropWindow_) PostMessageW(dropWindow_->GetHWND(), WM_KILLFOCUS, 0, 0);
  const int old = curSel_;
  curSel_ = list_->GetCurSel();
  if (Control* item = list_->GetItemAt(static_cast<size_t>(std::max(curSel_, 0))); item && curSel_ >= 0) {
    item->SetHotAlpha(0);
    item->SetState(kControlStateNormal);
    item->Invalidate();
  }
  if (dropWindow_) dropWindow_->SendControlEvent(this, select, static_cast<WPARAM>(curSel_), old);
  return true;
}

void Combo::PaintText(IRenderContext* context) {
  if (curSel_ < 0 || !context) return;
  auto* item = AsTextItem(list_->GetItemAt(static_cast<size_t>(curSel_)));
  if (!item) return;
  auto* listItem = dynamic_cast<ListContainerElement*>(item);
  const std::wstring text = item->GetText();
  if (text.empty() || !listItem || !listItem->GetOwner()) return;
  const RECT padding = (textPadding_.left || textPadding_.top || textPadding_.right || textPadding_.bottom)
                           ? textPadding_
                           : item->GetTextPadding();
  RECT rc = GetPos();
  rc.left += padding.left;
  rc.top += padding.top;
  rc.right -= padding.right;
  rc.bottom -= padding.bottom;
  std::wstring colorName = item->GetTextColor();
  if (colorName.empty()) colorName = UiGlobals::GetDefaultTextColorName();
  const DWORD color = GetColorValue(colorName);
  context->DrawText(rc, text, color, item->GetFont(), DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, 255);
}

// The popup.

bool CComboWnd::Init(Combo* combo) {
  combo_ = combo;
  Window* owner = combo->GetWindow();
  if (!owner || !owner->GetHWND()) return false;
  ListBox* list = combo->GetListBox();
  const SIZE dropSize = combo->GetDropBoxSize();

  RECT pos = combo->GetPos();
  const POINT scroll = combo->GetScrollOffsetInParents();
  OffsetRect(&pos, -scroll.x, -scroll.y);
  RECT rc = pos;
  rc.top = pos.bottom + 1;
  if (dropSize.cx >= 1) rc.right = rc.left + dropSize.cx;
  const int width = rc.right - rc.left;

  int content = 0;
  for (int i = 0; i < list->GetCount(); ++i) {
    Control* item = list->GetItemAt(static_cast<size_t>(i));
    if (item && item->IsVisible()) content += item->EstimateSize(SIZE{width, dropSize.cy}).cy;
  }
  if (Layout* layout = list->GetLayout()) {
    content += layout->GetPadding().top + layout->GetPadding().bottom;
  } else {
    content += 2;
  }
  const int height = std::min<int>(content, dropSize.cy);
  rc.bottom = rc.top + height;
  MapWindowPoints(owner->GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner->GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
  if (rc.bottom > monitor.rcWork.bottom || combo->IsPopupTop()) {
    rc.left = pos.left;
    rc.right = dropSize.cx >= 1 ? rc.left + dropSize.cx : pos.right;
    rc.bottom = pos.top;
    rc.top = pos.top - height;
    MapWindowPoints(owner->GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
  }
  SetShadowAttached(false);
  if (!Create(owner->GetHWND(), L"", WS_POPUP, WS_EX_TOOLWINDOW, true, rc)) return false;
  ::ShowWindow(GetHWND(), SW_SHOW);
  if (HWND top = GetAncestor(GetHWND(), GA_ROOTOWNER)) SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
  return true;
}

void CComboWnd::Detach() {
  closing_ = true;
  SetRoutingSuspended(true);
  TakeListBack();
  combo_ = nullptr;
}

void CComboWnd::TakeListBack() {
  if (!combo_) return;
  ListBox* list = combo_->GetListBox();
  if (auto* root = dynamic_cast<Box*>(GetRoot())) {
    if (root->GetItemIndex(list) >= 0) root->Remove(list);
  }
  ForgetControl(list);
  list->SetWindowAndParent(nullptr, nullptr, false);
}

CComboWnd::~CComboWnd() = default;

void CComboWnd::AdoptList(std::unique_ptr<ListBox> list) { orphanList_ = std::move(list); }

void CComboWnd::CloseLater() {
  HWND hwnd = GetHWND();
  if (IsWindow(hwnd)) {
    ::ShowWindow(hwnd, SW_HIDE);
    if (PostMessageW(hwnd, WM_CLOSE, 0, 0)) return;
    DestroyWindow(hwnd);
    return;
  }
  if (dispatchDepth_ > 0) {
    deletePending_ = true;
  } else {
    delete this;
  }
}

void CComboWnd::OnFinalMessage(HWND hwnd) {
  Window::OnFinalMessage(hwnd);
  if (combo_) {
    TakeListBack();
    combo_->dropWindow_ = nullptr;
    combo_->Invalidate();
  }
  // Destroyed from inside one of its own messages (a listener closing the
  // drop-down): the frames below still use the object, so it goes when the
  // outermost message returns.
  if (dispatchDepth_ > 0) {
    deletePending_ = true;
    return;
  }
  delete this;
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ++dispatchDepth_;
  const LRESULT result = RouteComboMessage(message, wParam, lParam);
  if (--dispatchDepth_ == 0 && deletePending_) delete this;
  return result;
}

LRESULT CComboWnd::RouteComboMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      InitWindowHandle(GetHWND());
      auto* root = new Box(new Layout);
      root->SetAutoDestroyChild(false);
      if (combo_) root->Add(combo_->GetListBox());
      AttachRoot(root);
      if (combo_ && combo_->GetWindow()) SetResourcePath(combo_->GetWindow()->GetResourcePath());
      SetShadowAttached(false);
      SetRenderTransparent(true);
      // The keys reach the list while the popup has the focus.
      if (combo_) SetFocusControl(combo_->GetListBox());
      return 0;
    }
    case WM_KILLFOCUS:
      if (!closing_ && reinterpret_cast<HWND>(wParam) != GetHWND()) {
        closing_ = true;
        SetRoutingSuspended(true);
        PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
        if (combo_) {
          combo_->SelectInternal(combo_->GetListBox()->GetCurSel());
          TakeListBack();
        }
      }
      break;
    case WM_CLOSE:
      if (combo_) {
        combo_->SetWindowAndParent(combo_->GetWindow(), combo_->GetParent(), false);
        combo_->SetPos(combo_->GetPos());
        combo_->SetFocus();
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace ui
