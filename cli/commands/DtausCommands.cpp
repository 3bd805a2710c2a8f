// zordta dtaus write | read
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/InputChecks.h"
#include "commands/WriteFile.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "io/PreparedRow.h"
#include "output/PaymentListing.h"
#include "payments/AccountWarnings.h"
#include "payments/BankCodeSource.h"
#include "payments/CheckedDtaus.h"
#include "zordta/entry/Dtaus.h"
#include "zordta/entry/DtausDirection.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/Values.h"

namespace zcli {

namespace {

struct ReadOptions {
  std::string file;
  std::string format = "json";
  bool verify = true;
  bool tolerant = false;
};

// The kind the file has, from record A (positions 6 and 7), whatever the
// settings suggested.
std::string Summary(DtausRun& run, const std::string& target, std::uint64_t start) {
  const zor::TZorDTA& dta = run.Component();
  const auto count = static_cast<std::size_t>(dta.AnzahlBuchungen());
  std::string kind;
  try {
    const std::string head = ReadFileAt(target, start, 7);
    if (head.size() == 7) kind = head.substr(5);
  } catch (const zor::Exception&) {
    // written, but not to be read back: the neutral word is still true
  }
  const std::string payments = kind == "LK"   ? Counted(count, "Lastschrift", "Lastschriften")
                               : kind == "GK" ? Counted(count, "Gutschrift", "Gutschriften")
                                              : Counted(count, "Buchung", "Buchungen");
  return payments + ", Summe " + GermanAmount(dta.SummeBetragCent()) + " EUR";
}

void CheckDirection(const std::map<std::string, std::string>& job,
                    const std::map<std::string, std::string>& options,
                    const KeyLabel& optionLabel) {
  const std::string conflict = FindDirectionConflict(job, options, optionLabel);
  if (!conflict.empty()) throw UsageError(conflict);
}

// The bank-code file is read while the input is, and the checks are made on
// the same thread (each reads the account-check library's data): a file given
// that cannot be read is a usage error all the same, one that is missing by
// default only leaves the accounts unchecked. The accounts are judged on the
// thread that reads the CSV rows, ahead of the checks, with checks of its own:
// a bank's check method takes as long as the rest of a payment's checks.
class AccountChecks {
 public:
  explicit AccountChecks(const std::string& bankCodeFile)
      : fFile(bankCodeFile), fBanks(bankCodeFile, [this](const RunBankCodes& banks) {
          fOwn = AccountWarnings::Of(banks);
          fAhead = AccountWarnings::Of(banks);
        }) {}

  const std::string& Path() const { return fBanks.Path(); }

  /// Once the input was read (`input` null when it could not be).
  void InputRead(PaymentSource* input) {
    const RunBankCodes& banks = fBanks.Get();
    try {
      AccountWarnings::Unread(banks, fFile);
    } catch (const zor::BankCodeError& e) {
      throw UsageError("--bankdaten: " + OneLine(e.what()));
    }
    if (!fOwn || !input) return;
    fInput = input;
    // The columns are looked up once per header, on the reading thread.
    input->PrepareRows([ahead = fAhead, columns = Columns()](const CsvRow& row,
                                                             const CsvRecordReader& reader,
                                                             PreparedRow& out) mutable {
      if (columns.reader != &reader) {
        columns = {&reader, reader.ColumnOf("blz"), reader.ColumnOf("konto")};
      }
      const std::string_view blzText = CsvRecordReader::CellAt(row, columns.blz);
      const std::string_view kontoText = CsvRecordReader::CellAt(row, columns.konto);
      const std::optional<std::int64_t> blz = ParseDigits(blzText);
      const std::optional<std::int64_t> konto = ParseDigits(kontoText);
      out.judged = blz && konto;
      if (!out.judged) return;
      out.bankCode = *blz;
      out.account = *konto;
      // Judged as the checks judge the numbers: in their shortest digits.
      out.verdict = Shortest(blzText) && Shortest(kontoText) ? ahead->Judge(blzText, kontoText)
                                                             : ahead->Judge(*blz, *konto);
    });
  }

  void Complete(DtausSettings& s) const {
    if (!fOwn) return;
    s.checkAccount = [this](std::int64_t bankCode, std::int64_t account, const std::string& where,
                            Diagnostics& findings) {
      const PreparedRow* row = fInput ? fInput->CurrentRow() : nullptr;
      const auto at = [&where]() -> const std::string& { return where; };
      if (row && row->judged && row->bankCode == bankCode && row->account == account) {
        fOwn->ReportAt(row->verdict, bankCode, account, at, findings);
      } else {
        fOwn->CheckAt(bankCode, account, at, findings);
      }
    };
  }

 private:
  struct Columns {
    const CsvRecordReader* reader = nullptr;
    std::size_t blz = 0;
    std::size_t konto = 0;
  };

