// The output run of the base component, exercised through the domestic writer:
// the reporting policy, the state guards, the execution-date correction and the
// shared properties.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"

namespace {

using zortest::MessageBoxRecorder;
using zortest::ScopedClock;
using zortest::TempDir;

const zor::TDate kToday = zor::EncodeDate(2026, 12, 8);

class BaseComponentTest : public ::testing::Test {
 protected:
  BaseComponentTest() : clock(kToday + 0.5) {
    dta.SetAuftraggeberName(ZA("Muster GmbH"));
    dta.SetAuftraggeberBLZ(37040044);
    dta.SetAuftraggeberKontoNr(532013000);
    dta.SetPath(dir.AsPath());
  }

  ScopedClock clock;
  TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
  zor::TZorDTA dta{nullptr};
};

TEST_F(BaseComponentTest, NewComponentIsReadyAndEmpty) {
  EXPECT_EQ(dta.State(), zor::stReady);
  EXPECT_TRUE(dta.ValidateData());
  EXPECT_FALSE(dta.ShowWarnings());
  EXPECT_TRUE(dta.DTAFileContent().empty());
  EXPECT_EQ(dta.AnzahlBuchungen(), 0);
  EXPECT_EQ(dta.AnzahlBegleitzettel(), 0u);
  EXPECT_EQ(dta.DTAFilename(), ZT("DTAUS0.TXT"));
}

TEST_F(BaseComponentTest, StateGuardsRaiseWithoutShowWarnings) {
  EXPECT_THROW_MESSAGE(dta.Finish(), ZT("Die Methode Start() wurde noch nicht aufgerufen oder "
                                        "Finish() wurde bereits aufgerufen."));
  EXPECT_THROW_MESSAGE(dta.Buchung(ZA("X"), 1234567890, 50010517, 10, ZA("a"), "", ""),
                       ZT("Es muss zunächst die Methode Start() aufgerufen werden."));
  EXPECT_EQ(dta.State(), zor::stReady);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "DTAUS0.TXT"));

  dta.Start();
  dta.Buchung(ZA("X"), 1234567890, 50010517, 10, ZA("a"), "", "");
  const auto contentBefore = dta.DTAFileContent();
  EXPECT_THROW_MESSAGE(dta.Start(), ZT("Die Methode Start() wurde bereits aufgerufen."));
  EXPECT_EQ(dta.State(), zor::stBooking);
  EXPECT_EQ(dta.AnzahlBuchungen(), 1);
  EXPECT_EQ(dta.DTAFileContent(), contentBefore);
}

TEST_F(BaseComponentTest, StateGuardsShowMessageBoxAndReturn) {
  MessageBoxRecorder boxes;
  dta.SetShowWarnings(true);
  dta.Finish();
  dta.Buchung(ZA("X"), 1234567890, 50010517, 10, ZA("a"), "", "");
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].caption, "Fehler");
  EXPECT_EQ(boxes.boxes()[1].text, "Es muss zunächst die Methode Start() aufgerufen werden.");
  EXPECT_EQ(dta.State(), zor::stReady);
  EXPECT_TRUE(dta.DTAFileContent().empty());

  dta.Start();
  dta.Start();
  ASSERT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(boxes.boxes()[2].text, "Die Methode Start() wurde bereits aufgerufen.");
  EXPECT_EQ(dta.DTAFileContent().size(), 128u);
}

TEST_F(BaseComponentTest, FinishAfterPreviousRunAddsNoTrailer) {
  dta.Start();
  dta.Finish();
  const auto finished = dta.DTAFileContent();
  EXPECT_THROW(dta.Finish(), zor::Exception);
  EXPECT_EQ(dta.DTAFileContent(), finished);
  dta.Start();
  EXPECT_EQ(dta.DTAFileContent().size(), 128u) << "a new run starts a new buffer";
}

struct DateCase {
  const char* name;
  double offset;  // days from today; NaN: no date
  double expectedOffset;
  bool warned;
};

TEST_F(BaseComponentTest, ExecutionDateIsCorrectedToTodayWithWarning) {
  const DateCase cases[] = {
      {"today", 0, 0, false},     {"today+15", 15, 15, false},   {"today+16", 16, 0, true},
      {"yesterday", -1, 0, true}, {"today+15.5", 15.5, 0, true}, {"this morning", -0.25, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool showWarnings : {false, true}) {
      MessageBoxRecorder boxes;
      zor::TZorDTA writer(nullptr);
      writer.SetAuftraggeberName(ZA("Muster GmbH"));
      writer.SetAuftraggeberBLZ(37040044);
      writer.SetAuftraggeberKontoNr(532013000);
      writer.SetDTAFilename(ZT(""));
      writer.SetShowWarnings(showWarnings);
      writer.SetAusfuehrungsdatum(kToday + c.offset);
      writer.Start();
      EXPECT_EQ(writer.Ausfuehrungsdatum(), kToday + c.expectedOffset);
      const std::size_t expectedBoxes = (showWarnings && c.warned) ? 1 : 0;
      ASSERT_EQ(boxes.boxes().size(), expectedBoxes);
      if (expectedBoxes) {
        EXPECT_EQ(boxes.boxes()[0].caption, "Warnung");
        EXPECT_EQ(boxes.boxes()[0].text,
                  "Das Ausführungsdatum darf das aktuelle Datum um höchstens 15 Tage "
                  "überschreiten.");
      }
    }
  }
}

