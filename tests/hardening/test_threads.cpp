// Components on many threads at once. Each thread owns its components and its
// folder; whatever one thread does alone, it must do byte for byte the same while
// seven others write and read at the same time. Built under ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <latch>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "hardening/ReadWhole.h"
#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Text.h"

namespace {

constexpr int kThreads = 8;
constexpr int kCreditTransfers = 800;
constexpr int kDebits = 800;
constexpr int kForeignPayments = 500;
constexpr int kDaysAhead = 15;

/// One thing a job produced: a file, a cover sheet, or what an import reported.
struct Artifact {
  std::string name;
  std::string bytes;
};
using Results = std::vector<Artifact>;

const std::string& Find(const Results& results, const std::string& name) {
  static const std::string kMissing;
  for (const Artifact& artifact : results) {
    if (artifact.name == name) return artifact.bytes;
  }
  ADD_FAILURE() << "no " << name;
  return kMissing;
}

const std::array kFirstNames = {"Jürgen", "Renée", "Björn", "Ölaf",  "Ünal",
                                "Grete",  "Max",   "Änne",  "Søren", "Zoë"};
const std::array kLastNames = {"Weiß",    "Müller-Lüdenscheidt", "Größe",   "Schäfer",
                               "Özdemir", "Straßburger",         "Kühn",    "Nußbaum",
                               "Bäcker",  "Hölderlin & Söhne",   "Öttinger"};
const std::array kPurposeWords = {"Rechnung", "Miete",  "Beitrag", "Gebühr",  "Übertrag",
                                  "Kaution",  "Straße", "Säumnis", "Zuschuß", "Köln"};

struct Foreign {
  const char* bic;
  const char* country;
  const char* bbanPattern;  // '9' is a random digit, everything else stays
  const char* currency;
  const char* place;
};
const std::array kForeign = {
    Foreign{"BNPAFRPP", "FR", "30004000039999999999999", "EUR", "Paris, Frankreich"},
    Foreign{"NWBKGB2L", "GB", "NWBK60161399999999", "GBP", "London"},
    Foreign{"NWBKGB2L", "GB", "NWBK60161399999999", "USD", "London"},
    Foreign{"UBSWCHZH80A", "CH", "00762999999999999", "CHF", "Zürich, Schweiz"},
    Foreign{"BKAUATWW", "AT", "1904399999999999", "EUR", "Wien, Österreich"},
    Foreign{"ESSESESS", "SE", "50009999999999999999", "SEK", "Malmö, Schweden"},
};

/// The check digits of an IBAN, so that generated accounts pass the MOD 97 check.
std::string MakeIban(const std::string& country, const std::string& bban) {
  std::string digits;
  for (char c : bban + country + "00") {
    if (c >= 'A' && c <= 'Z') {
      digits += std::to_string(c - 'A' + 10);
    } else {
      digits += c;
    }
  }
  int remainder = 0;
  for (char c : digits) remainder = (remainder * 10 + (c - '0')) % 97;
  const int check = 98 - remainder;
  return country + (check < 10 ? "0" : "") + std::to_string(check) + bban;
}

std::string NumberText(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

/// One thread's work: two DTAUS files, one DTAZV file, and both DTAUS files read back.
class Job {
 public:
  Job(int index, zor::TDate today) : fIndex(index), fToday(today) {}

  Results Run(const std::filesystem::path& folder) {
    fFolder = zor::StringFromUtf8(folder.string() + "/");
    Results out;
    zor::TZorDTA dta(nullptr);
    zor::TZorDTAZV zv(nullptr);
    WriteDomestic(dta, "DTAUS0.TXT", false, kCreditTransfers, out);
    // Odd threads write orders to debit, even ones collection authorisations.
    WriteDomestic(dta, "LASTSCHR.DTA", true, kDebits, out);
    WriteForeign(zv, out);
    for (const char* fileName : {"DTAUS0.TXT", "LASTSCHR.DTA"}) {
      Import(dta, fileName, folder / fileName, out);
    }
    return out;
  }

 private:
  std::uint32_t Next() { return static_cast<std::uint32_t>(fRandom()); }
  template <class T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Next() % N];
  }

  zor::AnsiString Name() {
    return zor::Utf8ToAnsi(std::string(Pick(kFirstNames)) + " " + Pick(kLastNames));
  }

  std::string PurposeLine(int number) {
    return std::string(Pick(kPurposeWords)) + " Nr. " + std::to_string(Next() % 100000) + "/" +
           std::to_string(number);
  }

