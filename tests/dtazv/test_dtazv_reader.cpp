// The checked DTAZV reader: the goldens and the writer's files read back to
// what was meant, and each way a file can be damaged is refused with its kind
// and the place of the damage.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

#include "dtazv/Layout.h"
#include "support/TestSupport.h"
#include "zordta/DtazvReader.h"
#include "zordta/ZorDTAZV.h"

namespace {

namespace zv = zor::detail::dtazv;
using std::chrono::year_month_day;
using namespace std::chrono_literals;

constexpr year_month_day kToday{2026y, std::chrono::December, 8d};
constexpr std::size_t kT1 = zv::kQLength;  // offset of the first T record

struct Read {
  zor::DtazvHeader header;
  std::vector<zor::DtazvPayment> payments;
  std::vector<zor::DtazvReport> reports;
  zor::DtazvTrailer trailer;
  std::vector<zor::DtazvNote> notes;
};

Read ReadAll(const std::string& bytes, zor::DtazvReadOptions options = {}) {
  std::istringstream in(bytes);
  zor::DtazvReader reader(in, options);
  Read read;
  for (auto item = reader.Next(); item != zor::DtazvReader::Item::End; item = reader.Next()) {
    if (item == zor::DtazvReader::Item::Header) read.header = reader.Header();
    if (item == zor::DtazvReader::Item::Payment) read.payments.push_back(reader.Payment());
    if (item == zor::DtazvReader::Item::Report) read.reports.push_back(reader.Report());
    if (item == zor::DtazvReader::Item::Trailer) read.trailer = reader.Trailer();
  }
  EXPECT_EQ(reader.Next(), zor::DtazvReader::Item::End);
  read.notes = reader.Notes();
  return read;
}

std::string Golden(const char* name) {
  return zortest::ReadGolden(std::string("dtazv/") + name + ".dtazv");
}

class DtazvReaderTest : public ::testing::Test {
 protected:
  zortest::ScopedClock clock{zor::EncodeDate(2026, 12, 8) + 0.5};
};

TEST_F(DtazvReaderTest, EveryGoldenReadsWhole) {
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(zortest::DataDir() / "dtazv")) {
    if (entry.path().extension() != ".dtazv") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = zortest::ReadFile(entry.path());
    const Read read = ReadAll(bytes);
    EXPECT_EQ(read.header.erstellungsdatum, kToday);
    EXPECT_EQ(read.trailer.counted.anzahl, static_cast<std::int64_t>(read.payments.size()));
    EXPECT_EQ(read.trailer.place.offset, bytes.size() - zv::kZLength);
    EXPECT_TRUE(read.notes.empty());
    ++files;
  }
  EXPECT_GE(files, 15U);
}

