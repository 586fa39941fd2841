#include "app/main_window/lunar_calendar.h"

#include <gtest/gtest.h>

#include "app/main_window/date_line.h"

namespace {

struct LunarCase {
  int year, month, day;
  int lunarMonth, lunarDay;
  bool leap;
};

TEST(LunarCalendarTest, GivesThePublishedLunarDateForKnownDays) {
  const LunarCase cases[] = {
      {2023, 1, 21, 12, 30, false},  // last day of the year that began in 2022
      {2023, 1, 22, 1, 1, false},    // new year
      {2023, 3, 1, 2, 10, false},
      {2023, 3, 22, 2, 1, true},  // leap second month
      {2023, 4, 1, 2, 11, true},
      {2023, 4, 20, 3, 1, false},
      {2024, 2, 9, 12, 30, false},  // day before a February new year
      {2024, 2, 10, 1, 1, false},
      {2025, 7, 25, 6, 1, true},
      {2033, 12, 22, 11, 1, true},  // the table's only leap eleventh month
      {2034, 1, 20, 12, 1, false},  // previous year's word, counted back past a leap month
      {2020, 4, 23, 4, 1, false},   // the regular month carrying the leap number has no mark
      {2020, 5, 23, 4, 1, true},
      {2000, 2, 29, 1, 25, false},
      {1984, 12, 1, 10, 9, true},
      {1901, 2, 19, 1, 1, false},  // first day the table covers
      {2099, 12, 31, 11, 20, false},  // last day it covers
      // 2025: months 3 and 4 have 30 and 29 days (2025-04-28 is the first of month 4).
      {2025, 3, 28, 2, 29, false},
      {2025, 3, 29, 3, 1, false},
      {2025, 4, 27, 3, 30, false},
      {2025, 4, 28, 4, 1, false},
      {2025, 5, 26, 4, 29, false},
      {2025, 5, 27, 5, 1, false},
      {2025, 6, 25, 6, 1, false},
  };
  for (const LunarCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    const std::optional<LunarDate> lunar = ComputeLunarDate(c.year, c.month, c.day);
    ASSERT_TRUE(lunar.has_value());
    EXPECT_EQ(lunar->month, c.lunarMonth);
    EXPECT_EQ(lunar->day, c.lunarDay);
    EXPECT_EQ(lunar->leap, c.leap);
  }
}

TEST(LunarCalendarTest, DatesOutsideTheTableOrImpossibleGiveNothing) {
  EXPECT_FALSE(ComputeLunarDate(1901, 2, 18));  // before the first lunar new year
  EXPECT_FALSE(ComputeLunarDate(1900, 6, 1));
  EXPECT_FALSE(ComputeLunarDate(2100, 1, 1));
  EXPECT_FALSE(ComputeLunarDate(2023, 2, 29));
  EXPECT_FALSE(ComputeLunarDate(2024, 13, 1));
  EXPECT_FALSE(ComputeLunarDate(2024, 4, 31));
  EXPECT_FALSE(ComputeLunarDate(2024, 1, 0));
  EXPECT_EQ(FormatLunarDate(2100, 1, 1), L"");
}

// Walks every day the table covers: each day must be the lunar day after the one
// before, months must have 29 or 30 days, a leap month must follow the regular
// month of its number, and each year must have 12 months plus at most one leap.
TEST(LunarCalendarTest, EveryCoveredDayFollowsTheDayBefore) {
  const int daysIn[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::optional<LunarDate> previous;
  int newYears = 0;
  for (int year = 1901; year <= 2099; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const int length = daysIn[month] + (month == 2 && year % 4 == 0 ? 1 : 0);
      for (int day = 1; day <= length; ++day) {
        const std::optional<LunarDate> lunar = ComputeLunarDate(year, month, day);
        if (!lunar) {
          ASSERT_FALSE(previous) << year << "-" << month << "-" << day;
          continue;
        }
        ASSERT_GE(lunar->day, 1);
        ASSERT_LE(lunar->day, 30);
        if (previous) {
          SCOPED_TRACE(testing::Message() << year << "-" << month << "-" << day);
          if (lunar->day != 1) {
            ASSERT_EQ(lunar->day, previous->day + 1);
            ASSERT_EQ(lunar->month, previous->month);
            ASSERT_EQ(lunar->leap, previous->leap);
          } else {
            ASSERT_TRUE(previous->day == 29 || previous->day == 30);
            if (lunar->leap) {
              ASSERT_EQ(lunar->month, previous->month);
              ASSERT_FALSE(previous->leap);
            } else if (lunar->month == 1) {
              ASSERT_EQ(previous->month, 12);
              ++newYears;
            } else {
              ASSERT_EQ(lunar->month, previous->month + 1);
            }
          }
        }
        previous = lunar;
      }
    }
  }
  EXPECT_EQ(newYears, 2099 - 1901);
}

TEST(DateLineTest, ShowsSolarDateWeekdayAndLunarDate) {
  EXPECT_EQ(FormatDateLine(2023, 4, 1, 6), L"4月1日 星期六 (闰)二月十一");
  EXPECT_EQ(FormatDateLine(2024, 2, 10, 6), L"2月10日 星期六 正月初一");
  EXPECT_EQ(FormatDateLine(2025, 4, 28, 1), L"4月28日 星期一 四月初一");
  EXPECT_EQ(FormatDateLine(2024, 1, 1, 1), L"1月1日 星期一 十一月二十");
  EXPECT_EQ(FormatDateLine(2025, 1, 28, 2), L"1月28日 星期二 腊月廿九");
  EXPECT_EQ(FormatDateLine(2025, 1, 19, 0), L"1月19日 星期日 腊月二十");
  // Outside the table the solar part stands alone.
  EXPECT_EQ(FormatDateLine(2100, 3, 1, 1), L"3月1日 星期一 ");
}

TEST(DateLineTest, RebuildsOnlyWhenTheDayChangesOrWhenForced) {
  DateLineTracker tracker;
  SYSTEMTIME morning = {};
  morning.wYear = 2023;
  morning.wMonth = 4;
  morning.wDay = 1;
  morning.wDayOfWeek = 6;
  morning.wHour = 8;
  ASSERT_EQ(tracker.Refresh(morning, true, false), L"4月1日 星期六 (闰)二月十一");

  SYSTEMTIME evening = morning;
  evening.wHour = 23;
  EXPECT_FALSE(tracker.Refresh(evening, true, false));
  EXPECT_EQ(tracker.Refresh(evening, true, true), L"4月1日 星期六 (闰)二月十一");

  SYSTEMTIME nextDay = morning;
  nextDay.wDay = 2;
  nextDay.wDayOfWeek = 0;
  EXPECT_EQ(tracker.Refresh(nextDay, true, false), L"4月2日 星期日 (闰)二月十二");

  // Switched off, the label is emptied on every refresh, forced or not.
  EXPECT_EQ(tracker.Refresh(nextDay, false, false), L"");
  EXPECT_EQ(tracker.Refresh(nextDay, false, true), L"");
}

}  // namespace
