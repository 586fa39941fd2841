// The main window's date line: solar month and day, weekday and lunar date, and
// the rule for when the line has to be rebuilt.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// "%d月%d日 星期%s " followed by the lunar date, e.g. "4月1日 星期六 (闰)二月十一".
// `weekday` is 0 for Sunday as in SYSTEMTIME; a weekday outside 0-6 gives no name.
std::wstring FormatDateLine(int year, int month, int day, int weekday);

// Remembers the date of the last line it built.
class DateLineTracker {
 public:
  // The text the label should get now, or nothing when it keeps its text: with the
  // line switched off always "" (the label is emptied on every refresh); otherwise a
  // new line when forced or when the date differs from the last one built.
  std::optional<std::wstring> Refresh(const SYSTEMTIME& now, bool showDate, bool force);

 private:
  int year_ = 0;
  int month_ = 0;
  int day_ = 0;
};
