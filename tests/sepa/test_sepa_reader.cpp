// The checked SEPA reader: the golden files read back as their expected JSON
// (the peer's view), documents of random payments read back as written, and
// every kind of refusal with its line.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "sepa/SepaTestSupport.h"
#include "support/TestSupport.h"
#include "zordta/SepaReader.h"

namespace {

using zor::SepaReader;
using zor::SepaReadFault;
using zortest::Day;

using zortest::Read;
using zortest::ReadAll;

std::string Iso(const std::chrono::year_month_day& d) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(d.year()),
                static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  return text;
}

std::string Amount(std::int64_t cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                static_cast<long long>(cents % 100));
  return text;
}

// The expected files hold one flat object of strings per line.
std::vector<std::map<std::string, std::string>> ExpectedPayments(const std::string& json) {
  static const std::regex kPair(R"re("([a-z_]+)": "([^"]*)")re");
  std::vector<std::map<std::string, std::string>> payments;
  std::istringstream lines(json);
  for (std::string line; std::getline(lines, line);) {
    if (line.find('{') == std::string::npos) continue;
    auto& fields = payments.emplace_back();
    for (std::sregex_iterator it(line.begin(), line.end(), kPair), end; it != end; ++it) {
      fields[(*it)[1]] = (*it)[2];
    }
  }
  return payments;
}

// A payment as the peer describes it.
std::map<std::string, std::string> PeerView(const Read& r, std::size_t i) {
  const zor::SepaPayment& p = r.payments[i];
  const zor::SepaBlock* block = nullptr;
  for (const zor::SepaBlock& b : r.blocks) {
    if (b.group == p.group) block = &b;
  }
  const bool debits = r.document.kind == zor::SepaKind::DirectDebit;
  const bool current = r.document.version == zor::SepaVersion::Current;
  std::map<std::string, std::string> v{
      {"version", debits ? (current ? "pain.008.001.08" : "pain.008.003.02")
                         : (current ? "pain.001.001.09" : "pain.001.003.03")},
      {"payment_info_id", block->paymentInfoId},
      {"initiator_name", r.document.initiatingParty},
      {"own_iban", block->account.iban},
      {"party_name", p.counterparty.name},
      {"party_iban", p.counterparty.iban},
      {"amount", Amount(p.cents)},
      {"currency", "EUR"},
      {debits ? "collection_date" : "execution_date", Iso(p.group.date)},
      {"end_to_end_id", p.endToEndId.empty() ? "NOTPROVIDED" : p.endToEndId}};
  if (!block->account.bic.empty()) v["own_bic"] = block->account.bic;
  if (!p.counterparty.bic.empty()) v["party_bic"] = p.counterparty.bic;
  if (!p.remittance.empty()) v["remittance"] = p.remittance;
  if (!p.purposeCode.empty()) v["purpose_code"] = p.purposeCode;
  if (debits) {
    static const char* const kSequences[] = {"FRST", "RCUR", "OOFF", "FNAL"};
    v["mandate_id"] = p.mandateId;
    v["mandate_signed"] = Iso(*p.mandateSigned);
    v["sequence_type"] = kSequences[static_cast<int>(p.group.sequence)];
    v["creditor_id"] = block->creditorId;
    v["local_instrument"] = block->instrument == zor::SepaInstrument::B2B ? "B2B" : "CORE";
  }
  return v;
}

class SepaReadGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(SepaReadGolden, PaymentsAreThoseOfTheExpectedJson) {
  const std::string name = GetParam();
  const Read r = ReadAll(zortest::ReadGolden("sepa/" + name + ".xml"));
  const auto expected = ExpectedPayments(zortest::ReadGolden("sepa/" + name + ".json"));
  ASSERT_EQ(r.payments.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(PeerView(r, i), expected[i]) << "payment " << i + 1;
    EXPECT_EQ(r.places[i].payment, i + 1);
  }
  EXPECT_EQ(r.document.messageId, "MSG-2026-12-09-001");
  EXPECT_EQ(r.document.creationTime, std::chrono::local_days(Day(2026, 12, 9)) +
                                         std::chrono::hours(10) + std::chrono::minutes(30) +
                                         std::chrono::seconds(5));
  EXPECT_EQ(r.document.count, expected.size());
}

INSTANTIATE_TEST_SUITE_P(Documents, SepaReadGolden,
                         ::testing::Values("transfers_001_001_09", "transfers_001_003_03",
                                           "debits_core_008_001_08", "debits_b2b_008_003_02"));

TEST(SepaRead, PlacesAreTheLinesOfThePayments) {
  const std::string xml = zortest::ReadGolden("sepa/transfers_001_001_09.xml");
  const Read r = ReadAll(xml);
  const auto lineOf = [&xml](std::size_t nth) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < nth; ++i) at = xml.find("<CdtTrfTxInf>", at + 1);
    return static_cast<std::size_t>(
               std::count(xml.begin(), xml.begin() + static_cast<long>(at), '\n')) +
           1;
  };
  ASSERT_EQ(r.places.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(r.places[i].line, lineOf(i + 1));
  EXPECT_EQ(r.blocks.at(1).line, 60u);
  EXPECT_EQ(r.blocks.at(1).count, 2u);
  EXPECT_EQ(r.blocks.at(1).cents, 100000012344);
}

unsigned Pick(std::mt19937& random, unsigned below) {
  return static_cast<unsigned>(random() % below);
}

// Text the writer takes unchanged: the banks' characters, single blanks inside.
std::string RandomText(std::mt19937& random, std::size_t maxWords) {
  static const std::u8string kCharacters = u8"ABCxyz0189':?,-(+.)/&*$%ÄÖÜäöüß";
  std::vector<std::string> characters;
  for (std::size_t i = 0; i < kCharacters.size();) {
    const std::size_t length = (kCharacters[i] & 0x80) ? 2 : 1;
    characters.emplace_back(reinterpret_cast<const char*>(kCharacters.data() + i), length);
    i += length;
  }
  std::string text;
  const std::size_t words = 1 + random() % maxWords;
  for (std::size_t w = 0; w < words; ++w) {
    if (w > 0) text += ' ';
    for (std::size_t c = 0, n = 1 + random() % 8; c < n; ++c) {
      text += characters[random() % characters.size()];
    }
  }
  return text;
}

struct RoundTripCase {
  zor::SepaKind kind;
  zor::SepaVersion version;
};

class SepaReadRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SepaReadRoundTrip, RandomPaymentsReadBackAsWritten) {
  std::mt19937 random(20261209);
  const char* const kIbans[] = {"DE02120300000000202051", "PL61109010140000071219812874",
                                "DE12500105170648489890", "FR1420041010050500013M02606"};
  const char* const kBics[] = {"", "COBADEFFXXX", "WBKPPLPP", "INGDDEFF"};
  const char* const kPurposes[] = {"SALA", "CBFF", "GOVT"};
  for (unsigned round = 0; round < 8; ++round) {
    zor::SepaSettings s;
    s.kind = GetParam().kind;
    s.version = GetParam().version;
    s.instrument = round % 2 ? zor::SepaInstrument::B2B : zor::SepaInstrument::Core;
    s.messageId = "RT-" + std::to_string(round);
    s.creationTime =
        std::chrono::local_days(Day(2026, 1 + round, 28)) + std::chrono::seconds(random() % 86400);
    s.account = {RandomText(random, 3), kIbans[random() % 4], kBics[random() % 4]};
    s.initiatingParty = round % 3 ? RandomText(random, 3) : "";
    s.creditorId = "DE98ZZZ09999999999";
    if (round % 3 != 0) s.batchBooking = round % 3 == 1;
    std::vector<zor::SepaPayment> payments(1 + random() % 12);
    for (zor::SepaPayment& p : payments) {
      p.group.date = Day(2027, 1 + Pick(random, 2), 1 + Pick(random, 3));
      if (s.kind == zor::SepaKind::DirectDebit) {
        p.group.sequence = static_cast<zor::SepaSequence>(random() % 4);
        p.mandateId = "M-" + std::to_string(random());
        p.mandateSigned = Day(2020 + static_cast<int>(Pick(random, 6)), 1 + Pick(random, 12), 1);
      }
      p.cents = random() % 3 ? 1 + static_cast<std::int64_t>(random() % 1'000'000)
                             : 99'999'999'999 - static_cast<std::int64_t>(random() % 100);
      p.counterparty = {RandomText(random, 4), kIbans[random() % 4], kBics[random() % 4]};
      p.endToEndId = random() % 2 ? "" : "E2E " + std::to_string(random());
      p.remittance = random() % 4 ? RandomText(random, 12) : "";
      p.purposeCode = random() % 3 ? "" : kPurposes[random() % 3];
    }
    const std::string written = zortest::WriteSepa(s, payments);
    if (round < 3) {
      EXPECT_TRUE(zortest::ValidSepa(written)) << "round " << round;
    }
    const Read r = ReadAll(written);

    // The writer puts the payments group by group, in their order within a group.
    std::vector<zor::SepaPayment> expected = payments;
    std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
      return a.group.date != b.group.date ? a.group.date < b.group.date
                                          : a.group.sequence < b.group.sequence;
    });
    ASSERT_EQ(r.payments.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      // A payment read carries the id of its block, which the writer made.
      zor::SepaPayment a = r.payments[i];
      EXPECT_FALSE(a.group.paymentInfoId.empty());
      a.group.paymentInfoId.clear();
      EXPECT_TRUE(a == expected[i]) << "round " << round << ", payment " << i + 1;
    }
    const zor::SepaDocument& d = r.document;
    EXPECT_EQ(d.kind, s.kind);
    EXPECT_EQ(d.version, s.version);
    EXPECT_EQ(d.messageId, s.messageId);
    EXPECT_EQ(d.creationTime, *s.creationTime);
    EXPECT_EQ(d.initiatingParty, s.initiatingParty.empty() ? s.account.name : s.initiatingParty);
    const zor::SepaBlock& b = r.blocks.at(0);
    EXPECT_TRUE(b.account.name == s.account.name && b.account.iban == s.account.iban &&
                b.account.bic == s.account.bic)
        << "round " << round;
    for (const zor::SepaBlock& block : r.blocks) {
      EXPECT_EQ(block.batchBooking, s.batchBooking) << "round " << round;
    }
    if (s.kind == zor::SepaKind::DirectDebit) {
      EXPECT_EQ(b.creditorId, s.creditorId);
      EXPECT_EQ(b.instrument, s.instrument);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SepaReadRoundTrip,
    ::testing::Values(RoundTripCase{zor::SepaKind::CreditTransfer, zor::SepaVersion::Current},
                      RoundTripCase{zor::SepaKind::CreditTransfer, zor::SepaVersion::German},
                      RoundTripCase{zor::SepaKind::DirectDebit, zor::SepaVersion::Current},
                      RoundTripCase{zor::SepaKind::DirectDebit, zor::SepaVersion::German},
                      RoundTripCase{zor::SepaKind::CreditTransfer, zor::SepaVersion::Iso2009},
                      RoundTripCase{zor::SepaKind::DirectDebit, zor::SepaVersion::Iso2009}));

