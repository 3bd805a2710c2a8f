#include <time.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/TestSupport.h"

namespace {

std::string FormatDate8(const std::string& format, zor::TDateTime value) {
  return zor::AnsiToUtf8(zor::FormatDateTime(zor::Utf8ToAnsi(format), value));
}
std::string FormatDate16(const std::string& format, zor::TDateTime value) {
  return zor::Utf16ToUtf8(zor::FormatDateTime(zor::Utf8ToUtf16(format), value));
}

TEST(EncodeDate, KnownDays) {
  struct Case {
    int year, month, day;
    double expected;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},       {1899, 12, 29, -1},     {1900, 1, 1, 2},     {1900, 3, 1, 61},
      {1970, 1, 1, 25569},     {2000, 2, 29, 36585},   {2024, 3, 1, 45352}, {1, 1, 1, -693593},
      {9999, 12, 31, 2958465}, {1600, 2, 29, -109512}, {2100, 3, 1, 73110},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zor::EncodeDate(c.year, c.month, c.day), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(EncodeDate, InvalidDatesRaise) {
  const int cases[][3] = {{1900, 2, 29}, {2100, 2, 29}, {2023, 2, 29}, {2024, 4, 31}, {2024, 1, 0},
                          {2024, 0, 1},  {2024, 13, 1}, {0, 12, 31},   {10000, 1, 1}, {-1, 1, 1}};
  for (const auto& c : cases) {
    zor::TDate date = 123;
    EXPECT_FALSE(zor::TryEncodeDate(c[0], c[1], c[2], date)) << c[0] << "-" << c[1] << "-" << c[2];
    EXPECT_THROW_MESSAGE(zor::EncodeDate(c[0], c[1], c[2]),
                         ZT("Ungültiges Argument zum Codieren des Datums."));
  }
}

TEST(DecodeDate, EveryDayRoundTrips) {
  int year = 0, month = 0, day = 0;
  int lastYear = 1, lastMonth = 1, lastDay = 0;
  for (int serial = -693593; serial <= 2958465; ++serial) {
    // Before 1899-12-30 a time of day makes the value more negative.
    const double withTime = serial < 0 ? serial - 0.75 : serial + 0.75;
    ASSERT_TRUE(zor::TryDecodeDate(withTime, year, month, day)) << serial;
    // Consecutive serials are consecutive calendar days.
    const bool nextDay = year == lastYear && month == lastMonth && day == lastDay + 1;
    const bool nextMonth = year == lastYear && month == lastMonth + 1 && day == 1;
    const bool nextYear = year == lastYear + 1 && month == 1 && day == 1 && lastMonth == 12;
    ASSERT_TRUE(nextDay || nextMonth || nextYear) << serial;
    ASSERT_EQ(zor::EncodeDate(year, month, day), serial);
    lastYear = year, lastMonth = month, lastDay = day;
  }
  EXPECT_EQ(year, 9999);
}

TEST(DecodeDate, CutsTheValueAndRejectsWhatIsNoDate) {
  int year = 0, month = 0, day = 0;
  ASSERT_TRUE(zor::TryDecodeDate(-1.5, year, month, day));
  EXPECT_EQ(year * 10000 + month * 100 + day, 18991229);
  ASSERT_TRUE(zor::TryDecodeDate(-0.9, year, month, day));
  EXPECT_EQ(year * 10000 + month * 100 + day, 18991230);
  ASSERT_TRUE(zor::TryDecodeDate(2958465.999, year, month, day));
  EXPECT_EQ(year, 9999);

  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        -693594,
                        2958466,
                        1e300};
  for (double value : bad) {
    EXPECT_FALSE(zor::TryDecodeDate(value, year, month, day)) << value;
    EXPECT_THROW_MESSAGE(zor::DecodeDate(value, year, month, day), ZT("Ungültiger Datumswert."));
    EXPECT_THROW_MESSAGE(zor::FormatDateTime("dd", value), ZT("Ungültiger Datumswert."));
  }
}

TEST(FormatDateTime, Tokens) {
  const double value = zor::EncodeDate(2024, 3, 5) + (13 * 3600 + 7 * 60 + 9) / 86400.0;
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"dd", "05"},
      {"d", "5"},
      {"mm", "03"},
      {"m", "3"},
      {"yy", "24"},
      {"yyyy", "2024"},
      {"ddmmyy", "050324"},
      {"ddmmyyyy", "05032024"},
      {"dd.mm.yyyy", "05.03.2024"},
      {"DD.MM.YYYY", "05.03.2024"},
      {"dd/mm/yyyy", "05-03-2024"},
      {"hh:nn:ss", "13:07:09"},
      {"h:n:s", "13:7:9"},
      {"hh:mm", "13:07"},              // minutes after hours
      {"hh mm dd.mm", "13 07 05.03"},  // months again after a date token
      {"'dd' \"mm\" dd", "dd mm 05"},
      {"Tag: dd", "Tag: 05"},  // T, a, g are no tokens
      {"'open", "open"},
  };
  zortest::ScopedFormatSettings settings('.', '-');
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDate8(c.format, value), c.expected) << c.format;
    EXPECT_EQ(FormatDate16(c.format, value), c.expected) << c.format;
  }
}

