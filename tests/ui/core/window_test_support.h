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

#include "ui/core/control.h"
#include "ui/core/window.h"
#include "ui/render/render_context.h"

namespace window_test {

// GDI+ must run for render contexts; common controls for tooltips.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

class TestWindow : public ui::Window {
 public:
  explicit TestWindow(std::wstring className = L"PexoTestWindow") : className_(className) {}
  std::wstring GetWindowClassName() const override { return className_; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  void OnFinalMessage(HWND hwnd) override {
    ++finalMessages;
    ui::Window::OnFinalMessage(hwnd);
  }

  // A visible, non-layered popup at (x, y) of the given client size, without shadow.
  HWND CreatePlain(int width, int height, int x = 40, int y = 40, HWND owner = nullptr) {
    SetShadowAttached(false);
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

// Saves the window's area of the screen as a PNG; false when it cannot.
inline bool SaveScreenshotPng(HWND hwnd, const std::wstring& path) {
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  namespace gp = Gdiplus::DllExports;
  Gdiplus::GpBitmap* image = nullptr;
  bool saved = false;
  if (gp::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Gdiplus::Ok) {
    // The PNG encoder's class id.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    saved = gp::GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Gdiplus::Ok;
    gp::GdipDisposeImage(image);
  }
  DeleteObject(bitmap);
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

// The screen pixel at a client point of the window, as 0x00RRGGBB.
inline COLORREF ScreenPixel(HWND hwnd, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(hwnd, &p);
  HDC screen = GetDC(nullptr);
  COLORREF color = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return RGB(GetBValue(color), GetGValue(color), GetRValue(color));
}

}  // namespace window_test
