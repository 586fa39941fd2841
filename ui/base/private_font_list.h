// Font files of the skin registered for this process only, so that fonts can
// name their faces. Registered fonts stay registered until the process ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class PrivateFontList {
 public:
  // Created on first use (the skin's first "FontResource" element).
  static PrivateFontList& Instance();

  // Registers "font\" + file from the skin archive while one is open, else from
  // the disk under the resource path; true when the platform took the font.
  bool AddFont(const std::wstring& file, const std::wstring& name);
  // Empties the lists; the fonts stay registered.
  void Clear();

  const std::vector<std::wstring>& paths() const { return paths_; }
  const std::vector<std::wstring>& names() const { return names_; }

 private:
  PrivateFontList() = default;

  std::vector<std::wstring> paths_;
  std::vector<std::wstring> names_;
  std::vector<HANDLE> memory_fonts_;
};

}  // namespace ui
