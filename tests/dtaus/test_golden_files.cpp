// Whole DTAUS files against golden files.
//
// The golden files are built field by field by tests/data/dtaus/make_golden.py;
// they never come from the component. Every scenario checks both the file written
// to Path + DTAFilename and DTAFileContent. The clock, the format settings, the
// registry root and the output folder are pinned for every test.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Classes.h"
#include "zordta/host/Registry.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

using zortest::ReadFile;
using zortest::ReadGolden;
using zortest::SameBytes;

/// One payment; the purpose lines are UTF-8 and become interface text.
struct Booking {
  const char* name;
  std::int64_t konto;
  std::int64_t blz;
  double betrag;
  std::vector<std::string> vwz;
};

/// One run: settings on top of the standard client, then the bookings.
struct GoldenCase {
  std::string golden;  // tests/data/dtaus/<golden>.dtaus
  char decimalSeparator;
  std::function<void(zor::TZorDTA&)> configure;
  std::vector<Booking> bookings;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
  *os << c.golden << " (decimal separator '" << c.decimalSeparator << "')";
}

void NoSettings(zor::TZorDTA&) {}

Booking MaxMustermann(std::vector<std::string> vwz, double betrag = 10.00) {
  return {"Max Mustermann", 1234567890, 50010517, betrag, std::move(vwz)};
}

// Purpose lines "Zweck 01" ... "Zweck NN".
std::vector<std::string> Zweck(int n) {
  std::vector<std::string> lines;
  for (int i = 1; i <= n; ++i) {
    lines.push_back((i < 10 ? "Zweck 0" : "Zweck ") + std::to_string(i));
  }
  return lines;
}

const std::vector<Booking> kCreditTransfer = {
    {"Max Mustermann", 1234567890, 50010517, 123.45, {"Rechnung 4711"}},
    {"Erika Musterfrau", 987654, 10020030, 1.00, {"Miete Dezember", "Wohnung 3"}},
};

const std::vector<Booking> kSchuldner = {
    {"Hans Schuldner", 44556677, 70020270, 49.90, {"Beitrag 2027"}},
};

const std::vector<Booking> kUmlauts = {
    {"Müller & Söhne GmbH",
     1234567890,
     50010517,
     25.00,
     {"Straße 5a", "ÄÖÜ äöü ß (x)!", "José [Test]"}},
};

// 12.125 is exact in binary and rounds away from zero; 1.005 and 2.675 lie just
// below their ties; 10.0049 rounds down; 999999999.99 fills all eleven digits.
const std::vector<Booking> kRounding = {
    MaxMustermann({"Betrag"}, 12.125),       MaxMustermann({"Betrag"}, 1.005),
    MaxMustermann({"Betrag"}, 2.675),        MaxMustermann({"Betrag"}, 10.0049),
    MaxMustermann({"Betrag"}, 999999999.99), MaxMustermann({"Betrag"}, 1.0),
};

void UmlautClient(zor::TZorDTA& dta) {
  dta.SetAuftraggeberName(ZA("Bäckerei Größe"));
}

std::vector<GoldenCase> GoldenCases() {
  std::vector<GoldenCase> cases = {
      {"empty_run", '.', NoSettings, {}},
      {"credit_transfer", '.', NoSettings, kCreditTransfer},
      {"credit_transfer", ',', NoSettings, kCreditTransfer},
      {"debit_authorisation", '.', [](zor::TZorDTA& d) { d.SetLastschriften(true); }, kSchuldner},
      {"debit_order", '.', [](zor::TZorDTA& d) { d.SetAbbuchungsauftrag(true); }, kSchuldner},
      {"custom_key_credit_05000", '.',
       [](zor::TZorDTA& d) {
         d.SetLastschriften(false);
         d.SetZahlungsschluessel(ZA("05000"));
       },
       kSchuldner},
      {"custom_key_debit_51000", '.',
       [](zor::TZorDTA& d) {
         d.SetLastschriften(true);
         d.SetZahlungsschluessel(ZA("51000"));
       },
       kSchuldner},
      {"custom_key_trimmed", '.',
       [](zor::TZorDTA& d) {
         d.SetLastschriften(false);
         d.SetZahlungsschluessel(ZA("  04000 "));
       },
       kSchuldner},
      {"purpose_empty", '.', NoSettings, {MaxMustermann({})}},
      {"single_line_60",
       '.',
       NoSettings,
       {MaxMustermann({"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMNOPQRSTUVWX"})}},
      {"umlauts_first_kind", '.',
       [](zor::TZorDTA& d) {
         UmlautClient(d);
         d.SetDTAFilename(ZT("DTAUS0.TXT"));
       },
       kUmlauts},
      {"umlauts_second_kind", '.',
       [](zor::TZorDTA& d) {
         UmlautClient(d);
         d.SetDTAFilename(ZT("zahlung.dta"));
       },
       kUmlauts},
      {"long_name",
       '.',
       NoSettings,
       {{"Sehr lange Firmenbezeichnung GmbH und Co",
         1234567890,
         50010517,
         10.00,
         {"Rechnung 4711"}}}},
      {"amounts_rounding", '.', NoSettings, kRounding},
      {"amounts_rounding", ',', NoSettings, kRounding},
      {"execution_date",
       '.',
       [](zor::TZorDTA& d) { d.SetAusfuehrungsdatum(zor::EncodeDate(2026, 12, 18)); },
       {}},
      {"file_date_fixed",
       '.',
       [](zor::TZorDTA& d) { d.setDiskettenErstellDatum(zor::EncodeDate(2027, 1, 5)); },
       {}},
  };
  for (const int n : {1, 2, 3, 4, 7, 8, 14}) {
    cases.push_back({"purpose_" + std::to_string(n), '.', NoSettings, {MaxMustermann(Zweck(n))}});
  }
  // 15 lines exceed the count check; with it off they are written as laid out.
  cases.push_back({"purpose_15",
                   '.',
                   [](zor::TZorDTA& d) { d.SetValidateData(false); },
                   {MaxMustermann(Zweck(15))}});
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info) {
  return info.param.golden + (info.param.decimalSeparator == ',' ? "_comma" : "");
}

