#include "sepa/ForeignChecks.h"

#include <algorithm>
#include <utility>

#include "core/MessageFill.h"
#include "sepa/ForeignMessages.h"
#include "sepa/SepaMessages.h"
#include "sepa/SepaPartyChecks.h"
#include "sepa/SepaRefusals.h"
#include "sepa/SepaValues.h"
#include "zordta/Bic.h"
#include "zordta/Iban.h"
#include "zordta/IsoCodes.h"

namespace zor::detail {

namespace {

using namespace msgsepa;
using namespace msgforeign;

// What every check of one transfer (or of the settings, ordinal 0) needs.
struct Checks {
  bool strict;
  std::size_t ordinal;
  const SepaWarn& warn;
  SepaRefusals refusals;

  template <class Check>
  void Run(Check&& check) {
    refusals.Run(std::forward<Check>(check));
  }
  [[noreturn]] void Refuse(SepaFault fault, std::string_view field, std::string text) const {
    SepaRefuse(fault, {ordinal, std::string(field)}, std::move(text));
  }
  // A text of at most `maxChars`, transliterated or cut as any text is. Made
  // in `out`'s storage, which the writer keeps from transfer to transfer.
  void Text(const std::string& in, std::size_t maxChars, std::string_view field, std::string& out) {
    out.clear();
    if (in.empty()) return;
    Run([&] {
      std::string room;
      out.assign(SepaText(in, maxChars, strict, {ordinal, field}, warn, room));
    });
  }
  std::string Text(const std::string& in, std::size_t maxChars, std::string_view field) {
    std::string out;
    Text(in, maxChars, field, out);
    return out;
  }
  // A text that is never changed: changed, it would say something else.
  void Exact(const std::string& in, std::size_t maxChars, std::string_view field,
             std::string& out) {
    out.clear();
    if (in.empty()) return;
    Run([&] {
      std::string room;
      out.assign(SepaText(in, maxChars, true, {ordinal, field}, {}, room));
    });
  }
  void Name(const std::string& in, std::size_t maxChars, std::string_view field, std::string& out) {
    if (in.empty()) {
      out.clear();
      Run([&] { Refuse(SepaFault::Text, field, _MsgSepaNameEmpty); });
      return;
    }
    Text(in, maxChars, field, out);
  }
  std::string Name(const std::string& in, std::size_t maxChars, std::string_view field) {
    std::string out;
    Name(in, maxChars, field, out);
    return out;
  }
  void Address(const SepaPostalAddress& in, const std::string& party, SepaPostalAddress& out) {
    CheckSepaAddress24(in, party, ordinal, strict, warn, out, refusals);
  }
  SepaPostalAddress Address(const SepaPostalAddress& in, const std::string& party) {
    SepaPostalAddress out;
    Address(in, party, out);
    return out;
  }
};

bool IsCode(std::string_view code) {
  return !code.empty() && code.size() <= 4 && std::all_of(code.begin(), code.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

void Code(Checks& c, const std::string& code, std::string_view field) {
  if (code.empty() || IsCode(code)) return;
  c.Run(
      [&] { c.Refuse(SepaFault::Instruction, field, Fill(_MsgForeignCode, {SepaQuoted(code)})); });
}

void Amount(Checks& c, const ForeignTransfer& t) {
  if (t.amount < 1 || t.amount > kForeignMaxAmount) {
    c.Run([&] { c.Refuse(SepaFault::Amount, "InstdAmt", _MsgForeignAmount); });
  }
  for (const std::string* currency : {&t.currency, &t.currencyOfTransfer}) {
    if (currency->empty() && currency != &t.currency) continue;
    if (IsPayableCurrency(*currency)) continue;
    c.Run([&] {
      c.Refuse(SepaFault::Currency, currency == &t.currency ? "InstdAmt/@Ccy" : "EqvtAmt/CcyOfTrf",
               Fill(_MsgForeignCurrency, {SepaQuoted(*currency)}));
    });
  }
  if (t.currencyOfTransfer == t.currency) {
    c.Run([&] {
      c.Refuse(SepaFault::Currency, "EqvtAmt/CcyOfTrf",
               Fill(_MsgForeignSameCurrency, {SepaQuoted(t.currency)}));
    });
  }
}

// The creditor's bank: a BIC, else a name with town and country.
void Agent(Checks& c, const ForeignTransfer& t, ForeignCheckedTransfer& out) {
  if (!t.agentBic.empty()) {
    if (!CheckBIC(t.agentBic, BicBankCode::LettersOrDigits).IsValid()) {
      c.Run([&] {
        c.Refuse(SepaFault::Bic, "CdtrAgt/BICFI", Fill(_MsgSepaBic, {SepaQuoted(t.agentBic)}));
      });
    }
    return;
  }
  if (t.agentName.empty()) {
    c.Run([&] { c.Refuse(SepaFault::Bic, "CdtrAgt", _MsgForeignNoAgent); });
    return;
  }
  c.Text(t.agentName, 140, "CdtrAgt/FinInstnId/Nm", out.agentName);
  c.Address(t.agentAddress, "CdtrAgt/FinInstnId", out.agentAddress);
  if (FormOf(out.agentAddress) == SepaAddressForm::None) {
    c.Run([&] {
      c.Refuse(SepaFault::Address, "CdtrAgt/FinInstnId/PstlAdr", _MsgForeignAgentAddress);
    });
  }
}

void Creditor(Checks& c, const ForeignTransfer& t, ForeignCheckedTransfer& out) {
  c.Name(t.creditorName, 140, "Cdtr/Nm", out.creditorName);
  c.Address(t.creditorAddress, "Cdtr", out.creditorAddress);
  // A partial address is named by its own checks; none at all is named here.
  if (FormOf(out.creditorAddress) == SepaAddressForm::None) {
    c.Run([&] { c.Refuse(SepaFault::Address, "Cdtr/PstlAdr", _MsgForeignCreditorAddress); });
  }
  if (t.creditorIban.empty() == t.creditorAccount.empty()) {
    c.Run([&] {
      c.Refuse(SepaFault::Iban, "CdtrAcct",
               t.creditorIban.empty() ? _MsgForeignNoAccount : _MsgForeignTwoAccounts);
    });
  } else if (!t.creditorIban.empty() && !CheckIBAN(t.creditorIban).IsValid()) {
    c.Run([&] {
      c.Refuse(SepaFault::Iban, "CdtrAcct/Id/IBAN",
               Fill(_MsgSepaIban, {SepaQuoted(t.creditorIban)}));
    });
  } else if (t.creditorAccount.size() > 34) {
    c.Run([&] {
      c.Refuse(SepaFault::Iban, "CdtrAcct/Id/Othr/Id",
               Fill(_MsgForeignAccountLength, {SepaQuoted(t.creditorAccount)}));
    });
  } else if (!t.creditorAccount.empty()) {
    c.Run([&] {
      CheckSepaIdentifier(t.creditorAccount, true, {c.ordinal, "CdtrAcct/Id/Othr/Id"});
    });
  }
}

// The creditor's bank takes each instruction once, and not both of CHQB and
// HOLD (a cheque is not held) or of PHOB and TELB (one way to tell the payee).
void Instructions(Checks& c, const ForeignTransfer& t) {
  using I = ForeignCreditorInstruction;
  const auto& list = t.creditorAgentInstructions;
  const auto has = [&](I i) { return std::count(list.begin(), list.end(), i); };
  for (const I i :
       {I::PayByCheque, I::HoldForCollection, I::PhoneBeneficiary, I::TelecomBeneficiary}) {
    if (has(i) <= 1) continue;
    c.Run([&] {
      c.Refuse(SepaFault::Instruction, "InstrForCdtrAgt/Cd",
               Fill(_MsgForeignInstructionTwice, {ForeignInstructionCode(i)}));
    });
  }
  // A pair, not a structured binding: clang 14 cannot capture one in a lambda.
  for (const std::pair<I, I>& pair : {std::pair{I::PayByCheque, I::HoldForCollection},
                                      std::pair{I::PhoneBeneficiary, I::TelecomBeneficiary}}) {
    if (has(pair.first) == 0 || has(pair.second) == 0) continue;
    c.Run([&] {
      c.Refuse(SepaFault::Instruction, "InstrForCdtrAgt/Cd",
               Fill(_MsgForeignInstructionsExclude,
                    {ForeignInstructionCode(pair.first), ForeignInstructionCode(pair.second)}));
    });
  }
}

// Reports are the debtor's statements to an authority: never cut or changed.
void Reports(Checks& c, const ForeignTransfer& t, std::vector<ForeignReport>& out) {
  if (t.reports.size() > 10) {
    c.Run([&] {
      c.Refuse(SepaFault::Report, "RgltryRptg",
               Fill(_MsgForeignTooManyReports, {std::to_string(t.reports.size())}));
    });
  }
  out.resize(t.reports.size());
  for (std::size_t i = 0; i < t.reports.size(); ++i) {
    const ForeignReport& r = t.reports[i];
    if (r.type.empty() && r.code.empty() && r.information.empty()) {
      c.Run([&] { c.Refuse(SepaFault::Report, "RgltryRptg/Dtls", _MsgForeignEmptyReport); });
    }
    ForeignReport& checked = out[i];
    c.Exact(r.type, 35, "RgltryRptg/Dtls/Tp", checked.type);
    c.Exact(r.code, 10, "RgltryRptg/Dtls/Cd", checked.code);
    checked.information.resize(r.information.size());
    for (std::size_t line = 0; line < r.information.size(); ++line) {
      c.Exact(r.information[line], 35, "RgltryRptg/Dtls/Inf", checked.information[line]);
    }
  }
}

bool IsDay(const std::chrono::year_month_day& date) {
  return date.ok() && date.year() >= std::chrono::year(1900) &&
         date.year() <= std::chrono::year(9999);
}

}  // namespace

ForeignCheckedSettings CheckForeignSettings(const ForeignTransferSettings& s,
                                            const SepaWarn& warn) {
  Checks c{s.strict, 0, warn, {}};
  ForeignCheckedSettings out;
  out.messageId = s.messageId.empty() ? SepaMadeMessageId() : s.messageId;
  c.Run([&] { CheckSepaIdentifier(out.messageId, false, {0, "MsgId"}); });
  out.debtorName = c.Name(s.debtor.name, 140, "Dbtr/Nm");
  out.initiatingParty =
      s.initiatingParty.empty() ? out.debtorName : c.Text(s.initiatingParty, 140, "InitgPty/Nm");
  out.debtorAddress = c.Address(s.debtor.address, "Dbtr");
  std::string room;
  out.debtorIban = std::string(SepaNormalIban(s.debtor.iban, room));
  if (!CheckIBAN(out.debtorIban).IsValid()) {
    c.Run([&] {
      c.Refuse(SepaFault::Iban, "DbtrAcct/Id/IBAN",
               Fill(_MsgSepaIban, {SepaQuoted(s.debtor.iban)}));
    });
  }
  out.debtorBic = s.debtor.bic;
  if (!out.debtorBic.empty() && !CheckBIC(out.debtorBic, BicBankCode::LettersOrDigits).IsValid()) {
    c.Run([&] {
      c.Refuse(SepaFault::Bic, "DbtrAgt/BICFI", Fill(_MsgSepaBic, {SepaQuoted(s.debtor.bic)}));
    });
  }
  if (!s.debtorAccountCurrency.empty() && !IsCurrencyCode(s.debtorAccountCurrency)) {
    c.Run([&] {
      c.Refuse(SepaFault::Currency, "DbtrAcct/Ccy",
               Fill(_MsgForeignCurrency, {SepaQuoted(s.debtorAccountCurrency)}));
    });
  }
  if (!IsCountryCode(s.authority.country)) {
    c.Run([&] {
      c.Refuse(SepaFault::Address, "RgltryRptg/Authrty/Ctry",
               Fill(_MsgSepaAddressCountry, {s.authority.country}));
    });
  }
  c.refusals.RaiseAny();
  return out;
}

void CheckForeignTransfer(const ForeignTransferSettings& s, const ForeignTransfer& t,
                          std::size_t ordinal, const SepaWarn& warn, ForeignCheckedTransfer& out) {
  Checks c{s.strict, ordinal, warn, {}};
  if (!IsDay(t.date)) c.Run([&] { c.Refuse(SepaFault::Date, "ReqdExctnDt", _MsgSepaDate); });
  Amount(c, t);
  out.endToEndId.assign(t.endToEndId.empty() ? std::string_view("NOTPROVIDED") : t.endToEndId);
  c.Run([&] { CheckSepaIdentifier(out.endToEndId, false, {ordinal, "EndToEndId"}); });
  out.instructionId.assign(t.instructionId);
  if (!t.instructionId.empty()) {
    c.Run([&] { CheckSepaIdentifier(t.instructionId, true, {ordinal, "InstrId"}); });
  }
  Code(c, t.serviceLevel, "SvcLvl/Cd");
  Code(c, t.categoryPurpose, "CtgyPurp/Cd");
  c.Exact(t.localInstrument, 35, "LclInstrm/Prtry", out.localInstrument);
  // A bank given by its BIC has neither name nor address here.
  out.agentName.clear();
  if (!(out.agentAddress == SepaPostalAddress{})) out.agentAddress = {};
  Agent(c, t, out);
  Creditor(c, t, out);
  Instructions(c, t);
  c.Text(t.creditorAgentInformation, 140, "InstrForCdtrAgt/InstrInf", out.creditorAgentInformation);
  c.Text(t.debtorAgentInstruction, 140, "InstrForDbtrAgt", out.debtorAgentInstruction);
  Reports(c, t, out.reports);
  c.Text(t.remittance, 140, "Ustrd", out.remittance);
  c.refusals.RaiseAny();
}

ForeignCheckedTransfer CheckForeignTransfer(const ForeignTransferSettings& s,
                                            const ForeignTransfer& t, std::size_t ordinal,
                                            const SepaWarn& warn) {
  ForeignCheckedTransfer out;
  CheckForeignTransfer(s, t, ordinal, warn, out);
  return out;
}

}  // namespace zor::detail