TEST_F(DtazvReaderTest, GoldensReadToTheValuesTheirGeneratorMeant) {
  const Read full = ReadAll(Golden("zv_full"));
  EXPECT_EQ(full.header.name1, "MUSTER EXPORT GMBH");
  EXPECT_EQ(full.header.name2, "ABTEILUNG ZAHLUNGSVERKEHR");
  EXPECT_EQ(full.header.strasse, "HAFENSTRASSE 12");
  EXPECT_EQ(full.header.blz, 37040044);
  EXPECT_EQ(full.header.konto, 532013000);
  EXPECT_EQ(full.header.lfdNummer, 1);
  EXPECT_EQ(full.header.ausfuehrungsdatum, kToday);
  ASSERT_EQ(full.payments.size(), 1U);
  zor::DtazvPayment swiss;
  swiss.place = {2, kT1};
  swiss.auftraggeberBLZ = 37040044;
  swiss.kontoWaehrung = "EUR";
  swiss.auftraggeberKonto = 532013000;
  swiss.ausfuehrungsdatum = year_month_day{2026y, std::chrono::December, 11d};
  swiss.bic = "UBSWCHZH80A";
  swiss.laendercode = "CH";
  swiss.name1 = "ZUERCHER KANTONALBANK KUNDE";
  swiss.name2 = "C/O ZENTRALE";
  swiss.strasse = "BAHNHOFSTRASSE 1";
  swiss.ortLand = "8001 ZUERICH";
  swiss.iban = "CH9300762011623852957";
  swiss.waehrung = "CHF";
  swiss.betrag = 1250;
  swiss.verwendungszweck = {"LIZENZ 2027", "VERTRAG 4711", "", ""};
  swiss.notizIntern = "LIZENZ SCHWEIZ Q1";
  swiss.ansprechpartner = "FRAU KAETHE MUELLER";
  EXPECT_EQ(full.payments[0], swiss);

  const Read amounts = ReadAll(Golden("zv_amounts"));
  ASSERT_EQ(amounts.payments.size(), 4U);
  const std::int64_t hundredths[] = {100, 1250, 123456, 1300};  // 0.999 12.5 1234.56 12.999
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(amounts.payments[i].betrag, hundredths[i]);
  EXPECT_EQ(amounts.trailer.stated, (zor::DtazvTotals{1260, 4}));

  const Read keys = ReadAll(Golden("zv_q_record_keys"));
  EXPECT_EQ(keys.header.lfdNummer, 42);
  EXPECT_EQ(keys.header.ausfuehrungsdatum, (year_month_day{2026y, std::chrono::December, 13d}));
  EXPECT_EQ(keys.header.bundeslandschluessel, 9);
  EXPECT_EQ(keys.header.firmennummer, 12345678);

  const Read usd = ReadAll(Golden("zv_middle_overloads"));
  ASSERT_EQ(usd.payments.size(), 2U);
  EXPECT_EQ(usd.payments[1].kontoWaehrung, "USD");
  EXPECT_EQ(usd.payments[1].waehrung, "USD");
  EXPECT_EQ(usd.payments[0].ausfuehrungsdatum, (year_month_day{2026y, std::chrono::December, 23d}));
  EXPECT_EQ(usd.payments[1].ausfuehrungsdatum, kToday);  // 16 days ahead became today
  EXPECT_EQ(usd.payments[1].ansprechpartner, "HERR OELMANN");

  const Read purpose80 = ReadAll(Golden("zv_purpose_80"));
  const auto& long80 = purpose80.payments.at(0).verwendungszweck;
  EXPECT_EQ(long80[0] + long80[1] + long80[2],
            "RECHNUNG 2026-117 UND 2026-118 KUNDENNUMMER 4711-0815 AUFTRAG 99887766-LAGER B/7");
  EXPECT_EQ(long80[2], "-LAGER B/7");
  EXPECT_EQ(ReadAll(Golden("zv_zahlungsart_13")).payments.at(0).zahlungsArtSchluessel, 13);
  EXPECT_EQ(ReadAll(Golden("zv_umlaut_client")).header.name1, "BAECKEREI GROESSE  SOEHNE");
  EXPECT_EQ(ReadAll(Golden("zv_empty")).trailer.stated, (zor::DtazvTotals{0, 0}));
}

TEST_F(DtazvReaderTest, WhatTheWriterWritesReadsBackEqual) {
  zortest::TempDir dir;
  zor::TZorDTAZV writer(nullptr);
  writer.SetPath(dir.AsPath());
  writer.SetAuftraggeberName(ZA("Muster Export GmbH"));
  writer.SetAuftraggeberOrt(ZA("20457 Hamburg"));
  writer.SetAuftraggeberBLZ(37040044);
  writer.SetAuftraggeberKontoNr(532013000);
  writer.SetZahlungsArtSchluessel(11);
  writer.Start(7);
  zor::TStringList lines;
  lines.Add(ZT("Rechnung 1"));
  lines.Add(ZT(""));
  lines.Add(ZT("&&&"));  // cleaned to an empty line that keeps its place
  lines.Add(ZT("Zeile vier"));
  writer.Buchung("UBSWCHZH80A", "CH9300762011623852957", ZA("Zürcher Kunde"), ZA("c/o Zentrale"),
                 ZA("Bahnhofstraße 1"), ZA("8001 Zürich"), "CH", 1234567890.12, lines,
                 zor::EncodeDate(2026, 12, 20), ZA("Notiz"), ZA("Frau Müller"), "chf");
  zor::TStringList none;
  writer.Buchung("DEUTDEFF", "DE89370400440532013000", ZA("Hans"), ZA("Weg 1"), ZA("Köln"), 0.5,
                 none);
  writer.Finish();

  const Read read = ReadAll(writer.DTAFileContent());
  EXPECT_EQ(read.header.lfdNummer, 7);
  EXPECT_EQ(read.header.ort, "20457 HAMBURG");
  ASSERT_EQ(read.payments.size(), 2U);
  const zor::DtazvPayment& p = read.payments[0];
  EXPECT_EQ(p.ausfuehrungsdatum, (year_month_day{2026y, std::chrono::December, 20d}));
  EXPECT_EQ(p.strasse, "BAHNHOFSTRASSE 1");
  EXPECT_EQ(p.waehrung, "CHF");
  EXPECT_EQ(p.betrag, 123456789012);
  EXPECT_EQ(p.verwendungszweck, (std::array<std::string, 4>{"RECHNUNG 1", "", "ZEILE VIER", ""}));
  EXPECT_EQ(p.zahlungsArtSchluessel, 11);
  EXPECT_EQ(p.ansprechpartner, "FRAU MUELLER");
  const zor::DtazvPayment& q = read.payments[1];
  EXPECT_EQ(q.place, (zor::DtazvPlace{3, kT1 + zv::kTLength}));
  EXPECT_EQ(q.bic, "DEUTDEFF");
  EXPECT_EQ(q.laendercode, "DE");
  EXPECT_EQ(q.betrag, 50);
  EXPECT_EQ(q.verwendungszweck, (std::array<std::string, 4>{}));
  EXPECT_EQ(read.trailer.stated, (zor::DtazvTotals{1234567890, 2}));
}

