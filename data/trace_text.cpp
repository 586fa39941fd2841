#include "data/trace_text.h"

#include <windows.h>

#include <cstdio>

#include "ui/base/string_util.h"

void PrintTraceText(const std::wstring& text) {
  std::string ansi;
  NarrowStringCounted(text, ansi, CP_ACP);
  std::fputs(ansi.c_str(), stdout);
}
