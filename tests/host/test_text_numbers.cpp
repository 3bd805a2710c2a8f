#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "support/TestSupport.h"

namespace {

// ---------------------------------------------------------------- numbers

TEST(IntToStr, PlainDecimal) {
  EXPECT_EQ(zor::IntToStr(0), ZT("0"));
  EXPECT_EQ(zor::IntToStr(-17), ZT("-17"));
  EXPECT_EQ(zor::IntToStr(std::numeric_limits<std::int64_t>::min()), ZT("-9223372036854775808"));
  EXPECT_EQ(zor::IntToStr(std::numeric_limits<std::int64_t>::max()), ZT("9223372036854775807"));
}

TEST(StrToInt, AcceptsBlanksSignAndDigitsOnly) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> int32;  // nullopt: invalid
    std::optional<std::int64_t> int64;
  };
  const Case cases[] = {
      {"42", 42, 42},
      {"   42", 42, 42},
      {"+7", 7, 7},
      {"-0", 0, 0},
      {"007", 7, 7},
      {"-2147483648", INT32_MIN, INT32_MIN},
      {"2147483647", INT32_MAX, INT32_MAX},
      {"2147483648", std::nullopt, 2147483648},
      {"-2147483649", std::nullopt, -2147483649},
      {"9223372036854775807", std::nullopt, INT64_MAX},
      {"-9223372036854775808", std::nullopt, INT64_MIN},
      {"9223372036854775808", std::nullopt, std::nullopt},
      {"99999999999999999999", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {" ", std::nullopt, std::nullopt},
      {"-", std::nullopt, std::nullopt},
      {"+-1", std::nullopt, std::nullopt},
      {"--1", std::nullopt, std::nullopt},
      {"- 1", std::nullopt, std::nullopt},
      {"42 ", std::nullopt, std::nullopt},
      {"\t42", std::nullopt, std::nullopt},
      {"4 2", std::nullopt, std::nullopt},
      {"0x1F", std::nullopt, std::nullopt},
      {"$1F", std::nullopt, std::nullopt},
      {"1e3", std::nullopt, std::nullopt},
      {"1.0", std::nullopt, std::nullopt},
      {"４２", std::nullopt, std::nullopt},  // full-width digits
  };
  for (const Case& c : cases) {
    const std::string ansi = zor::Utf8ToAnsi(c.text);
    const std::u16string wide = zor::Utf8ToUtf16(c.text);
    // The message quotes the text as given; the 8-bit one lacks the full-width digits.
    const auto message = [](const std::string& utf8) {
      return ZT("'" + utf8 + "' ist kein gültiger Integerwert.");
    };
    const zor::String message8 = message(zor::AnsiToUtf8(ansi));
    const zor::String message16 = message(c.text);
    if (c.int32) {
      EXPECT_EQ(zor::StrToInt(ansi), *c.int32) << c.text;
      EXPECT_EQ(zor::StrToInt(wide), *c.int32) << c.text;
    } else {
      EXPECT_THROW_MESSAGE(zor::StrToInt(ansi), message8);
      EXPECT_THROW_MESSAGE(zor::StrToInt(wide), message16);
    }
    std::int64_t value8 = 0, value16 = 0;
    EXPECT_EQ(zor::TryStrToInt64(ansi, value8), c.int64.has_value()) << c.text;
    EXPECT_EQ(zor::TryStrToInt64(wide, value16), c.int64.has_value()) << c.text;
    if (c.int64) {
      EXPECT_EQ(value8, *c.int64) << c.text;
      EXPECT_EQ(value16, *c.int64) << c.text;
      EXPECT_EQ(zor::StrToInt64(ansi), *c.int64) << c.text;
    } else {
      EXPECT_THROW_MESSAGE(zor::StrToInt64(wide), message16);
    }
  }
}

