// The strict value readers and the Windows-1252 check a payment's text passes
// before any text becomes payment data.
#include <gtest/gtest.h>

#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/entry/Values.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

TEST(Cp1252Check, ReportsCharacterPositionsNotBytes) {
  const auto found = zor::entry::FindCharsOutsideCp1252("Łódź €5");  // Ł and ź; ó and € are there
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].index, 1u);
  EXPECT_EQ(found[0].codePoint, U'Ł');
  EXPECT_EQ(found[1].index, 4u);
  EXPECT_EQ(found[1].codePoint, U'ź');
  EXPECT_EQ(zor::entry::ForeignCharMessage(found[1]),
            "Zeichen 4: „ź“ (U+017A) gibt es in Windows-1252 nicht.");
}

TEST(Amounts, FormattedWithPointAndTwoDecimals) {
  EXPECT_EQ(zor::entry::FormatCent(5), "0.05");
  EXPECT_EQ(zor::entry::FormatCent(123456), "1234.56");
}

TEST(Dates, ReadBothWrittenFormsAndRefuseImpossibleDays) {
  EXPECT_EQ(zor::entry::ParseDate("2027-01-15"), zor::EncodeDate(2027, 1, 15));
  EXPECT_EQ(zor::entry::ParseDate("15.01.2027"), zor::EncodeDate(2027, 1, 15));
  EXPECT_EQ(zor::entry::ParseDate("2028-02-29"), zor::EncodeDate(2028, 2, 29));
  for (const char* bad : {"2027-02-29", "2027-13-01", "32.01.2027", "2027-1-5", "15.1.2027",
                          "0000-01-01", "heute", ""}) {
    EXPECT_FALSE(zor::entry::ParseDate(bad)) << bad;
  }
  EXPECT_EQ(zor::entry::FormatIsoDate(zor::EncodeDate(2027, 3, 9)), "2027-03-09");
}

// Only blanks and tabs are trimmed: not the bytes beside them, nor those of
// UTF-8 beyond ASCII, which are below the blank as signed chars.
TEST(Values, TrimOnlyBlanksAndTabs) {
  EXPECT_EQ(zor::entry::TrimmedView(" \t\xC3\xA4\x1F!\x08\t "), "\xC3\xA4\x1F!\x08");
  EXPECT_EQ(zor::entry::TrimmedView("\x1F \xA0"), "\x1F \xA0");
  EXPECT_EQ(zor::entry::TrimmedView(" \t "), "");
}

TEST(Numbers, AreDigitsOnly) {
  EXPECT_EQ(zor::entry::ParseDigits(" 0532013000 "), 532013000);
  for (const char* bad : {"", "-1", "+1", "1.0", "12a", "1234567890123456789"}) {
    EXPECT_FALSE(zor::entry::ParseDigits(bad)) << bad;
  }
  // Eight digits are read at once: every length, and the neighbours of the
  // digits, '/' and ':', at every place.
  const std::string digits = "918273645546372819";
  for (std::size_t length = 1; length <= digits.size(); ++length) {
    const std::string number = digits.substr(0, length);
    EXPECT_EQ(zor::entry::ParseDigits(number), std::stoll(number)) << number;
    for (std::size_t at = 0; at < length; ++at) {
      for (const char wrong : {'/', ':'}) {
        std::string bad = number;
        bad[at] = wrong;
        EXPECT_FALSE(zor::entry::ParseDigits(bad)) << bad;
      }
    }
  }
  EXPECT_EQ(zor::entry::ParseBool("Ja"), true);
  EXPECT_EQ(zor::entry::ParseBool("false"), false);
  EXPECT_FALSE(zor::entry::ParseBool("vielleicht"));
}

