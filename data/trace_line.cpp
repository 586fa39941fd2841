#include "data/trace_line.h"

#include <cstdio>

#include "ui/base/string_util.h"

namespace {

std::string Ansi(const std::wstring& text) {
  std::string out;
  NarrowStringCounted(text, out, kCodePageAnsi);
  return out;
}

}  // namespace

void PrintTrace(const char* format, const std::wstring& first) { std::printf(format, Ansi(first).c_str()); }

void PrintTrace(const char* format, const std::wstring& first, const std::wstring& second) {
  std::printf(format, Ansi(first).c_str(), Ansi(second).c_str());
}
