#include "tests/search_client/caller_window.h"

#include "search_client/file_search.h"

namespace search_test {

namespace {
constexpr wchar_t kCallerClass[] = L"PexoSearchTestCaller";
}

CallerWindow::CallerWindow(DWORD id) : id_(id) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WndProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kCallerClass;
  RegisterClassExW(&window_class);  // fails harmlessly once registered
  window_ = CreateWindowExW(0, kCallerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CallerWindow::~CallerWindow() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK CallerWindow::WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<CallerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && FileSearch_IsQueryReply(message, wparam, lparam, self->id_)) {
    ++self->replies_taken_;
    return 1;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

}  // namespace search_test
