// Numbers in skin attribute values: decimal integers, and lists of them in which
// each number starts one character (normally a comma) after the previous one
// ended. A list that is short or holds a non-number is rejected as a whole and
// never read past its end.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// Leading white space and sign allowed, stops at the first non-digit; 0 when
// there is no number; clamped to the int range.
int ParseInt(const std::wstring& text);

// Reads `count` numbers; false (out untouched) when the text is malformed.
bool ParseIntList(const std::wstring& text, int* out, int count);

// left, top, right, bottom.
bool ParseRect(const std::wstring& text, RECT* rc);
// cx, cy.
bool ParseSize(const std::wstring& text, SIZE* size);

}  // namespace ui
