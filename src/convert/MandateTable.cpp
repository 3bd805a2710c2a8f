#include <utility>

#include "zordta/AccountTables.h"

namespace zor {

void MandateTable::Add(MandateRow row) {
  fRows.push_back({std::move(row)});
}

std::vector<MandateIssue> MandateTable::Settle(const IbanOf& ibanOf) {
  std::vector<MandateIssue> issues;
  for (std::size_t i = fSettled; i < fRows.size(); ++i) {
    const MandateRow& row = fRows[i].row;
    // The IBAN the payments of that bank code and account get.
    std::string iban = row.iban;
    if (row.account) {
      if (std::optional<std::string> made = ibanOf(*row.account)) {
        if (!iban.empty() && *made != iban) {
          issues.push_back({MandateIssueKind::TwoAccounts, &row, nullptr, std::move(*made)});
          continue;
        }
        iban = std::move(*made);
      }
    }
    const auto byIban = iban.empty() ? fByIban.end() : fByIban.find(iban);
    const auto byAccount = row.account ? fByAccount.find(*row.account) : fByAccount.end();
    if (byIban != fByIban.end() || byAccount != fByAccount.end()) {
      const MandateRow& earlier =
          fRows[byIban != fByIban.end() ? byIban->second : byAccount->second].row;
      // A row that says again what an earlier one says stands for nothing new.
      issues.push_back(
          {row.SameTerms(earlier) ? MandateIssueKind::Repeated : MandateIssueKind::Conflict,
           &row,
           &earlier,
           {}});
      continue;
    }
    if (!iban.empty()) fByIban.emplace(iban, i);
    if (row.account) fByAccount.emplace(*row.account, i);
    fRows[i].filed = true;
  }
  fSettled = fRows.size();
  return issues;
}

const MandateRow* MandateTable::Find(DtausAccount account, std::string_view iban) const {
  const auto row = [this](std::size_t i) {
    fRows[i].used = true;
    return &fRows[i].row;
  };
  if (const auto it = fByAccount.find(account); it != fByAccount.end()) return row(it->second);
  if (iban.empty()) return nullptr;
  const auto it = fByIban.find(iban);
  return it == fByIban.end() ? nullptr : row(it->second);
}

std::vector<MandateIssue> MandateTable::Unused() const {
  std::vector<MandateIssue> issues;
  for (const Entry& entry : fRows) {
    if (entry.filed && !entry.used) {
      issues.push_back({MandateIssueKind::Unused, &entry.row, nullptr, {}});
    }
  }
  return issues;
}

std::vector<MandateIssue> MandateTable::Settle(DtausIbans& ibans) {
  SepaAccount made;
  return Settle([&](DtausAccount account) -> std::optional<std::string> {
    try {
      ibans.Make(account, made);
      return made.iban;
    } catch (const BankCodeError&) {
      return std::nullopt;
    }
  });
}

}  // namespace zor
