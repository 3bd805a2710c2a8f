// The domestic writer's own behaviour: setters, checks, purpose-line
// preparation, control sums, and the guarantees that hold whatever the
// caller's settings are.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dtaus/WriterFixture.h"
#include "support/PlainList.h"
#include "zordta/host/FileSystem.h"

namespace {

using zortest::MessageBoxRecorder;
using zortest::SetLines;
using zortest::WriterTest;

constexpr std::size_t kC = 128;  // the first C record starts after the A record

TEST_F(WriterTest, DebitOrderImpliesDebitsAndBackAgain) {
  dta.SetAbbuchungsauftrag(true);
  EXPECT_TRUE(dta.Lastschriften());
  dta.SetLastschriften(false);
  EXPECT_FALSE(dta.Abbuchungsauftrag());
  dta.SetLastschriften(true);
  EXPECT_FALSE(dta.Abbuchungsauftrag());
}

TEST_F(WriterTest, PaymentKeyIsStoredTrimmedOrNotAtAll) {
  dta.SetZahlungsschluessel("051");
  EXPECT_EQ(dta.Zahlungsschluessel(), "");
  dta.SetZahlungsschluessel("05000");
  EXPECT_EQ(dta.Zahlungsschluessel(), "05000");
  dta.SetZahlungsschluessel(" \t04000  ");
  EXPECT_EQ(dta.Zahlungsschluessel(), "04000");
  dta.SetZahlungsschluessel("0500000");
  EXPECT_EQ(dta.Zahlungsschluessel(), "");
}

TEST_F(WriterTest, FileDateFollowsTodayUntilTheCallerSetsIt) {
  EXPECT_EQ(dta.DiskettenErstellDatum(), zortest::kTestToday);
  clock.Set(zortest::kTestToday + 3.2);
  dta.Start();
  EXPECT_EQ(dta.DiskettenErstellDatum(), zortest::kTestToday + 3);
  dta.Finish();

  dta.setDiskettenErstellDatum(zor::EncodeDate(2027, 1, 5));
  clock.Set(zortest::kTestToday + 5.5);
  dta.Start();
  EXPECT_EQ(dta.DiskettenErstellDatum(), zor::EncodeDate(2027, 1, 5));
  EXPECT_EQ(dta.DTAFileContent().substr(50, 6), "050127");
}

TEST_F(WriterTest, PurposeListIsPreparedInTheCallersList) {
  dta.Start();
  zor::TStringList lines;

  SetLines(lines, {"Rechnung 1", " \t ", "Kunde 7"});
  BookValid(lines);
  ASSERT_EQ(lines.Count(), 2) << "the blank middle line is gone";
  EXPECT_EQ(lines.Strings(0), ZT("RECHNUNG 1"));
  EXPECT_EQ(lines.Strings(1), ZT("KUNDE 7"));

  SetLines(lines, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwx"});
  BookValid(lines);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Strings(0), ZT("ABCDEFGHIJKLMNOPQRSTUVWXYZ0"));
  EXPECT_EQ(lines.Strings(1), ZT("123456789ABCDEFGHIJKLMNOPQR"));
  EXPECT_EQ(lines.Strings(2), ZT("STUVWX"));

  SetLines(lines, {"  sechsundzwanzig Zeichen  "});  // 27 with blanks: one line, trimmed
  BookValid(lines);
  ASSERT_EQ(lines.Count(), 1);
  EXPECT_EQ(lines.Strings(0), ZT("SECHSUNDZWANZIG ZEICHEN"));

  SetLines(lines, {});
  BookValid(lines);
  ASSERT_EQ(lines.Count(), 1);
  EXPECT_EQ(lines.Strings(0), ZT(""));
}

// A list that lends no lines of its own is read through the copying default
// and prepared in place like the string list.
TEST_F(WriterTest, PurposeListOfAnyKindIsPreparedAlike) {
  dta.Start();
  zortest::PlainList plain;
  zor::TStringList list;
  for (zor::TStrings* lines :
       {static_cast<zor::TStrings*>(&plain), static_cast<zor::TStrings*>(&list)}) {
    for (const char* line : {"Rechnung 1", " \t ", "Kunde 7", "Müller"}) lines->Add(ZT(line));
    BookValid(*lines);
    EXPECT_EQ(lines->Text(), ZT("RECHNUNG 1\r\nKUNDE 7\r\nM]LLER\r\n"));
  }
  const auto content = dta.DTAFileContent();
  EXPECT_EQ(content.substr(kC, 256), content.substr(kC + 256, 256));
}

TEST_F(WriterTest, ThreeTextBookingLeavesOutEmptyTexts) {
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("Erste"), "", ZA("Dritte"));
  const auto content = dta.DTAFileContent();
  EXPECT_EQ(content.substr(kC, 5), "0216C");
  EXPECT_EQ(content.substr(kC + 155, 27), "ERSTE                      ");
  EXPECT_EQ(content.substr(kC + 185, 2), "01");
  EXPECT_EQ(content.substr(kC + 187, 29), "02DRITTE                     ");
}