TEST(StrToFloat, FollowsTheDecimalSeparator) {
  struct Case {
    char separator;
    const char* text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {'.', "1.5", 1.5},      {'.', " -2.25\t", -2.25}, {'.', "+3", 3.0},
      {'.', ".5", 0.5},       {'.', "5.", 5.0},         {'.', "1e3", 1000.0},
      {'.', "1.5E-2", 0.015}, {'.', "-1e+2", -100.0},   {'.', "1e-400", 0.0},
      {'.', "0.1", 0.1},      {'.', "1,5", {}},         {',', "1,5", 1.5},
      {',', "1.5", {}},       {',', "-0,01", -0.01},    {'.', "", {}},
      {'.', " ", {}},         {'.', ".", {}},           {'.', "-", {}},
      {'.', "e5", {}},        {'.', "1e", {}},          {'.', "1e+", {}},
      {'.', "1.2.3", {}},     {'.', "1 000", {}},       {'.', "0x10", {}},
      {'.', "inf", {}},       {'.', "nan", {}},         {'.', "1e400", {}},
      {'.', "--1", {}},       {'.', "1.5x", {}},
  };
  for (const Case& c : cases) {
    zortest::ScopedFormatSettings settings(c.separator);
    const zor::String message = ZT("'") + ZT(c.text) + ZT("' ist kein gültiger Gleitkommawert.");
    if (c.expected) {
      EXPECT_EQ(zor::StrToFloat(std::string(c.text)), *c.expected) << c.text;
      EXPECT_EQ(zor::StrToFloat(zor::Utf8ToUtf16(c.text)), *c.expected) << c.text;
    } else {
      EXPECT_THROW_MESSAGE(zor::StrToFloat(std::string(c.text)), message);
      EXPECT_THROW_MESSAGE(zor::StrToFloat(zor::Utf8ToUtf16(c.text)), message);
    }
  }
}

// ---------------------------------------------------------------- text

// Text cases are UTF-8 and run through both overloads; the 8-bit one sees Windows-1252.
template <class Fn>
void ExpectBothWidths(Fn fn, const std::string& in, const std::string& expected) {
  EXPECT_EQ(zor::AnsiToUtf8(fn(zor::Utf8ToAnsi(in))), expected) << "8-bit " << in;
  EXPECT_EQ(zor::Utf16ToUtf8(fn(zor::Utf8ToUtf16(in))), expected) << "UTF-16 " << in;
}

TEST(Utf8Conversion, AsciiUmlautsEmojiAndMalformedBytes) {
  // Ä, €, an emoji (a surrogate pair), then a truncated, an overlong and a stray sequence.
  const std::string text = "A\xC3\x84 \xE2\x82\xAC\xF0\x9F\x98\x80!\xC0\xAF\x80z\xE2\x82";
  EXPECT_EQ(zor::Utf8ToUtf16(text),
            std::u16string(u"A\u00C4 \u20AC\U0001F600!\uFFFD\uFFFDz\uFFFD\uFFFD"));
  EXPECT_EQ(zor::Utf8ToAnsi(text), std::string("A\xC4 \x80?!??z??"));
  const std::string clean =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x80\x9Ej\xE2\x80\x9C \xF0\x9F\x98\x80";
  EXPECT_EQ(zor::Utf16ToUtf8(zor::Utf8ToUtf16(clean)), clean);
  EXPECT_EQ(zor::Utf8ToAnsi(""), "");
  EXPECT_EQ(zor::Utf8ToUtf16(std::string(40, 'x')), std::u16string(40, u'x'));
}

TEST(Utf8Conversion, EightBitTextConvertsAsItsBytesOneByOne) {
  // Every byte, alone and between runs of ASCII of every length up to 3, so a
  // run copied whole cannot drop, double or misplace a byte.
  std::string text;
  std::string expected;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const std::string run(static_cast<std::size_t>(byte % 4), 'a' + static_cast<char>(byte % 26));
    text += run + one;
    expected += run + zor::AnsiToUtf8(one);
  }
  EXPECT_EQ(zor::AnsiToUtf8(text), expected);
  EXPECT_EQ(zor::AnsiToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(zor::AnsiToUtf8(""), "");
}

