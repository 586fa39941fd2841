#include "app/main_window/lunar_calendar.h"

#include <array>
#include <cstdint>

namespace {

constexpr int kFirstTableYear = 1901;
constexpr int kLastTableYear = 2099;

// One word per lunar year, looked up by the solar year in which that lunar year
// begins (1901 to 2099), taken from the published calendar:
//   bits 0-4   solar day of the month of the lunar new year
//   bits 5-6   solar month of the lunar new year (1 January, 2 February)
//   bits 7-19  month lengths in order, first month at bit 19, one bit lower for each
//              following month with the leap month in its place; set = 30 days, clear = 29
//   bits 20-23 number of the leap month (follows the regular month of that number), 0 = none
constexpr std::array<std::uint32_t, kLastTableYear - kFirstTableYear + 1> kLunarYears = {
    0x04AE53, 0x0A5748, 0x5526BD, 0x0D2650, 0x0D9544, 0x46AAB9, 0x056A4D, 0x09AD42,  // 1901-1908
    0x24AEB6, 0x04AE4A, 0x6A4DBE, 0x0A4D52, 0x0D2546, 0x5D52BA, 0x0B544E, 0x0D6A43,  // 1909-1916
    0x296D37, 0x095B4B, 0x749BC1, 0x049754, 0x0A4B48, 0x5B25BC, 0x06A550, 0x06D445,  // 1917-1924
    0x4ADAB8, 0x02B64D, 0x095742, 0x2497B7, 0x04974A, 0x664B3E, 0x0D4A51, 0x0EA546,  // 1925-1932
    0x56D4BA, 0x05AD4E, 0x02B644, 0x393738, 0x092E4B, 0x7C96BF, 0x0C9553, 0x0D4A48,  // 1933-1940
    0x6DA53B, 0x0B554F, 0x056A45, 0x4AADB9, 0x025D4D, 0x092D42, 0x2C95B6, 0x0A954A,  // 1941-1948
    0x7B4ABD, 0x06CA51, 0x0B5546, 0x555ABB, 0x04DA4E, 0x0A5B43, 0x352BB8, 0x052B4C,  // 1949-1956
    0x8A953F, 0x0E9552, 0x06AA48, 0x6AD53C, 0x0AB54F, 0x04B645, 0x4A5739, 0x0A574D,  // 1957-1964
    0x052642, 0x3E9335, 0x0D9549, 0x75AABE, 0x056A51, 0x096D46, 0x54AEBB, 0x04AD4F,  // 1965-1972
    0x0A4D43, 0x4D26B7, 0x0D254B, 0x8D52BF, 0x0B5452, 0x0B6A47, 0x696D3C, 0x095B50,  // 1973-1980
    0x049B45, 0x4A4BB9, 0x0A4B4D, 0xAB25C2, 0x06A554, 0x06D449, 0x6ADA3D, 0x0AB651,  // 1981-1988
    0x095746, 0x5497BB, 0x04974F, 0x064B44, 0x36A537, 0x0EA54A, 0x86B2BF, 0x05AC53,  // 1989-1996
    0x0AB647, 0x5936BC, 0x092E50, 0x0C9645, 0x4D4AB8, 0x0D4A4C, 0x0DA541, 0x25AAB6,  // 1997-2004
    0x056A49, 0x7AADBD, 0x025D52, 0x092D47, 0x5C95BA, 0x0A954E, 0x0B4A43, 0x4B5537,  // 2005-2012
    0x0AD54A, 0x955ABF, 0x04BA53, 0x0A5B48, 0x652BBC, 0x052B50, 0x0A9345, 0x474AB9,  // 2013-2020
    0x06AA4C, 0x0AD541, 0x24DAB6, 0x04B64A, 0x6A573D, 0x0A4E51, 0x0D2646, 0x5E933A,  // 2021-2028
    0x0D534D, 0x05AA43, 0x36B537, 0x096D4B, 0xB4AEBF, 0x04AD53, 0x0A4D48, 0x6D25BC,  // 2029-2036
    0x0D254F, 0x0D5244, 0x5DAA38, 0x0B5A4C, 0x056D41, 0x24ADB6, 0x049B4A, 0x7A4BBE,  // 2037-2044
    0x0A4B51, 0x0AA546, 0x5B52BA, 0x06D24E, 0x0ADA42, 0x355B37, 0x09374B, 0x8497C1,  // 2045-2052
    0x049753, 0x064B48, 0x66A53C, 0x0EA54F, 0x06B244, 0x4AB638, 0x0AAE4C, 0x092E42,  // 2053-2060
    0x3C9735, 0x0C9649, 0x7D4ABD, 0x0D4A51, 0x0DA545, 0x55AABA, 0x056A4E, 0x0A6D43,  // 2061-2068
    0x452EB7, 0x052D4B, 0x8A95BF, 0x0A9553, 0x0B4A47, 0x6B553B, 0x0AD54F, 0x055A45,  // 2069-2076
    0x4A5D38, 0x0A5B4C, 0x052B42, 0x3A93B6, 0x069349, 0x7729BD, 0x06AA51, 0x0AD546,  // 2077-2084
    0x54DABA, 0x04B64E, 0x0A5743, 0x452738, 0x0D164A, 0x8E933E, 0x0D5252, 0x0DAA47,  // 2085-2092
    0x66B53B, 0x056D4F, 0x04AE45, 0x4A4EB9, 0x0A2D4C, 0x0D1541, 0x2D92B5,  // 2093-2099
};

constexpr int kDaysBeforeMonth[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kDaysInMonth[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr const wchar_t* kMonthNames[13] = {L"*",  L"正", L"二", L"三", L"四",  L"五",  L"六",
                                            L"七", L"八", L"九", L"十", L"十一", L"腊"};
constexpr const wchar_t* kDayNames[31] = {
    L"*",    L"初一", L"初二", L"初三", L"初四", L"初五", L"初六", L"初七", L"初八", L"初九", L"初十",
    L"十一", L"十二", L"十三", L"十四", L"十五", L"十六", L"十七", L"十八", L"十九", L"二十",
    L"廿一", L"廿二", L"廿三", L"廿四", L"廿五", L"廿六", L"廿七", L"廿八", L"廿九", L"三十"};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsValidSolarDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1) return false;
  const int length = (month == 2 && !IsLeapYear(year)) ? 28 : kDaysInMonth[month];
  return day <= length;
}

std::uint32_t YearWord(int year) { return kLunarYears[static_cast<size_t>(year - kFirstTableYear)]; }

// Month length of the month stored at `bit`.
int MonthLength(std::uint32_t word, int bit) { return (word >> bit) & 1 ? 30 : 29; }

// 0-based day of the year of the lunar new year that a word describes.
int NewYearDayOfYear(std::uint32_t word) {
  const int day = static_cast<int>(word & 0x1F);
  const int month = static_cast<int>((word >> 5) & 0x3);
  return month == 1 ? day - 1 : 30 + day;
}

}  // namespace

