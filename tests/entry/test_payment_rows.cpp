// Payments given as rows of a table, through the library alone: a header names
// the columns, each row is checked whole and booked, and every fault stays at
// its row and field.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zordta/entry/AccountRows.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Dtaus.h"
#include "zordta/entry/SepaInput.h"

namespace {

using zor::entry::Diagnostics;

zor::entry::CsvRow Row(int line, std::vector<std::string_view> cells) {
  return {line, std::move(cells), true};
}

// "Zeile 3, Feld konto: ..." for each diagnostic, as a caller shows them.
std::vector<std::string> Lines(const Diagnostics& found) {
  std::vector<std::string> lines;
  for (const zor::entry::Diagnostic& d : found.Items()) {
    lines.push_back(d.where + (d.field.empty() ? "" : ", Feld " + d.field) + ": " + d.message);
  }
  return lines;
}

TEST(PaymentRows, ATableOfCreditsIsBookedRowByRowAndAFaultyRowIsNot) {
  Diagnostics errors, warnings;
  const zor::entry::CsvRecordReader reader(
      Row(1, {"Empfänger", "Kontonummer", "BLZ", "Betrag", "VWZ1", "VWZ2"}),
      zor::entry::DtausCsvColumns(), errors);
  ASSERT_TRUE(reader.Usable()) << testing::PrintToString(Lines(errors));

  zor::entry::DtausSettings settings;
  settings.name = "Bäckerei Schönfeld";
  settings.blz = 37040044;
  settings.konto = 532013000;
  zor::entry::DtausRun run(settings, false, errors, warnings);
  const std::vector<zor::entry::CsvRow> rows = {
      Row(2, {"Anna Ölmann", "12345", "37040044", "10,50", "Lohn", "Mai"}),
      Row(3, {"Bert", "12x", "37040044", "1.000,00", "", ""}),
      Row(4, {"Carla", "678", "37040044", "2.5", "Lohn", ""}),
      Row(5, {"Dora", "9", "37040044", "1", "Lohn"}),
  };
  for (const zor::entry::CsvRow& row : rows) {
    std::string where;
    if (reader.Accept(row, where, errors)) run.Add(zor::entry::CsvRecordRow{row, reader, where});
  }
  EXPECT_EQ(run.Component().AnzahlBuchungen(), 2);
  EXPECT_EQ(run.Component().SummeBetragCent(), 1300);
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Zeile 3, Feld konto: „12x“ ist keine Kontonummer (nur Ziffern).",
                "Zeile 3, Feld betrag: „1.000,00“ ist kein Betrag (z.B. 1234,56 oder 1234.56, "
                "ohne Tausenderpunkte).",
                "Zeile 5: 5 Felder, die Kopfzeile hat 6."}));
}

TEST(PaymentRows, AHeaderWithoutARequiredColumnReadsNoRow) {
  Diagnostics errors;
  const zor::entry::CsvRecordReader reader(Row(1, {"name", "konto", "betrag", "name"}),
                                           zor::entry::DtausCsvColumns(), errors);
  EXPECT_FALSE(reader.Usable());
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{"Zeile 1, Feld name: Die Spalte kommt zweimal vor.",
                                      "Zeile 1: Die Spalte „blz“ fehlt."}));
}

TEST(AccountRows, AMandateRowWithAFaultGivesNoRowAndNamesEachField) {
  zor::entry::InputRecord record;
  record.Set("blz", "370 400 44");
  record.Set("konto", "532013000");
  record.Set("mandat_id", "M-1");
  record.Set("mandat_datum", "2020-02-30");
  record.Set("sequenz", "rcur");
  Diagnostics errors;
  EXPECT_FALSE(zor::entry::ReadMandateRow(record, "mandate.csv: Zeile 2", errors));
  EXPECT_EQ(Lines(errors), (std::vector<std::string>{
                               "mandate.csv: Zeile 2, Feld mandat_datum: „2020-02-30“ ist kein "
                               "Datum (JJJJ-MM-TT oder TT.MM.JJJJ)."}));

  record.Set("mandat_datum", "2020-02-28");
  errors = Diagnostics();
  const std::optional<zor::MandateRow> row =
      zor::entry::ReadMandateRow(record, "mandate.csv: Zeile 2", errors);
  ASSERT_TRUE(row) << testing::PrintToString(Lines(errors));
  EXPECT_EQ(row->account, (zor::DtausAccount{37040044, 532013000}));
  EXPECT_EQ(row->sequence, zor::SepaSequence::Recurring);
  EXPECT_EQ(row->signedOn,
            std::chrono::year_month_day(std::chrono::year(2020) / std::chrono::February / 28));
}

