// The shell's system image lists and the ways to find an icon's index in them:
// by file type, by path, by special folder and the stock folder icon.
#pragma once

#include <windows.h>

#include <string>

struct IImageList;

// The shell's small (16), large (32) and extra-large (48 pixel) system image lists.
class SystemImageLists {
 public:
  // The shell is asked for the three lists when an icon is first wanted (setting
  // up the shell's lists is costly and most starts need none); a list the shell
  // does not give stays null.
  SystemImageLists();
  ~SystemImageLists();
  SystemImageLists(const SystemImageLists&) = delete;
  SystemImageLists& operator=(const SystemImageLists&) = delete;

  // The icon at `index` from the list of the given size index (0 for 32, 1 for 16,
  // 2 for 48 pixels), drawn transparent; the caller destroys it. Null when the list
  // or the icon is missing.
  HICON GetIcon(int sizeIndex, int index) const;

 private:
  void LoadLists() const;

  mutable bool loaded_ = false;
  mutable IImageList* lists_[3] = {};
};

// The system image-list index of a file type such as "*.txt", whether or not
// such a file exists; -1 when the shell gives none.
int GetFileTypeIconIndex(const std::wstring& pattern);

// The index of an existing file, folder or shell path; 0 when the shell gives none.
int GetPathIconIndex(const std::wstring& path);

// The index of the shell item named by a path, through its item-ID list; false
// when the shell cannot make the list.
bool GetItemIconIndex(const std::wstring& path, int& index);

// The index of a special folder (CSIDL number); 0 when the shell gives none.
int GetFolderIconIndex(int csidl);

// The index of the shell's stock folder icon, found once per process; falls back
// to the icon of the system folder.
int GetStockFolderIconIndex();
