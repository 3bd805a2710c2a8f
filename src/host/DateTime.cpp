#include <time.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "host/HostMessages.h"
#include "host/TextTemplates.h"
#include "zordta/host/SysUtils.h"

namespace zor {
namespace {

using detail::Code;
using detail::ConvertText;
using detail::Str;
using detail::View;

constexpr std::int64_t kFirstDay = -693593;  // 0001-01-01
constexpr std::int64_t kLastDay = 2958465;   // 9999-12-31
constexpr std::int64_t kUnixEpoch = 25569;   // 1970-01-01
constexpr std::int64_t kMsPerDay = 86400000;

// Proleptic Gregorian day numbers (days since 1970-01-01), valid for every year here.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

// The calendar day of a day number, by Neri and Schneider's affine functions:
// a few multiplications in place of the divisions of the count by eras and
// centuries, as every booking decodes its execution date. The days are moved
// on by 82 cycles of 400 years, so that every one counted here is positive, and
// the year is taken to begin on 1 March, so that February's length comes last.
void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  constexpr std::uint32_t kCycles = 82;
  const auto shifted = static_cast<std::uint32_t>(days + 719468 + 146097 * kCycles);
  const std::uint32_t quarterDays = 4 * shifted + 3;
  const std::uint32_t century = quarterDays / 146097;
  const std::uint64_t withinCentury = std::uint64_t{2939745} * ((quarterDays % 146097) | 3);
  const auto yearOfCentury = static_cast<std::uint32_t>(withinCentury >> 32);
  const std::uint32_t dayOfYear = static_cast<std::uint32_t>(withinCentury) / 2939745 / 4;
  const std::uint32_t monthAndDay = 2141 * dayOfYear + 197913;
  const std::uint32_t marchMonth = monthAndDay >> 16;
  const bool januaryOrFebruary = dayOfYear >= 306;
  year = static_cast<int>(100 * century + yearOfCentury) - static_cast<int>(400 * kCycles) +
         (januaryOrFebruary ? 1 : 0);
  month = static_cast<int>(januaryOrFebruary ? marchMonth - 12 : marchMonth);
  day = static_cast<int>((monthAndDay & 0xFFFF) / 2141 + 1);
}

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// ---------------------------------------------------------------- clock

struct ClockState {
  std::mutex mutex;
  TClock clock;
  bool zoneRead = false;
  bool zoneWasSet = false;  // TZ as it was when the zone was last read
  std::string zoneSetting;
  // The local day and second of the day of the last UTC second asked for.
  // Writers ask for today at every booking; within one second the answer
  // cannot change, so localtime_r runs once a second at most.
  bool localKnown = false;
  std::int64_t utcSecond = 0;
  std::int64_t localDays = 0;
  std::int64_t localSecondOfDay = 0;
};

ClockState& Clock() {
  // Never destroyed: Now() may still be called while other statics are torn down.
  static ClockState* state = new ClockState;
  return *state;
}

// localtime_r need not look at TZ again, so a changed TZ is read here. Not on every
// call: tzset looks the zone file up each time. A change of the system's zone
// file itself shows in a new process. Called with the state locked.
void ReadZoneWhenChanged(ClockState& state) {
  const char* setting = std::getenv("TZ");
  const std::string_view current = setting ? std::string_view(setting) : std::string_view();
  if (state.zoneRead && state.zoneWasSet == (setting != nullptr) && state.zoneSetting == current) {
    return;
  }
  tzset();
  state.zoneRead = true;
  state.zoneWasSet = setting != nullptr;
  state.zoneSetting.assign(current);
  state.localKnown = false;
}

// Called with the state locked.
TDateTime SystemNow(ClockState& state) {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  const std::int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
  std::int64_t seconds = ms / 1000;
  std::int64_t milliseconds = ms % 1000;
  if (milliseconds < 0) milliseconds += 1000, --seconds;

  ReadZoneWhenChanged(state);
  if (!state.localKnown || state.utcSecond != seconds) {
    const auto time = static_cast<time_t>(seconds);
    struct tm local {};
    localtime_r(&time, &local);
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second
    state.localDays = DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                    static_cast<unsigned>(local.tm_mday));
    state.localSecondOfDay = (local.tm_hour * 60 + local.tm_min) * 60 + second;
    state.utcSecond = seconds;
    state.localKnown = true;
  }
  const std::int64_t msOfDay = state.localSecondOfDay * 1000 + milliseconds;
  return static_cast<double>(state.localDays + kUnixEpoch) +
         static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
}