TEST_F(WriterTest, ThreeTextBookingsInARowMatchFreshListsOfTheSameLines) {
  // Each booking's lines must be its own, whatever the one before held.
  const std::vector<std::array<const char*, 3>> bookings = {
      {"Eins", "Zwei", "Drei"},
      {"Nur eine", "", ""},
      {"", "", ""},
      {"A", "", "C"},
      {"Eine sehr lange Zeile, die geteilt wird", "", ""},
      {"  ", "B", ""},
      {"x", "y", "z"}};
  zor::TZorDTA reference(nullptr);
  reference.SetAuftraggeberName(ZA("Muster GmbH"));
  reference.SetAuftraggeberBLZ(37040044);
  reference.SetAuftraggeberKontoNr(532013000);
  dta.Start();
  reference.Start();
  for (const auto& lines : bookings) {
    dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA(lines[0]), ZA(lines[1]), ZA(lines[2]));
    zor::TStringList fresh;
    fresh.Add(ZT(lines[0]));
    if (*lines[1]) fresh.Add(ZT(lines[1]));
    if (*lines[2]) fresh.Add(ZT(lines[2]));
    reference.Buchung(ZA("Max"), 1234567890, 50010517, 10, fresh);
  }
  EXPECT_EQ(dta.DTAFileContent(), reference.DTAFileContent());
}

// The three-text Buchung prepares its texts as bytes, beside the list
// overload: the list is the reference for every byte, blank and control-only
// texts, line breaks, the lengths around the split, both file kinds and both
// blank-line settings, and for the messages of failed checks.
TEST_F(WriterTest, ThreeTextBookingMatchesTheListOverload) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::vector<std::array<std::string, 3>> bookings = {
      {everyByte.substr(0, 60), everyByte.substr(100, 80), everyByte.substr(180)},
      {"\t\r\n", "\x81\x8D\x8F\x90\x9D", " \x1F "},
      {"a\r\nb", "", ""},
      {std::string(25, 'x'), "", ""},
      {std::string(26, 'y'), "", ""},
      {"\t", std::string(40, 'z'), ""},
      {"abcdefghijklmnopqrstuvwxyz\r\n0123", "", ""},
      {"M\xFCller \xC4\xD6\xDC\xDF [\\]~ \x8E\x99\x9A\xE1", "\xA0\xFF", "x"},
      {"", "", ""},
      {" ", "", "  "}};
  const auto start = [](zor::TZorDTA& writer, const char* fileName, bool keepBlank) {
    writer.SetAuftraggeberName(ZA("Muster GmbH"));
    writer.SetAuftraggeberBLZ(37040044);
    writer.SetAuftraggeberKontoNr(532013000);
    writer.SetDTAFilename(ZT(fileName));
    writer.SetLeerzeilenBehalten(keepBlank);
    writer.SetShowWarnings(true);
    writer.Start();
  };
  for (const bool keepBlank : {false, true}) {
    for (const char* fileName : {"DTAUS0.TXT", "LASTSCHRIFT.TXT"}) {
      SCOPED_TRACE(std::string(fileName) + (keepBlank ? " keeping blank lines" : ""));
      zor::TZorDTA bytes(nullptr);
      zor::TZorDTA list(nullptr);
      MessageBoxRecorder bytesBoxes;
      start(bytes, fileName, keepBlank);
      for (const auto& t : bookings) {
        bytes.Buchung(ZA("Max"), 1234567890, 50010517, 10, t[0], t[1], t[2]);
        bytes.Buchung("", 99, 123, 0.5, t[0], t[1], t[2]);
        bytes.Buchung(ZA("Max"), 1234567890, 100000000, 10, t[0], t[1], t[2]);
      }
      const auto messages = bytesBoxes.boxes();
      MessageBoxRecorder listBoxes;
      start(list, fileName, keepBlank);
      for (const auto& t : bookings) {
        zor::TStringList given;
        given.Add(zor::AnsiToString(t[0]));
        if (!t[1].empty()) given.Add(zor::AnsiToString(t[1]));
        if (!t[2].empty()) given.Add(zor::AnsiToString(t[2]));
        zor::TStringList lines;  // changed in place by each booking
        lines.Assign(given);
        list.Buchung(ZA("Max"), 1234567890, 50010517, 10, lines);
        lines.Assign(given);
        list.Buchung("", 99, 123, 0.5, lines);
        lines.Assign(given);
        list.Buchung(ZA("Max"), 1234567890, 100000000, 10, lines);
      }
      EXPECT_TRUE(zortest::SameBytes(list.DTAFileContent(), bytes.DTAFileContent()));
      ASSERT_EQ(listBoxes.boxes().size(), messages.size());
      for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(listBoxes.boxes()[i].text, messages[i].text) << "message " << i;
      }
    }
  }
}