// Reports follow the T record that counts them and are handed over in order.
TEST_F(DtazvReaderTest, AnnouncedReportsAreReadAfterTheirPayment) {
  std::string bytes = Golden("zv_bic8");
  const std::size_t z = kT1 + zv::kTLength;
  bytes[kT1 + zv::kT.meldungen.offset] = '1';
  bytes.replace(kT1 + zv::kT.anzahlMeldungen.offset, 2, "02");
  const std::string v =
      std::string(zv::kVHeader) + std::string(251, ' ').replace(0, 9, "ZEILE V 1");
  const std::string w = std::string(zv::kWHeader) + std::string(251, ' ').replace(0, 5, "221 X");
  bytes.insert(z, v + w);
  const Read read = ReadAll(bytes);
  ASSERT_EQ(read.reports.size(), 2U);
  EXPECT_EQ(read.reports[0].satzart, 'V');
  EXPECT_EQ(read.reports[0].text, "ZEILE V 1");
  EXPECT_EQ(read.reports[1].place, (zor::DtazvPlace{4, z + zv::kReportLength}));
  EXPECT_EQ(read.reports[1].text, "221 X");
  EXPECT_EQ(read.payments.at(0).anzahlMeldungen, 2);
  EXPECT_EQ(read.trailer.place.record, 5U);
}

struct Damage {
  const char* what;
  std::function<void(std::string&)> damage;
  zor::DtazvFault fault;
  zor::DtazvPlace place;
};

