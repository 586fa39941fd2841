// Solar dates turned into dates of the Chinese lunar calendar, for the date line
// of the main window. Pure functions of the date; the table covers the lunar years
// that begin in 1901 to 2099, so dates from 1901-02-19 to 2099-12-31.
#pragma once

#include <optional>
#include <string>

struct LunarDate {
  int month = 0;      // 1 to 12
  int day = 0;        // 1 to 30
  bool leap = false;  // the leap month that follows the regular month of the same number
};

// The lunar date of a solar date; nothing for an impossible date or one outside
// the table.
std::optional<LunarDate> ComputeLunarDate(int year, int month, int day);

// "(闰)" for a leap month, the month name, "月" and the day name, e.g. "(闰)二月十一";
// empty where ComputeLunarDate gives nothing.
std::wstring FormatLunarDate(int year, int month, int day);
