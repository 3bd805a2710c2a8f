// zordta dtaus write --zentralbank with a diskette counter that holds no number.
#include <gtest/gtest.h>

#include "CliRunner.h"

namespace {

using clitest::Workspace;

TEST(DtausCounter, CounterThatHoldsNoNumberStopsTheFileAndStaysAsItIs) {
  for (const std::string value : {"-5", "zweiundvierzig"}) {
    SCOPED_TRACE(value);
    Workspace ws;
    const std::string counter = ".config/Software/Zor Software/TZorDTA.ini";
    const std::string stored = "Nummer=" + value + "\n";
    ws.Write(counter, stored);
    ws.Write("z.csv", "name,konto,blz,betrag\nAnna,1234567890,50010517,1\n");
    const auto r = ws.Run({"dtaus", "write", "--csv", "z.csv", "--zentralbank", "--no-pdf",
                           "--name", "Muster GmbH", "--blz", "37040044", "--konto", "532013000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"" + (ws / counter).string() + "\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("„" + value + "“"), std::string::npos) << r.err;
    EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
    EXPECT_EQ(ws.Read(counter), stored);
  }
}

}  // namespace
