// The CSV reader as the write commands take it (PaymentSource): row lines a
// person can find in the file, the column and character of every letter
// Windows-1252 lacks, and the header vocabulary.
#include <gtest/gtest.h>

#include "commands/PaymentSource.h"
#include "io/CsvReader.h"
#include "io/EntryNames.h"
#include "zordta/entry/Dtaus.h"

namespace {

struct Payments {
  std::vector<zcli::InputRecord> records;
  zcli::Diagnostics errors;
  bool complete = true;
};

// Columns named freely: only purpose columns and these.
const zcli::CsvColumns kNameAndAmount{{{"name", "name"}, {"betrag", "betrag"}}, {}};

Payments Read(const std::string& text, const std::string& delimiter,
              const zcli::CsvColumns& columns = zcli::DtausCsvColumns()) {
  Payments read;
  const zcli::PaymentSource source =
      zcli::PaymentSource::FromCsvText("zahlungen.csv", text, delimiter, columns);
  read.complete =
      source
          .ForEach([&read](const zcli::InputRecord& r) { read.records.push_back(r); }, read.errors)
          .complete;
  return read;
}

std::vector<std::string> Lines(const zcli::Diagnostics& d) {
  std::vector<std::string> lines;
  for (const zcli::Diagnostic& item : d.Items()) {
    lines.push_back(item.where + "|" + item.field + "|" + item.message);
  }
  return lines;
}

TEST(CsvParse, RowsKnowTheLineTheyStartOnAcrossQuotedBreaksAndBlankLines) {
  const Payments read = Read("vwz2,vwz1\r\n\"A\",\"eins\r\nzwei\"\r\n\r\nB,x\n\"C\nD\nE\",y\nF,z",
                             ",", kNameAndAmount);
  ASSERT_TRUE(read.errors.Empty()) << Lines(read.errors)[0];
  ASSERT_EQ(read.records.size(), 4u);
  EXPECT_EQ(read.records[0].where, "Zeile 2");
  EXPECT_EQ(read.records[0].purpose, (std::vector<std::string>{"eins", "zwei", "A"}));
  EXPECT_EQ(read.records[1].where, "Zeile 5");
  EXPECT_EQ(read.records[2].where, "Zeile 6");
  EXPECT_EQ(read.records[3].where, "Zeile 9");  // no final line break
}

TEST(CsvParse, LinesEndingInACarriageReturnAloneAreLinesToo) {
  // As old Mac programs write CSV: the header alone tells the delimiter.
  const std::string text = "name;betrag;vwz1\rA;1,00;\"eins\nzwei\"\rB;2,00;x\r\nC;3,00;y\r";
  EXPECT_EQ(zcli::GuessDelimiter(text), ';');
  const Payments read = Read(text, "", kNameAndAmount);
  ASSERT_TRUE(read.errors.Empty()) << Lines(read.errors)[0];
  ASSERT_EQ(read.records.size(), 3u);
  EXPECT_EQ(read.records[0].where, "Zeile 2");
  EXPECT_EQ(read.records[0].purpose, (std::vector<std::string>{"eins", "zwei"}));
  EXPECT_EQ(read.records[1].where, "Zeile 4");
  EXPECT_EQ(read.records[2].where, "Zeile 5");
  // Two rows on one line of LFs would have carried the same line.
  const Payments mixed = Read("name,betrag\nA,1\rB,x\nC,y\n", "", kNameAndAmount);
  ASSERT_EQ(mixed.records.size(), 3u);
  EXPECT_EQ(mixed.records[1].where, "Zeile 3");
  EXPECT_EQ(mixed.records[2].where, "Zeile 4");

  const Payments bad = Read("name;betrag\rA;1,00\rM\xFCller;2,00\r", "", kNameAndAmount);
  EXPECT_EQ(Lines(bad.errors),
            (std::vector<std::string>{
                "Zeile 3||Spalte 2: kein gültiges UTF-8 (die Datei muss UTF-8 sein)."}));
}

TEST(CsvParse, ByteOrderMarkAndSemicolonsAsExcelWritesThem) {
  const std::string text =
      "\xEF\xBB\xBFName;Betrag\nM\xC3\xBC"
      "ller;12,50\n";
  EXPECT_EQ(zcli::GuessDelimiter("Name;Betrag\n"), ';');
  EXPECT_EQ(zcli::GuessDelimiter("name\tbetrag;x,y\n"), ',');
  for (const char* delimiter : {";", ""}) {  // given, and found from the header
    const Payments read = Read(text, delimiter, kNameAndAmount);
    ASSERT_TRUE(read.errors.Empty()) << Lines(read.errors)[0];
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0].Get("name"), "M\xC3\xBCller");
    EXPECT_EQ(read.records[0].Get("betrag"), "12,50");
  }
}

TEST(CsvParse, ForeignCharactersGetLineColumnAndHeaderEvenInsideQuotedBreaks) {
  const Payments read = Read(
      "name,vwz1\nA,\"ok\nnoch \xC5\x81\"\n\xE2\x80\x9EZ\xE2\x80\x9C "
      "\xE2\x82\xAC,\xF0\x9F\x98\x80\n",
      ",", kNameAndAmount);
  // „ “ and € exist in Windows-1252; Ł and the emoji do not.
  EXPECT_EQ(Lines(read.errors),
            (std::vector<std::string>{
                "Zeile 3|vwz1|Spalte 6: „Ł“ (U+0141) gibt es in Windows-1252 nicht.",
                "Zeile 4|vwz1|Spalte 7: „😀“ (U+1F600) gibt es in Windows-1252 nicht."}));
}

