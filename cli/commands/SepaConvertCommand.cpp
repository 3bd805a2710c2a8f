// zordta sepa convert: every logical file of a DTAUS file as a SEPA document.
// The DTAUS file is read with the checked reader, whole, before anything is
// printed; that reading also converts, checks and counts every payment (the
// plans). It is read once more per payment block to write them, so that no
// payment is held in memory.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "commands/SepaConvertDtazv.h"
#include "commands/WriteFlow.h"
#include "commands/WriteOptions.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "output/FileOut.h"
#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"
#include "payments/AccountTables.h"
#include "payments/AccountWarnings.h"
#include "payments/BankCodeSource.h"
#include "payments/CheckedDtaus.h"
#include "payments/ConversionWording.h"
#include "payments/DtausAccounts.h"
#include "zordta/DtausToSepa.h"
#include "zordta/PaymentValues.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/SepaInput.h"
#include "zordta/entry/Values.h"
#include "zordta/host/SysUtils.h"

namespace zcli {

namespace {

constexpr const char* kOptionsWhere = "Befehlszeile";

using TakePayment = std::function<void(std::size_t, const zor::DtausPayment&)>;

struct ConvertOptions {
  std::string file;
  std::string iban;
  std::string bic;
  std::string glaeubigerId;
  std::string mandate;
  std::string ibanListe;
  std::string bankdaten;
  bool standardregel = false;
  std::string ausfuehrung;
  bool versionAlt = false;
  std::string nachrichtId;
  std::string dateiname;
  std::string verzeichnis = ".";
  bool dryRun = false;
  bool overwrite = false;
  bool streng = false;
};

// "<base>.xml", or "<base>-k.xml" for the k-th of several documents.
std::string FileName(const ConvertOptions& o, std::size_t number, std::size_t count) {
  const std::string name =
      o.dateiname.empty() ? std::filesystem::path(o.file).stem().string() + ".xml" : o.dateiname;
  if (count == 1) return name;
  const std::string suffix = "-" + std::to_string(number);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name + suffix;
  return name.substr(0, dot) + suffix + name.substr(dot);
}

// Every file the run reads: the bank-code file is the one found when none is given.
std::vector<std::string> Inputs(const ConvertOptions& o, const RunBankCodes& banks) {
  std::vector<std::string> inputs;
  for (const std::string* input : {&o.file, &o.mandate, &o.ibanListe, &banks.path}) {
    if (!input->empty() && *input != kStandardInput) inputs.push_back(*input);
  }
  return inputs;
}

// The options' values as the documents take them; a faulty one is reported
// and replaced by a stand-in, so that the payments are still checked.
zor::DtausToSepaSettings ReadOptions(const ConvertOptions& o, Diagnostics& errors) {
  zor::DtausToSepaSettings s;
  s.version = o.versionAlt ? zor::SepaVersion::German : zor::SepaVersion::Current;
  s.strict = o.streng;
  s.messageId = o.nachrichtId;
  s.clientIban = CompactIdentifier(o.iban);
  if (std::string problem = s.clientIban.empty() ? "" : zor::IbanProblemText(s.clientIban);
      !problem.empty()) {
    errors.Add(kOptionsWhere, "--iban", std::move(problem));
    s.clientIban = kStandInIban;
  }
  s.clientBic = CompactIdentifier(o.bic);
  if (std::string problem = s.clientBic.empty() ? "" : zor::BicProblemText(s.clientBic);
      !problem.empty()) {
    errors.Add(kOptionsWhere, "--bic", std::move(problem));
    s.clientBic.clear();
  }
  s.creditorId = CompactIdentifier(o.glaeubigerId);
  if (!s.creditorId.empty() && !zor::CheckCreditorId(s.creditorId)) {
    errors.Add(kOptionsWhere, "--glaeubiger-id",
               Quoted(o.glaeubigerId) +
                   " ist keine gültige Gläubiger-Identifikationsnummer (Form oder Prüfziffern).");
    s.creditorId = kStandInCreditorId;
  }
  if (!o.ausfuehrung.empty()) {
    const std::optional<zor::TDate> date = ParseDate(o.ausfuehrung);
    if (!date) {
      errors.Add(kOptionsWhere, "--ausfuehrung",
                 Quoted(o.ausfuehrung) + " ist kein Datum (JJJJ-MM-TT oder TT.MM.JJJJ).");
    } else if (*date < zor::Date()) {
      errors.Add(kOptionsWhere, "--ausfuehrung",
                 "Das Datum " + FormatIsoDate(*date) + " liegt vor heute.");
    }
    s.executionDate = SepaDate(date && *date >= zor::Date() ? *date : zor::Date());
  }
  return s;
}

std::string Summary(const zor::SepaPlan& plan) {
  const bool debits = plan.Settings().kind == zor::SepaKind::DirectDebit;
  return (debits ? Counted(plan.Count(), "Lastschrift", "Lastschriften")
                 : Counted(plan.Count(), "Überweisung", "Überweisungen")) +
         ", Summe " + GermanAmount(plan.Cents()) + " EUR";
}

// Every document, block by block: one more reading of the DTAUS file per
// block, which writes that block of every document.
void WriteDocuments(const std::vector<std::ostream*>& outs, const CheckedDtaus& file,
                    zor::DtausToSepa& convert, const ConvertOptions& o) {
  convert.StartWriting(outs);
  for (std::size_t block = 0; block < convert.Passes(); ++block) {
    bool converted = true;
    const bool same = file.ReadAgain([&](std::size_t f, const zor::DtausPayment& p) {
      converted = convert.Write(f, p, block) && converted;
    });
    // The same file, converted the same way: a fault here means it changed.
    if (!same || !converted) throw OutputError(o.file + ": " + kFileChangedWhileRead);
  }
  convert.FinishWriting();
}

// A file the checked reader refuses is refused with its message; `take` gets
// the payments as they are read.
bool ReadWhole(const ConvertOptions& o, CheckedDtaus& file, const TakePayment& take) {
  const auto notes = [&] { ReportReaderNotes(o.file, file.Notes()); };
  try {
    file.Check(take);
  } catch (const zor::DtausReadError& e) {
    notes();
    std::cerr << "Fehler: " << o.file << ": " << OneLine(e.what()) << '\n';
    for (const std::string& difference : e.Details()) {
      std::cerr << "Fehler: " << o.file << ": " << OneLine(difference) << '\n';
    }
    std::cerr << "Nichts geschrieben.\n";
    return false;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << o.file << ": " << OneLine(e.what()) << "\nNichts geschrieben.\n";
    return false;
  }
  notes();
  return true;
}

// The documents planned payment by payment, while the file is checked. A
// fault that stops the planning, such as a bank-code file that is needed and
// cannot be read, is raised once the file is known to be sound, where the
// planning stood when it was a reading of its own.
class Planning {
 public:
  Planning(const CheckedDtaus& file, zor::DtausToSepa& convert, bool numberedIds)
      : fFile(file), fConvert(convert), fNumberedIds(numberedIds) {}

