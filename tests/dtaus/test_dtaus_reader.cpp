// The checked reader: what it hands over, and that each way a file can be
// damaged is refused with its kind and the place of the damage.
#include <gtest/gtest.h>

#include <sstream>

#include "dtaus/Layout.h"
#include "dtaus/WriterFixture.h"
#include "zordta/DtausReader.h"

namespace {

using zortest::SetLines;
using zortest::WriterTest;

struct Read {
  std::vector<zor::DtausHeader> headers;
  std::vector<zor::DtausPayment> payments;
  std::vector<zor::DtausTrailer> trailers;
  std::vector<zor::DtausNote> notes;
};

Read ReadAll(const std::string& bytes, zor::DtausReadOptions options = {}) {
  std::istringstream in(bytes);
  zor::DtausReader reader(in, options);
  Read read;
  for (;;) {
    const auto item = reader.Next();
    if (item == zor::DtausReader::Item::End) break;
    if (item == zor::DtausReader::Item::Header) read.headers.push_back(reader.Header());
    if (item == zor::DtausReader::Item::Payment) read.payments.push_back(reader.Payment());
    if (item == zor::DtausReader::Item::Trailer) read.trailers.push_back(reader.Trailer());
  }
  EXPECT_EQ(reader.Next(), zor::DtausReader::Item::End);
  read.notes = reader.Notes();
  return read;
}

class DtausReaderTest : public WriterTest {
 protected:
  /// A file of the given payments, each a key and its purpose lines.
  std::string File(
      bool lastschriften,
      std::initializer_list<std::pair<const char*, std::initializer_list<const char*>>> payments) {
    dta.SetDTAFilename(ZT(""));
    dta.SetLastschriften(lastschriften);
    dta.SetZahlungsschluessel("");
    dta.Start();
    zor::TStringList lines;
    for (const auto& [key, purpose] : payments) {
      dta.SetZahlungsschluessel(key);
      SetLines(lines, purpose);
      BookValid(lines);
    }
    dta.Finish();
    return dta.DTAFileContent();
  }
  std::string OnePayment() { return File(false, {{"51000", {"RECHNUNG 1"}}}); }
};

TEST_F(DtausReaderTest, EveryLogicalFileWithItsOwnKeysFiguresAndPlaces) {
  const std::string credits = File(false, {{"51000", {"A"}}, {"53000", {"B"}}, {"56000", {}}});
  const std::string debits = File(true, {{"05000", {"C"}}, {"04000", {"D"}}});
  const Read read = ReadAll(credits + debits);

  ASSERT_EQ(read.headers.size(), 2u);
  EXPECT_FALSE(read.headers[0].lastschriften);
  EXPECT_TRUE(read.headers[1].lastschriften);
  EXPECT_EQ(read.headers[1].logicalFile, 2u);
  EXPECT_EQ(read.headers[1].place.record, 6u);  // A C C C E, then A
  EXPECT_EQ(read.headers[1].place.offset, credits.size());
  EXPECT_EQ(read.headers[0].auftraggeber.name, "MUSTER GMBH");

  std::vector<std::string> keys;
  for (const auto& p : read.payments) keys.push_back(p.zahlungsschluessel);
  EXPECT_EQ(keys, (std::vector<std::string>{"51000", "53000", "56000", "05000", "04000"}));
  EXPECT_EQ(read.payments[3].place.offset, credits.size() + 128);
  EXPECT_EQ(read.payments[0].betrag, 1000);

  ASSERT_EQ(read.trailers.size(), 2u);
  EXPECT_EQ(read.trailers[0].counted.anzahl, 3);
  EXPECT_EQ(read.trailers[1].counted, read.trailers[1].stated);
  EXPECT_TRUE(read.notes.empty());
}

TEST_F(DtausReaderTest, BlankPurposeLinesKeepTheirPlace) {
  dta.SetLeerzeilenBehalten(true);
  const Read read = ReadAll(File(false, {{"51000", {"", "B", ""}}, {"51000", {""}}}));
  ASSERT_EQ(read.payments.size(), 2u);
  EXPECT_EQ(read.payments[0].verwendungszweck, (std::vector<std::string>{"", "B", ""}));
  EXPECT_TRUE(read.payments[1].verwendungszweck.empty());
}

// Each damage, where it is, and what kind of refusal it gives.
TEST_F(DtausReaderTest, DamageIsRefusedWithItsKindAndPlace) {
  const std::string file = OnePayment();  // A at 0, C at 128 (two parts), E at 384
  struct Damage {
    const char* what;
    std::size_t at;
    std::string bytes;
    zor::DtausFault fault;
    std::uint64_t offset;
  };
  const Damage damages[] = {
      {"length not digits", 128, "abcd", zor::DtausFault::Structure, 128},
      {"length beyond the count", 128, "9999", zor::DtausFault::Structure, 128},
      {"kind flipped", 5, "LK", zor::DtausFault::Structure, 128 + 44},
      {"C record typed E", 132, "E", zor::DtausFault::Structure, 128},
      {"signed amount", 128 + 79, "-0000001000", zor::DtausFault::Structure, 128 + 79},
      {"lower case", 128 + 93, "m", zor::DtausFault::Text, 128 + 93},
      {"control byte", 128 + 94, "\x07", zor::DtausFault::Structure, 128 + 94},
      {"unknown key", 128 + 44, "52", zor::DtausFault::Structure, 128 + 44},
      {"count", 384 + 16, "2", zor::DtausFault::ControlFigures, 384},
      {"slot beyond the count", 256 + 59, "02", zor::DtausFault::Structure, 256 + 59},
  };
  for (const Damage& d : damages) {
    std::string bytes = file;
    bytes.replace(d.at, d.bytes.size(), d.bytes);
    try {
      ReadAll(bytes, {.checkSums = false});
      ADD_FAILURE() << d.what << ": read";
    } catch (const zor::DtausReadError& e) {
      EXPECT_EQ(e.Fault(), d.fault) << d.what << ": " << e.what();
      EXPECT_EQ(e.Place().offset, d.offset) << d.what << ": " << e.what();
    }
  }
}

// Digit fields are taken several bytes at a time: a stray byte is found at
// every position, also one that differs from a digit in one bit only.
TEST_F(DtausReaderTest, DigitFieldsAreReadWholeAndRefusedForAnyStrayByte) {
  const std::string file = OnePayment();
  const std::size_t konto = 128 + 21, amount = 128 + 79;  // 10 and 11 digits
  std::string bytes = file;
  bytes.replace(konto, 10, "9876543210");
  bytes.replace(amount, 11, "00123456789");
  const Read read = ReadAll(bytes, {.checkSums = false});
  ASSERT_EQ(read.payments.size(), 1u);
  EXPECT_EQ(read.payments[0].konto, 9876543210);
  EXPECT_EQ(read.payments[0].betrag, 123456789);

  const std::string strays = ":/?\xB5 @\x7F\xF0x";
  for (std::size_t at = 0; at < 11; ++at) {
    bytes = file;
    bytes[amount + at] = strays[at % strays.size()];
    try {
      ReadAll(bytes, {.checkSums = false});
      ADD_FAILURE() << "stray byte at " << at << " read";
    } catch (const zor::DtausReadError& e) {
      EXPECT_EQ(e.Fault(), zor::DtausFault::Structure) << e.what();
      EXPECT_EQ(e.Place().offset, amount) << e.what();
    }
  }
}

TEST_F(DtausReaderTest, WhatFollowsTheLastERecord) {
  const std::string file = OnePayment();
  const Read padded = ReadAll(file + "\x1a" + std::string(3, '\0') + "  ");
  ASSERT_EQ(padded.notes.size(), 1u);
  EXPECT_EQ(padded.notes[0].place.offset, file.size());
  try {
    ReadAll(file + "  X");
    ADD_FAILURE() << "read";
  } catch (const zor::DtausReadError& e) {
    EXPECT_EQ(e.Fault(), zor::DtausFault::TrailingBytes);
    EXPECT_EQ(e.Place().offset, file.size() + 2);
  }
  EXPECT_THROW(ReadAll(file.substr(0, 300)), zor::DtausReadError);
  EXPECT_THROW(ReadAll(file.substr(0, 384)), zor::DtausReadError);
}

TEST_F(DtausReaderTest, SumsAreComparedUnlessTurnedOff) {
  std::string bytes = OnePayment();
  bytes[384 + 76] = '1';  // the last digit of the sum of the amounts
  EXPECT_EQ(ReadAll(bytes, {.checkSums = false}).payments.size(), 1u);
  try {
    ReadAll(bytes);
    ADD_FAILURE() << "read";
  } catch (const zor::DtausReadError& e) {
    EXPECT_EQ(e.Fault(), zor::DtausFault::ControlFigures);
    ASSERT_EQ(e.Details().size(), 1u);
    EXPECT_EQ(e.Details()[0],
              "Summe der Beträge in Cent: im Datensatz E 1001, aus den Buchungen 1000.");
  }
}

// Line breaks after every part of a file larger than the reader's blocks: every
// payment is read, and the notes do not grow with the file.
TEST_F(DtausReaderTest, TolerantReadingKeepsEveryPaymentAndBoundsItsNotes) {
  dta.SetDTAFilename(ZT(""));
  dta.Start();
  zor::TStringList lines;
  SetLines(lines, {"RECHNUNG"});
  constexpr int kPayments = 2000;
  for (int i = 0; i < kPayments; ++i) BookValid(lines);
  dta.Finish();
  const std::string file = dta.DTAFileContent();
  std::string broken;
  for (std::size_t at = 0; at < file.size(); at += 128) broken += file.substr(at, 128) + "\r\n";

  EXPECT_THROW(ReadAll(broken), zor::DtausReadError);
  const Read read = ReadAll(broken, {.tolerant = true});
  EXPECT_EQ(read.payments.size(), static_cast<std::size_t>(kPayments));
  ASSERT_EQ(read.notes.size(), 11u);
  EXPECT_EQ(read.notes[1].place.offset, 128 + 2 + 128);
  EXPECT_NE(read.notes.back().text.find(std::to_string(2 * kPayments + 2 - 10)), std::string::npos);
}

// The reader copies a field whose bytes all stand for themselves at once:
// exactly the format's own characters may take that way.
TEST_F(DtausReaderTest, TextIsCopiedAsItStandsExactlyForTheFormatsCharacters) {
  const std::string file = OnePayment();
  const std::size_t name = 128 + zor::detail::dtaus::kC1.name.offset;
  const std::string own = " $%&*+,-./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (unsigned b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    std::string bytes = file;
    std::string field = std::string("AB") + c + "CD";
    field.resize(zor::detail::dtaus::kC1.name.width, ' ');
    bytes.replace(name, field.size(), field);
    std::string read;
    bool noted = false;
    try {
      const Read r = ReadAll(bytes, {.tolerant = true});
      read = r.payments.at(0).name;
      noted = !r.notes.empty();
    } catch (const zor::DtausReadError&) {
      noted = true;
    }
    const bool standsForItself = own.find(c) != std::string::npos;
    EXPECT_EQ(read == std::string("AB") + c + "CD" && !noted, standsForItself) << b;
  }
}

}  // namespace