/// Pins today (2026-12-08, noon), the registry root and the output folder.
class DtausGoldenTest : public ::testing::Test {
 protected:
  // No run of these scenarios has anything to report.
  void TearDown() override { EXPECT_TRUE(fBoxes.boxes().empty()); }

  /// The standard client; the file date follows the pinned clock.
  void SetStandardClient(zor::TZorDTA& dta) const {
    dta.SetAuftraggeberName(ZA("Muster GmbH & Co. KG"));
    dta.SetAuftraggeberBLZ(37040044);
    dta.SetAuftraggeberKontoNr(532013000);
    dta.SetAusfuehrungsdatum(0);
    dta.SetShowWarnings(false);
    dta.SetPath(fOut.AsPath());
  }

  static void Book(zor::TZorDTA& dta, const Booking& b) {
    zor::TStringList vwz;
    for (const std::string& line : b.vwz) vwz.Add(ZT(line));
    dta.Buchung(ZA(b.name), b.konto, b.blz, b.betrag, vwz);
  }

  /// Compares the written file and DTAFileContent with the golden file.
  void ExpectGolden(const zor::TZorDTA& dta, const std::string& golden) const {
    const std::string expected = ReadGolden("dtaus/" + golden + ".dtaus");
    ASSERT_FALSE(expected.empty());
    const auto written = fOut.path() / zor::StringToUtf8(dta.DTAFilename());
    EXPECT_TRUE(SameBytes(expected, ReadFile(written))) << "file " << written;
    EXPECT_TRUE(SameBytes(expected, dta.DTAFileContent())) << "DTAFileContent";
  }

  /// The key "Software\Zor Software\TZorDTA" as a file under the registry root.
  std::filesystem::path CounterFile() const {
    return fRegistry.path() / "Software" / "Zor Software" / "TZorDTA.ini";
  }

  zortest::ScopedClock fClock{zor::EncodeDate(2026, 12, 8) + 0.5};
  zortest::TempDir fRegistry;
  zortest::ScopedRegistryRoot fRegistryRoot{fRegistry.path()};
  zortest::TempDir fOut;
  zortest::MessageBoxRecorder fBoxes;
};

class DtausGoldenFiles : public DtausGoldenTest,
                         public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(DtausGoldenFiles, RunMatchesGoldenFile) {
  const GoldenCase& c = GetParam();
  zortest::ScopedFormatSettings format(c.decimalSeparator);
  zor::TZorDTA dta(nullptr);
  SetStandardClient(dta);
  c.configure(dta);

  dta.Start();
  for (const Booking& b : c.bookings) Book(dta, b);
  dta.Finish();

  ExpectGolden(dta, c.golden);
}

INSTANTIATE_TEST_SUITE_P(Dtaus, DtausGoldenFiles, ::testing::ValuesIn(GoldenCases()), CaseName);

// An empty second text is left out; the third becomes the second line.
TEST_F(DtausGoldenTest, ThreeTextBookingMatchesGoldenFile) {
  zortest::ScopedFormatSettings format('.');
  zor::TZorDTA dta(nullptr);
  SetStandardClient(dta);

  dta.Start();
  dta.Buchung(ZA("Max Mustermann"), 1234567890, 50010517, 10.00, ZA("Erste Zeile"), ZA(""),
              ZA("Dritte Zeile"));
  dta.Finish();

  ExpectGolden(dta, "three_texts");
}

// A second run on the same component starts again from zero counts and sums.
TEST_F(DtausGoldenTest, SecondRunOnSameComponentMatchesGoldenFile) {
  zortest::ScopedFormatSettings format('.');
  zor::TZorDTA dta(nullptr);
  SetStandardClient(dta);

  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    dta.Start();
    for (const Booking& b : kCreditTransfer) Book(dta, b);
    dta.Finish();
    ExpectGolden(dta, "credit_transfer");
  }
}

// The diskette number is the stored "Nummer" plus one, wrapping from 9999 to 0,
// and the new number is stored.
TEST_F(DtausGoldenTest, ZentralbankNumbersTheDiskette) {
  struct Case {
    const char* golden;
    int stored;
    int storedAfter;
  };
  const Case cases[] = {{"zentralbank_41", 41, 42}, {"zentralbank_9999", 9999, 0}};
  zortest::ScopedFormatSettings format('.');

  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    std::filesystem::create_directories(CounterFile().parent_path());
    {
      std::ofstream ini(CounterFile(), std::ios::binary | std::ios::trunc);
      ini << "Nummer=" << c.stored << "\n";
    }

    zor::TZorDTA dta(nullptr);
    SetStandardClient(dta);
    dta.SetZentralbank(true);
    dta.Start();
    dta.Finish();

    ExpectGolden(dta, c.golden);
    const zor::TRegIniFile key(ZT("Software\\Zor Software\\TZorDTA"));
    EXPECT_EQ(key.ReadInteger(ZT(""), ZT("Nummer"), 0), c.storedAfter);
  }
}

}  // namespace
