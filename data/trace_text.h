// Trace lines on the standard output.
#pragma once

#include <string>

// Prints wide text in the ANSI code page: the wide printf of the C runtime stops at
// the first character it cannot convert, and traces carry Chinese names.
void PrintTraceText(const std::wstring& text);