TEST_F(WriterTest, SumsCoverThePaymentsNotTheClient) {
  dta.Start();
  dta.Buchung(ZA("A"), 1234567890, 50010517, 12.125, ZA("x"), "", "");
  dta.Buchung(ZA("B"), 987654, 10020030, 0.1 + 0.2 + 1, ZA("y"), "", "");
  EXPECT_EQ(dta.AnzahlBuchungen(), 2);
  EXPECT_EQ(dta.SummeKontonummer(), 1234567890 + 987654);
  EXPECT_EQ(dta.SummeBLZ(), 50010517 + 10020030);
  EXPECT_EQ(dta.SummeBetragCent(), 1213 + 130);
  EXPECT_DOUBLE_EQ(dta.SummeBetrag(), 13.43);
  dta.Finish();
  EXPECT_EQ(dta.AnzahlBuchungen(), 2) << "the figures stay readable after Finish";
  dta.Start();
  EXPECT_EQ(dta.SummeBetragCent(), 0);
  EXPECT_EQ(dta.SummeBLZ(), 0);
}

// The amount field holds the cents that Format's "%.2f" shows, exact halves away
// from zero, for amounts of every size: random ones, exact halves of a cent
// (odd eighths) and their neighbours.
TEST_F(WriterTest, AmountFieldShowsTheCentsOfFormat) {
  std::mt19937_64 random(20261208);
  std::vector<double> amounts;
  for (int i = 0; i < 3000; ++i) {
    const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(0, 9)(random));
    amounts.push_back(magnitude * std::uniform_real_distribution<double>(0.1, 1)(random));
    const auto eighths = std::uniform_int_distribution<std::int64_t>(8, 7'999'999'999)(random);
    const double half = static_cast<double>(eighths | 1) / 8;
    amounts.push_back(half);
    amounts.push_back(std::nextafter(half, 0.0));
    amounts.push_back(static_cast<double>(eighths) / 200);
  }
  std::erase_if(amounts, [](double amount) { return amount < 1 || amount >= 1e9; });
  dta.SetDTAFilename(zor::TFileName());  // runs without a file
  // 90 amounts below 1e9 stay within the 13 digits of the sum; a C record with
  // one purpose line takes two parts of 128 bytes.
  constexpr std::size_t kPerRun = 90;
  constexpr std::size_t kRecordSize = 256;
  for (std::size_t first = 0; first < amounts.size(); first += kPerRun) {
    const std::size_t end = std::min(amounts.size(), first + kPerRun);
    dta.Start();
    for (std::size_t i = first; i < end; ++i) {
      dta.Buchung(ZA("A"), 1234567890, 50010517, amounts[i], ZA("x"), "", "");
    }
    const std::string content = dta.DTAFileContent();
    for (std::size_t i = first; i < end; ++i) {
      std::string digits = zor::Format("%.2f", {amounts[i]});
      digits.erase(digits.find('.'), 1);
      ASSERT_EQ(content.substr(kC + (i - first) * kRecordSize + 79, 11),
                std::string(11 - digits.size(), '0') + digits)
          << "amount " << zor::Format("%.20f", {amounts[i]});
    }
    dta.Finish();
  }
}

