#include "search_client/blocking_query.h"

#include "search_client/file_search.h"
#include "search_client/search_client_state.h"
#include "search_client/service_link.h"
#include "search_client/service_protocol.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

using namespace search_client;

namespace {

// While waiting for the reply the window checks now and then that the service still
// exists: a service that has gone away can never answer, and the caller waits with the
// client lock held.
constexpr UINT_PTR kServiceWatchTimer = 1;
constexpr UINT kServiceWatchMs = 250;

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

LRESULT CALLBACK SearchClient_ReplyWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  SearchClientState& s = g_search_client;
  if (message == WM_COPYDATA && lparam) {
    const auto& reply = *reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    const DWORD kind = s.pending_reply_kind;
    if (reply.dwData == 0 && (kind == kPendingListV1 || kind == kPendingListV2)) {
      SearchClient_StoreReply(kind, reply);
      PostQuitMessage(0);
      // The service sees 1 for a version-1 reply and the default answer otherwise.
      return kind == kPendingListV1 ? 1 : DefWindowProcW(window, message, wparam, lparam);
    }
  }
  if (message == WM_TIMER && wparam == kServiceWatchTimer) {
    auto service = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!IsWindow(service)) {
      SearchClient_SetError(kSearchClientNoService);
      PostQuitMessage(0);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool EnsureReplyWindowClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(ThisModule(), kReplyWindowClass, &existing)) return true;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = SearchClient_ReplyWndProc;
  window_class.hInstance = ThisModule();
  window_class.lpszClassName = kReplyWindowClass;
  return RegisterClassExW(&window_class) != 0;
}

// Lets WM_COPYDATA through to the window from a service of higher integrity level.
// The filter function is looked up once per process; systems without it need nothing.
void AllowCopyDataFromAnyLevel(HWND window) {
  SearchClientState& s = g_search_client;
  if (!s.filter_looked_up) {
    s.user32 = LoadLibraryW(L"user32.dll");
    if (s.user32) {
      s.message_filter = reinterpret_cast<SearchClientState::MessageFilterFn>(
          GetProcAddress(s.user32, "ChangeWindowMessageFilterEx"));
    }
    s.filter_looked_up = TRUE;
  }
  if (s.message_filter) s.message_filter(window, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
}

// Dispatches messages until the reply window procedure posts the quit message.
void RunReplyLoop(HWND window) {
  for (;;) {
    WaitMessage();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0 || got == -1) {
        DestroyWindow(window);
        return;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

DWORD WINAPI SearchClient_QueryThreadProc(void*) {
  SearchClientState& s = g_search_client;
  if (!SearchClient_FindService()) {
    SearchClient_SetError(kSearchClientNoService);
    return 0;
  }
  if (!EnsureReplyWindowClass()) {
    SearchClient_SetError(kSearchClientRegisterClassFailed);
    return 0;
  }
  HWND window = CreateWindowExW(0, kReplyWindowClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                ThisModule(), nullptr);
  if (!window) {
    SearchClient_SetError(kSearchClientCreateWindowFailed);
    return 0;
  }
  AllowCopyDataFromAnyLevel(window);
  s.reply_window = window;
  s.reply_id = 0;
  HWND service = nullptr;
  if (!SearchClient_SendQuery(&service)) {
    DestroyWindow(window);
    return 0;
  }
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(service));
  SetTimer(window, kServiceWatchTimer, kServiceWatchMs, nullptr);
  RunReplyLoop(window);
  return 0;
}

}  // namespace

BOOL SearchClient_QueryAndWait() {
  SearchClient_SetError(kSearchClientOk);
  HANDLE thread = CreateThread(nullptr, 0, SearchClient_QueryThreadProc, nullptr, 0, nullptr);
  if (!thread) {
    SearchClient_SetError(kSearchClientCreateThreadFailed);
    return FALSE;
  }
  // No time-out: a live service is waited for however long its search takes; the
  // worker ends early only when the service has gone away.
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return g_search_client.last_error == kSearchClientOk ? TRUE : FALSE;
}
