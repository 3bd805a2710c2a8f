// Postal addresses as the schemes take them since November 2026: structured or
// hybrid, each with its town and country; address lines alone are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zordta/SepaAddress.h"

namespace {

std::vector<std::string> Issues(const zor::SepaPostalAddress& address) {
  std::vector<std::string> found;
  for (const zor::SepaAddressIssue& issue : zor::SepaAddressIssues(address)) {
    found.push_back(issue.element + ": " + issue.text);
  }
  return found;
}

TEST(SepaAddress, StructuredAndHybridAddressesWithTownAndCountryPass) {
  zor::SepaPostalAddress address;
  EXPECT_EQ(zor::FormOf(address), zor::SepaAddressForm::None);
  EXPECT_TRUE(Issues(address).empty());

  address.street = "Bahnhofstrasse";
  address.buildingNumber = "12";
  address.postCode = "8001";
  address.town = "Zürich";
  address.country = "CH";
  EXPECT_EQ(zor::FormOf(address), zor::SepaAddressForm::Structured);
  EXPECT_TRUE(Issues(address).empty());

  address.lines = {"c/o Muster AG", "Postfach"};
  EXPECT_EQ(zor::FormOf(address), zor::SepaAddressForm::Hybrid);
  EXPECT_TRUE(Issues(address).empty());
}

TEST(SepaAddress, EachBrokenRuleIsNamedAtItsElement) {
  zor::SepaPostalAddress linesOnly;
  linesOnly.lines = {"Bahnhofstrasse 12", "8001 Zürich"};
  EXPECT_EQ(zor::FormOf(linesOnly), zor::SepaAddressForm::Unstructured);
  EXPECT_EQ(Issues(linesOnly),
            (std::vector<std::string>{
                "PstlAdr/AdrLine: Eine Anschrift nur aus Adresszeilen nehmen die Banken seit dem "
                "15. November 2026 nicht mehr: Ort und Land gehören in ihre eigenen Felder."}));

  zor::SepaPostalAddress partial;
  partial.street = "Bahnhofstrasse";
  partial.lines = {"a", "b", "c"};
  EXPECT_EQ(Issues(partial),
            (std::vector<std::string>{
                "PstlAdr/TwnNm: Zur Anschrift gehört der Ort.",
                "PstlAdr/Ctry: Zur Anschrift gehört das Land (ISO 3166, z.B. DE).",
                "PstlAdr/AdrLine: Neben den Feldern einer Anschrift stehen höchstens zwei "
                "Adresszeilen, hier 3."}));

  partial.town = "Zürich";
  partial.country = "XZ";
  partial.lines.pop_back();
  EXPECT_EQ(Issues(partial),
            (std::vector<std::string>{"PstlAdr/Ctry: „XZ“ ist kein Land (ISO 3166, z.B. DE)."}));
}

}  // namespace