TEST(Utf8Conversion, ASequenceShapedLikeOneButNotUtf8IsOneReplacement) {
  // A surrogate and a value beyond U+10FFFF, each whole; then a lead cut short.
  EXPECT_EQ(zor::Utf8ToUtf16("\xED\xA0\x80"
                             "a\xF5\x80\x80\x80"
                             "b\xE2\x82"
                             "c"),
            std::u16string(u"\uFFFDa\uFFFDb\uFFFD\uFFFDc"));
}

TEST(StrictUtf8, DecodesWellFormedSequencesAndFindsTheFirstBadByte) {
  char32_t cp = 0;
  EXPECT_EQ(zor::DecodeUtf8("x\xF0\x9F\x98\x80", 1, cp), 4u);
  EXPECT_EQ(cp, U'\U0001F600');
  EXPECT_EQ(zor::DecodeUtf8("\xC3\xBC", 0, cp), 2u);
  EXPECT_EQ(cp, U'ü');
  EXPECT_EQ(zor::DecodeUtf8("\xE2\x82", 0, cp), 0u);  // cut short at the end

  EXPECT_EQ(zor::FindMalformedUtf8("Grüße"), std::string::npos);
  EXPECT_EQ(zor::FindMalformedUtf8("ab\xC3"), 2u);            // cut short
  EXPECT_EQ(zor::FindMalformedUtf8("a\xC0\xAF"), 1u);         // overlong
  EXPECT_EQ(zor::FindMalformedUtf8("a\xE0\x80\xAF"), 1u);     // overlong, three bytes
  EXPECT_EQ(zor::FindMalformedUtf8("a\xED\xA0\x80"), 1u);     // surrogate
  EXPECT_EQ(zor::FindMalformedUtf8("M\xFCller"), 1u);         // Latin-1
  EXPECT_EQ(zor::FindMalformedUtf8("\xF4\x90\x80\x80"), 0u);  // beyond U+10FFFF
  EXPECT_EQ(zor::FindMalformedUtf8("ok \xC3\xA4\xC3"), 5u);   // after a good one
}

TEST(InWindows1252, AgreesWithTheConversionForEveryCharacterUpToU2FFF) {
  // A character the code page lacks becomes "?": what survives the round trip
  // is what payment data can hold.
  for (char32_t c = 1; c < 0x3000; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c == '?') continue;
    const std::u16string one(1, static_cast<char16_t>(c));
    const std::string text = zor::Utf16ToUtf8(one);
    const bool survives = zor::AnsiToUtf8(zor::Utf8ToAnsi(text)) == text;
    EXPECT_EQ(zor::InWindows1252(c), survives) << "U+" << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_TRUE(zor::InWindows1252('?'));
  EXPECT_FALSE(zor::InWindows1252(0x1F600));
}

// Texts of any length with 0x80-0x9F (the bytes that are not their own code
// points) anywhere, or nowhere: the whole text converts as its bytes one by one,
// and back.
TEST(AnsiToString, WholeTextsAsTheirBytesAndBack) {
  std::mt19937 rng(20261209);
  for (int n = 0; n < 2000; ++n) {
    std::string text(rng() % 40, 'a');
    for (char& c : text) c = static_cast<char>(rng() % 4 == 0 ? 0x80 + rng() % 0x80 : rng() % 0x80);
    if (n % 2 == 0) {
      for (char& c : text) c = (c & 0xE0) == 0x80 ? 'x' : c;  // half without them
    }
    zor::String expected;
    for (const char c : text) expected += zor::AnsiToString(std::string(1, c));
    ASSERT_EQ(zor::AnsiToString(text), expected) << n;
    ASSERT_EQ(zor::StringToAnsi(expected), text) << n;
  }
}

TEST(Trim, RemovesControlsAndBlanksAtTheEnds) {
  const auto trim = [](const auto& s) { return zor::Trim(s); };
  const auto left = [](const auto& s) { return zor::TrimLeft(s); };
  const auto right = [](const auto& s) { return zor::TrimRight(s); };
  ExpectBothWidths(trim, "\t a b \r\n", "a b");
  ExpectBothWidths(trim, std::string("\x01x\x1f\x00", 4), "x");
  ExpectBothWidths(trim, " \xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0");  // no-break space stays
  ExpectBothWidths(trim, " \t ", "");
  ExpectBothWidths(left, "  a  ", "a  ");
  ExpectBothWidths(right, "  a  ", "  a");
}

