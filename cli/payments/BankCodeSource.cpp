#include "payments/BankCodeSource.h"

#include <ktoblzcheck.h>

#include <regex>
#include <system_error>

namespace zcli {

std::filesystem::path DefaultBankCodeFile() {
  const std::filesystem::path folder = AccountNumberCheck::bankdata_dir();
  // The date in the name orders the editions of the file.
  static const std::regex kName(R"(blz_\d{8}\.txt)");
  std::filesystem::path newest;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, kName) && (newest.empty() || name > newest.filename().string())) {
      newest = entry.path();
    }
  }
  if (newest.empty()) {
    throw zor::BankCodeError(zor::BankCodeFault::File,
                             "Keine Bankleitzahlendatei (blz_JJJJMMTT.txt) in " + folder.string() +
                                 "; eine Datei mit --bankdaten angeben.");
  }
  return newest;
}

zor::BankCodeFile LoadBankCodes(const std::string& option) {
  return zor::BankCodeFile::Load(option.empty() ? DefaultBankCodeFile()
                                                : std::filesystem::path(option));
}

RunBankCodes ReadRunBankCodes(const std::string& option) {
  RunBankCodes banks;
  try {
    const std::filesystem::path path =
        option.empty() ? DefaultBankCodeFile() : std::filesystem::path(option);
    banks.name = path.filename().string();
    banks.path = path.string();
    banks.file = std::make_shared<const zor::BankCodeFile>(zor::BankCodeFile::Load(path));
  } catch (const zor::BankCodeError& e) {
    banks.fault = e;
  }
  return banks;
}

}  // namespace zcli
