// The E record as the bytes state it, and the comparison with the payments.
#include <gtest/gtest.h>

#include "io/DtausTrailer.h"

namespace {

// count 3, account sum 1280112221, bank-code sum 130050817, 284969 cents.
const std::string kERecord =
    "0128E     0000003"
    "0000000000000"
    "00000001280112221"
    "00000000130050817"
    "0000000284969" +
    std::string(51, ' ');

TEST(Trailer, ReadsTheFourFiguresAtTheirPositions) {
  ASSERT_EQ(kERecord.size(), 128u);
  std::string error;
  const auto sums = zcli::ReadTrailer(std::string(256, 'x') + kERecord, error);
  ASSERT_TRUE(sums) << error;
  EXPECT_EQ(sums->count, 3);
  EXPECT_EQ(sums->konto, 1280112221);
  EXPECT_EQ(sums->blz, 130050817);
  EXPECT_EQ(sums->cent, 284969);
}

TEST(Trailer, DamagedRecordsAreNamedNotMisread) {
  std::string error;
  EXPECT_FALSE(zcli::ReadTrailer(kERecord.substr(1), error));
  EXPECT_FALSE(zcli::ReadTrailer("0128C" + kERecord.substr(5), error));
  std::string blank = kERecord;
  blank[12] = ' ';  // inside the count
  EXPECT_FALSE(zcli::ReadTrailer(blank, error));
  EXPECT_EQ(error,
            "Datensatz E: Anzahl der Datensätze C (Stellen 11-17) ist keine Zahl: \"00 0003\".");
  std::string sign = kERecord;
  sign[64] = '-';  // first digit of the amount sum
  EXPECT_FALSE(zcli::ReadTrailer(sign, error));
}

TEST(Trailer, ComparisonNamesEachDifferingFigure) {
  const zcli::ControlSums stated{3, 100, 200, 300};
  EXPECT_TRUE(zcli::CompareSums(stated, stated).empty());
  const auto differences = zcli::CompareSums(stated, {2, 100, 200, 301});
  EXPECT_EQ(differences,
            (std::vector<std::string>{
                "Anzahl der Datensätze C: im Datensatz E 3, aus den Buchungen 2.",
                "Summe der Beträge in Cent: im Datensatz E 300, aus den Buchungen 301."}));
}

TEST(Trailer, ExecutionDateIsThereUnlessItsFieldIsBlank) {
  std::string a(128, ' ');
  EXPECT_FALSE(zcli::HasExecutionDate(a));
  a.replace(95, 8, "15012027");
  EXPECT_TRUE(zcli::HasExecutionDate(a));
  EXPECT_FALSE(zcli::HasExecutionDate("0128A"));
}

}  // namespace
