// Whole DTAZV files against golden files.
//
// The golden files are built field by field by tests/data/dtazv/make_golden.py;
// they never come from the component. Every scenario checks both the file written
// to Path + "DTAZV" and DTAFileContent. The clock, the format settings, the
// registry root and the output folder are pinned for every test; the payee data
// here and in the generator must stay the same.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

using zortest::ReadFile;
using zortest::ReadGolden;
using zortest::SameBytes;

zor::TDateTime Today() {
  return zor::EncodeDate(2026, 12, 8);
}

/// Which of the four Buchung forms books the payment.
enum class Form {
  kShortest,    // BIC, IBAN, Name, Strasse, OrtLand, Betrag, Vwz
  kWithDate,    // ... and Datum
  kNoCurrency,  // BIC ... Ansprechpartner (Waehrung = Waehrungscode)
  kFull,        // ... and Waehrung
};

/// One payment, UTF-8. The shorter forms ignore what they do not take.
struct Payment {
  Form form = Form::kShortest;
  const char* bic = "";
  const char* iban = "";
  const char* name1 = "";
  const char* name2 = "";
  const char* strasse = "";
  const char* ortLand = "";
  const char* laendercode = "";
  double betrag = 0;
  std::vector<std::string> vwz = {};
  std::optional<int> datumInDays = std::nullopt;  // days after today; none for a Datum of 0
  const char* notiz = "";
  const char* ansprechpartner = "";
  const char* waehrung = "";
};

/// The purpose lists after each Buchung, as UTF-8 lines.
using ListsAfter = std::vector<std::vector<std::string>>;
using Check = std::function<void(const zor::TZorDTAZV&, const ListsAfter&)>;

/// One run: settings on top of the standard client, Start(lfdNummer), the payments.
struct GoldenCase {
  std::string golden;  // tests/data/dtazv/<golden>.dtazv
  std::function<void(zor::TZorDTAZV&)> configure;
  std::vector<Payment> payments;
  std::int32_t lfdNummer = 1;
  Check check = nullptr;  // what else the run must leave behind
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
  *os << c.golden;
}

void NoSettings(zor::TZorDTAZV&) {}

Payment German(double betrag, std::vector<std::string> vwz, const char* bic = "COBADEFFXXX") {
  return {.bic = bic,
          .iban = "DE89370400440532013000",
          .name1 = "Hans Beispiel",
          .strasse = "Lindenallee 5",
          .ortLand = "50667 Köln Deutschland",
          .betrag = betrag,
          .vwz = std::move(vwz)};
}

Payment Austrian(double betrag, std::vector<std::string> vwz) {
  return {.bic = "BKAUATWWXXX",
          .iban = "AT611904300234573201",
          .name1 = "Wiener Handels GmbH",
          .strasse = "Kärntner Straße 8",
          .ortLand = "1010 Wien Österreich",
          .betrag = betrag,
          .vwz = std::move(vwz)};
}

const Payment kShortFrench = {.bic = "BNPAFRPPXXX",
                              .iban = "FR6212345123450000000001234",
                              .name1 = "Société Générale Client",
                              .strasse = "12 rue de la Paix",
                              .ortLand = "75002 Paris France",
                              .betrag = 1234.56,
                              .vwz = {"Rechnung 2026-117"}};

const Payment kFullSwiss = {.form = Form::kFull,
                            .bic = "UBSWCHZH80A",
                            .iban = "CH9300762011623852957",
                            .name1 = "Zürcher Kantonalbank Kunde",
                            .name2 = "c/o Zentrale",
                            .strasse = "Bahnhofstrasse 1",
                            .ortLand = "8001 Zürich",
                            .laendercode = "CHE",
                            .betrag = 12.5,
                            .vwz = {"Lizenz 2027", "Vertrag 4711"},
                            .datumInDays = 3,
                            .notiz = "Lizenz Schweiz Q1",
                            .ansprechpartner = "Frau Käthe Müller",
                            .waehrung = "chf"};

// 80 characters; the cuts after 35 and 70 fall between two non-blanks.
const char* const kLine80 =
    "Rechnung 2026-117 und 2026-118 Kund"
    "ennummer 4711-0815 Auftrag 99887766"
    "-Lager B/7";

