#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "host/HostMessages.h"
#include "host/TextTemplates.h"
#include "zordta/host/SysUtils.h"

namespace zor {
namespace {

using detail::Code;
using detail::ConvertText;
using detail::Str;
using detail::View;

// Raised while formatting; becomes the host's message with the whole format text.
struct BadFormat {};

// Far beyond any record width; keeps a typo such as "%99999999d" from asking for gigabytes.
constexpr std::int64_t kMaxNumber = 1 << 20;

std::string UnsignedDigits(std::uint64_t value, int base) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
  std::string digits(buffer, end);
  for (char& c : digits) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return digits;
}

// minDigits < 0: no minimum.
void PadZeros(std::string& digits, std::int64_t minDigits) {
  if (static_cast<std::int64_t>(digits.size()) < minDigits) {
    digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  }
}

// %u and %x show a negative value as its two's complement: in 32 bits when it fits
// an Integer (the usual argument), else in 64.
std::uint64_t AsUnsigned(std::int64_t value) {
  if (value < 0 && value >= INT32_MIN) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
  }
  return static_cast<std::uint64_t>(value);
}

// The value with `decimals` digits after the separator, rounded to nearest from its exact
// binary value, an exact tie away from zero.
//
// to_chars (like printf) prints exact digits but breaks ties to even, so we ask for
// decimals + 40 digits and round that text ourselves. That is right as long as the printed
// digits never show a tie the exact value is not: rounding is monotonic and a tie point t
// prints exactly, so x < t, x = t and x > t stay apart.
// t = k / (2 * 10^decimals); for x = M * 2^E (M < 2^53), x != t means
// |x - t| >= min(1, 2^E) / (2 * 10^decimals), and the printed digits err by less than
// 0.5 * 10^-(decimals + 40); a false tie thus needs 2^E < 10^-40, i.e. E <= -133.
// Near a tie x >= 5 * 10^-(decimals + 1) >= 5 * 10^-24 for decimals <= 23, so x >= 2^-78
// and E >= -130. Beyond 23 decimals we print all up to 1074 digits, which is exact.
std::string FixedText(double value, std::int64_t decimals, char separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const auto kept = static_cast<std::size_t>(decimals);
  const int printed =
      static_cast<int>(decimals <= 23 ? decimals + 40 : std::max<std::int64_t>(decimals + 1, 1075));
  // Unlike printf, to_chars writes '.' whatever the C library's locale is.
  std::string text(static_cast<std::size_t>(printed) + 320, '\0');
  const auto printedEnd = std::to_chars(text.data(), text.data() + text.size(), std::fabs(value),
                                        std::chars_format::fixed, printed)
                              .ptr;
  text.resize(static_cast<std::size_t>(printedEnd - text.data()));

  const std::size_t point = text.find('.');
  std::string digits = text.substr(0, point) + text.substr(point + 1, kept);
  if (text[point + 1 + kept] >= '5') {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, 1, '1');
    } else {
      ++digits[i - 1];
    }
  }
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  std::string out = std::signbit(value) && !zero ? "-" : "";
  const std::size_t integerDigits = digits.size() - kept;
  out.append(digits, 0, integerDigits);
  if (kept > 0) {
    out += separator;
    out.append(digits, integerDigits, std::string::npos);
  }
  return out;
}

