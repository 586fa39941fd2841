#include "ui/core/on_screen_keyboard_manager.h"

#include <objbase.h>
#include <shellapi.h>

#include <cwchar>

#include "ui/base/animation_timer_manager.h"
#include "ui/base/windows_version.h"

namespace ui {

namespace {

constexpr wchar_t kKeyboardWindowClass[] = L"IPTip_Main_Window";
constexpr wchar_t kKeyboardProgram[] = L"\\microsoft shared\\ink\\TabTip.exe";
constexpr wchar_t kDefaultKeyboardProgram[] =
    L"C:\\\\Program Files\\Common Files\\microsoft shared\\ink\\TabTip.exe";

// The touch keyboard's invocation object and its one operation after those of
// IUnknown: toggling the keyboard for a window.
constexpr CLSID kTipInvocationClass = {0x4CE576FA, 0x83DC, 0x4F88, {0x95, 0x1C, 0x9D, 0x07, 0x82, 0xB4, 0xE3, 0x76}};
constexpr IID kTipInvocationInterface = {0x37C994E7, 0x432B, 0x4834, {0xA2, 0xF7, 0xDC, 0xE1, 0xF1, 0x3B, 0x83, 0x4B}};

struct ITipInvocation : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle(HWND window) = 0;
};

class SystemKeyboardPlatform : public OnScreenKeyboardPlatform {
 public:
  HWND FindKeyboardWindow() override { return FindWindowW(kKeyboardWindowClass, nullptr); }

  LONG GetWindowStyle(HWND window) override { return GetWindowLongW(window, GWL_STYLE); }

  void PostClose(HWND window) override { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

  bool ToggleThroughCom() override {
    ITipInvocation* invocation = nullptr;
    HRESULT hr = CoCreateInstance(kTipInvocationClass, nullptr, CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                  kTipInvocationInterface, reinterpret_cast<void**>(&invocation));
    if (FAILED(hr) || !invocation) return false;
    invocation->Toggle(GetDesktopWindow());
    invocation->Release();
    return true;
  }

  void StartProgram(const std::wstring& path) override {
    // A missing program reports an error code and shows nothing.
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
  }

  void RunLater(const std::weak_ptr<nbase::WeakFlag>& flag, std::function<void()> callback,
                uint32_t milliseconds) override {
    AnimationTimerManager::Instance().AddTask(flag, callback, milliseconds, 1);
  }
};

}  // namespace

OnScreenKeyboardManager& OnScreenKeyboardManager::GetInstance() {
  static OnScreenKeyboardManager manager(std::make_unique<SystemKeyboardPlatform>());
  return manager;
}

OnScreenKeyboardManager::OnScreenKeyboardManager(std::unique_ptr<OnScreenKeyboardPlatform> platform)
    : platform_(std::move(platform)) {}

OnScreenKeyboardManager::~OnScreenKeyboardManager() = default;

void OnScreenKeyboardManager::ShowKeyboard(bool show) {
  if (supported_ < 0) supported_ = IsWindowsVersionAtLeast(6, 2, 0) ? 1 : 0;
  if (supported_ == 0) return;
  wanted_ = show;
  platform_->RunLater(GetWeakFlag(), [this]() { ToggleKeyboard(); }, kToggleDelayMs);
}

bool OnScreenKeyboardManager::IsKeyboardShown() {
  HWND window = platform_->FindKeyboardWindow();
  if (!window) return false;
  LONG style = platform_->GetWindowStyle(window);
  return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

void OnScreenKeyboardManager::ToggleKeyboard() {
  bool shown = IsKeyboardShown();
  if (shown == wanted_) return;
  if (shown) {
    platform_->PostClose(platform_->FindKeyboardWindow());
  } else if (!platform_->ToggleThroughCom()) {
    StartKeyboardProgram();
  }
}

void OnScreenKeyboardManager::StartKeyboardProgram() { platform_->StartProgram(KeyboardProgramPath()); }

std::wstring OnScreenKeyboardManager::KeyboardProgramPath() {
  DWORD length = GetEnvironmentVariableW(L"CommonProgramW6432", nullptr, 0);
  if (length > 1) {
    std::wstring folder(length, L'\0');
    DWORD written = GetEnvironmentVariableW(L"CommonProgramW6432", folder.data(), length);
    if (written > 0 && written < length) {
      folder.resize(written);
      return folder + kKeyboardProgram;
    }
  }
  return kDefaultKeyboardProgram;
}

}  // namespace ui
