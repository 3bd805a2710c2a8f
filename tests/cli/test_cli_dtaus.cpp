// zordta dtaus write / read and coversheet, run as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include <nlohmann/json.hpp>

#include "CliRunner.h"

namespace {

using clitest::Example;
using clitest::Workspace;

const std::vector<std::string> kClient = {
    "--name", "Bäckerei Schönfeld GmbH", "--blz", "37040044", "--konto", "532013000"};

std::vector<std::string> Args(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// The E record states count, account sum, bank-code sum and cents at these positions.
void PatchTrailer(std::string& bytes, std::size_t from, const std::string& digits) {
  bytes.replace(bytes.size() - 128 + from - 1, digits.size(), digits);
}

TEST(DtausWrite, CsvFileSheetsAndReadBackAgree) {
  Workspace ws;
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", Example("cli/ueberweisungen.csv"),
                              "--verzeichnis", "out", "--dateiname", "ue.dta"},
                             kClient));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "out/ue.dta: 3 Gutschriften, Summe 2849,69 EUR");
  const std::string file = ws.Read("out/ue.dta");
  EXPECT_EQ(file.size(), 128u + 3 * 256 + 128);
  EXPECT_EQ(file.substr(0, 7), "0128AGK");
  const std::string sheet = ws.Read("out/ue.dta.begleitzettel.txt");
  EXPECT_NE(sheet.find("Anzahl Datensätze C: 3\n"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("Summe Datensätze C (EUR): 2849,69\n"), std::string::npos);
  EXPECT_NE(sheet.find("Absender: Bäckerei Schönfeld GmbH\n"), std::string::npos);
  EXPECT_EQ(ws.Read("out/ue.dta.begleitzettel.pdf").substr(0, 5), "%PDF-");

  const auto read = ws.Run({"dtaus", "read", "out/ue.dta", "--verify"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const auto json = nlohmann::json::parse(read.out);
  EXPECT_EQ(json["auftraggeber"]["name"], "BÄCKEREI SCHÖNFELD GMBH");
  ASSERT_EQ(json["buchungen"].size(), 3u);
  EXPECT_EQ(json["buchungen"][0]["name"], "MÜLLER & SÖHNE KG");
  EXPECT_EQ(
      json["buchungen"][0]["verwendungszweck"],
      nlohmann::json({"RECHNUNG 2026-118", "KUNDENNUMMER 123456", "DANKE FÜR DIE LIEFERUNG"}));
  EXPECT_EQ(json["buchungen"][2]["betrag"], 87.19);
  EXPECT_EQ(json["summen"]["anzahl"], 3);
  EXPECT_FALSE(json.contains("ausfuehrungsdatum"));
  EXPECT_NE(read.err.find("Datensatz E stimmt"), std::string::npos);

  const auto csv = ws.Run({"dtaus", "read", "out/ue.dta", "--format", "csv"});
  ASSERT_EQ(csv.exitCode, 0);
  EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")),
            "name,konto,blz,betrag,zahlungsschluessel,verwendungszweck1,verwendungszweck2,"
            "verwendungszweck3");
  EXPECT_NE(csv.out.find("\r\nSTADTWERKE KÖLN,44556677,70020270,87.19,51000,"), std::string::npos);
}

TEST(DtausWrite, JobReadBackAndWrittenAgainGivesTheSameBytes) {
  Workspace ws;
  const std::string execution = clitest::IsoDateFromToday(3);
  const auto first = ws.Run({"dtaus", "write", "--job", Example("cli/gehaelter.json"),
                             "--dateidatum", "2026-12-01", "--ausfuehrung", execution, "--no-pdf"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const auto read = ws.Run({"dtaus", "read", "gehaelter.dta"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const auto json = nlohmann::json::parse(read.out);
  EXPECT_EQ(json["buchungen"][0]["zahlungsschluessel"], "53000");
  EXPECT_EQ(json["ausfuehrungsdatum"], execution);
  EXPECT_EQ(json["dateidatum"], "2026-12-01");
  ws.Write("again.json", read.out);

  const auto second = ws.Run({"dtaus", "write", "--job", "again.json", "--dateiname", "again.dta",
                              "--no-pdf", "--no-text"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(ws.Read("again.dta"), ws.Read("gehaelter.dta"));
}

TEST(DtausWrite, DebitsFromSemicolonCsvAndJob) {
  Workspace ws;
  const auto csv = ws.Run(Args({"dtaus", "write", "--csv", Example("cli/lastschriften.csv"),
                                "--lastschriften", "--dateiname", "ls.dta", "--no-pdf"},
                               kClient));
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(ws.Read("ls.dta").substr(0, 7), "0128ALK");
  EXPECT_NE(csv.out.find("4 Lastschriften, Summe 216,50 EUR"), std::string::npos) << csv.out;

  const auto job =
      ws.Run({"dtaus", "write", "--job", Example("cli/beitraege.json"), "--abbuchung", "--no-pdf"});
  ASSERT_EQ(job.exitCode, 0) << job.err;
  const auto read = ws.Run({"dtaus", "read", "beitraege.dta"});
  EXPECT_EQ(nlohmann::json::parse(read.out)["buchungen"][0]["zahlungsschluessel"], "04000");
}

TEST(DtausWrite, BadRowsAmongGoodOnesAreAllNamedAndNothingIsWritten) {
  Workspace ws;
  ws.Write("zahlungen.csv",
           "name,konto,blz,betrag,verwendungszweck1\n"
           "Gut,1234567900,50010517,10.00,ok\n"
           ",1234567900,50010517,10.00,ohne Namen\n"
           "Schlecht,12x4,5001051,0.50,drei Fehler\n"
           "\"Mehr-\nzeilig\",1234567900,50010517,\"1.234,56\",x\n"
           "Gut auch,1234567900,50010517,\"20,00\",ok\n");
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "zahlungen.csv"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "zahlungen.csv: Zeile 3, Feld name: Der Buchungsempfänger muss angegeben werden.\n"
            "zahlungen.csv: Zeile 4, Feld konto: „12x4“ ist keine Kontonummer (nur Ziffern).\n"
            "zahlungen.csv: Zeile 4, Feld blz: Die Bankleitzahl muss genau 8 Zeichen besitzen.\n"
            "zahlungen.csv: Zeile 4, Feld betrag: Der Betrag muss zwischen € 1 und € 999999999.99 "
            "liegen.\n"
            "zahlungen.csv: Zeile 5, Feld name: Spalte 7: Zeilenumbruch (U+000A) ist nicht "
            "erlaubt. Mehrere Zeilen nur im Verwendungszweck.\n"
            "zahlungen.csv: Zeile 5, Feld betrag: „1.234,56“ ist kein Betrag (z.B. 1234,56 oder "
            "1234.56, ohne Tausenderpunkte).\n"
            "Nichts geschrieben: 6 Fehler.\n");
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT.begleitzettel.txt"));
}

TEST(DtausWrite, DisketteNumberIsUsedOnlyByAFileThatIsWritten) {
  Workspace ws;
  ws.Write("gut.csv",
           "name,konto,blz,betrag\nAnna,1234567900,50010517,1\nBen,1234567900,50010517,2\n");
  ws.Write("schlecht.csv", "name,konto,blz,betrag\nAnna,1234567900,50010517,1\nBen,x,50010517,2\n");
  const auto run = [&ws](const std::string& csv) {
    return ws.Run(Args({"dtaus", "write", "--csv", csv, "--zentralbank", "--overwrite", "--no-pdf"},
                       kClient));
  };
  const auto number = [&ws] { return ws.Read("DTAUS0.TXT").substr(56, 4); };

  EXPECT_EQ(run("schlecht.csv").exitCode, 1);
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  ASSERT_EQ(run("gut.csv").exitCode, 0);
  EXPECT_EQ(number(), "0001");
  // The faulty run in between neither writes nor counts.
  EXPECT_EQ(run("schlecht.csv").exitCode, 1);
  EXPECT_EQ(number(), "0001");
  ASSERT_EQ(run("gut.csv").exitCode, 0);
  EXPECT_EQ(number(), "0002");
  EXPECT_EQ(ws.Read("DTAUS0.TXT").size(), 128u + 2 * 256 + 128);
}

TEST(DtausWrite, QuotingBrokenLateInTheFileIsTheOnlyFaultNamed) {
  Workspace ws;
  // The rows before the break were read and checked already; they are not to be trusted.
  ws.Write("z.csv",
           "name,konto,blz,betrag\nAnna,1234567900,50010517,1\nBen,x,50010517,2\n"
           "Cem,1234567900,50010517,3\nDora,\"12\"3,50010517,4\nEmil,1234567900,50010517,5\n");
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "z.csv"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
            "z.csv: Zeile 5: CSV nicht lesbar: ein Anführungszeichen steht an falscher Stelle "
            "(Felder mit Anführungszeichen ganz einschließen, \"\" für ein Anführungszeichen).");
  EXPECT_EQ(r.err.substr(r.err.find('\n') + 1), "Nichts geschrieben: 1 Fehler.\n");
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
}

TEST(DtausWrite, CharacterOutsideWindows1252IsNamedByRowAndColumn) {
  Workspace ws;
  ws.Write("z.csv",
           "name,konto,blz,betrag\nAnna,1234567900,50010517,1\nJan Łukasz,1234567900,50010517,1\n");
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "z.csv"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "z.csv: Zeile 3, Feld name: Spalte 5: „Ł“ (U+0141) gibt es in Windows-1252 nicht.\n"
            "Nichts geschrieben: 1 Fehler.\n");

  ws.Write("z.json", R"({"auftraggeber": {"name": "A", "blz": 37040044, "konto": 532013000},
    "buchungen": [{"name": "B", "konto": 1234567900, "blz": 50010517, "betrag": 1,
                   "verwendungszweck": ["Grüße", "Dziękuję"]}]})");
  const auto job = ws.Run({"dtaus", "write", "--job", "z.json"});
  EXPECT_EQ(job.exitCode, 1);
  EXPECT_EQ(job.err,
            "z.json: Buchung 1, Feld verwendungszweck2: Zeichen 4: „ę“ (U+0119) gibt es in "
            "Windows-1252 nicht.\n"
            "z.json: Buchung 1, Feld verwendungszweck2: Zeichen 8: „ę“ (U+0119) gibt es in "
            "Windows-1252 nicht.\n"
            "Nichts geschrieben: 2 Fehler.\n");

  // On the command line the same fault is bad usage.
  const auto option =
      ws.Run({"dtaus", "write", "--csv", "z.csv", "--name", "Łódź", "--blz", "1", "--konto", "1"});
  EXPECT_EQ(option.exitCode, 2);
  EXPECT_NE(option.err.find("--name: Zeichen 1: „Ł“"), std::string::npos) << option.err;
}

TEST(DtausWrite, ClientSettingsAndExecutionWindowAreChecked) {
  Workspace ws;
  ws.Write("z.csv", "name,konto,blz,betrag\nAnna,1234567900,50010517,1\n");
  const auto r = ws.Run({"dtaus", "write", "--csv", "z.csv", "--blz", "1234", "--konto", "5",
                         "--ausfuehrung", clitest::IsoDateFromToday(20)});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Auftraggeber, Feld name: Der Buchungsempfänger muss angegeben werden."),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("Auftraggeber, Feld blz:"), std::string::npos);
  EXPECT_NE(r.err.find("Auftraggeber, Feld konto:"), std::string::npos);
  EXPECT_NE(r.err.find("Feld ausfuehrungsdatum: Das Ausführungsdatum"), std::string::npos);

  const auto badValue =
      ws.Run(Args({"dtaus", "write", "--csv", "z.csv", "--ausfuehrung", "morgen"}, kClient));
  EXPECT_EQ(badValue.exitCode, 2);
  EXPECT_NE(badValue.err.find("--ausfuehrung: „morgen“ ist kein Datum"), std::string::npos)
      << badValue.err;
}

TEST(DtausWrite, ExistingFileNeedsOverwriteAndDryRunWritesNothing) {
  Workspace ws;
  const auto args =
      Args({"dtaus", "write", "--csv", Example("cli/ueberweisungen.csv"), "--no-pdf"}, kClient);
  const auto dry = ws.Run(Args(args, {"--dry-run"}));
  EXPECT_EQ(dry.exitCode, 0) << dry.err;
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));

  ASSERT_EQ(ws.Run(args).exitCode, 0);
  ws.Write("DTAUS0.TXT", "keep me");
  const auto again = ws.Run(args);
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(ws.Read("DTAUS0.TXT"), "keep me");
  EXPECT_EQ(ws.Run(Args(args, {"--overwrite"})).exitCode, 0);
  EXPECT_EQ(ws.Read("DTAUS0.TXT").substr(0, 5), "0128A");
}

class DtausVerify : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto r = ws.Run(Args(
        {"dtaus", "write", "--csv", Example("cli/ueberweisungen.csv"), "--no-pdf", "--no-text"},
        kClient));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    bytes = ws.Read("DTAUS0.TXT");
  }
  Workspace ws;
  std::string bytes;
};

