// Start-up of the launcher beside a baseline: the time from process start to a
// visible main window that answers messages, and the working set then, for
// Pexo.exe over 10 000 links in 100 tags with 1 000 cached icons (a first tag of
// 500 cards, then one of 5 000), and for this program's baseline mode, which only
// starts the framework and shows a trivial skinned window. Then the time to
// switch to the first tag of each data set, in a process of this program.
#include <windows.h>
#include <psapi.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "bench/process_window.h"
#include "app/main_window/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "data/system_links.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/window_impl_base.h"

namespace {

constexpr int kTags = 100;
constexpr int kLinksPerTag = 100;
constexpr int kCachedIcons = 1000;
// The first tag's size in the two data sets: a large tag, and the all-links
// view of a large group.
constexpr int kBigTagCards = 500;
constexpr int kHugeTagCards = 5000;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Mean(const std::vector<double>& values) {
  double total = 0;
  for (double value : values) total += value;
  return values.empty() ? 0 : total / static_cast<double>(values.size());
}

// Handles what is waiting in this thread's queue (posted paints, deletions).
void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void StartFramework() {
  ui::RegisterStockControls();
  ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD);
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
}

class TrivialWindow : public ui::WindowImplBase {
 public:
  std::wstring GetWindowClassName() const override { return L"PexoBaselineWnd"; }
  std::wstring GetSkinFolder() override { return L"test"; }
  std::wstring GetSkinFile() override { return L"trivial.xml"; }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool& handled) override {
    handled = false;
    PostQuitMessage(0);
    return 0;
  }
};

int RunBaseline() {
  StartFramework();
  auto* window = new TrivialWindow;
  if (!window->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW)) return 1;
  ::ShowWindow(window->GetHWND(), SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  ui::UiGlobals::Shutdown();
  return 0;
}

// Fills db\link.db and db\icon.db under `folder`: 10 000 links in 100 tags of
// one group (the first tag holds `firstTagCards`, the others share the rest),
// and 1 000 cached link icons.
bool PrepareData(const std::wstring& folder, int firstTagCards) {
  CreateDirectoryW((folder + L"db").c_str(), nullptr);
  LinkStore store;
  if (!store.Open(folder + L"db\\link.db")) return false;
  auto group = store.topGroups[0];
  sqlite3_exec(store.connection, "BEGIN", nullptr, nullptr, nullptr);
  while (static_cast<int>(group->tags.size()) < kTags) {
    auto tag = std::make_shared<Group>();
    tag->NAME = L"标签" + std::to_wstring(group->tags.size());
    store.AddTag(group, tag);
  }
  for (int t = 0; t < kTags; ++t) {
    const int count = t == 0 ? firstTagCards : (kTags * kLinksPerTag - firstTagCards) / (kTags - 1);
    for (int i = 0; i < count; ++i) {
      auto link = std::make_shared<Link>();
      link->NAME = L"链接 " + std::to_wstring(t) + L"-" + std::to_wstring(i);
      link->PATH = L"C:\\windows\\notepad.exe";
      store.AddLink(group->tags[static_cast<size_t>(t)], link);
    }
  }
  sqlite3_exec(store.connection, "COMMIT", nullptr, nullptr, nullptr);
  IconCache icons(folder + L"db\\icon.db");
  if (!icons.Open()) return false;
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  for (int id = 1; id <= kCachedIcons; ++id) icons.AddIconToCache(L"lnk" + std::to_wstring(id), icon, icon, icon);
  icons.Close();
  return true;
}

struct StartResult {
  double seconds = -1;
  double workingSetMb = -1;
};

// Starts a program, waits for its visible window to answer, then reads its
// working set once it has settled, and closes it.
StartResult MeasureStart(const std::wstring& command, const std::wstring& folder, const wchar_t* className) {
  StartResult result;
  std::wstring line = command;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const double start = Seconds();
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &info)) {
    return result;
  }
  CloseHandle(info.hThread);
  HWND hwnd = nullptr;
  while (Seconds() - start < 60) {
    hwnd = FindProcessWindow(info.dwProcessId, className, true);
    DWORD_PTR answer = 0;
    if (hwnd && SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) break;
    hwnd = nullptr;
    Sleep(1);
  }
  if (hwnd) {
    result.seconds = Seconds() - start;
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(info.hProcess, &counters, sizeof(counters))) {
      result.workingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hProcess);
  return result;
}

