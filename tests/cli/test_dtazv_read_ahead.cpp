// The DTAZV payments a reading thread hands over in batches: every payment
// once, in the file's order, with its reports; a refusal comes after the
// payments before it; a caller that stops taking stops the reading.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/DtazvReadAhead.h"

namespace {

std::string Field(const std::string& text, std::size_t width) {
  return text.substr(0, width) + std::string(width - std::min(width, text.size()), ' ');
}

std::string Number(long long value, int width) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*lld", width, value);
  return digits;
}

// Record T of payment `i` to the USA, with a report (record W) where `report`.
std::string Payment(int i, bool report) {
  std::string r = "0768T" + Number(50010517, 8) + "EUR" + Number(1234567890, 10) + "990102";
  r += "00000000   0000000000" + Field("CHASUS33XXX", 11) + std::string(143, ' ');
  r += "US " + Field("PAYEE " + std::to_string(i), 35) + std::string(35, ' ');
  r += Field("1 MAIN STREET", 35) + Field("SOMETOWN", 35) + std::string(70, ' ');
  r += "/" + Field("000123456789", 34) + "USD" + Number(100 + i, 14) + "50" + "0";
  r += Field("INVOICE " + std::to_string(i), 35) + std::string(105, ' ');
  r += "00000000" + std::string(25, ' ') + "0000" + std::string(62, ' ');
  r += (report ? "1" : "0") + std::string(51, ' ') + (report ? "01" : "00");
  if (report) r += "0256W" + Field("2521 BERATUNG US " + std::to_string(i), 251);
  return r;
}

// A file of `count` payments, every seventh with a report; record T of
// payment `broken` (counting from 0) has no valid record length.
std::string File(int count, int broken = -1) {
  std::string file = "0256Q" + Number(50010517, 8) + Number(1234567890, 10) +
                     Field("EXPORT AG", 35) + std::string(35, ' ') + Field("KAISERSTR. 1", 35) +
                     Field("FRANKFURT", 35) + "990101" + "01" + "990102" + "N" + "06" +
                     Number(4711, 8) + std::string(68, ' ');
  long long units = 0;
  for (int i = 0; i < count; ++i) {
    std::string record = Payment(i, i % 7 == 3);
    if (i == broken) record.replace(0, 4, "07X8");
    file += record;
    units += 100 + i;
  }
  return file + "0256Z" + Number(units, 15) + Number(count, 15) + std::string(221, ' ');
}

struct Taken {
  bool header = false;
  std::vector<std::string> names;
  std::size_t reports = 0;
};

std::string Saved(const std::string& bytes) {
  const std::string path = testing::TempDir() + "read_ahead.dtazv";
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

void Read(const std::string& path, Taken& taken) {
  zcli::ReadDtazvPaymentsAhead(
      path, [&](const zor::DtazvHeader&) { taken.header = taken.names.empty(); },
      [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports) {
        taken.names.push_back(p.name1);
        taken.reports += reports.size();
      });
}

TEST(DtazvReadAhead, HandsOverEveryPaymentInOrderAcrossBatches) {
  Taken taken;
  Read(Saved(File(1000)), taken);
  EXPECT_TRUE(taken.header);
  ASSERT_EQ(taken.names.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(taken.names[static_cast<std::size_t>(i)], "PAYEE " + std::to_string(i));
  }
  EXPECT_EQ(taken.reports, 143u);
}

TEST(DtazvReadAhead, ARefusalComesAfterThePaymentsBeforeIt) {
  Taken taken;
  EXPECT_THROW(Read(Saved(File(700, 600)), taken), zor::DtazvReadError);
  EXPECT_EQ(taken.names.size(), 600u);
  EXPECT_THROW(Read(testing::TempDir() + "no such file.dtazv", taken), zor::Exception);
}

TEST(DtazvReadAhead, ACallerThatStopsTakingEndsTheReading) {
  int seen = 0;
  EXPECT_THROW(zcli::ReadDtazvPaymentsAhead(
                   Saved(File(2000)), [](const zor::DtazvHeader&) {},
                   [&](const zor::DtazvPayment&, std::span<const zor::DtazvReport>) {
                     if (++seen == 300) throw std::runtime_error("genug");
                   }),
               std::runtime_error);
  EXPECT_EQ(seen, 300);
}

}  // namespace
