// zordta iban aus and konto check: the bank-code file from --bankdaten or the
// default, the refusals in German, and the check method taken from the file chosen.
#include <gtest/gtest.h>

#include "../bankdata/BankCodeLines.h"
#include "CliRunner.h"

namespace {

using banktest::Bank;
using banktest::Line;
using clitest::Workspace;

// Commerzbank (standard rule), a bank of a rule of its own, a deleted one, and
// a bank whose method the account-check library does not know.
void WriteBanks(const Workspace& ws) {
  Bank special{"10020890",    '1',        "UniCredit Bank - HypoVereinsbank",
               "HYVEDEMM488", "09",       'U',
               '0',           "00000000", "000503"};
  Bank deleted{"13061088", '1',     "Raiffeisenbank Wismar -alt-", "GENODEF1HWR", "32", 'D', '0',
               "13061078", "000000"};
  Bank unknownMethod{"20010020", '1', "Postbank", "", "Z9", 'U', '0', "00000000", "000000"};
  ws.Write("blz.txt", Line(Bank{}) + Line(special) + Line(deleted) + Line(unknownMethod));
}

TEST(IbanAus, PrintsIbanAndBicOfAStandardRuleBank) {
  Workspace ws;
  WriteBanks(ws);
  const auto r = ws.Run({"iban", "aus", "370 400 44", "0532013000", "--bankdaten", "blz.txt"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "IBAN: DE89370400440532013000\nBIC: COBADEFFXXX\nBank: Commerzbank\n");
  EXPECT_EQ(r.err, "");
}

TEST(IbanAus, RefusesARuleOfItsOwnAndADeletedCodeNamingThem) {
  Workspace ws;
  WriteBanks(ws);
  const auto special = ws.Run({"iban", "aus", "10020890", "1234567", "--bankdaten", "blz.txt"});
  EXPECT_EQ(special.exitCode, 1);
  EXPECT_EQ(special.out,
            "Keine IBAN: Für die Bankleitzahl 10020890 (UniCredit Bank - HypoVereinsbank) gilt "
            "die IBAN-Regel 0005, Version 03: die IBAN wird nicht nach der Standardregel "
            "gebildet; sie ist bei der Bank zu erfragen.\n");
  const auto deleted = ws.Run({"iban", "aus", "13061088", "1234567", "--bankdaten", "blz.txt"});
  EXPECT_EQ(deleted.exitCode, 1);
  EXPECT_NE(deleted.out.find("ersetzt durch 13061078."), std::string::npos) << deleted.out;
  const auto account = ws.Run({"iban", "aus", "37040044", "12345678901", "--bankdaten", "blz.txt"});
  EXPECT_EQ(account.exitCode, 1);
  EXPECT_EQ(account.out,
            "Keine IBAN: Eine Kontonummer hat 1 bis 10 Ziffern, nicht „12345678901“.\n");
}

// Valid IBAN check digits would hide a mistyped account for good: no IBAN for
// an account its bank's method refuses, unless asked for, and then with a warning.
TEST(IbanAus, AnAccountItsBanksMethodRefusesGetsNoIbanUnlessAskedFor) {
  Workspace ws;
  WriteBanks(ws);
  const auto typo = ws.Run({"iban", "aus", "37040044", "532014000", "--bankdaten", "blz.txt"});
  EXPECT_EQ(typo.exitCode, 1);
  EXPECT_EQ(typo.out.rfind("Keine IBAN: Die Kontonummer passt nicht zum Prüfverfahren ", 0), 0u)
      << typo.out;
  EXPECT_EQ(typo.out.find("DE"), std::string::npos) << typo.out;
  const auto unknown = ws.Run({"iban", "aus", "20010020", "1234567", "--bankdaten", "blz.txt"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.out.find("Das Prüfverfahren Z9 ist nicht bekannt"), std::string::npos)
      << unknown.out;

  const auto asked = ws.Run(
      {"iban", "aus", "37040044", "532014000", "--bankdaten", "blz.txt", "--ohne-kontopruefung"});
  EXPECT_EQ(asked.exitCode, 0) << asked.err;
  EXPECT_EQ(asked.out.rfind("IBAN: DE", 0), 0u) << asked.out;
  EXPECT_EQ(asked.err.rfind("Warnung: Die Kontonummer passt nicht zum Prüfverfahren ", 0), 0u)
      << asked.err;
}

// Debian's file is the version without IBAN rules: the standard rule only on request.
TEST(IbanAus, TheDefaultFileNeedsTheStandardRuleAskedFor) {
  Workspace ws;
  const auto refused = ws.Run({"iban", "aus", "37040044", "532013000"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.out.find("nennt keine IBAN-Regeln"), std::string::npos) << refused.out;
  EXPECT_NE(refused.out.find("--standardregel"), std::string::npos);
  const auto assumed = ws.Run({"iban", "aus", "37040044", "532013000", "--standardregel"});
  EXPECT_EQ(assumed.exitCode, 0) << assumed.err;
  EXPECT_EQ(assumed.out.substr(0, 45), "IBAN: DE89370400440532013000\nBIC: COBADEFFXXX");
  EXPECT_NE(assumed.err.find("Hinweis: "), std::string::npos);
}

TEST(IbanAus, ABrokenOrMissingFileIsRefusedNamingTheLine) {
  Workspace ws;
  std::string broken = Line(Bank{}) + Line(Bank{.code = "10020890"});
  broken[176 + 8] = '3';  // the second record's Merkmal (174 characters and CR LF a line)
  ws.Write("blz.txt", broken);
  for (const char* command : {"iban", "konto"}) {
    const auto r = ws.Run({command, command[0] == 'i' ? "aus" : "check", "37040044", "532013000",
                           "--bankdaten", "blz.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "Fehler: Bankleitzahlendatei, Zeile 2: Das Feld Merkmal (Stelle 9 bis 9) ist "
              "ungültig: „3“.\n");
  }
  const auto missing = ws.Run({"iban", "aus", "37040044", "1", "--bankdaten", "fehlt.txt"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err,
            "Fehler: Die Bankleitzahlendatei „fehlt.txt“ kann nicht gelesen werden.\n");
}

// 10020890 checks by method 99 in Debian's file; the given file says 09 (no check).
TEST(KontoCheck, TakesTheCheckMethodFromTheFileGiven) {
  Workspace ws;
  WriteBanks(ws);
  const auto given = ws.Run({"konto", "check", "10020890", "1234567", "--bankdaten", "blz.txt"});
  EXPECT_EQ(given.exitCode, 0);
  EXPECT_EQ(given.out,
            "Bank: UniCredit Bank - HypoVereinsbank, 10117 Berlin\nPrüfverfahren: 09\n"
            "Konto 1234567: gültig\n");
  const auto standard = ws.Run({"konto", "check", "10020890", "1234567"});
  EXPECT_EQ(standard.exitCode, 1);
  EXPECT_NE(standard.out.find("Prüfverfahren: 99\nKonto 1234567: ungültig: Die Kontonummer passt "
                              "nicht zum Prüfverfahren 99 der Bank (Prüfziffer falsch).\n"),
            std::string::npos)
      << standard.out;
}

TEST(KontoCheck, UnknownMethodsCodesAndAccountsAreInvalidInGerman) {
  Workspace ws;
  WriteBanks(ws);
  const auto method = ws.Run({"konto", "check", "20010020", "1234567", "--bankdaten", "blz.txt"});
  EXPECT_EQ(method.exitCode, 1);
  EXPECT_NE(method.out.find("Konto 1234567: ungültig: Das Prüfverfahren Z9 ist nicht bekannt"),
            std::string::npos)
      << method.out;
  EXPECT_EQ(method.err, "");  // not the check library's English
  const auto code = ws.Run({"konto", "check", "99999999", "1", "--bankdaten", "blz.txt"});
  EXPECT_EQ(code.exitCode, 1);
  EXPECT_EQ(code.out,
            "Konto 1: ungültig: Die Bankleitzahl 99999999 steht nicht in der "
            "Bankleitzahlendatei.\n");
  const auto account = ws.Run({"konto", "check", "37040044", "12a", "--bankdaten", "blz.txt"});
  EXPECT_EQ(account.exitCode, 1);
  EXPECT_NE(account.out.find("Konto 12a: ungültig: Eine Kontonummer hat 1 bis 10 Ziffern"),
            std::string::npos);
}

}  // namespace

namespace {

std::vector<std::string> WriteWithBanks(std::vector<std::string> extra) {
  std::vector<std::string> args{"dtaus",    "write",     "--csv",       "p.csv",   "--name",
                                "Zor GmbH", "--blz",     "37040044",    "--konto", "1234567",
                                "--no-pdf", "--no-text", "--bankdaten", "blz.txt"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// A valid account, one its method refuses, an unknown and a deleted bank code,
// a method the check library does not know (silence), and the client's account.
TEST(DtausWriteAccounts, WarnsOfWhatTheBankWouldRefuseAndStrengRefusesIt) {
  Workspace ws;
  WriteBanks(ws);
  ws.Write("p.csv",
           "name,konto,blz,betrag\nGut,532013000,37040044,1\nFalsch,1234567,37040044,2\n"
           "Unbekannt,532013000,12345678,3\nAlt,532013000,13061088,4\nZ9,1234567,20010020,5\n");
  const std::string warnings =
      "p.csv: Auftraggeber, Feld konto: Die Kontonummer 1234567 passt nicht zum Prüfverfahren 13 "
      "der "
      "Bank „Commerzbank“ (Prüfziffer falsch).\n"
      "p.csv: Zeile 3, Feld konto: Die Kontonummer 1234567 passt nicht zum Prüfverfahren 13 der "
      "Bank „Commerzbank“ (Prüfziffer falsch).\n"
      "p.csv: Zeile 4, Feld blz: Die Bankleitzahl 12345678 gibt es nicht "
      "(Bankleitzahlendatei blz.txt).\n"
      "p.csv: Zeile 5, Feld blz: Die Bankleitzahl 13061088 (Raiffeisenbank Wismar -alt-) ist "
      "gelöscht oder zur Löschung vorgesehen; sie wird ersetzt durch 13061078.\n";

  const auto strict = ws.Run(WriteWithBanks({"--streng"}));
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  EXPECT_EQ(strict.err, warnings + "Nichts geschrieben: 4 Fehler.\n");

  const auto written = ws.Run(WriteWithBanks({}));
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_TRUE(ws.Exists("DTAUS0.TXT"));
  std::string expected;
  for (std::size_t at = 0, end; at < warnings.size(); at = end + 1) {
    end = warnings.find('\n', at);
    expected += "Warnung: " + warnings.substr(at, end - at + 1);
  }
  EXPECT_EQ(written.err, expected);

  const auto missing = ws.Run({"dtaus", "write", "--csv", "p.csv", "--bankdaten", "fehlt.txt"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("--bankdaten: Die Bankleitzahlendatei „fehlt.txt“ kann nicht"),
            std::string::npos)
      << missing.err;
}

// Beyond the warnings kept, the rest are counted, in a job of several files too.
TEST(DtausWriteAccounts, CountsTheWarningsNotShown) {
  Workspace ws;
  WriteBanks(ws);
  std::string payments;
  for (int i = 0; i < 1200; ++i) {
    payments += std::string(i ? ", " : "") +
                R"({"name": "X", "konto": 532013000, "blz": 12345678, "betrag": 1})";
  }
  const std::string file = R"({"auftraggeber": {"name": "Zor", "blz": 37040044, "konto": )"
                           R"(532013000}, "buchungen": [)" +
                           payments + "]}";
  ws.Write("job.json", R"({"art": "dtaus", "dateien": [)" + file + ", " + file + "]}");
  const auto r =
      ws.Run({"dtaus", "write", "--job", "job.json", "--bankdaten", "blz.txt", "--dry-run"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("dateien[1], Buchung 100, Feld blz"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("dateien[1], Buchung 101, Feld blz"), std::string::npos);
  EXPECT_NE(r.err.find("… und 2.300 weitere Warnungen.\n"), std::string::npos) << r.err;
}

}  // namespace
