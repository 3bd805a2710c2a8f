// Structured creditor references: the check digits of ISO 11649, and a sentence
// for each way a reference can be wrong.
#include <gtest/gtest.h>

#include <string>

#include "zordta/CreditorReference.h"

namespace {

TEST(CreditorReference, TheStandardsExamplesAreValidInEitherCase) {
  for (const char* reference : {"RF18539007547034", "RF45G72UUR", "RF712348231", "rf45g72uur",
                                "RF95ABCDEFGHIJKLMNOPQRSTU", "RF040"}) {
    EXPECT_EQ(zor::CreditorReferenceProblem(reference), "") << reference;
  }
}

TEST(CreditorReference, MakingOneGivesTheCheckDigitsThatValidateIt) {
  EXPECT_EQ(zor::MakeCreditorReference("539007547034"), "RF18539007547034");
  EXPECT_EQ(zor::MakeCreditorReference("g72uur"), "RF45G72UUR");
  EXPECT_EQ(zor::MakeCreditorReference("0"), "RF040");
  for (const char* refused : {"", "ABCDEFGHIJKLMNOPQRSTUV", "12 34", "Ä1"}) {
    EXPECT_EQ(zor::MakeCreditorReference(refused), "") << refused;
  }
}

TEST(CreditorReference, EachFaultIsNamed) {
  EXPECT_EQ(zor::CreditorReferenceProblem("RF19539007547034"),
            "Die Prüfziffern 19 passen nicht zur Gläubigerreferenz: ein Zeichen ist falsch "
            "oder vertauscht.");
  // Two neighbours swapped: what MOD 97-10 is there to find.
  EXPECT_NE(zor::CreditorReferenceProblem("RF18539007547043"), "");
  EXPECT_EQ(zor::CreditorReferenceProblem("RF18 5390 0754 7034"),
            "Eine Gläubigerreferenz besteht aus Buchstaben und Ziffern; „ “ gehört nicht hinein.");
  EXPECT_EQ(zor::CreditorReferenceProblem("RF1ß539007547034"),
            "Eine Gläubigerreferenz besteht aus Buchstaben und Ziffern; „ß“ gehört nicht hinein.");
  EXPECT_EQ(zor::CreditorReferenceProblem("RFAB539007547034"),
            "Auf RF folgen zwei Prüfziffern, nicht „AB“.");
  EXPECT_EQ(zor::CreditorReferenceProblem("RF18ABCDEFGHIJKLMNOPQRSTUV"),
            "Nach RF und den Prüfziffern stehen höchstens 21 Zeichen, hier 22.");
  EXPECT_EQ(zor::CreditorReferenceProblem("DE18539007547034"),
            "„DE18539007547034“ ist keine strukturierte Gläubigerreferenz (RF, zwei Prüfziffern "
            "und bis zu 21 Buchstaben oder Ziffern, z.B. RF18539007547034).");
  EXPECT_NE(zor::CreditorReferenceProblem("RF18"), "");
}

}  // namespace
