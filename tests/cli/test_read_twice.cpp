// An input read twice tells a file that changed in between, by its bytes and
// not only by the figures that a change of a text leaves alone.
#include <gtest/gtest.h>

#include <istream>
#include <random>
#include <string>

#include "CliRunner.h"
#include "io/FileBytes.h"
#include "payments/CheckedDtaus.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace {

using clitest::Workspace;

struct Reading {
  std::string bytes;
  std::uint64_t checksum = 0;
};

// The file read by requests of `sizes` in turn; a size of 1 asks for a single character.
Reading ReadInRequests(const std::string& path, const std::vector<std::size_t>& sizes) {
  Reading reading;
  zcli::SummedFileBuffer buffer(path);
  std::istream in(&buffer);
  for (std::size_t i = 0; in; ++i) {
    const std::size_t size = sizes[i % sizes.size()];
    if (size == 1) {
      const int c = in.get();
      if (c != std::char_traits<char>::eof()) reading.bytes += static_cast<char>(c);
      continue;
    }
    std::string part(size, '\0');
    in.read(part.data(), static_cast<std::streamsize>(size));
    reading.bytes.append(part, 0, static_cast<std::size_t>(in.gcount()));
  }
  reading.checksum = buffer.Checksum();
  return reading;
}

TEST(ReadTwice, TheChecksumIsOfTheBytesHoweverTheyAreAskedFor) {
  constexpr std::size_t kBlock = zcli::SummedFileBuffer::kBlockSize;
  std::string text(3 * kBlock + 1234, '\0');
  std::mt19937 random(7);
  for (char& c : text) c = static_cast<char>(random());
  Workspace ws;
  ws.Write("f", text);
  const std::string path = (ws / "f").string();
  const Reading whole = ReadInRequests(path, {text.size() + 1});
  ASSERT_EQ(whole.bytes, text);
  for (const std::vector<std::size_t>& sizes : std::vector<std::vector<std::size_t>>{
           {1}, {1, kBlock}, {100, 2 * kBlock + 5}, {kBlock - 1, kBlock + 1}, {kBlock}}) {
    const Reading reading = ReadInRequests(path, sizes);
    EXPECT_EQ(reading.bytes, text) << sizes[0];
    EXPECT_EQ(reading.checksum, whole.checksum) << sizes[0];
  }
  for (const std::size_t at : {std::size_t{5}, kBlock + 9, text.size() - 1}) {
    std::string changed = text;
    changed[at] ^= 0x20;
    ws.Write("f", changed);
    EXPECT_NE(ReadInRequests(path, {kBlock}).checksum, whole.checksum) << at;
  }
}

TEST(ReadTwice, ADtausFileWhoseNameChangedWithTheSameFiguresIsNoLongerTheSame) {
  Workspace ws;
  const std::string original =
      zcli::ReadInput(std::string(ZORDTA_TEST_DATA_DIR) + "/dtaus/credit_transfer.dtaus");
  const std::size_t name = original.find("MAX MUSTERMANN");
  ASSERT_NE(name, std::string::npos);
  ws.Write("a.dta", original);
  zcli::CheckedDtaus file((ws / "a.dta").string(), zor::DtausReadOptions{});
  file.Check();
  const auto ignore = [](std::size_t, const zor::DtausPayment&) {};
  EXPECT_TRUE(file.ReadAgain(ignore));

  std::string renamed = original;
  renamed.replace(name, 14, "MAX MUSTERFRAU");
  ws.Write("a.dta", renamed);
  EXPECT_FALSE(file.ReadAgain(ignore));
  ws.Write("a.dta", original);  // the same bytes again, in a file written anew
  EXPECT_TRUE(file.ReadAgain(ignore));
}

// A logical file of `count` credits from the client `account`.
std::string LogicalFile(long account, int count) {
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName("MUSTER");
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(account);
  dta.SetDTAFilename(zor::StringFromUtf8(""));
  dta.Start();
  for (int i = 0; i < count; ++i) {
    dta.Buchung("NAME " + std::to_string(i), 1234567900, 50010517, 1.0, "LOHN", "", "");
  }
  dta.Finish();
  return dta.DTAFileContent();
}

// The first reading hands its payments over from a thread of its own: each
// payment comes with its logical file noted already, and a refusal after the
// payments before it, with the notes.
TEST(ReadTwice, ATakerOfTheFirstReadingFindsEachPaymentsLogicalFileNoted) {
  Workspace ws;
  const std::string file = LogicalFile(532013000, 300) + LogicalFile(648489890, 400);
  ws.Write("a.dta", file);
  zcli::CheckedDtaus checked((ws / "a.dta").string(), zor::DtausReadOptions{});
  // What the reading thread prepares comes with its own payment.
  checked.PrepareAccounts([](const zor::DtausPayment& p, zcli::PreparedAccount& prepared) {
    prepared.account.iban = p.name;
  });
  std::vector<std::size_t> counts(2);
  const auto take = [&](std::size_t f, const zor::DtausPayment& p) {
    ASSERT_EQ(checked.Files().size(), f + 1);
    EXPECT_EQ(p.name, "NAME " + std::to_string(counts[f]));
    ASSERT_NE(checked.CurrentAccount(), nullptr);
    EXPECT_EQ(checked.CurrentAccount()->account.iban, p.name);
    ++counts[f];
  };
  checked.Check(take);
  EXPECT_EQ(counts, (std::vector<std::size_t>{300, 400}));
  EXPECT_EQ(checked.CurrentAccount(), nullptr);
  counts = {0, 0};
  EXPECT_TRUE(checked.ReadAgain([&](std::size_t f, const zor::DtausPayment& p) {
    ++counts[f];
    EXPECT_EQ(checked.CurrentAccount()->account.iban, p.name);
  }));
  EXPECT_EQ(counts, (std::vector<std::size_t>{300, 400}));
  ASSERT_EQ(checked.Files().size(), 2u);
  EXPECT_EQ(checked.Files()[1].counted.anzahl, 400);
  EXPECT_EQ(checked.Payments(), 700);

  // Cut short in the second logical file: no record E.
  ws.Write("a.dta", file.substr(0, file.size() - 128 - 500 * 128));
  std::size_t taken = 0;
  EXPECT_THROW(checked.Check([&](std::size_t, const zor::DtausPayment&) { ++taken; }),
               zor::DtausReadError);
  EXPECT_GE(taken, 300u);
}

}  // namespace