  void WriteDomestic(zor::TZorDTA& dta, const char* fileName, bool debits, int count,
                     Results& out) {
    fRandom.seed(static_cast<std::uint32_t>(fIndex * 10 + (debits ? 1 : 0)));
    dta.SetPath(fFolder);
    dta.SetDTAFilename(zor::StringFromUtf8(fileName));
    dta.SetAuftraggeberName(zor::Utf8ToAnsi("Bäckerei Größe Nr. " + std::to_string(fIndex)));
    dta.SetAuftraggeberBLZ(37040044 + fIndex);
    dta.SetAuftraggeberKontoNr(532013000 + fIndex);
    dta.SetLastschriften(debits);
    dta.SetAbbuchungsauftrag(debits && fIndex % 2 == 1);
    dta.setDiskettenErstellDatum(fToday - fIndex);
    dta.SetAusfuehrungsdatum(fToday + fIndex % (kDaysAhead + 1));
    dta.Start();
    for (int i = 0; i < count; ++i) {
      zor::TStringList lines;
      const std::uint32_t shape = Next() % 10;
      if (shape == 0) {
        // One long line, split by the component.
        lines.Add(zor::StringFromUtf8(PurposeLine(i) + " für die Lieferung vom " +
                                      std::to_string(1 + Next() % 28) + ". Dezember"));
      } else if (shape == 1) {
        for (int n = 0; n < 14; ++n) lines.Add(zor::StringFromUtf8(PurposeLine(n)));
      } else {
        for (std::uint32_t n = 0; n < shape % 5; ++n) {
          lines.Add(zor::StringFromUtf8(PurposeLine(static_cast<int>(n))));
        }
      }
      const std::int64_t konto = 10 + Next() % 999999990;
      const std::int64_t blz = 10000000 + Next() % 89999999;
      const double betrag = (100 + Next() % 5000000) / 100.0;
      dta.Buchung(Name(), konto, blz, betrag, lines);
    }
    dta.Finish();
    const std::string name = fileName;
    out.push_back({name, zortest::ReadWhole(FolderPath() / fileName)});
    out.push_back({name + " cover sheet", zor::StringToUtf8(dta.Begleitzettel())});
  }

  void WriteForeign(zor::TZorDTAZV& zv, Results& out) {
    fRandom.seed(static_cast<std::uint32_t>(fIndex * 10 + 2));
    zv.SetPath(fFolder);
    zv.SetAuftraggeberName(zor::Utf8ToAnsi("Größe Außenhandel " + std::to_string(fIndex)));
    zv.SetAuftraggeberName2(zor::Utf8ToAnsi("Abteilung Übersee"));
    zv.SetAuftraggeberStrasse(zor::Utf8ToAnsi("Königstraße " + std::to_string(fIndex + 1)));
    zv.SetAuftraggeberOrt(zor::Utf8ToAnsi("München"));
    zv.SetAuftraggeberBLZ(37040044);
    zv.SetAuftraggeberKontoNr(532013000 + fIndex);
    zv.SetBundeslandschluessel(9);
    zv.SetFirmennummer(1234567 + fIndex);
    zv.Start(fIndex);
    for (int i = 0; i < kForeignPayments; ++i) {
      const Foreign& bank = Pick(kForeign);
      std::string bban = bank.bbanPattern;
      for (char& c : bban) {
        if (c == '9') c = static_cast<char>('0' + Next() % 10);
      }
      zor::TStringList lines;
      for (std::uint32_t n = 0, count = Next() % 5; n < count; ++n) {
        lines.Add(zor::StringFromUtf8(PurposeLine(static_cast<int>(n))));
      }
      const double betrag = (100 + Next() % 1249900) / 100.0;
      const zor::TDate datum = fToday + Next() % (kDaysAhead + 1);
      zv.Buchung(zor::Utf8ToAnsi(bank.bic), zor::Utf8ToAnsi(MakeIban(bank.country, bban)), Name(),
                 zor::Utf8ToAnsi("c/o Lösch & Söhne"),
                 zor::Utf8ToAnsi("Hauptstraße " + std::to_string(1 + Next() % 200)),
                 zor::Utf8ToAnsi(bank.place), zor::Utf8ToAnsi(bank.country), betrag, lines, datum,
                 zor::Utf8ToAnsi("Notiz " + std::to_string(i)), zor::Utf8ToAnsi("Frau Müller"),
                 zor::Utf8ToAnsi(bank.currency));
    }
    zv.Finish();
    out.push_back({"DTAZV", zortest::ReadWhole(FolderPath() / "DTAZV")});
    out.push_back({"DTAZV cover sheet", zor::StringToUtf8(zv.Begleitzettel())});
  }