TEST_F(WriterTest, AmountLimits) {
  EXPECT_TRUE(dta.ValidateBetrag(1));
  EXPECT_TRUE(dta.ValidateBetrag(999999999.99));
  EXPECT_THROW_MESSAGE(dta.ValidateBetrag(0.5),
                       ZT("Der Betrag muss zwischen € 1 und € 999999999.99 liegen."));
  EXPECT_THROW(dta.ValidateBetrag(1e9), zor::Exception);
  EXPECT_THROW(dta.ValidateBetrag(std::nan("")), zor::Exception);
}

TEST_F(WriterTest, FailedCheckEndsTheBookingButNotTheRun) {
  dta.Start();
  zor::TStringList lines;
  for (int i = 0; i < 15; ++i) lines.Add(ZT("Zeile"));
  EXPECT_THROW_MESSAGE(BookValid(lines),
                       ZT("Es sind nicht mehr als 14 Verwendungszwecke erlaubt."));
  EXPECT_EQ(dta.State(), zor::stBooking);
  EXPECT_EQ(dta.AnzahlBuchungen(), 0);
  EXPECT_EQ(dta.SummeBetragCent(), 0);
  EXPECT_EQ(dta.DTAFileContent().size(), 128u);

  EXPECT_THROW_MESSAGE(dta.Buchung("", 1234567890, 50010517, 10, ZA("x"), "", ""),
                       ZT("Der Buchungsempfänger muss angegeben werden."));
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", "");
  dta.Finish();
  EXPECT_EQ(WrittenFile().size(), 128u + 256u + 128u);
}

TEST_F(WriterTest, ShowWarningsWritesThePaymentAsGiven) {
  MessageBoxRecorder boxes;
  dta.SetShowWarnings(true);
  dta.Start();
  dta.Buchung("", 1234567890, 123, 0.5, ZA("x"), "", "");
  ASSERT_EQ(boxes.boxes().size(), 3u);
  EXPECT_EQ(boxes.boxes()[0].text, "Die Bankleitzahl muss genau 8 Zeichen besitzen.");
  EXPECT_EQ(boxes.boxes()[1].text, "Der Buchungsempfänger muss angegeben werden.");
  EXPECT_EQ(boxes.boxes()[2].text, "Der Betrag muss zwischen € 1 und € 999999999.99 liegen.");
  const auto content = dta.DTAFileContent();
  ASSERT_EQ(content.size(), 128u + 256u);
  EXPECT_EQ(content.substr(kC + 13, 8), "00000123");
  EXPECT_EQ(content.substr(kC + 79, 11), "00000000050");
}

TEST_F(WriterTest, WithoutValidateDataAnEmptyNameIsBookedSilently) {
  MessageBoxRecorder boxes;
  dta.SetValidateData(false);
  dta.SetShowWarnings(true);
  dta.Start();
  dta.Buchung("", 1234567890, 50010517, 10, ZA("x"), "", "");
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(dta.AnzahlBuchungen(), 1);
}

