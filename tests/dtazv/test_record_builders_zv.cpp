// The DTAZV record builders field by field against the layout, so that a fault
// names its field instead of an offset in a whole file.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "dtazv/BankIdentifiers.h"
#include "dtazv/Layout.h"
#include "dtazv/Records.h"
#include "dtazv/Repertoire.h"
#include "host/TextTemplates.h"
#include "support/FieldChecks.h"
#include "zordta/host/SysUtils.h"

namespace {

namespace dtazv = zor::detail::dtazv;
using zor::detail::Field;

using zortest::Blanks;
using zortest::ExpectFields;
using zortest::Padded;

std::string Line(std::string_view text) {
  return Padded(text, dtazv::kLineWidth);
}

TEST(DtazvRecordQ, EveryFieldInItsPlace) {
  dtazv::QRecordFields fields;
  fields.auftraggeberBLZ = 1234;
  fields.auftraggeberKontoNr = 532013000;
  fields.name1 = "MUSTER GMBH";
  fields.name2 = "ABTEILUNG AUSLANDSZAHLUNGEN UND MEHR TEXT";
  fields.strasse = "HAUPTSTRASSE 1";
  fields.ort = "KOELN";
  fields.erstellDatum = zor::EncodeDate(2026, 12, 7);
  fields.lfdNummer = 7;
  fields.ausfuehrungsdatum = zor::EncodeDate(2026, 12, 10);
  fields.bundeslandschluessel = 5;
  fields.firmennummer = 4711;
  const std::string record = dtazv::BuildQRecord(fields);

  ASSERT_EQ(record.size(), dtazv::kQLength);
  const auto& q = dtazv::kQ;
  ExpectFields(record, {
                           {"recordLength", q.recordLength, "0256"},
                           {"recordType", q.recordType, "Q"},
                           {"blz", q.blz, "00001234"},
                           {"konto", q.konto, "0532013000"},
                           {"name1", q.name1, Line("MUSTER GMBH")},
                           {"name2", q.name2, "ABTEILUNG AUSLANDSZAHLUNGEN UND MEH"},
                           {"strasse", q.strasse, Line("HAUPTSTRASSE 1")},
                           {"ort", q.ort, Line("KOELN")},
                           {"erstellDatum", q.erstellDatum, "261207"},
                           {"lfdNummer", q.lfdNummer, "07"},
                           {"ausfuehrungsdatum", q.ausfuehrungsdatum, "261210"},
                           {"awvMeldung", q.awvMeldung, "N"},
                           {"bundeslandschluessel", q.bundeslandschluessel, "05"},
                           {"firmennummer", q.firmennummer, "00004711"},
                           {"reserved", q.reserved, Blanks(q.reserved)},
                       });
}

dtazv::TRecordFields PaymentFields() {
  dtazv::TRecordFields fields;
  fields.auftraggeberBLZ = 37040044;
  fields.auftraggeberKontoNr = 532013000;
  fields.kontoWaehrung = "EUR";
  fields.datum = zor::EncodeDate(2027, 1, 5);
  fields.bic = "COBADEFF";
  fields.iban = "GB29NWBK60161331926819";
  fields.laendercode = "GB";
  fields.name1 = "JOHN SMITH";
  fields.name2 = "SMITH AND SONS";
  fields.strasse = "1 HIGH STREET";
  fields.ortLand = "LONDON GB";
  fields.waehrung = "GBP";
  fields.vorKomma = 1234;
  fields.nachKomma = 5;
  fields.purposeLines = {"RECHNUNG 4711", "KUNDE 42", "", ""};
  fields.zahlungsArtSchluessel = 13;
  fields.notizIntern = "NOTIZ FUER DEN KONTOAUSZUG LANG";
  fields.ansprechpartner = "ERIKA MUSTERFRAU";
  return fields;
}

TEST(DtazvRecordT, EveryFieldInItsPlace) {
  dtazv::TRecordBuffer buffer;
  const std::string_view record = dtazv::BuildTRecord(PaymentFields(), buffer);

  ASSERT_EQ(record.size(), dtazv::kTLength);
  const auto& t = dtazv::kT;
  ExpectFields(record, {
                           {"recordLength", t.recordLength, "0768"},
                           {"recordType", t.recordType, "T"},
                           {"blz", t.blz, "37040044"},
                           {"kontoWaehrung", t.kontoWaehrung, "EUR"},
                           {"konto", t.konto, "0532013000"},
                           {"datum", t.datum, "270105"},
                           {"otherBLZ", t.otherBLZ, "00000000"},
                           {"otherWaehrung", t.otherWaehrung, "   "},
                           {"otherKonto", t.otherKonto, "0000000000"},
                           {"bic", t.bic, "COBADEFF   "},
                           {"otherLaendercode", t.otherLaendercode, "   "},
                           {"otherAddress", t.otherAddress, Blanks(t.otherAddress)},
                           {"laendercode", t.laendercode, "GB"},
                           {"laendercodeFill", t.laendercodeFill, " "},
                           {"name1", t.name1, Line("JOHN SMITH")},
                           {"name2", t.name2, Line("SMITH AND SONS")},
                           {"strasse", t.strasse, Line("1 HIGH STREET")},
                           {"ortLand", t.ortLand, Line("LONDON GB")},
                           {"reserved1", t.reserved1, Blanks(t.reserved1)},
                           {"ibanSlash", t.ibanSlash, "/"},
                           {"iban", t.iban, Padded("GB29NWBK60161331926819", 34)},
                           {"waehrung", t.waehrung, "GBP"},
                           {"vorKomma", t.vorKomma, "00000000001234"},
                           {"nachKomma", t.nachKomma, "05"},
                           {"nachKommaFill", t.nachKommaFill, "0"},
                           {"purpose 1", t.purpose[0], Line("RECHNUNG 4711")},
                           {"purpose 2", t.purpose[1], Line("KUNDE 42")},
                           {"purpose 3", t.purpose[2], Line("")},
                           {"purpose 4", t.purpose[3], Line("")},
                           {"zeros1", t.zeros1, "00000000"},
                           {"reserved2", t.reserved2, Blanks(t.reserved2)},
                           {"zeros2", t.zeros2, "00"},
                           {"zahlungsArtSchluessel", t.zahlungsArtSchluessel, "13"},
                           {"notizIntern", t.notizIntern, "NOTIZ FUER DEN KONTOAUSZUG "},
                           {"ansprechpartner", t.ansprechpartner, Line("ERIKA MUSTERFRAU")},
                           {"meldungen", t.meldungen, "0"},
                           {"reserved3", t.reserved3, Blanks(t.reserved3)},
                           {"anzahlMeldungen", t.anzahlMeldungen, "00"},
                       });
}

TEST(DtazvRecordT, ReportsSetTheirFlagAndCount) {
  dtazv::TRecordFields fields = PaymentFields();
  fields.anzahlMeldungen = 3;
  dtazv::TRecordBuffer buffer;
  const std::string_view record = dtazv::BuildTRecord(fields, buffer);
  ExpectFields(record, {
                           {"meldungen", dtazv::kT.meldungen, "1"},
                           {"anzahlMeldungen", dtazv::kT.anzahlMeldungen, "03"},
                       });
}

TEST(DtazvRecordZ, EveryFieldInItsPlace) {
  dtazv::ZRecordFields fields;
  fields.summeVorKomma = zor::limits::dtazv::kMaxUnitSum;
  fields.anzahl = 3;
  const std::string record = dtazv::BuildZRecord(fields);

  ASSERT_EQ(record.size(), dtazv::kZLength);
  const auto& z = dtazv::kZ;
  ExpectFields(record, {
                           {"recordLength", z.recordLength, "0256"},
                           {"recordType", z.recordType, "Z"},
                           {"summeVorKomma", z.summeVorKomma, "999999999999999"},
                           {"anzahl", z.anzahl, "000000000000003"},
                           {"reserved", z.reserved, Blanks(z.reserved)},
                       });
}

TEST(DtazvSplitAmount, HundredthsRoundHalfToEvenAndCarryIntoTheUnits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double betrag;
    bool fits;
    std::int64_t units;
    std::int32_t hundredths;
  };
  for (const Case& k : {
           Case{1234.56, true, 1234, 56},
           Case{12.5, true, 12, 50},
           Case{0.999, true, 1, 0},   // 100 hundredths carry into the units
           Case{0.125, true, 0, 12},  // an exact half goes to the even neighbour
           Case{0.375, true, 0, 38},
           Case{99'999'999'999'999.98, true, 99'999'999'999'999, 98},
           Case{1e14, false, 0, 0},  // a fifteenth digit of units
           Case{-1, false, 0, 0},
           Case{nan, false, 0, 0},
       }) {
    std::int64_t units = -1;
    std::int32_t hundredths = -1;
    const bool fits = dtazv::SplitAmount(k.betrag, units, hundredths);
    EXPECT_EQ(fits, k.fits) << k.betrag;
    if (!k.fits) continue;
    EXPECT_EQ(units, k.units) << k.betrag;
    EXPECT_EQ(hundredths, k.hundredths) << k.betrag;
  }
}

