// Initials form of names: every GB2312 Chinese character becomes the first letter of
// its pinyin reading (upper case), so that typing "wx" finds a name read "wei xin".
#pragma once

#include <string>
#include <string_view>

#include "data/compact_text.h"

// Same number of characters out as in: characters outside GB2312's two levels of
// Chinese characters (ASCII, symbols, other scripts) are kept as they are. Level-2
// radical forms without a reading of their own become '['.
std::wstring MakeInitials(const std::wstring& text);

// MakeInitials followed by ASCII lower-casing: the form stored with every link.
std::wstring MakeInitialsKey(const std::wstring& text);
// The same key made straight into a record's compact field; like any compact text
// it ends before a zero in `text`.
CompactText MakeCompactInitialsKey(std::wstring_view text);

// Letter for one GB2312 double-byte character given by its two bytes, or 0 when the
// pair is not a level-1 or level-2 Chinese character.
wchar_t Gb2312InitialOf(unsigned char lead, unsigned char trail);
