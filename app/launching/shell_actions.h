// Letting the shell act on a link's target: its own context menu, a shortcut
// file on the desktop, and the properties sheet. User-interface thread only.
#pragma once

#include <windows.h>
#include <shtypes.h>

#include <memory>
#include <string>

struct IContextMenu;
struct Link;

// Shows the shell's context menu of an absolute item-ID list at a screen point,
// owned by `owner`, and runs the chosen command. `menuOpen` is set while the menu
// is up (the windows use it to stay visible). Returns the chosen command id (1 for
// the menu's first command), 0 when nothing was chosen or no menu could be built.
int ShowShellContextMenu(HWND owner, PCIDLIST_ABSOLUTE list, POINT screenPoint, bool& menuOpen);

// The second half of that: lets the shell's menu object fill a popup menu, shows
// it and runs the chosen command. While it is up the owner window relays the
// messages that fill sub-menus and draw items (WM_INITMENUPOPUP, WM_MEASUREITEM,
// WM_DRAWITEM, WM_MENUCHAR) to the menu object's IContextMenu3 or IContextMenu2.
int TrackShellContextMenu(HWND owner, IContextMenu* menu, POINT screenPoint, bool& menuOpen);

// The same for a path, parsed by the shell; nothing is shown when it cannot be parsed.
int ParseShellPath(HWND owner, const std::wstring& path, POINT screenPoint, bool& menuOpen);

// The same for a link: its stored item-ID list for an item-ID-list link (nothing
// when empty), nothing for a built-in function, else its resolved target.
int ShowLinkShellMenu(HWND owner, const Link& link, POINT screenPoint, bool& menuOpen);

// The file name a shortcut for a link's name gets: every character a file name
// cannot hold (\ / : * ? " < > | and control characters) becomes "_", trailing
// dots and blanks are dropped, ".lnk" is added. Empty when nothing is left.
std::wstring ShortcutFileName(const std::wstring& linkName);

// Writes "<name>.lnk" for the link into `folder` (the desktop when empty): the
// resolved target (the stored item-ID list for an item-ID-list link), the resolved
// working folder, the arguments as stored and the remark as description. An
// existing file of that name is replaced. True when the file was written.
bool CreateShortcutFile(const Link& link, const std::wstring& folder = {});

// Opens the shell's properties sheet of a path.
bool ShowPropertiesSheet(const std::wstring& path);

// ShellExecuteW without an owner, shown normally; true when the shell reports a
// start (a result above 32). Null parameters or folder are passed as none.
bool ShellOpen(const wchar_t* verb, const std::wstring& file, const std::wstring* parameters = nullptr,
               const std::wstring* directory = nullptr);

// The documents shipped beside the program, as plain text so that every system
// opens them: the read-me ("README.txt") and the change record ("CHANGES.txt").
enum class ShippedDocument { kHelp, kChanges };

// Opens the document with the user's viewer. Empty when it opened; otherwise the
// short notice for the user, which tells a missing file ("找不到…") from one the
// shell would not open ("无法打开…", e.g. no program for .txt files).
std::wstring OpenShippedDocument(ShippedDocument document);
