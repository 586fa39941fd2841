// Texts of one language by identifier, for skin attributes that name a text
// instead of writing it ("textid", "prompttextid"). Filled once at start-up
// from the language file "gdstrings.ini", then only read.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <string>

namespace ui {

class LanguageTable {
 public:
  static LanguageTable& Instance();

  // Empties the table and reads the file's lines; false, with the table empty,
  // when the file cannot be opened.
  bool LoadFromFile(const std::wstring& path);
  // Adds the lines of a global memory block (its length is the block's size)
  // without emptying the table first. The caller frees the block.
  bool LoadFromMemory(HGLOBAL block);
  // The text with "\r" and "\n" escapes expanded; empty for an unknown id.
  std::wstring GetText(const std::wstring& id) const;

 private:
  LanguageTable() = default;
  // Lines end at line feeds and NUL bytes; each is "identifier=text".
  void AddLines(const char* bytes, size_t length);
  void AddLine(const char* bytes, size_t length);

  std::map<std::wstring, std::wstring> texts_;
};

}  // namespace ui
