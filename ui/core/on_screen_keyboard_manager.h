// Shows and hides the Windows touch keyboard for text entry on touch screens.
// Requests are settled a moment later on the user-interface thread, each check
// comparing the keyboard's state with the latest wish. Before Windows 8 nothing
// happens; where the system has no touch keyboard the requests fail quietly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/base/weak_callback.h"

namespace ui {

// The platform calls the manager makes; replaced in tests.
class OnScreenKeyboardPlatform {
 public:
  virtual ~OnScreenKeyboardPlatform() = default;
  // The top-level touch keyboard window, or null.
  virtual HWND FindKeyboardWindow() = 0;
  // The window's style bits (GWL_STYLE).
  virtual LONG GetWindowStyle(HWND window) = 0;
  virtual void PostClose(HWND window) = 0;
  // Asks the keyboard's COM invocation object to toggle the keyboard; false when
  // the object cannot be created.
  virtual bool ToggleThroughCom() = 0;
  virtual void StartProgram(const std::wstring& path) = 0;
  // Runs the callback once after the delay unless the flag has expired.
  virtual void RunLater(const std::weak_ptr<nbase::WeakFlag>& flag, std::function<void()> callback,
                        uint32_t milliseconds) = 0;
};

class OnScreenKeyboardManager : public nbase::SupportWeakCallback {
 public:
  static constexpr uint32_t kToggleDelayMs = 10;

  // The process-wide manager, created on first use.
  static OnScreenKeyboardManager& GetInstance();

  // A manager over other platform calls (tests).
  explicit OnScreenKeyboardManager(std::unique_ptr<OnScreenKeyboardPlatform> platform);
  ~OnScreenKeyboardManager() override;
  OnScreenKeyboardManager(const OnScreenKeyboardManager&) = delete;
  OnScreenKeyboardManager& operator=(const OnScreenKeyboardManager&) = delete;

  // Stores the wish and queues a check 10 ms later; nothing before Windows 8
  // (the version is tested once per manager).
  void ShowKeyboard(bool show);
  // Brings the touch keyboard into the wanted state.
  void ToggleKeyboard();
  // Starts the touch keyboard program.
  void StartKeyboardProgram();

  bool IsKeyboardWanted() const { return wanted_; }

  // Where the touch keyboard program lives: the common program files folder
  // from the environment, or the usual folder when the variable is missing.
  static std::wstring KeyboardProgramPath();

 private:
  bool IsKeyboardShown();

  std::unique_ptr<OnScreenKeyboardPlatform> platform_;
  bool wanted_ = false;
  // -1 untested, 0 before Windows 8, 1 Windows 8 or later.
  int supported_ = -1;
};

}  // namespace ui
