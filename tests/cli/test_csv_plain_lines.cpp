// Plain lines are split in place, the rest by libcsv: both must give the same
// rows, lines and faults, so the text is read the same way by both paths. The
// same for the shortcuts past the library's UTF-8 decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "io/CsvPlainLine.h"
#include "io/CsvReader.h"
#include "io/EntryNames.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/host/Text.h"

namespace {

struct Rows {
  std::vector<std::string> rows;  // "line|cell|cell...", then "/purpose line..."
  std::vector<std::string> faults;
  bool readable = true;
};

Rows Read(std::string_view text, char delimiter, zcli::CsvSplitting splitting,
          zcli::CsvReading reading = zcli::CsvReading::First) {
  Rows read;
  zcli::Diagnostics errors;
  // A row split in place takes its purpose lines without a search for line breaks.
  static const zcli::CsvColumns columns{{{"name", "name"}}, {}};
  std::optional<zcli::CsvRecordReader> reader;
  std::size_t width = 0;
  const std::function<bool(const zcli::CsvRow&)> take = [&](const zcli::CsvRow& row) {
    std::string shown = std::to_string(row.line);
    for (const std::string_view cell : row.cells) (shown += "|") += cell;
    if (!reader) {
      zcli::Diagnostics headerFaults;
      reader.emplace(row, columns, headerFaults);
      width = row.cells.size();
    } else if (row.cells.size() == width) {
      reader->ForEachPurposeLine(row, [&shown](std::string_view line) { (shown += "/") += line; });
    }
    read.rows.push_back(shown);
    return true;
  };
  zcli::CsvRowStream stream(delimiter, errors, take, reading, splitting);
  read.readable = stream.Feed(text) && stream.Finish();
  for (const zcli::Diagnostic& d : errors.Items()) {
    read.faults.push_back(d.where + "|" + d.field + "|" + d.message);
  }
  return read;
}

void ExpectSameRows(const std::string& text, char delimiter) {
  const Rows plain = Read(text, delimiter, zcli::CsvSplitting::PlainLinesInPlace);
  const Rows libcsv = Read(text, delimiter, zcli::CsvSplitting::LibcsvOnly);
  EXPECT_EQ(plain.rows, libcsv.rows) << testing::PrintToString(text) << " " << delimiter;
  EXPECT_EQ(plain.faults, libcsv.faults) << testing::PrintToString(text) << " " << delimiter;
  EXPECT_EQ(plain.readable, libcsv.readable) << testing::PrintToString(text) << " " << delimiter;
}

TEST(CsvPlainLines, SplitWhatIsPlainAndLeaveTheRestToLibcsv) {
  std::vector<std::string_view> cells;
  ASSERT_TRUE(zcli::SplitPlainCsvLine(" \"M\xC3\xBCller, A\" ;12,5; x \t;\r\n", ';', cells));
  EXPECT_EQ(cells, (std::vector<std::string_view>{"M\xC3\xBCller, A", "12,5", "x", ""}));
  ASSERT_TRUE(zcli::SplitPlainCsvLine("\t\"a \"\t\t", '\t', cells));
  EXPECT_EQ(cells, (std::vector<std::string_view>{"", "a ", "", ""}));
  for (const char* line :
       {"a,\"b\"\"c\"\n", "a,b\"c\n", "\"a\" b,c\n", "a,\"b\n", "a\rb,c\n", " \t \r\n", ""}) {
    EXPECT_FALSE(zcli::SplitPlainCsvLine(line, ',', cells)) << testing::PrintToString(line);
  }
}

TEST(CsvPlainLines, GiveTheRowsLinesAndFaultsLibcsvGives) {
  const std::vector<std::string> chosen = {
      "name,vwz1\n\"a\",\"b\nc\"\nd,\"e\"\"f\"\n\"g\" , h \r\n",
      "name;vwz1\r\n\"x\";\"y\"\r\n\r\n  \r\n;\n\"open\n",
      "name,vwz1\n\"a\"\r\"b\nc\",d\n\xC5\x81,\"\t\"\ne,\x7F\n\"z\"  ",
      "name\tvwz1\n\"a\tb\"\t\"\"\n\t\n \"q\" \t x\n",
  };
  for (const std::string& text : chosen) {
    for (const char delimiter : {',', ';', '\t'}) ExpectSameRows(text, delimiter);
  }
  // Texts of the pieces that decide how a line is split, at random.
  const std::vector<std::string> pieces = {"a",  "\xC3\xA4", "\xC5\x81", " ",    "\t",   ",",
                                           ";",  "\"",       "\"\"",     "\r",   "\n",   "\r\n",
                                           "\n", "\x7F",     "\xC2\x85", "name", "vwz1", "x y"};
  std::mt19937 random(20261209);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const std::size_t length = random() % 30;
    for (std::size_t i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    for (const char delimiter : {',', ';', '\t'}) ExpectSameRows(text, delimiter);
    ExpectSameRows("name,vwz1,vwz2\n" + text, ',');
    if (HasFailure()) break;
  }
}

// A text CheckCsvUtf8 calls plain has its plain lines left unchecked: it must
// hold nothing a check would report, whichever the delimiter. Its line breaks
// are counted on the way.
TEST(CsvPlainLines, OfPlainCharsAreReadAsWhenChecked) {
  const std::vector<std::string> pieces = {
      "abcdefgh", "\xC3\xA4", "\xE2\x82\xAC", "\xC5\x81", "\xC2\x85", "\x7F",  "\t",      "\x01",
      "\r\n",     "\n",       "\r",           "\"",       ",",        "a b;c", "\xC2\xA0"};
  std::mt19937 random(99);
  int plainTexts = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = "name,vwz1\n";
    for (std::size_t i = random() % 8; i > 0; --i) text += pieces[random() % pieces.size()];
    // Mostly plain: a piece that is not at most once.
    if (random() % 2 == 0) text += "\n" + pieces[random() % pieces.size()] + ",x\n";
    zcli::Diagnostics errors;
    zcli::CsvTextFacts facts;
    ASSERT_TRUE(zcli::CheckCsvUtf8(text, 1, errors, facts));
    int lineEnds = 0;  // LF, CR LF or a CR alone
    for (std::size_t i = 0; i < text.size(); ++i) {
      lineEnds += text[i] == '\n' || (text[i] == '\r' && text[i + 1] != '\n');
    }
    ASSERT_EQ(facts.lineBreaks, lineEnds);
    bool expected = true;
    for (const zcli::ForeignChar& c : zcli::FindUnwritableChars(text)) {
      expected = expected && (c.codePoint == '\n' || c.codePoint == '\r');
    }
    ASSERT_EQ(facts.plainChars, expected) << testing::PrintToString(text);
    if (!facts.plainChars) continue;
    ++plainTexts;
    for (const char delimiter : {',', ';', '\t'}) {
      const Rows checked = Read(text, delimiter, zcli::CsvSplitting::PlainLinesInPlace);
      const Rows plain = Read(text, delimiter, zcli::CsvSplitting::PlainLinesInPlace,
                              zcli::CsvReading::FirstOfPlainChars);
      EXPECT_EQ(plain.rows, checked.rows) << testing::PrintToString(text);
      EXPECT_EQ(plain.faults, checked.faults) << testing::PrintToString(text);
    }
    if (HasFailure()) break;
  }
  EXPECT_GT(plainTexts, 300);
}

}  // namespace

