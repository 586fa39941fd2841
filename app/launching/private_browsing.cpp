#include "app/launching/private_browsing.h"

#include <windows.h>
#include <shellapi.h>

#include "app/launching/launch_targets.h"
#include "app/launching/shell_actions.h"

namespace {

// Both values are read into one buffer of 261 characters; a longer one counts as
// missing, like any other failure.
constexpr DWORD kValueChars = 261;

std::wstring ReadStringValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[kValueChars] = {};
  DWORD bytes = sizeof(buffer);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS) return {};
  return buffer;
}

}  // namespace

DefaultBrowser ReadDefaultBrowser() {
  DefaultBrowser browser;
  browser.progId = ReadStringValue(
      HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\Http\\UserChoice\\",
      L"Progid");
  if (!browser.progId.empty()) {
    browser.openCommand = ReadStringValue(HKEY_CLASSES_ROOT, browser.progId + L"\\shell\\open\\command\\", nullptr);
  }
  return browser;
}

void OpenAddressPrivately(const std::wstring& address) {
  DefaultBrowser browser = ReadDefaultBrowser();
  std::wstring program = BrowserProgramFromCommand(browser.openCommand);
  if (!program.empty()) {
    std::wstring arguments = PrivateModeSwitch(browser.progId) + QuoteAddressArgument(address);
    if (ShellOpen(L"open", program, &arguments)) return;
  }
  // No browser known, or its program would not start: better a normal window than
  // nothing at all.
  ShellOpen(L"open", address);
}