std::optional<LunarDate> ComputeLunarDate(int year, int month, int day) {
  if (year < kFirstTableYear || year > kLastTableYear || !IsValidSolarDate(year, month, day)) {
    return std::nullopt;
  }
  // The table's years 1901-2099 are exactly those where every fourth year is a leap year.
  int dayOfYear = kDaysBeforeMonth[month] + day - 1;
  if (year % 4 == 0 && month > 2) ++dayOfYear;

  const std::uint32_t thisWord = YearWord(year);
  const int newYear = NewYearDayOfYear(thisWord);
  if (dayOfYear >= newYear) {
    const int leapMonth = static_cast<int>((thisWord >> 20) & 0xF);
    int remaining = dayOfYear - newYear;
    LunarDate result{1, 1, false};
    int bit = 19;
    while (remaining >= MonthLength(thisWord, bit)) {
      remaining -= MonthLength(thisWord, bit);
      if (!result.leap && result.month == leapMonth) {
        result.leap = true;
      } else {
        result.leap = false;
        ++result.month;
      }
      --bit;
    }
    result.day = remaining + 1;
    return result;
  }

  // Before this year's new year: the date belongs to the lunar year that began in
  // the previous solar year. The first table year has none before it.
  if (year == kFirstTableYear) return std::nullopt;
  const std::uint32_t word = YearWord(year - 1);
  const int leapMonth = static_cast<int>((word >> 20) & 0xF);
  int remaining = newYear - dayOfYear;  // days left until the new year, at least 1
  LunarDate result{12, 0, leapMonth == 12};
  int bit = leapMonth ? 7 : 8;
  while (remaining > MonthLength(word, bit)) {
    remaining -= MonthLength(word, bit);
    // Going backwards the number carrying the leap month is met twice: first as
    // the leap month, then as the regular month.
    if (result.leap) {
      result.leap = false;
    } else {
      --result.month;
      result.leap = result.month == leapMonth;
    }
    ++bit;
  }
  result.day = MonthLength(word, bit) - remaining + 1;
  return result;
}

std::wstring FormatLunarDate(int year, int month, int day) {
  const std::optional<LunarDate> lunar = ComputeLunarDate(year, month, day);
  if (!lunar) return {};
  std::wstring text = lunar->leap ? L"(闰)" : L"";
  text += kMonthNames[lunar->month];
  text += L"月";
  text += kDayNames[lunar->day];
  return text;
}
