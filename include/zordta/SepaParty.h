// What a SEPA payment may carry beyond account, amount and references: the
// identification and address of a party, the parties a payment is made for
// (ultimate debtor and creditor), a structured creditor reference and the
// amendment of a direct debit's mandate. Most files carry none of it; an empty
// value is not written.
#pragma once

#include <string>

#include "zordta/SepaAddress.h"

namespace zor {

/// Which identification a party carries (Id/OrgId or Id/PrvtId). The SEPA
/// schemes take one: a BIC, an LEI or one other id of an organisation, or one
/// other id of a private person.
enum class SepaIdKind {
  None,
  Bic,           ///< OrgId/AnyBIC (BICOrBEI in the older versions)
  Lei,           ///< OrgId/LEI, pain.001.001.09 and pain.008.001.08 only
  Organisation,  ///< OrgId/Othr
  Person,        ///< PrvtId/Othr
};

struct SepaPartyId {
  SepaIdKind kind = SepaIdKind::None;
  std::string id{};                 ///< the BIC, the LEI, or Othr/Id
  std::string schemeCode{};         ///< Othr/SchmeNm/Cd, e.g. "CUST"; or
  std::string schemeProprietary{};  ///< Othr/SchmeNm/Prtry
  std::string issuer{};             ///< Othr/Issr

  bool operator==(const SepaPartyId&) const = default;
};

/// A party without an account: the initiating party, an ultimate debtor or creditor.
struct SepaParty {
  std::string name{};  ///< UTF-8
  SepaPostalAddress address{};
  SepaPartyId id{};

  /// Nothing given: the party is not written.
  bool Empty() const {
    return name.empty() && FormOf(address) == SepaAddressForm::None && id.kind == SepaIdKind::None;
  }
  bool operator==(const SepaParty&) const = default;
};

/// A structured remittance: the creditor reference of type SCOR. An ISO 11649
/// reference ("RF...") has its check digits verified; another reference is
/// taken as its issuer's.
struct SepaCreditorReference {
  std::string reference{};  ///< Ref, at most 35 characters; empty: none
  std::string issuer{};     ///< Tp/Issr; may be empty

  bool operator==(const SepaCreditorReference&) const = default;
};

/// A direct debit whose mandate changed since the last collection (AmdmntInd
/// and AmdmntInfDtls). What changed is stated as it was before.
struct SepaMandateAmendment {
  bool amended = true;  ///< AmdmntInd; false states "no amendment" and carries nothing else
  std::string originalMandateId{};     ///< OrgnlMndtId
  std::string originalCreditorName{};  ///< OrgnlCdtrSchmeId/Nm
  std::string originalCreditorId{};    ///< OrgnlCdtrSchmeId/Id, a creditor identifier
  std::string originalDebtorIban{};    ///< OrgnlDbtrAcct, an account at the same bank
  /// The debtor's bank changed (SMNDA, "same mandate, new debtor agent"): the
  /// sequence type must be FRST.
  bool newDebtorAgent = false;

  bool operator==(const SepaMandateAmendment&) const = default;
};

}  // namespace zor
