#include "ui/core/on_screen_keyboard_manager.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <vector>

#include "ui/base/windows_version.h"

namespace {

// Records the platform calls and keeps queued checks until the test runs them.
struct FakeKeyboard {
  HWND window = nullptr;
  LONG style = 0;
  bool comWorks = true;
  int comToggles = 0;
  std::vector<HWND> closed;
  std::vector<std::wstring> started;
  struct Pending {
    std::weak_ptr<nbase::WeakFlag> flag;
    std::function<void()> callback;
    uint32_t delay;
  };
  std::vector<Pending> pending;

  // Runs the queued checks like the timer manager: expired owners are skipped.
  void RunPending() {
    std::vector<Pending> due;
    due.swap(pending);
    for (auto& task : due) {
      if (!task.flag.expired()) task.callback();
    }
  }
};

class FakePlatform : public ui::OnScreenKeyboardPlatform {
 public:
  explicit FakePlatform(FakeKeyboard* state) : state_(state) {}
  HWND FindKeyboardWindow() override { return state_->window; }
  LONG GetWindowStyle(HWND) override { return state_->style; }
  void PostClose(HWND window) override { state_->closed.push_back(window); }
  bool ToggleThroughCom() override {
    if (!state_->comWorks) return false;
    ++state_->comToggles;
    return true;
  }
  void StartProgram(const std::wstring& path) override { state_->started.push_back(path); }
  void RunLater(const std::weak_ptr<nbase::WeakFlag>& flag, std::function<void()> callback,
                uint32_t milliseconds) override {
    state_->pending.push_back({flag, std::move(callback), milliseconds});
  }

 private:
  FakeKeyboard* state_;
};

HWND FakeWindow() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234)); }

class OnScreenKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { OverrideWindowsVersion(WindowsVersion{10, 0, 0}); }
  void TearDown() override { OverrideWindowsVersion(std::nullopt); }

  std::unique_ptr<ui::OnScreenKeyboardManager> MakeManager() {
    return std::make_unique<ui::OnScreenKeyboardManager>(std::make_unique<FakePlatform>(&keyboard_));
  }

  FakeKeyboard keyboard_;
};

TEST_F(OnScreenKeyboardTest, BeforeWindows8NothingIsQueuedStartedOrPosted) {
  OverrideWindowsVersion(WindowsVersion{6, 1, 0});
  auto manager = MakeManager();
  manager->ShowKeyboard(true);
  EXPECT_TRUE(keyboard_.pending.empty());
  EXPECT_FALSE(manager->IsKeyboardWanted());
  keyboard_.RunPending();
  EXPECT_TRUE(keyboard_.started.empty());
  EXPECT_TRUE(keyboard_.closed.empty());
  EXPECT_EQ(keyboard_.comToggles, 0);
}

TEST_F(OnScreenKeyboardTest, ShowingAMissingKeyboardTogglesItThroughComAfterADelay) {
  auto manager = MakeManager();
  manager->ShowKeyboard(true);
  ASSERT_EQ(keyboard_.pending.size(), 1u);
  EXPECT_EQ(keyboard_.pending[0].delay, 10u);
  EXPECT_EQ(keyboard_.comToggles, 0);  // only when the check runs
  keyboard_.RunPending();
  EXPECT_EQ(keyboard_.comToggles, 1);
  EXPECT_TRUE(keyboard_.started.empty());
}

TEST_F(OnScreenKeyboardTest, WithoutTheComObjectTheKeyboardProgramIsStarted) {
  keyboard_.comWorks = false;
  auto manager = MakeManager();
  manager->ShowKeyboard(true);
  keyboard_.RunPending();
  ASSERT_EQ(keyboard_.started.size(), 1u);
  EXPECT_EQ(keyboard_.started[0], ui::OnScreenKeyboardManager::KeyboardProgramPath());
}

TEST_F(OnScreenKeyboardTest, AShownKeyboardIsClosedWhenNoLongerWanted) {
  keyboard_.window = FakeWindow();
  keyboard_.style = WS_VISIBLE;
  auto manager = MakeManager();
  manager->ShowKeyboard(false);
  keyboard_.RunPending();
  ASSERT_EQ(keyboard_.closed.size(), 1u);
  EXPECT_EQ(keyboard_.closed[0], FakeWindow());
  EXPECT_EQ(keyboard_.comToggles, 0);
}

