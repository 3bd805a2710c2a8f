#include "payments/BankCodeSource.h"

#include <ktoblzcheck.h>

#include <exception>
#include <regex>
#include <system_error>
#include <utility>

#include "io/SignalFreeThread.h"

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

namespace {

// The file meant, named in `banks`, or why there is none.
void NameBankCodeFile(const std::string& option, RunBankCodes& banks) {
  try {
    const std::filesystem::path path =
        option.empty() ? DefaultBankCodeFile() : std::filesystem::path(option);
    banks.name = path.filename().string();
    banks.path = path.string();
  } catch (const zor::BankCodeError& e) {
    banks.fault = e;
  }
}

void LoadBankCodeFile(RunBankCodes& banks) {
  if (banks.fault) return;
  try {
    banks.file = std::make_shared<const zor::BankCodeFile>(zor::BankCodeFile::Load(banks.path));
  } catch (const zor::BankCodeError& e) {
    banks.fault = e;
  }
}

}  // namespace

RunBankCodes ReadRunBankCodes(const std::string& option) {
  RunBankCodes banks;
  NameBankCodeFile(option, banks);
  LoadBankCodeFile(banks);
  return banks;
}

BankCodesAhead::BankCodesAhead(const std::string& option,
                               std::function<void(const RunBankCodes&)> then) {
  NameBankCodeFile(option, fBanks);
  if (fBanks.fault) return;
  fReading = StartWithoutSignals([this, then = std::move(then)] {
    try {
      LoadBankCodeFile(fBanks);
      if (then) then(fBanks);
    } catch (...) {
      fFailure = std::current_exception();
    }
  });
}

BankCodesAhead::~BankCodesAhead() {
  if (fReading.joinable()) fReading.join();
}

const RunBankCodes& BankCodesAhead::Get() {
  if (fReading.joinable()) fReading.join();
  if (fFailure) std::rethrow_exception(std::exchange(fFailure, nullptr));
  return fBanks;
}

}  // namespace zcli
