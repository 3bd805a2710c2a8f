// The cover sheets as text, against texts written out by hand.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Volumes.h"

namespace {

const zor::TDate kToday = zor::EncodeDate(2026, 12, 8);

class CoverSheetTextTest : public ::testing::Test {
 protected:
  CoverSheetTextTest() : clock(kToday + 0.5), settings(',', '.', "dd/mm/yyyy") {
    zor::SetVolumeLabelSource([](const zor::String&) { return ZT("0042"); });
  }
  ~CoverSheetTextTest() override { zor::SetVolumeLabelSource(nullptr); }

  zortest::ScopedClock clock;
  zortest::ScopedFormatSettings settings;
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
};

void ExpectText(const zor::String& actual, const std::string& expectedUtf8) {
  EXPECT_EQ(zor::StringToUtf8(actual), expectedUtf8);
  EXPECT_NE(zor::StringToUtf8(actual).back(), '\n') << "no line break at the end";
}

zor::TZorDTA& DomesticClient(zor::TZorDTA& dta, const zortest::TempDir& dir) {
  dta.SetAuftraggeberName(ZA("Bäcker & Söhne GmbH"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(dir.AsPath());
  return dta;
}

TEST_F(CoverSheetTextTest, DomesticWithFileName) {
  zor::TZorDTA dta(nullptr);
  DomesticClient(dta, dir);
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 123.45, ZA("x"), "", "");
  dta.Buchung(ZA("Erika"), 987654, 10020030, 1.0, ZA("y"), "", "");
  dta.Finish();
  ExpectText(dta.Begleitzettel(),
             "Dateiname: DTAUS0.TXT\r\n"
             "Disketten-Nr: 0042\r\n"
             "Datum: 08.12.2026\r\n"
             "Anzahl Datensätze C: 2\r\n"
             "Summe Datensätze C (EUR): 124,45\r\n"
             "Summe Kontonummern: 00000001235555544\r\n"
             "Summe Bankleitzahlen: 00000000060030547\r\n"
             "Bankleitzahl Absenderbank: 37040044\r\n"
             "Kontonummer Absender: 532013000\r\n"
             "Absender: Bäcker & Söhne GmbH");
#if !ZORDTA_WIDE_STRINGS
  EXPECT_NE(dta.Begleitzettel().find("Datens\xE4tze"), std::string::npos)
      << "umlauts are single Windows-1252 bytes";
#endif
}

TEST_F(CoverSheetTextTest, DomesticWithoutFileNameOrBookings) {
  zortest::ScopedFormatSettings point('.', '/', "mm/dd/yyyy");
  zor::TZorDTA dta(nullptr);
  DomesticClient(dta, dir);
  dta.SetDTAFilename(ZT(""));
  ExpectText(dta.Begleitzettel(),  // before the first Start: the figures so far
             "Datum: 12/08/2026\r\n"
             "Anzahl Datensätze C: 0\r\n"
             "Summe Datensätze C (EUR): 0.00\r\n"
             "Summe Kontonummern: 00000000000000000\r\n"
             "Summe Bankleitzahlen: 00000000000000000\r\n"
             "Bankleitzahl Absenderbank: 37040044\r\n"
             "Kontonummer Absender: 532013000\r\n"
             "Absender: Bäcker & Söhne GmbH");
}

zor::TZorDTAZV& ForeignClient(zor::TZorDTAZV& zv, const zortest::TempDir& dir) {
  zv.SetAuftraggeberName(ZA("Muster Export GmbH"));
  zv.SetAuftraggeberOrt(ZA("Lübeck"));
  zv.SetAuftraggeberBLZ(37040044);
  zv.SetAuftraggeberKontoNr(532013000);
  zv.SetPath(dir.AsPath());
  return zv;
}

void PayZV(zor::TZorDTAZV& zv, double betrag, const char* waehrung, zor::TDate datum) {
  zor::TStringList lines;
  zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("Client"), "", ZA("Rue 1"),
             ZA("Paris"), "FR", betrag, lines, datum, "", "", waehrung);
}

TEST_F(CoverSheetTextTest, ForeignOneCurrency) {
  zor::TZorDTAZV zv(nullptr);
  ForeignClient(zv, dir);
  zv.Start(1);
  PayZV(zv, 1234.56, "", kToday + 3);
  PayZV(zv, 10.5, "eur", kToday + 2);
  zv.Finish();
  ExpectText(zv.Begleitzettel(),
             "Dateiname: DTAZV\r\n"
             "Disketten-Nr: 0042\r\n"
             "Datum: 08.12.2026\r\n"
             "Erster Ausfuehrungstermin: 10.12.2026\r\n"
             "Keine AWV-Meldung durch Kreditinsitut, Keine AWV-Meldung beigefuegt.\r\n"
             "Anzahl Datensaetze T: 2\r\n"
             "Summe Datensaetze T: 1244\r\n"
             "Auftragswaehrung: EUR\r\n"
             "Betragssumme: 1244\r\n"
             "Zu Lasten des Kontos: 532013000\r\n"
             "Kontowaehrung: EUR\r\n"
             "Absender: Muster Export GmbH, Lübeck");
}

TEST_F(CoverSheetTextTest, ForeignSeveralCurrenciesNoFileNameEmptyTown) {
  zor::TZorDTAZV zv(nullptr);
  ForeignClient(zv, dir);
  zv.SetAuftraggeberOrt("");
  zv.SetDTAFilename(ZT(""));
  zv.SetValidateData(false);
  zv.Start(1);
  PayZV(zv, 100, "", kToday + 1);
  PayZV(zv, 200, "USD", kToday + 1);
  zv.Finish();
  ExpectText(zv.Begleitzettel(),
             "Datum: 08.12.2026\r\n"
             "Erster Ausfuehrungstermin: 09.12.2026\r\n"
             "Keine AWV-Meldung durch Kreditinsitut, Keine AWV-Meldung beigefuegt.\r\n"
             "Anzahl Datensaetze T: 2\r\n"
             "Summe Datensaetze T: 300\r\n"
             "Absender: Muster Export GmbH, ");
}

TEST_F(CoverSheetTextTest, ForeignNoBookings) {
  zor::TZorDTAZV zv(nullptr);
  ForeignClient(zv, dir);
  zv.Start(1);
  const std::string text = zor::StringToUtf8(zv.Begleitzettel());
  EXPECT_NE(text.find("Anzahl Datensaetze T: 0\r\nSumme Datensaetze T: 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("Erster Ausfuehrungstermin: 23.12.2026\r\n"), std::string::npos);
}

}  // namespace
