#include "app/hot_keys/hot_key_text.h"

#include <windows.h>

namespace {

// Page Up to Help share their scan codes with the keypad keys; the extended-key
// bit picks the navigation key's name.
bool IsExtendedNavigationKey(uint32_t vk) { return vk >= VK_PRIOR && vk <= VK_HELP; }

std::wstring KeyName(uint32_t vk) {
  switch (vk) {
    case VK_SPACE:
      return L"Space";
    case VK_LWIN:
      return L"Win";
    case VK_XBUTTON1:
      return L"X1";
    case VK_XBUTTON2:
      return L"X2";
    default:
      break;
  }
  const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
  LONG param = static_cast<LONG>((scan & 0xFF) << 16) | 1;
  if (IsExtendedNavigationKey(vk)) param |= 1 << 24;
  wchar_t name[64] = {};
  const int length = GetKeyNameTextW(param, name, 64);
  return length > 0 ? std::wstring(name, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace

std::wstring HotKeyToText(uint32_t modifiers, uint32_t vk) {
  std::wstring text;
  if (modifiers & MOD_CONTROL) text += L"Ctrl + ";
  if (modifiers & MOD_SHIFT) text += L"Shift + ";
  if ((modifiers & MOD_ALT) && vk != VK_MENU) text += L"Alt + ";
  if ((modifiers & MOD_WIN) && vk != VK_LWIN) text += L"Win + ";
  if (vk != 0) text += KeyName(vk);
  return text;
}

std::wstring HotKeyCodeToText(uint32_t code) { return HotKeyToText((code >> 8) & 0xFF, code & 0xFF); }
