// The framework's top-level native window: it owns the Win32 window, its
// render surface, the root of its control tree and the per-window tables, and
// turns window messages into control events.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/weak_callback.h"
#include "ui/core/control_name_index.h"
#include "ui/core/dirty_rects.h"
#include "ui/core/event_args.h"
#include "ui/core/window_shadow.h"

namespace ui {

class Box;
class Control;
class IRenderContext;

// A window runs its message filters before it translates a message. A filter
// that sets `handled` ends the message with its result (except WM_MOUSEMOVE,
// which always reaches the translation).
class IUIMessageFilter {
 public:
  virtual ~IUIMessageFilter() = default;
  virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

// A hit-test hook answers the control at a client point before the tree is
// searched; null lets the next hook or the tree answer.
class IControlFromPointFinder {
 public:
  virtual ~IControlFromPointFinder() = default;
  virtual Control* FindControlFromPoint(POINT point) = 0;
};

// The window's default font, made from the stock GUI font.
struct WindowFont {
  HFONT font = nullptr;
  std::wstring faceName;
  int size = 0;
  int weight = FW_NORMAL;
  bool bold = false;
  bool underline = false;
  bool strikeout = false;
  bool italic = false;
  TEXTMETRICW metrics = {};
};

class Window : public virtual nbase::SupportWeakCallback {
 public:
  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Virtual operations, in slot order.
  virtual std::wstring GetWindowClassName() const;
  virtual std::wstring GetSuperClassName() const;
  virtual UINT GetClassStyle() const;
  virtual HWND Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle,
                      bool layered = true, const RECT& rect = {0, 0, 0, 0});
  virtual UINT_PTR Close(UINT code = IDOK);
  virtual void ShowWindow(bool show = true, bool takeFocus = true);
  virtual void OnFinalMessage(HWND hwnd);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void FadeInWindow();

  HWND GetHWND() const { return hwnd_; }
  Control* GetRoot() const { return root_; }
  Control* GetFocusControl() const { return focus_; }
  // The control found under the mouse by the last hit test.
  Control* GetNewHover() const { return newHover_; }
  Control* GetHoverControl() const { return hover_; }
  Control* GetPushedControl() const { return pushed_; }
  POINT GetLastMousePos() const { return lastMousePos_; }
  IRenderContext* GetRenderContext() const { return renderContext_.get(); }
  HDC GetPaintDC() const { return paintDC_; }
  bool IsLayeredWindow() const { return layered_; }
  bool IsClosing() const { return closing_; }
  bool IsNoFocus() const { return noFocus_; }
  void SetNoFocus(bool noFocus) { noFocus_ = noFocus; }
  // While suspended, HandleMessage passes every message straight to the previous
  // window procedure. The slide steps write this from the multimedia timer's
  // thread, hence atomic.
  bool IsRoutingSuspended() const { return routingSuspended_; }
  void SetRoutingSuspended(bool suspended) { routingSuspended_ = suspended; }
  // Whether TrackMouseEvent is armed for this window; clearing it makes the next
  // mouse move arm it again. Also written from the slide timer's thread.
  bool IsMouseTracking() const { return mouseTracking_; }
  void SetMouseTracking(bool tracking) { mouseTracking_ = tracking; }
  // Whether the window holds the mouse capture. A text host that calls
  // SetCapture/ReleaseCapture itself keeps this in step, so the window's button
  // handling releases the capture when the button goes up.
  bool IsMouseCaptured() const { return mouseCaptured_; }
  void SetMouseCaptured(bool captured) { mouseCaptured_ = captured; }
  // Set by controls that need a new layout before the next paint.
  void SetArrange(bool needed) { updateNeeded_ = needed; }
  // Marks a client rectangle dirty (no erase); a layered window, which gets no
  // WM_PAINT of its own, is sent one.
  void InvalidateClientRect(const RECT& rect);
  bool IsArrangeNeeded() const { return updateNeeded_; }

  // Gathers the invalidations made while it lives into one invalidation of their
  // union when it ends (inside another batch, into that batch's union). Rebuilding
  // a list of hundreds of items then costs one window-system call, not hundreds.
  // A batch that drops its union is for changes to an area being painted now.
  class InvalidationBatch {
   public:
    enum class AtEnd { kInvalidate, kDrop };
    explicit InvalidationBatch(Window* window, AtEnd atEnd = AtEnd::kInvalidate);
    ~InvalidationBatch();
    InvalidationBatch(const InvalidationBatch&) = delete;
    InvalidationBatch& operator=(const InvalidationBatch&) = delete;
    // The union gathered so far.
    RECT Gathered() const;

   private:
    Window* window_;
    std::weak_ptr<nbase::WeakFlag> alive_;
    AtEnd atEnd_;
    RECT outer_ = {};
  };

