#include "app/launching/launch_thread.h"

#include <objbase.h>

#include <memory>

#include "app/launching/link_launcher.h"
#include "data/settings.h"
#include "ui/base/scoped_handles.h"

namespace {

DWORD RunRequest(LPVOID parameter, LaunchMode mode) {
  std::unique_ptr<LaunchRequest> request(static_cast<LaunchRequest*>(parameter));
  if (!request) return 0;
  // ShellExecute and item-ID lists need COM on the calling thread; the shell wants
  // it apartment-threaded without OLE1 DDE. The built-in volume commands create
  // their audio objects multithreaded instead.
  DWORD model = request->link.TYPE == kLinkBuiltinFunction ? COINIT_MULTITHREADED
                                                            : COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE;
  ui::ScopedComInit com(model);
  if (!LaunchLink(request->link, request->openDirCmd, mode) && request->noticeWindow) {
    // The window tells the user on its own thread; this one only says which link.
    PostMessageW(request->noticeWindow, kLaunchFailedMessage, static_cast<WPARAM>(request->link.ID),
                 request->noticeMark);
  }
  return 0;
}

}  // namespace

DWORD WINAPI RunLinkThread(LPVOID request) { return RunRequest(request, LaunchMode::kNormal); }

DWORD WINAPI RunLinkElevatedThread(LPVOID request) { return RunRequest(request, LaunchMode::kElevated); }

bool StartLinkThread(const Link& link, bool elevated, HWND noticeWindow, LPARAM noticeMark) {
  return StartLinkThread(link, elevated, GetSettings().OpenDirCmd, noticeWindow, noticeMark);
}

bool StartLinkThread(const Link& link, bool elevated, const std::wstring& openDirCmd, HWND noticeWindow,
                     LPARAM noticeMark) {
  auto request = std::make_unique<LaunchRequest>(LaunchRequest{link, openDirCmd, noticeWindow, noticeMark});
  HANDLE thread = CreateThread(nullptr, 0, elevated ? RunLinkElevatedThread : RunLinkThread, request.get(), 0, nullptr);
  if (!thread) return false;
  request.release();  // the thread owns it now
  CloseHandle(thread);
  return true;
}
