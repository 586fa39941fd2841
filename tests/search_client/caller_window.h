// A caller's own window for non-blocking queries: its window procedure hands every
// message to FileSearch_IsQueryReply with its id and counts the replies taken.
#pragma once

#include <windows.h>

#include <functional>

namespace search_test {

class CallerWindow {
 public:
  explicit CallerWindow(DWORD id);
  ~CallerWindow();
  CallerWindow(const CallerWindow&) = delete;
  CallerWindow& operator=(const CallerWindow&) = delete;

  HWND handle() const { return window_; }
  int replies_taken() const { return replies_taken_; }

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND window_ = nullptr;
  DWORD id_;
  int replies_taken_ = 0;
};

// Dispatches this thread's messages until `done` holds or `timeout_ms` have passed;
// returns whether `done` held.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeout_ms = 10000);

}  // namespace search_test
