// Reading DTAUS files back: round trips through the writer, hand-made files for
// every way a file can be malformed, and the guarantees of the import itself
// (nothing held after it ends, every truncation ends in a message).
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstring>
#include <functional>
#include <random>
#include <stdexcept>

#include "dtaus/WriterFixture.h"

namespace {

using zortest::MessageBoxRecorder;
using zortest::SetLines;
using zortest::WriterTest;

const char* kFormat = "Dateianfang entspricht nicht dem DTA-Format.";
const char* kDatensatzC =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Einlesen eines C-Datensatze-Headers";
const char* kBetrag =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren des Betrages.";
const char* kDatum =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren eines Datums.";
const char* kBankleitzahl =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren einer Bankleitzahl.";
const char* kKontonummer =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren einer Kontonummer.";
const char* kErweiterungen =
    "Datei entspricht nicht dem DTA-Format.\r\nFehler beim Konvertieren der Erweiterungen-Anzahl.";

/// One payment as the events report it.
struct Imported {
  std::string name;
  std::int64_t konto = 0;
  std::int64_t blz = 0;
  double betrag = 0;
  std::vector<std::string> lines;  // UTF-8
  bool abbuchungsauftrag = false;
  std::string customKey;
  std::string clientName;
  std::int64_t clientKonto = 0;
  std::int64_t clientBLZ = 0;
  int eventsSeen = 0;
};

/// An importing component whose import stream can be inspected.
class Importer : public zor::TZorDTA {
 public:
  Importer() : TZorDTA(nullptr) {
    SetOnDTAImport([this](const zor::AnsiString& name, std::int64_t konto, std::int64_t blz,
                          double betrag, zor::TStrings& vwz, bool abbuchung,
                          const zor::AnsiString& key) {
      Imported p;
      p.name = name, p.konto = konto, p.blz = blz, p.betrag = betrag;
      for (int i = 0; i < vwz.Count(); ++i) p.lines.push_back(zor::StringToUtf8(vwz.Strings(i)));
      p.abbuchungsauftrag = abbuchung, p.customKey = key, p.eventsSeen = 1;
      payments.push_back(p);
      if (throwFromHandler) throw std::runtime_error("handler failed");
    });
    SetOnExtendedDTAImport([this](const zor::AnsiString& name, const std::int64_t&,
                                  const std::int64_t&, const double&,
                                  const zor::AnsiString& clientName,
                                  const std::int64_t& clientKonto, const std::int64_t& clientBLZ,
                                  zor::TStrings& vwz, const bool&, const zor::AnsiString&) {
      ASSERT_FALSE(payments.empty()) << "OnDTAImport comes first";
      Imported& p = payments.back();
      EXPECT_EQ(p.name, name);
      EXPECT_EQ(static_cast<std::size_t>(vwz.Count()), p.lines.size()) << "the same list";
      p.clientName = clientName, p.clientKonto = clientKonto, p.clientBLZ = clientBLZ;
      ++p.eventsSeen;
    });
  }
  bool HoldsImportStream() const { return DTAFile != nullptr; }

  std::vector<Imported> payments;
  bool throwFromHandler = false;
};

class ImportTest : public WriterTest {
 protected:
  /// A file of one credit transfer with the given purpose lines.
  std::string FileWith(std::initializer_list<const char*> lines) {
    zor::TStringList list;
    SetLines(list, lines);
    dta.SetDTAFilename(ZT(""));
    dta.Start();
    BookValid(list);
    dta.Finish();
    return dta.DTAFileContent();
  }

