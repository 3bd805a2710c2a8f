// The account screen: each verdict a caller matches on, the field at fault
// and the German message, with a fake check method in place of a real one.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "BankCodeLines.h"
#include "zordta/AccountScreen.h"

namespace {

using banktest::Bank;
using banktest::Line;
using zor::AccountScreenKind;

std::shared_ptr<const zor::BankCodeFile> Banks() {
  Bank replaced{"13061088", '1',     "Raiffeisenbank Wismar -alt-", "GENODEF1HWR", "32", 'D', '0',
                "13061078", "000000"};
  Bank planned{"20010020", '1', "Postbank", "", "24", 'U', '1', "00000000", "000000"};
  std::istringstream in(Line(Bank{}) + Line(replaced) + Line(planned));
  return std::make_shared<const zor::BankCodeFile>(zor::BankCodeFile::Read(in));
}

// Refuses every account ending in 9; knows method 13 only.
zor::AccountMethodVerdict FakeMethod(std::string_view, std::string_view account,
                                     std::string_view method) {
  if (method != "13") return zor::AccountMethodVerdict::UnknownMethod;
  return account.back() == '9' ? zor::AccountMethodVerdict::Invalid
                               : zor::AccountMethodVerdict::Valid;
}

TEST(AccountScreen, NamesTheFieldAndWordsEachVerdict) {
  const zor::AccountScreen screen(Banks(), "blz.txt", FakeMethod);
  struct Case {
    const char* bankCode;
    const char* account;
    AccountScreenKind kind;
    const char* field;
    const char* message;
  } cases[] = {
      {"37040044", "532013000", AccountScreenKind::Sound, "", ""},
      {"37040049", "532013000", AccountScreenKind::UnknownBank, "blz",
       "Die Bankleitzahl 37040049 gibt es nicht (Bankleitzahlendatei blz.txt)."},
      {"13061088", "1", AccountScreenKind::DeletedBank, "blz",
       "Die Bankleitzahl 13061088 (Raiffeisenbank Wismar -alt-) ist gelöscht oder zur Löschung "
       "vorgesehen; sie wird ersetzt durch 13061078."},
      {"20010020", "1", AccountScreenKind::DeletedBank, "blz",
       "Die Bankleitzahl 20010020 (Postbank) ist gelöscht oder zur Löschung vorgesehen und hat "
       "keinen Nachfolger."},
      {"37040044", "532013009", AccountScreenKind::FailsMethod, "konto",
       "Die Kontonummer 532013009 passt nicht zum Prüfverfahren 13 der Bank „Commerzbank“ "
       "(Prüfziffer falsch)."},
  };
  // Twice: the second time from the banks met.
  for (int round = 0; round < 2; ++round) {
    for (const Case& c : cases) {
      const zor::AccountScreenVerdict v = screen.Judge(c.bankCode, c.account);
      EXPECT_EQ(v.kind, c.kind) << c.bankCode << " " << c.account;
      EXPECT_EQ(v.Field(), c.field) << c.bankCode;
      EXPECT_EQ(screen.Message(v, c.bankCode, c.account), c.message);
      if (c.kind != AccountScreenKind::Sound && c.kind != AccountScreenKind::UnknownBank) {
        ASSERT_NE(v.bank, nullptr);
        EXPECT_EQ(v.bank->bankCode, c.bankCode);
      }
    }
  }
  const zor::AccountScreenVerdict replaced = screen.Judge("13061088", "1");
  EXPECT_EQ(replaced.bank->successor, "13061078");
  EXPECT_EQ(screen.Judge("37040049", "1").bank, nullptr);
}

TEST(AccountScreen, WithoutAMethodCheckOnlyTheBankIsJudged) {
  const zor::AccountScreen unchecked(Banks(), "blz.txt");
  EXPECT_EQ(unchecked.Judge("37040044", "532013009").kind, AccountScreenKind::Sound);
  EXPECT_EQ(unchecked.Judge("13061088", "1").kind, AccountScreenKind::DeletedBank);
  // A method the check does not know says nothing.
  Bank other;
  other.method = "A4";
  std::istringstream in(Line(other));
  const zor::AccountScreen unknown(
      std::make_shared<const zor::BankCodeFile>(zor::BankCodeFile::Read(in)), "blz.txt",
      FakeMethod);
  EXPECT_EQ(unknown.Judge("37040044", "532013009").kind, AccountScreenKind::Sound);
}

}  // namespace
