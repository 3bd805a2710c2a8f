#include <locale.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "host/PosixDateFormat.h"
#include "support/TestSupport.h"

namespace {

using zor::FormatArg;

// Every case runs through both overloads; formats, arguments and results are UTF-8 here.
std::string Format8(const std::string& format, zor::FormatArgs args) {
  return zor::AnsiToUtf8(zor::Format(zor::Utf8ToAnsi(format), args));
}
std::string Format16(const std::string& format, zor::FormatArgs args) {
  return zor::Utf16ToUtf8(zor::Format(zor::Utf8ToUtf16(format), args));
}

struct Case {
  const char* format;
  FormatArg arg;
  std::string expected;
};

void ExpectBoth(const Case& c) {
  EXPECT_EQ(Format8(c.format, {c.arg}), c.expected) << "8-bit " << c.format;
  EXPECT_EQ(Format16(c.format, {c.arg}), c.expected) << "UTF-16 " << c.format;
}

TEST(Format, Integers) {
  const Case cases[] = {
      {"%d", 0, "0"},
      {"%d", -42, "-42"},
      {"%8d", 123, "     123"},
      {"%-8d|", 123, "123     |"},
      {"%.4d", -5, "-0005"},
      {"%.8d", 1234, "00001234"},
      {"%.10d", std::int64_t{9999999999}, "9999999999"},
      {"%.17d", 12345, "00000000000012345"},
      {"%.17d", std::int64_t{123456789012345678}, "123456789012345678"},  // never cut
      {"%.7d", 0, "0000000"},
      {"%.2d", 123, "123"},
      {"%.4dC", 7, "0007C"},
      {"%6.3d", -7, "  -007"},
      {"%d", std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
      {"%d", std::numeric_limits<std::int64_t>::max(), "9223372036854775807"},
      {"%x", 255, "FF"},
      {"%.4x", 255, "00FF"},
      {"%x", -1, "FFFFFFFF"},
      {"%x", std::numeric_limits<std::int64_t>::min(), "8000000000000000"},
      {"%u", -1, "4294967295"},
      {"%u", 42u, "42"},
      {"100%%", 0, "100%"},
  };
  for (const Case& c : cases) ExpectBoth(c);
}

TEST(Format, Texts) {
  const Case cases[] = {
      {"02%-27.27s", "Muster GmbH", "02Muster GmbH                "},
      {"%-27.27s", "Zahlungsempfaenger mit langem Namen", "Zahlungsempfaenger mit lang"},
      {"%5s|", "ab", "   ab|"},
      {"%.2s", "abc", "ab"},
      {"%.0s|", "abc", "|"},
      {"%s", "", ""},
  };
  for (const Case& c : cases) ExpectBoth(c);
}

TEST(Format, TextArgumentsAreConvertedToTheFormatsWidth) {
  const std::string umlauts = zor::Utf8ToAnsi("Müller €");
  EXPECT_EQ(zor::Format(u"<%s>", {umlauts}), u"<Müller €>");
  EXPECT_EQ(zor::Format("<%s>", {u"Müller € ł"}), zor::Utf8ToAnsi("<Müller € ?>"));
  // Width and precision count characters of the result.
  EXPECT_EQ(zor::Format("%-4.3s|", {u"äöüß"}), zor::Utf8ToAnsi("äöü |"));
}

TEST(Format, FloatsRoundTheExactValueWithTiesAwayFromZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"%f", 1.0, "1.00"},
      {"%9.2f", 1234.5, "  1234.50"},
      {"%11.2f", -1234567.891, "-1234567.89"},
      {"%1.2f", 0.5, "0.50"},
      {"%.2f", 12.125, "12.13"},  // exact tie
      {"%.2f", 0.125, "0.13"},    // exact tie, glibc gives 0.12
      {"%.2f", -0.125, "-0.13"},
      {"%.0f", 2.5, "3"},
      {"%.0f", 0.5, "1"},
      {"%.0f", -2.5, "-3"},
      {"%.2f", 1.005, "1.00"},  // the double lies below 1.005
      {"%.2f", 0.995, "0.99"},
      {"%.2f", 1.015, "1.01"},  // 1.01499999999999990230...
      {"%.2f", 2.675, "2.67"},
      {"%.1f", 0.45, "0.5"},  // 0.450000000000000011102...
      {"%.2f", 9.995, "9.99"},
      {"%.2f", 99.999, "100.00"},
      {"%.0f", 0.49999999999999994, "0"},
      {"%.3f", 1e-300, "0.000"},
      {"%.2f", -0.001, "0.00"},
      {"%.2f", -0.0, "0.00"},
      {"%.2f", 1e20, "100000000000000000000.00"},
      {"%.2f", 9007199254740993.0, "9007199254740992.00"},
      {"%.30f", 0.1, "0.100000000000000005551115123126"},
      {"%9.2f", nan, "      NAN"},
      {"%f", inf, "INF"},
      {"%f", -inf, "-INF"},
  };
  for (const Case& c : cases) ExpectBoth(c);
}

