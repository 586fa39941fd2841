#include "app/main_window/date_line.h"

#include <cwchar>

#include "app/main_window/lunar_calendar.h"

namespace {

constexpr const wchar_t* kWeekdayNames[7] = {L"日", L"一", L"二", L"三", L"四", L"五", L"六"};

}  // namespace

std::wstring FormatDateLine(int year, int month, int day, int weekday) {
  const wchar_t* weekdayName = (weekday >= 0 && weekday < 7) ? kWeekdayNames[weekday] : L"";
  wchar_t solar[64] = {};
  std::swprintf(solar, 64, L"%d月%d日 星期%ls ", month, day, weekdayName);
  return solar + FormatLunarDate(year, month, day);
}

std::optional<std::wstring> DateLineTracker::Refresh(const SYSTEMTIME& now, bool showDate,
                                                     bool force) {
  if (!showDate) return std::wstring();
  if (!force && now.wYear == year_ && now.wMonth == month_ && now.wDay == day_) {
    return std::nullopt;
  }
  year_ = now.wYear;
  month_ = now.wMonth;
  day_ = now.wDay;
  return FormatDateLine(year_, month_, day_, now.wDayOfWeek);
}
