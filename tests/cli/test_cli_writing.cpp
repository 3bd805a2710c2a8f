// What a write leaves on disk: the files the user meant, or nothing. Run as a
// user (or a careless script) runs the tool.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <ktoblzcheck.h>

#include "../bankdata/BankCodeLines.h"
#include "CliRunner.h"

namespace {

namespace fs = std::filesystem;
using clitest::Example;
using clitest::Wait;
using clitest::Workspace;

std::vector<std::string> Write(const std::string& name, std::vector<std::string> more = {}) {
  std::vector<std::string> args{"dtaus",   "write",    "--csv", Example("cli/ueberweisungen.csv"),
                                "--name",  name,       "--blz", "37040044",
                                "--konto", "532013000"};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// Temporary files of the tool left in a folder.
std::vector<std::string> Leftovers(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp") != std::string::npos) names.push_back(name);
  }
  return names;
}

// The file a run reads when no --bankdaten is given: the newest blz_*.txt of
// the account-check library's data folder; empty when there is none.
fs::path DefaultBankCodeFile() {
  fs::path newest;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(AccountNumberCheck::bankdata_dir(), error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == 16 && name.starts_with("blz_") && name.ends_with(".txt") &&
        (newest.empty() || name > newest.filename().string())) {
      newest = entry.path();
    }
  }
  return newest;
}

constexpr const char* kIsInput = " ist eine Eingabe dieses Aufrufs; sie wird nie ersetzt.";

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(NeverReplace, FileNameIsANameNotAPath) {
  Workspace ws;
  fs::create_directories(ws / "out");
  for (const std::string& name :
       std::vector<std::string>{"../x", "a/b", (ws / "abs").string(), "..", ""}) {
    const auto r = ws.Run(Write("MUSTER", {"--verzeichnis", "out", "--dateiname", name}));
    EXPECT_EQ(r.exitCode, 2) << name << ": " << r.err;
    EXPECT_NE(r.err.find("ist kein Dateiname"), std::string::npos) << r.err;
  }
  ws.Write("job.json", R"({"art": "dtaus", "dateiname": "../job.dta",
    "auftraggeber": {"name": "MUSTER", "blz": 37040044, "konto": 532013000},
    "buchungen": [{"name": "A", "konto": 1234567, "blz": 50010517, "betrag": 10}]})");
  EXPECT_EQ(ws.Run({"dtaus", "write", "--job", "job.json", "--verzeichnis", "out"}).exitCode, 2);
  EXPECT_FALSE(ws.Exists("x"));
  EXPECT_FALSE(ws.Exists("abs"));
  EXPECT_FALSE(ws.Exists("job.dta"));
  EXPECT_TRUE(fs::is_empty(ws / "out"));
}

