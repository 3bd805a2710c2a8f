// Addresses, identifications, ultimate parties, structured references, creditor
// identifiers per payment and mandate amendments: written valid in every
// version that has them, read back as written, and the schemes' rules refused.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "sepa/SepaTestSupport.h"
#include "zordta/Sepa.h"
#include "zordta/SepaReader.h"

namespace {

using zor::SepaFault;
using zor::SepaIdKind;
using zor::SepaKind;
using zor::SepaVersion;
using zortest::Day;

struct Case {
  SepaKind kind;
  SepaVersion version;
};

bool Edition2019(SepaVersion v) {
  return v == SepaVersion::Current;
}

zor::SepaPostalAddress Structured(const std::string& town, const std::string& country) {
  return {.street = "Hauptstraße",
          .buildingNumber = "5a",
          .postCode = "8001",
          .town = town,
          .country = country};
}

zor::SepaSettings FullSettings(const Case& c) {
  zor::SepaSettings s;
  s.kind = c.kind;
  s.version = c.version;
  s.messageId = "PARTIES-1";
  s.account = {"Muster GmbH", "DE89370400440532013000", "COBADEFFXXX"};
  s.account.address = Structured("Köln", "DE");
  const bool debits = c.kind == SepaKind::DirectDebit;
  // The older versions name a debit's creditor without an identification.
  if (!debits || Edition2019(c.version)) {
    s.account.id = {SepaIdKind::Organisation, "DE123456789", "TXID", "", "Finanzamt"};
  }
  s.initiatingParty = "Lohnbüro Süd";
  s.initiatingPartyId = {SepaIdKind::Bic, "COBADEFFXXX"};
  s.ultimateParty.name = "Muster Holding AG";
  s.ultimateParty.id = {SepaIdKind::Organisation, "HOLD-7", "", "KUNDENNR", ""};
  if (Edition2019(c.version)) s.ultimateParty.address = Structured("Bonn", "DE");
  s.categoryPurpose = debits ? "" : "SUPP";
  s.batchBooking = false;
  s.creditorId = "";  // every debit states its own
  return s;
}

std::vector<zor::SepaPayment> FullPayments(const Case& c) {
  const bool debits = c.kind == SepaKind::DirectDebit;
  zor::SepaPayment a;
  a.group = {Day(2027, 3, 1), debits ? zor::SepaSequence::First : zor::SepaSequence::OneOff};
  a.cents = 12345;
  a.counterparty = {"Urs Meier", "CH9300762011623852957", "UBSWCHZH80A"};
  if (Edition2019(c.version)) {
    a.counterparty.address = Structured("Zürich", "CH");
    a.counterparty.address.lines = {"c/o Meier Treuhand"};
  } else {
    a.counterparty.address = {.country = "CH", .lines = {"Hauptstrasse 5a", "8001 Zuerich"}};
  }
  a.counterparty.id = {SepaIdKind::Person, "756.1234.5678.97", "", "AHV", ""};
  a.endToEndId = "E2E-1";
  a.instructionId = "INSTR 1";
  if (Edition2019(c.version)) a.uetr = "3f2504e0-4f89-41d3-9a0c-0305e82c3301";
  a.ultimateDebtor = {.name = "Anna Meier", .id = {SepaIdKind::Person, "A-17"}};
  a.ultimateCreditor = {.name = "Muster Stiftung"};
  if (Edition2019(c.version)) {
    a.ultimateCreditor.id = {SepaIdKind::Lei, "529900T8BM49AURSDO55"};
  }
  a.creditorReference = {"RF18539007547034", "Muster GmbH"};
  a.purposeCode = "GDDS";
  zor::SepaPayment b;
  b.group = a.group;
  b.cents = 100;
  b.counterparty = {"Eva Schmidt", "DE02100100100006820101", ""};
  b.remittance = "Rechnung 17";
  if (!debits) b.categoryPurpose = "SALA";
  if (debits) {
    a.mandateId = "M-1";
    a.mandateSigned = Day(2024, 5, 6);
    a.creditorId = "DE98ZZZ09999999999";
    a.amendment = zor::SepaMandateAmendment{.originalMandateId = "M-0",
                                            .originalCreditorName = "Alt GmbH",
                                            .originalCreditorId = "DE98ZZZ09999999999"};
    b.mandateId = "M-2";
    b.mandateSigned = Day(2025, 1, 2);
    b.creditorId = "DE98ZZZ09999999999";
    b.amendment = zor::SepaMandateAmendment{.originalDebtorIban = "DE89370400440532013000",
                                            .newDebtorAgent = c.version == SepaVersion::German};
  }
  return {a, b};
}

class SepaParties : public ::testing::TestWithParam<Case> {};

TEST_P(SepaParties, EveryElementIsWrittenValidAndReadBackAsWritten) {
  const zor::SepaSettings s = FullSettings(GetParam());
  const std::vector<zor::SepaPayment> payments = FullPayments(GetParam());
  const std::string written = zortest::WriteSepa(s, payments);
  ASSERT_TRUE(zortest::ValidSepa(written)) << written;
  const zortest::Read r = zortest::ReadAll(written);

  // A payment's own category purpose takes the payment type into every
  // transaction, the settings' category with it.
  const bool perTransaction = s.kind == SepaKind::CreditTransfer;
  ASSERT_EQ(r.payments.size(), payments.size());
  for (std::size_t i = 0; i < payments.size(); ++i) {
    zor::SepaPayment read = r.payments[i];
    read.group.paymentInfoId.clear();
    zor::SepaPayment expected = payments[i];
    if (perTransaction && expected.categoryPurpose.empty()) {
      expected.categoryPurpose = s.categoryPurpose;
    }
    EXPECT_TRUE(read == expected) << "payment " << i + 1 << "\n" << written;
  }
  EXPECT_EQ(r.document.initiatingPartyId, s.initiatingPartyId);
  const zor::SepaBlock& b = r.blocks.at(0);
  zor::SepaAccount account = s.account;
  if (!Edition2019(s.version)) {
    // The older versions carry street and town in two lines.
    account.address = {.country = "DE", .lines = {"Hauptstraße 5a", "8001 Köln"}};
  }
  EXPECT_TRUE(b.account == account) << written;
  EXPECT_TRUE(b.ultimateParty == s.ultimateParty) << written;
  EXPECT_EQ(b.categoryPurpose, perTransaction ? "" : s.categoryPurpose);
  EXPECT_EQ(b.paymentTypePerTransaction, perTransaction);
  EXPECT_TRUE(b.creditorId.empty());
}

TEST(SepaParties, InstantTransfersStateTheirPaymentTypeInTheBlock) {
  zor::SepaSettings s = FullSettings({SepaKind::CreditTransfer, SepaVersion::Current});
  s.instant = true;
  std::vector<zor::SepaPayment> payments =
      FullPayments({SepaKind::CreditTransfer, SepaVersion::Current});
  payments.back().categoryPurpose.clear();
  const std::string written = zortest::WriteSepa(s, payments);
  ASSERT_TRUE(zortest::ValidSepa(written)) << written;
  const zortest::Read r = zortest::ReadAll(written);
  EXPECT_TRUE(r.blocks.at(0).instant);
  EXPECT_EQ(r.blocks.at(0).categoryPurpose, "SUPP");
  EXPECT_FALSE(r.blocks.at(0).paymentTypePerTransaction);

  payments.back().categoryPurpose = "SALA";
  zor::SepaPlan plan(s);
  EXPECT_THROW(plan.Add(payments.back()), zor::SepaError);
}

INSTANTIATE_TEST_SUITE_P(Versions, SepaParties,
                         ::testing::Values(Case{SepaKind::CreditTransfer, SepaVersion::Current},
                                           Case{SepaKind::CreditTransfer, SepaVersion::German},
                                           Case{SepaKind::CreditTransfer, SepaVersion::Iso2009},
                                           Case{SepaKind::DirectDebit, SepaVersion::Current},
                                           Case{SepaKind::DirectDebit, SepaVersion::German},
                                           Case{SepaKind::DirectDebit, SepaVersion::Iso2009}));

struct Breach {
  const char* what;
  Case version;
  std::function<void(zor::SepaSettings&, zor::SepaPayment&)> change;
  SepaFault fault;
  const char* field;
  const char* text;
};

// Each rule of the schemes once, with the field it names.
TEST(SepaParties, TheSchemesRulesAreRefusedAtTheirField) {
  const Case transfers{SepaKind::CreditTransfer, SepaVersion::Current};
  const Case debits{SepaKind::DirectDebit, SepaVersion::Current};
  const Case older{SepaKind::CreditTransfer, SepaVersion::German};
  using S = zor::SepaSettings;
  using P = zor::SepaPayment;
  const std::vector<Breach> breaches = {
      {"address lines alone", transfers,
       [](S&, P& p) { p.counterparty.address = {.country = "CH", .lines = {"Zürich"}}; },
       SepaFault::Address, "Cdtr/PstlAdr/AdrLine", "nur aus Adresszeilen"},
      {"no town", transfers,
       [](S&, P& p) { p.counterparty.address = {.street = "Weg 1", .country = "CH"}; },
       SepaFault::Address, "Cdtr/PstlAdr/TwnNm", "Ort"},
      {"no country", transfers, [](S&, P& p) { p.counterparty.address = {.town = "Zürich"}; },
       SepaFault::Address, "Cdtr/PstlAdr/Ctry", "Land"},
      {"outside the EEA without address", debits, [](S&, P& p) { p.counterparty.address = {}; },
       SepaFault::Address, "Dbtr/PstlAdr", "außerhalb des EWR; dafür ist die Anschrift"},
      {"RF check digits", transfers,
       [](S&, P& p) { p.creditorReference.reference = "RF19539007547034"; }, SepaFault::Reference,
       "RmtInf/Strd/CdtrRefInf/Ref", "Prüfziffern"},
      {"reference and text", transfers, [](S&, P& p) { p.remittance = "Rechnung"; },
       SepaFault::Reference, "RmtInf/Strd/CdtrRefInf/Ref", "nicht beides"},
      {"instant debit", debits, [](S& s, P&) { s.instant = true; }, SepaFault::Version,
       "PmtTpInf/LclInstrm/Cd", "nur für Überweisungen"},
      {"UETR in an older version", older, [](S&, P& p) { p.uetr = "x"; }, SepaFault::Version,
       "PmtId/UETR", "pain.001.003.03"},
      {"creditor identifiers differ", debits, [](S& s, P&) { s.creditorId = "DE09ZZZ00000000001"; },
       SepaFault::Party, "DrctDbtTx/CdtrSchmeId", "widerspricht"},
      {"no creditor identifier", debits, [](S&, P& p) { p.creditorId.clear(); },
       SepaFault::CreditorId, "DrctDbtTx/CdtrSchmeId", "fehlt"},
      {"amendment of nothing", debits, [](S&, P& p) { p.amendment = zor::SepaMandateAmendment{}; },
       SepaFault::Party, "MndtRltdInf/AmdmntInfDtls", "was vorher galt"},
      {"LEI check digits", transfers,
       [](S&, P& p) {
         p.ultimateCreditor.id = {SepaIdKind::Lei, "529900T8BM49AURSDO56"};
       },
       SepaFault::Party, "UltmtCdtr/Id", "keine LEI"},
      {"structured address in an older version", older,
       [](S&, P& p) { p.counterparty.address = {.street = "Weg", .district = "Kreis 1"}; },
       SepaFault::Version, "Cdtr/PstlAdr", "zwei Adresszeilen"},
  };
  for (const Breach& b : breaches) {
    zor::SepaSettings s = FullSettings(b.version);
    zor::SepaPayment p = FullPayments(b.version).front();
    b.change(s, p);
    try {
      zor::SepaPlan plan(s);
      plan.Add(p);
      ADD_FAILURE() << b.what << ": not refused";
    } catch (const zor::SepaError& e) {
      // The first refusal, or one of those after it: every fault is named.
      std::vector<const zor::SepaError*> all{&e};
      for (const zor::SepaError& further : e.Further()) all.push_back(&further);
      const bool named = std::any_of(all.begin(), all.end(), [&](const zor::SepaError* any) {
        return any->Fault() == b.fault && any->Place().field == b.field &&
               any->Text().find(b.text) != std::string::npos;
      });
      EXPECT_TRUE(named) << b.what << ": " << e.what();
    }
  }
}

}  // namespace

