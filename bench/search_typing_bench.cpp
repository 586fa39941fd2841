// Keystroke to results drawn in the search window over 10 000 links: each
// keystroke is a WM_CHAR, or Backspace as a key, sent to the window, followed by
// the paint it asked for, so the figure covers the store search, the list's
// update, the layout, the drawing and the hand-over to the window system. The
// file-search service is left out. Prints the median, the 90th and 99th
// percentiles and the max over 200 keystrokes, then the first keystroke after
// start and the keystrokes that leave a one-letter text (every search begins with
// one, and it matches the most links) apart. Last, what a paint of a single pixel
// of the full-height popup costs: the share of every keystroke that goes to the
// window system taking the popup's picture. Then a second letter typed into a
// list of thousands of results, right after End and without it. Asserts nothing.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "app/search_window/search_wnd.h"
#include "data/initials.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/stock_controls.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The value below which `percent` per cent of the sorted times lie (nearest rank).
double Percentile(const std::vector<double>& sorted, int percent) {
  const size_t rank = (sorted.size() * static_cast<size_t>(percent) + 99) / 100;
  return sorted[rank == 0 ? 0 : rank - 1];
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// 10 000 links in 10 groups of 10 tags: names from a few syllables, so that a
// one-letter text matches thousands of links and longer texts fewer.
void FillStore(LinkStore& store) {
  const wchar_t* syllables[] = {L"note", L"calc", L"paint", L"term", L"mail", L"chat", L"code", L"docs",
                                L"play", L"view", L"记事", L"计算", L"画图", L"终端", L"邮件", L"聊天"};
  int n = 0;
  for (int g = 0; g < 10; ++g) {
    auto group = std::make_shared<Group>();
    group->ID = ++store.maxGroupId;
    group->NAME = L"组" + std::to_wstring(g);
    store.topGroups.push_back(group);
    store.groupsById[group->ID] = group;
    for (int t = 0; t < 10; ++t) {
      auto tag = std::make_shared<Group>();
      tag->ID = ++store.maxGroupId;
      tag->ParentGroup = group->ID;
      tag->NAME = L"标签" + std::to_wstring(t);
      group->tags.push_back(tag);
      store.groupsById[tag->ID] = tag;
      for (int i = 0; i < 100; ++i, ++n) {
        auto link = std::make_shared<Link>();
        link->ID = ++store.maxLinkId;
        link->ParentGroup = tag->ID;
        link->group = tag;
        link->NAME = std::wstring(syllables[n % 16]) + syllables[(n / 16) % 16] + L" " + std::to_wstring(n);
        link->PATH = L"C:\\Programs\\app" + std::to_wstring(n) + L".exe";
        link->RunCount = (n * 7919) % 97;
        link->nameInitials = MakeInitialsKey(link->NAME);
        tag->links.push_back(link);
        store.linksById[link->ID] = link;
      }
    }
  }
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ui::RegisterStockControls();
  if (!ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD)) {
    std::printf("search_typing: no skin archive\n");
    return 1;
  }
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  Settings& settings = GetSettings();
  settings.bOpenFileSearch = false;
  settings.bShowTooltip = true;
  settings.nSearchCount = 0;
  FillStore(GetLinkStore());

  auto* window = new CSearchWnd;
  HWND hwnd = window->Create(GetDesktopWindow(), L"PexoWnd", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_LAYERED, true);
  if (!hwnd) {
    std::printf("search_typing: no window\n");
    return 1;
  }
  window->BringUp();
  Pump();

  // Type a word, then take it back, over and over: 200 keystrokes.
  const std::wstring words[] = {L"calc", L"note 1", L"jsq", L"chat", L"zd 5"};
  std::vector<double> times;
  std::vector<double> oneLetter;
  size_t maxRows = 0;
  size_t textLength = 0;
  for (int w = 0; times.size() < 200; ++w) {
    const std::wstring& word = words[static_cast<size_t>(w) % 5];
    std::vector<WPARAM> keys(word.begin(), word.end());
    keys.insert(keys.end(), word.size(), VK_BACK);
    for (WPARAM key : keys) {
      if (times.size() >= 200) break;
      LARGE_INTEGER from, to;
      QueryPerformanceCounter(&from);
      if (key == VK_BACK) {
        // The edit takes Backspace as a key, as typed; as a character it erases nothing.
        SendMessageW(hwnd, WM_KEYDOWN, key, 1);
        SendMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
      } else {
        SendMessageW(hwnd, WM_CHAR, key, 1);
      }
      UpdateWindow(hwnd);
      QueryPerformanceCounter(&to);
      Pump();
      times.push_back(Milliseconds(from, to));
      textLength = key == VK_BACK ? textLength - 1 : textLength + 1;
      if (textLength == 1) oneLetter.push_back(times.back());
      maxRows = std::max(maxRows, window->ResultCount());
    }
  }
  const double first = times.front();
  std::sort(times.begin(), times.end());
  std::sort(oneLetter.begin(), oneLetter.end());
  std::printf("search_typing: 10000 links, %zu keystrokes, most rows %zu\n", times.size(), maxRows);
  std::printf("search_typing: keystroke to results drawn: median %.2f ms, 90th percentile %.2f ms, "
              "99th percentile %.2f ms, max %.2f ms\n",
              Percentile(times, 50), Percentile(times, 90), Percentile(times, 99), times.back());
  std::printf("search_typing: first keystroke after start %.2f ms\n", first);
  if (!oneLetter.empty()) {
    std::printf("search_typing: %zu one-letter keystrokes: median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n",
                oneLetter.size(), Percentile(oneLetter, 50), Percentile(oneLetter, 99), oneLetter.back());
  }
  // The popup at its full height, then one pixel repainted at a time.
  for (int i = 0; i < 8; ++i) {
    SendMessageW(hwnd, WM_KEYDOWN, VK_BACK, 1);
    SendMessageW(hwnd, WM_KEYUP, VK_BACK, 0xC0000001);
  }
  SendMessageW(hwnd, WM_CHAR, L'c', 1);
  UpdateWindow(hwnd);
  Pump();
  std::vector<double> pixelPaints;
  for (int i = 0; i < 50; ++i) {
    RECT pixel = {100, 20, 101, 21};
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    InvalidateRect(hwnd, &pixel, FALSE);
    UpdateWindow(hwnd);
    QueryPerformanceCounter(&to);
    pixelPaints.push_back(Milliseconds(from, to));
    Pump();
  }
  std::sort(pixelPaints.begin(), pixelPaints.end());
  RECT popup = {};
  GetWindowRect(hwnd, &popup);
  std::printf("search_typing: one pixel repainted in the %ldx%ld popup: median %.2f ms, max %.2f ms\n",
              popup.right - popup.left, popup.bottom - popup.top, Percentile(pixelPaints, 50), pixelPaints.back());

  // A second letter typed into a list of thousands of results, once with the list
  // at its top and once right after End took it to its last row.
  auto typeText = [&](const std::wstring& text) {
    for (int i = 0; i < 8; ++i) {
      SendMessageW(hwnd, WM_KEYDOWN, VK_BACK, 1);
      SendMessageW(hwnd, WM_KEYUP, VK_BACK, 0xC0000001);
    }
    for (wchar_t ch : text) SendMessageW(hwnd, WM_CHAR, ch, 1);
    UpdateWindow(hwnd);
    Pump();
  };
  // The first letter with the most results, and a second one that keeps many.
  wchar_t firstLetter = L'a';
  size_t most = 0;
  for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
    typeText(std::wstring(1, letter));
    if (window->ResultCount() > most) {
      most = window->ResultCount();
      firstLetter = letter;
    }
  }
  wchar_t second = L'a';
  size_t secondMost = 0;
  for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
    typeText(std::wstring{firstLetter, letter});
    if (window->ResultCount() > secondMost) {
      secondMost = window->ResultCount();
      second = letter;
    }
  }
  std::vector<double> afterEnd, withoutEnd;
  for (int round = 0; round < 10; ++round) {
    for (bool end : {false, true}) {
      typeText(std::wstring(1, firstLetter));
      if (end) {
        SendMessageW(hwnd, WM_KEYDOWN, VK_END, 1);
        SendMessageW(hwnd, WM_KEYUP, VK_END, 0xC0000001);
        UpdateWindow(hwnd);
        Pump();
        if (window->SearchEdit()) window->SearchEdit()->SetFocus();  // the letter goes to the field
      }
      LARGE_INTEGER from, to;
      QueryPerformanceCounter(&from);
      SendMessageW(hwnd, WM_CHAR, second, 1);
      UpdateWindow(hwnd);
      QueryPerformanceCounter(&to);
      Pump();
      (end ? afterEnd : withoutEnd).push_back(Milliseconds(from, to));
    }
  }
  std::sort(afterEnd.begin(), afterEnd.end());
  std::sort(withoutEnd.begin(), withoutEnd.end());
  const double ratio = Percentile(withoutEnd, 50) > 0 ? Percentile(afterEnd, 50) / Percentile(withoutEnd, 50) : 0;
  std::printf("search_typing: \"%lc\" (%zu results) then \"%lc\" (%zu): the second keystroke, median of %zu, "
              "after End %.2f ms, without End %.2f ms, ratio %.2f (goal <= 1.2)\n",
              static_cast<wint_t>(firstLetter), most, static_cast<wint_t>(second), secondMost, afterEnd.size(),
              Percentile(afterEnd, 50), Percentile(withoutEnd, 50), ratio);
  DestroyWindow(hwnd);
  Pump();
  ui::UiGlobals::Shutdown();
  return 0;
}