  // Digits as the number's own text would be: no leading zero.
  static bool Shortest(std::string_view digits) {
    return digits.size() == 1 || (!digits.empty() && digits[0] != '0');
  }

  std::string fFile;
  // Made on the bank-code thread, which fBanks starts and joins.
  std::shared_ptr<const AccountWarnings> fOwn;
  std::shared_ptr<const AccountWarnings> fAhead;  // the reading thread's
  BankCodesAhead fBanks;
  const PaymentSource* fInput = nullptr;
};

int RunWrite(WriteOptions o, const std::string& bankCodeFile) {
  AccountChecks accounts(bankCodeFile);
  if (!accounts.Path().empty()) o.readFiles.push_back(accounts.Path());
  const WriteKind<DtausRun> kind{DtausJobSchema(),
                                 DtausCsvColumns(),
                                 ApplyDtausSettings,
                                 [](const DtausSettings& s) { return s.zentralbank; },
                                 Summary,
                                 CheckDirection};
  return WriteFile<DtausRun>(
      o, kind, [&accounts](DtausSettings& s) { accounts.Complete(s); },
      [&accounts](PaymentSource* input) { accounts.InputRead(input); });
}

// Prints the payments as the reader hands them over again; false when the file
// changed since it was checked.
bool PrintPayments(const ReadOptions& r, const CheckedDtaus& file) {
  if (r.format == "csv") {
    CsvListing listing(std::cout, file.Files());
    return file.ReadAgain([&](std::size_t f, const zor::DtausPayment& p) { listing.Add(f, p); });
  }
  JsonListing listing(std::cout, r.file, file.Files());
  const bool unchanged =
      file.ReadAgain([&](std::size_t f, const zor::DtausPayment& p) { listing.Add(f, p); });
  listing.Close();
  return unchanged;
}

// A refusal in one line; where the tolerant reading would take the file, it says so.
void PrintRefusal(const std::string& path, const zor::DtausReadError& e) {
  if (e.Fault() == zor::DtausFault::ControlFigures) {
    const std::string place = "Datensatz " + std::to_string(e.Place().record) + ", Byte " +
                              std::to_string(e.Place().offset) + ": ";
    for (const std::string& difference : e.Details()) {
      std::cerr << "Prüfung fehlgeschlagen: " << path << ": " << place << difference << '\n';
    }
    return;
  }
  const bool tolerable =
      e.Fault() == zor::DtausFault::Text || e.Fault() == zor::DtausFault::LineBreaks;
  std::cerr << "Fehler: " << path << ": " << OneLine(e.what())
            << (tolerable ? "; versuchen Sie --tolerant" : "") << '\n';
}

std::string Verified(const CheckedDtaus& file) {
  const std::string payments =
      Counted(static_cast<std::size_t>(file.Payments()), "Buchung", "Buchungen");
  if (file.Files().size() == 1) return "Datensatz E stimmt mit " + payments + " überein.";
  return std::to_string(file.Files().size()) +
         " logische Dateien, jeder Datensatz E stimmt mit seinen Buchungen überein (zusammen " +
         payments + ").";
}

// The first payment that carries more than the CSV has columns for, in one
// line; empty while there is none.
class CsvLosses {
 public:
  void Take(const CheckedDtaus& file, std::size_t f, const zor::DtausPayment& p) {
    if (!fRefusal.empty()) return;
    const std::vector<std::string> unlisted = CsvListing::Unlisted(p, file.Files()[f].header);
    if (unlisted.empty()) return;
    std::string what;
    for (std::size_t i = 0; i < unlisted.size(); ++i) {
      what += (i == 0 ? "" : i + 1 == unlisted.size() ? " und " : ", ") + unlisted[i];
    }
    fRefusal = "Datensatz " + std::to_string(p.place.record) + ", Byte " +
               std::to_string(p.place.offset) + ": Die Buchung hat " + what +
               "; das CSV hat dafür keine Spalte. Ohne --format csv (als JSON) geht nichts "
               "verloren.";
  }
  const std::string& Refusal() const { return fRefusal; }

