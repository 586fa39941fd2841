#include "app/launching/builtin_commands.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "data/link.h"
#include "tests/support/test_support.h"

namespace {

TEST(BuiltinCommandsTest, VolumeLevelsStayBetweenSilentAndFull) {
  EXPECT_FLOAT_EQ(NextVolumeLevel(0.97f, 0.05f, false), 1.0f);
  EXPECT_FLOAT_EQ(NextVolumeLevel(0.03f, -0.05f, false), 0.0f);
  EXPECT_FLOAT_EQ(NextVolumeLevel(0.5f, 0.05f, false), 0.55f);
  EXPECT_FLOAT_EQ(NextVolumeLevel(0.5f, 0.0f, true), 0.0f);
  EXPECT_FLOAT_EQ(NextVolumeLevel(0.0f, 0.0005f, false), 0.0f);
  EXPECT_FLOAT_EQ(NextVolumeLevel(0.9995f, 0.0f, false), 1.0f);
}

// Each command makes its own audio objects, so commands on several threads at once,
// with and without COM already set up on them, neither crash nor share an object.
// Every command makes the device enumerator (a wrong class id fails there on
// every system) and asks it for the default playback endpoint. Under Wine, with
// no sound device on the test display, the answer is "none", and its endpoint
// volume is a stub where there is one: only those later steps may fail there.
TEST(BuiltinCommandsTest, VolumeCommandsReachTheAudioDevicesOnSeveralThreadsAtOnce) {
  std::atomic<int> reached[5] = {};
  std::vector<std::thread> threads;
  for (int i = 0; i < 6; ++i) {
    threads.emplace_back([i, &reached] {
      if (i % 2) CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      ++reached[static_cast<int>(ChangeMasterVolumeReach(i % 3 ? 0.05f : -0.05f, false))];
      if (i % 2) CoUninitialize();
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(reached[static_cast<int>(VolumeReach::kNothing)], 0) << "the device enumerator could not be made";
  const int levelSet = reached[static_cast<int>(VolumeReach::kLevelSet)];
  if (levelSet == 0 && pexo_test::RunningUnderWine()) {
    GTEST_SKIP() << "this Wine has " << reached[static_cast<int>(VolumeReach::kEnumerator)]
                 << " times no default playback endpoint, " << reached[static_cast<int>(VolumeReach::kEndpoint)]
                 << " times no volume control and " << reached[static_cast<int>(VolumeReach::kVolumeControl)]
                 << " times a level it cannot read or set";
  }
  EXPECT_EQ(levelSet, 6);
}

// Monitor-off is a broadcast: a top-level window of ours sees it, but only for the
// exact command word.
std::atomic<int> g_monitorPowerMessages = 0;

LRESULT CALLBACK CountMonitorPower(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) {
    ++g_monitorPowerMessages;
    return 0;  // do not let the system act on it
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int PumpAndCount(HWND window) {
  MSG msg;
  for (int round = 0; round < 20; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
  return g_monitorPowerMessages.exchange(0);
}

TEST(BuiltinCommandsTest, MonitorOffIsBroadcastOnlyForTheExactWord) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = CountMonitorPower;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"PexoMonitorPowerProbe";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  Link link;
  link.TYPE = kLinkBuiltinFunction;
  for (const wchar_t* word : {L"#monitoroff", L"#MONITOROFF", L"", L"#Shutdown", L"#VolumeUpX"}) {
    link.PATH = word;
    RunBuiltInCommand(link);
  }
  EXPECT_EQ(PumpAndCount(window), 0);
  link.PATH = L"#MonitorOff";
  RunBuiltInCommand(link);
  EXPECT_EQ(PumpAndCount(window), 1);
  DestroyWindow(window);
}

}  // namespace