std::vector<std::string> Zweck(int n) {
  std::vector<std::string> lines;
  for (int i = 1; i <= n; ++i) lines.push_back("Zweck " + std::to_string(i));
  return lines;
}

Check ListsAre(ListsAfter expected) {
  return [expected](const zor::TZorDTAZV&, const ListsAfter& actual) {
    EXPECT_EQ(actual, expected) << "the callers' purpose lists after Buchung";
  };
}

Check Currencies(const char* first, bool multi) {
  return [first, multi](const zor::TZorDTAZV& zv, const ListsAfter&) {
    EXPECT_EQ(zv.ErsteWaehrung(), ZA(first));
    EXPECT_EQ(zv.MultiWaehrung(), multi);
  };
}

std::vector<GoldenCase> GoldenCases() {
  return {
      {"zv_empty", NoSettings, {}},
      // Ausfuehrungsdatum 0: the payment is dated today, the correction is silent.
      {"zv_short_french", NoSettings, {kShortFrench}},
      {"zv_full", NoSettings, {kFullSwiss}, 1, Currencies("CHF", false)},
      {"zv_amounts",
       NoSettings,
       {German(0.999, {"Betrag 1"}), Austrian(12.5, {"Betrag 2"}), German(1234.56, {"Betrag 3"}),
        Austrian(12.999, {"Betrag 4"})},
       1,
       [](const zor::TZorDTAZV& zv, const ListsAfter&) {
         EXPECT_EQ(zv.SummeBetragVorKomma(), 1 + 12 + 1234 + 13);
       }},
      {"zv_three_payments",
       NoSettings,
       {German(10.50, {"Zahlung 1"}), German(20.50, {"Zahlung 2"}), German(30.99, {"Zahlung 3"})}},
      {"zv_purpose_0", NoSettings, {German(100.0, {})}, 1, ListsAre({{""}})},
      {"zv_purpose_80",
       NoSettings,
       {German(100.0, {kLine80})},
       1,
       ListsAre({{"RECHNUNG 2026-117 UND 2026-118 KUND", "ENNUMMER 4711-0815 AUFTRAG 99887766",
                  "-LAGER B/7"}})},
      {"zv_purpose_4",
       NoSettings,
       {German(100.0, {"Rechnung Nr. 1", "Lieferung vom 01.12.2026", "Kunde: Müller & Söhne",
                       "Zeile 4 / Ende"})},
       1,
       ListsAre({{"RECHNUNG NR. 1", "LIEFERUNG VOM 01.12.2026", "KUNDE MUELLER  SOEHNE",
                  "ZEILE 4 / ENDE"}})},
      // Six lines exceed the count check; with it off only four reach the record.
      {"zv_purpose_6",
       [](zor::TZorDTAZV& zv) { zv.SetValidateData(false); },
       {German(100.0, Zweck(6))}},
      {"zv_bic8", NoSettings, {German(100.0, {"Rechnung 8"}, "DEUTDEFF")}},
      {"zv_zahlungsart_13",
       [](zor::TZorDTAZV& zv) { zv.SetZahlungsArtSchluessel(13); },
       {German(100.0, {"Rechnung 13"})}},
      {"zv_usd_after_eur",
       NoSettings,
       {{.form = Form::kFull,
         .bic = "COBADEFFXXX",
         .iban = "DE89370400440532013000",
         .name1 = "Hans Beispiel",
         .strasse = "Lindenallee 5",
         .ortLand = "50667 Köln",
         .laendercode = "DE",
         .betrag = 250.0,
         .vwz = {"Euro-Zahlung"},
         .datumInDays = 1,
         .waehrung = ""},
        {.form = Form::kFull,
         .bic = "CHASUS33XXX",
         .iban = "DE02120300000000202051",
         .name1 = "US Supplier Inc.",
         .strasse = "5th Avenue 100",
         .ortLand = "New York USA",
         .laendercode = "US",
         .betrag = 99.95,
         .vwz = {"Dollar-Zahlung"},
         .datumInDays = 2,
         .waehrung = "usd"}},
       1,
       Currencies("EUR", true)},
      {"zv_q_record_keys",
       [](zor::TZorDTAZV& zv) {
         zv.SetBundeslandschluessel(9);
         zv.SetFirmennummer(12345678);
         zv.SetAusfuehrungsdatum(Today() + 5);
       },
       {German(100.0, {"Ausfuehrung in 5 Tagen"})},
       42,
       [](const zor::TZorDTAZV& zv, const ListsAfter&) {
         EXPECT_EQ(zv.ErstesAusfuehrungsdatum(), Today() + 5);
       }},
      // The street has 35 characters and one ß: it passes at Start and is cut in Q.
      {"zv_umlaut_client",
       [](zor::TZorDTAZV& zv) {
         zv.SetAuftraggeberName(ZA("Bäckerei Größe & Söhne"));
         zv.SetAuftraggeberStrasse(ZA("Grosse Straße der Einheit 123456789"));
       },
       {}},
      // The two middle forms take Waehrungscode; it is also the account currency.
      // Today + 15 stays, today + 16 becomes today.
      {"zv_middle_overloads",
       [](zor::TZorDTAZV& zv) { zv.SetWaehrungscode(ZA("usd")); },
       {{.form = Form::kWithDate,
         .bic = "BKAUATWWXXX",
         .iban = "AT611904300234573201",
         .name1 = "Wiener Handels GmbH",
         .strasse = "Kärntner Straße 8",
         .ortLand = "1010 Wien Österreich",
         .betrag = 75.25,
         .vwz = {"Mit Datum"},
         .datumInDays = 15},
        {.form = Form::kNoCurrency,
         .bic = "UBSWCHZH80A",
         .iban = "CH9300762011623852957",
         .name1 = "Zürcher Kunde",
         .name2 = "Filiale Ost",
         .strasse = "Bahnhofstrasse 1",
         .ortLand = "8001 Zürich",
         .laendercode = "CH",
         .betrag = 42.0,
         .vwz = {"Ohne Waehrung"},
         .datumInDays = 16,
         .notiz = "Notiz 12",
         .ansprechpartner = "Herr Ölmann"}},
       1,
       Currencies("USD", false)},
  };
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info) {
  return info.param.golden;
}