TEST_F(DtazvReaderTest, DamageIsRefusedWithItsKindAndPlace) {
  using F = zor::DtazvFault;
  const std::size_t t2 = kT1 + zv::kTLength, z = kT1 + 3 * zv::kTLength;
  const std::size_t end = z + zv::kZLength;
  const auto put = [](std::size_t at, const char* text) {
    return [at, text](std::string& b) { b.replace(at, std::strlen(text), text); };
  };
  const Damage cases[] = {
      {"empty", [](std::string& b) { b.clear(); }, F::Truncated, {1, 0}},
      {"no Q", put(4, "A"), F::Structure, {1, 0}},
      {"letter in a bank code", put(9, "X"), F::Structure, {1, 5}},
      {"no date", put(163, "261131"), F::Structure, {1, 163}},
      {"reserve used", put(200, "X"), F::Structure, {1, 200}},
      {"lower case", put(t2 + 212, "a"), F::Text, {3, t2 + 212}},
      {"byte outside the set", put(t2 + 212, "&"), F::Text, {3, t2 + 212}},
      {"blank inside the IBAN", put(kT1 + 423, " "), F::Structure, {2, kT1 + 423}},
      {"no slash",
       put(kT1 + zv::kT.ibanSlash.offset, " "),
       F::Structure,
       {2, kT1 + zv::kT.ibanSlash.offset}},
      {"currency of two letters",
       put(kT1 + zv::kT.waehrung.offset + 2, " "),
       F::Structure,
       {2, kT1 + zv::kT.waehrung.offset}},
      {"thousandths",
       put(kT1 + zv::kT.nachKommaFill.offset, "5"),
       F::Structure,
       {2, kT1 + zv::kT.nachKommaFill.offset}},
      {"reports flagged, none counted",
       put(kT1 + zv::kT.meldungen.offset, "1"),
       F::Structure,
       {2, kT1 + zv::kT.meldungen.offset}},
      {"announced report missing",
       [](std::string& b) {
         b[kT1 + zv::kT.meldungen.offset] = '1';
         b.replace(kT1 + zv::kT.anzahlMeldungen.offset, 2, "01");
       },
       F::Structure,
       {3, kT1 + zv::kTLength}},
      {"unknown record", put(t2, "0256X"), F::Structure, {3, t2}},
      {"count", put(z + 34, "4"), F::Totals, {5, z}},
      {"sum", put(z + 19, "1"), F::Totals, {5, z}},
      {"cut in a T record", [&](std::string& b) { b.resize(t2 + 100); }, F::Truncated, {3, t2}},
      {"no Z", [&](std::string& b) { b.resize(z); }, F::Truncated, {5, z}},
      {"line break", [&](std::string& b) { b.insert(kT1, "\r\n"); }, F::LineBreaks, {2, kT1}},
      {"bytes after Z", [](std::string& b) { b += "  0256Q"; }, F::TrailingBytes, {6, end + 2}},
  };
  const std::string good = Golden("zv_three_payments");
  ASSERT_EQ(good.size(), end);
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    c.damage(bytes);
    try {
      ReadAll(bytes);
      ADD_FAILURE() << "accepted";
    } catch (const zor::DtazvReadError& e) {
      EXPECT_EQ(e.Fault(), c.fault) << e.Text();
      EXPECT_EQ(e.Place(), c.place) << e.Text();
      EXPECT_NE(zor::StringToUtf8(e.Message()).find("Datensatz " + std::to_string(c.place.record)),
                std::string::npos);
    }
  }
}

TEST_F(DtazvReaderTest, TotalsNameWhatDiffers) {
  std::string bytes = Golden("zv_three_payments");
  bytes.replace(kT1 + 3 * zv::kTLength + 19, 1, "1");
  try {
    ReadAll(bytes);
    FAIL() << "accepted";
  } catch (const zor::DtazvReadError& e) {
    EXPECT_EQ(e.Text(),
              "Der Datensatz Z passt nicht zu den Datensätzen T davor: Summe der Beträge (ganze "
              "Einheiten): im Datensatz Z 61, aus den Datensätzen T 60.");
  }
}

TEST_F(DtazvReaderTest, TolerantReadingTakesLineBreaksAndLowerCaseWithNotes) {
  const std::string good = Golden("zv_three_payments");
  std::string broken;
  for (std::size_t at = 0; at < good.size();) {
    const std::size_t length = at == 0 || at + zv::kZLength == good.size() ? 256 : 768;
    broken += good.substr(at, length) + "\r\n";
    at += length;
  }
  broken.replace(2 + kT1 + zv::kT.name1.offset, 4, "Hans");
  broken += "\x1A";
  const Read strict = ReadAll(good);
  const Read tolerant = ReadAll(broken, {.tolerant = true});
  ASSERT_EQ(tolerant.payments.size(), strict.payments.size());
  for (std::size_t i = 0; i < strict.payments.size(); ++i) {
    EXPECT_EQ(tolerant.payments[i].name1, strict.payments[i].name1);
    EXPECT_EQ(tolerant.payments[i].betrag, strict.payments[i].betrag);
  }
  EXPECT_EQ(tolerant.payments[1].place, (zor::DtazvPlace{3, kT1 + zv::kTLength + 4}));
  ASSERT_EQ(tolerant.notes.size(), 7U);  // five line breaks, the name, the padding
  EXPECT_EQ(tolerant.notes[1].text,
            "Name des Empfängers (Stellen 211-245) enthält Kleinbuchstaben, gelesen als \"HANS "
            "BEISPIEL\".");
  EXPECT_THROW(ReadAll(broken), zor::DtazvReadError);
}

}  // namespace
