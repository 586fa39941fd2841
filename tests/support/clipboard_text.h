// The clipboard's text, for tests that copy and paste through it. The clipboard
// is one for the whole display: another test program may hold it open for a
// moment, so opening it tries for three seconds before it gives up
// (Wine's clipboard manager, which follows every change, holds it too).
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace pexo_test {

inline bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < 150; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

// Puts the text on the clipboard in place of what it holds, as another program
// copies; false when the clipboard could not be opened or would not take it.
inline bool PutClipboardText(const std::wstring& text) {
  if (!OpenClipboardPatiently()) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  bool put = false;
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* chars = GlobalLock(memory)) {
      std::memcpy(chars, text.c_str(), bytes);
      GlobalUnlock(memory);
      put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    // The clipboard owns the block only once it took it.
    if (!put) GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

// The clipboard's text; empty when it holds none or could not be opened.
inline std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboardPatiently()) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace pexo_test