TEST(CsvParse, BrokenInputNamesItsLineAndEndsThePassIncomplete) {
  const zcli::CsvColumns ab{{{"a", "a"}, {"b", "b"}}, {}};
  const Payments quote = Read("a,b\n1,2\n3,x\"y\"\n", ",", ab);
  EXPECT_FALSE(quote.complete);
  ASSERT_EQ(quote.errors.Count(), 1u);
  EXPECT_EQ(quote.errors.Items()[0].where, "Zeile 3");

  const Payments open = Read("a,b\n1,2\n3,\"open\n", ",", ab);
  EXPECT_FALSE(open.complete);
  ASSERT_EQ(open.errors.Count(), 1u);
  EXPECT_EQ(open.errors.Items()[0].where, "Zeile 3");

  const Payments encoding = Read("a,b\nM\xFCller,2\n", ",", ab);
  EXPECT_FALSE(encoding.complete);
  EXPECT_TRUE(encoding.records.empty());
  ASSERT_EQ(encoding.errors.Count(), 1u);
  EXPECT_EQ(encoding.errors.Items()[0].where, "Zeile 2");
  EXPECT_NE(encoding.errors.Items()[0].message.find("Spalte 2"), std::string::npos);
}

TEST(CsvRecords, HeaderNamesAreForgivingButNeverGuessed) {
  const Payments read = Read(
      "Name,Konto-Nummer,BANKLEITZAHL,Betrag,Verwendungszweck 10,Verwendungszweck 2,vwz1\n"
      "A,1,2,3,zehn,zwei,\"eins\na\"\n,,,,,,\n",
      ",");
  ASSERT_TRUE(read.errors.Empty()) << Lines(read.errors)[0];
  ASSERT_EQ(read.records.size(), 1u);  // the blank row is skipped
  EXPECT_EQ(read.records[0].Get("konto"), "1");
  EXPECT_EQ(read.records[0].Get("blz"), "2");
  // Numbered columns in number order; a cell with a line break gives two lines.
  EXPECT_EQ(read.records[0].purpose, (std::vector<std::string>{"eins", "a", "zwei", "zehn"}));
}

TEST(CsvRecords, UnknownDoubledAndMissingColumnsAndShortRowsAreReported) {
  const Payments header = Read("name,konto,kontonummer,betrg,vwz1,verwendungszweck1\n", ",");
  EXPECT_TRUE(header.records.empty());
  const auto lines = Lines(header.errors);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Zeile 1|kontonummer|Die Spalte kommt zweimal vor.");
  EXPECT_EQ(lines[1],
            "Zeile 1|betrg|Unbekannte Spalte; bekannt sind: betrag, blz, konto, name, "
            "zahlungsschluessel, verwendungszweck1 ....");
  EXPECT_EQ(lines[2], "Zeile 1|verwendungszweck1|Die Spalte kommt zweimal vor.");
  EXPECT_EQ(lines[3], "Zeile 1||Die Spalte „blz“ fehlt.");
  EXPECT_EQ(lines[4], "Zeile 1||Die Spalte „betrag“ fehlt.");

  const Payments rows = Read("name,konto,blz,betrag\nA,1,2\nB,1,2,3\n", ",");
  EXPECT_EQ(rows.records.size(), 1u);
  EXPECT_EQ(Lines(rows.errors),
            (std::vector<std::string>{"Zeile 2||3 Felder, die Kopfzeile hat 4."}));

  const Payments empty = Read("", ",");
  EXPECT_EQ(Lines(empty.errors),
            (std::vector<std::string>{"Zeile 1||Die Datei ist leer; erwartet wird eine Kopfzeile "
                                      "mit den Spaltennamen."}));
}

TEST(CsvParse, ControlCharactersAreNamedButLineBreaksSeparatePurposeLines) {
  const Payments read = Read(
      "name,betrag,vwz1\n"
      "\"A\tB\",1,\"eins\r\nzwei\"\n"  // the tab is a fault, CR LF a break
      "C ,2,\"x\ry\"\r\n"              // a CR alone ends a line, but no purpose line
      "\"D\r\nE\",3,\x7F\n"            // no break in a name; DEL
      "F,4,\"\xC2\x81\"\n",            // a C1 control that Windows-1252 would pass
      ",", kNameAndAmount);
  EXPECT_EQ(Lines(read.errors),
            (std::vector<std::string>{
                "Zeile 2|name|Spalte 3: Tabulator (U+0009) ist nicht erlaubt.",
                "Zeile 4|vwz1|Spalte 8: Wagenrücklauf (U+000D) ist nicht erlaubt.",
                "Zeile 6|name|Spalte 3: Zeilenumbruch (U+000A) ist nicht erlaubt. Mehrere Zeilen "
                "nur im Verwendungszweck.",
                "Zeile 7|vwz1|Spalte 6: Steuerzeichen (U+007F) ist nicht erlaubt.",
                "Zeile 8|vwz1|Spalte 6: Steuerzeichen (U+0081) ist nicht erlaubt."}));
  ASSERT_EQ(read.records.size(), 4u);
  EXPECT_EQ(read.records[0].purpose, (std::vector<std::string>{"eins", "zwei"}));

  // The delimiter tab is no cell's content.
  const Payments tab = Read("name\tvwz1\r\nA\t\"x\ny\"\r\n", "tab", kNameAndAmount);
  EXPECT_TRUE(tab.errors.Empty()) << Lines(tab.errors)[0];
}

}  // namespace
