// zordta dtaus write --zentralbank with a diskette counter that holds no number.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "CliRunner.h"

namespace {

using clitest::Wait;
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

// Another process puts a file at the target while the run books: the run takes
// back nothing it does not own, and gives its diskette number back.
TEST(DtausCounter, ARunThatCannotCommitGivesItsNumberBack) {
  Workspace ws;
  const std::string counter = ".config/Software/Zor Software/TZorDTA.ini";
  ws.Write(counter, "Nummer=41\n");
  {
    std::ofstream csv(ws / "gross.csv");
    csv << "name,konto,blz,betrag\n";
    for (int i = 0; i < 60000; ++i) csv << "Empfaenger " << i << ",1234567,50010517,1.00\n";
  }
  const pid_t writer =
      ws.Start({"dtaus", "write", "--csv", "gross.csv", "--zentralbank", "--no-pdf", "--name",
                "Muster GmbH", "--blz", "37040044", "--konto", "532013000"});
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (ws.Read(counter) != "Nummer=42\n" && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ws.Write("DTAUS0.TXT", "another process's file");
  EXPECT_EQ(Wait(writer), 1);
  EXPECT_EQ(ws.Read("DTAUS0.TXT"), "another process's file");
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT.begleitzettel.txt"));
  EXPECT_EQ(ws.Read(counter), "Nummer=41\n");
}

}  // namespace
