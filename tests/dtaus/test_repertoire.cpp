// The DTAUS repertoire: cleaning text for a record and decoding it back.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"

namespace {

struct RepertoireCase {
  const char* input;     // Windows-1252 bytes
  const char* fileName;  // UTF-8
  const char* expected;  // Windows-1252 bytes
};

TEST(Repertoire, RemoveInvalidCharsFollowsTheFileKind) {
  const RepertoireCase cases[] = {
      {"", "DTAUS0.TXT", ""},
      {"M\xFCller & S\xF6hne GmbH", "DTAUS0.TXT", "M]LLER & S\\HNE GMBH"},
      {"M\xFCller & S\xF6hne GmbH", "dtaus0.txt", "M\x9ALLER & S\x99HNE GMBH"},
      {"Stra\xDF"
       "e 5a",
       "DTAUS0.TXT", "STRA~E 5A"},
      {"Stra\xDF"
       "e 5a",
       "zahlung.dta",
       "STRA\xE1"
       "E 5A"},
      {"\xC4\xD6\xDC\xE4\xF6\xFC", "DTAUS0", "[\\][\\]"},
      {"\xC4\xD6\xDC\xE4\xF6\xFC", "DTAUS", "\x8E\x99\x9A\x8E\x99\x9A"},
      {"Jos\xE9 (Madrid)!", "DTAUS0.TXT", "JOS MADRID"},
      {"Jos\xE9 (Madrid)!", "other", "JOS MADRID"},
      {"[Test]", "DTAUS0.TXT", "TEST]"},
      {"[Test]", "other", "TEST"},
      {"M]LLER", "DTAUS0.TXT", "M]LLER"},
      {"\x8E\x99\x9A\xE1", "other", "\x8E\x99\x9A\xE1"},
      {"\x8E\x99\x9A\xE1", "DTAUS0.TXT", ""},
      {"$%&*+,-./09AZ", "x", "$%&*+,-./09AZ"},
      {"@!?:;'\"#_()~\\]", "x", ""},
      {"a\tb\r\nc\x7F\xA0", "DTAUS0.TXT", "ABC"},
  };
  zor::TZorDTA dta(nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " / " + c.fileName);
    dta.SetDTAFilename(ZT(c.fileName));
    EXPECT_TRUE(zortest::SameBytes(c.expected, dta.RemoveInvalidChars(c.input)));
  }
}

TEST(Repertoire, DecodeCharsRestoresUmlautsInCapitals) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"M]LLER", "M\xDCLLER"},
      {"M\x9ALLER", "M\xDCLLER"},
      {"abc", "ABC"},
      {"TEST]", "TEST\xDC"},
      {"[\\]~", "\xC4\xD6\xDC\xDF"},
      {"\x8E\x99\x9A\xE1", "\xC4\xD6\xDC\xDF"},
      {"\xE9\xE0\xFF\x9A\xDF\xB5", "\xC9\xC0\x9F\xDC\xDF\xB5"},  // 0x9A is the PC Ü
  };
  for (const auto& [input, expected] : cases) {
    SCOPED_TRACE(input);
    const auto decoded = zor::TZorDTA::DecodeChars(input);
    EXPECT_TRUE(zortest::SameBytes(expected, decoded));
  }
}

TEST(Repertoire, CleanedTextDecodesToCapitalsWithUmlauts) {
  zor::TZorDTA dta(nullptr);
  for (const char* fileName : {"DTAUS0.TXT", "lastschrift.txt"}) {
    dta.SetDTAFilename(ZT(fileName));
    const auto cleaned = dta.RemoveInvalidChars(
        "Gr\xFC\xDF"
        "e aus K\xF6ln, \xC4rger");
    EXPECT_EQ(zor::TZorDTA::DecodeChars(cleaned),
              "GR\xDC\xDF"
              "E AUS K\xD6LN, \xC4RGER");
  }
}

}  // namespace