  // Both ways of reading must report the same; what they report is compared with
  // the thread that ran alone.
  void Import(zor::TZorDTA& dta, const std::string& fileName, const std::filesystem::path& path,
              Results& out) {
    std::string reported;
    dta.SetOnDTAImport([&reported](const zor::AnsiString& name, std::int64_t konto,
                                   std::int64_t blz, double betrag, zor::TStrings& vwz,
                                   bool abbuchung, const zor::AnsiString& key) {
      reported += name + '\t' + std::to_string(konto) + '\t' + std::to_string(blz) + '\t' +
                  NumberText(betrag) + '\t';
      for (int i = 0; i < vwz.Count(); ++i) reported += zor::StringToAnsi(vwz.Strings(i)) + '|';
      reported += std::string(abbuchung ? "\tA\t" : "\t-\t") + key + '\n';
    });
    const auto header = [&dta] {
      return dta.AuftraggeberName() + '\t' + std::to_string(dta.AuftraggeberBLZ()) + '\t' +
             std::to_string(dta.AuftraggeberKontoNr()) + '\t' + (dta.Lastschriften() ? "L" : "G") +
             '\t' + NumberText(dta.DiskettenErstellDatum()) + '\t' +
             NumberText(dta.Ausfuehrungsdatum()) + '\n';
    };
    dta.ImportDTA(zor::StringFromUtf8(path.string()));
    out.push_back({fileName + " imported from the file", header() + reported});
    reported.clear();
    dta.ImportFromString(zortest::ReadWhole(path));
    out.push_back({fileName + " imported from text", header() + reported});
    dta.SetOnDTAImport(nullptr);
  }

  std::filesystem::path FolderPath() const {
    return std::filesystem::path(zor::StringToUtf8(fFolder));
  }

  int fIndex;
  zor::TDate fToday;
  zor::String fFolder;
  std::mt19937 fRandom;
};

TEST(ComponentsOnThreads, EachThreadWritesAndReadsWhatItWritesAlone) {
  const zor::TDate today = zor::EncodeDate(2026, 12, 8);
  // The clock is read under a lock and this one never changes, so all threads may share it.
  zortest::ScopedClock clock(today + 0.5);

  std::vector<Results> alone;
  for (int i = 0; i < kThreads; ++i) {
    zortest::TempDir dir;
    alone.push_back(Job(i, today).Run(dir.path()));
  }

  // What the reference must hold, so that equal results mean something.
  const auto lines = [](const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  };
  for (const Results& results : alone) {
    for (const Artifact& artifact : results) EXPECT_FALSE(artifact.bytes.empty()) << artifact.name;
    for (const auto& [file, count] :
         {std::pair{"DTAUS0.TXT", kCreditTransfers}, std::pair{"LASTSCHR.DTA", kDebits}}) {
      const std::string& fromFile = Find(results, file + std::string(" imported from the file"));
      EXPECT_EQ(fromFile, Find(results, file + std::string(" imported from text")));
      EXPECT_EQ(lines(fromFile), 1 + count) << file;
    }
  }
  EXPECT_NE(Find(alone[0], "DTAUS0.TXT"), Find(alone[1], "DTAUS0.TXT"))
      << "threads must get different data";

  std::vector<std::unique_ptr<zortest::TempDir>> dirs;
  for (int i = 0; i < kThreads; ++i) dirs.push_back(std::make_unique<zortest::TempDir>());
  std::vector<Results> together(kThreads);
  std::vector<std::string> failures(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      try {
        together[i] = Job(static_cast<int>(i), today).Run(dirs[i]->path());
      } catch (const zor::Exception& e) {
        failures[i] = zor::StringToUtf8(e.Message());
      } catch (const std::exception& e) {
        failures[i] = e.what();
      } catch (...) {
        failures[i] = "an unknown exception";
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (std::size_t i = 0; i < kThreads; ++i) {
    SCOPED_TRACE("thread " + std::to_string(i));
    EXPECT_EQ(failures[i], "");
    ASSERT_EQ(together[i].size(), alone[i].size());
    for (std::size_t a = 0; a < alone[i].size(); ++a) {
      EXPECT_EQ(together[i][a].name, alone[i][a].name);
      EXPECT_TRUE(zortest::SameBytes(alone[i][a].bytes, together[i][a].bytes)) << alone[i][a].name;
    }
  }
}

}  // namespace
