// The checked values of a SEPA document and of one payment, as they are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sepa/SepaPartyChecks.h"
#include "sepa/SepaSchema.h"
#include "sepa/SepaText.h"
#include "zordta/Sepa.h"

namespace zor::detail {

/// The greatest sum a control sum can state: 18 digits.
inline constexpr std::int64_t kSepaMaxSum = 999'999'999'999'999'999;
/// The greatest amount of one payment.
inline constexpr std::int64_t kSepaMaxCents = 99'999'999'999;

struct SepaCheckedAccount {
  std::string name;
  std::string iban;
  std::string bic;  // empty: none
};

struct SepaCheckedBlock {
  SepaCheckedAccount account;
  std::string creditorId;  // empty: every payment states its own
  SepaCheckedBlockParts parts;
  std::optional<bool> batchBooking;
  bool paymentTypePerTransaction = false;
  bool instant = false;
};

struct SepaCheckedSettings {
  std::string messageId;
  std::string initiatingParty;
  SepaPartyId initiatingPartyId;
  std::vector<SepaCheckedBlock> blocks;  // by SepaGroup::blockSettings
};

/// Where a payment's texts are made when they have to be changed; reused from
/// payment to payment, so that checking most payments allocates nothing.
struct SepaPaymentRoom {
  std::string name;
  std::string iban;
  std::string remittance;
  SepaCheckedExtras extras;
};

/// A payment's values as they are written: views of the payment, of its room
/// or of constants, valid while those are.
struct SepaCheckedPayment {
  std::string_view name;
  std::string_view iban;
  std::string_view bic;  // empty: none
  std::string_view endToEndId;
  std::string_view remittance;
  std::string_view mandateId;
  std::string_view purposeCode;  // empty: none
  // The room's, for a payment that carries more than the common fields; else none.
  const SepaCheckedExtras* extras = nullptr;
};

/// What a payment's checks take from the blocks of `index`
/// (SepaGroup::blockSettings); nothing for an index beyond them.
SepaBlockFacts SepaBlockFactsOf(const SepaSettings& settings, std::size_t index);

/// The IBAN without blanks and with small letters raised: the text itself when
/// it has neither, else made in `room`.
std::string_view SepaNormalIban(std::string_view iban, std::string& room);

/// Checks and converts the settings; a missing message id is made here.
SepaCheckedSettings CheckSepaSettings(const SepaSettings& settings, const SepaWarn& warn);

/// Checks and converts a payment; `ordinal` counts from 1.
SepaCheckedPayment CheckSepaPayment(const SepaSettings& settings, const SepaPayment& payment,
                                    std::size_t ordinal, const SepaWarn& warn,
                                    SepaPaymentRoom& room);

/// Whether the checks took the payment's texts and IBAN as given (trailing
/// blanks apart): then SepaPaymentAsGiven makes the same values.
bool SepaTakenAsGiven(const SepaPayment& payment, const SepaCheckedPayment& checked);

/// The values of a payment a plan took as given, as CheckSepaPayment makes
/// them. Only what needs no look at a text is checked again (dates, amount,
/// purpose code, the mandate's date); the rest is the plan's word, which the
/// writer holds to by the digests of the payments.
SepaCheckedPayment SepaPaymentAsGiven(const SepaSettings& settings, const SepaPayment& payment,
                                      std::size_t ordinal);

/// A digest of every value of a payment the writer writes.
std::uint64_t SepaPaymentDigest(const SepaPayment& payment);

/// The group a payment belongs to once what does not divide it is dropped.
SepaGroup SepaGroupOf(const SepaSettings& settings, const SepaPayment& payment);

/// A message id made from the time and a random number.
std::string SepaMadeMessageId();

/// A BIC (zor::CheckBIC) in the form the schema takes.
bool IsSepaBic(std::string_view bic, const SepaSchema& schema);

/// Refuses an account the SEPA schemes do not reach: an IBAN (valid, in its
/// electronic form) of a country outside them, or of one outside the EEA
/// without the BIC of its bank.
void CheckSepaReach(std::string_view iban, std::string_view bic, SepaSpot ibanSpot,
                    SepaSpot bicSpot);

/// A purpose code as the writer writes it: four capital letters.
bool IsSepaPurposeCode(std::string_view code);

/// "2026-12-10".
std::string SepaIsoDate(const std::chrono::year_month_day& date);

}  // namespace zor::detail
