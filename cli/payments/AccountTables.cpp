#include "payments/AccountTables.h"

#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "commands/PaymentSource.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "payments/DtausAccounts.h"
#include "zordta/entry/AccountRows.h"
#include "zordta/entry/MessageText.h"

namespace zcli {

namespace {

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

}  // namespace

IbanList IbanList::Read(const std::string& path, Diagnostics& errors) {
  IbanList list;
  ForEachRow(path, IbanTableColumns(), errors,
             [&list](const InputRecord& r, const std::string& where, Diagnostics& found) {
               std::optional<zor::IbanRow> row = ReadIbanRow(r, where, found);
               if (!row) return;
               row->place = list.fWhere.size();
               const zor::DtausAccount account = row->account;
               if (const zor::IbanRow* earlier = list.fTable.Add(std::move(*row))) {
                 found.Add(
                     where, "",
                     AccountText(account) + " steht schon in " + list.fWhere[earlier->place] + ".");
                 return;
               }
               list.fWhere.push_back(where);
             });
  return list;
}

MandateList MandateList::Read(const std::string& path, Diagnostics& errors) {
  MandateList list;
  ForEachRow(path, MandateTableColumns(), errors,
             [&list](const InputRecord& r, const std::string& where, Diagnostics& found) {
               std::optional<zor::MandateRow> row = ReadMandateRow(r, where, found);
               if (!row) return;
               row->place = list.fWhere.size();
               list.fWhere.push_back(where);
               list.fRow.push_back(r.where);
               list.fTable.Add(std::move(*row));
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