// Values that cannot stand in their fields are refused in every mode, reported
// once, and leave the buffer and the sums as they were.
TEST_F(WriterTest, UnwritableValuesAreNeverWritten) {
  struct Unwritable {
    const char* what;
    std::int64_t konto;
    std::int64_t blz;
    double betrag;
    int lines;
    const char* message;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const char* kBLZ = "Die Bankleitzahl muss genau 8 Zeichen besitzen.";
  const char* kKonto = "Die Kontonummer muss zwischen 10 und 9999999999 liegen.";
  const char* kBetrag = "Der Betrag muss zwischen € 1 und € 999999999.99 liegen.";
  const char* kVwz = "Es sind nicht mehr als 14 Verwendungszwecke erlaubt.";
  const Unwritable cases[] = {
      {"negative bank code", 1234567890, -1, 10, 1, kBLZ},
      {"nine-digit bank code", 1234567890, 100000000, 10, 1, kBLZ},
      {"negative account", -5, 50010517, 10, 1, kKonto},
      {"eleven-digit account", 10000000000, 50010517, 10, 1, kKonto},
      {"negative amount", 1234567890, 50010517, -5, 1, kBetrag},
      {"NaN", 1234567890, 50010517, std::nan(""), 1, kBetrag},
      {"infinity", 1234567890, 50010517, inf, 1, kBetrag},
      {"a billion euro", 1234567890, 50010517, 1e9, 1, kBetrag},
      {"rounds up to a billion", 1234567890, 50010517, 999999999.996, 1, kBetrag},
      {"20 purpose lines", 1234567890, 50010517, 10, 20, kVwz},
  };
  for (const auto& c : cases) {
    for (int mode = 0; mode < 3; ++mode) {
      SCOPED_TRACE(std::string(c.what) + " mode " + std::to_string(mode));
      // 0: checks off and exceptions; 1: checks off, message boxes; 2: checks on, message boxes
      MessageBoxRecorder boxes;
      zor::TZorDTA writer(nullptr);
      writer.SetAuftraggeberName(ZA("Muster GmbH"));
      writer.SetAuftraggeberBLZ(37040044);
      writer.SetAuftraggeberKontoNr(532013000);
      writer.SetDTAFilename(ZT(""));
      writer.SetValidateData(mode == 2);
      writer.SetShowWarnings(mode != 0);
      writer.Start();
      zor::TStringList lines;
      for (int i = 0; i < c.lines; ++i) lines.Add(ZT("Zeile"));
      if (mode == 0) {
        EXPECT_THROW_MESSAGE(writer.Buchung(ZA("Max"), c.konto, c.blz, c.betrag, lines),
                             ZT(c.message));
      } else {
        writer.Buchung(ZA("Max"), c.konto, c.blz, c.betrag, lines);
        int matching = 0;
        for (const auto& box : boxes.boxes()) matching += box.text == c.message ? 1 : 0;
        EXPECT_EQ(matching, 1) << "reported exactly once";
      }
      EXPECT_EQ(writer.DTAFileContent().size(), 128u);
      EXPECT_EQ(writer.AnzahlBuchungen(), 0);
      EXPECT_EQ(writer.SummeBetragCent(), 0);
    }
  }
}

TEST_F(WriterTest, SumOfAmountsStaysWithinItsField) {
  dta.SetValidateData(false);
  dta.SetDTAFilename(ZT(""));
  dta.Start();
  for (int i = 0; i < 100; ++i) {
    dta.Buchung(ZA("Max"), 1234567890, 50010517, 999999999.99, ZA("x"), "", "");
  }
  EXPECT_EQ(dta.SummeBetragCent(), 9'999'999'999'900);
  EXPECT_THROW_MESSAGE(dta.Buchung(ZA("Max"), 1234567890, 50010517, 999999999.99, ZA("x"), "", ""),
                       ZT("Der Betrag muss zwischen € 1 und € 999999999.99 liegen."));
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 0.99, ZA("x"), "", "");
  dta.Finish();
  const auto content = dta.DTAFileContent();
  ASSERT_EQ(content.size() % 128, 0u);
  EXPECT_EQ(content.substr(content.size() - 128 + 64, 13), "9999999999999");
}