/// Pins today (2026-12-08, noon), the format settings, the registry root and the
/// output folder.
class DtazvGoldenTest : public ::testing::Test {
 protected:
  // No run of these scenarios has anything to show.
  void TearDown() override { EXPECT_TRUE(fBoxes.boxes().empty()); }

  /// The standard client.
  void SetStandardClient(zor::TZorDTAZV& zv) const {
    zv.SetAuftraggeberName(ZA("Muster Export GmbH"));
    zv.SetAuftraggeberName2(ZA("Abteilung Zahlungsverkehr"));
    zv.SetAuftraggeberStrasse(ZA("Hafenstraße 12"));
    zv.SetAuftraggeberOrt(ZA("20457 Hamburg"));
    zv.SetAuftraggeberBLZ(37040044);
    zv.SetAuftraggeberKontoNr(532013000);
    zv.SetAusfuehrungsdatum(0);
    zv.SetShowWarnings(false);
    zv.SetPath(fOut.AsPath());
  }

  /// Books one payment with its form; returns the caller's list afterwards.
  static std::vector<std::string> Book(zor::TZorDTAZV& zv, const Payment& p) {
    zor::TStringList vwz;
    for (const std::string& line : p.vwz) vwz.Add(ZT(line));
    const zor::TDateTime datum = p.datumInDays ? Today() + *p.datumInDays : 0;
    switch (p.form) {
      case Form::kShortest:
        zv.Buchung(ZA(p.bic), ZA(p.iban), ZA(p.name1), ZA(p.strasse), ZA(p.ortLand), p.betrag, vwz);
        break;
      case Form::kWithDate:
        zv.Buchung(ZA(p.bic), ZA(p.iban), ZA(p.name1), ZA(p.strasse), ZA(p.ortLand), p.betrag, vwz,
                   datum);
        break;
      case Form::kNoCurrency:
        zv.Buchung(ZA(p.bic), ZA(p.iban), ZA(p.name1), ZA(p.name2), ZA(p.strasse), ZA(p.ortLand),
                   ZA(p.laendercode), p.betrag, vwz, datum, ZA(p.notiz), ZA(p.ansprechpartner));
        break;
      case Form::kFull:
        zv.Buchung(ZA(p.bic), ZA(p.iban), ZA(p.name1), ZA(p.name2), ZA(p.strasse), ZA(p.ortLand),
                   ZA(p.laendercode), p.betrag, vwz, datum, ZA(p.notiz), ZA(p.ansprechpartner),
                   ZA(p.waehrung));
        break;
    }
    std::vector<std::string> after;
    for (int i = 0; i < vwz.Count(); ++i) after.push_back(zor::StringToUtf8(vwz.Strings(i)));
    return after;
  }

