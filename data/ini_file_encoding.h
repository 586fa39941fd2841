// The Windows profile functions keep non-ANSI text only in files that are already
// UTF-16: written into a new or an 8-bit file, Chinese text turns into question
// marks. Settings files are therefore made UTF-16 before they are written.
#pragma once

#include <string>

// Makes the file at `path` a UTF-16 little-endian file with a byte-order mark:
// - a missing or empty file becomes one holding just the mark;
// - an 8-bit text file is re-encoded with its content intact (UTF-8 when it starts
//   with the UTF-8 mark, else the ANSI code page, as the profile functions read it);
// - a big-endian UTF-16 file is byte-swapped, and a UTF-16 file cut inside a
//   character loses the lone last byte;
// - a file holding NUL bytes without a UTF-16 mark is no text: it is kept beside as
//   "<path>.bak" and replaced by an empty UTF-16 file.
// The replacement is written to a temporary file first and then moved over the old
// one. False when the file could not be made UTF-16.
bool EnsureUtf16IniFile(const std::wstring& path);
