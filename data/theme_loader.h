// Colour themes: XML files in the "theme" folder beside the executable that
// redefine named colours of the framework's colour table.
#pragma once

#include <windows.h>

#include <string>

// The theme file for a name: <exe folder>\theme\<name>, with ".xml" appended
// unless the name already ends in a three-letter extension.
std::wstring ThemeFilePath(const std::wstring& theme_name);

// Loads the theme's "Color" entries into the colour table, over the skin's own
// colours: a colour that an earlier theme changed and this one does not name
// takes the skin's value again. True when the file was read and its root is
// "Global" (also when it defines no colour). False,
// with no colour changed, for an empty name, a missing or malformed file, a
// root other than "Global", or a colour value in none of the colour notations.
bool LoadTheme(const std::wstring& theme_name);

// Text and caption of the warning shown at start-up when the configured theme
// cannot be loaded; the program then goes on with the skin's own colours.
inline constexpr wchar_t kThemeLoadWarningFormat[] = L"主题[%s]加载失败！将使用默认主题！";
inline constexpr wchar_t kThemeLoadWarningCaption[] = L"警告";

// The warning text for a theme name.
std::wstring ThemeLoadWarningText(const std::wstring& theme_name);
// Shows that warning in a top-most message box owned by `owner` (may be null).
void ShowThemeLoadWarning(HWND owner, const std::wstring& theme_name);
