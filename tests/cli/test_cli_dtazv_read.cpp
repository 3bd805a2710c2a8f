// zordta dtazv read, run as a user runs it: what it prints writes the same file
// again, and what the writer cannot write is refused by name, never dropped.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRunner.h"

namespace {

using clitest::Example;
using clitest::Workspace;

std::string Corpus(const std::string& name) {
  return std::string(ZORDTA_TEST_DATA_DIR) + "/dtazv-corpus/" + name + ".dtazv";
}

void ExpectSameBytes(const std::string& expected, const std::string& actual) {
  const std::size_t size = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < size; ++i) {
    if (expected[i] != actual[i]) {
      ADD_FAILURE() << "first difference at byte " << i << ": expected 0x" << std::hex
                    << int(static_cast<unsigned char>(expected[i])) << ", got 0x"
                    << int(static_cast<unsigned char>(actual[i]));
      return;
    }
  }
  EXPECT_EQ(expected.size(), actual.size());
}

// The listing's own text is nlohmann's dump, also where it writes payments by hand.
void ExpectDumpShape(const std::string& out) {
  EXPECT_EQ(nlohmann::ordered_json::parse(out).dump(2, ' ', false) + "\n", out);
}

TEST(DtazvRead, JsonAndCsvWriteTheSameFileAgain) {
  Workspace ws;
  ws.Write("z.csv",
           "bic,iban,name,name2,ort,betrag,waehrung,datum,verwendungszweck1,notiz\n"
           "BNPAFRPP,FR1420041010050500013M02606,Dubois,Atelier,Paris,100,EUR," +
               clitest::IsoDateFromToday(2) +
               ",Rechnung 1,intern\n"
               "UBSWCHZH80A,CH9300762011623852957,Jäger AG,,Zürich,\"12800,50\",CHF,"
               ",\"Auftrag 77, Teil 2\",\n");
  const std::vector<std::string> client = {
      "--name",       "Müller GmbH", "--ort",        "Stuttgart", "--blz",         "60050101",
      "--konto",      "1234567",     "--waehrung",   "EUR",       "--zahlungsart", "10",
      "--lfd-nummer", "7",           "--bundesland", "8",         "--no-text",     "--no-pdf"};
  std::vector<std::string> write = {"dtazv", "write", "--csv", "z.csv", "--dateiname", "A"};
  write.insert(write.end(), client.begin(), client.end());
  ASSERT_EQ(ws.Run(write).exitCode, 0);

  const auto json = ws.Run({"dtazv", "read", "A"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  ExpectDumpShape(json.out);
  EXPECT_EQ(nlohmann::json::parse(json.out)["zahlungsart"], 10);
  ws.Write("a.json", json.out);
  ASSERT_EQ(
      ws.Run({"dtazv", "write", "--job", "a.json", "--dateiname", "B", "--no-text", "--no-pdf"})
          .exitCode,
      0);
  ExpectSameBytes(ws.Read("A"), ws.Read("B"));

  const auto csv = ws.Run({"dtazv", "read", "--format", "csv", "-"}, ws.Read("A"));
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  ws.Write("a.csv", csv.out);
  write = {"dtazv", "write", "--csv", "a.csv", "--dateiname", "C"};
  write.insert(write.end(), client.begin(), client.end());
  ASSERT_EQ(ws.Run(write).exitCode, 0);
  ExpectSameBytes(ws.Read("A"), ws.Read("C"));
}

TEST(DtazvRead, WhatTheWriterCannotWriteIsShownAndRefusedByName) {
  Workspace ws;
  for (const char* name : {"reports_v_and_w", "instruction_keys", "bank_by_address"}) {
    SCOPED_TRACE(name);
    const auto json = ws.Run({"dtazv", "read", Corpus(name)});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    ExpectDumpShape(json.out);
    const auto csv = ws.Run({"dtazv", "read", "--format", "csv", Corpus(name)});
    EXPECT_EQ(csv.exitCode, 1);
    EXPECT_EQ(csv.out, "");
    EXPECT_NE(csv.err.find("Ohne --format csv (als JSON) geht nichts verloren."), std::string::npos)
        << csv.err;
  }
  const auto read = ws.Run({"dtazv", "read", Corpus("reports_v_and_w")});
  const auto payment = nlohmann::json::parse(read.out)["buchungen"][0];
  EXPECT_EQ(payment["meldungen"][1]["satzart"], "W");
  EXPECT_EQ(payment["meldungen"][1]["text"], "221 DIENSTLEISTUNG");
  ws.Write("r.json", read.out);
  const auto again = ws.Run({"dtazv", "write", "--job", "r.json", "--dry-run"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("meldungen"), std::string::npos) << again.err;
  EXPECT_NE(again.err.find("Außenwirtschaftsverordnung"), std::string::npos) << again.err;
}

TEST(DtazvRead, ARefusedFilePrintsNothingAndNamesRecordAndByte) {
  Workspace ws;
  const auto bad = ws.Run({"dtazv", "read", Corpus("lower_case_name")});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("Datensatz 2, Byte 467"), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find("versuchen Sie --tolerant."), std::string::npos) << bad.err;
  const auto tolerant = ws.Run({"dtazv", "read", "--tolerant", Corpus("lower_case_name")});
  EXPECT_EQ(tolerant.exitCode, 0) << tolerant.err;
  EXPECT_NE(tolerant.err.find("Hinweis: "), std::string::npos);
  const auto totals = ws.Run({"dtazv", "read", Corpus("sum_counts_hundredths")});
  EXPECT_EQ(totals.exitCode, 1);
  EXPECT_EQ(totals.out, "");
}

TEST(DtazvCoverSheet, TheSheetOfAWrittenFileHasItsFiguresAndAFileItWouldMisstateHasNone) {
  Workspace ws;
  ASSERT_EQ(ws.Run({"dtazv", "write", "--job", Example("cli/auslandszahlungen.json"), "--no-pdf"})
                .exitCode,
            0);
  const auto sheet = ws.Run({"coversheet", "DTAZV"});
  ASSERT_EQ(sheet.exitCode, 0) << sheet.err;
  // As written, but the client's name as the file holds it.
  std::string written = ws.Read("DTAZV.begleitzettel.txt");
  const std::string from = "Müller Maschinenbau GmbH, 70173 Stuttgart";
  written.replace(written.find(from), from.size(), "MUELLER MASCHINENBAU GMBH, 70173 STUTTGART");
  EXPECT_EQ(sheet.out, written);

  for (const char* name : {"reports_v_and_w", "count_disagrees", "two_payments"}) {
    const auto refused = ws.Run({"coversheet", Corpus(name)});
    EXPECT_EQ(refused.exitCode, 1) << name;
    EXPECT_EQ(refused.out, "") << name;
    EXPECT_NE(refused.err.find("Kein Begleitzettel"), std::string::npos) << refused.err;
  }
}

}  // namespace