// Switches the main window of this process between a small tag and the first,
// large tag, painting each time; the median of the switches to the large tag.
double MeasureTagSwitch() {
  StartFramework();
  Settings& settings = GetSettings();
  settings.nWidth = 388;
  settings.nHeight = 640;
  settings.bAutoDock = false;
  settings.bHideNotify = true;
  settings.bShowDate = false;
  // The data steps of the window's start, one by one (the window opens them again).
  double mark = Seconds();
  GetIconCache().Open();
  std::printf("phase icon cache open: %.1f ms\n", (Seconds() - mark) * 1000);
  mark = Seconds();
  PrepareSystemLinks(GetIconCache());
  std::printf("phase built-in functions: %.1f ms\n", (Seconds() - mark) * 1000);
  mark = Seconds();
  GetLinkStore().Open();
  std::printf("phase link store open: %.1f ms\n", (Seconds() - mark) * 1000);
  mark = Seconds();
  auto* window = new CMainWnd(GetModuleHandleW(nullptr));
  HWND hwnd = window->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW);
  std::printf("phase window creation (with the data again): %.1f ms\n", (Seconds() - mark) * 1000);
  if (!hwnd) return -1;
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd);
  // A switch is done when what it changed is on the screen: the cards are built,
  // laid out and the parts the switch invalidated are painted. Each round starts
  // from the other tag with the messages handled (the old cards deleted) and
  // ends with a repaint of the whole window, timed apart for comparison.
  constexpr int kRounds = 9;
  std::vector<double> switches, builds, paints, wholes;
  for (int round = 0; round < kRounds; ++round) {
    window->TagList()->SelectItem(1, false, true);
    UpdateWindow(hwnd);
    PumpMessages();
    const double start = Seconds();
    window->TagList()->SelectItem(0, false, true);
    const double built = Seconds();
    UpdateWindow(hwnd);
    const double shown = Seconds();
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    switches.push_back(shown - start);
    builds.push_back(built - start);
    paints.push_back(shown - built);
    wholes.push_back(Seconds() - shown);
    PumpMessages();
  }
  const int cards = window->LinkBox()->GetCount();
  DestroyWindow(hwnd);
  ui::UiGlobals::Shutdown();
  std::printf("tag switch cards shown: %d; median of %d switches: cards built in %.1f ms, laid out and painted in "
              "%.1f ms; a repaint of the whole window after it: %.1f ms; mean switch %.1f ms\n",
              cards, kRounds, Median(builds) * 1000, Median(paints) * 1000, Median(wholes) * 1000,
              Mean(switches) * 1000);
  return Median(switches);
}

