// The streaming writer against the golden files the component is held to, its
// refusals, and a sink that fails.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/DtausWriter.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

using namespace std::chrono_literals;
using zortest::ReadGolden;
using zortest::SameBytes;
using Fault = zor::DtausWriteFault;

class StringSink : public zor::ByteSink {
 public:
  void Write(std::string_view bytes) override { bytes_.append(bytes); }
  std::string bytes_;
};

// Takes `room` bytes, then refuses, as a full disk would.
class FullSink : public zor::ByteSink {
 public:
  explicit FullSink(std::size_t room) : room_(room) {}
  void Write(std::string_view bytes) override {
    if (bytes.size() > room_) throw std::runtime_error("full");
    room_ -= bytes.size();
    bytes_.append(bytes);
  }
  std::size_t room_;
  std::string bytes_;
};

struct Payment {
  const char* name;  // UTF-8
  std::int64_t konto;
  std::int64_t blz;
  std::int64_t cent;
  std::vector<const char*> purpose;  // UTF-8
};

// The golden files' client and day (tests/data/dtaus/make_golden.py).
zor::DtausWriter::Header GoldenHeader(const std::string& clientName) {
  zor::DtausWriter::Header header;
  header.client = {clientName, 37040044, 532013000};
  header.dateidatum = 2026y / 12 / 8;
  header.umlauts = zor::DtausUmlauts::German7Bit;
  return header;
}

std::string Written(const zor::DtausWriter::Header& header, const std::vector<Payment>& payments) {
  StringSink sink;
  zor::DtausWriter writer(sink, header);
  for (const Payment& p : payments) {
    const std::string name = ZA(p.name);
    std::vector<std::string> texts;
    for (const char* line : p.purpose) texts.push_back(ZA(line));
    const std::vector<std::string_view> lines(texts.begin(), texts.end());
    writer.Add({.name = name, .blz = p.blz, .konto = p.konto, .cent = p.cent, .purpose = lines});
  }
  writer.Finish();
  EXPECT_EQ(writer.BytesWritten(), sink.bytes_.size());
  return sink.bytes_;
}

const std::string kClient = ZA("Muster GmbH & Co. KG");

TEST(DtausWriter, WritesTheGoldenFiles) {
  const std::vector<Payment> credit = {
      {"Max Mustermann", 1234567890, 50010517, 12345, {"Rechnung 4711"}},
      {"Erika Musterfrau", 987654, 10020030, 100, {"Miete Dezember", "Wohnung 3"}}};
  const std::vector<Payment> debtor = {
      {"Hans Schuldner", 44556677, 70020270, 4990, {"Beitrag 2027"}}};
  const std::vector<Payment> umlauts = {{"Müller & Söhne GmbH",
                                         1234567890,
                                         50010517,
                                         2500,
                                         {"Straße 5a", "ÄÖÜ äöü ß (x)!", "José [Test]"}}};
  const std::vector<Payment> rounding = {
      {"Max Mustermann", 1234567890, 50010517, 1213, {"Betrag"}},
      {"Max Mustermann", 1234567890, 50010517, 100, {"Betrag"}},
      {"Max Mustermann", 1234567890, 50010517, 267, {"Betrag"}},
      {"Max Mustermann", 1234567890, 50010517, 1000, {"Betrag"}},
      {"Max Mustermann", 1234567890, 50010517, 99999999999, {"Betrag"}},
      {"Max Mustermann", 1234567890, 50010517, 100, {"Betrag"}}};
  std::vector<const char*> zweck14;
  static const std::array<std::string, 14> kZweck = [] {
    std::array<std::string, 14> lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      lines[i] = (i < 9 ? "Zweck 0" : "Zweck ") + std::to_string(i + 1);
    }
    return lines;
  }();
  for (const std::string& line : kZweck) zweck14.push_back(line.c_str());

  const auto header = [](auto change) {
    zor::DtausWriter::Header h = GoldenHeader(kClient);
    change(h);
    return h;
  };
  const auto same = [](zor::DtausWriter::Header&) {};
  const std::string umlautClient = ZA("Bäckerei Größe");
  struct Case {
    const char* golden;
    zor::DtausWriter::Header header;
    std::vector<Payment> payments;
  };
  const Case cases[] = {
      {"empty_run", header(same), {}},
      {"credit_transfer", header(same), credit},
      {"debit_authorisation", header([](auto& h) { h.lastschriften = true; }), debtor},
      {"debit_order", header([](auto& h) { h.lastschriften = h.abbuchung = true; }), debtor},
      {"custom_key_credit_05000", header([](auto& h) { h.zahlungsschluessel = "05000"; }), debtor},
      {"custom_key_debit_51000", header([](auto& h) {
         h.lastschriften = true;
         h.zahlungsschluessel = "51000";
       }),
       debtor},
      {"purpose_empty", header(same), {{"Max Mustermann", 1234567890, 50010517, 1000, {}}}},
      {"purpose_14", header(same), {{"Max Mustermann", 1234567890, 50010517, 1000, zweck14}}},
      {"umlauts_first_kind", header([&](auto& h) { h.client.name = umlautClient; }), umlauts},
      {"umlauts_second_kind", header([&](auto& h) {
         h.client.name = umlautClient;
         h.umlauts = zor::DtausUmlautsOf("zahlung.dta");
       }),
       umlauts},
      {"amounts_rounding", header(same), rounding},
      {"execution_date", header([](auto& h) { h.ausfuehrungsdatum = 2026y / 12 / 18; }), {}},
      {"file_date_fixed", header([](auto& h) { h.dateidatum = 2027y / 1 / 5; }), {}},
      {"zentralbank_41", header([](auto& h) { h.diskettennummer = 42; }), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    const std::string expected = ReadGolden(std::string("dtaus/") + c.golden + ".dtaus");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(SameBytes(expected, Written(c.header, c.payments)));
  }
}

