// zordta sepa convert of DTAZV files from the reader's corpus: a file of euro
// payments to SEPA countries and foreign ones becomes two documents, each
// valid by its schema; a file with a fault writes nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "CliRunner.h"

namespace {

using clitest::IsoDateFromToday;
using clitest::Workspace;

std::string Corpus(const std::string& name) {
  std::ifstream in(std::string(ZORDTA_TEST_DATA_DIR) + "/dtazv-corpus/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SepaConvertDtazv, EuroAndForeignPaymentsBecomeTwoDocuments) {
  Workspace ws;
  std::string file = Corpus("two_payments.dtazv");
  file.replace(256 + 768 + 455, 3, "USD");  // the second payment's order currency
  ws.Write("ausland.dtazv", file);
  const auto r = ws.Run({"sepa", "convert", "ausland.dtazv", "--iban", "DE89370400440532013000",
                         "--ausfuehrung", IsoDateFromToday(3), "--nachricht-id", "AZV-1"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("ausland-1.xml: 1 SEPA-Überweisung, Summe 1250,99 EUR"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("ausland-2.xml: 1 Auslandsüberweisung"), std::string::npos) << r.out;
  EXPECT_NE(ws.Read("ausland-1.xml").find("<MsgId>AZV-1-1</MsgId>"), std::string::npos);
  const std::string foreign = ws.Read("ausland-2.xml");
  EXPECT_NE(foreign.find("<InstdAmt Ccy=\"USD\">3.05</InstdAmt>"), std::string::npos) << foreign;
  EXPECT_NE(foreign.find("<ChrgBr>SHAR</ChrgBr>"), std::string::npos);
}

TEST(SepaConvertDtazv, FaultWritesNothingAndDtausOptionsAreRefused) {
  Workspace ws;
  ws.Write("meldung.dtazv", Corpus("reports_v_and_w.dtazv"));
  const auto r = ws.Run({"sepa", "convert", "meldung.dtazv", "--iban", "DE89370400440532013000",
                         "--ausfuehrung", IsoDateFromToday(3)});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Datensatz 3 (Byte 1024), Feld meldung: Meldungen zu Euro-Zahlungen"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(ws.Exists("meldung.xml"));
  const auto usage = ws.Run({"sepa", "convert", "meldung.dtazv", "--glaeubiger-id", "X"});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("--glaeubiger-id gilt nur für DTAUS-Dateien"), std::string::npos);
}

}  // namespace
