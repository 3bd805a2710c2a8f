// What tells the SEPA documents apart, one entry per kind and version: the
// writer and the reader take from here every name that differs between two of
// them, so that another version is one more entry. Names all documents share
// (GrpHdr, Nm, IBAN, ...) and the debits' own blocks (mandate, scheme id) are
// spelled where they are written and read.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "zordta/Sepa.h"

namespace zor::detail {

/// A party with its account and its bank, as one document names them.
struct SepaPartyNames {
  std::string_view party;    // Dbtr
  std::string_view account;  // DbtrAcct
  std::string_view agent;    // DbtrAgt
  bool agentRequired;        // else left out without a BIC
};

/// Every name is a literal, so that data() ends in a NUL for libxml2.
struct SepaSchema {
  SepaKind kind;
  SepaVersion version;
  std::string_view nameSpace;
  std::string_view initiation;  // child of Document
  std::string_view method;      // PmtMtd
  std::string_view date;        // the requested date of PmtInf
  std::string_view dateInner;   // the element in `date` holding it; empty: `date` itself
  SepaPartyNames own;           // the initiating party, in PmtInf
  SepaPartyNames other;         // the counterparty, in each transaction
  std::string_view transaction;
  std::string_view amountOuter;  // the element around InstdAmt; empty: none
  std::string_view bic;          // in FinInstnId
  /// The older BIC pattern: the bank code in letters, no location code 0 or 1
  /// in its first and no O in its second character.
  bool olderBic;
  /// The edition of 2019: structured addresses (PostalAddress24) for every party,
  /// LEI, UETR, INST, and an identification of a debit's creditor. The older
  /// versions take a country and two address lines, of the debtor and creditor only.
  bool edition2019;
  /// A mandate's new debtor bank (SMNDA) is stated in OrgnlDbtrAcct, as the
  /// schemes have it since 2016, not in OrgnlDbtrAgt as pain.008.003.02 has it.
  bool smndaInAccount;

  /// "pain.001.001.09", as messages name the version.
  constexpr std::string_view Message() const { return nameSpace.substr(nameSpace.rfind(':') + 1); }
};

inline constexpr SepaPartyNames kSepaDebtor{"Dbtr", "DbtrAcct", "DbtrAgt", true};
inline constexpr SepaPartyNames kSepaCreditor{"Cdtr", "CdtrAcct", "CdtrAgt", true};
// The creditor of a transfer, whose bank may go unnamed.
inline constexpr SepaPartyNames kSepaPayee{"Cdtr", "CdtrAcct", "CdtrAgt", false};

// In the order the reader's messages list them.
inline constexpr std::array<SepaSchema, 6> kSepaSchemas{{
    {SepaKind::CreditTransfer, SepaVersion::Current,
     "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09", "CstmrCdtTrfInitn", "TRF", "ReqdExctnDt",
     "Dt", kSepaDebtor, kSepaPayee, "CdtTrfTxInf", "Amt", "BICFI", false, true, false},
    {SepaKind::CreditTransfer, SepaVersion::German,
     "urn:iso:std:iso:20022:tech:xsd:pain.001.003.03", "CstmrCdtTrfInitn", "TRF", "ReqdExctnDt", "",
     kSepaDebtor, kSepaPayee, "CdtTrfTxInf", "Amt", "BIC", true, false, false},
    {SepaKind::CreditTransfer, SepaVersion::Iso2009,
     "urn:iso:std:iso:20022:tech:xsd:pain.001.001.03", "CstmrCdtTrfInitn", "TRF", "ReqdExctnDt", "",
     kSepaDebtor, kSepaPayee, "CdtTrfTxInf", "Amt", "BIC", true, false, false},
    {SepaKind::DirectDebit, SepaVersion::Current, "urn:iso:std:iso:20022:tech:xsd:pain.008.001.08",
     "CstmrDrctDbtInitn", "DD", "ReqdColltnDt", "", kSepaCreditor, kSepaDebtor, "DrctDbtTxInf", "",
     "BICFI", false, true, true},
    {SepaKind::DirectDebit, SepaVersion::German, "urn:iso:std:iso:20022:tech:xsd:pain.008.003.02",
     "CstmrDrctDbtInitn", "DD", "ReqdColltnDt", "", kSepaCreditor, kSepaDebtor, "DrctDbtTxInf", "",
     "BIC", true, false, false},
    {SepaKind::DirectDebit, SepaVersion::Iso2009, "urn:iso:std:iso:20022:tech:xsd:pain.008.001.02",
     "CstmrDrctDbtInitn", "DD", "ReqdColltnDt", "", kSepaCreditor, kSepaDebtor, "DrctDbtTxInf", "",
     "BIC", true, false, true},
}};

/// The entry a document of these settings is written by.
constexpr const SepaSchema& SepaSchemaOf(SepaKind kind, SepaVersion version) {
  for (const SepaSchema& schema : kSepaSchemas) {
    if (schema.kind == kind && schema.version == version) return schema;
  }
  return kSepaSchemas.front();  // every kind and version has an entry
}

/// The entry of a document's namespace; nullptr: none is read.
constexpr const SepaSchema* SepaSchemaOfNamespace(std::string_view nameSpace) {
  for (const SepaSchema& schema : kSepaSchemas) {
    if (schema.nameSpace == nameSpace) return &schema;
  }
  return nullptr;
}

/// "pain.001.001.09, ... und pain.008.003.02": the versions read.
inline std::string SepaSchemaMessages() {
  std::string list;
  for (std::size_t i = 0; i < kSepaSchemas.size(); ++i) {
    if (i > 0) list += i + 1 == kSepaSchemas.size() ? " und " : ", ";
    list += kSepaSchemas[i].Message();
  }
  return list;
}

}  // namespace zor::detail
