#include "ui/core/window.h"

#include <algorithm>

#include "ui/base/animation_player.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/windows_version.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/framework_access.h"
#include "ui/core/shadow_box.h"

#include "ui/core/touch_input_api.h"
#include "ui/render/render_context.h"
#include "ui/render/render_context_gdiplus.h"

namespace ui {

namespace {

constexpr wchar_t kWindowObjectProperty[] = L"WndX";
constexpr UINT kDelayedDeleteMessage = WM_APP + 1;

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

// Collects every named control of a tree into the window's name map.
Control* RegisterNamedControl(Control* control, LPVOID data) {
  auto* names = static_cast<ControlNameIndex*>(data);
  if (!control->GetName().empty()) names->Register(control->GetName(), control);
  return nullptr;
}

}  // namespace

Window::Window() {
  CreateDefaultFont();
}

Window::~Window() {
  // A native window that outlives its object must no longer reach it.
  if (hwnd_ && IsWindow(hwnd_)) {
    if (GetWindowLongPtrW(hwnd_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
    if (GetPropW(hwnd_, kWindowObjectProperty) == this) RemovePropW(hwnd_, kWindowObjectProperty);
  }
  // The tree goes below, and its controls' destructors raise events: callbacks
  // bound to this object (its derived parts are gone already) must not run.
  ReleaseWeakFlag();
  for (Control* control : delayedDelete_) delete control;
  delayedDelete_.clear();
  if (root_ && deleteRoot_) {
    Control* root = root_;
    root_ = nullptr;
    delete root;
  }
  if (defaultFont_.font) DeleteObject(defaultFont_.font);
  classes_.clear();
  optionGroups_.clear();
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  if (paintDC_) ReleaseDC(hwnd_, paintDC_);
  renderContext_.reset();
}

void Window::CreateDefaultFont() {
  LOGFONTW logFont = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
  logFont.lfCharSet = DEFAULT_CHARSET;
  const std::wstring faceName = framework_access::GetDefaultFontFaceName();
  if (!faceName.empty()) wcsncpy_s(logFont.lfFaceName, faceName.c_str(), _TRUNCATE);
  defaultFont_.font = CreateFontIndirectW(&logFont);
  defaultFont_.faceName = logFont.lfFaceName;
  defaultFont_.size = -logFont.lfHeight;
  defaultFont_.weight = FW_NORMAL;
  defaultFont_.bold = logFont.lfWeight >= FW_BOLD;
  defaultFont_.underline = logFont.lfUnderline != 0;
  defaultFont_.strikeout = logFont.lfStrikeOut != 0;
  defaultFont_.italic = logFont.lfItalic != 0;
}

std::wstring Window::GetWindowClassName() const { return L""; }

std::wstring Window::GetSuperClassName() const { return L""; }

UINT Window::GetClassStyle() const { return 0; }

bool Window::RegisterWindowClass() {
  const std::wstring className = GetWindowClassName();
  WNDCLASSW wc = {};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = &Window::WindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className.c_str();
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::RegisterSuperClass() {
  const std::wstring superName = GetSuperClassName();
  const std::wstring className = GetWindowClassName();
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, superName.c_str(), &wc) &&
      !GetClassInfoExW(ModuleInstance(), superName.c_str(), &wc)) {
    return false;
  }
  previousWindowProc_ = wc.lpfnWndProc;
  wc.lpfnWndProc = &Window::SuperClassWindowProc;
  wc.hInstance = ModuleInstance();
  wc.lpszClassName = className.c_str();
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Window::Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle,
                    bool layered, const RECT& rect) {
  const bool superclass = !GetSuperClassName().empty();
  if (superclass ? !RegisterSuperClass() : !RegisterWindowClass()) return nullptr;
  layered_ = layered;
  if (layered_) exStyle |= WS_EX_LAYERED;
  const std::wstring className = GetWindowClassName();
  hwnd_ = CreateWindowExW(exStyle, className.c_str(), windowName, style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                          ModuleInstance(), this);
  if (!hwnd_) return nullptr;
  if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CAPTION) {
    SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) & ~WS_CAPTION);
  }
  // A derived window's WM_CREATE may have taken the handle over already.
  if (!renderContext_) InitWindowHandle(hwnd_);
  return hwnd_;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  } else {
    window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY && window) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return FinishWindow(window, hwnd, message, wParam, lParam);
    }
  }
  if (window) return window->HandleMessage(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::SuperClassWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  Window* window = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetPropW(hwnd, kWindowObjectProperty, window);
  } else {
    window = static_cast<Window*>(GetPropW(hwnd, kWindowObjectProperty));
    if (message == WM_NCDESTROY && window) {
      RemovePropW(hwnd, kWindowObjectProperty);
      window->hwnd_ = nullptr;
      return FinishWindow(window, hwnd, message, wParam, lParam);
    }
  }
  if (window) return window->HandleMessage(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Window::FinishWindow(Window* window, HWND hwnd, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  // The previous procedure sees WM_NCDESTROY before the object lets go of the handle.
  LRESULT result = CallWindowProcW(window->previousWindowProc_, hwnd, message, wParam, lParam);
  if (window->paintDC_) {
    ReleaseDC(hwnd, window->paintDC_);
    window->paintDC_ = nullptr;
  }
  window->Unsubclass();
  window->OnFinalMessage(hwnd);
  return result;
}

void Window::Unsubclass() {
  if (!hwnd_ || !IsWindow(hwnd_) || !subclassed_) return;
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc_));
  previousWindowProc_ = ::DefWindowProcW;
  subclassed_ = false;
}

