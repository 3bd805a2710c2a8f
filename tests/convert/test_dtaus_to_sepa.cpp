// The library's way from DTAUS to SEPA: documents that read back as the file
// said, every fault a value at its record, and nothing written while one stands.
#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "bankdata/BankCodeLines.h"
#include "dtaus/WriterFixture.h"
#include "zordta/DtausToSepa.h"
#include "zordta/SepaReader.h"

namespace {

using Kind = zor::DtausToSepaIssueKind;
using zortest::SetLines;

class DtausToSepaTest : public zortest::WriterTest {
 protected:
  static zor::BankCodeFile Banks() {
    std::istringstream lines(
        banktest::Line(banktest::Bank{}) +
        banktest::Line(banktest::Bank{.code = "50010517", .name = "ING", .bic = "INGDDEFFXXX"}));
    return zor::BankCodeFile::Read(lines);
  }

  /// A logical file of payments to 50010517, each a key and its purpose line.
  std::string File(bool debits,
                   std::initializer_list<std::pair<const char*, const char*>> payments) {
    zor::TZorDTA writer(nullptr);
    writer.SetAuftraggeberName(ZA("Muster GmbH"));
    writer.SetAuftraggeberBLZ(clientBlz);
    writer.SetAuftraggeberKontoNr(532013000);
    writer.SetPath(dir.AsPath());
    writer.SetDTAFilename(ZT(""));
    writer.SetLastschriften(debits);
    writer.SetZahlungsschluessel("");  // else the file's kind follows the default key
    writer.Start();
    zor::TStringList lines;
    for (const auto& [key, purpose] : payments) {
      writer.SetZahlungsschluessel(key);
      SetLines(lines, {purpose});
      writer.Buchung(ZA("Max Mustermann"), 1234567890, 50010517, 10.0, lines);
    }
    writer.Finish();
    return writer.DTAFileContent();
  }

  zor::DtausToSepaOutcome Convert(const std::string& bytes, const zor::DtausToSepaSettings& s) {
    std::istringstream in(bytes);
    zor::DtausIbans ibans(banks, nullptr, {});
    // A deque: the streams handed out must stay where they are.
    return zor::ConvertDtausToSepa(in, s, ibans, &mandates, [this](std::size_t) -> std::ostream& {
      return outs.emplace_back();
    });
  }

  std::int32_t clientBlz = 37040044;
  zor::BankCodeFile banks = Banks();
  zor::MandateTable mandates;
  std::deque<std::ostringstream> outs;
};

std::vector<zor::SepaPayment> ReadBack(const std::string& xml, zor::SepaDocument& document) {
  std::istringstream in(xml);
  zor::SepaReader reader(in);
  std::vector<zor::SepaPayment> payments;
  for (auto item = reader.Next(); item != zor::SepaReader::Item::End; item = reader.Next()) {
    if (item == zor::SepaReader::Item::Document) document = reader.Document();
    if (item == zor::SepaReader::Item::Payment) payments.push_back(reader.Payment());
  }
  return payments;
}

// Two logical files, credits and direct debits: two documents, each payment
// with the IBAN the bank-code file makes, the key's purpose and the mandate.
TEST_F(DtausToSepaTest, EveryLogicalFileBecomesADocumentThatReadsBack) {
  const std::string debitFile = File(true, {{"05000", "BEITRAG"}});
  const std::string bytes = File(false, {{"53000", "LOHN DEZEMBER"}}) + debitFile;
  zor::MandateRow mandate;
  mandate.account = zor::DtausAccount{50010517, 1234567890};
  mandate.id = "M-1";
  mandate.signedOn = std::chrono::year(2024) / 6 / 30;
  mandate.sequence = zor::SepaSequence::Recurring;
  mandates.Add(mandate);
  ASSERT_TRUE(mandates.Settle([](zor::DtausAccount) { return std::nullopt; }).empty());

  const zor::DtausToSepaOutcome outcome =
      Convert(bytes, {.messageId = "LAUF-7", .creditorId = "DE98ZZZ09999999999"});
  ASSERT_EQ(outcome.faults, 0u) << outcome.issues.front().text;
  ASSERT_TRUE(outcome.written);
  ASSERT_EQ(outs.size(), 2u);
  ASSERT_EQ(outcome.documents.size(), 2u);
  EXPECT_EQ(outcome.documents[1].kind, zor::SepaKind::DirectDebit);
  EXPECT_EQ(outcome.documents[1].cents, 1000);

  zor::SepaDocument credits;
  const std::vector<zor::SepaPayment> paid = ReadBack(outs[0].str(), credits);
  EXPECT_EQ(credits.messageId, "LAUF-7-1");
  ASSERT_EQ(paid.size(), 1u);
  EXPECT_EQ(paid[0].counterparty.iban, "DE70500105171234567890");
  EXPECT_EQ(paid[0].purposeCode, "SALA");
  EXPECT_EQ(paid[0].remittance, "LOHN DEZEMBER");
  zor::SepaDocument debits;
  const std::vector<zor::SepaPayment> drawn = ReadBack(outs[1].str(), debits);
  EXPECT_EQ(debits.messageId, "LAUF-7-2");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].mandateId, "M-1");
  EXPECT_EQ(drawn[0].group.sequence, zor::SepaSequence::Recurring);
}

