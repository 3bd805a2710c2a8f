// zordta sepa read: what it prints is a job (or CSV) that "sepa write" takes,
// and writing that again gives the same payments; a refused file prints nothing.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "SepaReadBack.h"

namespace {

using clitest::IsoDateFromToday;
using clitest::Workspace;
using nlohmann::json;

// What a read says of the payments and the settings, without what names this
// one file (its path, its creation time).
TEST(SepaRead, JsonOfDebitsIsAJobThatWritesTheSamePayments) {
  Workspace ws;
  const json job = {{"auftraggeber",
                     {{"name", "Sportverein Muster e.V."},
                      {"iban", "DE89370400440532013000"},
                      {"bic", "COBADEFFXXX"}}},
                    {"lastschriften", true},
                    {"glaeubiger_id", "DE98ZZZ09999999999"},
                    {"lastart", "B2B"},
                    {"nachricht_id", "LS-7"},
                    {"buchungen",
                     {{{"name", "Anna Schmidt, \"Nanni\""},
                       {"iban", "DE02500105170137075030"},
                       {"betrag", "14.07"},
                       {"verwendungszweck", "Beitrag Dezember"},
                       {"zweck", "INSU"},
                       {"mandat_id", "M-43"},
                       {"mandat_datum", "2025-01-31"},
                       {"sequenz", "RCUR"},
                       {"datum", IsoDateFromToday(5)}},
                      {{"name", "Jürgen Weiß & Söhne"},
                       {"iban", "DE02120300000000202051"},
                       {"bic", "BYLADEM1001"},
                       {"betrag", "120"},
                       {"ende_zu_ende_id", "AUF-42"},
                       {"mandat_id", "M-42"},
                       {"mandat_datum", "2025-11-02"},
                       {"sequenz", "FRST"},
                       {"datum", IsoDateFromToday(3)}}}}};
  ws.Write("job.json", job.dump());
  ASSERT_EQ(ws.Run({"sepa", "write", "--job", "job.json"}).exitCode, 0);

  const auto first = ws.Run({"sepa", "read", "sepa-lastschriften.xml"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_NE(first.err.find("2 Lastschriften in 2 Zahlungsblöcken, Summe 134,07 EUR"),
            std::string::npos)
      << first.err;
  const json read = json::parse(first.out);
  EXPECT_EQ(read["buchungen"].size(), 2u);
  EXPECT_EQ(read["buchungen"][0]["datum"], IsoDateFromToday(3));
  EXPECT_FALSE(read["buchungen"][0].contains("zweck"));
  EXPECT_EQ(read["buchungen"][1]["zweck"], "INSU");
  EXPECT_EQ(read["summen"], (json{{"anzahl", 2}, {"betrag", "134.07"}}));

  clitest::ExpectWrittenAgainTheSame(ws, first.out, "again.xml");
}

TEST(SepaRead, CsvOfTransfersIsInputThatWritesTheSamePayments) {
  Workspace ws;
  const std::string date = IsoDateFromToday(2);
  ws.Write("in.csv",
           "name,iban,bic,betrag,verwendungszweck,ende_zu_ende_id,zweck\n"
           "\"Weiß, Jürgen\",DE02120300000000202051,BYLADEM1001,120.00,Rechnung 42,RE-42,sala\n"
           "Anna Schmidt,DE02500105170137075030,,\"14,07\",,,\n");
  const std::vector<std::string> client = {
      "--name", "Muster GmbH", "--iban", "DE89370400440532013000", "--ausfuehrung", date};
  std::vector<std::string> write = {"sepa", "write", "--csv", "in.csv"};
  write.insert(write.end(), client.begin(), client.end());
  ASSERT_EQ(ws.Run(write).exitCode, 0);

  const auto first = ws.Run({"sepa", "read", "--format", "csv", "sepa-ueberweisungen.xml"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.out,
            "name,iban,bic,betrag,ende_zu_ende_id,verwendungszweck,zweck,datum,strasse,hausnummer,"
            "plz,ort,land,glaeubigerreferenz,endempfaenger,endzahler,kategorie\r\n"
            "\"Weiß, Jürgen\",DE02120300000000202051,BYLADEM1001,120.00,RE-42,Rechnung 42,SALA," +
                date + ",,,,,,,,,\r\nAnna Schmidt,DE02500105170137075030,,14.07,,,," + date +
                ",,,,,,,,,\r\n");

  ws.Write("again.csv", first.out);
  write = {"sepa", "write", "--csv", "again.csv", "--dateiname", "again.xml"};
  write.insert(write.end(), client.begin(), client.end());
  ASSERT_EQ(ws.Run(write).exitCode, 0);
  EXPECT_EQ(ws.Run({"sepa", "read", "--format", "csv", "again.xml"}).out, first.out);
}

// The payments before the fault are valid; none of them is printed.
TEST(SepaRead, ARefusedFilePrintsNothingAndNamesTheLine) {
  Workspace ws;
  ASSERT_EQ(ws.Run({"sepa", "write", "--csv", "-", "--name", "Muster GmbH", "--iban",
                    "DE89370400440532013000", "--ausfuehrung", IsoDateFromToday(2)},
                   "name,iban,betrag\nAnna,DE02500105170137075030,1.00\n"
                   "Berta,DE02120300000000202051,2.00\n")
                .exitCode,
            0);
  const std::string good = ws.Read("sepa-ueberweisungen.xml");
  // The header's control sum is compared once every payment has been read.
  std::string damaged = good;
  damaged.replace(damaged.find("<CtrlSum>3.00"), 13, "<CtrlSum>3.01");
  ws.Write("sum.xml", damaged);
  // Bytes cut off the end.
  ws.Write("cut.xml", good.substr(0, good.rfind("</PmtInf>")));
  for (const auto& [file, text] :
       {std::pair{"sum.xml", "Zeile 8: Der Dateikopf nennt in CtrlSum eine andere Summe"},
        {"cut.xml", "endet vor dem Ende des Dokuments"}}) {
    for (const char* format : {"json", "csv"}) {
      const auto r = ws.Run({"sepa", "read", file, "--format", format});
      EXPECT_EQ(r.exitCode, 1) << file;
      EXPECT_EQ(r.out, "") << file;
      EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("Zeile "), std::string::npos) << r.err;
    }
  }
}

// A text beyond the parser's limit is no broken XML, and a control character
// in a quoted value is named by its code.
TEST(SepaRead, ALimitOrAControlCharacterIsNamedAsSuch) {
  Workspace ws;
  ASSERT_EQ(ws.Run({"sepa", "write", "--csv", "-", "--name", "Muster GmbH", "--iban",
                    "DE89370400440532013000", "--ausfuehrung", IsoDateFromToday(2)},
                   "name,iban,betrag\nAnna,DE02500105170137075030,1.00\n")
                .exitCode,
            0);
  const std::string good = ws.Read("sepa-ueberweisungen.xml");
  std::string text = good;
  text.replace(text.find("<Nm>Anna"), 8, "<Nm>" + std::string(10'000'001, 'A'));
  ws.Write("long.xml", text);
  std::string iban = good;
  iban.replace(iban.find("<IBAN>DE025"), 11, "<IBAN>DE02\u009B5");
  ws.Write("iban.xml", iban);
  for (const auto& [file, message] :
       {std::pair{"long.xml", "Ein Text ist länger als 10.000.000 Bytes"},
        {"iban.xml", "Die IBAN „DE02[U+009B]500105170137075030“ ist nicht gültig."}}) {
    const auto r = ws.Run({"sepa", "read", file});
    EXPECT_EQ(r.exitCode, 1) << file;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("\u009B"), std::string::npos) << r.err;
  }
}

}  // namespace