TEST(AccountRows, AnIbanRowNeedsItsAccountAndAValidIban) {
  zor::entry::InputRecord record;
  record.Set("blz", "3704004");
  record.Set("iban", "DE89 3704 0044 0532 0130 01");
  Diagnostics errors;
  EXPECT_FALSE(zor::entry::ReadIbanRow(record, "ibans.csv: Zeile 2", errors));
  ASSERT_EQ(errors.Count(), 3u);
  EXPECT_EQ(errors.Items()[0].field, "blz");
  EXPECT_EQ(errors.Items()[1].field, "konto");
  EXPECT_EQ(errors.Items()[2].field, "iban");
}

// A reader fills one payment row after row: whatever a full row set must be
// gone when a plain row follows, so the plain row reads as it does alone.
TEST(SepaRows, APaymentReadAgainKeepsNothingOfTheRowBefore) {
  const std::chrono::year_month_day day{std::chrono::year(2030) / 1 / 2};
  zor::entry::InputRecord full;
  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"name", "Anna"},
           {"iban", "DE89370400440532013000"},
           {"bic", "COBADEFFXXX"},
           {"betrag", "1,00"},
           {"ende_zu_ende_id", "E1"},
           {"mandat_id", "M1"},
           {"mandat_datum", "2020-01-01"},
           {"sequenz", "rcur"},
           {"zweck", "SALA"},
           {"anweisungs_id", "I1"},
           {"uetr", "0F8E3B8A-1D4C-4E7A-9B1C-2D3E4F5A6B7C"},
           {"kategorie", "SALA"},
           {"glaeubiger_id", "DE98ZZZ09999999999"},
           {"glaeubigerreferenz", "RF18539007547034"},
           {"zahlungsinfo_id", "P1"},
           {"konto", "1"},
           {"anschrift.land", "de"},
           {"anschrift.ort", "Köln"},
           {"kennung.art", "lei"},
           {"kennung.id", "5299000J2N45DDNE4Y28"},
           {"endzahler.name", "Bert"},
           {"endempfaenger.anschrift.land", "FR"},
           {"mandatsaenderung.alte_mandat_id", "M0"}}) {
    full.Set(key, value);
  }
  full.AddPurpose("Lohn");
  zor::entry::InputRecord plain;
  plain.Set("name", "Carla");
  plain.Set("iban", "de89 3704 0044 0532 0130 00");  // compacted into the storage of the last
  plain.Set("betrag", "2,00");
  plain.Set("mandat_id", "M2");
  plain.Set("mandat_datum", "2021-01-01");
  plain.Set("sequenz", "ooff");

  Diagnostics errors;
  zor::SepaPayment reused;
  ASSERT_TRUE(zor::entry::ReadSepaPayment(full, zor::SepaKind::DirectDebit, day, reused, errors))
      << testing::PrintToString(Lines(errors));
  ASSERT_TRUE(zor::entry::ReadSepaPayment(plain, zor::SepaKind::DirectDebit, day, reused, errors))
      << testing::PrintToString(Lines(errors));
  zor::SepaPayment alone;
  ASSERT_TRUE(zor::entry::ReadSepaPayment(plain, zor::SepaKind::DirectDebit, day, alone, errors));
  EXPECT_TRUE(reused == alone);
}

}  // namespace
