// The tables of the way into SEPA: one IBAN an account, and a mandate table held
// to the accounts it names, never a debit under another debtor's mandate.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "bankdata/BankCodeLines.h"
#include "zordta/AccountTables.h"

namespace {

using zor::DtausAccount;
using zor::MandateIssueKind;

constexpr DtausAccount kOlaf{50010517, 648489890};
constexpr DtausAccount kAnna{50010517, 137075030};
const std::string kOlafIban = "DE12500105170648489890";
const std::string kAnnaIban = "DE02500105170137075030";

std::optional<std::string> IbanOf(DtausAccount account) {
  if (account == kOlaf) return kOlafIban;
  if (account == kAnna) return kAnnaIban;
  return std::nullopt;  // a bank the run makes no IBAN for
}

zor::MandateRow Row(std::size_t place, std::optional<DtausAccount> account, std::string iban,
                    std::string id) {
  zor::MandateRow row;
  row.account = account;
  row.iban = std::move(iban);
  row.id = std::move(id);
  row.signedOn = std::chrono::year(2024) / 6 / 30;
  row.sequence = zor::SepaSequence::Recurring;
  row.place = place;
  return row;
}

TEST(IbanTable, ASecondRowForAnAccountIsRefusedAndTheFirstKept) {
  zor::IbanTable table;
  EXPECT_EQ(table.Add({kOlaf, kOlafIban, "INGDDEFFXXX", 1}), nullptr);
  const zor::IbanRow* earlier = table.Add({kOlaf, kAnnaIban, "", 2});
  ASSERT_NE(earlier, nullptr);
  EXPECT_EQ(earlier->place, 1u);
  EXPECT_EQ(table.Find(kOlaf)->iban, kOlafIban);
  EXPECT_EQ(table.Find(kAnna), nullptr);
}

// The table's account first, whatever the bank's rule; the rest made by the
// rule, the bank looked up once; a bank with a rule of its own refused.
TEST(DtausIbans, TheTableFirstThenTheBankCodeFile) {
  banktest::Bank special{.code = "10020890", .name = "HypoVereinsbank", .rule = "000503"};
  std::istringstream lines(banktest::Line(banktest::Bank{}) + banktest::Line(special));
  const zor::BankCodeFile banks = zor::BankCodeFile::Read(lines);
  zor::IbanTable table;
  table.Add({{10020890, 1234567}, "DE02120300000000202051", "BYLADEM1001", 1});
  zor::DtausIbans ibans(banks, &table, {});
  zor::SepaAccount out;
  EXPECT_FALSE(ibans.Make({10020890, 1234567}, out));
  EXPECT_EQ(out.iban, "DE02120300000000202051");
  EXPECT_EQ(out.bic, "BYLADEM1001");
  for (int twice = 0; twice < 2; ++twice) {
    EXPECT_FALSE(ibans.Make({37040044, 532013000}, out));
    EXPECT_EQ(out.iban, "DE89370400440532013000");
    EXPECT_EQ(out.bic, "COBADEFFXXX");
  }
  try {
    ibans.Make({10020890, 7654321}, out);
    ADD_FAILURE() << "a rule of its own was not refused";
  } catch (const zor::BankCodeError& e) {
    EXPECT_EQ(e.Fault(), zor::BankCodeFault::SpecialIbanRule);
  }
  EXPECT_THROW(ibans.Make({3704004, 532013000}, out), zor::BankCodeError);
}

TEST(MandateTable, ARowNamesOneAccountAndAnAccountHasOneMandate) {
  zor::MandateTable table;
  table.Add(Row(1, kAnna, kOlafIban, "M-1"));  // two accounts in one row
  table.Add(Row(2, kOlaf, "", "M-2"));
  table.Add(Row(3, std::nullopt, kOlafIban, "M-3"));  // Olaf again, by IBAN, another mandate
  table.Add(Row(4, kOlaf, kOlafIban, "M-2"));         // Olaf again, the same mandate
  table.Add(Row(5, DtausAccount{10020890, 1234567}, "", "M-5"));  // no IBAN made: by account
  table.Add(Row(6, std::nullopt, kAnnaIban, "M-6"));

  std::map<std::size_t, MandateIssueKind> kinds;
  for (const zor::MandateIssue& issue : table.Settle(IbanOf)) {
    kinds[issue.row->place] = issue.kind;
    if (issue.kind == MandateIssueKind::TwoAccounts) {
      EXPECT_EQ(issue.madeIban, kAnnaIban);
    }
    if (issue.earlier != nullptr) {
      EXPECT_EQ(issue.earlier->place, 2u);
    }
  }
  EXPECT_EQ(kinds, (std::map<std::size_t, MandateIssueKind>{{1, MandateIssueKind::TwoAccounts},
                                                            {3, MandateIssueKind::Conflict},
                                                            {4, MandateIssueKind::Repeated}}));

  // Anna is found by her IBAN, never by the refused row that named her account.
  ASSERT_NE(table.Find(kAnna, kAnnaIban), nullptr);
  EXPECT_EQ(table.Find(kAnna, kAnnaIban)->id, "M-6");
  EXPECT_EQ(table.Find(kOlaf, kOlafIban)->id, "M-2");
  EXPECT_EQ(table.Find({10020890, 1234567}, "")->id, "M-5");
  EXPECT_EQ(table.Find({37040044, 532013000}, ""), nullptr);

  table.Add(Row(7, DtausAccount{37040044, 532013000}, "", "M-7"));
  table.Settle(IbanOf);  // files only what it had not
  const std::vector<zor::MandateIssue> unused = table.Unused();
  ASSERT_EQ(unused.size(), 1u);
  EXPECT_EQ(unused[0].row->place, 7u);
}

}  // namespace
