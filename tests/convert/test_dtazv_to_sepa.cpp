// The library's way from DTAZV to pain.001.001.09: golden documents, each valid
// by the official schema, for every mapping; every value the documents have no
// place for refused at its record, and nothing written while a fault stands.
// The DTAZV inputs are assembled here from the record layout, field by field.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <sstream>

#include "sepa/SepaTestSupport.h"
#include "support/TestSupport.h"
#include "zordta/DtazvToSepa.h"

namespace {

using Kind = zor::DtazvToSepaIssueKind;
using zor::DtazvDocumentKind;

std::string Alpha(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string Num(long long value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*lld", digits, value);
  return text;
}

/// One record T; the defaults make a USD payment to a US account by BIC.
struct T {
  std::string date = "261203";
  std::string accountCurrency = "EUR";
  long long chargesBlz = 0, chargesKonto = 0;
  std::string bic = "CHASUS33XXX";
  std::string bankCountry;
  std::array<std::string, 4> bank{};
  std::string country = "US";
  std::string name1 = "ACME CORP.", name2;
  std::string street = "350 FIFTH AVENUE";
  std::string town = "NEW YORK NY 10118";
  std::string account = "000123456789";
  std::string currency = "USD";
  long long units = 1500, hundredths = 25;
  std::array<std::string, 4> purpose{"INVOICE 2026-77", "", "", ""};
  std::string keys = "00000000";
  std::string keyText;
  int charges = 0;
  int type = 0;
  std::string note;
  std::string contact;
  std::vector<std::string> reports{};  // whole records after the T record

  std::string Record() const {
    std::string r = "0768T" + Num(50010517, 8) + accountCurrency + Num(1234567890, 10) + date;
    r += Num(chargesBlz, 8) + (chargesBlz ? "EUR" : "   ") + Num(chargesKonto, 10);
    r += Alpha(bic, 11) + Alpha(bankCountry, 3);
    for (const std::string& line : bank) r += Alpha(line, 35);
    r += Alpha(country, 3) + Alpha(name1, 35) + Alpha(name2, 35) + Alpha(street, 35) +
         Alpha(town, 35) + std::string(70, ' ');
    r += "/" + Alpha(account, 34) + currency + Num(units, 14) + Num(hundredths, 2) + "0";
    for (const std::string& line : purpose) r += Alpha(line, 35);
    r += keys + Alpha(keyText, 25) + Num(charges, 2) + Num(type, 2) + Alpha(note, 27) +
         Alpha(contact, 35);
    r += (reports.empty() ? "0" : "1") + std::string(51, ' ') + Num(int(reports.size()), 2);
    EXPECT_EQ(r.size(), 768u);
    for (const std::string& report : reports) r += report;
    return r;
  }
};

std::string Report(char kind, const std::string& text) {
  return std::string("0256") + kind + Alpha(text, 251);
}

std::string File(const std::vector<T>& payments) {
  std::string q = "0256Q" + Num(50010517, 8) + Num(1234567890, 10) + Alpha("EXPORT AG", 35) +
                  Alpha("", 35) + Alpha("KAISERSTR. 1", 35) + Alpha("60311 FRANKFURT", 35) +
                  "261201" + "03" + "261203" + "N" + "06" + Num(4711, 8) + std::string(68, ' ');
  std::string body;
  long long units = 0;
  for (const T& t : payments) {
    body += t.Record();
    units += t.units;
  }
  return q + body + "0256Z" + Num(units, 15) + Num(static_cast<long long>(payments.size()), 15) +
         std::string(221, ' ');
}

zor::DtazvToSepaSettings Settings() {
  zor::DtazvToSepaSettings s;
  s.clientIban = "DE89370400440532013000";
  s.clientBic = "COBADEFFXXX";
  s.messageId = "DTAZV-2026-12-01";
  s.today = zortest::Day(2026, 12, 1);
  s.creationTime = std::chrono::local_days(zortest::Day(2026, 12, 1)) + std::chrono::hours(9);
  return s;
}

struct Converted {
  zor::DtazvToSepaOutcome outcome;
  std::map<DtazvDocumentKind, std::string> documents;

  std::vector<std::string> Faults() const {
    std::vector<std::string> faults;
    for (const zor::DtazvToSepaIssue& i : outcome.issues) {
      if (i.IsFault()) faults.push_back(std::to_string(i.place.record) + " " + i.field);
    }
    return faults;
  }
};

Converted Convert(const std::string& bytes, const zor::DtazvToSepaSettings& s = Settings()) {
  std::istringstream in(bytes);
  std::map<DtazvDocumentKind, std::ostringstream> outs;
  Converted c;
  c.outcome = zor::ConvertDtazvToSepa(
      in, s, nullptr, [&](DtazvDocumentKind kind) -> std::ostream& { return outs[kind]; });
  for (auto& [kind, out] : outs) c.documents[kind] = out.str();
  return c;
}

// A golden document: valid by the schema and the same bytes as the file.
// ZORDTA_WRITE_GOLDEN=1 writes the file instead, for a change to be reviewed.
void ExpectGolden(const std::string& name, const std::string& written) {
  EXPECT_TRUE(zortest::ValidSepa(written)) << name;
  const std::filesystem::path path = zortest::DataDir() / "dtazv-sepa" / name;
  if (std::getenv("ZORDTA_WRITE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << written;
    return;
  }
  EXPECT_TRUE(zortest::SameBytes(zortest::ReadGolden("dtazv-sepa/" + name), written)) << name;
}

TEST(DtazvToSepaGolden, EuroToSepaCountryIsSepaTransfer) {
  T t;
  t.bic = "BNPAFRPPXXX";
  t.country = "FR";
  t.name1 = "DUPONT SARL";
  t.street = "1 RUE DE LA PAIX";
  t.town = "75002 PARIS";
  t.account = "FR7630006000011234567890189";
  t.currency = "EUR";
  t.type = 13;
  t.note = "REF 4711";
  const Converted c = Convert(File({t}));
  ASSERT_EQ(c.outcome.faults, 0u) << c.Faults().front();
  ASSERT_EQ(c.documents.size(), 1u);
  ExpectGolden("sepa_eur.xml", c.documents.at(DtazvDocumentKind::Sepa));
}

TEST(DtazvToSepaGolden, ForeignCurrencyToAccountNumber) {
  T t;
  t.type = 10;          // urgent
  t.keys = "06000000";  // phone the beneficiary
  t.keyText = "TEL 001 212 555 0100";
  t.note = "ORDER 99";
  t.contact = "H. MEIER 069 1234";
  const Converted c = Convert(File({t}));
  ASSERT_EQ(c.outcome.faults, 0u) << c.Faults().front();
  ExpectGolden("foreign_currency.xml", c.documents.at(DtazvDocumentKind::Foreign));
}

TEST(DtazvToSepaGolden, EachChargeBearerAndBankByAddress) {
  T shared, debtor, creditor;
  shared.currency = "CHF";
  shared.bic = "UBSWCHZH80A";
  shared.country = "CH";
  shared.account = "CH9300762011623852957";
  debtor.charges = 1;
  debtor.currency = "GBP";
  debtor.bic = "";
  debtor.bankCountry = "GB";
  debtor.bank = {"BARCLAYS BANK PLC", "1 CHURCHILL PLACE", "LONDON E14 5HP", ""};
  debtor.country = "GB";
  debtor.account = "GB33BUKB20201555555555";
  creditor.charges = 2;
  creditor.keys = "00000091";  // the euro amount paid in yen
  creditor.currency = "JPY";
  creditor.bic = "BOTKJPJT";
  creditor.country = "JP";
  creditor.date = "261204";
  const Converted c = Convert(File({shared, debtor, creditor}));
  ASSERT_EQ(c.outcome.faults, 0u) << c.Faults().front();
  ExpectGolden("charge_bearers.xml", c.documents.at(DtazvDocumentKind::Foreign));
}

TEST(DtazvToSepaGolden, ReportsAndInstructionsForBothBanks) {
  T t;
  t.keys = "02090000";  // a cheque to the payee; a key for the debtor's bank
  t.type = 11;
  t.reports = {Report('W', "2521 BERATUNGSLEISTUNG US 0000000150000 SOFTWARE LIZENZ 2026"),
               Report('W', "2221 FRACHT")};
  const Converted c = Convert(File({t}));
  ASSERT_EQ(c.outcome.faults, 0u) << c.Faults().front();
  ExpectGolden("reporting.xml", c.documents.at(DtazvDocumentKind::Foreign));
}

TEST(DtazvToSepa, MixedFileMakesTwoNumberedDocuments) {
  T sepa;
  sepa.currency = "EUR";
  sepa.country = "AT";
  sepa.account = "AT611904300234573201";
  sepa.bic = "";
  const Converted c = Convert(File({T{}, sepa, T{}}));
  ASSERT_EQ(c.outcome.faults, 0u) << c.Faults().front();
  ASSERT_EQ(c.outcome.documents.size(), 2u);
  EXPECT_EQ(c.outcome.documents[0].kind, DtazvDocumentKind::Sepa);
  EXPECT_EQ(c.outcome.documents[0].payments, 1u);
  EXPECT_EQ(c.outcome.documents[1].payments, 2u);
  EXPECT_EQ(c.outcome.documents[1].amounts, 300050);
  EXPECT_NE(c.documents.at(DtazvDocumentKind::Sepa).find("<MsgId>DTAZV-2026-12-01-1<"),
            std::string::npos);
  EXPECT_NE(c.documents.at(DtazvDocumentKind::Foreign).find("<MsgId>DTAZV-2026-12-01-2<"),
            std::string::npos);
  for (const auto& [kind, doc] : c.documents) EXPECT_TRUE(zortest::ValidSepa(doc));
}

// Every value without a place is a fault at its record, all found in one
// reading, and nothing is written.
TEST(DtazvToSepa, UnmappedValuesAreRefusedAtTheirRecords) {
  T cheque;
  cheque.type = 20;
  T transit;
  transit.reports = {Report('V', "TRANSIT")};
  T charges;
  charges.charges = 5;
  T misplaced;
  misplaced.keys = "91000000";
  T sepaWithCharges;
  sepaWithCharges.currency = "EUR";
  sepaWithCharges.account = "FR7630006000011234567890189";
  sepaWithCharges.country = "FR";
  sepaWithCharges.charges = 1;
  sepaWithCharges.keys = "06000000";
  sepaWithCharges.reports = {Report('W', "2521 X")};
  T chargesAccount;
  chargesAccount.chargesBlz = 37040044;
  chargesAccount.chargesKonto = 532013000;
  const Converted c =
      Convert(File({cheque, transit, charges, misplaced, sepaWithCharges, chargesAccount}));
  EXPECT_TRUE(c.documents.empty());
  EXPECT_FALSE(c.outcome.written);
  const std::vector<std::string> expected{"2 zahlungsartschluessel",
                                          "4 meldung",
                                          "5 entgeltregelung",
                                          "6 weisungsschluessel1",
                                          "7 entgeltregelung",
                                          "7 weisungsschluessel",
                                          "8 meldung",
                                          "9 entgeltkonto"};
  EXPECT_EQ(c.Faults(), expected);
}

TEST(DtazvToSepa, RefusesPastDatesOtherAccountsAndWhatTheRulesRefuse) {
  T past;
  past.date = "261130";
  T otherCurrency;
  otherCurrency.accountCurrency = "USD";
  T noTown;
  noTown.town = "";
  T noBank;
  noBank.bic = "";
  const Converted c = Convert(File({past, otherCurrency, noTown, noBank}));
  EXPECT_TRUE(c.documents.empty());
  const std::vector<std::string> expected{"2 ausfuehrungsdatum", "3 kontowaehrung",
                                          "4 Cdtr/PstlAdr/TwnNm", "5 CdtrAgt"};
  EXPECT_EQ(c.Faults(), expected);
  // A date given for every payment replaces theirs.
  zor::DtazvToSepaSettings s = Settings();
  s.executionDate = zortest::Day(2026, 12, 7);
  const Converted dated = Convert(File({past}), s);
  EXPECT_EQ(dated.outcome.faults, 0u);
  EXPECT_NE(dated.documents.at(DtazvDocumentKind::Foreign).find("<Dt>2026-12-07</Dt>"),
            std::string::npos);
}

TEST(DtazvToSepa, ContactOfSepaPaymentIsDroppedWithAWarning) {
  T t;
  t.currency = "EUR";
  t.account = "FR7630006000011234567890189";
  t.country = "FR";
  t.contact = "H. MEIER";
  const Converted c = Convert(File({t}));
  EXPECT_TRUE(c.outcome.written);
  ASSERT_EQ(c.outcome.warnings, 1u);
  EXPECT_EQ(c.outcome.issues[0].kind, Kind::TextDropped);
  EXPECT_EQ(c.outcome.issues[0].field, "ansprechpartner");
}

TEST(DtazvToSepa, ClientWithoutIbanOrBankCodeFileIsRefusedClearly) {
  zor::DtazvToSepaSettings s = Settings();
  s.clientIban.clear();
  EXPECT_THROW(Convert(File({T{}}), s), zor::Exception);
}

}  // namespace
