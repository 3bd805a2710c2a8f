// The checks of what a SEPA document or payment carries beyond the common
// fields: addresses, identifications, ultimate parties, structured references,
// per-payment creditor identifiers and mandate amendments. Each makes the
// value as it is written, texts in the banks' character set.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sepa/SepaRefusals.h"
#include "sepa/SepaSchema.h"
#include "sepa/SepaText.h"
#include "zordta/Sepa.h"

namespace zor::detail {

/// The payment's parts beyond the common ones, as they are written.
struct SepaCheckedExtras {
  SepaPostalAddress address;  // of the counterparty
  SepaPartyId id;             // of the counterparty
  std::string instructionId;
  std::string uetr;
  std::string categoryPurpose;
  SepaParty ultimateDebtor;
  SepaParty ultimateCreditor;
  SepaCreditorReference reference;
  std::string creditorId;
  std::optional<SepaMandateAmendment> amendment;
};

/// A block's parts beyond its account's name, IBAN and BIC and its creditor identifier.
struct SepaCheckedBlockParts {
  SepaPostalAddress address;  // of the account's owner
  SepaPartyId id;             // of the account's owner
  SepaParty ultimateParty;
  std::string categoryPurpose;
};

/// What a payment's checks take from its block: the creditor identifier, which
/// its own must not contradict, and whether it is an instant transfer.
struct SepaBlockFacts {
  std::string_view creditorId;
  bool instant = false;
};

void CheckSepaExtras(const SepaSettings& settings, const SepaBlockFacts& block,
                     const SepaPayment& payment, std::size_t ordinal, const SepaWarn& warn,
                     SepaCheckedExtras& out, SepaRefusals& refusals);

void CheckSepaBlockParts(const SepaSettings& settings, const SepaBlockSettings& block,
                         const SepaWarn& warn, SepaCheckedBlockParts& out, SepaRefusals& refusals);

/// The document's own: the initiating party's identification.
void CheckSepaDocumentParts(const SepaSettings& settings, SepaPartyId& initiatingPartyId,
                            SepaRefusals& refusals);

/// The address a counterparty needs when its account is in a SEPA country
/// outside the EEA; `party` is its element ("Cdtr", "Dbtr").
void CheckSepaAddressNeeded(std::string_view iban, const SepaPostalAddress& address,
                            std::size_t ordinal, std::string_view party);

/// An address of the edition of 2019 (PostalAddress24) as written, its texts in
/// the banks' character set; `party` is its element ("Cdtr", "CdtrAgt/FinInstnId").
void CheckSepaAddress24(const SepaPostalAddress& in, const std::string& party, std::size_t ordinal,
                        bool strict, const SepaWarn& warn, SepaPostalAddress& out,
                        SepaRefusals& refusals);

/// A UUID of version 4 in small letters, as UETR takes it.
bool IsSepaUetr(std::string_view uetr);

}  // namespace zor::detail
