// Where the bank-code file comes from: --bankdaten, else the newest file of the
// account-check library's data folder.
#pragma once

#include <filesystem>
#include <string>

#include "zordta/BankCodes.h"

namespace zcli {

/// The newest blz_YYYYMMDD.txt in the account-check library's data folder;
/// raises zor::BankCodeError (File) when there is none.
std::filesystem::path DefaultBankCodeFile();

/// The file given with --bankdaten (empty: the default), read and checked.
zor::BankCodeFile LoadBankCodes(const std::string& option);

}  // namespace zcli