TEST(UpperCase, PlainAndAnsi) {
  const auto upper = [](const auto& s) { return zor::UpperCase(s); };
  const auto ansi = [](const auto& s) { return zor::AnsiUpperCase(s); };
  ExpectBothWidths(upper, "abc xyz äé 1!", "ABC XYZ äé 1!");
  ExpectBothWidths(ansi, "abc äöü éàçñ øåæ þ", "ABC ÄÖÜ ÉÀÇÑ ØÅÆ Þ");
  ExpectBothWidths(ansi, "š œ ž ÿ", "Š Œ Ž Ÿ");
  ExpectBothWidths(ansi, "ß µ ÷ × ª º", "ß µ ÷ × ª º");
  ExpectBothWidths(ansi, "ÄÖÜ€ŠŸ", "ÄÖÜ€ŠŸ");
  // Letters beyond the code page stay in UTF-16.
  EXPECT_EQ(zor::AnsiUpperCase(std::u16string(u"łąα")), u"łąα");
}

TEST(UpperCase, BothWidthsAgreeOnEveryByte) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string upper = zor::AnsiUpperCase(byte);
    EXPECT_EQ(zor::AnsiToUtf8(upper),
              zor::Utf16ToUtf8(zor::AnsiUpperCase(zor::Utf8ToUtf16(zor::AnsiToUtf8(byte)))))
        << "byte " << b;
    EXPECT_EQ(zor::AnsiUpperCase(upper), upper) << "byte " << b;
  }
}

TEST(StringReplaceAll, NonOverlappingLeftToRight) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    const char* expected;
  };
  const Case cases[] = {
      {"aaa", "aa", "b", "ba"},
      {"abcabc", "bc", "X", "aXaX"},
      {"a.b.c", ".", "", "abc"},
      {"aa", "a", "aa", "aaaa"},
      {"", "a", "b", ""},
      {"abc", "", "X", "abc"},
      {"Straße", "ß", "ss", "Strasse"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zor::AnsiToUtf8(zor::StringReplaceAll(
                  zor::Utf8ToAnsi(c.text), zor::Utf8ToAnsi(c.from), zor::Utf8ToAnsi(c.to))),
              c.expected);
    EXPECT_EQ(zor::Utf16ToUtf8(zor::StringReplaceAll(
                  zor::Utf8ToUtf16(c.text), zor::Utf8ToUtf16(c.from), zor::Utf8ToUtf16(c.to))),
              c.expected);
  }
}

// ---------------------------------------------------------------- files

TEST(ExtractFileDrive, LetterOrShare) {
  const char* cases[][2] = {
      {"A:\\DTAUS0.TXT", "A:"},
      {"c:", "c:"},
      {"1:\\x", ""},
      {"\\\\server\\share\\dir\\file", "\\\\server\\share"},
      {"\\\\server\\share", "\\\\server\\share"},
      {"\\\\server\\", "\\\\server"},
      {"/home/user/DTAUS0.TXT", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(zor::ExtractFileDrive(ZT(c[0])), ZT(c[1])) << c[0];
}

TEST(FileExists, RegularFilesOnly) {
  zortest::TempDir dir;
  std::ofstream(dir.path() / "Überweisung.txt") << "x";
  ::mkdir((dir.path() / "folder").c_str(), 0700);
  EXPECT_TRUE(zor::FileExists(dir.AsPath() + ZT("Überweisung.txt")));
  EXPECT_FALSE(zor::FileExists(dir.AsPath() + ZT("folder")));
  EXPECT_FALSE(zor::FileExists(dir.AsPath() + ZT("missing.txt")));
  EXPECT_FALSE(zor::FileExists(zor::String()));
}

}  // namespace