TEST(NeverReplace, SheetsDanglingLinksAndInputsAreExistingFiles) {
  Workspace ws;
  // A sheet of some earlier run stands where this run's sheet would go.
  ws.Write("DTAUS0.TXT.begleitzettel.pdf", "old sheet");
  auto r = ws.Run(Write("MUSTER"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(ws.Read("DTAUS0.TXT.begleitzettel.pdf"), "old sheet");
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT.begleitzettel.txt"));

  Workspace linked;
  fs::create_symlink(linked / "nowhere" / "bank.dta", linked / "DTAUS0.TXT");
  r = linked.Run(Write("MUSTER", {"--no-pdf"}));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(fs::is_symlink(linked / "DTAUS0.TXT"));
  EXPECT_FALSE(fs::exists(linked / "nowhere"));

  // The payments' own file is never the output, --overwrite or not.
  Workspace input;
  fs::copy_file(Example("cli/ueberweisungen.csv"), input / "zahlungen.csv");
  const std::string before = input.Read("zahlungen.csv");
  r = input.Run({"dtaus", "write", "--csv", "zahlungen.csv", "--name", "MUSTER", "--blz",
                 "37040044", "--konto", "532013000", "--dateiname", "zahlungen.csv", "--overwrite",
                 "--no-pdf", "--no-text"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(input.Read("zahlungen.csv"), before);
}

// The next run in the folder would remove such a file as a leftover of a killed run.
TEST(NeverReplace, ANameOfTheToolsTemporaryFilesIsRefused) {
  Workspace ws;
  for (const std::string name : {".zordta-4242-Ab12Cd.tmp", ".zordta-7-xYz123.tmp.old"}) {
    const auto r = ws.Run(Write("MUSTER", {"--dateiname", name}));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("--dateiname: „" + name + "“ hat die Form der temporären Dateien"),
              std::string::npos)
        << r.err;
  }
  ws.Write("job.json", R"({"art": "dtaus", "dateiname": ".zordta-4242-Ab12Cd.tmp",
    "auftraggeber": {"name": "MUSTER", "blz": 37040044, "konto": 532013000},
    "buchungen": [{"name": "A", "konto": 1234567, "blz": 50010517, "betrag": 10}]})");
  EXPECT_EQ(ws.Run({"dtaus", "write", "--job", "job.json"}).exitCode, 2);
  EXPECT_TRUE(Leftovers(ws.path()).empty());

  // A name merely like theirs is a name.
  ASSERT_EQ(ws.Run(Write("MUSTER", {"--dateiname", "zordta-4242-Ab12Cd.tmp", "--no-pdf"})).exitCode,
            0);
  EXPECT_EQ(
      ws.Run({"coversheet", "zordta-4242-Ab12Cd.tmp", "--pdf", ".zordta-4242-Ab12Cd.tmp"}).exitCode,
      2);
  EXPECT_FALSE(ws.Exists(".zordta-4242-Ab12Cd.tmp"));
}

// An input by another name (a hard or symbolic link) is the input still: the
// bank-code file given, and the one read when none is given.
TEST(NeverReplace, AnInputIsKnownByItsFileNotByItsName) {
  Workspace ws;
  ws.Write("blz.txt", banktest::Line(banktest::Bank{}));
  fs::create_hard_link(ws / "blz.txt", ws / "DTAUS0.TXT");
  auto r = ws.Run(Write("MUSTER", {"--bankdaten", "blz.txt", "--overwrite"}));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find(std::string("Die Datei ./DTAUS0.TXT") + kIsInput), std::string::npos)
      << r.err;
  EXPECT_EQ(fs::hard_link_count(ws / "blz.txt"), 2u);
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT.begleitzettel.txt"));

  const fs::path banks = DefaultBankCodeFile();
  if (banks.empty()) GTEST_SKIP() << "No bank-code file in " << AccountNumberCheck::bankdata_dir();
  Workspace standard;
  ASSERT_EQ(
      standard.Run(Write("MUSTER", {"--dateiname", "konv.dta", "--no-pdf", "--no-text"})).exitCode,
      0);
  fs::create_symlink(banks, standard / "DTAUS0.TXT");
  r = standard.Run(Write("MUSTER", {"--overwrite"}));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find(kIsInput), std::string::npos) << r.err;
  EXPECT_TRUE(fs::is_symlink(standard / "DTAUS0.TXT"));

  fs::create_symlink(banks, standard / "konv.xml");
  r = standard.Run({"sepa", "convert", "konv.dta", "--overwrite"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find(std::string("Die Datei ./konv.xml") + kIsInput), std::string::npos) << r.err;
  EXPECT_TRUE(fs::is_symlink(standard / "konv.xml"));
}

TEST(NeverReplace, CoverSheetPdfNeedsOverwriteAndIsNeverThePaymentFile) {
  Workspace ws;
  ASSERT_EQ(ws.Run(Write("MUSTER", {"--no-pdf", "--no-text"})).exitCode, 0);
  const std::string payments = ws.Read("DTAUS0.TXT");

  auto r = ws.Run({"coversheet", "DTAUS0.TXT", "--pdf", "DTAUS0.TXT", "--overwrite"});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  r = ws.Run({"coversheet", "./DTAUS0.TXT", "--pdf", "DTAUS0.TXT"});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_EQ(ws.Read("DTAUS0.TXT"), payments);

  ws.Write("sheet.pdf", "mine");
  EXPECT_EQ(ws.Run({"coversheet", "DTAUS0.TXT", "--pdf", "sheet.pdf"}).exitCode, 1);
  EXPECT_EQ(ws.Read("sheet.pdf"), "mine");
  EXPECT_EQ(ws.Run({"coversheet", "DTAUS0.TXT", "--pdf", "sheet.pdf", "--overwrite"}).exitCode, 0);
  EXPECT_EQ(ws.Read("sheet.pdf").substr(0, 5), "%PDF-");
}

TEST(NeverReplace, OverwriteKeepsPermissionsAndNewFilesFollowTheUmask) {
  Workspace ws;
  const mode_t saved = ::umask(027);
  const auto first = ws.Run(Write("MUSTER"));
  ::umask(saved);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(ModeOf(ws / "DTAUS0.TXT"), 0640u);
  EXPECT_EQ(ModeOf(ws / "DTAUS0.TXT.begleitzettel.pdf"), 0640u);

  fs::permissions(ws / "DTAUS0.TXT", fs::perms::owner_read | fs::perms::owner_write);
  const auto again = ws.Run(Write("ANDERE", {"--overwrite"}));
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(ModeOf(ws / "DTAUS0.TXT"), 0600u);
  EXPECT_NE(ws.Read("DTAUS0.TXT").find("ANDERE"), std::string::npos);
}

// Eight writers start at once for one target: one wins, seven are refused,
// and the file and its sheet are the winner's.
// Rounds of the race below: a start of the tool costs about seven times as much
// under AddressSanitizer, where the plain build's rounds were half the suite's time.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kWriterRounds = 10;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kWriterRounds = 10;
#else
constexpr int kWriterRounds = 50;
#endif
#else
constexpr int kWriterRounds = 50;
#endif

TEST(NeverReplace, OneOfEightConcurrentWritersWins) {
  Workspace ws;
  constexpr int kWriters = 8;
  constexpr int kRounds = kWriterRounds;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
      writers.push_back(ws.Start(Write("SCHREIBER " + std::to_string(w), {"--no-pdf"})));
    }
    int winner = -1;
    int wins = 0;
    for (int w = 0; w < kWriters; ++w) {
      const int code = Wait(writers[static_cast<std::size_t>(w)]);
      if (code == 0) {
        winner = w;
        ++wins;
      } else {
        EXPECT_EQ(code, 1) << "round " << round;
      }
    }
    ASSERT_EQ(wins, 1) << "round " << round;
    const std::string name = "SCHREIBER " + std::to_string(winner);
    EXPECT_EQ(ws.Read("DTAUS0.TXT").substr(23, name.size()), name) << "round " << round;
    EXPECT_NE(ws.Read("DTAUS0.TXT.begleitzettel.txt").find("Absender: " + name), std::string::npos)
        << "round " << round;
    EXPECT_TRUE(Leftovers(ws.path()).empty()) << "round " << round;
    fs::remove(ws / "DTAUS0.TXT");
    fs::remove(ws / "DTAUS0.TXT.begleitzettel.txt");
  }
}

