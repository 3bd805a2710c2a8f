// The reader over the DTAZV corpus, files built from the record layout alone
// (tests/data/dtazv-corpus/make_corpus.py): each must reach its verdict, strict
// and tolerant.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/TestSupport.h"
#include "zordta/DtazvReader.h"

namespace {

const char* FaultName(zor::DtazvFault fault) {
  switch (fault) {
    case zor::DtazvFault::Unreadable:
      return "Unreadable";
    case zor::DtazvFault::Truncated:
      return "Truncated";
    case zor::DtazvFault::Structure:
      return "Structure";
    case zor::DtazvFault::Text:
      return "Text";
    case zor::DtazvFault::LineBreaks:
      return "LineBreaks";
    case zor::DtazvFault::Totals:
      return "Totals";
    case zor::DtazvFault::TrailingBytes:
      return "TrailingBytes";
  }
  return "?";
}

/// "ok <payments> <reports>", or "<fault> <record> <offset>".
std::string Verdict(const std::string& bytes, bool tolerant) {
  std::istringstream in(bytes);
  zor::DtazvReader reader(in, {.tolerant = tolerant});
  std::size_t payments = 0, reports = 0;
  try {
    for (auto item = reader.Next(); item != zor::DtazvReader::Item::End; item = reader.Next()) {
      payments += item == zor::DtazvReader::Item::Payment;
      reports += item == zor::DtazvReader::Item::Report;
    }
  } catch (const zor::DtazvReadError& e) {
    return std::string(FaultName(e.Fault())) + " " + std::to_string(e.Place().record) + " " +
           std::to_string(e.Place().offset);
  }
  return "ok " + std::to_string(payments) + " " + std::to_string(reports);
}

TEST(DtazvCorpus, EveryFileReachesItsVerdict) {
  const zortest::ScopedClock clock(zor::EncodeDate(2026, 12, 8) + 0.5);
  const auto dir = zortest::DataDir() / "dtazv-corpus";
  std::ifstream verdicts(dir / "verdicts.txt");
  std::string line;
  std::size_t files = 0;
  while (std::getline(verdicts, line)) {
    const std::size_t bar1 = line.find(" | "), bar2 = line.rfind(" | ");
    ASSERT_NE(bar1, bar2) << line;
    const std::string name = line.substr(0, bar1);
    SCOPED_TRACE(name);
    const std::string bytes = zortest::ReadFile(dir / (name + ".dtazv"));
    EXPECT_EQ(Verdict(bytes, false), line.substr(bar1 + 3, bar2 - bar1 - 3));
    EXPECT_EQ(Verdict(bytes, true), line.substr(bar2 + 3));
    ++files;
  }
  EXPECT_GE(files, 20U);
}

}  // namespace
