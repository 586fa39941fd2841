// Types 1 000 characters into a rich edit in a real window, one window message
// at a time as the keyboard delivers them, and reads the text back: a baseline
// for the search window's keystroke-to-results figure. Prints timings only.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <string>

#include "ui/base/ui_globals.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/box.h"
#include "ui/core/window.h"

namespace {

class BenchWindow : public ui::Window {
 public:
  std::wstring GetWindowClassName() const override { return L"PexoRichEditBench"; }
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int main() {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  ui::RegisterStockControls();
  ui::UiGlobals::AddFont(L"edit", L"Microsoft YaHei", 16, false, false, false, false, true, 0);

  constexpr int kChars = 1000;
  {
    BenchWindow window;
    window.SetShadowAttached(false);
    HWND hwnd = window.Create(nullptr, L"bench", WS_POPUP, 0, false, RECT{20, 20, 620, 120});
    if (!hwnd) {
      std::printf("rich_edit_typing: no window\n");
      return 1;
    }
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    auto* root = new ui::Box;
    auto* edit = new ui::RichEdit;
    edit->SetAttribute(L"font", L"edit");
    edit->SetAttribute(L"multiline", L"false");
    edit->SetAttribute(L"autohscroll", L"true");
    root->Add(edit);
    window.AttachRoot(root);
    UpdateWindow(hwnd);
    Pump();
    edit->SetFocus();
    if (!edit->GetHost()) {
      std::printf("rich_edit_typing: the text services are not available\n");
      return 1;
    }

    const std::wstring sample = L"pexo 快速启动 launcher ";
    LARGE_INTEGER start, typed, painted, read;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kChars; ++i) {
      // Each keystroke is delivered and handled before the next, as typing is.
      SendMessageW(hwnd, WM_CHAR, sample[static_cast<size_t>(i) % sample.size()], 1);
    }
    QueryPerformanceCounter(&typed);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    Pump();
    QueryPerformanceCounter(&painted);
    size_t length = 0;
    constexpr int kReads = 100;
    for (int i = 0; i < kReads; ++i) length += edit->GetText().size();
    QueryPerformanceCounter(&read);

    const double typeMs = Milliseconds(start, typed);
    std::printf("rich_edit_typing: %d characters typed in %.2f ms (%.1f us per keystroke)\n", kChars,
                typeMs, 1000.0 * typeMs / kChars);
    std::printf("rich_edit_typing: repaint after typing %.2f ms\n", Milliseconds(typed, painted));
    std::printf("rich_edit_typing: GetText of %zu characters %.3f ms per read\n", length / kReads,
                Milliseconds(painted, read) / kReads);
    DestroyWindow(hwnd);
    Pump();
  }
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