TEST(AllOrNothing, ASheetThatCannotBeWrittenKeepsTheOldRunWhole) {
  Workspace ws;
  ASSERT_EQ(ws.Run(Write("ERSTER LAUF")).exitCode, 0);
  const std::string oldFile = ws.Read("DTAUS0.TXT");
  const std::string oldPdf = ws.Read("DTAUS0.TXT.begleitzettel.pdf");
  // The text sheet's place is taken by a folder: this run cannot complete.
  fs::remove(ws / "DTAUS0.TXT.begleitzettel.txt");
  fs::create_directory(ws / "DTAUS0.TXT.begleitzettel.txt");

  const auto r = ws.Run(Write("ZWEITER LAUF", {"--overwrite"}));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("Nichts geschrieben"), std::string::npos) << r.err;
  EXPECT_EQ(ws.Read("DTAUS0.TXT"), oldFile);
  EXPECT_EQ(ws.Read("DTAUS0.TXT.begleitzettel.pdf"), oldPdf);
  EXPECT_TRUE(Leftovers(ws.path()).empty());
}

TEST(CheckedWrites, AFullStandardOutputIsAFault) {
  Workspace ws;
  ASSERT_EQ(ws.Run(Write("MUSTER", {"--no-pdf", "--no-text"})).exitCode, 0);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"dtaus", "read", "DTAUS0.TXT"},
        {"dtaus", "read", "DTAUS0.TXT", "--format", "csv"},
        {"coversheet", "DTAUS0.TXT"},
        {"iban", "check", "DE89370400440532013000"}}) {
    const auto r = ws.Run(args, "", "/dev/full");
    EXPECT_EQ(r.exitCode, 1) << args[0] << " " << args[1];
    EXPECT_NE(r.err.find("Die Ausgabe kann nicht geschrieben werden: Der Datenträger ist voll."),
              std::string::npos)
        << r.err;
  }
  // The files stand; only the report is lost: 3, not 1 (which means nothing was written).
  const auto r = ws.Run(Write("MUSTER", {"--dateiname", "ZWEI.TXT"}), "", "/dev/full");
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_TRUE(ws.Exists("ZWEI.TXT"));
}

