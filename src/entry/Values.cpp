#include "zordta/entry/Values.h"

#include <cstdio>

#include "zordta/detail/DigitRun.h"
#include "zordta/host/SysUtils.h"

namespace zor::entry {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

std::int64_t DigitsValue(std::string_view text) {
  std::int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string Trimmed(std::string_view text) {
  return std::string(TrimmedView(text));
}

std::optional<std::int64_t> ParseDigits(std::string_view text) {
  const std::string_view t = TrimmedView(text);
  if (t.empty() || t.size() > 18) return std::nullopt;
  // Every account and bank code comes here, some twice: the last eight digits
  // are checked and read in one word, those before them one at a time.
  const std::size_t head = t.size() >= 8 ? t.size() - 8 : t.size();
  std::int64_t value = 0;
  for (const char c : t.substr(0, head)) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (head == t.size()) return value;
  std::uint32_t last = 0;
  if (!zor::detail::ReadEightDigits(t.data() + head, last)) return std::nullopt;
  return value * 100'000'000 + last;
}

std::string FormatCent(std::int64_t cent) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cent / 100),
                static_cast<long long>(cent % 100));
  return text;
}

std::optional<zor::TDate> ParseDate(std::string_view text) {
  const std::string t = Trimmed(text);
  int year = 0, month = 0, day = 0;
  const std::string_view v(t);
  if (v.size() == 10 && v[4] == '-' && v[7] == '-' && AllDigits(v.substr(0, 4)) &&
      AllDigits(v.substr(5, 2)) && AllDigits(v.substr(8, 2))) {
    year = static_cast<int>(DigitsValue(v.substr(0, 4)));
    month = static_cast<int>(DigitsValue(v.substr(5, 2)));
    day = static_cast<int>(DigitsValue(v.substr(8, 2)));
  } else if (v.size() == 10 && v[2] == '.' && v[5] == '.' && AllDigits(v.substr(0, 2)) &&
             AllDigits(v.substr(3, 2)) && AllDigits(v.substr(6, 4))) {
    day = static_cast<int>(DigitsValue(v.substr(0, 2)));
    month = static_cast<int>(DigitsValue(v.substr(3, 2)));
    year = static_cast<int>(DigitsValue(v.substr(6, 4)));
  } else {
    return std::nullopt;
  }
  zor::TDate date = 0;
  if (year < 1 || !zor::TryEncodeDate(year, month, day, date)) return std::nullopt;
  return date;
}

std::string FormatIsoDate(zor::TDate date) {
  int year = 0, month = 0, day = 0;
  if (!zor::TryDecodeDate(date, year, month, day)) return std::string();
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::string FormatIsoDate(const std::chrono::year_month_day& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

std::optional<bool> ParseBool(std::string_view text) {
  const std::string t = Lower(Trimmed(text));
  if (t == "true" || t == "ja" || t == "1") return true;
  if (t == "false" || t == "nein" || t == "0") return false;
  return std::nullopt;
}

}  // namespace zor::entry
