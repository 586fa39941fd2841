// Fixed texts the framework and the launcher share.
#pragma once

// Colour names a skin's "Global" element may replace with its own colours.
inline constexpr wchar_t kDefaultDisabledTextColorName[] = L"textdefaultdisablecolor";
inline constexpr wchar_t kDefaultTextColorName[] = L"textdefaultcolor";

// Language file inside the language folder.
inline constexpr wchar_t kLanguageFileName[] = L"gdstrings.ini";

// Window name of the launcher's hidden owner window and of its main window.
inline constexpr wchar_t kLauncherWindowName[] = L"PexoWnd";

// Title of the main window and tip of the tray icon.
inline constexpr wchar_t kLauncherTitle[] = L"Pexo 快捷启动";
