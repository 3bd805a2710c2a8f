#include "zordta/entry/AccountRows.h"

#include <string_view>
#include <utility>

#include "core/MessageFill.h"
#include "entry/EntryMessages.h"
#include "entry/RowMessages.h"
#include "zordta/PaymentValues.h"
#include "zordta/Printable.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/SepaInput.h"
#include "zordta/entry/Values.h"
#include "zordta/host/SysUtils.h"

namespace zor::entry {

using zor::detail::Fill;

namespace {

// Blanks are how people group digits ("370 400 44").
std::optional<std::int64_t> Digits(std::string_view text, std::size_t least, std::size_t most) {
  std::string digits(text);
  std::erase(digits, ' ');
  if (digits.size() < least || digits.size() > most) return std::nullopt;
  return ParseDigits(digits);
}

// Bank code and account of a row; none when the row gives neither.
std::optional<zor::DtausAccount> ReadAccount(const InputRecord& r, const std::string& where,
                                             Diagnostics& errors) {
  const std::string_view blz = r.Get("blz");
  const std::string_view konto = r.Get("konto");
  if (blz.empty() && konto.empty()) return std::nullopt;
  const std::optional<std::int64_t> code = Digits(blz, 8, 8);
  const std::optional<std::int64_t> account = Digits(konto, 1, 10);
  if (!code) errors.Add(where, "blz", Fill(_MsgRowBankCodeDigits, {zor::PrintableText(blz)}));
  if (!account || *account == 0) {
    errors.Add(where, "konto", Fill(_MsgRowAccountDigits, {zor::PrintableText(konto)}));
  }
  if (!code || !account || *account == 0) return std::nullopt;
  return zor::DtausAccount{*code, *account};
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

}  // namespace

const CsvColumns& IbanTableColumns() {
  static const CsvColumns columns{
      {{"blz", "blz"}, {"konto", "konto"}, {"iban", "iban"}, {"bic", "bic"}},
      {"blz", "konto", "iban"}};
  return columns;
}

const CsvColumns& MandateTableColumns() {
  static const CsvColumns columns{{{"blz", "blz"},
                                   {"konto", "konto"},
                                   {"iban", "iban"},
                                   {"mandatid", "mandat_id"},
                                   {"mandatdatum", "mandat_datum"},
                                   {"sequenz", "sequenz"}},
                                  {"mandat_id", "mandat_datum", "sequenz"}};
  return columns;
}

std::optional<zor::IbanRow> ReadIbanRow(const InputRecord& r, const std::string& where,
                                        Diagnostics& errors) {
  const std::size_t before = errors.Count();
  const std::optional<zor::DtausAccount> account = ReadAccount(r, where, errors);
  if (!account && errors.Count() == before) {
    errors.Add(where, "blz", _MsgRowNoBankCodeNorAccount);
  }
  zor::IbanRow row;
  row.iban = ReadIban(r, where, errors);
  row.bic = CompactIdentifier(r.Get("bic"));
  if (row.iban.empty() && errors.Count() == before) errors.Add(where, "iban", _MsgEntryNoIban);
  if (!row.bic.empty()) {
    if (std::string problem = zor::BicProblemText(row.bic); !problem.empty()) {
      errors.Add(where, "bic", std::move(problem));
    }
  }
  if (errors.Count() != before) return std::nullopt;
  row.account = *account;
  return row;
}

std::optional<zor::MandateRow> ReadMandateRow(const InputRecord& r, const std::string& where,
                                              Diagnostics& errors) {
  const std::size_t before = errors.Count();
  zor::MandateRow row;
  row.account = ReadAccount(r, where, errors);
  row.iban = ReadIban(r, where, errors);
  if (!row.account && r.Get("iban").empty() && errors.Count() == before) {
    errors.Add(where, "", _MsgRowWhoseMandate);
  }
  row.id = r.Get("mandat_id");
  if (row.id.empty()) errors.Add(where, "mandat_id", _MsgRowNoMandateId);
  const std::string_view datum = r.Get("mandat_datum");
  if (const std::optional<zor::TDate> date = ParseDate(datum); !date) {
    errors.Add(where, "mandat_datum", Fill(_MsgRowNotADate, {zor::PrintableText(datum)}));
  } else if (*date > zor::Date()) {
    errors.Add(where, "mandat_datum", Fill(_MsgRowMandateAhead, {FormatIsoDate(*date)}));
  } else {
    row.signedOn = SepaDate(*date);
  }
  const std::string_view sequenz = r.Get("sequenz");
  if (const std::optional<zor::SepaSequence> sequence = zor::SepaSequenceOf(sequenz)) {
    row.sequence = *sequence;
  } else {
    errors.Add(where, "sequenz", Fill(_MsgRowNotASequence, {zor::PrintableText(sequenz)}));
  }
  if (errors.Count() != before) return std::nullopt;
  return row;
}

std::string AccountText(zor::DtausAccount account) {
  return Fill(_MsgRowAccount, {std::to_string(account.blz), std::to_string(account.konto)});
}

}  // namespace zor::entry