namespace {

// A company paying from two accounts: one document, a block each, read back
// with the payments at their account.
TEST(SepaParties, BlocksOfSeveralAccountsInOneDocument) {
  for (const SepaVersion version : {SepaVersion::Current, SepaVersion::Iso2009}) {
    zor::SepaSettings s;
    s.kind = SepaKind::DirectDebit;
    s.version = version;
    s.messageId = "TWO-ACCOUNTS";
    s.account = {"Muster GmbH", "DE89370400440532013000", "COBADEFFXXX"};
    s.creditorId = "DE98ZZZ09999999999";
    zor::SepaBlockSettings second;
    second.account = {"Muster GmbH Service", "DE02100100100006820101", "PBNKDEFFXXX"};
    second.creditorId = "DE09ZZZ00000000001";
    second.batchBooking = false;
    s.otherBlocks = {second};
    std::vector<zor::SepaPayment> payments(3);
    for (std::size_t i = 0; i < payments.size(); ++i) {
      zor::SepaPayment& p = payments[i];
      p.group = {Day(2027, 5, 2), zor::SepaSequence::Recurring};
      p.group.blockSettings = i % 2;
      p.cents = 100 + static_cast<std::int64_t>(i);
      p.counterparty = {"Kunde " + std::to_string(i), "DE12500105170648489890", ""};
      p.mandateId = "M-" + std::to_string(i);
      p.mandateSigned = Day(2024, 1, 1);
    }
    const std::string written = zortest::WriteSepa(s, payments);
    ASSERT_TRUE(zortest::ValidSepa(written)) << written;
    const zortest::Read r = zortest::ReadAll(written);
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(r.blocks[1].group.blockSettings, 1u);
    EXPECT_TRUE(r.blocks[1].account == second.account);
    EXPECT_EQ(r.blocks[1].creditorId, second.creditorId);
    EXPECT_EQ(r.blocks[1].batchBooking, std::optional<bool>(false));
    ASSERT_EQ(r.payments.size(), 3u);
    // Account by account, each in the order given.
    for (const auto& [read, given] : {std::pair{0, 0}, {1, 2}, {2, 1}}) {
      zor::SepaPayment p = r.payments[static_cast<std::size_t>(read)];
      p.group.paymentInfoId.clear();
      EXPECT_TRUE(p == payments[static_cast<std::size_t>(given)]) << read;
    }

    zor::SepaPlan plan(s);
    payments[0].group.blockSettings = 2;
    EXPECT_THROW(plan.Add(payments[0]), zor::SepaError);
  }
}

}  // namespace
