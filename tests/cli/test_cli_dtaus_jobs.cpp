// zordta dtaus write --job with what dtaus read prints: a key per payment, the
// currency, blank purpose lines and several logical files in one job.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliRunner.h"

namespace {

using clitest::Workspace;

const std::string kClient =
    R"("auftraggeber": {"name": "FIRMA", "blz": 10010424, "konto": 1234567890})";

std::string Payment(const std::string& name, const std::string& more = "") {
  return R"({"name": ")" + name + R"(", "konto": 123, "blz": 10010424, "betrag": 1.5)" + more + "}";
}

// The records of a file: A and E are one part, a C record says its length.
std::vector<std::string> Records(const std::string& file) {
  std::vector<std::string> records;
  for (std::size_t at = 0; at + 5 <= file.size();) {
    const std::size_t length = file[at + 4] == 'C' ? std::stoul(file.substr(at, 4)) : 128;
    const std::size_t parts = (length + 127) / 128;
    records.push_back(file.substr(at, parts * 128));
    at += parts * 128;
  }
  return records;
}

std::string KeyOf(const std::string& cRecord) {
  return cRecord.substr(44, 5);
}

TEST(DtausPaymentKeys, EachPaymentIsBookedWithItsKeyAndRecordAWithTheFilesKind) {
  Workspace ws;
  ws.Write("lk.json", "{" + kClient + R"(, "lastschriften": true, "buchungen": [)" +
                          Payment("A", R"(, "zahlungsschluessel": "04000")") + ", " +
                          Payment("B", R"(, "zahlungsschluessel": "05012")") + ", " + Payment("C") +
                          "]}");
  auto r = ws.Run({"dtaus", "write", "--job", "lk.json", "--no-pdf", "--dateiname", "lk.dta"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> records = Records(ws.Read("lk.dta"));
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0].substr(0, 7), "0128ALK");
  EXPECT_EQ(KeyOf(records[1]), "04000");
  EXPECT_EQ(KeyOf(records[2]), "05012");
  EXPECT_EQ(KeyOf(records[3]), "05000");

  // A CSV column; an empty cell takes the file's key. A debit key of the file
  // that the library does not know by name still makes a file of debits.
  ws.Write("gk.csv",
           "name,konto,blz,betrag,zahlungsschluessel\nA,123,10010424,1,53000\nB,123,10010424,2,\n");
  r = ws.Run({"dtaus", "write", "--csv", "gk.csv", "--no-pdf", "--dateiname", "gk.dta", "--name",
              "FIRMA", "--blz", "10010424", "--konto", "1234567890"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  records = Records(ws.Read("gk.dta"));
  EXPECT_EQ(records[0].substr(0, 7), "0128AGK");
  EXPECT_EQ(KeyOf(records[1]), "53000");
  EXPECT_EQ(KeyOf(records[2]), "51000");

  ws.Write("c.json", "{" + kClient + R"(, "buchungen": [)" + Payment("C") + "]}");
  r = ws.Run({"dtaus", "write", "--job", "c.json", "--no-pdf", "--dateiname", "e.dta",
              "--schluessel", "05012"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  records = Records(ws.Read("e.dta"));
  EXPECT_EQ(records[0].substr(0, 7), "0128ALK");
  EXPECT_EQ(KeyOf(records[1]), "05012");
}

TEST(DtausPaymentKeys, KeysOfTheOtherKindOrUnknownAreRefusedByPayment) {
  Workspace ws;
  ws.Write("j.json", "{" + kClient + R"(, "buchungen": [)" +
                         Payment("A", R"(, "zahlungsschluessel": "05000")") + ", " +
                         Payment("B", R"(, "zahlungsschluessel": "12000")") + ", " +
                         Payment("C", R"(, "zahlungsschluessel": "5100")") + ", " + Payment("D") +
                         "]}");
  const auto r = ws.Run({"dtaus", "write", "--job", "j.json", "--no-pdf"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Buchung 1, Feld zahlungsschluessel: Der Zahlungsschlüssel 05000 ist eine "
                       "Lastschrift; die Datei enthält Gutschriften"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("Buchung 2, Feld zahlungsschluessel: „12000“ ist kein bekannter"),
            std::string::npos);
  EXPECT_NE(r.err.find("Buchung 3, Feld zahlungsschluessel: „5100“ ist kein Zahlungsschlüssel"),
            std::string::npos);
  EXPECT_EQ(r.err.find("Buchung 4"), std::string::npos);
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
}

TEST(DtausJobs, EuroIsAcceptedAndWhatTheToolCannotWriteIsRefusedByName) {
  Workspace ws;
  ws.Write("eur.json",
           "{" + kClient + R"(, "waehrung": "EUR", "buchungen": [)" + Payment("A") + "]}");
  auto r = ws.Run({"dtaus", "write", "--job", "eur.json", "--no-pdf"});
  EXPECT_EQ(r.exitCode, 0) << r.err;

  ws.Write("dem.json", "{" + kClient + R"(, "waehrung": "DEM", "buchungen": [)" +
                           Payment("A", R"(, "namenszusatz": ["X"])") + ", " +
                           Payment("B", R"(, "auftraggeber": {"name": "Y"})") + "]}");
  r = ws.Run({"dtaus", "write", "--job", "dem.json", "--no-pdf", "--dateiname", "dem.dta"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Auftrag, Feld waehrung: DM-Dateien werden nicht mehr geschrieben"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("Buchung 1, Feld namenszusatz: Namenszusätze des Empfängers kann zordta "
                       "nicht schreiben"),
            std::string::npos);
  EXPECT_NE(r.err.find("Buchung 2, Feld auftraggeber: Einen eigenen Auftraggeber je Buchung kann "
                       "zordta nicht schreiben"),
            std::string::npos);
  EXPECT_FALSE(ws.Exists("dem.dta"));
}

TEST(DtausJobs, BlankPurposeLinesKeepTheirPlace) {
  Workspace ws;
  ws.Write("j.json", "{" + kClient + R"(, "buchungen": [)" +
                         Payment("A", R"(, "verwendungszweck": ["", "X", " "])") + "]}");
  const auto r = ws.Run({"dtaus", "write", "--job", "j.json", "--no-pdf"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> records = Records(ws.Read("DTAUS0.TXT"));
  ASSERT_EQ(records.size(), 3u);
  const std::string second = records[1].substr(128, 128);
  EXPECT_EQ(records[1].substr(0, 4), "0245");
  EXPECT_EQ(second.substr(27, 27), std::string(27, ' '));  // the first line, blank
  EXPECT_EQ(second.substr(57, 2), "02");                   // two extensions
  EXPECT_EQ(second.substr(59, 29), "02X" + std::string(26, ' '));
  EXPECT_EQ(second.substr(88, 29), "02" + std::string(27, ' '));
}

TEST(DtausSeveralFiles, OneJobWritesTheBytesOfItsFilesWrittenOneByOne) {
  Workspace ws;
  const std::string first = "{" + kClient + R"(, "lastschriften": true, "buchungen": [)" +
                            Payment("A", R"(, "verwendungszweck": ["R1"])") + "]}";
  const std::string second =
      R"({"auftraggeber": {"name": "ANDERE", "blz": 10010424, "konto": 99}, "buchungen": [)" +
      Payment("B", R"(, "zahlungsschluessel": "53000")") + ", " + Payment("C") + "]}";
  ws.Write("1.json", first);
  ws.Write("2.json", second);
  ws.Write("both.json",
           R"({"art": "dtaus", "datei": "x", "dateien": [)" + first + ", " + second + "]}");
  for (const std::string name : {"1", "2"}) {
    ASSERT_EQ(ws.Run({"dtaus", "write", "--job", name + ".json", "--no-pdf", "--dateiname",
                      name + ".dta"})
                  .exitCode,
              0);
  }
  const auto r = ws.Run({"dtaus", "write", "--job", "both.json", "--dateiname", "both.dta"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ws.Read("both.dta"), ws.Read("1.dta") + ws.Read("2.dta"));
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "./both.dta: 2 Dateien: 1 Lastschrift, Summe 1,50 EUR; 2 Gutschriften, Summe 3,00 EUR");
  const std::string sheets = ws.Read("both.dta.begleitzettel.txt");
  EXPECT_NE(sheets.find("Logische Datei 2 von 2\n"), std::string::npos) << sheets;
  EXPECT_NE(sheets.find("Absender: ANDERE\n"), std::string::npos);
  EXPECT_EQ(ws.Read("both.dta.begleitzettel-2.pdf").substr(0, 5), "%PDF-");
}

TEST(DtausSeveralFiles, FaultsAreNamedInTheirFileAndNothingIsWritten) {
  Workspace ws;
  ws.Write("both.json",
           R"({"dateien": [{)" + kClient + R"(, "buchungen": [)" + Payment("A") +
               R"(]}, {"auftraggeber": {"name": "B", "blz": 1, "konto": 99}, "buchungen": [)" +
               Payment("B", R"(, "zahlungsschluessel": "05000")") + "]}]}");
  auto r = ws.Run({"dtaus", "write", "--job", "both.json", "--no-pdf"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("dateien[2], Auftraggeber, Feld blz:"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("dateien[2], Buchung 1, Feld zahlungsschluessel:"), std::string::npos);
  EXPECT_EQ(r.err.find("dateien[1]"), std::string::npos);
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));

  r = ws.Run({"dtaus", "write", "--job", "both.json", "--zentralbank"});
  EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
