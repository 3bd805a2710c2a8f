// The bank-code file read record by record, and German IBANs made from it:
// the standard rule, and every refusal a caller can match on.
#include <gtest/gtest.h>

#include <sstream>

#include "BankCodeLines.h"
#include "zordta/BankCodes.h"
#include "zordta/Iban.h"

namespace {

using banktest::Bank;
using banktest::Line;

zor::BankCodeFile Read(const std::string& text) {
  std::istringstream in(text);
  return zor::BankCodeFile::Read(in);
}

// A file of a standard-rule bank, its branch, a bank of a rule of its own, a
// deleted one with a successor, one to be deleted without, and a branch alone.
std::string SampleFile() {
  Bank standard;
  Bank branch = standard;
  branch.mark = '2';
  branch.name = "Commerzbank Filiale";
  branch.bic = "";
  Bank special{"10020890",    '1',        "UniCredit Bank - HypoVereinsbank",
               "HYVEDEMM488", "99",       'U',
               '0',           "00000000", "000503"};
  Bank deleted{"13061088", '1',     "Raiffeisenbank Wismar -alt-", "GENODEF1HWR", "32", 'D', '0',
               "13061078", "000000"};
  Bank planned{"20010020", '1', "Postbank", "", "24", 'U', '1', "00000000", "000000"};
  Bank branchOnly{"50010517", '2', "ING-DiBa Filiale", "", "A2", 'U', '0', "00000000", "000000"};
  return Line(standard) + Line(branch) + Line(special) + Line(deleted) + Line(planned) +
         Line(branchOnly);
}

zor::BankCodeError Refusal(const zor::BankCodeFile& file, const std::string& bankCode,
                           const std::string& account, zor::GermanIbanOptions options = {}) {
  try {
    zor::GermanIban(file, bankCode, account, options);
  } catch (const zor::BankCodeError& e) {
    return e;
  }
  ADD_FAILURE() << bankCode << " " << account << " was not refused";
  return zor::BankCodeError(zor::BankCodeFault::File, "");
}

TEST(GermanIban, StandardRulePadsTheAccountAndPassesTheRegistryCheck) {
  const zor::BankCodeFile file = Read(SampleFile());
  for (const char* account : {"532013000", "0532013000"}) {
    const zor::GermanIbanResult r = zor::GermanIban(file, "37040044", account);
    EXPECT_EQ(r.iban, "DE89370400440532013000") << account;
    EXPECT_EQ(r.bic, "COBADEFFXXX");
    EXPECT_EQ(r.bankName, "Commerzbank");
    EXPECT_FALSE(r.ruleAssumed);
  }
  // One digit, and check digits below 10 keep their leading zero.
  Bank small;
  small.code = "10020890";
  const zor::GermanIbanResult r = zor::GermanIban(Read(Line(small)), "10020890", "5");
  EXPECT_EQ(r.iban, "DE03100208900000000005");
  EXPECT_TRUE(zor::CheckIBAN(r.iban).IsValid());
  EXPECT_EQ(zor::GermanIban(file, "37040044", "9999999999").iban.size(), 22u);
}

// Filled into a result of the account before: nothing of that one is left.
TEST(GermanIban, IntoAResultLeavesNothingOfTheAccountBefore) {
  Bank noBic{"10020890", '1', "Kleine Bank", "", "00", 'U', '0', "00000000", "000000"};
  const zor::BankCodeFile file = Read(Line(noBic) + Line(Bank{}));
  zor::GermanIbanResult r;
  zor::GermanIban(file, "37040044", "532013000", {}, r);
  EXPECT_EQ(r.bic, "COBADEFFXXX");
  zor::GermanIban(file, "10020890", "5", {}, r);
  EXPECT_EQ(r.iban, "DE03100208900000000005");
  EXPECT_EQ(r.bic, "");
  EXPECT_EQ(r.bankName, "Kleine Bank");
  // A refusal leaves the result as it was.
  EXPECT_THROW(zor::GermanIban(file, "37040044", "0", {}, r), zor::BankCodeError);
  EXPECT_EQ(r.iban, "DE03100208900000000005");
}

// Codes are looked up as numbers: neighbours, the ends and malformed codes.
TEST(BankCodeFile, FindsExactlyTheCodesItHolds) {
  std::string text;
  for (const char* code : {"10000000", "10020890", "10020891", "37040044", "99999999"}) {
    Bank b;
    b.code = code;
    text += Line(b);
  }
  const zor::BankCodeFile file = Read(text);
  for (const char* code : {"10000000", "10020890", "10020891", "37040044", "99999999"}) {
    ASSERT_NE(file.Find(code), nullptr) << code;
    EXPECT_EQ(file.Find(code)->bankCode, code);
  }
  for (const char* code :
       {"10020889", "10020892", "00000000", "9999999", "100208900", "1002089A", "1002089 ", ""}) {
    EXPECT_EQ(file.Find(code), nullptr) << code;
  }
}

TEST(GermanIban, RefusesABankOfARuleOfItsOwnNamingRuleAndBank) {
  const zor::BankCodeError e = Refusal(Read(SampleFile()), "10020890", "1234567");
  EXPECT_EQ(e.Fault(), zor::BankCodeFault::SpecialIbanRule);
  EXPECT_EQ(e.Details().rule, (zor::IbanRule{5, 3}));
  EXPECT_EQ(e.Details().bankName, "UniCredit Bank - HypoVereinsbank");
  EXPECT_STREQ(e.what(),
               "Für die Bankleitzahl 10020890 (UniCredit Bank - HypoVereinsbank) gilt die "
               "IBAN-Regel 0005, Version 03: die IBAN wird nicht nach der Standardregel gebildet; "
               "sie ist bei der Bank zu erfragen.");
}

TEST(GermanIban, RefusesDeletedBankCodesNamingTheSuccessor) {
  const zor::BankCodeFile file = Read(SampleFile());
  const zor::BankCodeError deleted = Refusal(file, "13061088", "1234567");
  EXPECT_EQ(deleted.Fault(), zor::BankCodeFault::Deleted);
  EXPECT_EQ(deleted.Details().successor, "13061078");
  EXPECT_NE(std::string(deleted.what()).find("ersetzt durch 13061078"), std::string::npos);
  // To be deleted (Bankleitzahllöschung 1), no successor.
  const zor::BankCodeError planned = Refusal(file, "20010020", "1234567");
  EXPECT_EQ(planned.Fault(), zor::BankCodeFault::Deleted);
  EXPECT_EQ(planned.Details().successor, "");
  EXPECT_NE(std::string(planned.what()).find("keinen Nachfolger"), std::string::npos);
}

TEST(GermanIban, RefusesMalformedInputAndUnknownCodes) {
  const zor::BankCodeFile file = Read(SampleFile());
  struct Case {
    const char* bankCode;
    const char* account;
    zor::BankCodeFault fault;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"3704004", "1", zor::BankCodeFault::BankCodeForm},
           {"370400440", "1", zor::BankCodeFault::BankCodeForm},
           {"3704004A", "1", zor::BankCodeFault::BankCodeForm},
           {"37040044", "", zor::BankCodeFault::AccountForm},
           {"37040044", "12345678901", zor::BankCodeFault::AccountForm},
           {"37040044", "12 34", zor::BankCodeFault::AccountForm},
           {"37040044", "-1", zor::BankCodeFault::AccountForm},
           {"37040044", "0000", zor::BankCodeFault::AccountForm},
           {"99999999", "1", zor::BankCodeFault::UnknownBankCode},
           // A branch record alone is no bank code of its own.
           {"50010517", "1", zor::BankCodeFault::UnknownBankCode},
       }) {
    EXPECT_EQ(Refusal(file, c.bankCode, c.account).Fault(), c.fault)
        << c.bankCode << " " << c.account;
  }
}

