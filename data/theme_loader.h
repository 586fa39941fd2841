// Colour themes: XML files in the "theme" folder beside the executable that
// redefine named colours of the framework's colour table.
#pragma once

#include <string>

// The theme file for a name: <exe folder>\theme\<name>, with ".xml" appended
// unless the name already ends in a three-letter extension.
std::wstring ThemeFilePath(const std::wstring& theme_name);

// Loads the theme's "Color" entries into the colour table. True when the file
// was read and its root is "Global" (also when it defines no colour). False,
// with no colour changed, for an empty name, a missing or malformed file, a
// root other than "Global", or a colour value in none of the colour notations.
bool LoadTheme(const std::wstring& theme_name);
