// The writer's shortcuts give what the general way gives: a transaction of a
// shape seen before, a German IBAN, text of the banks' set with umlauts.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sepa/SepaTestSupport.h"
#include "zordta/Iban.h"
#include "zordta/IsoCodes.h"
#include "zordta/Sepa.h"

namespace {

using zortest::Day;

zor::SepaSettings Settings(zor::SepaKind kind, zor::SepaVersion version) {
  zor::SepaSettings s;
  s.kind = kind;
  s.version = version;
  s.messageId = "MSG-1";
  s.account = {"Firma & Co", "DE89370400440532013000", ""};
  s.creditorId = "DE98ZZZ09999999999";
  return s;
}

zor::SepaPayment Payment(int day, std::int64_t cents, const std::string& name,
                         const std::string& bic, const std::string& purpose,
                         const std::string& remittance) {
  return {{Day(2026, 12, static_cast<unsigned>(day)), zor::SepaSequence::OneOff},
          cents,
          {name, "DE02100100100006820101", bic},
          "",
          remittance,
          "M-1",
          Day(2025, 1, 2),
          purpose};
}

// Every transaction of a document, its start and end line included.
std::vector<std::string> Transactions(const std::string& document, const std::string& tag) {
  std::vector<std::string> found;
  const std::string end = "</" + tag + ">\n";
  for (std::size_t at = document.find("      <" + tag + ">"); at != std::string::npos;
       at = document.find("      <" + tag + ">", at + 1)) {
    found.push_back(document.substr(at, document.find(end, at) + end.size() - at));
  }
  return found;
}

TEST(SepaWriterShapes, EachTransactionIsWhatItIsAlone) {
  for (const bool debits : {false, true}) {
    const zor::SepaSettings s =
        debits ? Settings(zor::SepaKind::DirectDebit, zor::SepaVersion::German)
               : Settings(zor::SepaKind::CreditTransfer, zor::SepaVersion::Current);
    const std::string tag = debits ? "DrctDbtTxInf" : "CdtTrfTxInf";
    // Every shape twice, with other values and two dates, so two groups.
    std::vector<zor::SepaPayment> payments;
    for (int round = 0; round < 2; ++round) {
      for (int shape = 0; shape < 8; ++shape) {
        payments.push_back(
            Payment(15 + round, 100 + shape + 10 * round, round == 0 ? "A & B" : "Ä & ß",
                    (shape & 1) ? "COBADEFFXXX" : "", (shape & 2) ? "SALA" : "",
                    (shape & 4) ? (round == 0 ? "Lohn & \"Bonus\"" : "Miete Dezember") : ""));
      }
    }
    const std::string document = zortest::WriteSepa(s, payments);
    ASSERT_TRUE(zortest::ValidSepa(document));
    EXPECT_EQ(Transactions(document, tag).size(), payments.size());
    for (const zor::SepaPayment& p : payments) {
      const std::vector<std::string> alone = Transactions(zortest::WriteSepa(s, {p}), tag);
      ASSERT_EQ(alone.size(), 1u);
      EXPECT_NE(document.find(alone[0]), std::string::npos) << alone[0];
    }
    // The group after a transaction ends on its own line, indented.
    std::size_t ends = 0;
    for (std::size_t at = document.find("\n    </PmtInf>\n"); at != std::string::npos;
         at = document.find("\n    </PmtInf>\n", at + 1)) {
      ++ends;
    }
    EXPECT_EQ(ends, 2u) << document;
  }
}

// Check digits by long division, independent of the library.
std::string CheckDigits(const std::string& bban) {
  int rest = 0;
  for (const char c : bban + "131400") rest = (rest * 10 + (c - '0')) % 97;
  const int check = 98 - rest;
  return {static_cast<char>('0' + check / 10), static_cast<char>('0' + check % 10)};
}

// A German BBAN whose check digits are `wanted`.
std::string BbanWithCheckDigits(const std::string& wanted) {
  for (int account = 1;; ++account) {
    std::string bban = "37040044" + std::to_string(1000000000 + account).substr(0, 10);
    if (CheckDigits(bban) == wanted) return bban;
  }
}

TEST(SepaIban, TakenExactlyWhenTheRegistryCheckTakesIt) {
  std::vector<std::string> ibans = {
      "DE89370400440532013000",  "DE88370400440532013000", "DE8937040044053201300",
      "DE893704004405320130000", "DE8937040044053201300A", "de89 3704 0044 0532 0130 00",
      "GB29NWBK60161331926819",  "AT611904300234573201",   "DEXX370400440532013000",
      "DF89370400440532013000",  "DE02100100100006820101"};
  // Check digits 00, 01 and 99 leave the same remainder as 97, 98 and 02.
  for (const auto& [right, never] : {std::pair{"97", "00"}, {"98", "01"}, {"02", "99"}}) {
    const std::string bban = BbanWithCheckDigits(right);
    ibans.push_back("DE" + std::string(right) + bban);
    ibans.push_back("DE" + std::string(never) + bban);
  }
  const zor::SepaSettings s = Settings(zor::SepaKind::CreditTransfer, zor::SepaVersion::Current);
  for (const std::string& iban : ibans) {
    std::string electronic;
    for (const char c : iban) {
      if (c != ' ') electronic += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    // With a BIC and an address, which an account outside the EEA needs.
    zor::SepaPayment p = Payment(15, 100, "Hans", "NWBKGB2L", "", "");
    p.counterparty.iban = iban;
    p.counterparty.address = {.town = "London", .country = "GB"};
    zor::SepaPlan plan(s);
    bool taken = true;
    try {
      plan.Add(p);
    } catch (const zor::SepaError& e) {
      EXPECT_EQ(e.Fault(), zor::SepaFault::Iban) << iban;
      taken = false;
    }
    EXPECT_EQ(taken, zor::CheckIBAN(electronic).IsValid()) << iban;
  }
}

std::string Umlauts(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "ä";
  return text;
}

TEST(SepaText, UmlautsAreKeptAndTheRestOfLatin1GoesTheGeneralWay) {
  const zor::SepaSettings s = Settings(zor::SepaKind::CreditTransfer, zor::SepaVersion::Current);
  struct Case {
    std::string name;
    std::string written;  // empty: refused
    std::size_t warnings;
  };
  const std::vector<Case> cases = {
      {"Müller Straße ÄÖÜ", "Müller Straße ÄÖÜ", 0},
      {"Zoë", "Zoe", 1},
      {"A\u00A0B", "A B", 1},
      {"\u00A7 5", "", 0},
      {"Ab\xC3", "", 0},
      {"Ab\xC3\x28", "", 0},
      // Names hold 70 characters, not bytes.
      {Umlauts(70), Umlauts(70), 0},
      {Umlauts(71), Umlauts(70), 1},
  };
  for (const Case& c : cases) {
    zor::SepaPlan plan(s);
    const zor::SepaPayment p = Payment(15, 100, c.name, "", "", "");
    if (c.written.empty()) {
      EXPECT_THROW(plan.Add(p), zor::SepaError) << c.name;
      continue;
    }
    plan.Add(p);
    EXPECT_EQ(plan.WarningCount(), c.warnings) << c.name;
    EXPECT_NE(zortest::WriteSepa(s, {p}).find("<Nm>" + c.written + "</Nm>"), std::string::npos)
        << c.name;
  }
}

// Whether the plan takes a payment.
bool Taken(const zor::SepaSettings& s, const zor::SepaPayment& p) {
  zor::SepaPlan plan(s);
  try {
    plan.Add(p);
    return true;
  } catch (const zor::SepaError&) {
    return false;
  }
}

// BIC and references are judged without a branch per character; every byte
// in every place gets the verdict the rules give.
TEST(SepaValueChecks, BicAndReferencesTakeExactlyTheirCharacters) {
  const auto capital = [](char c) { return c >= 'A' && c <= 'Z'; };
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const std::string bic = "COBADEFFXXX";
  const std::string reference = "M-1";
  for (const zor::SepaVersion version : {zor::SepaVersion::Current, zor::SepaVersion::German}) {
    const zor::SepaSettings s = Settings(zor::SepaKind::DirectDebit, version);
    const bool german = version == zor::SepaVersion::German;
    for (unsigned b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      for (std::size_t at = 0; at < bic.size(); ++at) {
        std::string changed = bic;
        changed[at] = c;
        const bool letter = (at >= 4 && at < 6) || (german && at < 4);
        bool right = letter ? capital(c) : capital(c) || digit(c);
        if (german && ((at == 6 && (c == '0' || c == '1')) || (at == 7 && c == 'O'))) right = false;
        if (letter && at >= 4) right = right && zor::IsCountryCode(changed.substr(4, 2));
        zor::SepaPayment p = Payment(15, 100, "Hans", changed, "", "");
        EXPECT_EQ(Taken(s, p), right) << changed;
        if (at >= 8) continue;
        p = Payment(15, 100, "Hans", changed.substr(0, 8), "", "");
        EXPECT_EQ(Taken(s, p), right) << changed.substr(0, 8);
      }
      const bool mark = std::string("+?/-:().,'").find(c) != std::string::npos;
      // A reference may not end in a slash.
      const bool inReference =
          (capital(c) || digit(c) || (c >= 'a' && c <= 'z') || mark) && c != '/';
      zor::SepaPayment p = Payment(15, 100, "Hans", "", "", "");
      p.endToEndId = reference + c;
      EXPECT_EQ(Taken(s, p), inReference || c == ' ') << b;
      p = Payment(15, 100, "Hans", "", "", "");
      p.mandateId = reference + c;
      EXPECT_EQ(Taken(s, p), inReference) << b;
    }
  }
}

// A German IBAN is read in words of eight digits; a stray byte anywhere in
// it must send it the registry's way whatever check digits stand with it.
TEST(SepaIban, AnyStrayByteInAGermanIbanIsFound) {
  const std::string bban = "370400440532013000";
  for (std::size_t at = 2; at < 22; ++at) {
    for (const char c : std::string("/0123456789:A ")) {
      for (int check = 0; check < 100; ++check) {
        std::string iban = "DE" + std::to_string(100 + check).substr(1) + bban;
        iban[at] = c;
        const bool digits = iban.find_first_not_of("0123456789", 2) == std::string::npos;
        const std::string stated = iban.substr(2, 2);
        const bool right =
            digits && stated >= "02" && stated <= "98" && CheckDigits(iban.substr(4)) == stated;
        EXPECT_EQ(zor::CheckIBAN(iban).IsValid(), right) << iban;
      }
    }
  }
}
// A group whose payments the plan took as given is written without checking
// them again: it must read as the checking way writes it, which a payment
// that needs a change forces on its whole group.
TEST(SepaAsGiven, WritesWhatTheCheckingWayWrites) {
  for (const bool debits : {false, true}) {
    for (const zor::SepaVersion version : {zor::SepaVersion::Current, zor::SepaVersion::German}) {
      const zor::SepaSettings s =
          Settings(debits ? zor::SepaKind::DirectDebit : zor::SepaKind::CreditTransfer, version);
      std::vector<zor::SepaPayment> payments = {
          Payment(15, 100, "Hans Müller  ", "", "", "Miete Dezember  "),
          Payment(15, 2500, "A & B", "COBADEFFXXX", "SALA", ""),
          Payment(15, 99, "Ä", "COBADEFF", "", "Lohn & Gehalt 12/2026"),
      };
      payments[1].endToEndId = "E2E 4711";
      const std::string tag = debits ? "DrctDbtTxInf" : "CdtTrfTxInf";
      const std::vector<std::string> asGiven = Transactions(zortest::WriteSepa(s, payments), tag);
      payments.push_back(Payment(15, 1, "Zoë", "", "", ""));  // the group is checked now
      std::vector<std::string> checked = Transactions(zortest::WriteSepa(s, payments), tag);
      ASSERT_EQ(checked.size(), 4u);
      checked.pop_back();
      EXPECT_EQ(asGiven, checked);
    }
  }
}

// What the writer is handed instead of the planned payments is refused once
// its group is complete, however well it would pass the checks, and a value
// whose absence would break the writing is still refused at once.
TEST(SepaAsGiven, APaymentOtherThanThePlannedOneIsRefused) {
  const zor::SepaSettings s = Settings(zor::SepaKind::DirectDebit, zor::SepaVersion::Current);
  const std::vector<zor::SepaPayment> planned = {Payment(15, 100, "Hans", "", "", "Miete"),
                                                 Payment(15, 200, "Anna", "", "", "Lohn")};
  zor::SepaPlan plan(s);
  for (const zor::SepaPayment& p : planned) plan.Add(p);
  std::vector<zor::SepaPayment> others(3, planned[1]);
  others[0].counterparty.name = "Anne";
  others[1].remittance = std::string(200, 'X');
  others[2].counterparty.iban = "DE02100100100006820102";
  for (const zor::SepaPayment& other : others) {
    std::ostringstream out;
    zor::SepaWriter writer(plan, out);
    writer.Add(planned[0]);
    try {
      writer.Add(other);
      writer.Finish();
      ADD_FAILURE() << "taken: " << other.counterparty.name;
    } catch (const zor::SepaError& e) {
      EXPECT_EQ(e.Fault(), zor::SepaFault::Totals) << e.what();
      EXPECT_NE(e.Text().find("andere als die geplanten"), std::string::npos) << e.what();
    }
  }
  zor::SepaPayment undated = planned[0];
  undated.mandateSigned.reset();
  std::ostringstream out;
  zor::SepaWriter writer(plan, out);
  try {
    writer.Add(undated);
    ADD_FAILURE() << "a debit without its mandate's date taken";
  } catch (const zor::SepaError& e) {
    EXPECT_EQ(e.Fault(), zor::SepaFault::Mandate) << e.what();
  }
}

}  // namespace