TEST_F(WriterTest, RunWhoseStartFailedWritesNothing) {
  dta.Start();
  dta.Finish();
  const auto previousFile = WrittenFile();
  ASSERT_EQ(previousFile.size(), 256u);

  dta.SetAuftraggeberName("");
  EXPECT_THROW_MESSAGE(dta.Start(), ZT("Der Buchungsempfänger muss angegeben werden."));
  EXPECT_THROW_MESSAGE(dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", ""),
                       ZT("Es muss zunächst die Methode Start() aufgerufen werden."));
  dta.Finish();
  EXPECT_EQ(dta.State(), zor::stReady);
  EXPECT_EQ(WrittenFile(), previousFile) << "no file without an A record";

  dta.SetAuftraggeberName(ZA("Muster GmbH"));
  dta.Start();
  EXPECT_EQ(dta.DTAFileContent().size(), 128u);
}

TEST_F(WriterTest, UnwritableClientDataRefusesTheHeader) {
  dta.SetValidateData(false);
  dta.SetAuftraggeberKontoNr(-1);
  EXPECT_THROW_MESSAGE(dta.Start(), ZT("Die Kontonummer muss zwischen 10 und 9999999999 liegen."));
  EXPECT_THROW(dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", ""), zor::Exception);
  dta.Finish();
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "DTAUS0.TXT"));
}

TEST_F(WriterTest, FailedFileWriteKeepsTheRunOpenAndRetryWritesOneTrailer) {
  const auto folder = dir.path() / "fehlt";
  dta.SetPath(zor::StringFromUtf8(folder.string()));
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", "");
  EXPECT_THROW(dta.Finish(), zor::Exception);
  EXPECT_EQ(dta.State(), zor::stBooking);
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_EQ(dta.DTAFileContent().size(), 128u + 256u) << "the trailer was taken back";

  std::filesystem::create_directory(folder);
  dta.Finish();
  const auto written = zortest::ReadFile(folder / "DTAUS0.TXT");
  ASSERT_EQ(written.size(), 128u + 256u + 128u);
  EXPECT_EQ(written.substr(384, 5), "0128E");
  EXPECT_EQ(written.find("0128E"), 384u) << "exactly one trailer";
  EXPECT_EQ(dta.State(), zor::stReady);
}

TEST_F(WriterTest, InterruptedWriteLeavesThePreviousFile) {
  dta.Start();
  dta.Finish();
  const auto previous = WrittenFile();

  zor::TFileSystemOps failing;
  failing.rename = [](const char*, const char*) {
    errno = EIO;
    return -1;
  };
  zor::SetFileSystemOps(failing);
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", "");
  EXPECT_THROW(dta.Finish(), zor::Exception);
  zor::SetFileSystemOps({});

  EXPECT_EQ(WrittenFile(), previous);
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    files += entry.is_regular_file() ? 1u : 0u;
  }
  EXPECT_EQ(files, 1u) << "no temporary file is left behind";
  dta.Finish();
  EXPECT_EQ(WrittenFile().size(), 512u);
}

// Large runs go to the disk past the page cache where it can be done; the file
// must be whole either way, also when the tool appends it to another one at an
// offset that is no sector's.
TEST_F(WriterTest, ALargeRunIsWrittenWholeAlsoAfterAnotherFile) {
  const auto book = [this] {
    dta.Start();
    for (int i = 0; i < 70'000; ++i) {
      dta.Buchung(ZA("Max"), 1234567890, 50010517, 10 + i % 7, ZA("x"), "", "");
    }
    dta.Finish();
  };
  book();
  EXPECT_GT(dta.DTAFileContent().size(), std::size_t{16} << 20);
  EXPECT_TRUE(zortest::SameBytes(dta.DTAFileContent(), WrittenFile()));

  const std::filesystem::path joined = dir.path() / "joined";
  std::ofstream(joined, std::ios::binary) << "first logical file";
  zor::TFileSystemOps appending;
  appending.open = [&joined](const char* path, int flags, unsigned mode) {
    if (flags & O_CREAT) return ::open(joined.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    return ::open(path, flags, static_cast<mode_t>(mode));
  };
  appending.rename = [](const char*, const char*) { return 0; };
  zor::SetFileSystemOps(appending);
  book();
  zor::SetFileSystemOps({});
  EXPECT_TRUE(
      zortest::SameBytes("first logical file" + dta.DTAFileContent(), zortest::ReadFile(joined)));
}

}  // namespace
