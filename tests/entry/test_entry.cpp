// Payments given as text: what a DTAUS or DTAZV file makes of a text, and the
// checks of a payment's values, with the sentences a caller shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/FileText.h"
#include "zordta/PaymentValues.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/SysUtils.h"

namespace {

struct Heard {
  std::vector<zor::FileTextIssue> issues;
  zor::FileText::Report Report() {
    return [this](const zor::FileTextIssue& issue) { issues.push_back(issue); };
  }
};

TEST(FileText, ReportsEachChangeWithItsCharactersAndSentence) {
  zor::TZorDTA dta(nullptr);
  dta.SetDTAFilename(ZT("DTAUS0.TXT"));
  Heard heard;
  zor::FileText text(dta, false, heard.Report());
  zor::AnsiString ansi;

  // "]" would be read back as Ü: left out, reported with "€", which the component drops.
  const zor::TextInFile inFile = text.Prepare("François € Ærø]", 12, "name", ansi);
  EXPECT_EQ(ansi, ZA("Francois € AEro"));
  EXPECT_EQ(inFile.length, 14u);
  ASSERT_EQ(heard.issues.size(), 3u);
  EXPECT_EQ(heard.issues[0].kind, zor::FileTextIssueKind::Replaced);
  EXPECT_FALSE(heard.issues[0].fault);
  EXPECT_EQ(heard.issues[0].field, "name");
  EXPECT_EQ(heard.issues[0].chars, "çÆø");
  EXPECT_EQ(heard.issues[0].message, "„ç“ wird zu „C“, „Æ“ wird zu „AE“, „ø“ wird zu „O“.");
  EXPECT_EQ(heard.issues[1].kind, zor::FileTextIssueKind::Dropped);
  EXPECT_EQ(heard.issues[1].chars, "€]");
  EXPECT_EQ(heard.issues[1].message, "Diese Zeichen fallen weg: „€“ „]“.");
  EXPECT_EQ(heard.issues[2].kind, zor::FileTextIssueKind::TooLong);
  EXPECT_TRUE(heard.issues[2].fault);
  EXPECT_EQ(heard.issues[2].message,
            "„François € Ærø]“ ist zu lang: in der Datei 14 Zeichen, das Feld fasst 12.");

  heard.issues.clear();
  const zor::TextInFile blank = text.Prepare("€ \t", 0, "ort", ansi);
  EXPECT_TRUE(blank.blank);
  EXPECT_TRUE(text.LeftBlank(blank, "€ \t", "ort"));
  EXPECT_FALSE(text.LeftBlank(text.Prepare(" ", 0, "ort", ansi), " ", "ort"));
  ASSERT_EQ(heard.issues.size(), 2u);
  EXPECT_EQ(heard.issues[0].message, "Diese Zeichen fallen weg: „€“ U+0009.");
  EXPECT_EQ(heard.issues[1].kind, zor::FileTextIssueKind::Blank);
  EXPECT_EQ(heard.issues[1].message, "Von „€ [U+0009]“ bleibt in der Datei nichts übrig.");
}

TEST(FileText, StrictMakesEveryChangeAFault) {
  zor::TZorDTAZV zv(nullptr);
  Heard heard;
  zor::FileText text(zv, true, heard.Report());
  zor::AnsiString ansi;
  text.Prepare("Ærø Straße ~", 0, "ort", ansi);
  ASSERT_EQ(heard.issues.size(), 2u);
  EXPECT_TRUE(heard.issues[0].fault);
  EXPECT_EQ(heard.issues[0].message, "„Æ“ würde zu „AE“, „ø“ würde zu „O“.");
  EXPECT_TRUE(heard.issues[1].fault);
  EXPECT_EQ(heard.issues[1].message, "Diese Zeichen fielen weg: „~“.");
}

// Plain ASCII is tallied eight bytes at a time, the rest a character at a
// time: a text comes to what its characters come to one by one, wherever the
// eight-byte steps fall.
TEST(FileText, EightBytesAtATimeAsOneByOne) {
  zor::TZorDTA dta(nullptr);
  dta.SetDTAFilename(ZT("DTAUS0.TXT"));
  zor::FileText text(dta, false, [](const zor::FileTextIssue&) {});
  const std::vector<std::string> pieces = {"a", "Z", " ", "9", "Ä", "ß", "é", "€", "]", "!", "\t"};
  zor::AnsiString ansi;
  for (std::size_t run = 0; run <= 17; ++run) {
    for (const std::string& piece : pieces) {
      std::vector<std::string> chars(run, "k");
      chars.push_back(piece);
      chars.insert(chars.end(), run % 9, piece.size() == 1 ? piece : " ");
      std::string whole;
      zor::AnsiString joined;
      std::size_t length = 0;
      bool blank = true;
      for (const std::string& c : chars) {
        whole += c;
        const zor::TextInFile one = text.Prepare(c, 0, "f", ansi);
        joined += ansi;
        length += one.length;
        blank = blank && one.blank;
      }
      const zor::TextInFile all = text.Prepare(whole, 0, "f", ansi);
      EXPECT_EQ(ansi, joined) << whole;
      EXPECT_EQ(all.length, length) << whole;
      EXPECT_EQ(all.blank, blank) << whole;
    }
  }
}

TEST(PaymentValues, AmountsArePlainDecimalsWithCommaOrPoint) {
  EXPECT_EQ(zor::ParseAmountCent("12"), 1200);
  EXPECT_EQ(zor::ParseAmountCent(" 12,5 "), 1250);
  EXPECT_EQ(zor::ParseAmountCent("12.05"), 1205);
  EXPECT_EQ(zor::ParseAmountCent("0,01"), 1);
  EXPECT_EQ(zor::ParseAmountCent("999999999999999.99"), 99999999999999999);
  for (const char* bad : {"", ",5", "1.234,56", "1,234.56", "12,345", "-5", "+5", "1e3", "12.",
                          "1 000", "1234567890123456", "0x10", "12,3a", "1.000,00"}) {
    EXPECT_FALSE(zor::ParseAmountCent(bad)) << bad;
  }
  EXPECT_EQ(zor::AmountProblem("12,50"), "");
  EXPECT_EQ(zor::AmountProblem(""), "Betrag fehlt.");
  EXPECT_EQ(zor::AmountProblem("1.000,00"),
            "„1.000,00“ ist kein Betrag (z.B. 1234,56 oder 1234.56, ohne Tausenderpunkte).");
}

TEST(PaymentValues, ExecutionWindowFromTodayToFifteenDaysOn) {
  const zor::TDate today = zor::Date();
  EXPECT_EQ(zor::ExecutionDateProblem(today), "");
  EXPECT_EQ(zor::ExecutionDateProblem(today + 15), "");
  EXPECT_NE(zor::ExecutionDateProblem(today - 1), "");
  EXPECT_EQ(zor::ExecutionDateProblem(zor::EncodeDate(2020, 3, 1)),
            "Das Ausführungsdatum 2020-03-01 muss zwischen heute und heute + 15 Tagen liegen.");
  EXPECT_NE(zor::ExecutionDateProblem(today + 16), "");
}

TEST(PaymentValues, CurrenciesKeysAndBankIdentifiersSayWhatIsWrong) {
  EXPECT_EQ(zor::CurrencyProblem("usd"), "");
  EXPECT_EQ(zor::CurrencyProblem("XAU"),
            "„XAU“ ist keine Währung, in der gezahlt werden kann (ein Code für Edelmetall, "
            "Rechnungseinheit, Test oder „keine Währung“).");
  EXPECT_EQ(zor::CurrencyProblem("EU"), "„EU“ ist kein Währungscode (drei Buchstaben, z.B. USD).");

  ASSERT_NE(zor::PaymentKeyOf("05000"), nullptr);
  EXPECT_EQ(zor::PaymentKeyOf("05000")->code, std::string_view("05"));
  EXPECT_EQ(zor::PaymentKeyOf("5000"), nullptr);
  EXPECT_EQ(zor::PaymentKeyTextProblem("12000"),
            "„12000“ ist kein bekannter Zahlungsschlüssel: Lastschriften beginnen mit 04 oder "
            "05, Gutschriften mit 51, 53, 54 oder 56.");
  EXPECT_EQ(zor::PaymentKeyProblem("51000", true),
            "Der Zahlungsschlüssel 51000 ist eine Gutschrift; die Datei enthält Lastschriften "
            "(04, 05).");

  EXPECT_EQ(zor::IbanProblemText("DE89370400440532013000"), "");
  EXPECT_EQ(zor::IbanProblemText("DE88370400440532013000"),
            "Die Prüfziffern 88 passen nicht zur IBAN: ein Zeichen ist falsch oder vertauscht.");
  EXPECT_EQ(zor::IbanProblemText("DE8937040044053201300"),
            "Eine IBAN aus DE hat 22 Zeichen, diese hat 21.");
  EXPECT_EQ(zor::BicProblemText("COBAXXFFXXX"),
            "Zeichen 5 und 6 einer BIC nennen das Land der Bank; „XX“ ist kein Land (ISO 3166, "
            "z.B. DE).");
  EXPECT_EQ(zor::BicProblemText("COBADE"), "Eine BIC hat 8 oder 11 Zeichen, diese hat 6.");
}

}  // namespace
