// The DTAZV repertoire: what RemoveInvalidChars makes of every byte, of whole
// texts, and that its result is clean and stays as it is.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "support/TestSupport.h"
#include "zordta/ZorDTAZV.h"

namespace {

bool InRepertoire(unsigned char b) {
  return b == ' ' || (b >= '+' && b <= '/') || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z');
}

// The net effect on one byte, written out independently of the steps taken.
std::string ExpectedFor(unsigned char b) {
  if (InRepertoire(b)) return std::string(1, static_cast<char>(b));
  if (b >= 'a' && b <= 'z') return std::string(1, static_cast<char>(b - 'a' + 'A'));
  switch (b) {
    case 0xC4:
    case 0xE4:
      return "AE";
    case 0xD6:
    case 0xF6:
      return "OE";
    case 0xDC:
    case 0xFC:
      return "UE";
    case 0xDF:
      return "SS";
    default:
      return "";
  }
}

TEST(RepertoireZV, Texts) {
  const std::pair<const char*, const char*> cases[] = {
      {"Müller & Söhne (Zürich)", "MUELLER  SOEHNE ZUERICH"},
      {"Straße 5a", "STRASSE 5A"},
      {"Café", "CAF"},
      {"", ""},
      {"ÄÖÜäöüß", "AEOEUEAEOEUESS"},
      {"Rechnung: 4711/2026, Pos. 3+4 - Rest!", "RECHNUNG 4711/2026, POS. 3+4 - REST"},
      {"  a\tb\r\nc  ", "  ABC  "},
      {"Šœžÿ€µ", ""},
  };
  zor::TZorDTAZV zv(nullptr);
  for (const auto& [input, expected] : cases) {
    SCOPED_TRACE(input);
    EXPECT_TRUE(zortest::SameBytes(ZA(expected), zv.RemoveInvalidChars(ZA(input))));
  }
}

TEST(RepertoireZV, EveryByte) {
  zor::TZorDTAZV zv(nullptr);
  int kept = 0;
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string input(1, static_cast<char>(b));
    EXPECT_TRUE(zortest::SameBytes(ExpectedFor(static_cast<unsigned char>(b)),
                                   zv.RemoveInvalidChars(input)));
    if (InRepertoire(static_cast<unsigned char>(b))) ++kept;
  }
  EXPECT_EQ(kept, 42);
}

// Random texts over all bytes: each byte is cleaned on its own (no context, no
// merged blanks), the result holds only the repertoire and a second pass keeps it.
TEST(RepertoireZV, RandomTextsCleanOnceAndForAll) {
  zor::TZorDTAZV zv(nullptr);
  std::mt19937 rng(20260512);
  for (int n = 0; n < 3000; ++n) {
    std::string input;
    const auto length = rng() % 40;
    for (std::uint32_t i = 0; i < length; ++i) input += static_cast<char>(rng() & 0xFF);

    std::string expected;
    for (char c : input) expected += ExpectedFor(static_cast<unsigned char>(c));
    const auto cleaned = zv.RemoveInvalidChars(input);
    ASSERT_TRUE(zortest::SameBytes(expected, cleaned)) << "text " << n;
    for (char c : cleaned) ASSERT_TRUE(InRepertoire(static_cast<unsigned char>(c))) << "text " << n;
    ASSERT_EQ(zv.RemoveInvalidChars(cleaned), cleaned) << "text " << n;
  }
}

}  // namespace
