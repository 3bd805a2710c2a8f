// What the write commands say and refuse: the direction of the money, the
// totals of the trailer records, IBANs and BICs, counts, and text the file
// would not hold as given.
#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using clitest::Example;
using clitest::Workspace;

const std::vector<std::string> kClient = {"--name",  "Muster GmbH", "--blz",    "37040044",
                                          "--konto", "532013000",   "--no-pdf", "--no-text"};
const std::vector<std::string> kForeignClient = {"--name",   "Muster GmbH", "--ort",   "Stuttgart",
                                                 "--blz",    "60050101",    "--konto", "1234567",
                                                 "--no-pdf", "--no-text"};

std::vector<std::string> Args(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

constexpr const char* kOnePayment = "name,konto,blz,betrag\nAnna,1234567900,50010517,1\n";

TEST(MoneyDirection, CreditsAndDebitsSaidBothWaysAreRefusedNamingBoth) {
  Workspace ws;
  ws.Write("z.csv", kOnePayment);
  ws.Write("widerspruch.json", R"({"auftraggeber": {"name": "A", "blz": 37040044,
    "konto": 532013000}, "lastschriften": false, "abbuchung": true,
    "buchungen": [{"name": "B", "konto": 1234567900, "blz": 50010517, "betrag": 1}]})");
  const struct {
    std::vector<std::string> args;
    std::string named;
  } cases[] = {
      {Args({"--csv", "z.csv", "--lastschriften", "--gutschriften"}, kClient),
       "--lastschriften bedeutet Lastschriften, --gutschriften bedeutet Gutschriften."},
      {{"--job", Example("cli/beitraege.json"), "--gutschriften"},
       "--gutschriften bedeutet Gutschriften, „lastschriften“: true im Auftrag bedeutet "
       "Lastschriften."},
      {Args({"--csv", "z.csv", "--schluessel", "53000", "--abbuchung"}, kClient),
       "--abbuchung bedeutet Lastschriften im Abbuchungsauftragsverfahren, --schluessel 53000 "
       "bedeutet Gutschriften."},
      {Args({"--csv", "z.csv", "--schluessel", "05000", "--abbuchung"}, kClient),
       "--abbuchung bedeutet Lastschriften im Abbuchungsauftragsverfahren, --schluessel 05000 "
       "bedeutet Lastschriften im Einzugsermächtigungsverfahren."},
      {{"--job", Example("cli/gehaelter.json"), "--schluessel", "05000"},
       "--schluessel 05000 bedeutet Lastschriften im Einzugsermächtigungsverfahren, "
       "„lastschriften“: false im Auftrag bedeutet Gutschriften."},
      {{"--job", "widerspruch.json"},
       "„lastschriften“: false im Auftrag bedeutet Gutschriften, „abbuchung“: true im Auftrag "
       "bedeutet Lastschriften im Abbuchungsauftragsverfahren."},
  };
  for (const auto& c : cases) {
    const auto r = ws.Run(Args({"dtaus", "write", "--dateiname", "x.dta"}, c.args));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_TRUE(Has(r.err, "Widersprüchliche Angaben: " + c.named)) << r.err;
    EXPECT_FALSE(ws.Exists("x.dta"));
  }
}

TEST(MoneyDirection, SummaryNamesTheKindOfTheFileWritten) {
  Workspace ws;
  ws.Write("z.csv", kOnePayment);
  // A debit key without --lastschriften writes debits.
  const auto r =
      ws.Run(Args({"dtaus", "write", "--csv", "z.csv", "--schluessel", "05000"}, kClient));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ws.Read("DTAUS0.TXT").substr(5, 2), "LK");
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "./DTAUS0.TXT: 1 Lastschrift, Summe 1,00 EUR");
}

TEST(Messages, TotalsBeyondTheTrailerRecordsNameTheirLimit) {
  Workspace ws;
  std::string csv = "name,konto,blz,betrag\n";
  for (int i = 0; i < 101; ++i) csv += "Anna,1234567900,50010517,999999999.99\n";
  ws.Write("gross.csv", csv);
  const auto dtaus = ws.Run(Args({"dtaus", "write", "--csv", "gross.csv"}, kClient));
  EXPECT_EQ(dtaus.exitCode, 1);
  EXPECT_EQ(dtaus.err,
            "gross.csv: Zeile 102, Feld betrag: Mit diesem Betrag erreicht die Summe der Datei "
            "100999999998,99 EUR; Datensatz E fasst höchstens 99999999999,99 EUR (13 Stellen).\n"
            "Nichts geschrieben: 1 Fehler.\n");

  // Foreign currencies have no amount limit of their own; record Z's sum has 15 digits.
  csv = "bic,iban,name,ort,betrag,waehrung\n";
  for (int i = 0; i < 11; ++i)
    csv += "BNPAFRPP,FR1420041010050500013M02606,A,Paris,99999999999999,JPY\n";
  ws.Write("yen.csv", csv);
  const auto dtazv = ws.Run(Args({"dtazv", "write", "--csv", "yen.csv"}, kForeignClient));
  EXPECT_EQ(dtazv.exitCode, 1);
  EXPECT_EQ(dtazv.err,
            "yen.csv: Zeile 12, Feld betrag: Mit diesem Betrag erreicht die Summe der ganzen "
            "Einheiten 1099999999999989; Datensatz Z fasst höchstens 999999999999999 (15 "
            "Stellen).\nNichts geschrieben: 1 Fehler.\n");
}

