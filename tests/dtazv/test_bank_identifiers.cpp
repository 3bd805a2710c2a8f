// IBAN and BIC checks of the foreign payment writer: the fixed cases, a table of
// IBANs from many countries (tests/data/dtazv/ibans.txt, cross-checked against an
// independent validator) and how failures are reported.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/ZorDTAZV.h"

namespace {

using zortest::MessageBoxRecorder;

const char* kIBANMessage =
    "Es muss eine korrekte IBAN angegeben werden. Die IBAN darf höchstens 34 Zeichen "
    "beinhalten.";
const char* kBICMessage = "Die BIC muss aus 8 oder 11 Ziffern bestehen.";

struct Case {
  const char* text;  // Windows-1252 bytes
  bool valid;
};

TEST(BankIdentifiers, IBANCheck) {
  const Case cases[] = {
      {"DE94123456780000001234", true},
      {"DE94123456780000001235", false},  // remainder 28
      {"DE67123456780000001235", true},   // 94 - 27: pins that remainder at 28
      {"de94123456780000001234", true},
      {"De94123456780000001234", true},
      {"DE94 1234 5678 0000 0012 34", false},
      // A reader that skipped a leading blank or took a sign would see a valid number.
      {"DE94 123456780000001234", false},
      {"DE94+123456780000001234", false},
      {"DE94123456780000001234-", false},
      {"DE94\xC4"
       "123456780000001234",
       false},
      {"", false},
      {"0001", false},                                 // remainder 1, too short
      {"AA481", true},                                 // remainder 1, five characters
      {"GB16WEST12345698765432123456789012", true},    // 34
      {"GB14WEST123456987654321234567890123", false},  // 35, remainder 1
  };
  zor::TZorDTAZV zv(nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.valid) {
      EXPECT_TRUE(zv.ValidateIBAN(c.text));
    } else {
      EXPECT_THROW_MESSAGE(zv.ValidateIBAN(c.text), ZT(kIBANMessage));
    }
  }
}

struct TableRow {
  std::string verdict;  // ok, bad or lax
  std::string iban;
};

std::vector<TableRow> ReadIBANTable() {
  std::ifstream in(zortest::DataDir() / "dtazv" / "ibans.txt");
  std::vector<TableRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    TableRow row;
    fields >> row.verdict >> row.iban;
    rows.push_back(row);
  }
  return rows;
}

TEST(BankIdentifiers, IBANsOfManyCountries) {
  const auto rows = ReadIBANTable();
  ASSERT_GE(rows.size(), 100u);
  MessageBoxRecorder boxes;
  zor::TZorDTAZV zv(nullptr);
  zv.SetShowWarnings(true);
  std::size_t failures = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.verdict + " " + row.iban);
    ASSERT_TRUE(row.verdict == "ok" || row.verdict == "bad" || row.verdict == "lax");
    const bool valid = row.verdict != "bad";
    EXPECT_EQ(zv.ValidateIBAN(row.iban), valid);
    if (!valid) ++failures;
  }
  EXPECT_EQ(boxes.boxes().size(), failures);
}

// Of the check digits 00 to 99 exactly the right one passes (and the one 97 away).
TEST(BankIdentifiers, IBANOnlyItsOwnCheckDigitsPass) {
  MessageBoxRecorder boxes;
  zor::TZorDTAZV zv(nullptr);
  zv.SetShowWarnings(true);
  for (const auto& row : ReadIBANTable()) {
    if (row.verdict != "ok") continue;
    SCOPED_TRACE(row.iban);
    const int own = std::stoi(row.iban.substr(2, 2));
    for (int check = 0; check < 100; ++check) {
      std::string iban = row.iban;
      iban[2] = static_cast<char>('0' + check / 10);
      iban[3] = static_cast<char>('0' + check % 10);
      const bool expected = check == own || check == own + 97 || check == own - 97;
      EXPECT_EQ(zv.ValidateIBAN(iban), expected) << iban;
    }
  }
}

TEST(BankIdentifiers, BICCheck) {
  const Case cases[] = {
      {"ABCDDEFFXXX", true},
      {"ABCDDEFF", true},
      {"abcddeff", true},
      {"ABCDDE12", true},
      {"ABCDDE-/", true},  // only the first six are looked at
      {"ABCDDEF", false},
      {"ABCDDEFFXX", false},
      {"ABCDDEFFXXXX", false},
      {"", false},
      {"ABCD1EFF", false},
      {"ABCDDEFF XX", true},
      {"ABCDD FFXXX", false},
      {"ABCDD@FF", false},  // the neighbours of A-Z and a-z
      {"ABCDD[FF", false},
      {"ABCDD`FF", false},
      {"ABCDD{FF", false},
      {"\xC4"
       "BCDDEFF",
       false},
  };
  zor::TZorDTAZV zv(nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.valid) {
      EXPECT_TRUE(zv.ValidateBIC(c.text));
    } else {
      EXPECT_THROW_MESSAGE(zv.ValidateBIC(c.text), ZT(kBICMessage));
    }
  }
}

TEST(BankIdentifiers, NothingIsCheckedWithoutValidateData) {
  MessageBoxRecorder boxes;
  zor::TZorDTAZV zv(nullptr);
  zv.SetValidateData(false);
  for (bool showWarnings : {false, true}) {
    zv.SetShowWarnings(showWarnings);
    EXPECT_TRUE(zv.ValidateIBAN("X"));
    EXPECT_TRUE(zv.ValidateIBAN("DE94123456780000001235"));
    EXPECT_TRUE(zv.ValidateBIC(""));
  }
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST(BankIdentifiers, FailuresShowAMessageBoxWithShowWarnings) {
  MessageBoxRecorder boxes;
  zor::TZorDTAZV zv(nullptr);
  zv.SetShowWarnings(true);
  EXPECT_FALSE(zv.ValidateIBAN("DE94123456780000001235"));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].caption, "Fehler");
  EXPECT_EQ(boxes.boxes()[0].text, kIBANMessage);

  EXPECT_FALSE(zv.ValidateBIC("ABCDDEF"));
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[1].caption, "Fehler");
  EXPECT_EQ(boxes.boxes()[1].text, kBICMessage);

  EXPECT_TRUE(zv.ValidateIBAN("DE94123456780000001234"));
  EXPECT_TRUE(zv.ValidateBIC("ABCDDEFF"));
  EXPECT_EQ(boxes.boxes().size(), 2u);
}

}  // namespace