TEST(Format, FloatsUseTheDecimalSeparator) {
  zortest::ScopedFormatSettings german(',');
  EXPECT_EQ(Format8("%9.2f", {1234.5}), "  1234,50");
  EXPECT_EQ(Format16("%.0f|%.1f", {7.0, -0.25}), "7|-0,3");
}

TEST(Format, FloatsIgnoreTheCLibrarysLocale) {
  locale_t german = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
  if (german == static_cast<locale_t>(0)) GTEST_SKIP() << "no German locale installed";
  const locale_t saved = uselocale(german);
  const std::string f = Format8("%.2f", {12.125});
  const double parsed = zor::StrToFloat(std::string("2.5"));
  uselocale(saved);
  freelocale(german);
  EXPECT_EQ(f, "12.13");
  EXPECT_EQ(parsed, 2.5);
}

TEST(Format, IndexAndStar) {
  EXPECT_EQ(Format8("%1:s %0:s %s", {"a", "b"}), "b a b");
  EXPECT_EQ(Format16("%*d|%-*d|%.*d", {4, 7, 3, 8, 3, 9}), "   7|8  |009");
  EXPECT_EQ(Format8("%*.*f", {8, 3, 2.0}), "   2.000");
}

TEST(Format, MismatchesRaiseWithTheFormatText) {
  struct Bad {
    const char* format;
    zor::FormatArgs args;
  };
  const Bad cases[] = {
      {"%d", {1.5}}, {"%d", {"12"}},    {"%f", {1}},      {"%s", {1}},          {"%s", {2.0}},
      {"%x", {1.0}}, {"%d %d", {1}},    {"%s", {}},       {"abc%", {1}},        {"%q", {1}},
      {"%5%", {1}},  {"%*d", {"5", 1}}, {"%2:d", {1, 2}}, {"%.*f", {2.0, 1.0}},
  };
  for (const Bad& c : cases) {
    const auto message = [&](const std::string& format) {
      return ZT("Format '" + format + "' ungültig oder nicht kompatibel mit Argument.");
    };
    EXPECT_THROW_MESSAGE(zor::Format(std::string(c.format), c.args), message(c.format));
    EXPECT_THROW_MESSAGE(zor::Format(zor::Utf8ToUtf16(c.format), c.args), message(c.format));
  }
  // A format with characters of its own keeps them in the message.
  EXPECT_THROW_MESSAGE(zor::Format(u"Größe %d", {"x"}),
                       ZT("Format 'Größe %d' ungültig oder nicht kompatibel mit Argument."));
}

TEST(FormatSettings, ShortDateFromTheLocalesPattern) {
  struct Pattern {
    const char* posix;
    const char* format;
    char separator;
  };
  const Pattern cases[] = {
      {"%d.%m.%Y", "dd.mm.yyyy", '.'},
      {"%m/%d/%y", "mm/dd/yy", '/'},
      {"%m/%d/%Y", "mm/dd/yyyy", '/'},
      {"%e.%m.%Y", "dd.mm.yyyy", '.'},
      {"%Y-%m-%d", "yyyy-mm-dd", '-'},
      {"%F", "yyyy-mm-dd", '-'},
      {"%D", "mm/dd/yy", '/'},
      {"%Y. %m. %d.", "yyyy. mm. dd.", '.'},
      {"%d de %m de %Y", "dd \"de\" mm \"de\" yyyy", '/'},
      {"%Od/%Om/%EY", "dd/mm/yyyy", '/'},
      {"", "", '/'},
  };
  for (const Pattern& c : cases) {
    const auto converted = zor::detail::ShortDateFromPosix(c.posix);
    EXPECT_EQ(converted.format, c.format) << c.posix;
    EXPECT_EQ(converted.separator, c.separator) << c.posix;
  }
}

}  // namespace
