// zordta dtazv write, run as a user runs it.
#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using clitest::Example;
using clitest::Workspace;

const std::vector<std::string> kClient = {"--name",    "Müller Maschinenbau GmbH",
                                          "--strasse", "Königstraße 12",
                                          "--ort",     "70173 Stuttgart",
                                          "--blz",     "60050101",
                                          "--konto",   "1234567"};

std::vector<std::string> Args(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(DtazvWrite, JobWithAllFieldsWritesFileAndSheets) {
  Workspace ws;
  const auto r = ws.Run({"dtazv", "write", "--job", Example("cli/auslandszahlungen.json")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "./DTAZV: 3 Auslandszahlungen, Summe 22690 EUR (ganze Einheiten)");
  const std::string file = ws.Read("DTAZV");
  ASSERT_GT(file.size(), 256u);
  EXPECT_EQ(file.substr(0, 5), "0256Q");
  // Umlauts are spelled out, names in capitals.
  EXPECT_NE(file.find("MUELLER MASCHINENBAU GMBH"), std::string::npos);
  EXPECT_NE(file.find("GRUENER STAHLHANDEL GMBH"), std::string::npos);
  EXPECT_NE(file.find("FR1420041010050500013M02606"), std::string::npos);  // blanks taken out
  const std::string sheet = ws.Read("DTAZV.begleitzettel.txt");
  EXPECT_NE(sheet.find("Anzahl Datensaetze T: 3\n"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("Betragssumme: 22690\n"), std::string::npos);
  EXPECT_NE(sheet.find("Absender: Müller Maschinenbau GmbH, 70173 Stuttgart\n"), std::string::npos);
  EXPECT_EQ(ws.Read("DTAZV.begleitzettel.pdf").substr(0, 5), "%PDF-");
}

TEST(DtazvWrite, CsvWithSeveralCurrenciesAndOwnDates) {
  Workspace ws;
  ws.Write("z.csv",
           "bic,iban,name,ort,betrag,waehrung,datum,verwendungszweck1,verwendungszweck2\n"
           "BNPAFRPP,FR14 2004 1010 0505 0001 3M02 606,Dubois,Paris,100,EUR," +
               clitest::IsoDateFromToday(2) +
               ",Rechnung 1,Grüße\n"
               "UBSWCHZH80A,CH9300762011623852957,Jäger AG,Zürich,\"12800,50\",chf,,Auftrag 77,\n");
  const auto r = ws.Run(Args({"dtazv", "write", "--csv", "z.csv", "--lfd-nummer", "7"}, kClient));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("2 Auslandszahlungen, Summe 12900 (ganze Einheiten, mehrere Währungen)"),
            std::string::npos)
      << r.out;
  const std::string file = ws.Read("DTAZV");
  EXPECT_NE(file.find("CHF"), std::string::npos);
  EXPECT_NE(file.find("GRUESSE"), std::string::npos);
}

TEST(DtazvWrite, BadPaymentsAreAllNamedAndNothingIsWritten) {
  Workspace ws;
  ws.Write("z.csv",
           "bic,iban,name,ort,betrag,land,waehrung\n"
           "BNPAFRPP,FR1420041010050500013M02606,Gut,Paris,100,,\n"
           "BNPA1,FR1420041010050500013M02607,,Paris,100,,\n"
           "BNPAFRPP,FR1420041010050500013M02606,Zu viel,Paris,12500.01,F,EURO\n"
           "BNPAFRPP,FR1420041010050500013M02606,Ohne Ort,,13000,,\n");
  const auto r = ws.Run(Args({"dtazv", "write", "--csv", "z.csv"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(
      r.err,
      "z.csv: Zeile 3, Feld bic: Eine BIC hat 8 oder 11 Zeichen, diese hat 5.\n"
      "z.csv: Zeile 3, Feld iban: Die Prüfziffern 14 passen nicht zur IBAN: ein Zeichen ist "
      "falsch oder vertauscht.\n"
      "z.csv: Zeile 3, Feld name: Der Name muss angegeben werden.\n"
      "z.csv: Zeile 4, Feld land: „F“ ist kein Ländercode (zwei Buchstaben, z.B. FR).\n"
      "z.csv: Zeile 4, Feld waehrung: „EURO“ ist kein Währungscode (drei Buchstaben, z.B. USD).\n"
      "z.csv: Zeile 5, Feld ort: Der Ort muss angegeben werden und darf höchstens 35 Zeichen "
      "beinhalten.\n"
      "z.csv: Zeile 5, Feld betrag: Der Betrag muss zwischen € 1 und € 12.500 liegen.\n"
      "Nichts geschrieben: 7 Fehler.\n");
  EXPECT_FALSE(ws.Exists("DTAZV"));

  // With federal-state key and company number the limit is 50 000.
  ws.Write("ok.csv",
           "bic,iban,name,ort,betrag\nBNPAFRPP,FR1420041010050500013M02606,A,Paris,13000\n");
  const auto keys = ws.Run(Args({"dtazv", "write", "--csv", "ok.csv", "--bundesland", "8",
                                 "--firmennummer", "12345678", "--no-pdf"},
                                kClient));
  EXPECT_EQ(keys.exitCode, 0) << keys.err;
}

// A currency must be one to pay in, wherever it is given: the job's, a
// payment's, the CSV column, the option. A BIC must name a country.
TEST(DtazvWrite, CurrenciesAndBicCountriesThatDoNotExistAreRefused) {
  Workspace ws;
  const std::string kNoMoney =
      " ist keine Währung, in der gezahlt werden kann (ein Code für Edelmetall, "
      "Rechnungseinheit, Test oder „keine Währung“).\n";
  ws.Write("auftrag.json", R"({"art": "dtazv",
    "auftraggeber": {"name": "Muster", "ort": "Hamburg", "blz": 60050101, "konto": 1234567},
    "waehrung": "XTS",
    "buchungen": [
      {"bic": "BNPAFRPP", "iban": "FR1420041010050500013M02606", "name": "A", "ort": "Paris",
       "betrag": 100, "waehrung": "xau"},
      {"bic": "BNPAZZPP", "iban": "FR1420041010050500013M02606", "name": "B", "ort": "Paris",
       "betrag": 100, "waehrung": "BGN"},
      {"bic": "RBKOXKPR", "iban": "FR1420041010050500013M02606", "name": "C", "ort": "Paris",
       "betrag": 100, "waehrung": "XCG"}]})");
  const auto job = ws.Run({"dtazv", "write", "--job", "auftrag.json"});
  EXPECT_EQ(job.exitCode, 1);
  EXPECT_EQ(job.err,
            "auftrag.json: Auftrag, Feld waehrung: „XTS“" + kNoMoney +
                "auftrag.json: Buchung 1, Feld waehrung: „XAU“" + kNoMoney +
                "auftrag.json: Buchung 2, Feld waehrung: „BGN“ ist keine gültige Währung nach "
                "ISO 4217 (z.B. EUR, USD, CHF).\n"
                "auftrag.json: Buchung 2, Feld bic: Zeichen 5 und 6 einer BIC nennen das Land "
                "der Bank; „ZZ“ ist kein Land (ISO 3166, z.B. DE).\n"
                "Nichts geschrieben: 4 Fehler.\n");

  ws.Write("z.csv",
           "bic,iban,name,ort,betrag,waehrung\n"
           "BNPAFRPP,FR1420041010050500013M02606,A,Paris,100,XXX\n");
  const auto csv = ws.Run(Args({"dtazv", "write", "--csv", "z.csv"}, kClient));
  EXPECT_EQ(csv.exitCode, 1);
  EXPECT_EQ(csv.err,
            "z.csv: Zeile 2, Feld waehrung: „XXX“" + kNoMoney + "Nichts geschrieben: 1 Fehler.\n");
  const auto option =
      ws.Run(Args({"dtazv", "write", "--csv", "z.csv", "--waehrung", "XDR"}, kClient));
  EXPECT_EQ(option.exitCode, 2);
  EXPECT_EQ(option.err, "Befehlszeile, Feld --waehrung: „XDR“" + kNoMoney);
  EXPECT_FALSE(ws.Exists("DTAZV"));
}

TEST(DtazvWrite, JobForTheOtherKindIsRefused) {
  Workspace ws;
  const auto r = ws.Run({"dtazv", "write", "--job", Example("cli/beitraege.json")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Feld art: Der Auftrag ist für „dtaus“, dieser Befehl schreibt dtazv."),
            std::string::npos)
      << r.err;
}

}  // namespace