// Lays out a folder for the launcher: its executable, the theme, a settings file
// and the data with a first tag of `firstTagCards`.
bool PrepareFolder(const std::wstring& self, const std::wstring& folder, int firstTagCards) {
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((self + L"..\\app\\Pexo.exe").c_str(), (folder + L"Pexo.exe").c_str(), FALSE);
  CreateDirectoryW((folder + L"theme").c_str(), nullptr);
  CopyFileW((self + L"..\\app\\theme\\gray.xml").c_str(), (folder + L"theme\\gray.xml").c_str(), FALSE);
  const char conf[] = "[main]\r\nnWidth=388\r\nnHeight=640\r\nnPosX=10\r\nnPosY=10\r\nbAutoDock=0\r\nbHideNotify=1\r\n";
  HANDLE file = CreateFileW((folder + L"conf.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, conf, sizeof(conf) - 1, &written, nullptr);
  CloseHandle(file);
  DeleteFileW((folder + L"db\\link.db").c_str());
  DeleteFileW((folder + L"db\\icon.db").c_str());
  const double prepareStart = Seconds();
  if (!PrepareData(folder, firstTagCards)) return false;
  std::printf("prepared %d links in %d tags (the first of %d) and %d icons in %.1f s\n", kTags * kLinksPerTag, kTags,
              firstTagCards, kCachedIcons, Seconds() - prepareStart);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "baseline") return RunBaseline();
  if (argc > 2 && std::string(argv[1]) == "tagswitch") {
    const int cards = std::atoi(argv[2]);
    const double seconds = MeasureTagSwitch();
    std::printf("switch to a tag of %d cards (median): %.1f ms (goal <= %d ms)\n", cards, seconds * 1000,
                cards > kBigTagCards ? 50 : 20);
    return 0;
  }

  // The launcher runs from a folder of its own with the prepared data, one folder
  // per data set.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring self = GetProgramDir();
  const int firstTags[] = {kBigTagCards, kHugeTagCards};
  std::vector<std::wstring> folders;
  for (int cards : firstTags) {
    const std::wstring folder = std::wstring(temp) + L"pexo_startup_bench_" + std::to_wstring(cards) + L"\\";
    if (!PrepareFolder(self, folder, cards)) {
      std::printf("the data could not be prepared\n");
      return 1;
    }
    folders.push_back(folder);
  }

  // One start of each first, so that all run from a warm file cache; then
  // alternate starts, and take the medians: a single start under Wine swings by
  // hundreds of milliseconds with what else the machine does.
  const std::wstring baselineCommand = L"\"" + self + L"startup_bench.exe\" baseline";
  for (const std::wstring& folder : folders) MeasureStart(L"\"" + folder + L"Pexo.exe\" main", folder, L"PexoWnd");
  MeasureStart(baselineCommand, self, L"PexoBaselineWnd");
  constexpr int kStarts = 9;
  constexpr size_t kSets = std::size(firstTags);
  std::vector<double> baselineTimes, baselineSets;
  std::vector<double> launcherTimes[kSets], differences[kSets], launcherSets[kSets];
  for (int i = 0; i < kStarts; ++i) {
    const StartResult baseline = MeasureStart(baselineCommand, self, L"PexoBaselineWnd");
    baselineTimes.push_back(baseline.seconds * 1000);
    baselineSets.push_back(baseline.workingSetMb);
    for (size_t set = 0; set < kSets; ++set) {
      const StartResult launcher = MeasureStart(L"\"" + folders[set] + L"Pexo.exe\" main", folders[set], L"PexoWnd");
      launcherTimes[set].push_back(launcher.seconds * 1000);
      differences[set].push_back((launcher.seconds - baseline.seconds) * 1000);
      launcherSets[set].push_back(launcher.workingSetMb);
    }
  }
  for (size_t set = 0; set < kSets; ++set) {
    std::printf("first tag of %d cards: start to answering window, median of %d starts each: launcher %.1f ms, "
                "baseline %.1f ms, difference %.1f ms (goal <= 100 ms); differences of the pairs %.1f..%.1f ms\n",
                firstTags[set], kStarts, Median(launcherTimes[set]), Median(baselineTimes), Median(differences[set]),
                *std::min_element(differences[set].begin(), differences[set].end()),
                *std::max_element(differences[set].begin(), differences[set].end()));
    std::printf("first tag of %d cards: working set, median: launcher %.1f MB, baseline %.1f MB, difference %.1f MB "
                "(goal <= 15 MB)\n",
                firstTags[set], Median(launcherSets[set]), Median(baselineSets),
                Median(launcherSets[set]) - Median(baselineSets));
  }

  // Each tag switch runs in a process of its own over the data set's files,
  // copied into this program's folder.
  CreateDirectoryW((self + L"db").c_str(), nullptr);
  for (size_t set = 0; set < kSets; ++set) {
    CopyFileW((folders[set] + L"db\\link.db").c_str(), (self + L"db\\link.db").c_str(), FALSE);
    CopyFileW((folders[set] + L"db\\icon.db").c_str(), (self + L"db\\icon.db").c_str(), FALSE);
    std::wstring line = L"\"" + self + L"startup_bench.exe\" tagswitch " + std::to_wstring(firstTags[set]);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, self.c_str(), &startup, &info)) {
      WaitForSingleObject(info.hProcess, 120000);
      CloseHandle(info.hThread);
      CloseHandle(info.hProcess);
    }
  }
  return 0;
}