TEST_F(DtausVerify, WrongCountInTheERecordFails) {
  PatchTrailer(bytes, 11, "0000004");
  ws.Write("DTAUS0.TXT", bytes);
  const auto r = ws.Run({"dtaus", "read", "DTAUS0.TXT", "--verify"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "Prüfung fehlgeschlagen: DTAUS0.TXT: Datensatz 5, Byte 896: Anzahl der Datensätze C: "
            "im Datensatz E 4, aus den Buchungen 3.\n");
  EXPECT_TRUE(r.out.empty());
  // A count that disagrees means lost records: not even --no-verify reads past it.
  EXPECT_EQ(ws.Run({"dtaus", "read", "DTAUS0.TXT", "--no-verify"}).exitCode, 1);
}

TEST_F(DtausVerify, WrongAmountSumInTheERecordFailsAndBlocksTheCoverSheet) {
  PatchTrailer(bytes, 65, "0000000284970");
  ws.Write("DTAUS0.TXT", bytes);
  const auto r = ws.Run({"dtaus", "read", "DTAUS0.TXT", "--verify", "--format", "csv"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(
      r.err.find("Summe der Beträge in Cent: im Datensatz E 284970, aus den Buchungen 284969."),
      std::string::npos)
      << r.err;
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(ws.Run({"dtaus", "read", "DTAUS0.TXT", "--no-verify"}).exitCode, 0);
  const auto sheet = ws.Run({"coversheet", "DTAUS0.TXT"});
  EXPECT_EQ(sheet.exitCode, 1);
  EXPECT_TRUE(sheet.out.empty());
}

TEST_F(DtausVerify, DamagedFilesAreBadData) {
  ws.Write("kurz.dta", bytes.substr(0, 300));
  const auto r = ws.Run({"dtaus", "read", "kurz.dta", "--verify"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("Fehler: kurz.dta: ", 0), 0u) << r.err;
  EXPECT_EQ(ws.Run({"dtaus", "read", "fehlt.dta"}).exitCode, 1);
  EXPECT_EQ(ws.Run({"dtaus", "read", "."}).exitCode, 1);
}

TEST_F(DtausVerify, StandardInputIsReadOnceAndListedWhole) {
  const auto r = ws.Run({"dtaus", "read", "-", "--format", "csv"}, bytes);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);
}

TEST_F(DtausVerify, CoverSheetIsRebuiltWithoutTouchingTheFile) {
  const std::string written = ws.Read("DTAUS0.TXT");
  const auto text = ws.Run({"coversheet", "DTAUS0.TXT"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out.substr(0, text.out.find("Datum:")), "Dateiname: DTAUS0.TXT\nDisketten-Nr: \n");
  EXPECT_NE(text.out.find("Anzahl Datensätze C: 3\nSumme Datensätze C (EUR): 2849,69\n"),
            std::string::npos);
  EXPECT_NE(text.out.find("Summe Kontonummern: 00000001280112228\n"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("Absender: BÄCKEREI SCHÖNFELD GMBH\n"), std::string::npos);

  const auto pdf = ws.Run({"coversheet", "DTAUS0.TXT", "--pdf", "DTAUS0.TXT.pdf"});
  ASSERT_EQ(pdf.exitCode, 0) << pdf.err;
  EXPECT_TRUE(pdf.out.empty());
  EXPECT_EQ(ws.Read("DTAUS0.TXT.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(ws.Read("DTAUS0.TXT"), written);
}

TEST_F(DtausVerify, CoverSheetStandsForOneEuroFileOnly) {
  ws.Write("zwei.dta", bytes + bytes);
  const auto two = ws.Run({"coversheet", "zwei.dta"});
  EXPECT_EQ(two.exitCode, 1);
  EXPECT_NE(two.err.find("2 logische Dateien"), std::string::npos) << two.err;
  EXPECT_TRUE(two.out.empty());

  // The same payments as DM: the currency bytes blank, the amounts in the DM fields.
  std::string dm = bytes;
  dm[127] = ' ';
  for (std::size_t c = 128; c + 128 < dm.size(); c += 256) {
    dm.replace(c + 50, 11, dm.substr(c + 79, 11));
    dm.replace(c + 79, 11, std::string(11, '0'));
    dm[c + 128 + 54] = ' ';
  }
  const std::size_t e = dm.size() - 128;
  dm.replace(e + 17, 13, dm.substr(e + 64, 13));
  dm.replace(e + 64, 13, std::string(13, '0'));
  ws.Write("dm.dta", dm);
  const auto read = ws.Run({"dtaus", "read", "dm.dta"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const auto json = nlohmann::json::parse(read.out);
  EXPECT_EQ(json["waehrung"], "DEM");
  EXPECT_EQ(json["summen"]["betrag"], 2849.69);
  EXPECT_EQ(ws.Run({"coversheet", "dm.dta"}).exitCode, 1);
}

// What a file says beyond what the tool writes is shown; what would be lost on
// writing is refused, what only says where a file came from is not.
TEST_F(DtausVerify, DisketteNumberAndCustomerNumberAreShown) {
  std::string patched = bytes;
  patched.replace(56, 4, "0042");
  ws.Write("nummer.dta", patched);
  const auto read = ws.Run({"dtaus", "read", "nummer.dta"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(nlohmann::json::parse(read.out)["diskettennummer"], "0042");
  ws.Write("nummer.json", read.out);
  EXPECT_EQ(ws.Run({"dtaus", "write", "--job", "nummer.json", "--dateiname", "neu.dta", "--no-pdf",
                    "--no-text"})
                .exitCode,
            0);

  patched.replace(128 + 31, 13, "0000000004711");
  ws.Write("kunde.dta", patched);
  const auto customer = ws.Run({"dtaus", "read", "kunde.dta"});
  ASSERT_EQ(customer.exitCode, 0) << customer.err;
  EXPECT_EQ(nlohmann::json::parse(customer.out)["buchungen"][0]["kundennummer"], 4711);
  ws.Write("kunde.json", customer.out);
  const auto refused = ws.Run({"dtaus", "write", "--job", "kunde.json", "--dateiname", "k.dta"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("Kundennummer"), std::string::npos) << refused.err;
}

// What the CSV has no column for (and write takes back in no form) is never
// dropped from it: the file is refused as CSV, naming the record, and the
// JSON carries it. An ordinary file's CSV is as it always was.
TEST_F(DtausVerify, CsvRefusesAPaymentItCannotHoldWhole) {
  const auto plain = ws.Run({"dtaus", "read", "DTAUS0.TXT", "--format", "csv"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_EQ(plain.out.substr(0, plain.out.find("\r\n")),
            "name,konto,blz,betrag,zahlungsschluessel,verwendungszweck1,verwendungszweck2,"
            "verwendungszweck3");

  // The second payment (record 3 at byte 384): its extension's type, its
  // customer number, the client's name it states.
  const std::size_t c = 384;
  const std::vector<std::pair<std::string, std::pair<std::size_t, std::string>>> cases = {
      {"namenszusatz", {c + 187, "01"}},
      {"auftraggeberzusatz", {c + 187, "03"}},
      {"kundennummer", {c + 31, "0000000004711"}},
      {"auftraggeber", {c + 128, "ANDERE GMBH                "}}};
  for (const auto& [key, patch] : cases) {
    std::string patched = bytes;
    patched.replace(patch.first, patch.second.size(), patch.second);
    ws.Write("mehr.dta", patched);
    const auto csv = ws.Run({"dtaus", "read", "mehr.dta", "--format", "csv"});
    EXPECT_EQ(csv.exitCode, 1) << key;
    EXPECT_TRUE(csv.out.empty()) << csv.out;
    EXPECT_EQ(csv.err.rfind("Fehler: mehr.dta: Datensatz 3, Byte 384: Die Buchung hat ", 0), 0u)
        << csv.err;
    EXPECT_NE(csv.err.find("(„" + key + "“); das CSV hat dafür keine Spalte. Ohne --format csv"),
              std::string::npos)
        << csv.err;
    const auto json = ws.Run({"dtaus", "read", "mehr.dta"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_TRUE(nlohmann::json::parse(json.out)["buchungen"][1].contains(key)) << key;
  }
}

TEST_F(DtausVerify, JsonIsPrintedExactlyAsTheWholeDocumentWouldBeDumped) {
  const auto asDump = [](const std::string& out) {
    return nlohmann::ordered_json::parse(out).dump(2, ' ', false) + "\n";
  };
  ws.Write("ohne.csv", "name,konto,blz,betrag\n\"A & B \"\"C\"\"\",1234567900,50010517,12\n");
  ASSERT_EQ(ws.Run(Args({"dtaus", "write", "--csv", "ohne.csv", "--dateiname", "ohne.dta",
                         "--no-pdf", "--no-text"},
                        kClient))
                .exitCode,
            0);
  ws.Write("zwei.dta", ws.Read("DTAUS0.TXT") + ws.Read("ohne.dta"));
  for (const char* file : {"DTAUS0.TXT", "ohne.dta", "zwei.dta"}) {
    const auto r = ws.Run({"dtaus", "read", file, "--verify"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, asDump(r.out));
  }
  // A quote, which a tolerant reading keeps, in a name and a purpose line.
  std::string quoted = ws.Read("DTAUS0.TXT");
  quoted.replace(128 + 93, 3, "\"A\"");
  quoted.replace(128 + 128 + 27, 1, "\"");
  ws.Write("quote.dta", quoted);
  const auto r = ws.Run({"dtaus", "read", "quote.dta", "--tolerant"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, asDump(r.out));
  EXPECT_NE(r.out.find(R"("name": "\"A\")"), std::string::npos) << r.out;
}

}  // namespace