  /// Start, the payments, Finish; the purpose lists after each payment.
  static ListsAfter RunCase(zor::TZorDTAZV& zv, const GoldenCase& c) {
    c.configure(zv);
    zv.Start(c.lfdNummer);
    ListsAfter lists;
    for (const Payment& p : c.payments) lists.push_back(Book(zv, p));
    zv.Finish();
    return lists;
  }

  /// Compares the written file and DTAFileContent with the golden file.
  void ExpectGolden(const zor::TZorDTAZV& zv, const std::string& golden) const {
    const std::string expected = ReadGolden("dtazv/" + golden + ".dtazv");
    ASSERT_FALSE(expected.empty());
    const auto written = fOut.path() / "DTAZV";
    EXPECT_TRUE(SameBytes(expected, ReadFile(written))) << "file " << written;
    EXPECT_TRUE(SameBytes(expected, zv.DTAFileContent())) << "DTAFileContent";
  }

  zortest::ScopedClock fClock{Today() + 0.5};
  zortest::ScopedFormatSettings fFormat{'.'};
  zortest::TempDir fRegistry;
  zortest::ScopedRegistryRoot fRegistryRoot{fRegistry.path()};
  zortest::TempDir fOut;
  zortest::MessageBoxRecorder fBoxes;
};

class DtazvGoldenFiles : public DtazvGoldenTest,
                         public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(DtazvGoldenFiles, RunMatchesGoldenFile) {
  const GoldenCase& c = GetParam();
  zor::TZorDTAZV zv(nullptr);
  SetStandardClient(zv);

  const ListsAfter lists = RunCase(zv, c);

  ExpectGolden(zv, c.golden);
  if (c.check) c.check(zv, lists);
}

// The same run through a record sink of the caller's: the golden bytes there,
// no file and no content of the component's own.
TEST_P(DtazvGoldenFiles, RunIntoARecordSinkMatchesGoldenFile) {
  const GoldenCase& c = GetParam();
  struct Collected : zor::ByteSink {
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
  } sink;
  zor::TZorDTAZV zv(nullptr);
  SetStandardClient(zv);
  zv.SetRecordSink(&sink);

  RunCase(zv, c);

  EXPECT_TRUE(SameBytes(ReadGolden("dtazv/" + c.golden + ".dtazv"), sink.text));
  EXPECT_EQ(zv.DTAFileContent(), "");
  EXPECT_FALSE(std::filesystem::exists(fOut.path() / "DTAZV"));
}

INSTANTIATE_TEST_SUITE_P(Dtazv, DtazvGoldenFiles, ::testing::ValuesIn(GoldenCases()), CaseName);

// A second run on the same component starts again from zero sums and counts, with
// no first currency and no earliest date carried over.
TEST_F(DtazvGoldenTest, SecondRunOnSameComponentMatchesGoldenFile) {
  const GoldenCase first = {"zv_short_french", NoSettings, {kShortFrench}};
  const GoldenCase second = {"zv_full", NoSettings, {kFullSwiss}};
  zor::TZorDTAZV zv(nullptr);
  SetStandardClient(zv);

  RunCase(zv, first);
  ExpectGolden(zv, first.golden);
  EXPECT_EQ(zv.ErstesAusfuehrungsdatum(), Today());

  RunCase(zv, second);
  ExpectGolden(zv, second.golden);
  EXPECT_EQ(zv.ErsteWaehrung(), ZA("CHF"));
  EXPECT_FALSE(zv.MultiWaehrung());
  EXPECT_EQ(zv.ErstesAusfuehrungsdatum(), Today() + 3);
}

}  // namespace
