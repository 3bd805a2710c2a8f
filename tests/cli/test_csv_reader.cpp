// The CSV reader: row lines a person can find in the file, the column and
// character of every letter Windows-1252 lacks, and the header vocabulary.
#include <gtest/gtest.h>

#include "io/CsvReader.h"
#include "payments/Dtaus.h"

namespace {

std::vector<std::string> Lines(const zcli::Diagnostics& d) {
  std::vector<std::string> lines;
  for (const zcli::Diagnostic& item : d.Items()) {
    lines.push_back(item.where + "|" + item.field + "|" + item.message);
  }
  return lines;
}

TEST(CsvParse, RowsKnowTheLineTheyStartOnAcrossQuotedBreaksAndBlankLines) {
  zcli::Diagnostics errors;
  const auto table = zcli::ParseCsv(
      "vwz2,vwz1\r\n\"A\",\"eins\r\nzwei\"\r\n\r\nB,x\n\"C\nD\nE\",y\nF,z", ',', errors);
  ASSERT_TRUE(errors.Empty());
  ASSERT_EQ(table.rows.size(), 5u);
  EXPECT_EQ(table.rows[1].line, 2);
  EXPECT_EQ(table.rows[1].cells[1], "eins\r\nzwei");
  EXPECT_EQ(table.rows[2].line, 5);
  EXPECT_EQ(table.rows[3].line, 6);
  EXPECT_EQ(table.rows[4].line, 9);  // no final line break
}

TEST(CsvParse, ByteOrderMarkAndSemicolonsAsExcelWritesThem) {
  const std::string text = "\xEF\xBB\xBFName;Betrag\nM\xC3\xBCller;12,50\n";
  EXPECT_EQ(zcli::GuessDelimiter("Name;Betrag\n"), ';');
  EXPECT_EQ(zcli::GuessDelimiter("name\tbetrag;x,y\n"), ',');
  zcli::Diagnostics errors;
  const auto table = zcli::ParseCsv(text, ';', errors);
  ASSERT_TRUE(errors.Empty());
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[0].cells[0], "Name");
  EXPECT_EQ(table.rows[1].cells[1], "12,50");
}

TEST(CsvParse, ForeignCharactersGetLineColumnAndHeaderEvenInsideQuotedBreaks) {
  zcli::Diagnostics errors;
  zcli::ParseCsv(
      "name,vwz1\nA,\"ok\nnoch \xC5\x81\"\n\xE2\x80\x9EZ\xE2\x80\x9C "
      "\xE2\x82\xAC,\xF0\x9F\x98\x80\n",
      ',', errors);
  // „ “ and € exist in Windows-1252; Ł and the emoji do not.
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Zeile 3|vwz1|Spalte 6: „Ł“ (U+0141) gibt es in Windows-1252 nicht.",
                "Zeile 4|vwz1|Spalte 7: „😀“ (U+1F600) gibt es in Windows-1252 nicht."}));
}

TEST(CsvParse, BrokenInputNamesItsLineAndYieldsNoRows) {
  zcli::Diagnostics quoteErrors;
  EXPECT_TRUE(zcli::ParseCsv("a,b\n1,2\n3,x\"y\"\n", ',', quoteErrors).rows.empty());
  ASSERT_EQ(quoteErrors.Count(), 1u);
  EXPECT_EQ(quoteErrors.Items()[0].where, "Zeile 3");

  zcli::Diagnostics openErrors;
  EXPECT_TRUE(zcli::ParseCsv("a,b\n1,2\n3,\"open\n", ',', openErrors).rows.empty());
  ASSERT_EQ(openErrors.Count(), 1u);
  EXPECT_EQ(openErrors.Items()[0].where, "Zeile 3");

  zcli::Diagnostics encodingErrors;
  EXPECT_TRUE(zcli::ParseCsv("a,b\nM\xFCller,2\n", ',', encodingErrors).rows.empty());
  ASSERT_EQ(encodingErrors.Count(), 1u);
  EXPECT_EQ(encodingErrors.Items()[0].where, "Zeile 2");
  EXPECT_NE(encodingErrors.Items()[0].message.find("Spalte 2"), std::string::npos);
}