TEST(GermanIban, AFileWithoutRulesIsRefusedUnlessTheStandardRuleIsAssumed) {
  Bank b;
  b.rule = "";
  const zor::BankCodeFile file = Read(Line(b));
  EXPECT_FALSE(file.HasIbanRules());
  EXPECT_EQ(file.Find("37040044")->ibanRule, std::nullopt);
  EXPECT_EQ(Refusal(file, "37040044", "532013000").Fault(), zor::BankCodeFault::IbanRuleUnknown);
  const zor::GermanIbanResult r =
      zor::GermanIban(file, "37040044", "532013000", zor::GermanIbanOptions{true});
  EXPECT_EQ(r.iban, "DE89370400440532013000");
  EXPECT_TRUE(r.ruleAssumed);
}

TEST(BankCodeFile, ReadsTheFieldsAndConvertsLatin1ToUtf8) {
  Bank b;
  b.name = "Bank f\xFCr Sozialwirtschaft";  // ü in Latin-1
  b.method = "A4";
  b.change = 'M';
  const std::string crlfLess = Line(b).substr(0, 174) + "\n";
  const zor::BankCodeFile file = Read(Line(Bank{.code = "10020890"}) + crlfLess);
  const zor::BankCodeRecord* r = file.Find("37040044");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->name, "Bank für Sozialwirtschaft");
  EXPECT_EQ(r->city, "Berlin");
  EXPECT_EQ(r->postalCode, "10117");
  EXPECT_EQ(r->checkMethod, "A4");
  EXPECT_EQ(r->change, zor::BankCodeChange::Modified);
  EXPECT_EQ(r->successor, "");
  EXPECT_EQ(r->line, 2u);
  EXPECT_TRUE(file.HasIbanRules());
  EXPECT_EQ(file.Size(), 2u);
}