// Enough payments that the write takes a moment, so a signal can meet it.
void WriteLargeCsv(const Workspace& ws, int rows) {
  std::ofstream csv(ws / "gross.csv");
  csv << "name,konto,blz,betrag,verwendungszweck1\n";
  for (int i = 0; i < rows; ++i) {
    csv << "Empfaenger " << i << ",1234567," << 50010517 << ",1.00,Rechnung " << i << "\n";
  }
}

// The payment file is written while its payments are booked: a fault in the
// last row leaves nothing behind, and a folder that did not exist is made only
// for a run that writes, with the same file as a run into an existing one.
TEST(AllOrNothing, AStreamedFileIsCommittedOnlyWhenEveryRowIsClean) {
  Workspace ws;
  WriteLargeCsv(ws, 2000);
  {
    std::ofstream csv(ws / "gross.csv", std::ios::app);
    csv << "Empfaenger X,1234567,50010517,0.50,Zu wenig\n";
  }
  const std::vector<std::string> args{"dtaus",   "write",     "--csv",   "gross.csv",
                                      "--name",  "MUSTER",    "--blz",   "37040044",
                                      "--konto", "532013000", "--no-pdf"};
  auto more = [&args](std::vector<std::string> extra) {
    extra.insert(extra.begin(), args.begin(), args.end());
    return extra;
  };
  const auto bad = ws.Run(more({"--verzeichnis", "neu"}));
  EXPECT_EQ(bad.exitCode, 1) << bad.err;
  EXPECT_FALSE(ws.Exists("neu"));
  const auto badHere = ws.Run(args);
  EXPECT_EQ(badHere.exitCode, 1) << badHere.err;
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  EXPECT_TRUE(Leftovers(ws.path()).empty());

  WriteLargeCsv(ws, 2000);
  ASSERT_EQ(ws.Run(args).exitCode, 0);
  ASSERT_EQ(ws.Run(more({"--verzeichnis", "neu"})).exitCode, 0);
  EXPECT_EQ(ws.Read("neu/DTAUS0.TXT"), ws.Read("DTAUS0.TXT"));
  EXPECT_EQ(ws.Read("neu/DTAUS0.TXT").size(), 128u + 2000u * 256u + 128u);
  EXPECT_TRUE(Leftovers(ws.path()).empty());
}

TEST(InterruptedWrites, SignalsLeaveNoTemporaryFiles) {
  for (const int signal : {SIGINT, SIGTERM}) {
    Workspace ws;
    WriteLargeCsv(ws, 60000);
    const pid_t writer = ws.Start({"dtaus", "write", "--csv", "gross.csv", "--name", "MUSTER",
                                   "--blz", "37040044", "--konto", "532013000", "--no-pdf"});
    // Wait for the run's first temporary file, then interrupt it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Leftovers(ws.path()).empty() && std::chrono::steady_clock::now() < deadline &&
           !ws.Exists("DTAUS0.TXT")) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(writer, signal);
    const int code = Wait(writer);
    EXPECT_TRUE(code == 128 + signal || code == 0) << code;
    EXPECT_TRUE(Leftovers(ws.path()).empty()) << Leftovers(ws.path()).front();
    // Interrupted in the commit, it finishes the commit: all files or none.
    EXPECT_EQ(ws.Exists("DTAUS0.TXT"), ws.Exists("DTAUS0.TXT.begleitzettel.txt"));
  }
}

TEST(InterruptedWrites, TheNextWriteRemovesFilesOfAKilledRun) {
  Workspace ws;
  // A process that has ended: its pid is free.
  const pid_t gone = ::fork();
  if (gone == 0) _exit(0);
  Wait(gone);
  const std::string stale = ".zordta-" + std::to_string(gone) + "-Ab12Cd.tmp";
  const std::string living = ".zordta-" + std::to_string(::getpid()) + "-Ef34Gh.tmp";
  ws.Write(stale, "half a file");
  ws.Write(living, "still being written");
  ws.Write("notes.tmp", "not ours");

  ASSERT_EQ(ws.Run(Write("MUSTER", {"--no-pdf"})).exitCode, 0);
  EXPECT_FALSE(ws.Exists(stale));
  EXPECT_TRUE(ws.Exists(living));
  EXPECT_TRUE(ws.Exists("notes.tmp"));
}

}  // namespace
