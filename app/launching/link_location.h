// Where a link's target lies: opening its folder with the target selected, and
// putting a web address on the clipboard.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Opens the folder that holds the path with the path selected. False when the
// shell cannot make an item of the path or refuses.
bool OpenContainingFolder(const std::wstring& path);

// The same for an item stored as an absolute item-ID list; false for no or
// damaged bytes.
bool OpenContainingFolderOfList(const std::vector<uint8_t>& bytes);

// Puts the text on the clipboard as Unicode text, with `owner` as the clipboard's
// owner. False when the clipboard is busy or refuses; no memory is left behind.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);