TEST(BankCodeFile, RefusesABrokenLineNamingItsNumber) {
  const std::string good = Line(Bank{});
  Bank other{.code = "10020890"};
  const std::string second = Line(other);
  struct Case {
    std::string broken;  // becomes line 2
    const char* says;
  };
  Bank noRule = other;
  noRule.rule = "";
  const auto with = [&](std::size_t at, char c) {
    std::string s = second;
    s[at] = c;
    return s;
  };
  for (const Case& c : std::initializer_list<Case>{
           {second.substr(0, 100) + "\r\n", "dieser hat 100"},
           {Line(noRule), "der erste der Datei 174"},
           {with(8, '3'), "Das Feld Merkmal (Stelle 9 bis 9)"},
           {with(3, 'X'), "Das Feld Bankleitzahl (Stelle 1 bis 8)"},
           {with(150, '!'), "Das Feld Prüfzifferberechnungsmethode"},
           {with(158, 'X'), "Das Feld Änderungskennzeichen"},
           {with(159, '2'), "Das Feld Bankleitzahllöschung"},
           {with(170, ' '), "Das Feld IBAN-Regel"},
           {with(140, '1'), "Das Feld BIC"},
           {with(20, '\t'), "An Stelle 21 steht ein Steuerzeichen"},
           {with(20, '\x85'), "An Stelle 21 steht ein Steuerzeichen"},
           {good, "Die Bankleitzahl 37040044 hat schon in Zeile 1 einen Hauptdatensatz"},
           {"\r\n", "dieser hat 0"},
       }) {
    try {
      Read(good + c.broken + Line(Bank{.code = "20010020"}));
      ADD_FAILURE() << c.says;
    } catch (const zor::BankCodeError& e) {
      EXPECT_EQ(e.Fault(), zor::BankCodeFault::File);
      EXPECT_EQ(e.Details().line, 2u) << c.says;
      EXPECT_NE(std::string(e.what()).find("Bankleitzahlendatei, Zeile 2: "), std::string::npos);
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(Read(""), zor::BankCodeError);
  EXPECT_THROW(zor::BankCodeFile::Load("/nonexistent/blz.txt"), zor::BankCodeError);
}

// The IBAN of a bank already found is what the look-up by its code gives, or
// the same refusal, with rules and without; a record of the caller's own
// making with another code is refused, not copied.
TEST(GermanIban, OfABankFoundIsThatOfItsCode) {
  Bank noRule;
  noRule.rule = "";
  for (const std::string& text : {SampleFile(), Line(noRule)}) {
    const zor::BankCodeFile file = Read(text);
    for (const char* code : {"37040044", "10020890", "13061088", "20010020"}) {
      const zor::BankCodeRecord* bank = file.Find(code);
      if (bank == nullptr) continue;
      for (const char* account : {"532013000", "1", "0000", "12345678901", "12a"}) {
        for (const bool assume : {false, true}) {
          const zor::GermanIbanOptions options{.assumeStandardRule = assume};
          std::string byCode;
          std::string found;
          try {
            const zor::GermanIbanResult r = zor::GermanIban(file, code, account, options);
            byCode = r.iban + " " + r.bic + " " + r.bankName + " " + (r.ruleAssumed ? "1" : "0");
          } catch (const zor::BankCodeError& e) {
            byCode = e.what();
          }
          try {
            zor::GermanIbanResult r;
            zor::GermanIban(*bank, account, options, r);
            found = r.iban + " " + r.bic + " " + r.bankName + " " + (r.ruleAssumed ? "1" : "0");
          } catch (const zor::BankCodeError& e) {
            found = e.what();
          }
          EXPECT_EQ(found, byCode) << code << " " << account;
        }
      }
    }
  }
  zor::BankCodeRecord made = *Read(SampleFile()).Find("37040044");
  zor::GermanIbanResult r;
  for (const char* code : {"3704004", "370400440000", "3704004A"}) {
    made.bankCode = code;
    try {
      zor::GermanIban(made, "532013000", {}, r);
      ADD_FAILURE() << code << " taken";
    } catch (const zor::BankCodeError& e) {
      EXPECT_EQ(e.Fault(), zor::BankCodeFault::BankCodeForm) << code;
    }
  }
}

}  // namespace
