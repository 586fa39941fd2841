// Answers the framework's own failure message ("Duilib" caption) from a second
// thread, so that a test of a window that cannot be made does not wait on a
// message box for ever; it keeps the message's text for the test to check.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace pexo_test {

class MessageBoxCloser {
 public:
  MessageBoxCloser()
      : thread_([this] {
          for (int i = 0; i < 500 && !done_; ++i) {
            if (HWND box = FindWindowW(L"#32770", L"Duilib")) {
              wchar_t text[512] = {};
              GetDlgItemTextW(box, 0xFFFF, text, 512);
              text_ = text;
              PostMessageW(box, WM_COMMAND, IDOK, 0);
              return;
            }
            Sleep(10);
          }
        }) {}
  ~MessageBoxCloser() {
    done_ = true;
    if (thread_.joinable()) thread_.join();
  }
  MessageBoxCloser(const MessageBoxCloser&) = delete;
  MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
  // The message's text, once the box was answered (empty when none came).
  std::wstring Text() {
    done_ = true;
    if (thread_.joinable()) thread_.join();
    return text_;
  }

 private:
  std::atomic<bool> done_{false};
  std::wstring text_;
  std::thread thread_;
};

}  // namespace pexo_test
