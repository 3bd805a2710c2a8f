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

// What stands between "%" and the type letter: "[index:][-][width][.precision]".
struct Spec {
  bool leftAligned = false;
  std::int64_t width = 0;
  // -1: no precision. A plain number rather than an optional, which g++ 12
  // at -O3 wrongly takes for uninitialised.
  std::int64_t precision = -1;
  unsigned type = 0;  // in lower case
};

// Reads a format text from left to right, taking arguments in turn.
template <class C>
class FormatReader {
 public:
  FormatReader(View<C> format, FormatArgs args) : fFormat(format), fArgs(args) {}

  bool AtEnd() const { return fAt >= fFormat.size(); }
  // Text up to the next "%", and "%%" as a "%"; false when a conversion follows.
  bool Literal(Str<C>& out) {
    const std::size_t n = fFormat.size();
    if (fFormat[fAt] != C('%')) {
      const std::size_t percent = std::min(fFormat.find(C('%'), fAt), n);
      out.append(fFormat.substr(fAt, percent - fAt));
      fAt = percent;
      return true;
    }
    if (fAt + 1 < n && fFormat[fAt + 1] == C('%')) {
      out += C('%');
      fAt += 2;
      return true;
    }
    return false;
  }
  // The conversion at the "%" and its argument.
  Spec ReadSpec() {
    ++fAt;
    Spec spec;
    std::optional<std::int64_t> number = ReadNumber();
    if (number && Sees(C(':'))) {
      if (*number < 0) throw BadFormat{};
      fNext = static_cast<std::size_t>(*number);
      number.reset();
      ++fAt;
    }
    if (!number && Sees(C('-'))) {
      spec.leftAligned = true;
      ++fAt;
    }
    if (!number) number = ReadNumber();
    // A negative width or precision from "*" counts as none.
    spec.width = std::max<std::int64_t>(number.value_or(0), 0);
    if (Sees(C('.'))) {
      ++fAt;
      spec.precision = std::max<std::int64_t>(ReadNumber().value_or(0), -1);
    }
    if (AtEnd()) throw BadFormat{};
    spec.type = Code(fFormat[fAt++]) | 0x20;
    return spec;
  }
  const FormatArg& NextArgument() { return Argument(static_cast<std::int64_t>(fNext++)); }

 private:
  bool Sees(C c) const { return fAt < fFormat.size() && fFormat[fAt] == c; }
  bool IsDigit(std::size_t at) const {
    return at < fFormat.size() && Code(fFormat[at]) >= '0' && Code(fFormat[at]) <= '9';
  }
  const FormatArg& Argument(std::int64_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= fArgs.size()) throw BadFormat{};
    return fArgs.begin()[index];
  }
  // Digits or "*" (then the next argument, an integer); nullopt when neither is there.
  std::optional<std::int64_t> ReadNumber() {
    if (Sees(C('*'))) {
      ++fAt;
      const FormatArg& arg = NextArgument();
      if (arg.kind() != FormatArg::Kind::Integer) throw BadFormat{};
      if (arg.integer() > kMaxNumber) throw BadFormat{};
      return arg.integer();
    }
    if (!IsDigit(fAt)) return std::nullopt;
    std::int64_t value = 0;
    for (; IsDigit(fAt); ++fAt) {
      value = value * 10 + (Code(fFormat[fAt]) - '0');
      if (value > kMaxNumber) throw BadFormat{};
    }
    return value;
  }

  View<C> fFormat;
  FormatArgs fArgs;
  std::size_t fAt = 0;
  std::size_t fNext = 0;
};

// The argument as the type letter shows it, before padding to the width.
template <class C>
Str<C> FormatField(unsigned type, std::int64_t precision, const FormatArg& arg) {
  switch (type) {
    case 'd': {
      if (arg.kind() != FormatArg::Kind::Integer) throw BadFormat{};
      const std::int64_t value = arg.integer();
      const std::uint64_t magnitude =
          value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
      std::string digits = UnsignedDigits(magnitude, 10);
      PadZeros(digits, precision);
      if (value < 0) digits.insert(0, 1, '-');
      return ConvertText<C>(digits);
    }
    case 'u':
    case 'x': {
      if (arg.kind() != FormatArg::Kind::Integer) throw BadFormat{};
      std::string digits = UnsignedDigits(AsUnsigned(arg.integer()), type == 'x' ? 16 : 10);
      PadZeros(digits, precision);
      return ConvertText<C>(digits);
    }
    case 'f':
      if (arg.kind() != FormatArg::Kind::Float) throw BadFormat{};
      return ConvertText<C>(FixedText(arg.floating(), precision >= 0 ? precision : 2,
                                      FormatSettings().DecimalSeparator));
    case 's': {
      Str<C> field;
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
      return field;
    }
    default:
      throw BadFormat{};
  }
}

template <class C>
Str<C> FormatImpl(View<C> format, FormatArgs args) {
  Str<C> out;
  out.reserve(format.size() + 16);
  FormatReader<C> reader(format, args);
  while (!reader.AtEnd()) {
    if (reader.Literal(out)) continue;
    const Spec spec = reader.ReadSpec();
    const Str<C> field = FormatField<C>(spec.type, spec.precision, reader.NextArgument());
    const auto length = static_cast<std::int64_t>(field.size());
    if (length < spec.width && !spec.leftAligned)
      out.append(static_cast<std::size_t>(spec.width - length), C(' '));
    out += field;
    if (length < spec.width && spec.leftAligned) {
      out.append(static_cast<std::size_t>(spec.width - length), C(' '));
    }
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