TEST_F(BaseComponentTest, NoExecutionDateStaysNone) {
  dta.SetShowWarnings(true);
  MessageBoxRecorder boxes;
  dta.Start();
  EXPECT_EQ(dta.Ausfuehrungsdatum(), 0);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(dta.DTAFileContent().substr(95, 8), "        ");
}

TEST_F(BaseComponentTest, BankCodeAndAccountRanges) {
  struct RangeCase {
    std::int64_t value;
    bool blzValid;
    bool kontoValid;
  };
  const RangeCase cases[] = {
      {0, false, false},
      {-1, false, false},
      {INT64_MIN, false, false},
      {9, false, false},
      {10, false, true},
      {9'999'999, false, true},
      {10'000'000, true, true},
      {99'999'999, true, true},
      {100'000'000, false, true},
      {9'999'999'999, false, true},
      {10'000'000'000, false, false},
      {INT64_MAX, false, false},
  };
  MessageBoxRecorder boxes;
  dta.SetShowWarnings(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    boxes.clear();
    EXPECT_EQ(dta.ValidateBLZ(c.value), c.blzValid);
    EXPECT_EQ(dta.ValidateKontoDE(c.value), c.kontoValid);
    std::vector<std::string> expected;
    if (!c.blzValid) expected.push_back("Die Bankleitzahl muss genau 8 Zeichen besitzen.");
    if (!c.kontoValid) {
      expected.push_back("Die Kontonummer muss zwischen 10 und 9999999999 liegen.");
    }
    ASSERT_EQ(boxes.boxes().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(boxes.boxes()[i].text, expected[i]);
      EXPECT_EQ(boxes.boxes()[i].caption, "Fehler");
    }
  }
}

TEST_F(BaseComponentTest, ChecksRaiseWithoutShowWarningsAndPassWithoutValidateData) {
  EXPECT_THROW_MESSAGE(dta.ValidateBLZ(123), ZT("Die Bankleitzahl muss genau 8 Zeichen besitzen."));
  dta.SetValidateData(false);
  EXPECT_TRUE(dta.ValidateBLZ(0));
  EXPECT_TRUE(dta.ValidateKontoDE(-5));
}

TEST_F(BaseComponentTest, StartChecksTheClientsBankData) {
  dta.SetAuftraggeberBLZ(1234);
  EXPECT_THROW_MESSAGE(dta.Start(), ZT("Die Bankleitzahl muss genau 8 Zeichen besitzen."));
  EXPECT_EQ(dta.State(), zor::stStarted) << "the run counts as open";
}

// A client bank code or account beyond its field fails Start's check and keeps
// the header from being written: the user hears of it once, from either writer.
TEST_F(BaseComponentTest, ClientDataBeyondTheirFieldsAreReportedOnce) {
  zor::TZorDTAZV zv(nullptr);
  zv.SetAuftraggeberName(ZA("Muster GmbH"));
  zv.SetAuftraggeberStrasse(ZA("Hauptstr. 1"));
  zv.SetAuftraggeberOrt(ZA("Köln"));
  zv.SetPath(dir.AsPath());
  for (const bool account : {false, true}) {
    MessageBoxRecorder boxes;
    for (zor::TZorBaseDTA* writer :
         {static_cast<zor::TZorBaseDTA*>(&dta), static_cast<zor::TZorBaseDTA*>(&zv)}) {
      writer->SetShowWarnings(true);
      writer->SetAuftraggeberBLZ(account ? 37040044 : 123456789);
      writer->SetAuftraggeberKontoNr(account ? 12345678901 : 532013000);
      if (writer == &dta) dta.Start();
      if (writer == &zv) zv.Start(1);
      ASSERT_EQ(boxes.boxes().size(), 1u)
          << (account ? "account: " : "bank code: ") << boxes.boxes().back().text;
      EXPECT_TRUE(writer->DTAFileContent().empty());
      boxes.clear();
      writer->Finish();
    }
  }
}

TEST_F(BaseComponentTest, EmptyFileNameWritesNoFileButKeepsContent) {
  dta.SetDTAFilename(ZT(""));
  dta.Start();
  dta.Finish();
  EXPECT_EQ(dta.DTAFileContent().size(), 256u);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_FALSE(entry.is_regular_file()) << entry.path();
  }
  EXPECT_EQ(dta.State(), zor::stReady);
}

TEST_F(BaseComponentTest, PathGetsItsDelimiterAndIgnoresEmpty) {
  const zor::String delim(1, zor::PathDelim);
  dta.SetPath(ZT("ausgabe"));
  EXPECT_EQ(dta.Path(), ZT("ausgabe") + delim);
  dta.SetPath(ZT(""));
  EXPECT_EQ(dta.Path(), ZT("ausgabe") + delim);
  dta.SetPath(ZT("ordner") + delim);
  EXPECT_EQ(dta.Path(), ZT("ordner") + delim);
}

TEST_F(BaseComponentTest, VersionIsClassNameAndCannotBeChanged) {
  EXPECT_EQ(dta.Version(), ZT("TZorDTA V4.1.2"));
  dta.SetVersion(ZT("anders"));
  EXPECT_EQ(dta.Version(), ZT("TZorDTA V4.1.2"));
  dta.SetBounds(1, 2, 3, 4);  // accepted and ignored
}

TEST(ComponentOwnership, OwnerDestroysWhatItOwnsAndForgetsWhatWentFirst) {
  auto* owner = new zor::TComponent(nullptr);
  auto* first = new zor::TZorDTA(owner);
  auto* second = new zor::TZorDTA(owner);
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(first->Owner(), owner);
  delete first;
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), second);
  delete owner;  // deletes second; the sanitizer build catches a leak or a double delete
}

}  // namespace
