// Card colour texts as the link editor accepts them.
#pragma once

#include <string>

// Empty (no colour), "#" followed by exactly 8 hexadecimal digits, or a name the
// colour table knows. "#" with anything else, such as "#gggggggg", is refused.
bool IsAcceptedLinkColor(const std::wstring& text);
// True for "#" followed by exactly 8 hexadecimal digits.
bool IsArgbColorText(const std::wstring& text);
