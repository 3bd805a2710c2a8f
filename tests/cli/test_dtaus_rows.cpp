// dtaus write reads CSV rows straight from their cells and books up to three
// purpose lines as texts: both must come to what the records and the library's
// list of lines come to, message for message and byte for byte.
#include <gtest/gtest.h>

#include "DiagnosticLines.h"
#include "commands/PaymentSource.h"
#include "commands/WriteFile.h"
#include "io/EntryNames.h"
#include "zordta/entry/Dtaus.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

using zclitest::Lines;

// The records a run writes, as dtaus write streams them into its file.
struct Recorded : zor::ByteSink {
  void Write(std::string_view bytes) override { content.append(bytes); }
  zor::AnsiString content;
};

zcli::DtausSettings Client(zor::ByteSink* sink = nullptr) {
  zcli::DtausSettings s;
  s.sink = sink;
  s.name = "Zor GmbH";
  s.blz = 37040044;
  s.konto = 532013000;
  s.dateidatum = zor::EncodeDate(2026, 12, 1);
  return s;
}

struct Booked {
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  zor::AnsiString content;
  std::int32_t count = 0;
};

// `straight`: the rows as dtaus write takes them, else as records.
Booked Book(const std::string& csv, bool straight) {
  const zcli::PaymentSource source =
      zcli::PaymentSource::FromCsvText("z.csv", csv, "", zcli::DtausCsvColumns());
  zcli::Diagnostics errors;
  zcli::Diagnostics warnings;
  Recorded records;
  zcli::DtausRun run(Client(&records), true, errors, warnings);
  if (straight) {
    zcli::FeedRun(source, 0, run, errors, false);
  } else {
    source.ForEach([&run](const zcli::InputRecord& r) { run.Add(r); }, errors);
  }
  return {Lines(errors), Lines(warnings), records.content, run.Component().AnzahlBuchungen()};
}

TEST(DtausRows, StraightFromTheCellsAsThroughRecords) {
  const std::string header =
      "Empfänger;BLZ;Kontonummer;vwz3;Betrag;Verwendungszweck1;vwz2;vwz4;zahlungsschluessel\n";
  const std::string clean =
      header +
      " Müller & Söhne ;50010517;1234567900;drei;10,00; eins ;zwei;;\n"
      "\"Weiß\";10070000;987651;;1.5;\"a\nb\r\n c \";;vier;53000\n"
      "Lang;10070000;987651;;2,00;Ein einzelner sehr langer Verwendungszweck;;;\n"
      "Euro €;10070000;987651;;2,00;;;;\n"
      ";;;;;;;;\n"
      "Zeichen;10070000;987651;]x;2,00;ß é ½;\"\"\"q\"\"\";;  \n";
  // Each field unreadable once, a row too short, a text too long, a bad key.
  const std::string faulty = header +
                             "A;1007000x;;;1,00;x;;;\n"
                             ";10070000;12a;;;;;;5300\n"
                             "kurz;1;2\n"
                             "B;10070000;1;;abc;Dieser Zweck ist viel zu lang;zwei;;04000\n";
  for (const std::string& csv : {clean, faulty}) {
    const Booked straight = Book(csv, true);
    const Booked records = Book(csv, false);
    EXPECT_EQ(straight.errors, records.errors) << csv;
    EXPECT_EQ(straight.warnings, records.warnings) << csv;
    EXPECT_EQ(straight.content, records.content) << csv;
  }
  const Booked booked = Book(clean, true);
  EXPECT_TRUE(booked.errors.empty()) << booked.errors[0];
  EXPECT_EQ(booked.count, 5);
  EXPECT_EQ(booked.warnings.size(), 5u);
  EXPECT_EQ(Book(faulty, true).errors.size(), 11u);
}

// A blank line keeps its place, as the library's list keeps it, where the
// booking of texts would leave it out.
TEST(DtausRows, PurposeLinesBookedAsTextsAsTheListBooksThem) {
  const std::vector<std::vector<std::string>> purposes = {
      {},
      {"a", "b", "c"},
      {"a", "", "c"},
      {"", "b"},
      {"a", ""},
      {"  ", "b"},
      {"a", "]"},
      {"w", "x", "y", "z"},
      {"Ein einzelner sehr langer Verwendungszweck"}};
  zcli::Diagnostics errors;
  zcli::Diagnostics warnings;
  Recorded records;
  zcli::DtausRun run(Client(&records), true, errors, warnings);
  zor::TZorDTA list(nullptr);
  list.SetAuftraggeberName("Zor GmbH");
  list.SetAuftraggeberBLZ(37040044);
  list.SetAuftraggeberKontoNr(532013000);
  list.setDiskettenErstellDatum(zor::EncodeDate(2026, 12, 1));
  list.SetLeerzeilenBehalten(true);
  list.SetDTAFilename(zor::StringFromUtf8("DTAUS0.TXT"));
  list.Start();
  zcli::InputRecord record;
  for (std::size_t i = 0; i < purposes.size(); ++i) {
    record.Clear();
    record.where = "Buchung " + std::to_string(i + 1);
    record.Set("name", "Name");
    record.Set("konto", "1234567900");
    record.Set("blz", "50010517");
    record.Set("betrag", "1,00");
    zor::TStringList lines;
    for (const std::string& line : purposes[i]) {
      record.purpose.push_back(line);
      lines.Add(zor::StringFromUtf8(line == "]" ? "" : line));  // the tool leaves "]" out
    }
    run.Add(record);
    list.SetZahlungsschluessel("");
    list.Buchung("Name", 1234567900, 50010517, 1.0, lines);
  }
  EXPECT_TRUE(errors.Empty()) << Lines(errors)[0];
  EXPECT_EQ(records.content, list.DTAFileContent());
}

}  // namespace
