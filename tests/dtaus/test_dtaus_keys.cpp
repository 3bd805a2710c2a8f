// The one table of DTAUS payment keys, as messages and the conversion to SEPA read it.
#include <gtest/gtest.h>

#include "zordta/DtausKeys.h"
#include "zordta/Sepa.h"

namespace {

TEST(DtausKeys, LookUpByTwoDigitsAndListForMessages) {
  EXPECT_EQ(zor::DtausKeyCodes(true, " oder "), "04 oder 05");
  EXPECT_EQ(zor::DtausKeyCodes(false, " oder "), "51, 53, 54 oder 56");
  EXPECT_EQ(zor::DtausKeyCodes(false, ", "), "51, 53, 54, 56");

  ASSERT_NE(zor::FindDtausKey("04000"), nullptr);
  EXPECT_EQ(zor::FindDtausKey("04000")->sepaScheme, "B2B");
  EXPECT_EQ(zor::FindDtausKey("05")->kind, zor::DtausKeyKind::Einzug);
  for (const char* none : {"", "5", "52000", "99", "-5"}) {
    EXPECT_EQ(zor::FindDtausKey(none), nullptr) << none;
  }
  EXPECT_EQ(zor::SepaPurposeForDtausKey(53), "SALA");
  EXPECT_EQ(zor::SepaPurposeForDtausKey(51), "");
  EXPECT_EQ(zor::SepaPurposeForDtausKey(-47), "");
  EXPECT_EQ(zor::SepaPurposeForDtausKey(153), "");
}

}  // namespace