void Window::InitWindowHandle(HWND hwnd) {
  hwnd_ = hwnd;
  if (paintDC_) ReleaseDC(hwnd_, paintDC_);
  paintDC_ = GetDC(hwnd);
  renderContext_ = std::make_unique<RenderContext_GdiPlus>();
  if (auto registerTouch = GetTouchInputApi().registerTouchWindow) registerTouch(hwnd, 0);
}

void Window::OnFinalMessage(HWND hwnd) {
  if (auto unregisterTouch = GetTouchInputApi().unregisterTouchWindow) unregisterTouch(hwnd);
  FireWindowEvent(windowclose);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!routingSuspended_) {
    bool handled = false;
    LRESULT result = RouteMessage(message, wParam, lParam, handled);
    if (handled) return result;
  }
  return CallWindowProcW(previousWindowProc_, hwnd_, message, wParam, lParam);
}

void Window::ShowWindow(bool show, bool takeFocus) {
  if (!IsWindow(hwnd_)) return;
  if (show) {
    if (root_) {
      // Making the tree visible invalidates every box in it, one window-system call
      // (and for a layered window one posted paint) each: with hundreds of cards that
      // costs far more than one invalidation of the whole client area, which covers them.
      InvalidationBatch batch(this);
      root_->SetFadeVisible(true);
      RECT client = {};
      GetClientRect(hwnd_, &client);
      InvalidateClientRect(client);
    }
    ::ShowWindow(hwnd_, takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
  } else {
    ::ShowWindow(hwnd_, SW_HIDE);
  }
}

UINT Window::ShowModal() {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  // The owner gets back the state it had: one already disabled by a loop further
  // out (a message box, a picker) must stay so, or it takes input under that loop.
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  auto giveBackOwner = [&] {
    if (!owner || !ownerWasEnabled) return;
    EnableWindow(owner, TRUE);
    SetFocus(owner);
  };
  ShowWindow(true, true);
  UINT result = 0;
  MSG msg = {};
  bool quit = false;
  while (IsWindow(hwnd_)) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    const bool closingThis = msg.message == WM_CLOSE && msg.hwnd == hwnd_;
    if (closingThis) {
      result = static_cast<UINT>(msg.wParam);
      giveBackOwner();
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (closingThis) break;
  }
  giveBackOwner();
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return result;
}

UINT_PTR Window::Close(UINT code) {
  if (!IsWindow(hwnd_)) return 0;
  closing_ = true;
  return PostMessageW(hwnd_, WM_CLOSE, code, 0);
}

void Window::CenterWindow() {
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT work = monitor.rcWork;
  RECT reference = work;
  if (owner && !IsIconic(owner)) GetWindowRect(owner, &reference);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  int x = (reference.left + reference.right) / 2 - width / 2;
  int y = (reference.top + reference.bottom) / 2 - height / 2;
  if (x < work.left) x = work.left;
  else if (x + width > work.right) x = work.right - width;
  if (y < work.top) y = work.top;
  else if (y + height > work.bottom) y = work.bottom - height;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Window::SendWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(hwnd_, message, wParam, lParam);
}

bool Window::AttachRoot(Control* root, bool deleteRoot) {
  SetFocusControl(nullptr);
  keyControl_ = newHover_ = hover_ = pushed_ = touch_ = nullptr;
  // Only a root the window owns is deleted, and never the one being attached.
  if (root_ && root_ != root && deleteRoot_) AddDelayedDelete(root_);
  root_ = root;
  deleteRoot_ = deleteRoot;
  updateNeeded_ = true;
  firstPaint_ = true;
  if (!root_) return false;
  return InitControls(root_, nullptr);
}

bool Window::InitControls(Control* control, Box* parent) {
  if (!control) return false;
  control->SetWindowAndParent(this, parent ? parent : control->GetParent(), true);
  control->FindControl(&RegisterNamedControl, &namedControls_, 0);
  return true;
}

void Window::ForgetDestroyedControl(Control* control) {
  ForgetControl(control);
  if (control && root_ == control) root_ = nullptr;
}

void Window::ForgetControl(Control* control) {
  if (!control) return;
  for (Control** slot : {&focus_, &newHover_, &hover_, &pushed_, &keyControl_, &touch_}) {
    if (*slot == control) *slot = nullptr;
  }
  if (static_cast<Control*>(shadow_.GetShadowBox()) == control) shadow_.ForgetShadowBox();
  // Under every name: the control may have been renamed since it was registered.
  namedControls_.Forget(control);
}

void Window::AddDelayedDelete(Control* control) {
  if (!control) return;
  control->SetWindowAndParent(this, nullptr, false);
  delayedDelete_.push_back(control);
  // One message empties the whole queue: a list clearing hundreds of items posts
  // it once, not once per item.
  if (hwnd_ && !delayedDeletePosted_) delayedDeletePosted_ = PostMessageW(hwnd_, kDelayedDeleteMessage, 0, 0) != FALSE;
}

void Window::SetResourcePath(const std::wstring& path) {
  resourcePath_ = path;
  if (!resourcePath_.empty() && resourcePath_.back() != L'\\' && resourcePath_.back() != L'/') {
    resourcePath_ += L'\\';
  }
}

Control* Window::FindControlByName(const std::wstring& name) const {
  return namedControls_.Find(name);
}

bool Window::AddOptionGroupMember(const std::wstring& group, Control* control) {
  std::vector<Control*>& members = optionGroups_[group];
  if (std::find(members.begin(), members.end(), control) != members.end()) return false;
  members.push_back(control);
  return true;
}

void Window::RemoveOptionGroupMember(const std::wstring& group, Control* control) {
  auto found = optionGroups_.find(group);
  if (found == optionGroups_.end()) return;
  std::vector<Control*>& members = found->second;
  members.erase(std::remove(members.begin(), members.end(), control), members.end());
  if (members.empty()) optionGroups_.erase(found);
}

const std::vector<Control*>* Window::GetOptionGroup(const std::wstring& group) const {
  auto found = optionGroups_.find(group);
  return found == optionGroups_.end() ? nullptr : &found->second;
}

void Window::AddClass(const std::wstring& name, const std::wstring& attributes) {
  classes_[name] = attributes;
}

std::wstring Window::GetClassAttributes(const std::wstring& name) const {
  auto found = classes_.find(name);
  return found == classes_.end() ? std::wstring() : found->second;
}

void Window::AddColor(const std::wstring& name, DWORD argb) { colors_[name] = argb; }

DWORD Window::GetColor(const std::wstring& name) const {
  auto found = colors_.find(name);
  return found == colors_.end() ? 0 : found->second;
}

void Window::AddMessageFilter(IUIMessageFilter* filter) {
  if (filter) messageFilters_.push_back(filter);
}

void Window::RemoveMessageFilter(IUIMessageFilter* filter) {
  messageFilters_.erase(std::remove(messageFilters_.begin(), messageFilters_.end(), filter),
                        messageFilters_.end());
}

void Window::AddControlFromPointFinder(IControlFromPointFinder* finder) {
  if (finder) pointFinders_.push_back(finder);
}

void Window::RemoveControlFromPointFinder(IControlFromPointFinder* finder) {
  pointFinders_.erase(std::remove(pointFinders_.begin(), pointFinders_.end(), finder),
                      pointFinders_.end());
}

void Window::AttachWindowEvent(EventType type, const EventCallback& callback) {
  windowListeners_[type].push_back(callback);
}

void Window::FireWindowEvent(EventType type, WPARAM wParam, LPARAM lParam) {
  EventArgs args;
  args.Type = type;
  args.dwTimestamp = GetTickCount();
  args.ptMouse = lastMousePos_;
  args.wParam = wParam;
  args.lParam = lParam;
  // Copies: a listener may attach further listeners or destroy the window.
  for (EventType key : {type, all}) {
    auto found = windowListeners_.find(key);
    if (found == windowListeners_.end()) continue;
    EventCallbackList callbacks = found->second;
    RunEventCallbacks(callbacks, &args);
  }
}

RECT Window::GetWindowRectWithoutShadow(bool includeShadow) const {
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  if (!includeShadow && shadow_.IsAttached()) {
    const RECT padding = shadow_.GetPadding();
    rect.left += padding.left;
    rect.top += padding.top;
    rect.right -= padding.right;
    rect.bottom -= padding.bottom;
  }
  return rect;
}

void Window::SetWindowPosition(const RECT& rect, bool dpiScale, UINT flags, HWND insertAfter,
                               bool includeShadow) {
  RECT target = rect;
  if (dpiScale) DpiScaler::Instance().ScaleRect(target);
  if (!includeShadow && shadow_.IsAttached()) {
    const RECT padding = shadow_.GetPadding();
    target.left -= padding.left;
    target.top -= padding.top;
    target.right += padding.right;
    target.bottom += padding.bottom;
  }
  SetWindowPos(hwnd_, insertAfter, target.left, target.top, target.right - target.left,
               target.bottom - target.top, flags);
}

void Window::Resize(int cx, int cy, bool includeShadow, bool dpiScale) {
  if (dpiScale) {
    cx = DpiScaler::Instance().ScaleInt(cx);
    cy = DpiScaler::Instance().ScaleInt(cy);
  }
  if (!includeShadow && shadow_.IsAttached()) {
    const RECT padding = shadow_.GetPadding();
    cx += padding.left + padding.right;
    cy += padding.top + padding.bottom;
  }
  initialSize_ = {cx, cy};
  if (hwnd_) {
    SetWindowPos(hwnd_, nullptr, 0, 0, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  }
}

void Window::SetInitialSize(int cx, int cy, bool dpiScale) {
  if (root_) return;
  Resize(cx, cy, false, dpiScale);
}

void Window::InvalidateClientRect(const RECT& rect) {
  if (!hwnd_) return;
  if (coalescingDepth_ > 0) {
    UnionRect(&coalescedDirty_, &coalescedDirty_, &rect);
    return;
  }
  ::InvalidateRect(hwnd_, &rect, FALSE);
  if (layered_) PostMessageW(hwnd_, WM_PAINT, 0, 0);
}

Window::InvalidationBatch::InvalidationBatch(Window* window, AtEnd atEnd) : window_(window), atEnd_(atEnd) {
  if (!window_) return;
  alive_ = window_->GetWeakFlag();
  outer_ = window_->coalescedDirty_;
  window_->coalescedDirty_ = {};
  ++window_->coalescingDepth_;
}

RECT Window::InvalidationBatch::Gathered() const {
  return window_ && !alive_.expired() ? window_->coalescedDirty_ : RECT{};
}

Window::InvalidationBatch::~InvalidationBatch() {
  if (!window_ || alive_.expired()) return;
  const RECT gathered = window_->coalescedDirty_;
  window_->coalescedDirty_ = outer_;
  if (--window_->coalescingDepth_ > 0) {
    if (atEnd_ == AtEnd::kInvalidate) UnionRect(&window_->coalescedDirty_, &outer_, &gathered);
    return;
  }
  if (atEnd_ == AtEnd::kInvalidate && !IsRectEmpty(&gathered)) window_->InvalidateClientRect(gathered);
}

void Window::SetWindowAlpha(int alpha) {
  windowAlpha_ = alpha;
  if (!root_) return;
  root_->Invalidate();
  if (layered_ && hwnd_) PostMessageW(hwnd_, WM_PAINT, 0, 0);
}

bool Window::SetRenderTransparent(bool transparent) {
  if (!renderContext_) return false;
  return renderContext_->SetRenderTransparent(transparent);
}

void Window::FadeInWindow() {
  if (!root_ || !IsWindowsVersionAtLeast(6, 0, 0)) return;
  windowAlpha_ = 255;
  // The layered window's alpha follows the root's fade.
  if (AnimationPlayer* fade = root_->GetAnimations().GetPlayer(kAnimationAlpha)) {
    fade->SetPlayCallback(
        nbase::Bind(callbackFlag_, &Window::SetWindowAlpha, this, std::placeholders::_1));
  }
  root_->SetFadeVisible(true);
}

}  // namespace ui
