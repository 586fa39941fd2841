// Parses a generated 1 MB skin-like document repeatedly and prints the time per parse.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/base/markup_parser.h"

namespace {

std::string MakeSkinDocument(size_t target_bytes) {
  std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"800,600\" caption=\"0,0,0,36\">\n";
  int item = 0;
  while (xml.size() < target_bytes) {
    xml += "  <VBox name=\"group" + std::to_string(item) + "\" width=\"stretch\" padding=\"4,4,4,4\">\n";
    for (int i = 0; i < 8; ++i) {
      xml += "    <Button name=\"card" + std::to_string(item) + "_" + std::to_string(i) +
             "\" text=\"&quot;\xE9\x93\xBE\xE6\x8E\xA5&quot; &amp; more\" normalimage=\"file='card.png' "
             "corner='4,4,4,4'\" hotimage=\"card_hot.png\" width=\"80\" height=\"96\"/>\n";
    }
    xml += "    <!-- separator -->\n  </VBox>\n";
    ++item;
  }
  xml += "</Window>\n";
  return xml;
}

}  // namespace

int main() {
  const std::string xml = MakeSkinDocument(1024 * 1024);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  const int rounds = 20;
  ui::MarkupDocument doc;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < rounds; ++i) {
    if (!doc.LoadFromMemory(xml.data(), xml.size(), ui::MarkupDocument::kUtf8)) {
      std::printf("parse failed: %ls\n", doc.GetLastErrorMessage());
      return 1;
    }
  }
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / rounds;
  std::printf("markup_parse: %zu bytes, %.3f ms per parse (%d rounds)\n", xml.size(), ms, rounds);
  return 0;
}
