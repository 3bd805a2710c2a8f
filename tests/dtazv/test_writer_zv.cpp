// The foreign-payment writer's own behaviour: setters, checks, purpose lines,
// date corrections, the file's currencies and earliest date, and the values
// that are never written whatever the caller's settings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/PlainList.h"
#include "support/TestSupport.h"
#include "zordta/ZorDTAZV.h"

namespace {

using zortest::MessageBoxRecorder;

const zor::TDate kToday = zor::EncodeDate(2026, 12, 8);
constexpr std::size_t kT = 256;  // the first T record starts after the Q record

const char* kBetrag12500 = "Der Betrag muss zwischen € 1 und € 12.500 liegen.";
const char* kBetrag50000 = "Der Betrag muss zwischen € 1 und € 50.000 liegen.";
const char* kBetragZV = "Der Betrag muss zwischen € 1 und € 99999999999999.99 liegen.";
const char* kWaehrung = "Der Währungscode muss aus genau drei Zeichen bestehen, z.B. USD.";
const char* kADatum =
    "Das Ausführungsdatum darf das aktuelle Datum um höchstens 15 Tage überschreiten.";

class WriterZVTest : public ::testing::Test {
 protected:
  WriterZVTest() : clock(kToday + 0.5) {
    zv.SetAuftraggeberName(ZA("Muster Export GmbH"));
    zv.SetAuftraggeberStrasse(ZA("Hafenstraße 12"));
    zv.SetAuftraggeberOrt(ZA("20457 Hamburg"));
    zv.SetAuftraggeberBLZ(37040044);
    zv.SetAuftraggeberKontoNr(532013000);
    zv.SetPath(dir.AsPath());
  }

  /// The shortest overload with valid bank data, dated as given.
  void Pay(double betrag, zor::TDateTime datum, zor::TStrings& lines) {
    zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("Client"), ZA("Rue 1"), ZA("Paris"),
               betrag, lines, datum);
  }
  void Pay(double betrag, zor::TDateTime datum) {
    zor::TStringList lines;
    lines.Add(ZT("Rechnung"));
    Pay(betrag, datum, lines);
  }
  void PayIn(const char* waehrung, double betrag = 10) {
    zor::TStringList lines;
    zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("Client"), "", ZA("Rue 1"),
               ZA("Paris"), "FR", betrag, lines, kToday, "", "", waehrung);
  }
  std::string TRecord(std::size_t index) const {
    return zv.DTAFileContent().substr(kT + 768 * index, 768);
  }

  zortest::ScopedClock clock;
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
  zor::TZorDTAZV zv{nullptr};
};

TEST_F(WriterZVTest, NewComponent) {
  zor::TZorDTAZV fresh(nullptr);
  EXPECT_EQ(fresh.Waehrungscode(), "EUR");
  EXPECT_EQ(fresh.DTAFilename(), ZT("DTAZV"));
  EXPECT_EQ(fresh.Path(), ZT(""));
  EXPECT_FALSE(fresh.IgnoreAmountAbove12500());
  EXPECT_EQ(fresh.ErstesAusfuehrungsdatum(), kToday + 15);
  EXPECT_EQ(fresh.SummeBetragVorKomma(), 0);
  EXPECT_EQ(fresh.Version(), ZT("TZorDTAZV V4.1.2"));
}

TEST_F(WriterZVTest, CurrencyCodeSetter) {
  zv.SetWaehrungscode("usd");
  EXPECT_EQ(zv.Waehrungscode(), "USD");
  zv.SetValidateData(false);  // the setters check whatever ValidateData says
  EXPECT_THROW_MESSAGE(zv.SetWaehrungscode("US"), ZT(kWaehrung));
  EXPECT_THROW_MESSAGE(zv.SetWaehrungscode("EURO"), ZT(kWaehrung));
  EXPECT_EQ(zv.Waehrungscode(), "USD");
}

TEST_F(WriterZVTest, KeysDecideTheHigherEuroLimit) {
  zv.SetBundeslandschluessel(5);
  EXPECT_FALSE(zv.IgnoreAmountAbove12500());
  zv.SetFirmennummer(12345678);
  EXPECT_TRUE(zv.IgnoreAmountAbove12500());
  EXPECT_THROW_MESSAGE(zv.SetBundeslandschluessel(100),
                       ZT("Der Bundeslandschlüssel ist maximal zweistellig."));
  EXPECT_THROW_MESSAGE(zv.SetFirmennummer(100000000),
                       ZT("Die Firmennummer besteht aus maximal 8 Ziffern."));
  EXPECT_THROW(zv.SetFirmennummer(-1), zor::Exception);
  EXPECT_EQ(zv.Bundeslandschluessel(), 5);
  EXPECT_TRUE(zv.IgnoreAmountAbove12500()) << "a refused value changes nothing";
  zv.SetIgnoreAmountAbove12500(false);
  zv.SetBundeslandschluessel(7);
  EXPECT_TRUE(zv.IgnoreAmountAbove12500()) << "the next key overwrites a direct write";
  zv.SetFirmennummer(0);
  EXPECT_FALSE(zv.IgnoreAmountAbove12500());
}