  void Take(std::size_t f, const zor::DtausPayment& p) {
    Guarded([&] {
      OpenUpTo(f + 1);
      fConvert.Plan(p);
    });
  }
  /// After the last payment: the documents of logical files without one.
  void Finish() {
    Guarded([&] {
      OpenUpTo(fFile.Files().size());
      fConvert.Finish();
    });
  }
  void RaiseFault() const {
    if (fFault) std::rethrow_exception(fFault);
  }

 private:
  template <class Step>
  void Guarded(Step&& step) {
    if (fFault) return;
    try {
      step();
    } catch (...) {
      fFault = std::current_exception();
    }
  }

  void OpenUpTo(std::size_t last) {
    // A message ID given is numbered when there are several documents; the
    // caller counted the logical files first then.
    const bool numbered = fNumberedIds && fFile.Files().size() > 1;
    for (; fOpened < last; ++fOpened) fConvert.Open(fFile.Files()[fOpened].header, numbered);
  }

  const CheckedDtaus& fFile;
  zor::DtausToSepa& fConvert;
  bool fNumberedIds;
  std::size_t fOpened = 0;
  std::exception_ptr fFault;
};

// The targets of `count` documents, checked before any work: bare names, none
// of them an input.
std::vector<std::string> Targets(const ConvertOptions& o, std::size_t count,
                                 const WriteOptions& paths) {
  std::vector<std::string> targets(count);
  for (std::size_t i = 0; i < count; ++i) {
    targets[i] = PlanOutput(o.verzeichnis, FileName(o, i + 1, count), "--dateiname", paths).target;
  }
  return targets;
}

// The documents of a sound file: only summed up with --dry-run, else written
// and committed together.
int Commit(const std::vector<std::string>& targets, const CheckedDtaus& file,
           zor::DtausToSepa& convert, const ConvertOptions& o, const WriteOptions& options) {
  std::vector<std::string> checkedLines;
  std::vector<std::string> writtenLines;
  for (std::size_t k = 0; k < targets.size(); ++k) {
    const std::string summary = Summary(*convert.PlanOf(k));
    checkedLines.push_back("Geprüft: " + targets[k] + ": " + summary + "; nichts geschrieben.");
    writtenLines.push_back(targets[k] + ": " + summary);
  }
  return DryRunOrCommit(o.dryRun, checkedLines, [&] {
    for (const std::string& path : targets) {
      OutputFiles target;
      target.target = path;
      target.inputs = options.readFiles;
      CheckTargetsFree(target, options);
    }
    const std::optional<int> refused = WriteOrReport([&] {
      WriteStaged(
          targets, options.readFiles, o.overwrite,
          [&](const std::vector<std::ostream*>& outs) { WriteDocuments(outs, file, convert, o); },
          {{}, [&](const zor::SepaError& e) { return o.file + ": " + OneLine(e.what()); }});
    });
    return refused ? *refused : ReportWritten(writtenLines);
  });
}

// The tables the options name. False when one is wrong: the payments would
// be judged by it.
bool ReadTables(const ConvertOptions& o, std::optional<IbanList>& ibans,
                std::optional<MandateList>& mandates) {
  Diagnostics tableErrors;
  if (!o.ibanListe.empty()) ibans = IbanList::Read(o.ibanListe, tableErrors);
  if (!o.mandate.empty()) mandates = MandateList::Read(o.mandate, tableErrors);
  if (tableErrors.Empty()) return true;
  ReportErrors(tableErrors, "");
  return false;
}

// The mandates filed by the IBANs the payments get, so that the table holds
// each account once.
bool SettleMandates(MandateList& mandates, DtausAccounts& accounts, Diagnostics& notes) {
  Diagnostics tableErrors;
  mandates.Settle(accounts, tableErrors, notes);
  if (tableErrors.Empty()) return true;
  ReportNotes(notes);
  ReportErrors(tableErrors, "");
  return false;
}

// A DTAZV file: its payments as SEPA credit transfers and foreign transfers.
// What only DTAUS files need is refused, not ignored.
int RunDtazv(const ConvertOptions& o) {
  for (const auto& [given, option] : {std::pair{!o.glaeubigerId.empty(), "--glaeubiger-id"},
                                      {!o.mandate.empty(), "--mandate"},
                                      {!o.ibanListe.empty(), "--iban-liste"},
                                      {o.versionAlt, "--version-alt"}}) {
    if (given) {
      throw UsageError(std::string(option) +
                       " gilt nur für DTAUS-Dateien; eine DTAZV-Datei wird zu pain.001.001.09.");
    }
  }
  Diagnostics errors;
  const zor::DtausToSepaSettings s = ReadOptions(o, errors);
  DtazvConvertJob job;
  job.file = o.file;
  job.settings.strict = s.strict;
  job.settings.messageId = s.messageId;
  job.settings.clientIban = s.clientIban;
  job.settings.clientBic = s.clientBic;
  job.settings.executionDate = s.executionDate;
  job.bankdaten = o.bankdaten;
  job.standardregel = o.standardregel;
  job.dateiname = o.dateiname;
  job.verzeichnis = o.verzeichnis;
  job.dryRun = o.dryRun;
  job.overwrite = o.overwrite;
  return RunDtazvConvert(job, std::move(errors));
}

// The payees' IBANs made on the reading thread of `file`, ahead, by `ahead`;
// answers the conversion's way to an account's IBAN: the one made ahead where
// it is the payment's, else `accounts`'.
std::function<bool(zor::DtausAccount, zor::SepaAccount&)> IbansMadeAhead(CheckedDtaus& file,
                                                                         DtausAccounts& ahead,
                                                                         DtausAccounts& accounts) {
  file.PrepareAccounts([&ahead](const zor::DtausPayment& p, PreparedAccount& prepared) {
    prepared.blz = p.blz;
    prepared.konto = p.konto;
    prepared.made = ahead.Prepared(p.blz, p.konto, prepared.account, prepared.standardRule);
  });
  return [&file, &accounts](zor::DtausAccount account, zor::SepaAccount& out) {
    const PreparedAccount* prepared = file.CurrentAccount();
    if (prepared && prepared->made && prepared->blz == account.blz &&
        prepared->konto == account.konto) {
      out.iban.assign(prepared->account.iban);
      out.bic.assign(prepared->account.bic);
      return prepared->standardRule;
    }
    return accounts.Make(account.blz, account.konto, out);
  };
}

int RunConvert(const ConvertOptions& o) {
  if (o.dateiname.empty() && o.file == kStandardInput) {
    throw UsageError("Für die Standardeingabe den Namen der SEPA-Datei mit --dateiname angeben.");
  }
  if (o.file != kStandardInput && IsDtazvFile(o.file)) return RunDtazv(o);
  WriteOptions paths;
  paths.noText = true;
  paths.noPdf = true;
  paths.overwrite = o.overwrite;
  PlanOutput(o.verzeichnis, FileName(o, 1, 1), "--dateiname", paths);  // a bare name

  Diagnostics errors;
  const zor::DtausToSepaSettings settings = ReadOptions(o, errors);
  std::optional<IbanList> ibans;
  std::optional<MandateList> mandates;
  if (!ReadTables(o, ibans, mandates)) return kBadData;
  // The bank-code file serves the IBANs and the account checks: read once.
  // Accounts their bank would refuse are warnings, with --streng faults; a
  // default bank-code file that is missing leaves them unchecked.
  const RunBankCodes banks = ReadRunBankCodes(o.bankdaten);
  const std::shared_ptr<const AccountWarnings> accountChecks = AccountWarnings::Of(banks);
  DtausAccounts accounts(banks, o.standardregel, ibans ? &*ibans : nullptr);
  Diagnostics notes;
  notes.KeepAtMost(kShownWarnings);  // a table of a million rows notes no more
  if (mandates && !SettleMandates(*mandates, accounts, notes)) return kBadData;
  Diagnostics warnings;
  warnings.KeepAtMost(kKeptWarnings);  // a million warnings cost no memory
  CheckedDtaus file(o.file, {});
  DtausAccounts aheadAccounts(banks, o.standardregel, ibans ? &*ibans : nullptr);
  zor::DtausToSepa convert(
      settings, IbansMadeAhead(file, aheadAccounts, accounts),
      mandates ? &mandates->Table() : nullptr,
      [&](const zor::DtausToSepaIssue& issue) {
        AddConversionIssue(issue, o.mandate, errors, warnings);
      },
      [&](zor::DtausAccount account, const zor::DtausPlace& place) {
        if (!accountChecks) return;
        accountChecks->CheckAt(account.blz, account.konto, RecordWhere(place),
                               o.streng ? errors : warnings);
      });

  // The plans are made while the file is checked, unless a message ID is
  // given: the first document's ID is numbered only when there are several,
  // and its plan checks the ID, so then the logical files are counted first.
  const bool countFirst = !o.nachrichtId.empty();
  Planning planning(file, convert, countFirst);
  const TakePayment plan = [&planning](std::size_t f, const zor::DtausPayment& p) {
    planning.Take(f, p);
  };
  if (!ReadWhole(o, file, countFirst ? TakePayment() : plan)) return kBadData;
  const std::size_t count = file.Files().size();
  paths.readFiles = Inputs(o, banks);
  const std::vector<std::string> targets = Targets(o, count, paths);
  try {
    AccountWarnings::Unread(banks, o.bankdaten);
  } catch (const zor::BankCodeError& e) {
    throw UsageError("--bankdaten: " + OneLine(e.what()));
  }
  const bool same = !countFirst || file.ReadAgain(plan);
  planning.RaiseFault();
  if (!same) {
    std::cerr << "Fehler: " << o.file << ": " << kFileChangedWhileRead << "\nNichts geschrieben.\n";
    return kBadData;
  }
  planning.Finish();
  planning.RaiseFault();
  if (mandates) mandates->NoteUnused(notes);
  ReportNotes(notes);
  ReportWarnings(warnings, errors, o.file);
  if (!errors.Empty()) return ReportErrors(errors, o.file);

  return Commit(targets, file, convert, o, paths);
}

}  // namespace

void AddSepaConvertCommand(CLI::App& sepa, Action& action) {
  auto o = std::make_shared<ConvertOptions>();
  CLI::App* convert = sepa.add_subcommand(
      "convert",
      "DTAUS- oder DTAZV-Datei in SEPA umsetzen: DTAUS je logische Datei ein Dokument "
      "(Gutschriften pain.001, Lastschriften pain.008); DTAZV als pain.001.001.09, "
      "Euro in den SEPA-Raum als SEPA-Überweisungen, alles andere als Auslandsüberweisungen");
  convert
      ->add_option("DATEI", o->file,
                   "Die DTAUS- oder DTAZV-Datei (- für die Standardeingabe: nur DTAUS)")
      ->required();
  convert->add_option(
      "--iban", o->iban,
      "IBAN des Auftraggebers (sonst aus Bankleitzahl und Konto des Datensatzes A)");
  convert->add_option("--bic", o->bic, "BIC des Auftraggebers (sonst aus der Bankleitzahl)");
  convert->add_option("--glaeubiger-id", o->glaeubigerId,
                      "Gläubiger-Identifikationsnummer (Lastschriften)");
  convert->add_option("--mandate", o->mandate,
                      "Mandate als CSV: blz und konto oder iban, mandat_id, mandat_datum, sequenz "
                      "(FRST, RCUR, OOFF, FNAL)");
  convert->add_option("--iban-liste", o->ibanListe,
                      "IBANs als CSV: blz, konto, iban, bic (kann fehlen); vor der "
                      "Bankleitzahlendatei");
  convert->add_option("--bankdaten", o->bankdaten,
                      "Bankleitzahlendatei der Bundesbank (Standard: die neueste blz_*.txt im "
                      "Datenordner von ktoblzcheck)");
  convert->add_flag("--standardregel", o->standardregel,
                    "Für eine Bankleitzahlendatei ohne IBAN-Regeln die Standardregel annehmen");
  convert->add_option("--ausfuehrung", o->ausfuehrung,
                      "Ausführungs- bzw. Fälligkeitsdatum aller Dokumente, JJJJ-MM-TT oder "
                      "TT.MM.JJJJ (sonst das des Datensatzes A, ohne eines sein Dateidatum)");
  convert->add_flag("--version-alt", o->versionAlt,
                    "Ältere Fassung: pain.001.003.03 bzw. pain.008.003.02");
  convert->add_option("--nachricht-id", o->nachrichtId,
                      "Kennung der Datei (MsgId; bei mehreren Dokumenten mit -1, -2 ...; sonst "
                      "erzeugt)");
  convert->add_option("--dateiname", o->dateiname,
                      "Name der SEPA-Datei (sonst der der DTAUS-Datei mit .xml; bei mehreren "
                      "logischen Dateien mit -1, -2 ...)");
  convert->add_option("--verzeichnis", o->verzeichnis, "Verzeichnis der Ausgabe (sonst .)");
  convert->add_flag("--dry-run", o->dryRun, "Nur prüfen, nichts schreiben");
  convert->add_flag("--overwrite", o->overwrite, "Vorhandene Dateien ersetzen");
  convert->add_flag(
      "--streng", o->streng,
      "Keinen Text ändern: Texte, die umgeschrieben oder gekürzt würden, sind Fehler");
  convert->callback([o, &action] { action = [o] { return RunConvert(*o); }; });
}

}  // namespace zcli
