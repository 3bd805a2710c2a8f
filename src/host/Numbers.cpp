#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "host/HostMessages.h"
#include "host/TextTemplates.h"
#include "zordta/host/SysUtils.h"

namespace zor {
namespace {

using detail::Code;
using detail::View;

bool IsDigit(unsigned code) {
  return code >= '0' && code <= '9';
}

// The power of ten of the first significant digit of "[-]digits[.digits][e[sign]digits]".
std::int64_t DecimalExponent(std::string_view number) {
  std::int64_t exponent = 0;
  const std::size_t e = number.find('e');
  if (e != std::string_view::npos) {
    std::size_t i = e + 1;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size() && exponent < 1000000; ++i)
      exponent = exponent * 10 + (number[i] - '0');
    if (negative) exponent = -exponent;
    number = number.substr(0, e);
  }
  const std::size_t significant = number.find_first_of("123456789");
  if (significant == std::string_view::npos) return 0;
  const std::size_t point = std::min(number.find('.'), number.size());
  return significant < point ? exponent + static_cast<std::int64_t>(point - significant) - 1
                             : exponent - static_cast<std::int64_t>(significant - point);
}

template <class C>
bool ParseInteger(View<C> text, std::int64_t min, std::int64_t max, std::int64_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == C(' ')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == C('+') || text[i] == C('-'))) {
    negative = text[i] == C('-');
    ++i;
  }
  if (i == text.size()) return false;
  const std::uint64_t limit =
      negative ? 0 - static_cast<std::uint64_t>(min) : static_cast<std::uint64_t>(max);
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(Code(text[i]))) return false;
    const unsigned digit = Code(text[i]) - '0';
    if (magnitude > (limit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
  return true;
}

template <class C>
std::int64_t IntegerOrRaise(View<C> text, std::int64_t min, std::int64_t max) {
  std::int64_t value = 0;
  if (!ParseInteger(text, min, max, value)) {
    detail::RaiseWithText(detail::hostmsg::kInvalidInteger, text);
  }
  return value;
}

template <class C>
bool ParseFloat(View<C> text, double& value) {
  std::size_t first = 0, last = text.size();
  while (first < last && Code(text[first]) <= 0x20) ++first;
  while (last > first && Code(text[last - 1]) <= 0x20) --last;
  const unsigned separator =
      Code(detail::ConvertText<C>(std::string_view(&FormatSettings().DecimalSeparator, 1))[0]);

  // A plain copy for from_chars, which knows neither '+' nor another separator.
  std::string plain;
  std::size_t i = first;
  const auto digits = [&] {
    const std::size_t start = i;
    for (; i < last && IsDigit(Code(text[i])); ++i) plain += static_cast<char>(Code(text[i]));
    return i - start;
  };
  if (i < last && (text[i] == C('+') || text[i] == C('-'))) {
    if (text[i] == C('-')) plain += '-';
    ++i;
  }
  plain += '0';  // so that ".5" reads as "0.5"
  std::size_t mantissa = digits();
  if (i < last && Code(text[i]) == separator) {
    ++i;
    plain += '.';
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < last && (text[i] == C('e') || text[i] == C('E'))) {
    ++i;
    plain += 'e';
    if (i < last && (text[i] == C('+') || text[i] == C('-'))) {
      plain += static_cast<char>(Code(text[i]));
      ++i;
    }
    if (digits() == 0) return false;
  }
  if (i != last) return false;

  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc::result_out_of_range && DecimalExponent(plain) < 0) {
    value = plain[0] == '-' ? -0.0 : 0.0;  // too small to tell from zero
    return true;
  }
  return result.ec == std::errc() && result.ptr == plain.data() + plain.size();
}

template <class C>
double FloatOrRaise(View<C> text) {
  double value = 0;
  if (!ParseFloat(text, value)) detail::RaiseWithText(detail::hostmsg::kInvalidFloat, text);
  return value;
}

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

}  // namespace

String IntToStr(std::int64_t value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return detail::ConvertText<Char>(
      std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

std::int32_t StrToInt(std::string_view text) {
  return static_cast<std::int32_t>(IntegerOrRaise(text, kInt32Min, kInt32Max));
}
std::int32_t StrToInt(std::u16string_view text) {
  return static_cast<std::int32_t>(IntegerOrRaise(text, kInt32Min, kInt32Max));
}
std::int64_t StrToInt64(std::string_view text) {
  return IntegerOrRaise(text, kInt64Min, kInt64Max);
}
std::int64_t StrToInt64(std::u16string_view text) {
  return IntegerOrRaise(text, kInt64Min, kInt64Max);
}
bool TryStrToInt64(std::string_view text, std::int64_t& value) {
  return ParseInteger(text, kInt64Min, kInt64Max, value);
}
bool TryStrToInt64(std::u16string_view text, std::int64_t& value) {
  return ParseInteger(text, kInt64Min, kInt64Max, value);
}

double StrToFloat(std::string_view text) {
  return FloatOrRaise(text);
}
double StrToFloat(std::u16string_view text) {
  return FloatOrRaise(text);
}

}  // namespace zor
