// Links made from shortcut files: shell shortcuts (".lnk", to a file-system
// target or to a store app) and web shortcuts (".url").
#pragma once

#include <memory>
#include <string>

#include "data/link.h"

// Shortcuts may point at shortcuts; a chain of more than this many (a shortcut to
// itself, two that point at each other) makes no link.
constexpr int kMaxShortcutDepth = 8;

// The link for a ".lnk" file: the target's own link with the shortcut's name,
// folder, arguments, description, icon and show command; for a shortcut without
// a file-system target on Windows 10 or later, the store app it starts. `path` is
// the text as passed in, `resolved` the file to read, `depth` the number of
// shortcuts already followed to get here.
std::shared_ptr<Link> LinkFromShellShortcut(const std::wstring& path, const std::wstring& resolved, int depth);

// The web-address link for a ".url" file, with its hot key, show command, icon
// file, description and arguments. Read through the shell's internet-shortcut
// object; where that object offers no shell-link interface (older systems, Wine)
// the file's own "InternetShortcut" section is read instead.
std::shared_ptr<Link> LinkFromInternetShortcut(const std::wstring& path, const std::wstring& resolved);

// The icon file named by a web shortcut, without a leading "file:///" and with
// backslashes for slashes.
std::wstring WebShortcutIconPath(const std::wstring& iconLocation);