 private:
  std::string fRefusal;
};

// The file is read twice, so that no payment is held in memory: first whole,
// so that a refused file prints nothing, then to print its payments. A CSV
// that would lose part of a payment is refused as well.
int RunRead(const ReadOptions& r) {
  CheckedDtaus file(r.file, {.checkSums = r.verify, .tolerant = r.tolerant});
  CsvLosses losses;
  try {
    if (r.format == "csv") {
      file.Check([&](std::size_t f, const zor::DtausPayment& p) { losses.Take(file, f, p); });
    } else {
      file.Check();
    }
  } catch (const zor::DtausReadError& e) {
    ReportReaderNotes(r.file, file.Notes());
    PrintRefusal(r.file, e);
    return kBadData;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  ReportReaderNotes(r.file, file.Notes());
  if (!losses.Refusal().empty()) {
    std::cerr << "Fehler: " << r.file << ": " << losses.Refusal() << '\n';
    return kBadData;
  }
  try {
    if (!PrintPayments(r, file)) {
      std::cerr << "Fehler: " << r.file << ": " << kFileChangedWhileRead << '\n';
      return kBadData;
    }
  } catch (const zor::Exception& e) {
    std::cout.flush();
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  if (r.verify) std::cerr << "Geprüft: " << r.file << ": " << Verified(file) << '\n';
  return kDone;
}

}  // namespace

void AddDtausCommands(CLI::App& app, Action& action) {
  CLI::App* dtaus = app.add_subcommand("dtaus", "Inlandszahlungen (DTAUS) schreiben und lesen");
  dtaus->require_subcommand(1);

  auto w = std::make_shared<WriteOptions>();
  auto bankCodeFile = std::make_shared<std::string>();
  CLI::App* write = dtaus->add_subcommand(
      "write",
      "DTAUS-Datei aus CSV oder Auftrag (JSON) schreiben, mit Begleitzettel als Text und PDF");
  AddInputOptions(*write, *w);
  AddSettingOption(*write, *w, "--name", "auftraggeber.name", "TEXT", "Name des Auftraggebers");
  AddSettingOption(*write, *w, "--blz", "auftraggeber.blz", "BLZ",
                   "Bankleitzahl des Auftraggebers");
  AddSettingOption(*write, *w, "--konto", "auftraggeber.konto", "KONTO",
                   "Kontonummer des Auftraggebers");
  AddSettingFlag(*write, *w, "--lastschriften", "lastschriften", "true",
                 "Lastschriften statt Gutschriften");
  AddSettingFlag(*write, *w, "--gutschriften", "gutschriften", "true",
                 "Gutschriften (Überweisungen); widerspricht der Auftrag, ist das ein Fehler");
  AddSettingFlag(*write, *w, "--abbuchung", "abbuchung", "true",
                 "Lastschriften im Abbuchungsauftragsverfahren");
  AddSettingOption(*write, *w, "--schluessel", "zahlungsschluessel", "NNNNN",
                   "Eigener Zahlungsschlüssel, fünf Ziffern (z.B. 53000 für Lohn und Gehalt)");
  AddSettingOption(*write, *w, "--ausfuehrung", "ausfuehrungsdatum", "DATUM",
                   "Ausführungsdatum, JJJJ-MM-TT oder TT.MM.JJJJ (heute bis heute + 15 Tage)");
  AddSettingOption(*write, *w, "--dateidatum", "dateidatum", "DATUM",
                   "Erstellungsdatum der Datei (sonst heute)");
  AddSettingFlag(*write, *w, "--zentralbank", "zentralbank", "true",
                 "Disketten fortlaufend nummerieren (Zähler unter $XDG_CONFIG_HOME)");
  AddSettingOption(*write, *w, "--dateiname", "dateiname", "NAME",
                   "Name der Datei (sonst DTAUS0.TXT)");
  AddSettingOption(*write, *w, "--verzeichnis", "verzeichnis", "VERZEICHNIS",
                   "Verzeichnis der Ausgabe (sonst .)");
  write->add_option("--bankdaten", *bankCodeFile,
                    "Bankleitzahlendatei der Bundesbank, gegen die Bankleitzahlen und Konten "
                    "geprüft werden (Standard: die neueste blz_*.txt im Datenordner von "
                    "ktoblzcheck)");
  AddOutputOptions(*write, *w);
  write->callback([w, bankCodeFile, &action] {
    action = [w, bankCodeFile] { return RunWrite(*w, *bankCodeFile); };
  });

  auto r = std::make_shared<ReadOptions>();
  CLI::App* read = dtaus->add_subcommand(
      "read", "DTAUS-Datei lesen: Auftraggeber und Buchungen als JSON oder CSV");
  read->add_option("DATEI", r->file, "Die DTAUS-Datei")->required();
  read->add_option("--format", r->format,
                   "Ausgabe als json (mit Auftraggeber) oder csv (nur Buchungen)")
      ->check(CLI::IsMember({"json", "csv"}));
  read->add_flag("--verify,!--no-verify", r->verify,
                 "Die Summen jedes Datensatzes E mit den Buchungen vergleichen (Standard; "
                 "--no-verify vergleicht nur die Anzahl)");
  read->add_flag("--tolerant", r->tolerant,
                 "Beschädigte Archive lesen: Zeilenumbrüche nach jedem 128-Byte-Teil, "
                 "Kleinbuchstaben und Umlaute anderer Codepages, jede Abweichung als Hinweis");
  read->callback([r, &action] { action = [r] { return RunRead(*r); }; });
}

}  // namespace zcli
