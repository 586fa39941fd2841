// Appending a terminated piece of text to a caller's buffer, in either encoding.
#pragma once

#include <windows.h>

namespace search_client {

// Appends `piece` at `position` of `buffer` (size in characters) and returns the new
// position. A piece in the other encoding is converted through the ANSI code page.
// The piece is cut to what fits before the buffer's last character, never in the
// middle of a character, and a terminator is written after it. A null buffer receives
// nothing: the result then measures the piece, limited to size - 1 characters (no
// limit when size is 0). A non-null buffer needs size > position.
DWORD AppendPiece(char* buffer, DWORD size, DWORD position, const char* piece);
DWORD AppendPiece(wchar_t* buffer, DWORD size, DWORD position, const wchar_t* piece);
DWORD AppendPiece(char* buffer, DWORD size, DWORD position, const wchar_t* piece);
DWORD AppendPiece(wchar_t* buffer, DWORD size, DWORD position, const char* piece);

}  // namespace search_client
