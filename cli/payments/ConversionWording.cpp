#include "payments/ConversionWording.h"

#include "io/EntryNames.h"
#include "payments/DtausAccounts.h"
#include "zordta/entry/SepaInput.h"

namespace zcli {

namespace {

using Kind = zor::DtausToSepaIssueKind;

// The library's sentence without its full stop, for more to follow.
std::string Clause(const std::string& text) {
  return !text.empty() && text.back() == '.' ? text.substr(0, text.size() - 1) : text;
}

std::string Field(const zor::DtausToSepaIssue& issue) {
  switch (issue.kind) {
    case Kind::NoCreditorId:
      return "--glaeubiger-id";
    case Kind::Refused:
    case Kind::TextChanged:
      return issue.sepaPlace ? SepaFieldLabel(issue.sepaPlace->field, issue.settings) : "";
    default:
      return issue.field;
  }
}

std::string Text(const zor::DtausToSepaIssue& issue, const std::string& mandatesName) {
  switch (issue.kind) {
    case Kind::PastDate:
      return Clause(issue.text) + "; mit --ausfuehrung DATUM ein neues Ausführungsdatum angeben.";
    case Kind::NoIbanRules:
      return "Die Datei nennt keine IBAN-Regeln. Eine Bankleitzahlendatei mit IBAN-Regeln mit "
             "--bankdaten angeben, mit --standardregel die Standardregel annehmen oder die IBANs "
             "mit --iban-liste angeben.";
    case Kind::RuleAssumed:
      return "Die Datei nennt keine IBAN-Regeln; die IBANs sind nach der Standardregel gebildet "
             "und für eine Bank mit eigener Regel falsch.";
    case Kind::NoIban:
      switch (*issue.bankFault) {
        case zor::BankCodeFault::SpecialIbanRule:
        case zor::BankCodeFault::Deleted:
        case zor::BankCodeFault::UnknownBankCode:
          return OneLine(issue.text) + " Die IBAN mit --iban-liste angeben.";
        default:
          return OneLine(issue.text);
      }
    case Kind::NoMandate:
      return issue.mandateTable ? Clause(issue.text) + " in " + mandatesName + "."
                                : "Kein Mandat: Lastschriften brauchen eine Mandatsliste "
                                  "(--mandate DATEI).";
    default:
      return issue.text;
  }
}

}  // namespace

void AddConversionIssue(const zor::DtausToSepaIssue& issue, const std::string& mandatesName,
                        Diagnostics& errors, Diagnostics& warnings) {
  Diagnostics& to = issue.IsFault() ? errors : warnings;
  // A million warnings: the texts beyond the kept ones are not even made.
  if (!to.Keeps()) {
    to.AddNotKept(1);
    return;
  }
  to.Add(issue.place.record == 0 ? kBankCodeFileWhere : RecordPlace(issue.place), Field(issue),
         Text(issue, mandatesName));
}

}  // namespace zcli
