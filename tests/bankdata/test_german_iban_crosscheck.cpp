// German IBANs under the standard rule agree with an independent library
// (tests/data/german-iban-crosscheck, made by its make_table.sh), and the
// central bank's file as Debian ships it passes the record checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "BankCodeLines.h"
#include "support/TestSupport.h"
#include "zordta/BankCodes.h"

namespace {

struct Row {
  std::string bankCode;
  std::string account;
  std::string iban;
};

TEST(GermanIban, AgreesWithAnIndependentLibraryOnTheStandardRule) {
  std::ifstream in(zortest::DataDir() / "german-iban-crosscheck" / "ibans.csv");
  ASSERT_TRUE(in) << "tests/data/german-iban-crosscheck/ibans.csv";
  std::vector<Row> rows;
  std::set<std::string> bankCodes;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#' || line.rfind("blz,", 0) == 0) continue;
    std::istringstream fields(line);
    Row r;
    std::getline(fields, r.bankCode, ',');
    std::getline(fields, r.account, ',');
    std::getline(fields, r.iban, ',');
    rows.push_back(r);
    bankCodes.insert(r.bankCode);
  }
  ASSERT_GE(rows.size(), 300u);

  std::string file;
  for (const std::string& code : bankCodes) file += banktest::Line(banktest::Bank{.code = code});
  std::istringstream fileIn(file);
  const zor::BankCodeFile banks = zor::BankCodeFile::Read(fileIn);
  for (const Row& r : rows) {
    EXPECT_EQ(zor::GermanIban(banks, r.bankCode, r.account).iban, r.iban)
        << r.bankCode << " " << r.account;
  }
}

TEST(BankCodeFile, ReadsTheCentralBanksFileAsDebianShipsIt) {
  std::filesystem::path newest;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/share/ktoblzcheck")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("blz_", 0) == 0 && (newest.empty() || entry.path() > newest)) {
      newest = entry.path();
    }
  }
  ASSERT_FALSE(newest.empty()) << "no blz_*.txt (Debian package ktoblzcheck)";
  const zor::BankCodeFile banks = zor::BankCodeFile::Load(newest);
  EXPECT_GT(banks.Size(), 1000u);
  EXPECT_FALSE(banks.HasIbanRules());
  const zor::BankCodeRecord* central = banks.Find("10000000");
  ASSERT_NE(central, nullptr);
  EXPECT_EQ(central->bic, "MARKDEF1100");
  EXPECT_EQ(central->checkMethod, "09");
}

}  // namespace