TEST(UnwritableChars, ControlCharactersOfEveryKindAlongsideForeignOnes) {
  const auto found = zor::entry::FindUnwritableChars("a\tb\x7F\xC2\x81\xC2\x80\xC3\xA4\xC5\x81\n");
  std::vector<char32_t> codePoints;
  for (const zor::entry::ForeignChar& c : found) codePoints.push_back(c.codePoint);
  // ä is Windows-1252; U+0081 is one of its gaps, passed through, but a control.
  EXPECT_EQ(codePoints, (std::vector<char32_t>{0x09, 0x7F, 0x81, 0x80, 0x141, 0x0A}));
  EXPECT_EQ(found[5].index, 9u);
  EXPECT_EQ(zor::entry::UnwritableCharMessage(found[4]),
            "Zeichen 8: „Ł“ (U+0141) gibt es in Windows-1252 nicht.");
}

TEST(Diagnostics, PlacesAreFoundAfterSortingAndAddingAndTheFirstComeInPlaceOrder) {
  zor::entry::Diagnostics d;
  d.Add("Zeile 10", "", "a");
  d.Add("Zeile 2", "", "b");
  EXPECT_FALSE(d.Mentions("Zeile 3"));
  d.Add("Auftraggeber", "", "c");
  d.Add("Zeile 2", "", "d");
  const auto first = d.FirstByPlace(3);
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[0]->message + first[1]->message + first[2]->message, "cbd");
  d.SortByPlace();
  d.Add("Zeile 3", "x\ny", "e");
  EXPECT_EQ(d.Items()[0].message + d.Items()[1].message + d.Items()[3].message, "cba");
  for (const char* where : {"Zeile 10", "Zeile 2", "Auftraggeber", "Zeile 3"}) {
    EXPECT_TRUE(d.Mentions(where)) << where;
  }
  EXPECT_EQ(d.Items()[4].field, "x y");  // a field never forges a line of the report
  EXPECT_EQ(zor::entry::GroupedCount(999900), "999.900");
  EXPECT_EQ(zor::entry::GroupedCount(1000000), "1.000.000");
  EXPECT_EQ(zor::entry::GroupedCount(100), "100");
}

// A run refused row by row keeps only the errors it prints; the cut must not
// change which come first, nor the count, nor what Mentions answers.
TEST(Diagnostics, KeptFirstByPlaceAreTheFirstByPlaceAndTheRestAreCountedAndMentioned) {
  zor::entry::Diagnostics d;
  d.KeepFirstByPlace(3);
  for (int row = 40; row >= 2; --row) d.Add("Zeile " + std::to_string(row), "", "r");
  d.Add("Zeile 2", "", "second at 2");  // after the first at its place
  d.Add("Auftraggeber", "", "client");
  d.Add("Zeile 3", "", "late");
  EXPECT_EQ(d.Count(), 42u);
  EXPECT_EQ(d.NotKept() + d.Items().size(), 42u);
  EXPECT_LE(d.Items().size(), 6u);
  const auto first = d.FirstByPlace(3);
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[0]->message + "|" + first[1]->where + first[1]->message + "|" + first[2]->message,
            "client|Zeile 2r|second at 2");
  EXPECT_FALSE(d.Keeps("Zeile 3"));
  EXPECT_TRUE(d.Keeps("Befehlszeile"));
  for (const char* where : {"Zeile 40", "Zeile 3", "Auftraggeber"}) {
    EXPECT_TRUE(d.Mentions(where)) << where;
  }
  for (const char* where : {"Zeile 41", "Zeile 040", "Buchung 3"}) {
    EXPECT_FALSE(d.Mentions(where)) << where;
  }

  // Placed in their file as a job of several files places them.
  zor::entry::Diagnostics all = d.EmptyLike();
  all.Add("dateien[1], Zeile 5", "", "one");
  all.AppendPlaced(std::move(d), "dateien[2]");
  EXPECT_EQ(all.Count(), 43u);
  EXPECT_TRUE(all.Mentions("dateien[2], Zeile 40"));
  EXPECT_FALSE(all.Mentions("Zeile 40"));
  const auto placed = all.FirstByPlace(3);
  EXPECT_EQ(placed[0]->where + "|" + placed[1]->where + "|" + placed[2]->where,
            "dateien[1], Zeile 5|dateien[2], Auftraggeber|dateien[2], Zeile 2");
  EXPECT_TRUE(d.Empty());
}

}  // namespace
