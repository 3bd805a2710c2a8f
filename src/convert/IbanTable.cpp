#include <utility>

#include "zordta/AccountTables.h"

namespace zor {

const IbanRow* IbanTable::Add(IbanRow row) {
  const DtausAccount account = row.account;
  const auto [it, added] = fRows.try_emplace(account, std::move(row));
  return added ? nullptr : &it->second;
}

const IbanRow* IbanTable::Find(DtausAccount account) const {
  const auto it = fRows.find(account);
  return it == fRows.end() ? nullptr : &it->second;
}

}  // namespace zor