  Importer importer;
};

constexpr std::size_t kC = 128;

// ---------------------------------------------------------------- round trip

TEST_F(ImportTest, RandomFilesReadBackBookingByBooking) {
  std::mt19937 random(20261208);
  const std::string alphabet =
      "abcxyzABCXYZ 0123456789$%&*+,-./\xE4\xF6\xFC\xC4\xD6\xDC\xDF@!?()[]~\\\xE9\t";
  const auto text = [&](int maxLength) {
    std::string s(random() % static_cast<unsigned>(maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  const char* keys[] = {"", "", "53000", "54123", "04000", "05000", "51000"};

  for (int run = 0; run < 150; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    zor::TZorDTA writer(nullptr);
    writer.SetDTAFilename(random() % 2 ? ZT("DTAUS0.TXT") : ZT("zahlungen.dta"));
    writer.SetPath(dir.AsPath());
    writer.SetAuftraggeberName(ZA("Client ") + text(30));
    writer.SetAuftraggeberBLZ(10000000 + static_cast<std::int32_t>(random() % 90000000));
    writer.SetAuftraggeberKontoNr(10 + static_cast<std::int64_t>(random() % 9999999990));
    writer.SetLastschriften(random() % 2);
    writer.SetAbbuchungsauftrag(random() % 3 == 0);
    writer.SetZahlungsschluessel(keys[random() % std::size(keys)]);
    writer.Start();

    std::vector<Imported> expected;
    const int bookings = static_cast<int>(random() % 5);
    for (int b = 0; b < bookings; ++b) {
      Imported e;
      const std::string name = "N" + text(35);
      e.konto = 10 + static_cast<std::int64_t>(random() % 9999999990);
      e.blz = 10000000 + static_cast<std::int64_t>(random() % 90000000);
      const std::int64_t cent = 100 + static_cast<std::int64_t>(random() % 99999999900);
      e.betrag = static_cast<double>(cent) / 100;
      zor::TStringList lines;
      const int lineCount = static_cast<int>(random() % 15);
      for (int l = 0; l < lineCount; ++l) lines.Add(zor::AnsiToString(text(27)));
      writer.Buchung(name, e.konto, e.blz, e.betrag, lines);
      // What the file holds decodes back to capitals with the umlauts restored.
      e.name = zor::TZorDTA::DecodeChars(zor::Trim(writer.RemoveInvalidChars(name).substr(0, 27)));
      for (int l = 0; l < lines.Count(); ++l) {
        const auto line =
            zor::TZorDTA::DecodeChars(zor::Trim(zor::StringToAnsi(lines.Strings(l)).substr(0, 27)));
        if (!line.empty()) e.lines.push_back(zor::AnsiToUtf8(line));
      }
      const std::string key = writer.Zahlungsschluessel();
      e.abbuchungsauftrag =
          key == "04000" || (key.empty() && writer.Lastschriften() && writer.Abbuchungsauftrag());
      e.customKey = key.rfind("53", 0) == 0 || key.rfind("54", 0) == 0 ? key : "";
      e.clientName = zor::TZorDTA::DecodeChars(
          zor::Trim(writer.RemoveInvalidChars(writer.AuftraggeberName()).substr(0, 27)));
      expected.push_back(e);
    }
    writer.Finish();

    Importer reader;
    if (bookings == 0) {
      EXPECT_THROW_MESSAGE(reader.ImportDTA(dir.AsPath() + writer.DTAFilename()), ZT(kDatensatzC));
    } else {
      reader.ImportDTA(dir.AsPath() + writer.DTAFilename());
    }
    EXPECT_EQ(reader.Lastschriften(), writer.DTAFileContent().substr(5, 2) == "LK");
    EXPECT_EQ(reader.AuftraggeberBLZ(), writer.AuftraggeberBLZ());
    EXPECT_EQ(reader.AuftraggeberKontoNr(), writer.AuftraggeberKontoNr());
    EXPECT_EQ(reader.AuftraggeberName(),
              expected.empty() ? reader.AuftraggeberName() : expected[0].clientName);
    EXPECT_EQ(reader.DiskettenErstellDatum(), zortest::kTestToday);
    ASSERT_EQ(reader.payments.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const Imported& got = reader.payments[i];
      const Imported& want = expected[i];
      EXPECT_EQ(got.name, want.name);
      EXPECT_EQ(got.konto, want.konto);
      EXPECT_EQ(got.blz, want.blz);
      EXPECT_EQ(got.betrag, want.betrag);
      EXPECT_EQ(got.lines, want.lines);
      EXPECT_EQ(got.abbuchungsauftrag, want.abbuchungsauftrag);
      EXPECT_EQ(got.customKey, want.customKey);
      EXPECT_EQ(got.clientName, want.clientName);
      EXPECT_EQ(got.clientKonto, writer.AuftraggeberKontoNr());
      EXPECT_EQ(got.clientBLZ, writer.AuftraggeberBLZ());
      EXPECT_EQ(got.eventsSeen, 2);
    }
  }
}

TEST_F(ImportTest, ImportChangesOnlyTheClientDataAndDates) {
  const std::string file = FileWith({"Rechnung"});
  importer.SetZahlungsschluessel("53000");
  importer.SetDTAFilename(ZT("eigen.dta"));
  importer.ImportFromString(file);
  EXPECT_EQ(importer.AuftraggeberName(), "MUSTER GMBH");
  EXPECT_EQ(importer.Zahlungsschluessel(), "53000");
  EXPECT_EQ(importer.DTAFilename(), ZT("eigen.dta"));
  EXPECT_EQ(importer.State(), zor::stReady);
  EXPECT_EQ(importer.AnzahlBuchungen(), 0);
  EXPECT_TRUE(importer.DTAFileContent().empty());
  EXPECT_EQ(importer.Ausfuehrungsdatum(), zortest::kTestToday) << "no date reads as today";
  EXPECT_FALSE(importer.HoldsImportStream());

  // The file date read is kept by the next run instead of today's.
  clock.Set(zortest::kTestToday + 7.5);
  importer.SetAuftraggeberBLZ(37040044);
  importer.SetDTAFilename(ZT(""));
  importer.Start();
  EXPECT_EQ(importer.DTAFileContent().substr(50, 6), "081226");
}

// ---------------------------------------------------------------- hand-made files

struct Malformed {
  const char* what;
  std::function<void(std::string&)> damage;
  const char* message;  // nullptr: reads to the end
  std::size_t paymentsReported;
};

TEST_F(ImportTest, MalformedFilesEndWithTheirMessage) {
  const std::string good = FileWith({"Zeile 1", "Zeile 2"});
  const auto at = [](std::size_t offset, const char* bytes) {
    return [offset, bytes](std::string& f) { f.replace(offset, std::strlen(bytes), bytes); };
  };
  const Malformed cases[] = {
      {"lower-case record type", at(0, "0128a"), kFormat, 0},
      {"blank before the header", [](std::string& f) { f.insert(0, " "); }, kFormat, 0},
      {"line break after the A record", [](std::string& f) { f.insert(128, "\r\n"); }, kDatensatzC,
       0},
      {"no C record",
       [](std::string& f) {
         f.erase(128, 256);
         f += std::string(443, ' ');
       },
       kDatensatzC, 0},
      {"client bank code", at(7, "3704004X"), kBankleitzahl, 0},
      {"client account blank", at(60, "          "), kKontonummer, 0},
      {"payee bank code", at(kC + 13, "5001 517"), kBankleitzahl, 0},
      {"payee account trailing blank", at(kC + 21, "123456789 "), kKontonummer, 0},
      {"blank amount", at(kC + 79, "           "), kBetrag, 0},
      {"amount with a plus", at(kC + 79, "+0000001000"), nullptr, 1},
      {"amount with leading blanks", at(kC + 79, "       1000"), nullptr, 1},
      {"extension count", at(kC + 185, "X1"), kErweiterungen, 0},
      {"damaged second header", at(kC + 256 + 4, "X"), kDatensatzC, 1},
      {"execution date 32nd day", at(95, "32121999"), nullptr, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file = good;
    c.damage(file);
    Importer reader;
    if (c.message) {
      EXPECT_THROW_MESSAGE(reader.ImportFromString(file), ZT(c.message));
    } else if (std::string(c.what).find("32nd") != std::string::npos) {
      EXPECT_THROW(reader.ImportFromString(file), zor::Exception) << "no calendar date";
    } else {
      reader.ImportFromString(file);
    }
    EXPECT_EQ(reader.payments.size(), c.paymentsReported);
    EXPECT_FALSE(reader.HoldsImportStream());
  }
}

TEST_F(ImportTest, ShowWarningsReportsOnceAndEnds) {
  std::string file = FileWith({"Zeile"});
  file.replace(kC + 79, 11, "           ");
  MessageBoxRecorder boxes;
  importer.SetShowWarnings(true);
  importer.ImportFromString(file);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, kBetrag);
  EXPECT_EQ(boxes.boxes()[0].caption, "Fehler");
  EXPECT_TRUE(importer.payments.empty());
}

TEST_F(ImportTest, ShortestFileIs443Bytes) {
  const std::string file = FileWith({"Zeile"});
  const std::string shortest = file.substr(0, 128 + 187) + file.substr(file.size() - 128);
  ASSERT_EQ(shortest.size(), 443u);
  EXPECT_THROW_MESSAGE(importer.ImportFromString(shortest.substr(0, 442)), ZT(kFormat));
  EXPECT_TRUE(importer.payments.empty());
  EXPECT_EQ(importer.AuftraggeberName(), "") << "nothing was read";
  // 443 bytes are read: the payment is reported, then the shifted trailer is no header.
  EXPECT_THROW_MESSAGE(importer.ImportFromString(shortest), ZT(kDatensatzC));
  EXPECT_EQ(importer.payments.size(), 1u);
}

TEST_F(ImportTest, ExtensionCountDecidesThePartsAndTypeTwoTheLines) {
  {
    SCOPED_TRACE("count 00 with a second line still present");
    std::string file = FileWith({"Eins", "Zwei"});
    file.replace(kC + 185, 2, "00");
    importer.ImportFromString(file);
    ASSERT_EQ(importer.payments.size(), 1u);
    EXPECT_EQ(importer.payments[0].lines, (std::vector<std::string>{"EINS", "ZWEI"}));
  }
  {
    SCOPED_TRACE("count 03: the third part with one line and three blank slots");
    Importer reader;
    std::string file = FileWith({"A", "B", "C", "D"});
    reader.ImportFromString(file);
    ASSERT_EQ(reader.payments.size(), 1u);
    EXPECT_EQ(reader.payments[0].lines, (std::vector<std::string>{"A", "B", "C", "D"}));
    file.replace(kC + 256, 2, "03");  // a slot of another type is skipped
    Importer again;
    again.ImportFromString(file);
    EXPECT_EQ(again.payments.at(0).lines, (std::vector<std::string>{"A", "B", "C"}));
  }
}

TEST_F(ImportTest, FifteenExtensionsReadSixPartsAndMoreReadFive) {
  dta.SetValidateData(false);
  const auto fileOf = [&](int lineCount) {
    zor::TStringList lines;
    for (int i = 1; i <= lineCount; ++i) lines.Add(ZT("Zeile ") + zor::IntToStr(i));
    dta.SetDTAFilename(ZT(""));
    dta.Start();
    BookValid(lines);
    BookValid(lines);
    dta.Finish();
    return dta.DTAFileContent();
  };

  std::string sixteen = fileOf(16);  // 15 extensions: the sixth part's single slot counts
  importer.ImportFromString(sixteen);
  ASSERT_EQ(importer.payments.size(), 2u);
  EXPECT_EQ(importer.payments[0].lines.size(), 16u);
  EXPECT_EQ(importer.payments[0].lines.back(), "ZEILE 16");

  sixteen.replace(kC + 5 * 128, 2, "01");
  Importer typeOne;
  typeOne.ImportFromString(sixteen);
  EXPECT_EQ(typeOne.payments.at(0).lines.size(), 15u);

  // 16 extensions lie beyond the format: five parts are read and the sixth is
  // taken for the next header.
  Importer beyond;
  EXPECT_THROW_MESSAGE(beyond.ImportFromString(fileOf(17)), ZT(kDatensatzC));
  ASSERT_EQ(beyond.payments.size(), 1u);
  EXPECT_EQ(beyond.payments[0].lines.size(), 15u);
}

TEST_F(ImportTest, PaymentKeysSetFlagAndCustomKey) {
  const std::pair<const char*, std::pair<bool, const char*>> cases[] = {
      {"04000", {true, ""}},       {"05000", {false, ""}},      {"51000", {false, ""}},
      {"53000", {false, "53000"}}, {"54999", {false, "54999"}}, {"56000", {false, ""}},
  };
  for (const auto& [key, want] : cases) {
    SCOPED_TRACE(key);
    std::string file = FileWith({"Zeile"});
    file.replace(kC + 44, 5, key);
    Importer reader;
    reader.ImportFromString(file);
    ASSERT_EQ(reader.payments.size(), 1u);
    EXPECT_EQ(reader.payments[0].abbuchungsauftrag, want.first);
    EXPECT_EQ(reader.payments[0].customKey, want.second);
  }
}

TEST_F(ImportTest, TextFieldsAreTrimmedAndDecoded) {
  std::string file = FileWith({"Zeile"});
  const auto field = [](std::string text) { return text.append(27 - text.size(), ' '); };
  file.replace(kC + 93, 27, field("   ABC]"));
  file.replace(kC + 155, 27, field("\x9A~\\["));
  importer.ImportFromString(file);
  ASSERT_EQ(importer.payments.size(), 1u);
  EXPECT_EQ(importer.payments[0].name, "ABC\xDC");
  EXPECT_EQ(importer.payments[0].lines.at(0), "ÜßÖÄ");
}

TEST_F(ImportTest, Dates) {
  struct DateCase {
    const char* fileDate;       // 6 bytes
    const char* executionDate;  // 8 bytes
    zor::TDate fileExpected;
    zor::TDate executionExpected;
  };
  const zor::TDate today = zortest::kTestToday;
  const DateCase cases[] = {
      {"311299", "31121999", zor::EncodeDate(1999, 12, 31), zor::EncodeDate(1999, 12, 31)},
      {"000000", "00000000", today, today},
      {"      ", "        ", today, today},
      {"010176", "01010099", zor::EncodeDate(1976, 1, 1), zor::EncodeDate(99, 1, 1)},
      {"311275", "15000000", zor::EncodeDate(2075, 12, 31), today},
      {"290224", " 1 22027", zor::EncodeDate(2024, 2, 29), zor::EncodeDate(2027, 2, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fileDate) + " / " + c.executionDate);
    std::string file = FileWith({"Zeile"});
    file.replace(50, 6, c.fileDate);
    file.replace(95, 8, c.executionDate);
    Importer reader;
    reader.ImportFromString(file);
    EXPECT_EQ(reader.DiskettenErstellDatum(), c.fileExpected);
    EXPECT_EQ(reader.Ausfuehrungsdatum(), c.executionExpected);
  }
}

TEST_F(ImportTest, BadDateGoesOnWithTodayUnderShowWarnings) {
  std::string file = FileWith({"Zeile"});
  file.replace(95, 8, "12AB1999");
  EXPECT_THROW_MESSAGE(importer.ImportFromString(file), ZT(kDatum));
  EXPECT_TRUE(importer.payments.empty());

  MessageBoxRecorder boxes;
  Importer lenient;
  lenient.SetShowWarnings(true);
  lenient.SetAusfuehrungsdatum(1);
  lenient.ImportFromString(file);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, kDatum);
  EXPECT_EQ(lenient.Ausfuehrungsdatum(), zortest::kTestToday);
  EXPECT_EQ(lenient.payments.size(), 1u) << "the import went on";

  file.replace(95, 8, "29022027");  // no calendar date: the conversion error, whatever the mode
  Importer strict;
  strict.SetShowWarnings(true);
  EXPECT_THROW(strict.ImportFromString(file), zor::Exception);
}

// ---------------------------------------------------------------- the import itself

TEST_F(ImportTest, EveryTruncationEndsInAMessage) {
  const std::string good = FileWith({"Eins", "Zwei", "Drei", "Vier", "Fuenf"});
  const std::size_t trailerHeaderEnd = good.size() - 128 + 5;
  for (std::size_t length = 443; length <= good.size(); ++length) {
    Importer reader;
    bool raised = false;
    try {
      reader.ImportFromString(good.substr(0, length));
    } catch (const zor::Exception&) {
      raised = true;
    }
    EXPECT_EQ(raised, length < trailerHeaderEnd) << "length " << length;
    EXPECT_LE(reader.payments.size(), 1u);
    EXPECT_FALSE(reader.HoldsImportStream());
  }
}

TEST_F(ImportTest, HandlerExceptionReleasesTheFile) {
  FileWith({"Zeile"});
  dta.SetDTAFilename(ZT("DTAUS0.TXT"));
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", "");
  dta.Finish();
  const zor::String path = dir.AsPath() + ZT("DTAUS0.TXT");

  importer.throwFromHandler = true;
  EXPECT_THROW(importer.ImportDTA(path), std::runtime_error);
  EXPECT_FALSE(importer.HoldsImportStream());
  importer.throwFromHandler = false;
  importer.payments.clear();
  importer.ImportDTA(path);  // the lock was released
  EXPECT_EQ(importer.payments.size(), 1u);
}

TEST_F(ImportTest, MissingFile) {
  EXPECT_THROW_MESSAGE(importer.ImportDTA(dir.AsPath() + ZT("fehlt.txt")),
                       ZT("Der angegebene Dateiname existiert nicht."));
}

TEST_F(ImportTest, FileHeldByAnotherProcessIsNotRead) {
  dta.Start();
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10, ZA("x"), "", "");
  dta.Finish();
  const auto native = dir.path() / "DTAUS0.TXT";
  const zor::String path = dir.AsPath() + ZT("DTAUS0.TXT");

  int locked[2], release[2];
  ASSERT_EQ(::pipe(locked), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int fd = ::open(native.c_str(), O_RDONLY);
    const char ok = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? '1' : '0';
    if (::write(locked[1], &ok, 1) != 1) _exit(1);
    char done;
    if (::read(release[0], &done, 1) < 0) _exit(1);
    _exit(0);
  }
  char ok = '0';
  ASSERT_EQ(::read(locked[0], &ok, 1), 1);
  ASSERT_EQ(ok, '1');

  const char* inUse = "Die gewählte Datei wird bereits von einem anderen Prozess verwendet.";
  EXPECT_THROW_MESSAGE(importer.ImportDTA(path), ZT(inUse));
  {
    MessageBoxRecorder boxes;
    importer.SetShowWarnings(true);
    importer.ImportDTA(path);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, inUse);
  }
  EXPECT_TRUE(importer.payments.empty());

  ASSERT_EQ(::write(release[1], "x", 1), 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  importer.ImportDTA(path);
  EXPECT_EQ(importer.payments.size(), 1u);
  for (int fd : {locked[0], locked[1], release[0], release[1]}) ::close(fd);
}

}  // namespace
