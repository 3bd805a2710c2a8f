// What zordta takes as input: each value once and as written, bad input
// refused in time linear in its size, and odd inputs (folders, pipes,
// standard input) named clearly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "CliRunner.h"

namespace {

using clitest::Workspace;

const std::vector<std::string> kClient = {"--name",   "Zor GmbH", "--blz",
                                          "37040044", "--konto",  "532013000"};

std::vector<std::string> Args(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

TEST(InputTakenOnce, AKeyGivenTwiceInAJobIsRefusedWhereTheSecondStands) {
  Workspace ws;
  const std::string client =
      R"("auftraggeber": {"name": "A", "blz": 37040044, "konto": 532013000})";
  const std::string payment = R"({"name": "B", "konto": 1234567900, "blz": 50010517, "betrag": 1})";
  const std::pair<std::string, std::string> cases[] = {
      // 1000 euros were booked instead of 1.
      {"{" + client + R"(, "buchungen": [
  {"name": "B", "konto": 1234567900, "blz": 50010517, "betrag": 1, "betrag": 1000}]})",
       "Zeile 2, Spalte 68: Der Schlüssel „betrag“"},
      // The first list was dropped.
      {"{" + client + ", \"buchungen\": [" + payment + "],\n\"buchungen\": [" + payment + "]}",
       "Zeile 2, Spalte 1: Der Schlüssel „buchungen“"},
  };
  for (const auto& [job, where] : cases) {
    ws.Write("z.json", job);
    const auto r = ws.Run({"dtaus", "write", "--job", "z.json", "--no-pdf"});
    EXPECT_EQ(r.exitCode, 1) << job;
    EXPECT_EQ(FirstLine(r.err),
              "z.json: JSON: " + where + " steht in diesem Objekt schon weiter oben.");
    EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  }
}

TEST(InputTakenOnce, ControlCharactersAreRefusedWhereverTextComesFrom) {
  Workspace ws;
  ws.Write("z.csv",
           "name,konto,blz,betrag,verwendungszweck\r\n"
           "Anna,1234567900,50010517,1,\"Rechnung 1\r\nKunde 7\"\r\n");
  // A line break in an option would add lines of its own to the cover sheet.
  const auto option =
      ws.Run({"dtaus", "write", "--csv", "z.csv", "--name", "Zor\nAnzahl Datensätze C: 999",
              "--blz", "37040044", "--konto", "532013000"});
  EXPECT_EQ(option.exitCode, 2);
  EXPECT_NE(option.err.find("--name: Zeichen 4: Zeilenumbruch (U+000A) ist nicht erlaubt."),
            std::string::npos)
      << option.err;
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT.begleitzettel.txt"));

  // The line break of a purpose cell still separates its lines.
  const auto good = ws.Run(Args({"dtaus", "write", "--csv", "z.csv", "--no-pdf"}, kClient));
  ASSERT_EQ(good.exitCode, 0) << good.err;
  const auto read = ws.Run({"dtaus", "read", "DTAUS0.TXT", "--format", "csv"});
  EXPECT_NE(read.out.find(",RECHNUNG 1,KUNDE 7\r\n"), std::string::npos) << read.out;

  ws.Write("bad.csv",
           "name,konto,blz,betrag,verwendungszweck\n"
           "\"Anna\t\",1234567900,50010517,1,\"eins\rzwei\"\n");
  const auto csv = ws.Run(Args({"dtaus", "write", "--csv", "bad.csv", "--dry-run"}, kClient));
  EXPECT_EQ(csv.exitCode, 1);
  EXPECT_EQ(csv.err,
            "bad.csv: Zeile 2, Feld name: Spalte 6: Tabulator (U+0009) ist nicht erlaubt.\n"
            "bad.csv: Zeile 2, Feld verwendungszweck: Spalte 36: Wagenrücklauf (U+000D) ist nicht "
            "erlaubt.\n"
            "Nichts geschrieben: 2 Fehler.\n");

  ws.Write("z.json", R"({"auftraggeber": {"name": "A", "blz": 37040044, "konto": 532013000},
    "buchungen": [{"name": "B", "konto": 1234567900, "blz": 50010517, "betrag": 1,
                   "verwendungszweck": "eins\nzwei"}]})");
  const auto job = ws.Run({"dtaus", "write", "--job", "z.json", "--dry-run"});
  EXPECT_EQ(job.exitCode, 1);
  EXPECT_EQ(FirstLine(job.err),
            "z.json: Buchung 1, Feld verwendungszweck1: Zeichen 5: Zeilenumbruch (U+000A) ist "
            "nicht erlaubt. Mehrere Zeilen stehen als Liste im Verwendungszweck.");
}

