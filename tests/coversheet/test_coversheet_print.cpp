// The printed cover sheets: the exact operations on the canvas, the copy count,
// and what a failing printer leaves behind.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Printers.h"
#include "zordta/host/Volumes.h"

namespace {

using Op = zor::TPrintOperation;

const zor::TDate kToday = zor::EncodeDate(2026, 12, 8);

/// Renders the operations as one line each, so a mismatch reads like a listing.
std::vector<std::string> Listing(const std::vector<Op>& operations) {
  std::vector<std::string> lines;
  for (const Op& op : operations) {
    const std::string at = std::to_string(op.x) + "," + std::to_string(op.y);
    switch (op.kind) {
      case Op::BeginDoc:
        lines.push_back("begin");
        break;
      case Op::EndDoc:
        lines.push_back("end");
        break;
      case Op::MapMode:
        lines.push_back("mapmode " + std::to_string(op.x));
        break;
      case Op::FontName:
        lines.push_back("font " + zor::StringToUtf8(op.text));
        break;
      case Op::FontHeight:
        lines.push_back("height " + std::to_string(op.x));
        break;
      case Op::PenWidth:
        lines.push_back("pen " + std::to_string(op.x));
        break;
      case Op::TextOut:
        lines.push_back("text " + at + " " + zor::StringToUtf8(op.text));
        break;
      case Op::MoveTo:
        lines.push_back("move " + at);
        break;
      case Op::LineTo:
        lines.push_back("line " + at);
        break;
    }
  }
  return lines;
}

class CoverSheetPrintTest : public ::testing::Test {
 protected:
  CoverSheetPrintTest()
      : clock(kToday + 0.5),
        settings(',', '.', "dd/mm/yyyy"),
        printer(std::make_shared<zor::TRecordingPrinter>()) {
    zor::SetVolumeLabelSource([](const zor::String&) { return ZT("0042"); });
    zor::SetPrinter(printer);
  }
  ~CoverSheetPrintTest() override {
    zor::SetPrinter(nullptr);
    zor::SetVolumeLabelSource(nullptr);
  }

  zortest::ScopedClock clock;
  zortest::ScopedFormatSettings settings;
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
  std::shared_ptr<zor::TRecordingPrinter> printer;
};

TEST_F(CoverSheetPrintTest, DomesticSheetInThreeCopiesIsOneDocument) {
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(ZA("Bäcker GmbH"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(dir.AsPath());
  dta.SetLastschriften(true);
  dta.SetAnzahlBegleitzettel(3);
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 1234.5, ZA("x"), "", "");
  dta.Finish();

  ASSERT_EQ(printer->Documents().size(), 1u);
  EXPECT_EQ(printer->Documents()[0].copies, 3);
  const std::vector<std::string> expected = {
      "begin",
      "mapmode 2",
      "font Times New Roman",
      "height 48",
      "pen 2",
      "text 300,-200 Diskettenbegleitzettel vom 08.12.2026",
      "text 300,-260 Datei DTAUS0.TXT für Lastschriften",
      "move 250,-400",
      "line 1600,-400",
      "text 300,-440 Disketten-Nr:",
      "text 900,-440 0042",
      "text 300,-500 Anzahl Datensätze C:",
      "text 900,-500 1",
      "text 300,-560 Summe Datensätze C:",
      "text 900,-560 1234,50",
      "text 300,-640 Summe Kontonummern:",
      "text 900,-640 00000001234567890",
      "text 300,-700 Summe Bankleitzahlen:",
      "text 900,-700 00000000050010517",
      "text 300,-800 Bankleitzahl Absenderbank:",
      "text 900,-800 37040044",
      "text 300,-860 Kontonummer Absender:",
      "text 900,-860 532013000",
      "text 300,-920 Absender:",
      "text 900,-920 Bäcker GmbH",
      "move 500,-1200",
      "line 1100,-1200",
      "height 24",
      "text 700,-1210 Unterschrift",
      "end",
  };
  EXPECT_EQ(Listing(printer->Documents()[0].operations), expected);
}

TEST_F(CoverSheetPrintTest, DomesticFileLineVariants) {
  struct Variant {
    const char* fileName;
    bool lastschriften;
    const char* line;
  };
  const Variant variants[] = {
      {"DTAUS0.TXT", false, "text 300,-260 Datei DTAUS0.TXT für Gutschriften (Überweisungen)"},
      {"", true, "text 300,-260 Datei für Lastschriften"},
      {"", false, "text 300,-260 Datei für Gutschriften (Überweisungen)"},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.line);
    auto recorder = std::make_shared<zor::TRecordingPrinter>();
    zor::SetPrinter(recorder);
    zor::TZorDTA dta(nullptr);
    dta.SetAuftraggeberName(ZA("Muster"));
    dta.SetAuftraggeberBLZ(37040044);
    dta.SetAuftraggeberKontoNr(532013000);
    dta.SetPath(dir.AsPath());
    dta.SetDTAFilename(ZT(v.fileName));
    dta.SetLastschriften(v.lastschriften);
    dta.SetAnzahlBegleitzettel(1);
    dta.Start();
    dta.Finish();
    ASSERT_EQ(recorder->Documents().size(), 1u);
    const auto listing = Listing(recorder->Documents()[0].operations);
    EXPECT_EQ(listing.at(6), v.line);
    const bool hasLabelRow =
        std::find(listing.begin(), listing.end(), "text 300,-440 Disketten-Nr:") != listing.end();
    EXPECT_EQ(hasLabelRow, *v.fileName != '\0');
  }
}

TEST_F(CoverSheetPrintTest, ForeignSheetWithSeveralCurrencies) {
  zor::TZorDTAZV zv(nullptr);
  zv.SetAuftraggeberName(ZA("Muster Export"));
  zv.SetAuftraggeberOrt(ZA("Hamburg"));
  zv.SetAuftraggeberBLZ(37040044);
  zv.SetAuftraggeberKontoNr(532013000);
  zv.SetPath(dir.AsPath());
  zv.SetAnzahlBegleitzettel(2);
  zv.Start(1);
  zor::TStringList lines;
  zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("A"), "", ZA("S"), ZA("O"), "FR", 10,
             lines, kToday + 4, "", "", "EUR");
  zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("A"), "", ZA("S"), ZA("O"), "FR", 20,
             lines, kToday + 4, "", "", "USD");
  zv.Finish();

  ASSERT_EQ(printer->Documents().size(), 1u);
  EXPECT_EQ(printer->Documents()[0].copies, 2);
  const std::vector<std::string> expected = {
      "begin",
      "mapmode 2",
      "font Times New Roman",
      "height 48",
      "pen 2",
      "text 300,-200 Diskettenbegleitzettel vom 08.12.2026",
      "text 300,-260 Datei DTAZV fuer beleglosen Datenträgeraustausch DTAZV",
      "move 250,-350",
      "line 1600,-350",
      "text 300,-400 Disketten-Nr: ",
      "text 900,-400 0042",
      "text 300,-450 Erster Ausfuehrungstermin:",
      "text 900,-450 12.12.2026",
      "text 300,-550 Keine AWV-Meldung durch Kreditinsitut, Keine AWV-Meldung beigefuegt.",
      "text 300,-650 Anzahl Datensaetze T: ",
      "text 900,-650 2",
      "text 300,-700 Summe Datensaetze T: ",
      "text 900,-700 30",
      "text 300,-1000 Absender:",
      "text 900,-1000 Muster Export, Hamburg",
      "move 400,-1300",
      "line 1000,-1300",
      "height 24",
      "text 600,-1310 Unterschrift",
      "end",
  };
  EXPECT_EQ(Listing(printer->Documents()[0].operations), expected);
}

