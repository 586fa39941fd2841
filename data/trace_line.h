// Trace lines on the standard output, with wide texts narrowed to the ANSI code page.
#pragma once

#include <string>

// Prints `format` with its "%s" holders filled by the given texts, in order.
void PrintTrace(const char* format, const std::wstring& first);
void PrintTrace(const char* format, const std::wstring& first, const std::wstring& second);
