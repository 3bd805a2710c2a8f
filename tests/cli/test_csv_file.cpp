// A CSV file read in blocks, pass after pass: the same rows, lines and faults as
// its whole text gives, and a file that changes between passes is caught.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "io/CsvFile.h"
#include "io/CsvReadAhead.h"
#include "io/CsvReader.h"

namespace {

using clitest::Workspace;

struct Read {
  std::vector<std::string> rows;  // "line|cell|cell..."
  std::vector<std::string> faults;
  bool readable = true;
};

std::function<bool(const zcli::CsvRow&)> Collect(Read& read) {
  return [&read](const zcli::CsvRow& row) {
    std::string text = std::to_string(row.line);
    for (const std::string_view cell : row.cells) (text += "|") += cell;
    read.rows.push_back(text);
    return true;
  };
}

void Keep(Read& read, const zcli::Diagnostics& errors) {
  for (const zcli::Diagnostic& d : errors.Items()) {
    read.faults.push_back(d.where + "|" + d.field + "|" + d.message);
  }
}

Read WholeText(const std::string& text) {
  Read read;
  zcli::Diagnostics errors;
  read.readable = zcli::ReadCsvRows(text, ',', errors, Collect(read));
  Keep(read, errors);
  return read;
}

Read InBlocks(const std::filesystem::path& path, std::size_t blockSize) {
  Read read;
  zcli::LineBlocks blocks(path.string(), blockSize);
  const zcli::CsvFile file(path.string(), blocks, ',', blockSize);
  zcli::Diagnostics errors;
  read.readable = file.ReadRows(errors, Collect(read)) == zcli::CsvFile::Pass::Complete;
  Keep(read, errors);
  return read;
}

TEST(CsvFile, BlocksGiveTheRowsLinesAndFaultsOfTheWholeText) {
  const std::string longCell(300, 'x');
  const std::string good =
      "\xEF\xBB\xBFname,vwz1,vwz2\r\n"
      "A,\"eins\r\nzwei\nund \xC5\x81\",x\n"  // a quoted field over three lines, Ł on the third
      "\n"
      "B," +
      longCell +
      ",y\n"  // a line longer than a block
      "C,\"\",\"a\"\"b\nc\"\n"
      "D,kurz\n"               // one field short
      "E,\xE2\x82\xAC,\"z\"";  // no final line break
  const std::vector<std::string> broken = {
      good + "\nF,\"offen\n",      // a quoted field never closed
      good + "\nG,x\"y\",z\n",     // a quote inside a field
      good + "\nH,M\xFCller,z\n",  // not UTF-8, found before any row is taken
      // Lines ending in a CR alone, as old Mac programs write them, and a fault after them.
      "name,vwz1\rA,\"x\ry\"\r\nB,z\rC,\xE2\x82\xAC\xC5\x81\r",
      "name,vwz1\rA,x\rB,\xFF\r\n",
  };
  Workspace ws;
  std::vector<std::string> texts = broken;
  texts.insert(texts.begin(), good);
  for (const std::string& text : texts) {
    ws.Write("z.csv", text);
    const Read whole = WholeText(text);
    for (const std::size_t blockSize : {1u, 5u, 16u, 64u, 4096u}) {
      const Read blocks = InBlocks(ws / "z.csv", blockSize);
      EXPECT_EQ(blocks.rows, whole.rows) << blockSize;
      EXPECT_EQ(blocks.faults, whole.faults) << blockSize;
      EXPECT_EQ(blocks.readable, whole.readable) << blockSize;
    }
  }
  // What the comparison stands on.
  const Read whole = WholeText(good);
  ASSERT_EQ(whole.rows.size(), 6u);
  EXPECT_EQ(whole.rows[1], "2|A|eins\r\nzwei\nund \xC5\x81|x");
  EXPECT_EQ(whole.rows[2], "6|B|" + longCell + "|y");
  EXPECT_EQ(whole.rows[5], "10|E|\xE2\x82\xAC|z");
  ASSERT_EQ(whole.faults.size(), 1u);
  EXPECT_EQ(whole.faults[0], "Zeile 4|vwz1|Spalte 5: „Ł“ (U+0141) gibt es in Windows-1252 nicht.");
}

TEST(CsvFile, AFileThatChangedBetweenPassesIsRefused) {
  const std::string text = "name,betrag\nA,1.00\nB,2.00\n";
  const auto edits = std::vector<std::function<void(const Workspace&)>>{
      [](const Workspace& ws) { ws.Write("z.csv", "name,betrag\nA,1.00\nB,2.00\nC,3.00\n"); },
      [](const Workspace& ws) { ws.Write("z.csv", "name,betrag\nA,1.00\n"); },
      // The same size and, set back, the same time: only the bytes tell.
      [](const Workspace& ws) {
        const auto time = std::filesystem::last_write_time(ws / "z.csv");
        ws.Write("z.csv", "name,betrag\nA,9.00\nB,2.00\n");
        std::filesystem::last_write_time(ws / "z.csv", time);
      },
  };
  for (const auto& edit : edits) {
    Workspace ws;
    ws.Write("z.csv", text);
    const std::string path = (ws / "z.csv").string();
    zcli::LineBlocks blocks(path);
    const zcli::CsvFile file(path, blocks, 0);
    Read first;
    zcli::Diagnostics errors;
    ASSERT_EQ(file.ReadRows(errors, Collect(first)), zcli::CsvFile::Pass::Complete);
    ASSERT_TRUE(errors.Empty());

    edit(ws);
    Read second;
    EXPECT_EQ(file.ReadRows(errors, Collect(second)), zcli::CsvFile::Pass::Changed);
    Keep(second, errors);
    EXPECT_EQ(second.faults,
              (std::vector<std::string>{std::string("CSV||") + zcli::kCsvChangedMessage}));
  }
}

// Split on a thread of their own: the rows that caller's thread takes, with their
// places, and the faults, are those of a reading on the caller's thread.
TEST(CsvFile, RowsReadAheadAreThoseReadInPlace) {
  // Rows of a few batches, among them some of the wrong width, a blank one, a
  // quoted cell over two lines and a character Windows-1252 lacks.
  std::string text = "name,vwz1\n";
  for (int i = 0; i < 1500; ++i) {
    if (i % 97 == 5) {
      text += "kurz\n";
    } else if (i == 700) {
      text += "\"Zwei\nZeilen\",x\n";
    } else if (i == 800) {
      text += "\n";
    } else {
      text += "N" + std::to_string(i) + (i == 1200 ? ",\xC5\x81\n" : ",v\n");
    }
  }
  Workspace ws;
  ws.Write("z.csv", text);
  const std::string path = (ws / "z.csv").string();
  zcli::LineBlocks blocks(path);
  const zcli::CsvFile file(path, blocks, ',');
  const zcli::RowSorter sort = [](const zcli::CsvRow& row, std::string& where,
                                  zcli::Diagnostics& errors) {
    if (row.cells.size() == 1 && row.cells[0].empty()) return zcli::RowFate::Skip;
    where = "Zeile " + std::to_string(row.line);
    if (row.cells.size() == 2) return zcli::RowFate::Take;
    errors.Add(where, "", "Breite");
    return zcli::RowFate::Skip;
  };
  Read inPlace;
  zcli::Diagnostics inPlaceErrors;
  file.ReadRows(inPlaceErrors, [&](const zcli::CsvRow& row) {
    std::string where;
    if (sort(row, where, inPlaceErrors) == zcli::RowFate::Take) Collect(inPlace)(row);
    return true;
  });
  Keep(inPlace, inPlaceErrors);
  ASSERT_EQ(inPlace.rows.size(), 1500u - 16u);
  ASSERT_EQ(inPlace.faults.size(), 16u + 2u);  // the widths, the line break, the Ł

  Read ahead;
  zcli::Diagnostics aheadErrors;
  // What is prepared on the reading thread comes with its own row.
  const zcli::RowPreparer prepare = [](const zcli::CsvRow& row, zcli::PreparedRow& prepared) {
    prepared.bankCode = row.line;
  };
  EXPECT_EQ(zcli::ReadRowsAhead(
                file, aheadErrors, sort, prepare,
                [&](const zcli::CsvRow& row, const std::string& where,
                    const zcli::PreparedRow* prepared) {
                  EXPECT_EQ(where, "Zeile " + std::to_string(row.line));
                  ASSERT_NE(prepared, nullptr);
                  EXPECT_EQ(prepared->bankCode, row.line);
                  Collect(ahead)(row);
                },
                zcli::CsvReading::First),
            zcli::CsvFile::Pass::Complete);
  Keep(ahead, aheadErrors);
  EXPECT_EQ(ahead.rows, inPlace.rows);
  EXPECT_EQ(ahead.faults, inPlace.faults);

  // A caller that fails ends the reading, and its failure reaches it.
  std::size_t taken = 0;
  zcli::Diagnostics ignored;
  EXPECT_THROW(zcli::ReadRowsAhead(
                   file, ignored, sort, {},
                   [&](const zcli::CsvRow&, const std::string&, const zcli::PreparedRow*) {
                     if (++taken == 600) throw std::runtime_error("voll");
                   },
                   zcli::CsvReading::First),
               std::runtime_error);
  EXPECT_EQ(taken, 600u);
}

}  // namespace