TEST_F(OnScreenKeyboardTest, ARequestForTheCurrentStateDoesNothing) {
  auto manager = MakeManager();
  manager->ShowKeyboard(false);  // hidden and not wanted
  keyboard_.window = FakeWindow();
  keyboard_.style = WS_VISIBLE;
  manager->ShowKeyboard(true);  // shown and wanted
  keyboard_.RunPending();
  EXPECT_EQ(keyboard_.comToggles, 0);
  EXPECT_TRUE(keyboard_.closed.empty());
  EXPECT_TRUE(keyboard_.started.empty());
}

TEST_F(OnScreenKeyboardTest, ADisabledOrInvisibleKeyboardWindowCountsAsHidden) {
  keyboard_.window = FakeWindow();
  auto manager = MakeManager();
  keyboard_.style = WS_VISIBLE | WS_DISABLED;
  manager->ShowKeyboard(true);
  keyboard_.RunPending();
  EXPECT_EQ(keyboard_.comToggles, 1);
  keyboard_.style = 0;
  manager->ShowKeyboard(true);
  keyboard_.RunPending();
  EXPECT_EQ(keyboard_.comToggles, 2);
  EXPECT_TRUE(keyboard_.closed.empty());
}

TEST_F(OnScreenKeyboardTest, EveryQueuedCheckComparesWithTheLatestWish) {
  auto manager = MakeManager();
  manager->ShowKeyboard(true);
  manager->ShowKeyboard(false);
  EXPECT_EQ(keyboard_.pending.size(), 2u);
  keyboard_.RunPending();
  EXPECT_EQ(keyboard_.comToggles, 0);
  EXPECT_FALSE(manager->IsKeyboardWanted());
}

TEST_F(OnScreenKeyboardTest, AQueuedCheckOfADestroyedManagerDoesNothing) {
  auto manager = MakeManager();
  manager->ShowKeyboard(true);
  manager.reset();
  keyboard_.RunPending();
  EXPECT_EQ(keyboard_.comToggles, 0);
}

TEST(OnScreenKeyboardPathTest, ProgramPathFollowsTheCommonProgramFilesVariable) {
  wchar_t saved[MAX_PATH] = {};
  bool had = GetEnvironmentVariableW(L"CommonProgramW6432", saved, MAX_PATH) > 0;

  SetEnvironmentVariableW(L"CommonProgramW6432", L"D:\\Common");
  EXPECT_EQ(ui::OnScreenKeyboardManager::KeyboardProgramPath(), L"D:\\Common\\microsoft shared\\ink\\TabTip.exe");
  SetEnvironmentVariableW(L"CommonProgramW6432", L"");
  EXPECT_EQ(ui::OnScreenKeyboardManager::KeyboardProgramPath(),
            L"C:\\\\Program Files\\Common Files\\microsoft shared\\ink\\TabTip.exe");
  SetEnvironmentVariableW(L"CommonProgramW6432", nullptr);
  EXPECT_EQ(ui::OnScreenKeyboardManager::KeyboardProgramPath(),
            L"C:\\\\Program Files\\Common Files\\microsoft shared\\ink\\TabTip.exe");

  SetEnvironmentVariableW(L"CommonProgramW6432", had ? saved : nullptr);
}

// The process-wide manager on this system: where there is no touch keyboard
// (Wine, a desktop without one) showing and hiding must end quietly.
TEST(OnScreenKeyboardSystemTest, RequestsEndQuietlyWithoutATouchKeyboard) {
  if (FindWindowW(L"IPTip_Main_Window", nullptr)) GTEST_SKIP() << "a touch keyboard is running";
  OverrideWindowsVersion(WindowsVersion{10, 0, 0});
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ui::OnScreenKeyboardManager& manager = ui::OnScreenKeyboardManager::GetInstance();
  manager.ShowKeyboard(true);
  manager.ShowKeyboard(false);
  manager.ShowKeyboard(true);
  DWORD end = GetTickCount() + 500;
  MSG msg;
  while (static_cast<LONG>(GetTickCount() - end) < 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  EXPECT_TRUE(manager.IsKeyboardWanted());
  if (SUCCEEDED(com)) CoUninitialize();
  OverrideWindowsVersion(std::nullopt);
}

}  // namespace
