// What the user is told when a target the user asked for does not open: the
// same words from the cards, the chords, the menus and the search window.
#pragma once

#include <string>

// A launch the system refused (a missing file, no program for its kind).
inline std::wstring CannotOpenNotice(const std::wstring& name) {
  return name.empty() ? std::wstring(L"无法打开所选项目") : L"无法打开 " + name;
}

// "打开文件位置" refused: the target's folder could not be shown.
inline std::wstring CannotOpenLocationNotice(const std::wstring& name) {
  return name.empty() ? std::wstring(L"无法打开所选项目的文件位置") : L"无法打开 " + name + L" 的文件位置";
}
