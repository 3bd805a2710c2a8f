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
#include <vector>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "commands/WriteOptions.h"
#include "io/Diagnostics.h"
#include "io/FileBytes.h"
#include "io/MessageText.h"
#include "io/Values.h"
#include "output/FileOut.h"
#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"
#include "payments/AccountTables.h"
#include "payments/AccountWarnings.h"
#include "payments/BankCodeSource.h"
#include "payments/BankIdentifiers.h"
#include "payments/CheckedDtaus.h"
#include "payments/DtausAccounts.h"
#include "payments/DtausToSepa.h"
#include "payments/Dtazv.h"
#include "payments/SepaInput.h"
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

// One logical file: its settings, its plan once its first payment came, and
// while it is written its temporary file and writer.
struct Document {
  SepaDocument sepa;
  std::optional<zor::SepaPlan> plan;
  std::string target;
  std::vector<zor::SepaGroupTotals> groups;
  std::unique_ptr<FileOut> out;
  std::unique_ptr<zor::SepaWriter> writer;
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
ConvertSettings ReadOptions(const ConvertOptions& o, Diagnostics& errors) {
  ConvertSettings s;
  s.version = o.versionAlt ? zor::SepaVersion::German : zor::SepaVersion::Current;
  s.strict = o.streng;
  s.messageId = o.nachrichtId;
  s.clientIban = CompactIdentifier(o.iban);
  if (std::string problem = s.clientIban.empty() ? "" : IbanProblem(s.clientIban);
      !problem.empty()) {
    errors.Add(kOptionsWhere, "--iban", std::move(problem));
    s.clientIban = kStandInIban;
  }
  s.clientBic = CompactIdentifier(o.bic);
  if (std::string problem = s.clientBic.empty() ? "" : BicProblem(s.clientBic); !problem.empty()) {
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

// The library's warnings from `first` on, placed at `where`. It keeps the text
// of the first hundred; the others are still counted.
void TakeWarnings(const zor::SepaPlan& plan, std::size_t first, const std::string& where,
                  bool settings, Diagnostics& warnings) {
  const std::vector<zor::SepaWarning>& kept = plan.Warnings();
  for (std::size_t i = first; i < plan.WarningCount(); ++i) {
    if (i < kept.size()) {
      warnings.Add(where, SepaFieldLabel(kept[i].place.field, settings), kept[i].text);
    } else {
      warnings.Add(where, "", "Ein Text wurde umschrieben oder gekürzt.");
    }
  }
}

// The plan of a document; settings the library refuses are reported and
// replaced by stand-ins, so that the payments are still checked.
zor::SepaPlan OpenPlan(const SepaDocument& doc, Diagnostics& errors, Diagnostics& warnings) {
  const std::string where = RecordPlace(doc.place);
  try {
    zor::SepaPlan plan(doc.settings);
    TakeWarnings(plan, 0, where, true, warnings);
    return plan;
  } catch (const zor::SepaError& e) {
    AddSepaRefusal(e, where, true, errors);
  }
  zor::SepaSettings standIn = doc.settings;
  standIn.account = {"X", kStandInIban, ""};
  standIn.creditorId = kStandInCreditorId;
  standIn.messageId.clear();
  return zor::SepaPlan(standIn);
}

std::string Summary(const zor::SepaPlan& plan) {
  const bool debits = plan.Settings().kind == zor::SepaKind::DirectDebit;
  return (debits ? Counted(plan.Count(), "Lastschrift", "Lastschriften")
                 : Counted(plan.Count(), "Überweisung", "Überweisungen")) +
         ", Summe " + GermanAmount(plan.Cents()) + " EUR";
}

// Every document into its temporary file, block by block: one more reading
// of the DTAUS file per block, which writes that block of every document.
// The documents become their targets together, or none does.
void WriteDocuments(std::vector<Document>& docs, const CheckedDtaus& file, DtausToSepa& convert,
                    const ConvertOptions& o, const std::vector<std::string>& inputs) {
  StagedFiles staged(o.overwrite, inputs);
  std::size_t passes = 0;
  for (Document& d : docs) {
    CreateFolderOf(d.target);
    d.out = std::make_unique<FileOut>(staged.Stage(d.target));
    if (!*d.out) throw CannotWrite(d.target, d.out->Error());
    d.groups = d.plan->Groups();
    passes = std::max(passes, d.groups.size());
  }
  try {
    for (Document& d : docs) d.writer = std::make_unique<zor::SepaWriter>(*d.plan, *d.out);
    for (std::size_t block = 0; block < passes; ++block) {
      Diagnostics again;
      Diagnostics ignored;
      ignored.KeepAtMost(0);  // the first reading reported them
      zor::SepaPayment payment;
      const bool same = file.ReadAgain([&](std::size_t f, const zor::DtausPayment& p) {
        Document& d = docs[f];
        if (block >= d.groups.size()) return;
        if (convert.Convert(p, d.sepa, payment, again, ignored) &&
            payment.group == d.groups[block].group) {
          d.writer->Add(payment);
        }
      });
      // The same file, converted the same way: a fault here means it changed.
      if (!same || !again.Empty()) throw OutputError(o.file + ": " + kFileChangedWhileRead);
    }
    for (Document& d : docs) {
      d.writer->Finish();
      d.writer.reset();
      d.out->close();
      if (!*d.out) throw CannotWrite(d.target, d.out->Error());
    }
  } catch (const zor::SepaError& e) {
    // The writer knows only that its stream failed; the file knows why.
    for (const Document& d : docs) {
      if (d.out->Error() != 0) throw CannotWrite(d.target, d.out->Error());
    }
    throw OutputError(o.file + ": " + OneLine(e.what()));
  }
  staged.Commit();
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

// The documents planned payment by payment: each converted, checked and
// counted in its block. Faults and warnings are only collected, so that a
// file the reader refuses later is refused with nothing else said.
class Planning {
 public:
  Planning(const CheckedDtaus& file, DtausToSepa& convert, const AccountWarnings* accountChecks,
           const ConvertOptions& o, Diagnostics& errors, Diagnostics& warnings)
      : fFile(file),
        fConvert(convert),
        fAccountChecks(accountChecks),
        fOptions(o),
        fErrors(errors),
        fWarnings(warnings) {}

  void Take(std::size_t f, const zor::DtausPayment& p) {
    Guarded([&] { Plan(f, p); });
  }
  /// After the last payment: the documents of logical files without one.
  void Finish() {
    Guarded([&] { OpenUpTo(fFile.Files().size()); });
  }
  /// What stopped the planning, such as a bank-code file that is needed and
  /// cannot be read: raised once the file is known to be sound, where the
  /// planning stood when it was a reading of its own.
  void RaiseFault() const {
    if (fFault) std::rethrow_exception(fFault);
  }
  std::vector<Document>& Documents() { return fDocs; }

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

  void CheckAccount(std::int64_t blz, std::int64_t konto, const RecordWhere& where) {
    if (fAccountChecks) {
      fAccountChecks->CheckAt(blz, konto, where, fOptions.streng ? fErrors : fWarnings);
    }
  }

  void OpenUpTo(std::size_t last) {
    if (fDocs.size() < last) fDocs.resize(last);
    // A message ID given is numbered when there are several documents; the
    // caller counted the logical files first then.
    const bool numbered = !fOptions.nachrichtId.empty() && fFile.Files().size() > 1;
    for (; fOpened < last; ++fOpened) {
      const zor::DtausHeader& header = fFile.Files()[fOpened].header;
      fDocs[fOpened].sepa = fConvert.Open(header, fOpened + 1, numbered, fErrors, fWarnings);
      if (fDocs[fOpened].sepa.usable && fOptions.iban.empty()) {
        CheckAccount(header.auftraggeber.blz, header.auftraggeber.konto, RecordWhere(header.place));
      }
    }
  }

  void Plan(std::size_t f, const zor::DtausPayment& p) {
    OpenUpTo(f + 1);
    Document& d = fDocs[f];
    if (!d.sepa.usable) return;
    const bool converted = fConvert.Convert(p, d.sepa, fPayment, fErrors, fWarnings);
    // After the first payment, which decides a direct debit's instrument.
    if (!d.plan) d.plan.emplace(OpenPlan(d.sepa, fErrors, fWarnings));
    if (!converted) return;
    const RecordWhere where(p.place);
    CheckAccount(p.blz, p.konto, where);
    const std::size_t warned = d.plan->WarningCount();
    try {
      d.plan->Add(fPayment);
    } catch (const zor::SepaError& e) {
      AddSepaRefusal(e, where(), false, fErrors);
    }
    if (d.plan->WarningCount() > warned) TakeWarnings(*d.plan, warned, where(), false, fWarnings);
  }

  const CheckedDtaus& fFile;
  DtausToSepa& fConvert;
  const AccountWarnings* fAccountChecks;
  const ConvertOptions& fOptions;
  Diagnostics& fErrors;
  Diagnostics& fWarnings;
  std::vector<Document> fDocs;
  std::size_t fOpened = 0;
  zor::SepaPayment fPayment;
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

void RefuseEmptyFiles(const std::vector<Document>& docs, Diagnostics& errors) {
  for (const Document& d : docs) {
    if (d.sepa.usable && !d.plan) {
      errors.Add(RecordPlace(d.sepa.place), "",
                 "Die logische Datei hat keine Buchungen; ein SEPA-Dokument braucht eine.");
    }
  }
}

// The documents of a sound file: only summed up with --dry-run, else written
// and committed together.
int Commit(std::vector<Document>& docs, const CheckedDtaus& file, DtausToSepa& convert,
           const ConvertOptions& o, const WriteOptions& paths) {
  if (o.dryRun) {
    for (const Document& d : docs) {
      std::cout << "Geprüft: " << d.target << ": " << Summary(*d.plan) << "; nichts geschrieben.\n";
    }
    return kDone;
  }
  for (const Document& d : docs) {
    OutputFiles target;
    target.target = d.target;
    target.inputs = paths.readFiles;
    CheckTargetsFree(target, paths);
  }
  try {
    WriteDocuments(docs, file, convert, o, paths.readFiles);
  } catch (const OutputError& e) {
    std::cerr << "Fehler: " << e.what() << "\nNichts geschrieben.\n";
    return kBadData;
  }
  for (const Document& d : docs) std::cout << d.target << ": " << Summary(*d.plan) << '\n';
  return FlushStandardOutput() ? kDone : kWrittenNotAll;
}

int RunConvert(const ConvertOptions& o) {
  if (o.dateiname.empty() && o.file == kStandardInput) {
    throw UsageError("Für die Standardeingabe den Namen der SEPA-Datei mit --dateiname angeben.");
  }
  WriteOptions paths;
  paths.noText = true;
  paths.noPdf = true;
  paths.overwrite = o.overwrite;
  PlanOutput(o.verzeichnis, FileName(o, 1, 1), "--dateiname", paths);  // a bare name

  Diagnostics errors;
  ConvertSettings settings = ReadOptions(o, errors);
  Diagnostics tableErrors;
  std::optional<IbanList> ibans;
  if (!o.ibanListe.empty()) ibans = IbanList::Read(o.ibanListe, tableErrors);
  std::optional<MandateList> mandates;
  if (!o.mandate.empty()) mandates = MandateList::Read(o.mandate, tableErrors);
  // The payments would be judged by tables that are wrong.
  if (!tableErrors.Empty()) return ReportErrors(tableErrors, "");
  settings.mandates = mandates ? &*mandates : nullptr;
  settings.mandatesName = o.mandate;

  // The bank-code file serves the IBANs and the account checks: read once.
  // Accounts their bank would refuse are warnings, with --streng faults; a
  // default bank-code file that is missing leaves them unchecked.
  const RunBankCodes banks = ReadRunBankCodes(o.bankdaten);
  const std::shared_ptr<const AccountWarnings> accountChecks = AccountWarnings::Of(banks);
  DtausAccounts accounts(banks, o.standardregel, ibans ? &*ibans : nullptr);
  Diagnostics notes;
  notes.KeepAtMost(kShownWarnings);  // a table of a million rows notes no more
  if (mandates) {
    // By the IBANs the payments get, so that the table holds each account once.
    mandates->Settle(accounts, tableErrors, notes);
    if (!tableErrors.Empty()) {
      ReportNotes(notes);
      return ReportErrors(tableErrors, "");
    }
  }
  DtausToSepa convert(settings, accounts);
  Diagnostics warnings;
  warnings.KeepAtMost(kKeptWarnings);  // a million warnings cost no memory

  // The plans are made while the file is checked, unless a message ID is
  // given: the first document's ID is numbered only when there are several,
  // and its plan checks the ID, so then the logical files are counted first.
  CheckedDtaus file(o.file, {});
  Planning planning(file, convert, accountChecks.get(), o, errors, warnings);
  const bool countFirst = !o.nachrichtId.empty();
  const TakePayment plan = [&planning](std::size_t f, const zor::DtausPayment& p) {
    planning.Take(f, p);
  };
  if (!ReadWhole(o, file, countFirst ? TakePayment() : plan)) return kBadData;
  const std::size_t count = file.Files().size();
  std::vector<Document>& docs = planning.Documents();
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
  for (std::size_t i = 0; i < count; ++i) docs[i].target = targets[i];
  RefuseEmptyFiles(docs, errors);
  if (mandates) mandates->NoteUnused(notes);
  ReportNotes(notes);
  ReportWarnings(warnings, errors, o.file);
  if (!errors.Empty()) return ReportErrors(errors, o.file);

  return Commit(docs, file, convert, o, paths);
}

}  // namespace

void AddSepaConvertCommand(CLI::App& sepa, Action& action) {
  auto o = std::make_shared<ConvertOptions>();
  CLI::App* convert = sepa.add_subcommand(
      "convert",
      "DTAUS-Datei in SEPA umsetzen: jede logische Datei ein Dokument, Gutschriften als "
      "pain.001, Lastschriften als pain.008");
  convert->add_option("DATEI", o->file, "Die DTAUS-Datei (- für die Standardeingabe)")->required();
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