// ---------------------------------------------------------------- FormatDateTime

template <class C>
void AppendNumber(Str<C>& out, int value, std::size_t minDigits) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  const auto length = static_cast<std::size_t>(end - buffer);
  if (length < minDigits) out.append(minDigits - length, C('0'));
  detail::AppendAscii(out, std::string_view(buffer, length));
}

template <class C>
Str<C> FormatDateTimeImpl(View<C> format, TDateTime value) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  // The time of day to the millisecond; it never carries into the next day, as the
  // date is the value cut off.
  std::int64_t ms = std::llround(std::fabs(value - std::trunc(value)) * kMsPerDay);
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  const int hour = static_cast<int>(ms / 3600000);
  const int minute = static_cast<int>(ms / 60000 % 60);
  const int second = static_cast<int>(ms / 1000 % 60);
  const Str<C> dateSeparator = ConvertText<C>(std::string_view(&FormatSettings().DateSeparator, 1));

  Str<C> out;
  unsigned lastToken = 0;
  const std::size_t n = format.size();
  for (std::size_t i = 0; i < n;) {
    const C c = format[i];
    std::size_t run = 1;
    while (i + run < n && format[i + run] == c) ++run;
    unsigned token = Code(c);
    if (token >= 'a' && token <= 'z') token -= 'a' - 'A';
    if (token >= 'A' && token <= 'Z') {
      if (token == 'M' && lastToken == 'H') token = 'N';
      lastToken = token;
    }
    switch (token) {
      case 'Y':
        if (run <= 2) {
          AppendNumber(out, year % 100, 2);
        } else {
          AppendNumber(out, year, 4);
        }
        i += run;
        break;
      case 'M':
      case 'D':
        // Runs longer than "dd" or "mm" repeat: "ddd" is "dd" and "d".
        run = std::min<std::size_t>(run, 2);
        AppendNumber(out, token == 'M' ? month : day, run);
        i += run;
        break;
      case 'H':
      case 'N':
      case 'S':
        AppendNumber(out, token == 'H' ? hour : token == 'N' ? minute : second, run == 1 ? 1 : 2);
        i += run;
        break;
      case '/':
        out += dateSeparator;
        ++i;
        break;
      case '\'':
      case '"': {
        const std::size_t close = std::min(format.find(c, i + 1), n);
        out.append(format.substr(i + 1, close - i - 1));
        i = close + 1;
        break;
      }
      default:
        out += c;
        ++i;
        break;
    }
  }
  return out;
}

}  // namespace

void SetClock(TClock clock) {
  ClockState& state = Clock();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.clock = std::move(clock);
}

TDateTime Now() {
  // One lock for the common case of no replaced clock: the writers ask at every
  // booking. A replaced clock is called outside the lock, on a copy, so that it
  // may itself call SetClock.
  TClock clock;
  {
    ClockState& state = Clock();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.clock) return SystemNow(state);
    clock = state.clock;
  }
  return clock();
}

TDate Date() {
  return std::trunc(Now());
}

bool TryEncodeDate(int year, int month, int day, TDate& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  date = static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixEpoch);
  return true;
}

TDate EncodeDate(int year, int month, int day) {
  TDate date = 0;
  if (!TryEncodeDate(year, month, day, date)) {
    throw EConvertError(StringFromUtf8(detail::hostmsg::kDateEncodeError));
  }
  return date;
}

bool TryDecodeDate(TDateTime date, int& year, int& month, int& day) {
  if (!std::isfinite(date)) return false;
  const double whole = std::trunc(date);
  if (whole < static_cast<double>(kFirstDay) || whole > static_cast<double>(kLastDay)) return false;
  CivilFromDays(static_cast<std::int64_t>(whole) - kUnixEpoch, year, month, day);
  return true;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  if (!TryDecodeDate(date, year, month, day)) {
    throw EConvertError(StringFromUtf8(detail::hostmsg::kInvalidDate));
  }
}

std::string FormatDateTime(std::string_view format, TDateTime date) {
  return FormatDateTimeImpl(format, date);
}

std::u16string FormatDateTime(std::u16string_view format, TDateTime date) {
  return FormatDateTimeImpl(format, date);
}

String DateToStr(TDateTime date) {
  const String format = ConvertText<Char>(std::string_view(FormatSettings().ShortDateFormat));
  return FormatDateTime(View<Char>(format), date);
}

}  // namespace zor
