// Reading what is dropped on the main window: file lists, the file-group
// descriptors a browser adds to a dragged link, shell item-ID arrays, and the
// effect reported back to the drag source.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ui/base/scoped_handles.h"

// The effect to report for a drop the window takes: LINK when the source allows
// it, else COPY, else NONE. Never MOVE: a source that honours MOVE deletes its
// original (a mail, a file) once the drop succeeds.
DWORD ChooseDropEffect(DWORD allowedEffects);

// The file name of the first entry of a "FileGroupDescriptorW" block (wide) or a
// "FileGroupDescriptor" block (ANSI code page). Nothing when the block is smaller
// than its count and first entry, counts no entry, or the name is not terminated
// within its field.
std::optional<std::wstring> FirstDescriptorFileName(const void* block, size_t size, bool wide);

// A browser's link shortcut is named after the page: the part of the file name
// before ".url" (else ".web", else ".htm", found in lower case). Nothing when the
// name has none of them.
std::optional<std::wstring> BrowserLinkTitle(const std::wstring& descriptorFileName);

// The absolute item-ID list of the first item of a "Shell IDList Array" block
// (its folder's list joined with the item's). Empty when the block counts no item
// or an offset or a list runs outside the block.
ui::AbsoluteItemIdList FirstItemOfIdArray(const void* block, size_t size);

// The paths of a dropped file list, in the order the shell lists them. Does not
// finish the list: for an OLE drop the medium owns it.
std::vector<std::wstring> ReadDroppedFiles(HDROP drop);

// The same for a WM_DROPFILES drop, which the window owns: the list is finished
// (DragFinish) exactly once, whatever follows.
std::vector<std::wstring> TakeDroppedFiles(HDROP drop);