// The IBAN's remainder gathers its digits in 64 bits, eight digits in a row at
// once; the reference takes it digit by digit. Random texts of digits, both
// cases of letters and strays, half of them mostly digits.
TEST(DtazvIban, RemainderAsTakenDigitByDigit) {
  const auto reference = [](const std::string& iban) {
    const std::string moved = iban.size() < 4 ? iban : iban.substr(4) + iban.substr(0, 4);
    std::uint32_t remainder = 0;
    for (const char c : moved) {
      if (c >= '0' && c <= '9') {
        remainder = (remainder * 10 + static_cast<std::uint32_t>(c - '0')) % 97;
      } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        const int letter = (c >= 'a' ? c - 'a' : c - 'A') + 10;
        remainder = (remainder * 100 + static_cast<std::uint32_t>(letter)) % 97;
      } else {
        return 0;
      }
    }
    return static_cast<int>(remainder);
  };
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::mt19937 rng(20261209);
  for (int n = 0; n < 5000; ++n) {
    std::string iban(rng() % 80, '0');
    for (char& c : iban) c = alphabet[rng() % alphabet.size()];
    if (n % 2 == 0) {
      for (char& c : iban) c = rng() % 16 == 0 ? c : static_cast<char>('0' + rng() % 10);
    }
    if (n % 10 == 0 && !iban.empty()) iban[rng() % iban.size()] = " -/\xE4"[rng() % 4];
    ASSERT_EQ(dtazv::IBANMod97(iban), reference(iban)) << iban;
  }
  EXPECT_EQ(dtazv::IBANMod97("DE89370400440532013000"), 1);
}