TEST_F(WriterZVTest, AmountLimitsAtEachBoundary) {
  struct Limit {
    const char* currency;
    bool ignore;
    double amount;
    const char* message;  // nullptr: passes
  };
  const Limit cases[] = {
      {"EUR", false, 1, nullptr},
      {"EUR", false, 12500, nullptr},
      {"EUR", false, 12500.01, kBetrag12500},
      {"EUR", false, 0.5, kBetrag12500},
      {"EUR", true, 50000, nullptr},
      {"EUR", true, 50000.01, kBetrag50000},
      {"EUR", true, 0.99, kBetrag50000},
      {"USD", false, 99999999999999.98, nullptr},
      {"USD", false, 1e14, kBetragZV},
      {"USD", false, 0.99, kBetragZV},
      {"USD", true, 60000, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.currency) + " " + std::to_string(c.amount));
    zv.SetWaehrungscode(c.currency);
    zv.SetIgnoreAmountAbove12500(c.ignore);
    if (c.message) {
      EXPECT_THROW_MESSAGE(zv.ValidateBetrag(c.amount), ZT(c.message));
    } else {
      EXPECT_TRUE(zv.ValidateBetrag(c.amount));
    }
  }
  zv.SetValidateData(false);
  EXPECT_TRUE(zv.ValidateBetrag(-5));
}

TEST_F(WriterZVTest, TextChecks) {
  EXPECT_THROW_MESSAGE(zv.ValidateName(""), ZT("Der Name muss angegeben werden."));
  EXPECT_TRUE(zv.ValidateStrasse(std::string(35, 'S')));
  EXPECT_THROW_MESSAGE(zv.ValidateStrasse(std::string(36, 'S')),
                       ZT("Die Straße darf höchstens 35 Zeichen beinhalten."));
  EXPECT_THROW(zv.ValidateOrt(""), zor::Exception);
  EXPECT_THROW_MESSAGE(
      zv.ValidateOrt(std::string(36, 'O')),
      ZT("Der Ort muss angegeben werden und darf höchstens 35 Zeichen beinhalten."));
  EXPECT_TRUE(zv.ValidateNotiz(std::string(27, 'N')));
  EXPECT_THROW_MESSAGE(zv.ValidateNotiz(std::string(28, 'N')),
                       ZT("Die interne Notiz darf höchstens 27 Zeichen beinhalten."));
  EXPECT_THROW_MESSAGE(zv.ValidateAnsprechpartner(std::string(36, 'A')),
                       ZT("Der Ansprechpartner darf höchstens 35 Zeichen beinhalten."));
}

TEST_F(WriterZVTest, BookingOutsideARun) {
  const char* startFirst = "Es muss zunächst die Methode Start() aufgerufen werden.";
  EXPECT_THROW_MESSAGE(Pay(10, kToday), ZT(startFirst));
  EXPECT_THROW_MESSAGE(zv.Finish(), ZT("Die Methode Start() wurde noch nicht aufgerufen oder "
                                       "Finish() wurde bereits aufgerufen."));
  zv.Start(1);
  zv.Finish();
  EXPECT_THROW_MESSAGE(Pay(10, kToday), ZT(startFirst));
  EXPECT_EQ(zv.DTAFileContent().size(), 512u);
}

TEST_F(WriterZVTest, PurposeLinesAreCleanedSplitAndCounted) {
  zv.Start(1);
  zor::TStringList lines;
  lines.Add(ZT(std::string(40, 'a') + std::string(40, 'b')));
  Pay(10, kToday, lines);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Strings(0), ZT(std::string(35, 'A')));
  EXPECT_EQ(lines.Strings(1), ZT(std::string(5, 'A') + std::string(30, 'B')));
  EXPECT_EQ(lines.Strings(2), ZT(std::string(10, 'B')));
  EXPECT_EQ(TRecord(0).substr(475, 105), std::string(35, 'A') + std::string(5, 'A') +
                                             std::string(30, 'B') + std::string(10, 'B') +
                                             std::string(25, ' '));

  lines.Clear();
  for (const char* line : {"eins", "", "&&&", "zwei", "drei"}) lines.Add(ZT(line));
  Pay(10, kToday, lines);
  ASSERT_EQ(lines.Count(), 4) << "the empty line is gone, the cleaned-away one stays";
  EXPECT_EQ(lines.Strings(1), ZT(""));

  lines.Add(ZT("fuenf"));
  lines.Add(ZT("sechs"));
  EXPECT_THROW_MESSAGE(Pay(10, kToday, lines),
                       ZT("Es sind nicht mehr als 4 Verwendungszwecke erlaubt."));
  EXPECT_EQ(zv.AnzahlBuchungen(), 2);
}

