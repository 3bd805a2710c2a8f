// The foreign transfer writer makes each transfer as text of its own: the
// bytes must be those of libxml2's element writer, escapes and the blocks'
// indentation included, and a block's payments are still held to its totals.
#include <gtest/gtest.h>

#include <sstream>

#include "support/TestSupport.h"
#include "zordta/ForeignTransfer.h"

namespace {

using zor::ForeignTransfer;

std::chrono::year_month_day Day(int year, unsigned month, unsigned day) {
  return std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day);
}

zor::ForeignTransferSettings Settings() {
  zor::ForeignTransferSettings s;
  s.messageId = "FOREIGN-2026-12";
  s.creationTime = std::chrono::local_days(Day(2026, 12, 1)) + std::chrono::hours(9);
  s.debtor = {"EXPORT & IMPORT AG", "DE89370400440532013000", "COBADEFFXXX"};
  s.debtor.address.street = "KAISERSTR. 1";
  s.debtor.address.town = "FRANKFURT";
  s.debtor.address.country = "DE";
  s.debtorAccountCurrency = "EUR";
  return s;
}

// By BIC to an account number, with every part a transfer can carry.
ForeignTransfer Full() {
  ForeignTransfer t;
  t.date = Day(2026, 12, 3);
  t.amount = 150025;
  t.currency = "USD";
  t.chargeBearer = zor::ForeignChargeBearer::Debtor;
  t.serviceLevel = "URGP";
  t.localInstrument = "A&B";
  t.instructionId = "NOTE 7";
  t.endToEndId = "E2E-1";
  t.agentBic = "CHASUS33XXX";
  t.creditorName = "SMITH & SONS \"NY\"";
  t.creditorAddress.street = "350 FIFTH AVENUE";
  t.creditorAddress.town = "NEW YORK";
  t.creditorAddress.country = "US";
  t.creditorAccount = "000123456789";
  t.creditorAgentInstructions = {zor::ForeignCreditorInstruction::PhoneBeneficiary,
                                 zor::ForeignCreditorInstruction::PayByCheque};
  t.creditorAgentInformation = "CALL 9 & ASK";
  t.debtorAgentInstruction = "WEISUNGSSCHLUESSEL 12";
  t.reports = {{"DTAZV W", "", {"2521 BERATUNG", "US 0000000000100"}}};
  t.remittance = "INVOICE 77 & 78";
  return t;
}

// A day later, in euro paid in francs, to a bank by name and address.
ForeignTransfer ByAddress() {
  ForeignTransfer t;
  t.date = Day(2026, 12, 4);
  t.amount = 99;
  t.currency = "EUR";
  t.currencyOfTransfer = "CHF";
  t.agentName = "BANK & CO";
  t.agentAddress.lines = {"BAHNHOFSTR. 1"};
  t.agentAddress.town = "ZUERICH";
  t.agentAddress.country = "CH";
  t.creditorName = "MUSTER AG";
  t.creditorAddress.town = "BERN";
  t.creditorAddress.country = "CH";
  t.creditorIban = "CH9300762011623852957";
  return t;
}

std::string Written(const std::vector<ForeignTransfer>& transfers) {
  zor::ForeignTransferPlan plan(Settings());
  for (const ForeignTransfer& t : transfers) plan.Add(t);
  std::ostringstream out;
  zor::ForeignTransferWriter writer(plan, out);
  for (const zor::ForeignGroupTotals& g : plan.Groups()) {
    for (const ForeignTransfer& t : transfers) {
      if (t.date == g.date) writer.Add(t);
    }
  }
  writer.Finish();
  return out.str();
}

TEST(ForeignTransferWriter, WritesTheBytesOfTheElementWriter) {
  const std::string written = Written({ByAddress(), Full(), ByAddress()});
  EXPECT_TRUE(zortest::SameBytes(zortest::ReadGolden("foreign/two_blocks.xml"), written));
}

TEST(ForeignTransferWriter, HoldsEachBlockToThePlannedTransfers) {
  zor::ForeignTransferPlan plan(Settings());
  plan.Add(Full());
  plan.Add(ByAddress());
  std::ostringstream out;
  zor::ForeignTransferWriter writer(plan, out);
  ForeignTransfer other = Full();
  other.amount += 1;
  EXPECT_THROW(writer.Add(other), zor::SepaError);  // the block's sum would differ
  ForeignTransfer refused = ByAddress();
  refused.currency = "XXX";
  zor::ForeignTransferWriter second(plan, out);
  second.Add(Full());
  EXPECT_THROW(second.Add(refused), zor::SepaError);  // checked as it is written
}

}  // namespace
