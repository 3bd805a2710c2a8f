// What zordta takes as input: each value once and as written, bad input
// refused in time linear in its size, and odd inputs (folders, pipes,
// standard input) named clearly.
#include <gtest/gtest.h>

#include <sstream>

#include "CliRunner.h"

namespace {

using clitest::Workspace;

const std::vector<std::string> kClient = {"--name",   "Zor GmbH", "--blz",
                                          "37040044", "--konto",  "532013000"};

std::vector<std::string> Args(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(LinearTimeOnBadInput, OnlyTheFirstHundredFaultsArePrintedWithTheCountOfAll) {
  Workspace ws;
  std::string bad = "name,konto,blz,betrag\n";
  std::string odd = bad;
  for (int i = 0; i < 300; ++i) {
    bad += "Łukasz,1234567890,50010517,1\n";
    odd += "Anna #" + std::to_string(i) + ",1234567890,50010517,1\n";  // "#" is dropped
  }
  ws.Write("bad.csv", bad);
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "bad.csv"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  const std::vector<std::string> lines = LinesOf(r.err);
  ASSERT_EQ(lines.size(), 102u) << r.err.substr(0, 2000);
  EXPECT_EQ(lines[0].rfind("bad.csv: Zeile 2,", 0), 0u);
  EXPECT_EQ(lines[99].rfind("bad.csv: Zeile 101,", 0), 0u);
  EXPECT_EQ(lines[100], "… und 200 weitere Fehler.");
  EXPECT_EQ(lines[101], "Nichts geschrieben: 300 Fehler.");

  ws.Write("odd.csv", odd);
  const auto warned = ws.Run(Args({"dtaus", "write", "--csv", "odd.csv", "--dry-run"}, kClient));
  EXPECT_EQ(warned.exitCode, 0) << warned.err.substr(0, 2000);
  const std::vector<std::string> warnings = LinesOf(warned.err);
  ASSERT_EQ(warnings.size(), 101u) << warned.err.substr(0, 2000);
  EXPECT_EQ(warnings[99].rfind("Warnung: odd.csv: Zeile 101,", 0), 0u);
  EXPECT_EQ(warnings[100], "… und 200 weitere Warnungen.");
}

}  // namespace