// The cleaned lines go to the record in the list's order, past removed empty
// lines and from a list that lends no lines of its own alike.
std::string Line(const std::string& text) {
  return text + std::string(35 - text.size(), ' ');
}

TEST_F(WriterZVTest, PurposeLinesReachTheRecordInOrderFromAnyList) {
  zv.SetValidateData(false);
  zv.Start(1);
  zortest::PlainList plain;
  zor::TStringList list;
  for (zor::TStrings* lines :
       {static_cast<zor::TStrings*>(&plain), static_cast<zor::TStrings*>(&list)}) {
    for (const char* line : {"", "eins", "", "&&&", "zwei", "drei", "vier"}) lines->Add(ZT(line));
    Pay(10, kToday, *lines);
    EXPECT_EQ(lines->Text(), ZT("EINS\r\n\r\nZWEI\r\nDREI\r\nVIER\r\n"));
  }
  for (std::size_t record = 0; record < 2; ++record) {
    EXPECT_EQ(TRecord(record).substr(475, 140),
              Line("EINS") + Line("") + Line("ZWEI") + Line("DREI"));
  }
}

TEST_F(WriterZVTest, ExecutionDatesAreCorrectedToToday) {
  struct DateCase {
    zor::TDateTime datum;
    zor::TDate written;
    bool warned;
  };
  const DateCase cases[] = {
      {kToday, kToday, false},    {kToday + 15.7, kToday + 15, false},
      {kToday - 1, kToday, true}, {kToday + 16, kToday, true},
      {0, kToday, true},          {kToday + 0.9, kToday, false},
  };
  MessageBoxRecorder boxes;
  zv.SetShowWarnings(true);
  zv.Start(1);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    boxes.clear();
    Pay(10, cases[i].datum);
    EXPECT_EQ(boxes.boxes().size(), cases[i].warned ? 1u : 0u);
    if (!boxes.boxes().empty()) {
      EXPECT_EQ(boxes.boxes()[0].text, kADatum);
      EXPECT_EQ(boxes.boxes()[0].caption, "Warnung");
    }
    EXPECT_EQ(TRecord(i).substr(26, 6), zor::FormatDateTime("yymmdd", cases[i].written));
  }
}

TEST_F(WriterZVTest, ShortestOverloadWithoutExecutionDateWarnsForEveryPayment) {
  MessageBoxRecorder boxes;
  zv.SetShowWarnings(true);
  zv.Start(1);
  zor::TStringList lines;
  for (int i = 0; i < 3; ++i) {
    zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("Client"), ZA("Rue 1"), ZA("Paris"),
               10, lines);
  }
  EXPECT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(TRecord(2).substr(26, 6), "261208");
}

TEST_F(WriterZVTest, EarliestDateAndCurrenciesBelongToTheFile) {
  zv.Start(1);
  Pay(10, kToday + 3);
  Pay(10, kToday + 1);
  Pay(10, kToday + 2);
  EXPECT_EQ(zv.ErstesAusfuehrungsdatum(), kToday + 1);
  PayIn("");
  PayIn("usd");
  EXPECT_EQ(zv.ErsteWaehrung(), "EUR");
  EXPECT_TRUE(zv.MultiWaehrung());
  EXPECT_EQ(TRecord(4).substr(455, 3), "USD");
  EXPECT_EQ(TRecord(4).substr(13, 3), "EUR") << "the account's currency";
  zv.Finish();

  zv.Start(2);
  EXPECT_EQ(zv.ErstesAusfuehrungsdatum(), kToday + 15);
  EXPECT_EQ(zv.ErsteWaehrung(), "");
  EXPECT_FALSE(zv.MultiWaehrung());
  EXPECT_EQ(zv.SummeBetragVorKomma(), 0);
  PayIn("chf", 12.5);
  EXPECT_EQ(zv.ErsteWaehrung(), "CHF");
  EXPECT_FALSE(zv.MultiWaehrung());
}

