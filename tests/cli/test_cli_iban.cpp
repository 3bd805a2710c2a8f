// The tool refuses every IBAN the registry refuses, naming the rule: a
// character out of place, check digits never issued, and a length or country
// that check digits cannot make up for.
#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using clitest::Workspace;

TEST(IbanCheck, RefusesWhatTheRegistryRefusesEvenWhenTheCheckDigitsAgree) {
  Workspace ws;
  const auto r = ws.Run({"iban", "check", "DE47370400440532013A00", "GB321WBK60161331926819",
                         "DE00130524030498518963", "FR04300060000112345678901",
                         "FR1420041010050500013M02606"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "DE47370400440532013A00: ungültig: An Stelle 20 gehört in eine IBAN aus DE eine "
            "Ziffer, nicht „A“.\n"
            "GB321WBK60161331926819: ungültig: An Stelle 5 gehört in eine IBAN aus GB ein "
            "Buchstabe, nicht „1“.\n"
            "DE00130524030498518963: ungültig: Die Prüfziffern 00 gibt es nicht; sie liegen "
            "zwischen 02 und 98.\n"
            "FR04300060000112345678901: ungültig: Eine IBAN aus FR hat 27 Zeichen, diese hat 25.\n"
            "FR1420041010050500013M02606: gültig\n");
}

TEST(IbanCheck, DtazvWriteRefusesACharacterOutOfPlace) {
  Workspace ws;
  ws.Write("z.csv", "bic,iban,name,ort,betrag\nBNPAFRPP,DE47370400440532013A00,A,Paris,100\n");
  const auto r =
      ws.Run({"dtazv", "write", "--csv", "z.csv", "--name", "Muster GmbH", "--ort", "Stuttgart",
              "--blz", "60050101", "--konto", "1234567", "--no-pdf", "--no-text"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "z.csv: Zeile 2, Feld iban: An Stelle 20 gehört in eine IBAN aus DE eine Ziffer, "
            "nicht „A“.\nNichts geschrieben: 1 Fehler.\n");
  EXPECT_FALSE(ws.Exists("DTAZV"));
}

}  // namespace