  UINT ShowModal();
  void CenterWindow();
  LRESULT SendWindowMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Takes over an existing handle (a derived window's OnCreate): keeps it, its DC,
  // a new render context, and registers the window for touch input.
  void InitWindowHandle(HWND hwnd);
  // Undoes a procedure replacement still in force when the window goes away.
  void Unsubclass();

  // Installs the control tree. The previous root is queued for deferred deletion
  // only when the window owned it; a root the caller owns is left to the caller.
  bool AttachRoot(Control* root, bool deleteRoot = true);
  bool InitControls(Control* control, Box* parent = nullptr);
  // Drops the window's references to a control (focus, hover, pushed, key and
  // touch slots, names). A root forgotten this way stays the root, which the
  // window deletes when it goes (when it owns it), so a closed window's tree goes
  // with the window object.
  void ForgetControl(Control* control);
  // For a control's destructor: as ForgetControl, and a root destroyed by someone
  // else is no longer the window's root.
  void ForgetDestroyedControl(Control* control);
  void AddDelayedDelete(Control* control);

  void SetResourcePath(const std::wstring& path);
  const std::wstring& GetResourcePath() const { return resourcePath_; }
  Control* FindControlByName(const std::wstring& name) const;
  bool AddOptionGroupMember(const std::wstring& group, Control* control);
  void RemoveOptionGroupMember(const std::wstring& group, Control* control);
  const std::vector<Control*>* GetOptionGroup(const std::wstring& group) const;

  // Window-level classes and named colours of the skin.
  void AddClass(const std::wstring& name, const std::wstring& attributes);
  std::wstring GetClassAttributes(const std::wstring& name) const;
  void AddColor(const std::wstring& name, DWORD argb);
  DWORD GetColor(const std::wstring& name) const;

  void AddMessageFilter(IUIMessageFilter* filter);
  void RemoveMessageFilter(IUIMessageFilter* filter);
  void AddControlFromPointFinder(IControlFromPointFinder* finder);
  void RemoveControlFromPointFinder(IControlFromPointFinder* finder);

  // Window-level listeners, fired for "windowclose" (39) and "all" (6).
  void AttachWindowEvent(EventType type, const EventCallback& callback);
  void FireWindowEvent(EventType type, WPARAM wParam = 0, LPARAM lParam = 0);

  // Shadow and shadow-aware geometry.
  WindowShadow& GetShadow() { return shadow_; }
  const WindowShadow& GetShadow() const { return shadow_; }
  bool IsShadowAttached() const { return shadow_.IsAttached(); }
  void SetShadowAttached(bool attached) { shadow_.SetAttached(attached); }
  RECT GetShadowPadding() const { return shadow_.GetPadding(); }
  RECT GetWindowRectWithoutShadow(bool includeShadow) const;
  void SetWindowPosition(const RECT& rect, bool dpiScale, UINT flags,
                         HWND insertAfter = nullptr, bool includeShadow = false);
  void Resize(int cx, int cy, bool includeShadow = false, bool dpiScale = true);
  void SetInitialSize(int cx, int cy, bool dpiScale = true);
  SIZE GetInitialSize() const { return initialSize_; }

  // Window geometry attributes of the skin.
  SIZE GetMinInfo() const { return minInfo_; }
  void SetMinInfo(int cx, int cy) { minInfo_ = {cx, cy}; }
  SIZE GetMaxInfo() const { return maxInfo_; }
  void SetMaxInfo(int cx, int cy) { maxInfo_ = {cx, cy}; }
  RECT GetMaximizedRect() const { return maximizedRect_; }
  void SetMaximizedRect(const RECT& rect) { maximizedRect_ = rect; }
  RECT GetSizeBox() const { return sizeBox_; }
  void SetSizeBox(const RECT& rect) { sizeBox_ = rect; }
  RECT GetAlphaFixCorner() const { return alphaFixCorner_; }
  void SetAlphaFixCorner(const RECT& rect) { alphaFixCorner_ = rect; }
  SIZE GetRoundCorner() const { return roundCorner_; }
  void SetRoundCorner(int cx, int cy) { roundCorner_ = {cx, cy}; }
  RECT GetCaptionRect() const { return caption_; }
  void SetCaptionRect(const RECT& rect) { caption_ = rect; }
  double GetHeightPercent() const { return heightPercent_; }
  void SetHeightPercent(double percent) { heightPercent_ = percent; }

  void SetWindowAlpha(int alpha);
  int GetWindowAlpha() const { return windowAlpha_; }
  bool SetRenderTransparent(bool transparent);

  const WindowFont& GetDefaultFont() const { return defaultFont_; }

  // Message routing and input.
  LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  bool SendControlEvent(Control* control, EventType type, WPARAM wParam = 0, LPARAM lParam = 0);
  void SetFocusControl(Control* control);
  void MoveFocusToNextControl(bool forward = true);
  Control* FindControlAtPoint(POINT point) const;
  bool UpdateHover(POINT point, WPARAM wParam = 0, LPARAM lParam = 0);
  // The control under the mouse is left: a hidden window has none, and a stale
  // one would swallow the next entry into it once the window is shown again.
  void EndHover();
  void EndTouch();
  HWND GetTooltipWindow() const { return tooltip_; }

 protected:
  // Lays the tree out when needed and paints the dirty area (WM_PAINT).
  void Paint();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SuperClassWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam);
  static LRESULT FinishWindow(Window* window, HWND hwnd, UINT message, WPARAM wParam,
                              LPARAM lParam);
  bool RegisterWindowClass();
  bool RegisterSuperClass();
  void CreateDefaultFont();
  void SetLastMousePos(POINT point) { lastMousePos_ = point; }
  // The control under the point when it belongs to this window.
  Control* FindOwnControlAtPoint(POINT point) const;
  void CaptureMouse();
  void ReleaseMouse();
  LRESULT OnTouch(WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT OnPointer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  bool ShowTooltip(Control* control, POINT point);
  void ResizeToAutoSizedRoot();
  // Hands the layered window's painted surface to the window system: `dirty` alone
  // when the rest of what it holds is still right, all of it otherwise.
  void PushLayeredSurface(const RECT& dirty, int width, int height);
  void ArrangeForPaint(const RECT& client);
  // The window system's update region as a few pieces that do not overlap
  // (DirtyRects); none when it cannot be read.
  DirtyRects UpdatePieces(const RECT& client) const;
  // Hands a record built from the arguments and the last mouse position to the
  // control's event entry.
  bool DispatchEvent(Control* control, EventType type, WPARAM wParam, LPARAM lParam, wchar_t key,
                     float pressure);
  void TakeNativeFocus();
  // The pushed control gets a button-up and is no longer pushed.
  void ReleasePushedControl();
  void PressControl(Control* control, EventType type, WPARAM wParam, LPARAM lParam,
                    bool moveFocus);
  void DeleteDelayedControls();

  HWND hwnd_ = nullptr;
  WNDPROC previousWindowProc_ = ::DefWindowProcW;
  bool subclassed_ = false;
  Control* root_ = nullptr;
  bool deleteRoot_ = true;
  bool noFocus_ = false;
  std::map<EventType, EventCallbackList> windowListeners_;
  SIZE minInfo_ = {0, 0};
  SIZE maxInfo_ = {0, 0};
  SIZE initialSize_ = {0, 0};
  RECT maximizedRect_ = {0, 0, 0, 0};
  RECT sizeBox_ = {0, 0, 0, 0};
  RECT alphaFixCorner_ = {0, 0, 0, 0};
  SIZE roundCorner_ = {0, 0};
  RECT caption_ = {0, 0, 0, 0};
  double heightPercent_ = 0;
  HDC paintDC_ = nullptr;
  std::unique_ptr<IRenderContext> renderContext_;
  bool layered_ = true;
  int windowAlpha_ = 255;
  bool firstPaint_ = true;
  HWND tooltip_ = nullptr;
  TOOLINFOW toolInfo_ = {};
  std::wstring tooltipText_;  // the text the tool info points at
  Control* focus_ = nullptr;
  Control* newHover_ = nullptr;
  Control* hover_ = nullptr;
  Control* pushed_ = nullptr;
  Control* keyControl_ = nullptr;
  POINT lastMousePos_ = {-1, -1};
  Control* touch_ = nullptr;
  bool updateNeeded_ = false;
  std::atomic<bool> mouseTracking_ = false;
  bool mouseCaptured_ = false;
  std::atomic<bool> routingSuspended_ = false;
  std::wstring resourcePath_;
  WindowFont defaultFont_;
  std::map<std::wstring, std::wstring> classes_;
  std::map<std::wstring, DWORD> colors_;
  std::map<std::wstring, std::vector<Control*>> optionGroups_;
  std::vector<IUIMessageFilter*> messageFilters_;
  std::vector<IControlFromPointFinder*> pointFinders_;
  std::vector<Control*> delayedDelete_;
  bool delayedDeletePosted_ = false;
  ControlNameIndex namedControls_;
  nbase::WeakCallbackFlag callbackFlag_;
  WindowShadow shadow_;
  bool closing_ = false;
  // While above zero, controls' invalidations are gathered into coalescedDirty_
  // instead of reaching the window system: their union is invalidated once
  // (InvalidationBatch) or painted by the paint that laid them out.
  int coalescingDepth_ = 0;
  RECT coalescedDirty_ = {};
  // What the last push of a layered window's surface handed the window system: while
  // the window keeps its place, size, alpha and visibility, a paint pushes only
  // the area it painted.
  struct LayeredPush {
    bool whole = false;  // the window system holds the whole surface as it was painted
    RECT window = {};
    int alpha = -1;
  };
  LayeredPush lastPush_;
};

}  // namespace ui
