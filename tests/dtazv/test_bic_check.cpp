// zor::CheckBIC: the rule each kind of fault breaks; the country and currency
// tables behind it.
#include <gtest/gtest.h>

#include <string>

#include "zordta/Bic.h"
#include "zordta/IsoCodes.h"

namespace {

using zor::BicBankCode;
using zor::BicCheck;
using zor::BicVerdict;

TEST(CheckBIC, NamesTheFirstRuleBroken) {
  const struct {
    std::string bic;
    BicBankCode bankCode;
    BicCheck expected;
  } cases[] = {
      {"COBADEFF", BicBankCode::Letters, {BicVerdict::Valid, 0}},
      {"COBADEFFXXX", BicBankCode::Letters, {BicVerdict::Valid, 0}},
      {"", BicBankCode::Letters, {BicVerdict::Empty, 0}},
      // Characters come before the length: a blank says more than a count.
      {"COBA DEFF", BicBankCode::Letters, {BicVerdict::Characters, 4}},
      {"cobadeff", BicBankCode::Letters, {BicVerdict::Characters, 0}},
      {"COBADEFFXX\xC4", BicBankCode::Letters, {BicVerdict::Characters, 10}},
      {std::string("COBA\0EFF", 8), BicBankCode::Letters, {BicVerdict::Characters, 4}},
      {"COBADEF", BicBankCode::Letters, {BicVerdict::Length, 0}},
      {"COBADEFFXX", BicBankCode::Letters, {BicVerdict::Length, 0}},
      {"COBADEFFXXXX", BicBankCode::Letters, {BicVerdict::Length, 0}},
      {"1OBADEFF", BicBankCode::Letters, {BicVerdict::Structure, 0}},
      {"COB4DEFF", BicBankCode::Letters, {BicVerdict::Structure, 3}},
      {"COBAD3FF", BicBankCode::Letters, {BicVerdict::Structure, 5}},
      // The bank code first, though the country is no better.
      {"1OBAZZFF", BicBankCode::Letters, {BicVerdict::Structure, 0}},
      // Digits in the bank code since ISO 9362:2014, never in the country.
      {"1234DEFF", BicBankCode::LettersOrDigits, {BicVerdict::Valid, 0}},
      {"12344EFF", BicBankCode::LettersOrDigits, {BicVerdict::Structure, 4}},
      {"1234ZZFF", BicBankCode::LettersOrDigits, {BicVerdict::Country, 4}},
      {"COBAZZFF", BicBankCode::Letters, {BicVerdict::Country, 4}},
      {"COBAAAFFXXX", BicBankCode::Letters, {BicVerdict::Country, 4}},
      {"COBAUKFF", BicBankCode::Letters, {BicVerdict::Country, 4}},  // GB is the code
      {"TEBKXKPR", BicBankCode::Letters, {BicVerdict::Valid, 0}},    // Kosovo
      // The last code the table holds: a table cut short misses it.
      {"ABCDZWFF", BicBankCode::Letters, {BicVerdict::Valid, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zor::CheckBIC(c.bic, c.bankCode), c.expected) << c.bic;
  }
  EXPECT_EQ(zor::CheckBIC("1234DEFF").verdict, BicVerdict::Structure);  // letters by default
}

TEST(IsoCodes, CountriesAndCurrencies) {
  for (const char* code : {"AD", "DE", "GB", "SS", "XK", "ZW"})
    EXPECT_TRUE(zor::IsCountryCode(code));
  for (const char* code : {"", "D", "DEU", "de", "UK", "EU", "YU", "AA", "ZZ", "[A", "A@"}) {
    EXPECT_FALSE(zor::IsCountryCode(code)) << code;
  }
  for (const char* code : {"EUR", "USD", "CHE", "XCG", "ZWG", "AED"}) {
    EXPECT_TRUE(zor::IsPayableCurrency(code)) << code;
    EXPECT_TRUE(zor::IsCurrencyCode(code)) << code;
  }
  for (const char* code : {"XAU", "XDR", "XTS", "XXX", "XAD"}) {
    EXPECT_FALSE(zor::IsPayableCurrency(code)) << code;
    EXPECT_TRUE(zor::IsCurrencyCode(code)) << code;
  }
  for (const char* code : {"", "eur", "EURO", "DEM", "HRK", "BGN", "ANG", "SLL"}) {
    EXPECT_FALSE(zor::IsCurrencyCode(code)) << code;
  }
}

}  // namespace
