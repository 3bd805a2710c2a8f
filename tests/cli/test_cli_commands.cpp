// IBAN and BIC checks, the exit codes of bad calls, help and version, and
// printing on a real queue when the environment names one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CliRunner.h"

namespace {

using clitest::Example;
using clitest::Workspace;

TEST(IdentifierChecks, OneVerdictPerValueAndExitOneIfAnyFails) {
  Workspace ws;
  const auto good =
      ws.Run({"iban", "check", "DE89370400440532013000", "de89 3704 0044 0532 0130 00"});
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_EQ(good.out, "DE89370400440532013000: gültig\nde89 3704 0044 0532 0130 00: gültig\n");

  const auto mixed =
      ws.Run({"iban", "check"}, "GB29NWBK60161331926819\r\n\nGB29NWBK60161331926818\nŁ1\n");
  EXPECT_EQ(mixed.exitCode, 1);
  EXPECT_EQ(
      mixed.out,
      "GB29NWBK60161331926819: gültig\n"
      "GB29NWBK60161331926818: ungültig: Die Prüfziffern 29 passen nicht zur IBAN: ein Zeichen "
      "ist falsch oder vertauscht.\n"
      "Ł1: ungültig: Zeichen 1: „Ł“ (U+0141) gibt es in Windows-1252 nicht.\n");

  const auto bic = ws.Run({"bic", "check", "DEUTDEFF", "UBSWCHZH80A", "DEUTDE", "1EUTDEFF"});
  EXPECT_EQ(bic.exitCode, 1);
  EXPECT_EQ(bic.out,
            "DEUTDEFF: gültig\nUBSWCHZH80A: gültig\n"
            "DEUTDE: ungültig: Eine BIC hat 8 oder 11 Zeichen, diese hat 6.\n"
            "1EUTDEFF: ungültig: Eine BIC beginnt mit sechs Buchstaben (Bank und Land), nicht mit "
            "„1EUTDE“.\n");

  EXPECT_EQ(ws.Run({"bic", "check"}, "\n\n").exitCode, 2);  // nothing to check
}

// Characters 5 and 6 name the bank's country; banks use XK for Kosovo, which
// ISO has not assigned, and no bank uses a code left to users, such as AA.
TEST(IdentifierChecks, BicNamesACountry) {
  Workspace ws;
  const auto r = ws.Run({"bic", "check", "RBKOXKPR", "COBAZZFF", "cobaaa22"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "RBKOXKPR: gültig\n"
            "COBAZZFF: ungültig: Zeichen 5 und 6 einer BIC nennen das Land der Bank; „ZZ“ ist "
            "kein Land (ISO 3166, z.B. DE).\n"
            "cobaaa22: ungültig: Zeichen 5 und 6 einer BIC nennen das Land der Bank; „AA“ ist "
            "kein Land (ISO 3166, z.B. DE).\n");
}

TEST(Usage, BadCallsExitWithTwoAndAGermanHint) {
  Workspace ws;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"dtaus"},
           {"frobnicate"},
           {"dtaus", "write"},
           {"dtaus", "write", "--csv", "x.csv", "--bogus"},
           {"dtaus", "read"},
           {"dtaus", "read", "x", "--format", "xml"},
           {"coversheet", "x", "--copies", "0"},
           {"dtaus", "write", "--csv", "x.csv", "--delimiter", "|"},
       }) {
    const auto r = ws.Run(args);
    EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args.back()) << "\n" << r.err;
    EXPECT_EQ(r.err.rfind("Fehler: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
  }
}

TEST(Usage, HelpForEveryCommandAndTheLibraryVersion) {
  Workspace ws;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"},
                                             {"dtaus", "--help"},
                                             {"dtaus", "write", "--help"},
                                             {"dtaus", "read", "--help"},
                                             {"dtazv", "write", "--help"},
                                             {"coversheet", "--help"},
                                             {"iban", "check", "--help"},
                                             {"bic", "check", "--help"}}) {
    const auto r = ws.Run(args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Aufruf: zordta"), std::string::npos) << r.out;
  }
  const auto version = ws.Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "zordta 4.1.2\n");
}

TEST(Printing, AQueueThatFailsCostsNeitherFileNorPdf) {
  Workspace ws;
  const auto r = ws.Run(
      {"dtaus", "write", "--job", Example("cli/beitraege.json"), "--print=zordta-no-such-queue"});
  // The files stand, so not 1 (nothing written): 3, written but not printed.
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.err.rfind("Fehler: Die Dateien sind geschrieben, der Begleitzettel wurde aber nicht "
                        "gedruckt: ",
                        0),
            0u)
      << r.err;
  EXPECT_EQ(ws.Read("beitraege.dta").substr(0, 5), "0128A");
  EXPECT_EQ(ws.Read("beitraege.dta.begleitzettel.pdf").substr(0, 5), "%PDF-");
  EXPECT_TRUE(ws.Exists("beitraege.dta.begleitzettel.txt"));
}

// Needs a CUPS queue (a cups-pdf one will do): ZORDTA_CUPS_QUEUE=name.
TEST(Printing, CoverSheetsGoToTheNamedQueue) {
  const char* queue = std::getenv("ZORDTA_CUPS_QUEUE");
  if (!queue || !*queue) GTEST_SKIP() << "ZORDTA_CUPS_QUEUE not set";
  Workspace ws;
  const auto write = ws.Run({"dtaus", "write", "--job", Example("cli/beitraege.json"),
                             std::string("--print=") + queue, "--copies", "2"});
  ASSERT_EQ(write.exitCode, 0) << write.err;
  EXPECT_NE(write.out.find("Gedruckt: 2 Begleitzettel"), std::string::npos) << write.out;
  EXPECT_EQ(ws.Read("beitraege.dta.begleitzettel.pdf").substr(0, 5), "%PDF-");

  const auto sheet = ws.Run({"coversheet", "beitraege.dta", std::string("--print=") + queue});
  EXPECT_EQ(sheet.exitCode, 0) << sheet.err;

  const auto missing = ws.Run({"coversheet", "beitraege.dta", "--print=zordta-no-such-queue"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err.rfind("Fehler: ", 0), 0u) << missing.err;
}

}  // namespace