TEST(DtausWriter, RefusesWhatCannotStandInItsFieldAndWritesNothingForIt) {
  StringSink sink;
  zor::DtausWriter writer(sink, GoldenHeader(kClient));
  const std::string afterHeader = sink.bytes_;
  const std::array<std::string_view, 20> many{};
  const auto refused = [&](zor::DtausWriter::Booking b) -> std::optional<Fault> {
    try {
      writer.Add(b);
    } catch (const zor::DtausWriteError& e) {
      return e.Fault();
    }
    return std::nullopt;
  };
  const zor::DtausWriter::Booking good{.name = "MEIER", .blz = 20050550, .konto = 12, .cent = 100};
  auto b = good;
  b.blz = 100000000;
  EXPECT_EQ(refused(b), Fault::BankCode);
  b = good, b.konto = -1;
  EXPECT_EQ(refused(b), Fault::Account);
  b = good, b.cent = 100000000000;
  EXPECT_EQ(refused(b), Fault::Amount);
  b = good, b.purpose = many;
  EXPECT_EQ(refused(b), Fault::PurposeLines);
  b = good, b.zahlungsschluessel = "5100";
  EXPECT_EQ(refused(b), Fault::Key);
  b = good, b.name = "SEHR LANGE FIRMENBEZEICHNUNG";  // 28 characters
  EXPECT_EQ(refused(b), Fault::Text);
  // What the file's character set drops does not count against the field.
  b = good, b.name = "SEHR LANGE FIRMENBEZEICHNUN!";
  EXPECT_EQ(refused(b), std::nullopt);
  EXPECT_EQ(writer.Figures().count, 1);
  const std::size_t oneRecord = sink.bytes_.size();
  EXPECT_EQ(oneRecord, afterHeader.size() + 256);

  b = good, b.cent = 99999999999;
  for (int i = 0; i < 99; ++i) writer.Add(b);
  EXPECT_EQ(refused(b), Fault::Sum);
  EXPECT_EQ(writer.Figures().count, 100);
  writer.Finish();
  EXPECT_EQ(refused(good), Fault::Finished);
  EXPECT_THROW(writer.Finish(), zor::DtausWriteError);
  EXPECT_EQ(sink.bytes_.size(), oneRecord + 99 * 256 + 128);

  auto header = GoldenHeader(kClient);
  header.client.konto = 10000000000;
  EXPECT_THROW(zor::DtausWriter(sink, header), zor::DtausWriteError);
  header = GoldenHeader(kClient);
  header.diskettennummer = 10000;
  EXPECT_THROW(zor::DtausWriter(sink, header), zor::DtausWriteError);
}

// A sink that fails takes no part of a record: what stands before it is whole.
TEST(DtausWriter, ASinkThatFailsLeavesTheCountAsItWas) {
  FullSink sink(128 + 256);
  zor::DtausWriter writer(sink, GoldenHeader(kClient));
  const zor::DtausWriter::Booking b{.name = "MEIER", .blz = 20050550, .konto = 12, .cent = 100};
  writer.Add(b);
  EXPECT_THROW(writer.Add(b), std::runtime_error);
  EXPECT_THROW(writer.Finish(), std::runtime_error);
  EXPECT_EQ(writer.Figures().count, 1);
  EXPECT_EQ(writer.Figures().summeCent, 100);
  EXPECT_EQ(writer.BytesWritten(), sink.bytes_.size());
}

// The component's records through a sink of the caller's: the same bytes, no
// file and no content of its own.
TEST(DtausWriter, TheComponentWritesIntoARecordSink) {
  zortest::ScopedClock clock{zor::EncodeDate(2026, 12, 8) + 0.5};
  zortest::ScopedFormatSettings format('.');
  zortest::TempDir out;
  StringSink sink;
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(kClient);
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(out.AsPath());
  dta.SetRecordSink(&sink);
  dta.Start();
  dta.Buchung(ZA("Max Mustermann"), 1234567890, 50010517, 123.45, ZA("Rechnung 4711"), "", "");
  zor::TStringList vwz;
  vwz.Add(ZT("Miete Dezember"));
  vwz.Add(ZT("Wohnung 3"));
  dta.Buchung(ZA("Erika Musterfrau"), 987654, 10020030, 1.00, vwz);
  dta.Finish();

  EXPECT_TRUE(SameBytes(ReadGolden("dtaus/credit_transfer.dtaus"), sink.bytes_));
  EXPECT_EQ(dta.DTAFileContent(), "");
  EXPECT_FALSE(std::filesystem::exists(out.path() / "DTAUS0.TXT"));
  EXPECT_EQ(dta.State(), zor::stReady);
  EXPECT_EQ(dta.SummeBetragCent(), 12445);
}

}  // namespace