TEST_F(WriterZVTest, StreetIsCheckedAfterCleaning) {
  const std::string street =
      "Gro\xDF"
      "e Stra"
      "\xDF"
      "e der Einheit 1234567890";  // 35 bytes
  ASSERT_EQ(street.size(), 35u);
  zv.SetAuftraggeberStrasse(street);
  zv.Start(1);  // the property is checked as it is
  EXPECT_EQ(zv.DTAFileContent().substr(93, 35), "GROSSE STRASSE DER EINHEIT 12345678");
  zor::TStringList lines;
  EXPECT_THROW_MESSAGE(zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("Client"),
                                  street, ZA("Paris"), 10, lines, kToday),
                       ZT("Die Straße darf höchstens 35 Zeichen beinhalten."));
}

TEST_F(WriterZVTest, WithoutValidateDataNothingIsReported) {
  MessageBoxRecorder boxes;
  zv.SetShowWarnings(true);
  zv.SetValidateData(false);
  zv.SetAuftraggeberOrt("");
  zv.Start(1);
  zor::TStringList lines;
  zv.Buchung("ABCDEFGHIJ", "X", "", "", "", 10, lines, kToday);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(TRecord(0).substr(53, 11), "ABCDEFGHIJ ");
}

// A writer with a valid client and its run open. Mode 0: neither checks nor
// message boxes; 1: message boxes; 2: message boxes and checks.
void OpenRun(zor::TZorDTAZV& writer, int mode) {
  writer.SetAuftraggeberName(ZA("Muster"));
  writer.SetAuftraggeberOrt(ZA("Hamburg"));
  writer.SetAuftraggeberBLZ(37040044);
  writer.SetAuftraggeberKontoNr(532013000);
  writer.SetDTAFilename(ZT(""));
  writer.SetValidateData(mode == 2);
  writer.SetShowWarnings(mode != 0);
  writer.Start(1);
}

// Values that cannot stand in their fields are refused in every mode, reported
// once, and write no record.
TEST_F(WriterZVTest, UnwritableValuesAreNeverWritten) {
  struct Unwritable {
    const char* what;
    double betrag;
    const char* waehrung;
    std::uint8_t zahlungsArt;
    zor::TDateTime datum;
    const char* message;
  };
  const double nan = std::nan("");
  const Unwritable cases[] = {
      {"negative amount", -0.01, "EUR", 0, kToday, kBetragZV},
      {"10^14", 1e14, "EUR", 0, kToday, kBetragZV},
      {"rounds up to 10^14", 99999999999999.996, "EUR", 0, kToday, kBetragZV},
      {"NaN", nan, "EUR", 0, kToday, kBetragZV},
      {"infinity", std::numeric_limits<double>::infinity(), "EUR", 0, kToday, kBetragZV},
      {"two-letter currency", 10, "us", 0, kToday, kWaehrung},
      {"payment type 100", 10, "EUR", 100, kToday,
       "Der Zahlungsartschlüssel ist maximal zweistellig."},
      {"date NaN", 10, "EUR", 0, nan, kADatum},
      {"date before year 1", 10, "EUR", 0, -800000, kADatum},
  };
  for (const auto& c : cases) {
    for (int mode = 0; mode < 3; ++mode) {
      SCOPED_TRACE(std::string(c.what) + " mode " + std::to_string(mode));
      MessageBoxRecorder boxes;
      zor::TZorDTAZV writer(nullptr);
      OpenRun(writer, mode);
      writer.SetZahlungsArtSchluessel(c.zahlungsArt);
      zor::TStringList lines;
      const auto pay = [&] {
        writer.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("Client"), "", ZA("Rue 1"),
                       ZA("Paris"), "FR", c.betrag, lines, c.datum, "", "", c.waehrung);
      };
      if (mode == 0) {
        EXPECT_THROW_MESSAGE(pay(), ZT(c.message));
      } else {
        pay();
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, c.message);
      }
      EXPECT_EQ(writer.DTAFileContent().size(), 256u);
      EXPECT_EQ(writer.AnzahlBuchungen(), 0);
      EXPECT_EQ(writer.ErsteWaehrung(), "") << "a refused payment is not the file's first";
    }
  }
}

