#include "payments/AccountTables.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "commands/PaymentSource.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "payments/DtausAccounts.h"
#include "zordta/PaymentValues.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/SepaInput.h"
#include "zordta/entry/Values.h"
#include "zordta/host/SysUtils.h"

namespace zcli {

namespace {

const CsvColumns& IbanColumns() {
  static const CsvColumns columns{
      {{"blz", "blz"}, {"konto", "konto"}, {"iban", "iban"}, {"bic", "bic"}},
      {"blz", "konto", "iban"}};
  return columns;
}

const CsvColumns& MandateColumns() {
  static const CsvColumns columns{{{"blz", "blz"},
                                   {"konto", "konto"},
                                   {"iban", "iban"},
                                   {"mandatid", "mandat_id"},
                                   {"mandatdatum", "mandat_datum"},
                                   {"sequenz", "sequenz"}},
                                  {"mandat_id", "mandat_datum", "sequenz"}};
  return columns;
}

// Every row of a table, its faults placed with the table's name, which the
// messages about the DTAUS file do not carry.
void ForEachRow(
    const std::string& path, const CsvColumns& columns, Diagnostics& errors,
    const std::function<void(const InputRecord&, const std::string&, Diagnostics&)>& take) {
  const PaymentSource table = PaymentSource::FromCsvText(path, ReadInput(path), "", columns);
  Diagnostics found;
  table.ForEach([&](const InputRecord& record) { take(record, path + ": " + record.where, found); },
                found);
  for (const Diagnostic& d : found.Items()) {
    const bool placed = d.where.starts_with(path + ": ");
    errors.Add(placed ? d.where : path + ": " + d.where, d.field, d.message);
  }
}

// Blanks are how people group digits ("370 400 44").
std::optional<std::int64_t> Digits(std::string_view text, std::size_t least, std::size_t most) {
  std::string digits(text);
  std::erase(digits, ' ');
  if (digits.size() < least || digits.size() > most) return std::nullopt;
  return ParseDigits(digits);
}

// Bank code and account of a row; none when the row gives neither.
std::optional<AccountKey> ReadAccount(const InputRecord& r, const std::string& where,
                                      Diagnostics& errors) {
  const std::string_view blz = r.Get("blz");
  const std::string_view konto = r.Get("konto");
  if (blz.empty() && konto.empty()) return std::nullopt;
  const std::optional<std::int64_t> code = Digits(blz, 8, 8);
  const std::optional<std::int64_t> account = Digits(konto, 1, 10);
  if (!code)
    errors.Add(where, "blz", "Eine Bankleitzahl hat 8 Ziffern, nicht " + Quoted(blz) + ".");
  if (!account || *account == 0) {
    errors.Add(where, "konto",
               "Eine Kontonummer hat 1 bis 10 Ziffern, nicht " + Quoted(konto) + ".");
  }
  if (!code || !account || *account == 0) return std::nullopt;
  return AccountKey{*code, *account};
}

// The IBAN of a row, checked; empty when the row has none or a faulty one.
std::string ReadIban(const InputRecord& r, const std::string& where, Diagnostics& errors) {
  std::string iban = CompactIdentifier(r.Get("iban"));
  if (iban.empty()) return iban;
  if (std::string problem = zor::IbanProblemText(iban); !problem.empty()) {
    errors.Add(where, "iban", std::move(problem));
    return {};
  }
  return iban;
}

std::string AccountText(AccountKey account) {
  return "BLZ " + std::to_string(account.blz) + ", Konto " + std::to_string(account.konto);
}

std::optional<zor::SepaSequence> ParseSequence(std::string_view text) {
  const std::string code = AsciiUpper(text);
  if (code == "FRST") return zor::SepaSequence::First;
  if (code == "RCUR") return zor::SepaSequence::Recurring;
  if (code == "OOFF") return zor::SepaSequence::OneOff;
  if (code == "FNAL") return zor::SepaSequence::Final;
  return std::nullopt;
}

}  // namespace

IbanList IbanList::Read(const std::string& path, Diagnostics& errors) {
  IbanList list;
  ForEachRow(
      path, IbanColumns(), errors,
      [&list](const InputRecord& r, const std::string& where, Diagnostics& found) {
        const std::size_t before = found.Count();
        const std::optional<AccountKey> account = ReadAccount(r, where, found);
        if (!account && found.Count() == before) {
          found.Add(where, "blz", "Bankleitzahl und Kontonummer fehlen.");
        }
        zor::IbanRow row;
        row.iban = ReadIban(r, where, found);
        row.bic = CompactIdentifier(r.Get("bic"));
        if (row.iban.empty() && found.Count() == before) {
          found.Add(where, "iban", "Die IBAN fehlt.");
        }
        if (!row.bic.empty()) {
          if (std::string problem = zor::BicProblemText(row.bic); !problem.empty()) {
            found.Add(where, "bic", std::move(problem));
          }
        }
        if (found.Count() != before) return;
        row.account = *account;
        row.place = list.fWhere.size();
        if (const zor::IbanRow* earlier = list.fTable.Add(std::move(row))) {
          found.Add(where, "",
                    AccountText(*account) + " steht schon in " + list.fWhere[earlier->place] + ".");
          return;
        }
        list.fWhere.push_back(where);
      });
  return list;
}

MandateList MandateList::Read(const std::string& path, Diagnostics& errors) {
  MandateList list;
  ForEachRow(path, MandateColumns(), errors,
             [&list](const InputRecord& r, const std::string& where, Diagnostics& found) {
               const std::size_t before = found.Count();
               zor::MandateRow row;
               if (const std::optional<AccountKey> account = ReadAccount(r, where, found)) {
                 row.account = zor::DtausAccount{account->blz, account->konto};
               }
               row.iban = ReadIban(r, where, found);
               if (!row.account && r.Get("iban").empty() && found.Count() == before) {
                 found.Add(where, "", "Es fehlen blz und konto oder iban: wessen Mandat?");
               }
               row.id = r.Get("mandat_id");
               if (row.id.empty()) found.Add(where, "mandat_id", "Die Mandatsreferenz fehlt.");
               const std::string_view datum = r.Get("mandat_datum");
               if (const std::optional<zor::TDate> date = ParseDate(datum); !date) {
                 found.Add(where, "mandat_datum",
                           Quoted(datum) + " ist kein Datum (JJJJ-MM-TT oder TT.MM.JJJJ).");
               } else if (*date > zor::Date()) {
                 found.Add(
                     where, "mandat_datum",
                     "Das Mandat ist auf den " + FormatIsoDate(*date) + " datiert, nach heute.");
               } else {
                 row.signedOn = SepaDate(*date);
               }
               const std::string_view sequenz = r.Get("sequenz");
               if (const std::optional<zor::SepaSequence> sequence = ParseSequence(sequenz)) {
                 row.sequence = *sequence;
               } else {
                 found.Add(where, "sequenz",
                           Quoted(sequenz) + " ist keine Sequenz (FRST, RCUR, OOFF oder FNAL).");
               }
               if (found.Count() != before) return;
               row.place = list.fWhere.size();
               list.fWhere.push_back(where);
               list.fRow.push_back(r.where);
               list.fTable.Add(std::move(row));
             });
  return list;
}

void MandateList::Settle(DtausAccounts& accounts, Diagnostics& errors, Diagnostics& notes) {
  zor::SepaAccount made;
  const auto ibanOf = [&](zor::DtausAccount account) -> std::optional<std::string> {
    if (!accounts.Quietly(account.blz, account.konto, made)) return std::nullopt;
    return made.iban;
  };
  for (const zor::MandateIssue& issue : fTable.Settle(ibanOf)) Word(issue, errors, notes);
}

void MandateList::NoteUnused(Diagnostics& notes) const {
  for (const zor::MandateIssue& issue : fTable.Unused()) Word(issue, notes, notes);
}

void MandateList::Word(const zor::MandateIssue& issue, Diagnostics& errors,
                       Diagnostics& notes) const {
  const zor::MandateRow& row = *issue.row;
  const std::string& where = fWhere[row.place];
  const std::string account = row.account ? AccountText(*row.account) : "Die IBAN " + row.iban;
  switch (issue.kind) {
    case zor::MandateIssueKind::TwoAccounts:
      errors.Add(where, "iban",
                 account + " hat die IBAN " + issue.madeIban + ", nicht " + row.iban +
                     ": die Zeile nennt zwei Konten. Ein Konto je Zeile angeben.");
      return;
    case zor::MandateIssueKind::Conflict:
      errors.Add(where, "",
                 account + " steht schon in " + fRow[issue.earlier->place] +
                     ", mit anderen Mandatsdaten. Ein Konto hat eine Zeile.");
      return;
    case zor::MandateIssueKind::Repeated:
      notes.Add(where, "",
                account + " steht schon in " + fRow[issue.earlier->place] +
                    ", mit denselben Mandatsdaten; die Zeile zählt einmal.");
      return;
    case zor::MandateIssueKind::Unused:
      notes.Add(where, "", "Keine Zahlung der Datei nutzt das Mandat " + Quoted(row.id) + ".");
      return;
  }
}

}  // namespace zcli
