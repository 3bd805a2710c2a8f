// Plain lines are split in place, the rest by libcsv: both must give the same
// rows, lines and faults, so the text is read the same way by both paths.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "io/CsvPlainLine.h"
#include "io/CsvReader.h"

namespace {

struct Rows {
  std::vector<std::string> rows;  // "line|cell|cell..."
  std::vector<std::string> faults;
  bool readable = true;
};

Rows Read(std::string_view text, char delimiter, zcli::CsvSplitting splitting) {
  Rows read;
  zcli::Diagnostics errors;
  const std::function<bool(const zcli::CsvRow&)> take = [&read](const zcli::CsvRow& row) {
    std::string shown = std::to_string(row.line);
    for (const std::string_view cell : row.cells) (shown += "|") += cell;
    read.rows.push_back(shown);
    return true;
  };
  zcli::CsvRowStream stream(delimiter, errors, take, zcli::CsvReading::First, splitting);
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
    if (HasFailure()) break;
  }
}

}  // namespace