// Small letters are written as capitals. Any other character but a digit is
// refused in every mode with one message, also where the check's shape fits,
// and leaves the payment untouched.
TEST_F(WriterZVTest, BankIdentifiersAreWrittenInCapitalsOrNotAtAll) {
  zv.SetDTAFilename(ZT(""));
  zv.Start(1);
  zor::TStringList lines;
  zv.Buchung("cobaDEff", "fr7630006000011234567890189", ZA("Client"), ZA("Rue 1"), ZA("Paris"), 10,
             lines, kToday);
  EXPECT_EQ(TRecord(0).substr(53, 11), "COBADEFF   ");
  EXPECT_EQ(TRecord(0).substr(207, 2), "FR");
  EXPECT_EQ(TRecord(0).substr(421, 27), "FR7630006000011234567890189");

  const std::string kIban = "FR7630006000011234567890189";
  struct Refused {
    const char* bic;
    std::string iban;
    const char* message;
  };
  const Refused refused[] = {
      {"COBADEFF50!", kIban, "Die BIC darf nur aus Buchstaben (A-Z) und Ziffern bestehen."},
      {"COBA!EFF", kIban, "Die BIC darf nur aus Buchstaben (A-Z) und Ziffern bestehen."},
      {"COBADEFF 50", kIban, "Die BIC darf nur aus Buchstaben (A-Z) und Ziffern bestehen."},
      {"COBADEFF\xC4", kIban, "Die BIC darf nur aus Buchstaben (A-Z) und Ziffern bestehen."},
      {"COBADEFF", "FR76 3000 6000 0112 3456 7890 189",
       "Die IBAN darf nur aus Buchstaben (A-Z) und Ziffern bestehen."},
      {"COBADEFF", "F-" + kIban.substr(2),
       "Die IBAN darf nur aus Buchstaben (A-Z) und Ziffern bestehen."},
  };
  for (const Refused& r : refused) {
    for (int mode = 0; mode < 3; ++mode) {
      SCOPED_TRACE(std::string(r.bic) + " " + r.iban + " mode " + std::to_string(mode));
      MessageBoxRecorder boxes;
      zor::TZorDTAZV writer(nullptr);
      OpenRun(writer, mode);
      zor::TStringList purpose;
      purpose.Add(ZT("rechnung"));
      const auto pay = [&] {
        writer.Buchung(r.bic, r.iban, ZA("Client"), ZA("Rue 1"), ZA("Paris"), 10, purpose, kToday);
      };
      if (mode == 0) {
        EXPECT_THROW_MESSAGE(pay(), ZT(r.message));
      } else {
        pay();
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, r.message);
      }
      EXPECT_EQ(writer.DTAFileContent().size(), 256u);
      EXPECT_EQ(writer.AnzahlBuchungen(), 0);
      EXPECT_EQ(writer.ErsteWaehrung(), "");
      EXPECT_EQ(purpose.Strings(0), ZT("rechnung"));
    }
  }
}

TEST_F(WriterZVTest, RunningNumberBeyondTwoDigitsRefusesTheFile) {
  for (int number : {-1, 100}) {
    EXPECT_THROW_MESSAGE(zv.Start(number), ZT("Die laufende Nummer ist maximal zweistellig."));
    EXPECT_THROW_MESSAGE(Pay(10, kToday),
                         ZT("Es muss zunächst die Methode Start() aufgerufen werden."));
    zv.Finish();  // closes the run without a file
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "DTAZV"));
  }
  zv.Start(99);
  EXPECT_EQ(zv.DTAFileContent().substr(169, 2), "99");
}

TEST_F(WriterZVTest, SumOfWholeUnitsStaysWithinItsField) {
  zv.SetDTAFilename(ZT(""));
  zv.Start(1);
  for (int i = 0; i < 10; ++i) PayIn("USD", 99999999999999.0);
  EXPECT_EQ(zv.SummeBetragVorKomma(), 999999999999990);
  EXPECT_THROW_MESSAGE(PayIn("USD", 10), ZT(kBetragZV));
  PayIn("USD", 9);
  zv.Finish();
  const auto content = zv.DTAFileContent();
  EXPECT_EQ(content.substr(content.size() - 256, 35), "0256Z999999999999999000000000000011");
}

TEST_F(WriterZVTest, FailedFileWriteKeepsTheRunOpen) {
  const auto folder = dir.path() / "fehlt";
  zv.SetPath(zor::StringFromUtf8(folder.string()));
  zv.Start(1);
  Pay(10, kToday);
  EXPECT_THROW(zv.Finish(), zor::Exception);
  EXPECT_EQ(zv.State(), zor::stBooking);
  std::filesystem::create_directory(folder);
  zv.Finish();
  const auto written = zortest::ReadFile(folder / "DTAZV");
  ASSERT_EQ(written.size(), 256u + 768u + 256u);
  EXPECT_EQ(written.find("0256Z"), 1024u);
}

}  // namespace
