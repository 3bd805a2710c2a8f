// zor::CheckIBAN: the rule each kind of fault breaks, and the verdicts of an
// independent validator on IBANs of every registry country
// (tests/data/iban-crosscheck, made by its make_table.sh).
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "support/TestSupport.h"
#include "zordta/Iban.h"

namespace {

using zor::IbanCharClass;
using zor::IbanCheck;
using zor::IbanVerdict;

TEST(CheckIBAN, NamesTheFirstRuleBroken) {
  const struct {
    const char* iban;
    IbanCheck expected;
  } cases[] = {
      {"DE89370400440532013000", {IbanVerdict::Valid, 0, 22, IbanCharClass::CapitalOrDigit}},
      {"FR1420041010050500013M02606", {IbanVerdict::Valid, 0, 27, IbanCharClass::CapitalOrDigit}},
      {"", {IbanVerdict::Empty, 0, 0, IbanCharClass::CapitalOrDigit}},
      {"de89370400440532013000", {IbanVerdict::Characters, 0, 0, IbanCharClass::CapitalOrDigit}},
      {"DE89 370400440532013000", {IbanVerdict::Characters, 4, 0, IbanCharClass::CapitalOrDigit}},
      {"XX89123456789012", {IbanVerdict::UnknownCountry, 0, 0, IbanCharClass::CapitalOrDigit}},
      {"D", {IbanVerdict::UnknownCountry, 0, 0, IbanCharClass::CapitalOrDigit}},
      // Check digits that agree do not make up for a length or a place.
      {"FR04300060000112345678901",
       {IbanVerdict::LengthForCountry, 0, 27, IbanCharClass::CapitalOrDigit}},
      {"DEAB370400440532013000", {IbanVerdict::Structure, 2, 22, IbanCharClass::Digit}},
      {"DE47370400440532013A00", {IbanVerdict::Structure, 19, 22, IbanCharClass::Digit}},
      {"GB321WBK60161331926819", {IbanVerdict::Structure, 4, 22, IbanCharClass::Capital}},
      {"DE88370400440532013000", {IbanVerdict::CheckDigits, 0, 22, IbanCharClass::CapitalOrDigit}},
      // Remainder 1, as with 97, but 00 is never issued.
      {"DE00130524030498518963", {IbanVerdict::CheckDigits, 0, 22, IbanCharClass::CapitalOrDigit}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.iban);
    EXPECT_EQ(zor::CheckIBAN(c.iban), c.expected);
  }
}

TEST(CheckIBAN, AgreesWithAnIndependentValidatorWhereTheRegistryDoesNot) {
  std::ifstream in(zortest::DataDir() / "iban-crosscheck" / "ibans.csv");
  ASSERT_TRUE(in) << "tests/data/iban-crosscheck/ibans.csv";
  std::size_t rows = 0;
  std::size_t validRows = 0;
  std::set<std::string> kinds;
  std::set<std::string> validCountries;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("iban,", 0) == 0) continue;
    std::istringstream fields(line);
    std::string iban, npmValid, kind, note;
    std::getline(fields, iban, ',');
    std::getline(fields, npmValid, ',');
    std::getline(fields, kind, ',');
    std::getline(fields, note);
    ASSERT_TRUE(npmValid == "0" || npmValid == "1") << line;
    // A note marks a row where the registry differs from the validator.
    const bool expected = (npmValid == "1") != !note.empty();
    EXPECT_EQ(zor::CheckIBAN(iban).IsValid(), expected) << line;
    ++rows;
    kinds.insert(kind);
    if (expected) {
      ++validRows;
      validCountries.insert(iban.substr(0, 2));
    }
  }
  EXPECT_GE(rows, 500u);
  EXPECT_EQ(kinds, (std::set<std::string>{"changed", "characters", "checkdigits", "length",
                                          "structure", "transposed", "unknown", "valid"}));
  EXPECT_EQ(validCountries.size(), 89u);  // every country of the registry
}

}  // namespace