// Every fault of the file in one reading, each with its kind, record, field and
// figures; no output is even asked for.
TEST_F(DtausToSepaTest, FaultsAreValuesAtTheirRecordsAndNothingIsWritten) {
  const std::string bytes = File(true, {{"05000", "A"}, {"04000", "B"}});
  const zor::DtausToSepaOutcome outcome =
      Convert(bytes, {.today = std::chrono::year(2027) / 1 / 4});
  EXPECT_FALSE(outcome.written);
  EXPECT_TRUE(outs.empty());
  std::vector<Kind> kinds;
  for (const zor::DtausToSepaIssue& issue : outcome.issues) kinds.push_back(issue.kind);
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::NoCreditorId, Kind::PastDate, Kind::NoMandate,
                                      Kind::TwoSchemes, Kind::NoMandate}));
  EXPECT_EQ(outcome.faults, 5u);

  const zor::DtausToSepaIssue& past = outcome.issues[1];
  EXPECT_EQ(past.place.record, 1u);
  EXPECT_EQ(past.field, "dateidatum");
  EXPECT_TRUE(past.fileDate);
  EXPECT_EQ(past.text, "Kein Ausführungsdatum, und das Dateidatum 2026-12-08 liegt vor heute.");
  const zor::DtausToSepaIssue& mandate = outcome.issues[2];
  EXPECT_EQ(mandate.account, (zor::DtausAccount{50010517, 1234567890}));
  EXPECT_EQ(mandate.iban, "DE70500105171234567890");
  EXPECT_EQ(mandate.place.record, 2u);
  EXPECT_EQ(mandate.place.offset, 128u);
  const zor::DtausToSepaIssue& schemes = outcome.issues[3];
  EXPECT_EQ(schemes.key, "04000");
  EXPECT_EQ(schemes.firstKey, "05000");
  EXPECT_EQ(schemes.firstPlace.record, 2u);
  EXPECT_EQ(schemes.field, "zahlungsschluessel");
}

// An account whose bank the file does not know is a fault at its record, the
// client's account included; the SEPA rules' refusals keep their own kind.
TEST_F(DtausToSepaTest, AccountsWithoutIbanAndRefusedValuesAreFaults) {
  clientBlz = 10020890;
  const std::string bytes = File(false, {{"51000", "RECHNUNG"}});
  const zor::DtausToSepaOutcome outcome = Convert(bytes, {.messageId = "/LAUF"});
  ASSERT_GE(outcome.issues.size(), 2u);
  const zor::DtausToSepaIssue& client = outcome.issues[0];
  EXPECT_EQ(client.kind, Kind::NoIban);
  EXPECT_EQ(client.field, "auftraggeber.blz");
  EXPECT_EQ(client.bankFault, zor::BankCodeFault::UnknownBankCode);
  EXPECT_EQ(client.account.blz, 10020890);
  const zor::DtausToSepaIssue& refused = outcome.issues[1];
  EXPECT_EQ(refused.kind, Kind::Refused);
  EXPECT_TRUE(refused.settings);
  ASSERT_TRUE(refused.sepaPlace.has_value());
  EXPECT_EQ(refused.sepaPlace->field, "MsgId");
  EXPECT_FALSE(outcome.written);
}

}  // namespace