TEST_F(CoverSheetPrintTest, ForeignSheetWithOneCurrencyHasItsBlock) {
  zor::TZorDTAZV zv(nullptr);
  zv.SetAuftraggeberName(ZA("Muster Export"));
  zv.SetAuftraggeberOrt(ZA("Hamburg"));
  zv.SetAuftraggeberBLZ(37040044);
  zv.SetAuftraggeberKontoNr(532013000);
  zv.SetDTAFilename(ZT(""));
  zv.SetAnzahlBegleitzettel(1);
  zv.Start(1);
  zv.Finish();
  const auto listing = Listing(printer->Documents().at(0).operations);
  const std::vector<std::string> rows(listing.begin() + 6, listing.begin() + 24);
  const std::vector<std::string> expected = {
      "text 300,-260 Datei fuer beleglosen Datenträgeraustausch DTAZV",
      "move 250,-350",
      "line 1600,-350",
      "text 300,-450 Erster Ausfuehrungstermin:",
      "text 900,-450 23.12.2026",
      "text 300,-550 Keine AWV-Meldung durch Kreditinsitut, Keine AWV-Meldung beigefuegt.",
      "text 300,-650 Anzahl Datensaetze T: ",
      "text 900,-650 0",
      "text 300,-700 Summe Datensaetze T (EUR): ",
      "text 900,-700 0",
      "text 300,-750 Auftragswaehrung: ",
      "text 900,-750 EUR",
      "text 300,-800 Betragssumme: ",
      "text 900,-800 0",
      "text 300,-850 Zu Lasten des Kontos: ",
      "text 900,-850 532013000",
      "text 300,-900 Kontowaehrung: ",
      "text 900,-900 EUR",
  };
  EXPECT_EQ(rows, expected);
}

TEST_F(CoverSheetPrintTest, NothingIsPrintedWithoutCopiesOrWithoutARun) {
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(ZA("Muster"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(dir.AsPath());
  dta.Start();
  dta.Finish();
  dta.SetAnzahlBegleitzettel(1);
  EXPECT_THROW(dta.Finish(), zor::Exception);
  zor::TZorDTAZV zv(nullptr);
  zv.SetAnzahlBegleitzettel(1);
  EXPECT_THROW(zv.Finish(), zor::Exception);
  EXPECT_TRUE(printer->Documents().empty());
}

/// A printer that fails when the document is sent.
class FailingPrinter : public zor::TRecordingPrinter {
 public:
  void EndDoc() override { throw zor::Exception(ZT("Drucker nicht bereit")); }
};

TEST_F(CoverSheetPrintTest, FailingPrinterLeavesTheFileWrittenAndTheComponentReady) {
  auto failing = std::make_shared<FailingPrinter>();
  zor::SetPrinter(failing);
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(ZA("Muster"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(dir.AsPath());
  dta.SetAnzahlBegleitzettel(1);
  dta.Start();
  EXPECT_THROW_MESSAGE(dta.Finish(), ZT("Drucker nicht bereit"));
  EXPECT_EQ(dta.State(), zor::stReady);
  EXPECT_EQ(zortest::ReadFile(dir.path() / "DTAUS0.TXT").size(), 256u);
  EXPECT_FALSE(failing->Printing()) << "the broken document was dropped";
}

}  // namespace