TEST(Messages, IbanAndBicSayWhatIsWrong) {
  Workspace ws;
  const auto iban = ws.Run({"iban", "check", "XX89370400440532013000", "DE8937040044053201300",
                            "DE88370400440532013000", "DE543704004405320130001"});
  EXPECT_EQ(iban.exitCode, 1);
  EXPECT_EQ(iban.out,
            "XX89370400440532013000: ungültig: „XX“ ist kein Land mit IBAN (eine IBAN beginnt mit "
            "dem Ländercode, z.B. DE).\n"
            "DE8937040044053201300: ungültig: Eine IBAN aus DE hat 22 Zeichen, diese hat 21.\n"
            "DE88370400440532013000: ungültig: Die Prüfziffern 88 passen nicht zur IBAN: ein "
            "Zeichen ist falsch oder vertauscht.\n"
            // Its check digits agree, but no German IBAN has 23 characters.
            "DE543704004405320130001: ungültig: Eine IBAN aus DE hat 22 Zeichen, diese hat 23.\n");
  const auto bic = ws.Run({"bic", "check", "DEUT-EFF"});
  EXPECT_EQ(bic.out,
            "DEUT-EFF: ungültig: Eine BIC besteht aus Buchstaben und Ziffern; „-“ gehört nicht "
            "hinein.\n");

  ws.Write("z.csv", "bic,iban,name,ort,betrag\nBNPAFRPP,DE543704004405320130001,A,Paris,100\n");
  const auto payment = ws.Run(Args({"dtazv", "write", "--csv", "z.csv"}, kForeignClient));
  EXPECT_EQ(payment.exitCode, 1);
  EXPECT_TRUE(
      Has(payment.err, "Zeile 2, Feld iban: Eine IBAN aus DE hat 22 Zeichen, diese hat 23."))
      << payment.err;
  EXPECT_FALSE(ws.Exists("DTAZV"));
}

TEST(Messages, CountsAgreeWithTheirNoun) {
  Workspace ws;
  ws.Write("z.csv", kOnePayment);
  const auto write = ws.Run(Args({"dtaus", "write", "--csv", "z.csv"}, kClient));
  EXPECT_EQ(write.out.substr(0, write.out.find('\n')),
            "./DTAUS0.TXT: 1 Gutschrift, Summe 1,00 EUR");
  const auto read = ws.Run({"dtaus", "read", "DTAUS0.TXT", "--verify"});
  EXPECT_EQ(read.err, "Geprüft: DTAUS0.TXT: Datensatz E stimmt mit 1 Buchung überein.\n");

  ws.Write("a.csv", "bic,iban,name,ort,betrag\nBNPAFRPP,FR1420041010050500013M02606,A,Paris,100\n");
  const auto foreign = ws.Run(Args({"dtazv", "write", "--csv", "a.csv"}, kForeignClient));
  EXPECT_EQ(foreign.out.substr(0, foreign.out.find('\n')),
            "./DTAZV: 1 Auslandszahlung, Summe 100 EUR (ganze Einheiten)");
}

