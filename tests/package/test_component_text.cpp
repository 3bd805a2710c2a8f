// The text form in which a host stores the components and loads them back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/ComponentText.h"

namespace {

const zor::TDate kToday = zor::EncodeDate(2026, 12, 8);

zor::String Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return ZT(text);
}

class ComponentTextTest : public ::testing::Test {
 protected:
  zortest::ScopedClock clock{kToday + 0.5};
};

// ---------------------------------------------------------------- writing

TEST_F(ComponentTextTest, WritesPublishedPropertiesInDeclarationOrderWithoutDefaults) {
  zor::TZorDTA dta(nullptr);
  dta.SetName(ZT("ZorDTA1"));
  dta.SetAuftraggeberName(ZA("MÜLLER's GMBH"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetAusfuehrungsdatum(zor::EncodeDate(2026, 12, 18));
  dta.SetAnzahlBegleitzettel(2);
  dta.SetPath(ZT("/tmp/Zahlungen"));
  dta.SetLastschriften(true);
  dta.SetOnDTAImport([](const zor::AnsiString&, std::int64_t, std::int64_t, double, zor::TStrings&,
                        bool, const zor::AnsiString&) {});
  // ValidateData holds its declared default and is left out; the event is not stored.
  // clang-format off
  EXPECT_EQ(zor::StringToUtf8(zor::WriteComponentToText(dta)),
            zor::StringToUtf8(Lines({"object ZorDTA1: TZorDTA",
                                     "  AuftraggeberName = 'M'#220'LLER''s GMBH'",
                                     "  AuftraggeberBLZ = 37040044",
                                     "  AuftraggeberKontoNr = 532013000",
                                     "  Ausfuehrungsdatum = 46374.0",
                                     "  AnzahlBegleitzettel = 2",
                                     "  Path = '/tmp/Zahlungen/'",
                                     "  ShowWarnings = False",
                                     "  Version = 'TZorDTA V4.1.2'",
                                     "  Lastschriften = True",
                                     "  Abbuchungsauftrag = False",
                                     "  Zentralbank = False",
                                     "end"})));
  // clang-format on

  dta.SetValidateData(false);
  const std::string text = zor::StringToUtf8(zor::WriteComponentToText(dta));
  EXPECT_NE(text.find("  ValidateData = False\r\n  Lastschriften"), std::string::npos) << text;
}

TEST_F(ComponentTextTest, BytesOutsidePrintableAsciiAreCodes) {
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(std::string("\x80 ok\x01''\xFF", 8));  // euro sign in Windows-1252
  const std::string text = zor::StringToUtf8(zor::WriteComponentToText(dta));
  EXPECT_NE(text.find("object TZorDTA\r\n"), std::string::npos) << "an unnamed component";
  EXPECT_NE(text.find("AuftraggeberName = #128' ok'#1''''''#255\r\n"), std::string::npos) << text;
  dta.SetAuftraggeberName("");
  EXPECT_NE(zor::StringToUtf8(zor::WriteComponentToText(dta)).find("AuftraggeberName = ''\r\n"),
            std::string::npos);
}

// ---------------------------------------------------------------- round trips

TEST_F(ComponentTextTest, DomesticComponentReadsBackAsItWasWritten) {
  zor::TZorDTA written(nullptr);
  written.SetName(ZT("Lastschrift_2"));
  written.SetAuftraggeberName(ZA("Bäckerei Größe & Söhne €"));
  written.SetAuftraggeberBLZ(-2147483647 - 1);
  written.SetAuftraggeberKontoNr(9223372036854775807);
  written.SetAusfuehrungsdatum(46374.123456789012);
  written.SetAnzahlBegleitzettel(4294967295u);
  written.SetPath(ZT("/daten/Überweisungen"));
  written.SetShowWarnings(true);
  written.SetValidateData(false);
  written.SetAbbuchungsauftrag(true);
  written.SetZentralbank(true);
  const zor::String text = zor::WriteComponentToText(written);

  zor::TZorDTA read(nullptr);
  zor::ReadComponentFromText(text, read);
  EXPECT_EQ(read.Name(), ZT("Lastschrift_2"));
  EXPECT_EQ(read.AuftraggeberName(), written.AuftraggeberName());
  EXPECT_EQ(read.Path(), ZT("/daten/Überweisungen/"));
  EXPECT_FALSE(read.ValidateData());
  EXPECT_EQ(zor::WriteComponentToText(read), text);  // every other property
}

TEST_F(ComponentTextTest, DatesReadBackToTheSameDouble) {
  for (double date : {0.0, 46374.0, 46374.5, 0.1, -693593.75, 2958465.999988426, 1e-300,
                      46374.123456789012, std::nextafter(46374.0, 1e9)}) {
    zor::TZorDTA written(nullptr);
    written.SetAusfuehrungsdatum(date);
    const zor::String text = zor::WriteComponentToText(written);
    zor::TZorDTA read(nullptr);
    zor::ReadComponentFromText(text, read);
    const double back = read.Ausfuehrungsdatum();
    EXPECT_EQ(std::memcmp(&back, &date, sizeof date), 0) << zor::StringToUtf8(text);
  }
}

TEST_F(ComponentTextTest, ForeignComponentReadsBackAsItWasWritten) {
  zor::TZorDTAZV written(nullptr);
  written.SetName(ZT("ZorDTAZV1"));
  written.SetAuftraggeberName(ZA("Müller Maschinenbau"));
  written.SetAuftraggeberName2(ZA("Außenhandel"));
  written.SetAuftraggeberStrasse(ZA("Königsallee 1"));
  written.SetAuftraggeberOrt(ZA("Düsseldorf"));
  written.SetWaehrungscode("usd");
  written.SetBundeslandschluessel(5);
  written.SetFirmennummer(12345678);
  written.SetZahlungsArtSchluessel(255);
  written.SetAusfuehrungsdatum(kToday + 3);
  ASSERT_TRUE(written.IgnoreAmountAbove12500());
  const zor::String text = zor::WriteComponentToText(written);

  zor::TZorDTAZV read(nullptr);
  zor::ReadComponentFromText(text, read);
  EXPECT_EQ(read.AuftraggeberOrt(), ZA("Düsseldorf"));
  EXPECT_TRUE(read.IgnoreAmountAbove12500());
  EXPECT_EQ(zor::WriteComponentToText(read), text);
}

// ---------------------------------------------------------------- loading order

TEST_F(ComponentTextTest, ForeignKeysSetIgnoreAmountAbove12500AnewWhateverTheTextSays) {
  // Stored True, but both keys are 0: their setters, run after it, clear it again.
  zor::TZorDTAZV written(nullptr);
  written.SetIgnoreAmountAbove12500(true);
  zor::TZorDTAZV read(nullptr);
  zor::ReadComponentFromText(zor::WriteComponentToText(written), read);
  EXPECT_FALSE(read.IgnoreAmountAbove12500());

  // Declaration order, not the order of the lines: False is set first, then both keys.
  zor::TZorDTAZV reordered(nullptr);
  zor::ReadComponentFromText(
      Lines({"object Z: TZorDTAZV", "  Bundeslandschluessel = 5", "  Firmennummer = 7",
             "  IgnoreAmountAbove12500 = False", "end"}),
      reordered);
  EXPECT_TRUE(reordered.IgnoreAmountAbove12500());

  // With one key missing the setters answer "not both keys": False.
  zor::TZorDTAZV oneKey(nullptr);
  zor::ReadComponentFromText(Lines({"object Z: TZorDTAZV", "  IgnoreAmountAbove12500 = True",
                                    "  Bundeslandschluessel = 5", "  Firmennummer = 0", "end"}),
                             oneKey);
  EXPECT_FALSE(oneKey.IgnoreAmountAbove12500());
}

TEST_F(ComponentTextTest, AbbuchungsauftragStillImpliesLastschriften) {
  zor::TZorDTA dta(nullptr);
  zor::ReadComponentFromText(
      Lines({"object D: TZorDTA", "  Abbuchungsauftrag = True", "  Lastschriften = False", "end"}),
      dta);
  EXPECT_TRUE(dta.Lastschriften());
  EXPECT_TRUE(dta.Abbuchungsauftrag());
}

TEST_F(ComponentTextTest, VersionIsStoredButCannotBeChanged) {
  zor::TZorDTAZV zv(nullptr);
  zor::ReadComponentFromText(Lines({"object Z: TZorDTAZV", "  Version = 'TZorDTAZV V9.9'", "end"}),
                             zv);
  EXPECT_EQ(zv.Version(), ZT("TZorDTAZV V4.1.2"));
}

// ---------------------------------------------------------------- reading

TEST_F(ComponentTextTest, ReadingIsLenientAboutLayoutAndCase) {
  zor::TZorDTA dta(nullptr);
  zor::ReadComponentFromText(
      ZT("\n  OBJECT   d1 :  tzordta  \n\n\tlastschriften=true\n"
         "  AuftraggeberName = 'M'#220 'LLER' +\n     ' GMBH'#32+\n'UND CO'\nEND\n\n"),
      dta);
  EXPECT_EQ(dta.Name(), ZT("d1"));
  EXPECT_TRUE(dta.Lastschriften());
  EXPECT_EQ(dta.AuftraggeberName(), ZA("MÜLLER GMBH UND CO"));
}

TEST_F(ComponentTextTest, PropertiesLeftOutKeepTheirValues) {
  zor::TZorDTA dta(nullptr);
  dta.SetValidateData(false);
  dta.SetAuftraggeberBLZ(37040044);
  zor::ReadComponentFromText(Lines({"object TZorDTA", "  Zentralbank = True", "end"}), dta);
  EXPECT_FALSE(dta.ValidateData());
  EXPECT_EQ(dta.AuftraggeberBLZ(), 37040044);
  EXPECT_TRUE(dta.Zentralbank());
}

TEST_F(ComponentTextTest, InterfaceTextUsesCodePointsInEveryDeliverable) {
  zor::TZorDTA dta(nullptr);
  zor::ReadComponentFromText(
      Lines({"object TZorDTA", "  Path = '/daten/'#220'bersicht_'#917#955'_'#119070", "end"}), dta);
#if ZORDTA_WIDE_STRINGS
  EXPECT_EQ(dta.Path(), ZT("/daten/Übersicht_Ελ_𝄞/"));
  const char* expected = "Path = '/daten/'#220'bersicht_'#917#955'_'#119070'/'\r\n";
#else
  // Windows-1252 has Ü but no Greek letters: those become "?".
  EXPECT_EQ(dta.Path(), ZT("/daten/Übersicht_??_?/"));
  const char* expected = "Path = '/daten/'#220'bersicht_??_?/'\r\n";
#endif
  EXPECT_NE(zor::StringToUtf8(zor::WriteComponentToText(dta)).find(expected), std::string::npos);

  // Payment data is 8-bit in every deliverable: a typed character goes through the code page.
  zor::ReadComponentFromText(Lines({"object TZorDTA", "  AuftraggeberName = '€ Ü Ω'", "end"}), dta);
  EXPECT_EQ(dta.AuftraggeberName(), std::string("\x80 \xDC ?"));
}

struct BadText {
  const char* text;
  const char* message;
};

TEST_F(ComponentTextTest, BadTextRaisesNamingTheLineAndChangesNothing) {
  const BadText cases[] = {
      {"", "Zeile 1: 'object' erwartet."},
      {"\n\nobjekt D: TZorDTA\nend", "Zeile 3: 'object' erwartet."},
      {"object D: TZorDTAZV\nend",
       "Zeile 1: Die Klasse TZorDTAZV passt nicht zur Komponente der Klasse TZorDTA."},
      {"object D:\nend", "Zeile 1: Die Klasse  passt nicht zur Komponente der Klasse TZorDTA."},
      {"object 1D: TZorDTA\nend",
       "Zeile 1: Eigenschaft Name: '1D' ist kein gültiger Komponentenname."},
      {"object D: TZorDTA\n  Zentralbank = True\n  Lastschriften True\nend",
       "Zeile 3: '=' erwartet."},
      {"object D: TZorDTA\n  Zentralbank = True\n  object E: TZorDTA\n  end\nend",
       "Zeile 3: '=' erwartet."},
      {"object D: TZorDTA\n  Farbe = 1\nend", "Zeile 2: Eigenschaft Farbe existiert nicht."},
      {"object D: TZorDTA\n  Zentralbank = True\n  ZENTRALBANK = False\nend",
       "Zeile 3: Eigenschaft Zentralbank ist mehrfach angegeben."},
      {"object D: TZorDTA\n  OnDTAImport = D1DTAImport\nend",
       "Zeile 2: Das Ereignis OnDTAImport kann nicht aus Text geladen werden."},
      {"object D: TZorDTA\n  Zentralbank = Ja\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft Zentralbank."},
      {"object D: TZorDTA\n  AuftraggeberBLZ = 2147483648\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft AuftraggeberBLZ."},
      {"object D: TZorDTA\n  AuftraggeberKontoNr = 12a\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft AuftraggeberKontoNr."},
      {"object D: TZorDTA\n  AnzahlBegleitzettel = -1\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft AnzahlBegleitzettel."},
      {"object D: TZorDTA\n  Ausfuehrungsdatum = 46374,5\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft Ausfuehrungsdatum."},
      {"object D: TZorDTA\n  AuftraggeberName = 'offen\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft AuftraggeberName."},
      {"object D: TZorDTA\n  AuftraggeberName = 'A'#256\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft AuftraggeberName."},
      {"object D: TZorDTA\n  AuftraggeberName = MUELLER\nend",
       "Zeile 2: Ungültiger Wert für die Eigenschaft AuftraggeberName."},
      {"object D: TZorDTA\n  Path = #\nend", "Zeile 2: Ungültiger Wert für die Eigenschaft Path."},
      {"object D: TZorDTA\n  Zentralbank = True\n", "Zeile 3: 'end' erwartet."},
      {"object D: TZorDTA\nend\nend", "Zeile 3: Text nach 'end'."},
  };
  for (const BadText& c : cases) {
    SCOPED_TRACE(c.text);
    zor::TZorDTA dta(nullptr);
    dta.SetName(ZT("Vorher"));
    EXPECT_THROW_MESSAGE(zor::ReadComponentFromText(ZT(c.text), dta), ZT(c.message));
    EXPECT_EQ(dta.Name(), ZT("Vorher"));
    EXPECT_FALSE(dta.Zentralbank());
  }
}

TEST_F(ComponentTextTest, RejectedValueRaisesTheSettersMessageWithTheLine) {
  zor::TZorDTAZV zv(nullptr);
  EXPECT_THROW_MESSAGE(
      zor::ReadComponentFromText(
          Lines({"object Z: TZorDTAZV", "  Waehrungscode = 'EU'", "  Firmennummer = 1", "end"}),
          zv),
      ZT("Zeile 2: Eigenschaft Waehrungscode: Der Währungscode muss aus genau drei Zeichen "
         "bestehen, z.B. USD."));
  EXPECT_EQ(zv.Waehrungscode(), "EUR");
  EXPECT_THROW_MESSAGE(
      zor::ReadComponentFromText(
          Lines({"object Z: TZorDTAZV", "  Bundeslandschluessel = 100", "end"}), zv),
      ZT("Zeile 2: Eigenschaft Bundeslandschluessel: Der Bundeslandschlüssel ist maximal "
         "zweistellig."));
}

// ---------------------------------------------------------------- component names

TEST(ComponentNameTest, NameMustBeAnIdentifierUniqueAmongTheOwnersComponents) {
  zor::TComponent form(nullptr);
  zor::TZorDTA first(&form);
  zor::TZorDTAZV second(&form);
  first.SetName(ZT("Zahlung_1"));
  first.SetName(ZT("ZAHLUNG_1"));  // renaming itself is no clash
  second.SetName(ZT("_z2"));
  EXPECT_THROW_MESSAGE(second.SetName(ZT("zahlung_1")),
                       ZT("Eine Komponente mit der Bezeichnung zahlung_1 existiert bereits."));
  for (const char* bad : {"1a", "a b", "Zahlung-1", "Müller"}) {
    EXPECT_THROW_MESSAGE(second.SetName(ZT(bad)),
                         ZT("'" + std::string(bad) + "' ist kein gültiger Komponentenname."));
  }
  EXPECT_EQ(second.Name(), ZT("_z2"));
  second.SetName(ZT(""));
  zor::TZorDTA elsewhere(nullptr);
  elsewhere.SetName(ZT("Zahlung_1"));  // another owner's name
  EXPECT_EQ(elsewhere.Name(), ZT("Zahlung_1"));
}

}  // namespace