template <class C>
Str<C> FormatImpl(View<C> format, FormatArgs args) {
  Str<C> out;
  out.reserve(format.size() + 16);
  const std::size_t n = format.size();
  std::size_t i = 0;
  std::size_t next = 0;

  const auto argument = [&](std::int64_t index) -> const FormatArg& {
    if (index < 0 || static_cast<std::size_t>(index) >= args.size()) throw BadFormat{};
    return args.begin()[index];
  };
  const auto isDigit = [&](std::size_t at) {
    return at < n && Code(format[at]) >= '0' && Code(format[at]) <= '9';
  };
  // Digits or "*" (then the next argument, an integer); nullopt when neither is there.
  const auto readNumber = [&]() -> std::optional<std::int64_t> {
    if (i < n && format[i] == C('*')) {
      ++i;
      const FormatArg& arg = argument(static_cast<std::int64_t>(next++));
      if (arg.kind() != FormatArg::Kind::Integer) throw BadFormat{};
      if (arg.integer() > kMaxNumber) throw BadFormat{};
      return arg.integer();
    }
    if (!isDigit(i)) return std::nullopt;
    std::int64_t value = 0;
    for (; isDigit(i); ++i) {
      value = value * 10 + (Code(format[i]) - '0');
      if (value > kMaxNumber) throw BadFormat{};
    }
    return value;
  };

  while (i < n) {
    if (format[i] != C('%')) {
      const std::size_t percent = std::min(format.find(C('%'), i), n);
      out.append(format.substr(i, percent - i));
      i = percent;
      continue;
    }
    ++i;
    if (i < n && format[i] == C('%')) {
      out += C('%');
      ++i;
      continue;
    }
    std::optional<std::int64_t> number = readNumber();
    if (number && i < n && format[i] == C(':')) {
      if (*number < 0) throw BadFormat{};
      next = static_cast<std::size_t>(*number);
      number.reset();
      ++i;
    }
    bool leftAligned = false;
    if (!number && i < n && format[i] == C('-')) {
      leftAligned = true;
      ++i;
    }
    if (!number) number = readNumber();
    // A negative width or precision from "*" counts as none.
    const std::int64_t width = std::max<std::int64_t>(number.value_or(0), 0);
    // -1: no precision. A plain number rather than an optional, which g++ 12
    // at -O3 wrongly takes for uninitialised.
    std::int64_t precision = -1;
    if (i < n && format[i] == C('.')) {
      ++i;
      precision = std::max<std::int64_t>(readNumber().value_or(0), -1);
    }
    if (i >= n) throw BadFormat{};
    const unsigned type = Code(format[i++]) | 0x20;
    const FormatArg& arg = argument(static_cast<std::int64_t>(next++));

    Str<C> field;
    switch (type) {
      case 'd': {
        if (arg.kind() != FormatArg::Kind::Integer) throw BadFormat{};
        const std::int64_t value = arg.integer();
        const std::uint64_t magnitude =
            value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        std::string digits = UnsignedDigits(magnitude, 10);
        PadZeros(digits, precision);
        if (value < 0) digits.insert(0, 1, '-');
        field = ConvertText<C>(digits);
        break;
      }
      case 'u':
      case 'x': {
        if (arg.kind() != FormatArg::Kind::Integer) throw BadFormat{};
        std::string digits = UnsignedDigits(AsUnsigned(arg.integer()), type == 'x' ? 16 : 10);
        PadZeros(digits, precision);
        field = ConvertText<C>(digits);
        break;
      }
      case 'f':
        if (arg.kind() != FormatArg::Kind::Float) throw BadFormat{};
        field = ConvertText<C>(FixedText(arg.floating(), precision >= 0 ? precision : 2,
                                         FormatSettings().DecimalSeparator));
        break;
      case 's':
        if (arg.kind() == FormatArg::Kind::Ansi) {
          field = ConvertText<C>(arg.ansi());
        } else if (arg.kind() == FormatArg::Kind::Wide) {
          field = ConvertText<C>(arg.wide());
        } else {
          throw BadFormat{};
        }
        if (precision >= 0 && static_cast<std::int64_t>(field.size()) > precision) {
          field.resize(static_cast<std::size_t>(precision));
        }
        break;
      default:
        throw BadFormat{};
    }
    const auto length = static_cast<std::int64_t>(field.size());
    if (length < width && !leftAligned)
      out.append(static_cast<std::size_t>(width - length), C(' '));
    out += field;
    if (length < width && leftAligned) out.append(static_cast<std::size_t>(width - length), C(' '));
  }
  return out;
}

template <class C>
Str<C> FormatOrRaise(View<C> format, FormatArgs args) {
  try {
    return FormatImpl(format, args);
  } catch (const BadFormat&) {
    detail::RaiseWithText(detail::hostmsg::kInvalidFormat, format);
  }
}

}  // namespace

std::string Format(std::string_view format, FormatArgs args) {
  return FormatOrRaise(format, args);
}

std::u16string Format(std::u16string_view format, FormatArgs args) {
  return FormatOrRaise(format, args);
}

}  // namespace zor