// BICs and IBANs are checked and raised eight bytes at a time; the reference
// takes them byte by byte.
TEST(DtazvIban, WritableInCapitalsAsTakenByteByByte) {
  std::mt19937 rng(20261210);
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::string capitals;
  for (int n = 0; n < 5000; ++n) {
    std::string text(rng() % 40, '0');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    if (n % 3 == 0 && !text.empty()) {
      text[rng() % text.size()] = " -@[`{\x80\xE4"[rng() % 8];
    }
    bool writable = true;
    std::string expected;
    for (const char c : text) {
      writable = writable && std::isalnum(static_cast<unsigned char>(c)) &&
                 static_cast<unsigned char>(c) < 0x80;
      expected += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    ASSERT_EQ(dtazv::WritableInCapitals(text, capitals), writable) << text;
    if (writable) {
      ASSERT_EQ(capitals, expected) << text;
    }
  }
}

// Purpose lines are cleaned straight from UTF-16: every unit, surrogate pairs
// and lone surrogates, in texts of any length, as the 8-bit text would be.
TEST(DtazvRepertoire, Utf16AsItsWindows1252Text) {
  std::mt19937 rng(20261211);
  char wide[200], narrow[200];
  for (int n = 0; n < 70000; ++n) {
    std::u16string text;
    if (n < 65536) {
      text = {u'a', static_cast<char16_t>(n), u'\u00DF'};
    } else {
      text.resize(rng() % 60);
      for (char16_t& u : text) {
        u = static_cast<char16_t>(rng() % 3 == 0 ? rng() % 0x10000 : rng() % 0x100);
      }
    }
    const std::string bytes = zor::detail::Utf16ToCp1252(text);
    const std::size_t length = dtazv::RemoveInvalidChars(text, wide);
    ASSERT_EQ(std::string_view(wide, length),
              std::string_view(narrow, dtazv::RemoveInvalidChars(bytes, narrow)))
        << n;
    ASSERT_EQ(std::string_view(wide, length), dtazv::RemoveInvalidChars(bytes)) << n;
  }
}

}  // namespace