TEST(LinearTimeOnBadInput, OnlyTheFirstHundredFaultsArePrintedWithTheCountOfAll) {
  Workspace ws;
  std::string bad = "name,konto,blz,betrag\n";
  std::string odd = bad;
  for (int i = 0; i < 300; ++i) {
    bad += "Łukasz,1234567900,50010517,1\n";
    odd += "Anna #" + std::to_string(i) + ",1234567900,50010517,1\n";  // "#" is dropped
  }
  ws.Write("bad.csv", bad);
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "bad.csv"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  const std::vector<std::string> lines = LinesOf(r.err);
  ASSERT_EQ(lines.size(), 102u) << r.err.substr(0, 2000);
  EXPECT_EQ(lines[0].rfind("bad.csv: Zeile 2,", 0), 0u);
  EXPECT_EQ(lines[99].rfind("bad.csv: Zeile 101,", 0), 0u);
  EXPECT_EQ(lines[100], "… und 200 weitere Fehler.");
  EXPECT_EQ(lines[101], "Nichts geschrieben: 300 Fehler.");

  ws.Write("odd.csv", odd);
  const auto warned = ws.Run(Args({"dtaus", "write", "--csv", "odd.csv", "--dry-run"}, kClient));
  EXPECT_EQ(warned.exitCode, 0) << warned.err.substr(0, 2000);
  const std::vector<std::string> warnings = LinesOf(warned.err);
  ASSERT_EQ(warnings.size(), 101u) << warned.err.substr(0, 2000);
  EXPECT_EQ(warnings[99].rfind("Warnung: odd.csv: Zeile 101,", 0), 0u);
  EXPECT_EQ(warnings[100], "… und 200 weitere Warnungen.");
}

// Only the errors printed are kept: a row's character fault, found apart and
// added after all the rows' own faults, still comes first at its row, and the
// faults beyond the cut are counted one by one.
TEST(LinearTimeOnBadInput, FaultsOfTwoSourcesComeInRowOrderPastTheCut) {
  Workspace ws;
  std::string bad = "name,konto,blz,betrag\n";
  for (int i = 0; i < 300; ++i)
    bad += (i % 2 ? "Łukasz,x," : "Łukasz,1234567900,") + std::string("50010517,1\n");
  ws.Write("bad.csv", bad);
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "bad.csv", "--dry-run"}, kClient));
  EXPECT_EQ(r.exitCode, 1);
  const std::vector<std::string> lines = LinesOf(r.err);
  ASSERT_EQ(lines.size(), 102u) << r.err.substr(0, 2000);
  EXPECT_EQ(lines[1],
            "bad.csv: Zeile 3, Feld name: Spalte 1: „Ł“ (U+0141) gibt es in Windows-1252 nicht.");
  EXPECT_EQ(lines[2], "bad.csv: Zeile 3, Feld konto: „x“ ist keine Kontonummer (nur Ziffern).");
  EXPECT_EQ(lines[99].rfind("bad.csv: Zeile 68, Feld name:", 0), 0u) << lines[99];
  EXPECT_EQ(lines[100], "… und 350 weitere Fehler.");
  EXPECT_EQ(lines[101], "Nichts geschrieben: 450 Fehler.");
}

TEST(OddInputs, StandardInputAndPipesAreReadOnceAndNamed) {
  Workspace ws;
  const std::string csv = "name,konto,blz,betrag\nAnna,1234567900,50010517,1\nBen,x,50010517,2\n";
  const auto r = ws.Run(Args({"dtaus", "write", "--csv", "-"}, kClient), csv);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(FirstLine(r.err),
            "Standardeingabe: Zeile 3, Feld konto: „x“ ist keine Kontonummer (nur Ziffern).");

  ws.Write("job.json", R"({"auftraggeber": {"name": "A", "blz": 37040044, "konto": 532013000}})");
  const auto job = ws.Run({"dtaus", "write", "--job", "-", "--csv", "-"}, csv);
  EXPECT_EQ(job.exitCode, 2);
  EXPECT_EQ(job.err.rfind("Fehler: ", 0), 0u) << job.err;

  // A pipe path (bash's process substitution), read once although a numbered
  // run checks all payments before it books them again.
  ws.Write("good.csv", "name,konto,blz,betrag\nAnna,1234567900,50010517,1\n");
  const std::string command = "cd '" + ws.path().string() + "' && XDG_CONFIG_HOME=.config '" +
                              clitest::Binary() +
                              "' dtaus write --job <(cat job.json) --csv <(cat good.csv)"
                              " --zentralbank --no-pdf --no-text >/dev/null 2>&1";
  EXPECT_EQ(std::system(("bash -c \"" + command + "\"").c_str()), 0);
  EXPECT_EQ(ws.Read("DTAUS0.TXT").size(), 128u + 256 + 128);
}

TEST(OddInputs, FoldersAndUnreadableFilesAreNamedWithTheReason) {
  Workspace ws;
  ws.Write("ordner/x", "");
  const auto folder = ws.Run(Args({"dtaus", "write", "--csv", "ordner"}, kClient));
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_EQ(folder.err,
            "Fehler: Die Datei ordner kann nicht gelesen werden: Das ist ein "
            "Verzeichnis.\n");
  const auto job = ws.Run({"dtazv", "write", "--job", "ordner"});
  EXPECT_EQ(job.exitCode, 1);
  EXPECT_EQ(FirstLine(job.err), FirstLine(folder.err));

  const auto missing = ws.Run({"dtaus", "write", "--job", "fehlt.json"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err,
            "Fehler: Die Datei fehlt.json kann nicht gelesen werden: Datei oder "
            "Verzeichnis nicht gefunden.\n");
}

}  // namespace
