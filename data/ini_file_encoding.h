// The Windows profile functions keep non-ANSI text only in files that are already
// UTF-16: written into a new or an 8-bit file, Chinese text turns into question
// marks. Settings files are therefore read as text here and written back as UTF-16.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of the settings file at `path`, decoded the way the profile functions
// read it:
// - a missing or empty file gives empty text;
// - an 8-bit file is UTF-8 when it starts with the UTF-8 mark, else the ANSI code
//   page; UTF-16 files of either byte order lose their mark, and a UTF-16 file cut
//   inside a character loses the lone last byte;
// - a file holding NUL bytes without a UTF-16 mark is no text: it is copied beside
//   as "<path>.bak" and read as empty.
// nullopt when the file exists but cannot be read (locked, no access) or the copy
// cannot be made.
std::optional<std::wstring> ReadIniFileText(const std::wstring& path);

// Writes `text` as a UTF-16 little-endian file with a byte-order mark. The file is
// written whole to "<path>.tmp" in the same folder and then moved over `path`, so
// a failure or a kill halfway leaves the old file as it was (a side file left by a
// killed run is overwritten by the next write). A read-only `path` is not replaced.
// False when nothing was replaced.
bool WriteIniFileText(const std::wstring& path, std::wstring_view text);

// Lets the profile functions put anything they still cache for `path` on the disk
// and forget their copy, so that a file changed behind them is read afresh.
void FlushProfileCache(const std::wstring& path);