TEST(FormatDateTime, YearsAndTimeEdges) {
  EXPECT_EQ(FormatDate8("yy yyyy", zor::EncodeDate(5, 1, 1)), "05 0005");
  EXPECT_EQ(FormatDate8("yy yyyy", zor::EncodeDate(2100, 1, 1)), "00 2100");
  // 12:00:01 comes out slightly below in binary; the time is rounded to milliseconds.
  EXPECT_EQ(FormatDate16("hh:nn:ss", 45000 + 0.5 + 1 / 86400.0), "12:00:01");
  // Just below midnight stays on the same day.
  EXPECT_EQ(FormatDate8("dd hh:nn:ss", zor::EncodeDate(2024, 3, 5) + 0.99999999999), "05 23:59:59");
  // Before 1899-12-30 the fraction is still the time of day.
  EXPECT_EQ(FormatDate8("dd.mm.yyyy hh:nn", -1.25), "29.12.1899 06:00");
}

TEST(DateToStr, FollowsTheShortDateFormat) {
  const double value = zor::EncodeDate(2024, 12, 24);
  {
    zortest::ScopedFormatSettings german('.', '.', "dd/mm/yyyy");
    EXPECT_EQ(zor::DateToStr(value), ZT("24.12.2024"));
  }
  {
    zortest::ScopedFormatSettings us('.', '/', "m/d/yy");
    EXPECT_EQ(zor::DateToStr(value), ZT("12/24/24"));
  }
}

TEST(Clock, PinnedAndSystem) {
  {
    zortest::ScopedClock clock(45000.75);
    EXPECT_EQ(zor::Now(), 45000.75);
    EXPECT_EQ(zor::Date(), 45000.0);
  }
  // The system clock gives local time: the UTC seconds plus the zone's offset.
  const time_t before = ::time(nullptr);
  const double now = zor::Now();
  struct tm local {};
  ::localtime_r(&before, &local);
  const double expected = 25569 + static_cast<double>(before + local.tm_gmtoff) / 86400;
  EXPECT_NEAR(now, expected, 2.0 / 86400);
  EXPECT_EQ(zor::Date(), std::trunc(zor::Now()));
}

TEST(Clock, AClockMayReplaceItself) {
  zor::SetClock([] {
    zor::SetClock([] { return 2.0; });
    return 1.0;
  });
  EXPECT_EQ(zor::Now(), 1.0);
  EXPECT_EQ(zor::Now(), 2.0);
  zor::SetClock(nullptr);
}

}  // namespace
