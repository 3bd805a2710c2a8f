// What the SEPA plan and writer refuse or warn about, and the creditor identifier.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sepa/SepaTestSupport.h"
#include "zordta/Sepa.h"
#include "zordta/SepaCountries.h"

namespace {

using zor::SepaFault;
using zortest::Day;

zor::SepaSettings Debits() {
  zor::SepaSettings s;
  s.kind = zor::SepaKind::DirectDebit;
  s.messageId = "MSG-1";
  s.account = {"Verein e.V.", "DE89370400440532013000", ""};
  s.creditorId = "DE98ZZZ09999999999";
  return s;
}

zor::SepaPayment Debit(zor::SepaSequence sequence = zor::SepaSequence::Recurring) {
  return {{Day(2026, 12, 15), sequence},
          1000,
          {"Hans Schuldner", "DE02100100100006820101", ""},
          "",
          "Beitrag",
          "M-1",
          Day(2025, 1, 2),
          ""};
}

// The fault, field and German text of a refusal.
template <typename F>
void ExpectRefused(F&& call, SepaFault fault, const std::string& field, const std::string& text) {
  try {
    call();
    ADD_FAILURE() << "expected zor::SepaError";
  } catch (const zor::SepaError& e) {
    EXPECT_EQ(e.Fault(), fault) << e.what();
    EXPECT_EQ(e.Place().field, field) << e.what();
    EXPECT_NE(e.Text().find(text), std::string::npos) << e.what();
  }
}

TEST(SepaCreditorId, CheckDigitsOverNationalPartCountryAndZeros) {
  EXPECT_TRUE(zor::CheckCreditorId("DE98ZZZ09999999999"));
  // The business code does not count.
  EXPECT_TRUE(zor::CheckCreditorId("DE98ABC09999999999"));
  EXPECT_FALSE(zor::CheckCreditorId("DE97ZZZ09999999999"));
  EXPECT_FALSE(zor::CheckCreditorId("DE98ZZZ09999999998"));
  EXPECT_FALSE(zor::CheckCreditorId("DE98ZZZ"));
  EXPECT_FALSE(zor::CheckCreditorId("de98ZZZ09999999999"));

  zor::SepaSettings s = Debits();
  s.creditorId = "DE97ZZZ09999999999";
  ExpectRefused([&] { zor::SepaPlan plan(s); }, SepaFault::CreditorId, "CdtrSchmeId",
                "Prüfziffern");
}

TEST(SepaRefusals, PaymentValuesNameFieldAndPayment) {
  zor::SepaPlan plan(Debits());
  plan.Add(Debit());

  zor::SepaPayment p = Debit();
  p.counterparty.iban = "DE02100100100006820102";
  ExpectRefused([&] { plan.Add(p); }, SepaFault::Iban, "DbtrAcct/Id/IBAN", "IBAN");

  for (const std::int64_t cents : {std::int64_t{0}, std::int64_t{-1}, 100'000'000'000}) {
    p = Debit();
    p.cents = cents;
    ExpectRefused([&] { plan.Add(p); }, SepaFault::Amount, "InstdAmt", "Betrag");
  }

  p = Debit();
  p.mandateId.clear();
  ExpectRefused([&] { plan.Add(p); }, SepaFault::Mandate, "MndtRltdInf/MndtId", "Mandat");
  p = Debit();
  p.mandateSigned.reset();
  ExpectRefused([&] { plan.Add(p); }, SepaFault::Mandate, "MndtRltdInf/DtOfSgntr", "Mandat");

  p = Debit();
  p.counterparty.bic = "PBNKDEF";
  ExpectRefused([&] { plan.Add(p); }, SepaFault::Bic, "DbtrAgt/FinInstnId", "BIC");

  // A reference is never cut: a cut mandate reference could name another mandate.
  p = Debit();
  p.mandateId = std::string(36, 'M');
  ExpectRefused([&] { plan.Add(p); }, SepaFault::Identifier, "MndtRltdInf/MndtId", "35");

  // The code is written as it stands: a lower-case one is not raised here.
  for (const char* code : {"sala", "SAL", "SALAR", "SAL1"}) {
    p = Debit();
    p.purposeCode = code;
    ExpectRefused([&] { plan.Add(p); }, SepaFault::Purpose, "Purp/Cd", "vier Großbuchstaben");
  }

  // Nothing refused was counted.
  EXPECT_EQ(plan.Count(), 1u);
  EXPECT_EQ(plan.Cents(), 1000);
}

// The banks refuse an account outside the SEPA schemes, and one outside the
// EEA without its BIC: the client's as well as the payments'.
TEST(SepaRefusals, AccountsOutsideTheSchemesAndOutsideTheEeaWithoutBic) {
  EXPECT_EQ(zor::SepaAreaOf("DE"), zor::SepaArea::Eea);
  EXPECT_EQ(zor::SepaAreaOf("MK"), zor::SepaArea::OutsideEea);
  for (const char* code : {"TR", "XK", "de", "D", "", "D\xC4"}) {
    EXPECT_EQ(zor::SepaAreaOf(code), zor::SepaArea::Outside) << code;
  }
  for (const zor::SepaVersion version : {zor::SepaVersion::Current, zor::SepaVersion::German}) {
    zor::SepaSettings s = Debits();
    s.kind = zor::SepaKind::CreditTransfer;
    s.version = version;
    zor::SepaPlan plan(s);
    zor::SepaPayment p = Debit();
    for (const char* iban : {"TR330006100519786457841326", "BR1800360305000010009795493C1",
                             "SA0380000000608010167519"}) {
      p.counterparty.iban = iban;
      ExpectRefused([&] { plan.Add(p); }, SepaFault::Country, "CdtrAcct/Id/IBAN",
                    std::string(iban, 2) + ", einem Land außerhalb des SEPA-Raums");
    }
    for (const char* iban : {"CH9300762011623852957", "AL47212110090000000235698741"}) {
      p.counterparty = {"Hans", iban, ""};
      p.counterparty.address = {.town = "Zürich", .country = "CH"};
      ExpectRefused([&] { plan.Add(p); }, SepaFault::Bic, "CdtrAgt/FinInstnId",
                    "SEPA-Land außerhalb des EWR; dafür ist die BIC nötig");
      p.counterparty.bic = "UBSWCHZH80A";
      plan.Add(p);
    }
    EXPECT_EQ(plan.Count(), 2u);

    s.account = {"Zor Ltd", "GB29NWBK60161331926819", ""};
    ExpectRefused([&] { zor::SepaPlan refused(s); }, SepaFault::Bic, "DbtrAgt/FinInstnId",
                  "außerhalb des EWR");
  }
}

// The EPC's rules keep a slash off both ends of a reference and out of pairs,
// in every version.
TEST(SepaRefusals, ReferencesWithSlashesAtTheEndsOrDoubled) {
  for (const zor::SepaVersion version : {zor::SepaVersion::Current, zor::SepaVersion::German}) {
    zor::SepaSettings s = Debits();
    s.version = version;
    zor::SepaPlan plan(s);
    zor::SepaPayment p = Debit();
    p.endToEndId = "A/B";
    p.mandateId = "M/1";
    plan.Add(p);
    for (const char* id : {"/A", "A/", "A//B", "/"}) {
      p = Debit();
      p.endToEndId = id;
      ExpectRefused([&] { plan.Add(p); }, SepaFault::Identifier, "EndToEndId", "\"//\"");
      p = Debit();
      p.mandateId = id;
      ExpectRefused([&] { plan.Add(p); }, SepaFault::Identifier, "MndtRltdInf/MndtId",
                    "beginnt oder endet mit \"/\"");
      s.messageId = id;
      ExpectRefused([&] { zor::SepaPlan refused(s); }, SepaFault::Identifier, "MsgId", "/");
    }
  }
}

TEST(SepaRefusals, WriterTakesOnlyThePlannedGroupsAndTotals) {
  zor::SepaPlan plan(Debits());
  plan.Add(Debit(zor::SepaSequence::First));
  plan.Add(Debit(zor::SepaSequence::Recurring));

  {  // A payment of the second group while the first is still open.
    std::ostringstream out;
    zor::SepaWriter writer(plan, out);
    ExpectRefused([&] { writer.Add(Debit(zor::SepaSequence::Recurring)); }, SepaFault::Group, "",
                  "Gruppe");
  }
  {  // A group whose payment differs from the plan in its amount.
    std::ostringstream out;
    zor::SepaWriter writer(plan, out);
    zor::SepaPayment p = Debit(zor::SepaSequence::First);
    p.cents = 999;
    ExpectRefused([&] { writer.Add(p); }, SepaFault::Totals, "", "Summe");
  }
  {  // One payment too many, and a document ended before its last group.
    std::ostringstream out;
    zor::SepaWriter writer(plan, out);
    writer.Add(Debit(zor::SepaSequence::First));
    ExpectRefused([&] { writer.Finish(); }, SepaFault::Totals, "", "Summe");
    ExpectRefused([&] { writer.Add(Debit(zor::SepaSequence::First)); }, SepaFault::Totals, "",
                  "mehr Zahlungen");
  }
}

TEST(SepaText, TransliterationWarnsOrIsRefusedWhenStrict) {
  zor::SepaSettings s = Debits();
  zor::SepaPayment p = Debit();
  p.counterparty.name = "Zoë Łukaszewska-Müller";
  zor::SepaPlan plan(s);
  plan.Add(p);
  ASSERT_EQ(plan.WarningCount(), 1u);
  EXPECT_EQ(plan.Warnings()[0].place.payment, 1u);
  EXPECT_EQ(plan.Warnings()[0].place.field, "Dbtr/Nm");
  EXPECT_NE(plan.Warnings()[0].text.find("umschrieben: ë, Ł"), std::string::npos);

  // The document holds the transliteration and keeps the umlaut.
  const std::string document = zortest::WriteSepa(s, {p});
  EXPECT_NE(document.find("<Nm>Zoe Lukaszewska-Müller</Nm>"), std::string::npos);
  EXPECT_TRUE(zortest::ValidSepa(document));
  // Basic Latin outside the banks' set has counterparts too; untouched text is taken as it is.
  zor::SepaPayment marks = Debit();
  marks.remittance = "Miete; Dezember_2026 \"A\"!  ";
  EXPECT_NE(zortest::WriteSepa(s, {marks}).find("<Ustrd>Miete, Dezember-2026 'A'.</Ustrd>"),
            std::string::npos);

  s.strict = true;
  zor::SepaPlan strict(s);
  ExpectRefused([&] { strict.Add(p); }, SepaFault::Text, "Dbtr/Nm", "ë, Ł");
  p = Debit();
  p.remittance = std::string(141, 'x');
  ExpectRefused([&] { strict.Add(p); }, SepaFault::Text, "Ustrd", "140");

  // No counterpart at all: refused also without strictness; markup is no issue.
  zor::SepaPlan lenient(Debits());
  p = Debit();
  p.remittance = "Rechnung #12";
  ExpectRefused([&] { lenient.Add(p); }, SepaFault::Text, "Ustrd", "\"#\"");
  p.remittance = "A & B </Ustrd>";
  EXPECT_THROW(lenient.Add(p), zor::SepaError);  // < and > have no place in bank text
}

}  // namespace
