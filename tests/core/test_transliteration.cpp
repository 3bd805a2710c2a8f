// The one table of base letters, and the umlauts as each format takes them.
#include <gtest/gtest.h>

#include "zordta/Transliteration.h"

namespace {

using zor::AnsiBaseLetters;
using zor::BaseLetters;
using zor::Umlauts;

TEST(Transliteration, LettersBecomeBaseLettersInTheirCaseAndUmlautsAsChosen) {
  EXPECT_EQ(BaseLetters(U'Ä', Umlauts::Spelled), "AE");
  EXPECT_EQ(BaseLetters(U'ö', Umlauts::Spelled), "oe");
  EXPECT_EQ(BaseLetters(U'ß', Umlauts::Spelled), "ss");
  EXPECT_EQ(BaseLetters(U'Ä', Umlauts::Kept), "");
  EXPECT_EQ(BaseLetters(U'ß', Umlauts::Kept), "");

  for (const Umlauts umlauts : {Umlauts::Spelled, Umlauts::Kept}) {
    EXPECT_EQ(BaseLetters(U'é', umlauts), "e");
    EXPECT_EQ(BaseLetters(U'Ø', umlauts), "O");
    EXPECT_EQ(BaseLetters(U'Æ', umlauts), "AE");
    EXPECT_EQ(BaseLetters(U'þ', umlauts), "th");
    EXPECT_EQ(BaseLetters(U'ĳ', umlauts), "ij");
    EXPECT_EQ(BaseLetters(U'Ł', umlauts), "L");
    EXPECT_EQ(BaseLetters(U'ſ', umlauts), "s");
    // No letter, or none of the table: a format maps its signs itself.
    EXPECT_EQ(BaseLetters(U'×', umlauts), "");
    EXPECT_EQ(BaseLetters(U'e', umlauts), "");
    EXPECT_EQ(BaseLetters(U'€', umlauts), "");
    EXPECT_EQ(BaseLetters(U'ƀ', umlauts), "");
  }
}

TEST(Transliteration, AnsiBytesAreWindows1252Letters) {
  EXPECT_EQ(AnsiBaseLetters('\x8A', Umlauts::Spelled), "S");
  EXPECT_EQ(AnsiBaseLetters('\x9C', Umlauts::Spelled), "oe");
  EXPECT_EQ(AnsiBaseLetters('\x9F', Umlauts::Spelled), "Y");
  EXPECT_EQ(AnsiBaseLetters('\xDC', Umlauts::Spelled), "UE");
  EXPECT_EQ(AnsiBaseLetters('\xDC', Umlauts::Kept), "");
  EXPECT_EQ(AnsiBaseLetters('\xE7', Umlauts::Kept), "c");
  // The euro sign and the hook f: no letters of the table.
  EXPECT_EQ(AnsiBaseLetters('\x80', Umlauts::Spelled), "");
  EXPECT_EQ(AnsiBaseLetters('\x83', Umlauts::Spelled), "");
}

}  // namespace
