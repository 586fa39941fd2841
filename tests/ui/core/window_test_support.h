// Helpers of the window tests: a concrete framework window, message pumping,
// event recording and pixel checks. Every test runs real windows under Wine.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/gdiplus_environment.h"
#include "ui/base/scoped_handles.h"
#include "ui/core/control.h"
#include "ui/core/window.h"
#include "ui/render/render_context.h"

namespace window_test {

// GDI+ must run for render contexts: tests register this environment.
using pexo_test::GdiplusEnvironment;

class TestWindow : public ui::Window {
 public:
  explicit TestWindow(std::wstring className = L"PexoTestWindow") : className_(className) {}
  std::wstring GetWindowClassName() const override { return className_; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  void OnFinalMessage(HWND hwnd) override {
    ++finalMessages;
    ui::Window::OnFinalMessage(hwnd);
  }

  // A visible, non-layered popup of the given client size, without shadow, at
  // (x, y) from this process's own corner of the screen: test programs run side by
  // side on one display and should not cover each other's windows.
  HWND CreatePlain(int width, int height, int x = 0, int y = 0, HWND owner = nullptr) {
    SetShadowAttached(false);
    const DWORD slot = GetCurrentProcessId() / 4;  // Windows process ids step by 4
    x += 10 + static_cast<int>(slot % 4) * 315;
    y += 10 + static_cast<int>((slot / 4) % 4) * 250;
    HWND hwnd = Create(owner, L"test", WS_POPUP | WS_CLIPCHILDREN, 0, false,
                       RECT{x, y, x + width, y + height});
    // Shown without activation: Wine then leaves the window to itself instead of
    // waiting for a window manager that Xvfb does not run.
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
  }

  int finalMessages = 0;

 private:
  std::wstring className_;
};

// Dispatches every queued message of the thread.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pumps messages until the condition holds or the time runs out; the result is the
// condition's last answer.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    PumpMessages();
  }
  return true;
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// Posts the message to the window and dispatches it. The real cursor follows
// client mouse messages, so that the system's own tracking (leave, hover) agrees
// with the posted positions.
inline void PostAndPump(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL) {
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd, &p);
    SetCursorPos(p.x, p.y);
  }
  PostMessageW(hwnd, message, wParam, lParam);
  PumpMessages();
}

// Paints the window now (WM_PAINT through the message loop).
inline void PaintNow(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  PumpMessages();
}

// The event types a control received, in order.
struct EventLog {
  std::vector<ui::EventType> types;
  std::vector<ui::EventArgs> events;

  void Attach(ui::Control* control) {
    control->AttachEvent(ui::all, [this](ui::EventArgs* args) {
      types.push_back(args->Type);
      events.push_back(*args);
      return true;
    });
  }
  bool Has(ui::EventType type) const {
    for (ui::EventType t : types)
      if (t == type) return true;
    return false;
  }
  int Count(ui::EventType type) const {
    int n = 0;
    for (ui::EventType t : types)
      if (t == type) ++n;
    return n;
  }
  const ui::EventArgs* Last(ui::EventType type) const {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
      if (it->Type == type) return &*it;
    return nullptr;
  }
  void Clear() {
    types.clear();
    events.clear();
  }
};

// A control that reports its destruction.
class ProbeControl : public ui::Control {
 public:
  explicit ProbeControl(bool* deleted) : deleted_(deleted) {}
  ~ProbeControl() override {
    if (deleted_) *deleted_ = true;
  }

 private:
  bool* deleted_;
};

// The pixel (x, y) of a render context as 0xAARRGGBB.
inline DWORD PixelAt(ui::IRenderContext* context, int x, int y) {
  const BYTE* bits = context->GetBits();
  const int width = context->GetWidth();
  return reinterpret_cast<const DWORD*>(bits)[y * width + x];
}

inline LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }

inline LPARAM ScreenPoint(HWND hwnd, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(hwnd, &p);
  return MAKELPARAM(p.x, p.y);
}

// What the screen shows in `area` (screen coordinates), row by row as 0x00RRGGBB;
// empty when it cannot be read. The display may be shared with other tests.
inline std::vector<DWORD> GrabScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  ui::WindowDc screen(nullptr);
  ui::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  ui::UniqueBitmap shot(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !shot || !bits) return {};
  {
    ui::SelectObjectGuard selected(memory.get(), shot.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  }
  GdiFlush();
  const auto* pixels = static_cast<const DWORD*>(bits);
  return std::vector<DWORD>(pixels, pixels + static_cast<size_t>(width) * height);
}

// Saves what the window painted (its render surface, which a window that is not
// layered copies to the screen unchanged) as a PNG; false when it cannot. The
// screen itself is shared by test processes running side by side, so it is not
// read back.
inline bool SaveWindowPng(ui::Window& window, const std::wstring& path) {
  ui::IRenderContext* context = window.GetRenderContext();
  if (!context || !context->GetBitmap()) return false;
  const int width = context->GetWidth();
  const int height = context->GetHeight();
  namespace gp = Gdiplus::DllExports;
  Gdiplus::GpBitmap* image = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppRGB, nullptr, &image) !=
      Gdiplus::Ok) {
    return false;
  }
  Gdiplus::GpRect whole(0, 0, width, height);
  Gdiplus::BitmapData data = {};
  if (gp::GdipBitmapLockBits(image, &whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppRGB,
                             &data) == Gdiplus::Ok) {
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
      for (int x = 0; x < width; ++x) row[x] = PixelAt(context, x, y) | 0xFF000000u;
    }
    gp::GdipBitmapUnlockBits(image, &data);
  }
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const bool saved = gp::GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Gdiplus::Ok;
  gp::GdipDisposeImage(image);
  return saved;
}

// Writes a 32-bit ARGB PNG whose pixel (x, y) is pixel(x, y).
inline bool WritePng(const std::wstring& path, int width, int height,
                     const std::function<DWORD(int, int)>& pixel) {
  namespace gp = Gdiplus::DllExports;
  Gdiplus::GpBitmap* image = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &image) !=
      Gdiplus::Ok) {
    return false;
  }
  Gdiplus::GpRect whole(0, 0, width, height);
  Gdiplus::BitmapData data = {};
  if (gp::GdipBitmapLockBits(image, &whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB,
                             &data) == Gdiplus::Ok) {
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
      for (int x = 0; x < width; ++x) row[x] = pixel(x, y);
    }
    gp::GdipBitmapUnlockBits(image, &data);
  }
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const bool saved = gp::GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Gdiplus::Ok;
  gp::GdipDisposeImage(image);
  return saved;
}

}  // namespace window_test