namespace {

// The shortcuts past the library's decoding must answer what it answers.
TEST(Utf8Shortcuts, AgreeWithTheLibrarysDecoding) {
  for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
    for (unsigned next = 0; next <= 0xFF; ++next) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(next)};
      const unsigned char letter = zcli::Latin1LetterAt(pair, 0);
      char32_t codePoint = 0;
      const bool latin1 =
          zor::DecodeUtf8(pair, 0, codePoint) == 2 && codePoint >= 0xA0 && codePoint <= 0xFF;
      ASSERT_EQ(letter != 0, latin1) << lead << " " << next;
      if (latin1) {
        ASSERT_EQ(zor::Utf8ToAnsi(pair), std::string(1, static_cast<char>(letter)));
      }
    }
  }
  // Malformed UTF-8 is named at the byte the library names, after plain runs of eight.
  const std::vector<std::string> pieces = {
      "a",  "abcdefgh", "\xC3\xA4",     "\xC3",         "\x80",
      "\n", "\xC0\x80", "\xED\xA0\x80", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (std::size_t i = random() % 12; i > 0; --i) text += pieces[random() % pieces.size()];
    zcli::Diagnostics errors;
    const bool wellFormed = zcli::CheckCsvUtf8(text, 1, errors);
    const std::size_t malformed = zor::FindMalformedUtf8(text);
    ASSERT_EQ(wellFormed, malformed == std::string::npos) << testing::PrintToString(text);
    if (wellFormed) continue;
    const std::string before = text.substr(0, malformed);
    const std::size_t lineStart =
        before.rfind('\n') == std::string::npos ? 0 : before.rfind('\n') + 1;
    EXPECT_EQ(
        errors.Items()[0].message.rfind(
            "Spalte " + std::to_string(zcli::CharCount(before.substr(lineStart)) + 1) + ":", 0),
        0u)
        << testing::PrintToString(text);
  }
}

}  // namespace