TEST(CsvRecords, HeaderNamesAreForgivingButNeverGuessed) {
  zcli::Diagnostics errors;
  const auto table = zcli::ParseCsv(
      "Name,Konto-Nummer,BANKLEITZAHL,Betrag,Verwendungszweck 10,Verwendungszweck 2,vwz1\n"
      "A,1,2,3,zehn,zwei,\"eins\na\"\n,,,,,,\n",
      ',', errors);
  const auto records = zcli::ToRecords(table, zcli::DtausCsvColumns(), errors);
  ASSERT_TRUE(errors.Empty()) << Lines(errors)[0];
  ASSERT_EQ(records.size(), 1u);  // the blank row is skipped
  EXPECT_EQ(records[0].Get("konto"), "1");
  EXPECT_EQ(records[0].Get("blz"), "2");
  // Numbered columns in number order; a cell with a line break gives two lines.
  EXPECT_EQ(records[0].purpose, (std::vector<std::string>{"eins", "a", "zwei", "zehn"}));
}

TEST(CsvRecords, UnknownDoubledAndMissingColumnsAndShortRowsAreReported) {
  zcli::Diagnostics errors;
  const auto table =
      zcli::ParseCsv("name,konto,kontonummer,betrg,vwz1,verwendungszweck1\n", ',', errors);
  EXPECT_TRUE(zcli::ToRecords(table, zcli::DtausCsvColumns(), errors).empty());
  const auto lines = Lines(errors);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Zeile 1|kontonummer|Die Spalte kommt zweimal vor.");
  EXPECT_EQ(lines[1],
            "Zeile 1|betrg|Unbekannte Spalte; bekannt sind: betrag, blz, konto, name, "
            "verwendungszweck1 ....");
  EXPECT_EQ(lines[2], "Zeile 1|verwendungszweck1|Die Spalte kommt zweimal vor.");
  EXPECT_EQ(lines[3], "Zeile 1||Die Spalte „blz“ fehlt.");
  EXPECT_EQ(lines[4], "Zeile 1||Die Spalte „betrag“ fehlt.");

  zcli::Diagnostics rowErrors;
  const auto rows = zcli::ParseCsv("name,konto,blz,betrag\nA,1,2\nB,1,2,3\n", ',', rowErrors);
  const auto records = zcli::ToRecords(rows, zcli::DtausCsvColumns(), rowErrors);
  EXPECT_EQ(records.size(), 1u);
  EXPECT_EQ(Lines(rowErrors),
            (std::vector<std::string>{"Zeile 2||3 Felder, die Kopfzeile hat 4."}));
}

TEST(CsvParse, ControlCharactersAreNamedButLineBreaksSeparatePurposeLines) {
  zcli::Diagnostics errors;
  const auto table = zcli::ParseCsv(
      "name,betrag,vwz1\n"
      "\"A\tB\",1,\"eins\r\nzwei\"\n"  // the tab is a fault, CR LF a break
      "C ,2,\"x\ry\"\r\n"              // a CR alone is no break
      "\"D\r\nE\",3,\x7F\n"            // no break in a name; DEL
      "F,4,\"\xC2\x81\"\n",            // a C1 control that Windows-1252 would pass
      ',', errors);
  EXPECT_EQ(Lines(errors),
            (std::vector<std::string>{
                "Zeile 2|name|Spalte 3: Tabulator (U+0009) ist nicht erlaubt.",
                "Zeile 4|vwz1|Spalte 8: Wagenrücklauf (U+000D) ist nicht erlaubt.",
                "Zeile 5|name|Spalte 3: Zeilenumbruch (U+000A) ist nicht erlaubt. Mehrere Zeilen "
                "nur im Verwendungszweck.",
                "Zeile 6|vwz1|Spalte 6: Steuerzeichen (U+007F) ist nicht erlaubt.",
                "Zeile 7|vwz1|Spalte 6: Steuerzeichen (U+0081) ist nicht erlaubt."}));
  zcli::Diagnostics rowErrors;
  const zcli::CsvColumns columns{{{"name", "name"}, {"betrag", "betrag"}}, {}};
  const auto records = zcli::ToRecords(table, columns, rowErrors);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].purpose, (std::vector<std::string>{"eins", "zwei"}));

  // The delimiter tab is no cell's content.
  zcli::Diagnostics tabErrors;
  zcli::ParseCsv("name\tvwz1\r\nA\t\"x\ny\"\r\n", '\t', tabErrors);
  EXPECT_TRUE(tabErrors.Empty()) << Lines(tabErrors)[0];
}

}  // namespace