TEST(Messages, TextLongerThanItsFieldIsRefusedNotCut) {
  Workspace ws;
  ws.Write("lang.csv",
           "name,konto,blz,betrag,verwendungszweck1,verwendungszweck2\n"
           "Abcdefghij Klmnopqrst Uvwxyz1,1234567900,50010517,1,kurz,Abcdefghij Klmnopqrst "
           "Uvwxyzä\n");
  const auto dtaus = ws.Run(Args({"dtaus", "write", "--csv", "lang.csv"}, kClient));
  EXPECT_EQ(dtaus.exitCode, 1);
  EXPECT_EQ(dtaus.err,
            "lang.csv: Zeile 2, Feld name: „Abcdefghij Klmnopqrst Uvwxyz1“ ist zu lang: in der "
            "Datei 29 Zeichen, das Feld fasst 27.\n"
            "lang.csv: Zeile 2, Feld verwendungszweck: „Abcdefghij Klmnopqrst Uvwxyzä“ ist zu "
            "lang: in der Datei 29 Zeichen, das Feld fasst 27.\n"
            "Nichts geschrieben: 2 Fehler.\n");
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));

  // A single long purpose line is spread over several lines, and characters the
  // file drops do not count.
  ws.Write("eine.csv",
           "name,konto,blz,betrag,verwendungszweck1\n"
           "(Abcdefghij Klmnopqrst Uvwxy),1234567900,50010517,1,Abcdefghij Klmnopqrst Uvwxyz "
           "Abcdefghij\n");
  EXPECT_EQ(ws.Run(Args({"dtaus", "write", "--csv", "eine.csv"}, kClient)).exitCode, 0);

  // In a foreign payment Ä counts twice (AE).
  ws.Write("z.csv",
           "bic,iban,name,ort,betrag\nBNPAFRPP,FR1420041010050500013M02606,Abcdefghij Klmnopqrst "
           "Uvwxyz Äbcdef,Paris,100\n");
  const auto dtazv = ws.Run(Args({"dtazv", "write", "--csv", "z.csv"}, kForeignClient));
  EXPECT_EQ(dtazv.exitCode, 1);
  EXPECT_TRUE(Has(dtazv.err, "ist zu lang: in der Datei 36 Zeichen, das Feld fasst 35."))
      << dtazv.err;
}

TEST(Messages, LettersTheFileLacksBecomeBaseLettersAndStrengRefusesEveryChange) {
  Workspace ws;
  ws.Write("z.csv",
           "name,konto,blz,betrag,verwendungszweck1\n"
           "José Sánchez (Kassel),1234567900,50010517,1,Rabatt \\ Skonto\n");
  const auto written = ws.Run(Args({"dtaus", "write", "--csv", "z.csv"}, kClient));
  ASSERT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(written.err,
            "Warnung: z.csv: Zeile 2, Feld name: „é“ wird zu „E“, „á“ wird zu „A“.\n"
            "Warnung: z.csv: Zeile 2, Feld name: Diese Zeichen fallen weg: „(“ „)“.\n"
            "Warnung: z.csv: Zeile 2, Feld verwendungszweck: Diese Zeichen fallen weg: „\\“.\n");
  const std::string file = ws.Read("DTAUS0.TXT");
  EXPECT_TRUE(Has(file, "JOSE SANCHEZ KASSEL")) << file;
  // In this file a backslash stands for Ö.
  EXPECT_TRUE(Has(file, "RABATT  SKONTO")) << file;
  // In a file of another name á is the code of ß.
  ASSERT_EQ(
      ws.Run(Args({"dtaus", "write", "--csv", "z.csv", "--dateiname", "z.dta"}, kClient)).exitCode,
      0);
  EXPECT_TRUE(Has(ws.Read("z.dta"), "JOSE SANCHEZ KASSEL"));

  const auto streng = ws.Run(
      Args({"dtaus", "write", "--csv", "z.csv", "--dateiname", "s.dta", "--streng"}, kClient));
  EXPECT_EQ(streng.exitCode, 1);
  EXPECT_TRUE(Has(streng.err,
                  "Zeile 2, Feld name: Mit --streng ein Fehler: „é“ würde zu „E“, „á“ würde zu "
                  "„A“.\n"))
      << streng.err;
  EXPECT_FALSE(ws.Exists("s.dta"));

  // A name of nothing the file holds would be blank.
  ws.Write("leer.csv", "name,konto,blz,betrag\n(),1234567900,50010517,1\n");
  const auto blank = ws.Run(Args({"dtaus", "write", "--csv", "leer.csv"}, kClient));
  EXPECT_EQ(blank.exitCode, 1);
  EXPECT_TRUE(Has(blank.err, "Feld name: Von „()“ bleibt in der Datei nichts übrig.")) << blank.err;

  ws.Write("a.csv",
           "bic,iban,name,ort,betrag\nBNPAFRPP,FR1420041010050500013M02606,Café Noël,Paris,100\n");
  std::vector<std::string> renee = kForeignClient;
  renee[1] = "Renée GmbH";
  const auto foreign = ws.Run(Args({"dtazv", "write", "--csv", "a.csv"}, renee));
  ASSERT_EQ(foreign.exitCode, 0) << foreign.err;
  const std::string zv = ws.Read("DTAZV");
  EXPECT_TRUE(Has(zv, "CAFE NOEL") && Has(zv, "RENEE GMBH")) << zv;
}

}  // namespace