// The text with the `nth` occurrence of `from` replaced.
std::string Replaced(std::string text, const std::string& from, const std::string& to,
                     int nth = 1) {
  std::size_t at = text.find(from);
  while (--nth > 0 && at != std::string::npos) at = text.find(from, at + 1);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The parser reads ahead: a fault of the markup shows before the payments ahead of it.
constexpr std::size_t kAny = ~std::size_t{0};

struct Refusal {
  const char* what;
  std::string xml;
  SepaReadFault fault;
  std::size_t line;
  const char* text;
  std::size_t paymentsBefore = 0;
};

// Each kind of refusal once, with the line it names and the payments handed
// over before it.
TEST(SepaRead, RefusalsNameFaultAndLine) {
  const std::string t = zortest::ReadGolden("sepa/transfers_001_001_09.xml");
  const std::string d = zortest::ReadGolden("sepa/debits_core_008_001_08.xml");
  const std::string entities =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE Document [<!ENTITY a \"aaaaaaaaaa\">"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<Document>&b;</Document>\n";
  const std::vector<Refusal> refusals = {
      {"no XML", "Zahlungen, bitte\n", SepaReadFault::Xml, 1, "kein wohlgeformtes XML"},
      {"truncated", t.substr(0, t.find("<Nm>Lukasz")), SepaReadFault::Xml, 100,
       "endet vor dem Ende", kAny},
      {"bytes after the document", t + "<x/>\n", SepaReadFault::Xml, 136, "nach seinem Ende", kAny},
      {"document type", entities, SepaReadFault::Doctype, 2, "DOCTYPE"},
      {"other version", Replaced(t, "pain.001.001.09", "pain.001.001.11"), SepaReadFault::Namespace,
       2, "pain.001.001.11"},
      {"remittance beyond the schemes",
       Replaced(t, "<Ustrd>Miete Dezember</Ustrd>", "<Strd><RfrdDocAmt/></Strd>"),
       SepaReadFault::Element, 108, "„RfrdDocAmt“", 1},
      {"missing element", Replaced(t, "<PmtMtd>TRF</PmtMtd>", ""), SepaReadFault::Element, 16,
       "„NbOfTxs“ wird hier nicht gelesen; erwartet wird „PmtMtd“"},
      {"attribute", Replaced(t, "<Cdtr>", "<Cdtr Id=\"1\">"), SepaReadFault::Element, 47,
       "Attribut „Id“"},
      {"foreign namespace",
       Replaced(t, "<PmtMtd>TRF</PmtMtd>", "<x:PmtMtd xmlns:x=\"urn:x\">TRF</x:PmtMtd>"),
       SepaReadFault::Element, 15, "fremden Namensraum"},
      {"amount", Replaced(t, "123.45", "123.456"), SepaReadFault::Value, 92, "„123.456“", 1},
      {"currency", Replaced(t, "Ccy=\"EUR\">123", "Ccy=\"CHF\">123"), SepaReadFault::Value, 92,
       "„CHF“", 1},
      {"date", Replaced(t, "2026-12-10", "2026-02-30"), SepaReadFault::Value, 24, "2026-02-30"},
      {"IBAN", Replaced(t, "DE02120300000000202051", "DE03120300000000202051"),
       SepaReadFault::Value, 52, "DE03120300000000202051"},
      {"purpose code", Replaced(t, "<Cd>SALA</Cd>", "<Cd>SAL</Cd>"), SepaReadFault::Value, 127,
       "„SAL“", 2},
      {"mandate reference", Replaced(d, "MANDAT-2", "MANDAT 2"), SepaReadFault::Value, 135,
       "Zeichen", 1},
      {"slashes in a reference", Replaced(d, "MANDAT-2", "MANDAT//2"), SepaReadFault::Value, 135,
       "MndtId: Die Referenz \"MANDAT//2\" beginnt oder endet mit", 1},
      {"country outside SEPA", Replaced(t, "DE02120300000000202051", "TR330006100519786457841326"),
       SepaReadFault::Value, 52, "TR, einem Land außerhalb des SEPA-Raums"},
      {"outside the EEA without BIC",
       Replaced(t, "DE02120300000000202051", "CH9300762011623852957"), SepaReadFault::Value, 52,
       "dafür ist die BIC nötig"},
      {"block count", Replaced(t, "<NbOfTxs>1</NbOfTxs>", "<NbOfTxs>2</NbOfTxs>"),
       SepaReadFault::ControlFigures, 16, "angegeben 2, gezählt 1", 1},
      {"header sum", Replaced(t, "<CtrlSum>1000000124.44", "<CtrlSum>1000000124.45"),
       SepaReadFault::ControlFigures, 8, "angegeben 1000000124.45, gezählt 1000000124.44", 3},
      // The parser's limits, each named rather than taken for broken XML.
      {"text beyond the parser's limit",
       Replaced(t, "<Ustrd>Miete Dezember</Ustrd>",
                "<Ustrd>" + std::string(10'000'001, 'x') + "</Ustrd>"),
       SepaReadFault::Unreadable, 108, "länger als 10.000.000 Bytes", kAny},
      {"name beyond the parser's limit",
       Replaced(t, "<Ustrd>Miete Dezember</Ustrd>", "<" + std::string(50'001, 'U') + "/>"),
       SepaReadFault::Unreadable, 108, "länger als 50.000 Bytes", kAny},
      {"control character", Replaced(t, "123.45", "123\x7f.45"), SepaReadFault::Value, 92,
       "„123[U+007F].45“", 1},
      {"mixed schemes", Replaced(d, "<Cd>CORE</Cd>", "<Cd>B2B</Cd>", 2), SepaReadFault::Mixed, 85,
       "andere Lastschriftart", 1},
      {"batch booking not a boolean",
       Replaced(t, "<PmtMtd>TRF</PmtMtd>", "<PmtMtd>TRF</PmtMtd><BtchBookg>ja</BtchBookg>"),
       SepaReadFault::Value, 15, "„ja“"},
  };
  for (const Refusal& r : refusals) {
    std::istringstream in(r.xml);
    SepaReader reader(in);
    std::size_t payments = 0;
    try {
      for (auto item = reader.Next(); item != SepaReader::Item::End; item = reader.Next()) {
        payments += item == SepaReader::Item::Payment;
      }
      ADD_FAILURE() << r.what << ": not refused";
      continue;
    } catch (const zor::SepaReadError& e) {
      EXPECT_EQ(e.Fault(), r.fault) << r.what << ": " << e.what();
      EXPECT_EQ(e.Line(), r.line) << r.what << ": " << e.what();
      EXPECT_NE(e.Text().find(r.text), std::string::npos) << r.what << ": " << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("Zeile " + std::to_string(r.line) + ": ", 0), 0u)
          << r.what;
    }
    if (r.paymentsBefore != kAny) {
      EXPECT_EQ(payments, r.paymentsBefore) << r.what;
    }
    // A refused reader stays refused.
    EXPECT_THROW(reader.Next(), zor::SepaReadError) << r.what;
  }
}

}  // namespace
