// The printed cover sheets as PDF pages: every label and value where the page
// layout puts it, in a Times-metric face, with a picture of each sheet kept.
#include <gtest/gtest.h>

#include <cmath>

#include "host/PrintTools.h"
#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Printers.h"
#include "zordta/host/Volumes.h"

namespace {

namespace fs = std::filesystem;

const zor::TDate kToday = zor::EncodeDate(2026, 12, 8);
constexpr double kPointsPerMm = 72.0 / 25.4;

struct Placed {
  const char* word;  // the first word of a label or value
  double xMm;        // from the left edge
  double yMm;        // from the top edge, to the top of the text
};

class CoverSheetPdfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"pdftotext", "pdffonts", "pdftoppm"}) {
      if (!printtest::HaveTool(tool)) GTEST_SKIP() << tool << " is missing (poppler-utils)";
    }
    zor::TPdfPrinter probe(dir.AsPath() + ZT("probe.pdf"));
    if (printtest::BuiltWithoutPrinting(probe)) GTEST_SKIP() << "built without cairo";
    zor::SetVolumeLabelSource([](const zor::String&) { return ZT("0042"); });
  }
  void TearDown() override {
    zor::SetPrinter(nullptr);
    zor::SetVolumeLabelSource(nullptr);
  }

  /// Installs a PDF printer writing to `name` in the test folder.
  fs::path PrintTo(const char* name) {
    const fs::path pdf = dir.path() / name;
    zor::SetPrinter(std::make_shared<zor::TPdfPrinter>(zor::StringFromUtf8(pdf.string())));
    return pdf;
  }

  void ExpectPlaced(const fs::path& pdf, const std::vector<Placed>& expected, const char* sheet) {
    const auto words = printtest::Words(pdf);
    for (const Placed& p : expected) {
      SCOPED_TRACE(p.word);
      bool found = false;
      for (const auto& w : words) {
        if (w.text != p.word) continue;
        const double x = w.xMin / kPointsPerMm;
        const double y = w.yMin / kPointsPerMm;
        if (std::fabs(x - p.xMm) <= 1.0 && std::fabs(y - p.yMm) <= 1.0) found = true;
      }
      EXPECT_TRUE(found) << "no \"" << p.word << "\" at " << p.xMm << " mm, " << p.yMm << " mm";
    }
    EXPECT_NE(printtest::Run("pdffonts " + printtest::Quote(pdf.string())).find("LiberationSerif"),
              std::string::npos)
        << "a Times-metric face";
    const fs::path artifacts = fs::current_path() / "artifacts";
    fs::create_directories(artifacts);
    printtest::Run(
        "pdftoppm -png -r 50 -singlefile " + printtest::Quote(pdf.string()) + " " +
        printtest::Quote(
            (artifacts / (std::string(sheet) + "-" + printtest::ProgramName())).string()));
  }

  zortest::ScopedClock clock{kToday + 0.5};
  zortest::ScopedFormatSettings settings{',', '.', "dd/mm/yyyy"};
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
};

TEST_F(CoverSheetPdfTest, DomesticSheet) {
  const fs::path pdf = PrintTo("dtaus.pdf");
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(ZA("Muster GmbH"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(dir.AsPath());
  dta.SetAnzahlBegleitzettel(2);
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 1234.5, ZA("x"), "", "");
  dta.Finish();

  EXPECT_EQ(printtest::PageCount(pdf), 2) << "one page per copy";
  ExpectPlaced(pdf,
               {{"Diskettenbegleitzettel", 30, 20},
                {"Datei", 30, 26},
                {"Disketten-Nr:", 30, 44},
                {"0042", 90, 44},
                {"Anzahl", 30, 50},
                {"1", 90, 50},
                {"1234,50", 90, 56},
                {"00000001234567890", 90, 64},
                {"00000000050010517", 90, 70},
                {"Bankleitzahl", 30, 80},
                {"37040044", 90, 80},
                {"532013000", 90, 86},
                {"Absender:", 30, 92},
                {"Muster", 90, 92},
                {"Unterschrift", 70, 121}},
               "dtaus-sheet");
}

TEST_F(CoverSheetPdfTest, ForeignSheet) {
  const fs::path pdf = PrintTo("dtazv.pdf");
  zor::TZorDTAZV zv(nullptr);
  zv.SetAuftraggeberName(ZA("Muster Export"));
  zv.SetAuftraggeberOrt(ZA("Hamburg"));
  zv.SetAuftraggeberBLZ(37040044);
  zv.SetAuftraggeberKontoNr(532013000);
  zv.SetPath(dir.AsPath());
  zv.SetAnzahlBegleitzettel(1);
  zv.Start(1);
  zor::TStringList lines;
  zv.Buchung("BNPAFRPPXXX", "FR7630006000011234567890189", ZA("A"), ZA("S"), ZA("O"), 99.5, lines,
             kToday + 2);
  zv.Finish();

  ExpectPlaced(pdf,
               {{"Diskettenbegleitzettel", 30, 20},
                {"Disketten-Nr:", 30, 40},
                {"Erster", 30, 45},
                {"10.12.2026", 90, 45},
                {"Keine", 30, 55},
                {"Anzahl", 30, 65},
                {"99", 90, 70},
                {"Auftragswaehrung:", 30, 75},
                {"Betragssumme:", 30, 80},
                {"532013000", 90, 85},
                {"Kontowaehrung:", 30, 90},
                {"Absender:", 30, 100},
                {"Unterschrift", 60, 131}},
               "dtazv-sheet");
}

}  // namespace
