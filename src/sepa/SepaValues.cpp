#include "sepa/SepaValues.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

#include "core/MessageFill.h"
#include "sepa/SepaMessages.h"
#include "sepa/SepaRefusals.h"
#include "zordta/Bic.h"
#include "zordta/DtausKeys.h"
#include "zordta/Iban.h"
#include "zordta/SepaCountries.h"
#include "zordta/detail/DigitRun.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail {

namespace {

using namespace msgsepa;

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string_view SepaNormalIban(std::string_view iban, std::string& room) {
  const auto plain = [](char c) { return c != ' ' && !(c >= 'a' && c <= 'z'); };
  if (std::all_of(iban.begin(), iban.end(), plain)) return iban;
  room.clear();
  for (const char c : iban) {
    if (c == ' ') continue;
    room += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return room;
}

namespace {

// A BIC's bank code holds letters or digits in the current schemas; the older
// form (SepaSchema::olderBic) has the bank code in letters, no location code 0
// or 1 in its first and no O in its second character.
bool IsBic(std::string_view bic, bool olderForm) {
  if (!olderForm) return CheckBIC(bic, BicBankCode::LettersOrDigits).IsValid();
  return CheckBIC(bic, BicBankCode::Letters).IsValid() && bic[6] != '0' && bic[6] != '1' &&
         bic[7] != 'O';
}

// The fields an account's faults are placed at.
struct PartyFields {
  std::string_view name;
  std::string_view iban;
  std::string_view bic;
};
constexpr PartyFields kCreditorFields{"Cdtr/Nm", "CdtrAcct/Id/IBAN", "CdtrAgt/FinInstnId"};
constexpr PartyFields kDebtorFields{"Dbtr/Nm", "DbtrAcct/Id/IBAN", "DbtrAgt/FinInstnId"};

struct AccountView {
  std::string_view name;
  std::string_view iban;
  std::string_view bic;
};

using Refusals = SepaRefusals;

AccountView CheckAccount(const SepaSettings& settings, const SepaAccount& account,
                         std::size_t ordinal, const PartyFields& fields, const SepaWarn& warn,
                         std::string& nameRoom, std::string& ibanRoom, Refusals& refusals) {
  AccountView out;
  refusals.Run([&] {
    out.name = SepaName(account.name, settings.strict, {ordinal, fields.name}, warn, nameRoom);
  });
  out.iban = SepaNormalIban(account.iban, ibanRoom);
  const bool ibanValid = CheckIBAN(out.iban).IsValid();
  if (!ibanValid) {
    refusals.Run([&] {
      SepaRefuse(SepaFault::Iban, {ordinal, std::string(fields.iban)},
                 Fill(_MsgSepaIban, {SepaQuoted(account.iban)}));
    });
  }
  out.bic = account.bic;
  if (!out.bic.empty() && !IsBic(out.bic, SepaSchemaOf(settings.kind, settings.version).olderBic)) {
    refusals.Run([&] {
      SepaRefuse(SepaFault::Bic, {ordinal, std::string(fields.bic)},
                 Fill(_MsgSepaBic, {SepaQuoted(account.bic)}));
    });
  }
  // Where an account is depends on an IBAN of a country.
  if (ibanValid) {
    refusals.Run([&] {
      CheckSepaReach(out.iban, out.bic, {ordinal, fields.iban}, {ordinal, fields.bic});
    });
    // The payer's bank needs the address of a counterparty outside the EEA.
    if (ordinal > 0) {
      refusals.Run([&] {
        CheckSepaAddressNeeded(out.iban, account.address, ordinal, fields.name.substr(0, 4));
      });
    }
  }
  return out;
}

bool IsDate(const std::chrono::year_month_day& date) {
  return date.ok() && date.year() >= std::chrono::year(1900) &&
         date.year() <= std::chrono::year(9999);
}

std::string MadeMessageId() {
  std::random_device device;
  const std::uint64_t random = (static_cast<std::uint64_t>(device()) << 32) ^ device();
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(random));
  return "ZOR" + FormatDateTime("yyyymmddhhnnss", Now()) + "-" + hex;
}

}  // namespace

std::string SepaMadeMessageId() {
  return MadeMessageId();
}

bool IsSepaBic(std::string_view bic, const SepaSchema& schema) {
  return IsBic(bic, schema.olderBic);
}

void CheckSepaReach(std::string_view iban, std::string_view bic, SepaSpot ibanSpot,
                    SepaSpot bicSpot) {
  const std::string_view country = iban.substr(0, 2);
  switch (SepaAreaOf(country)) {
    case SepaArea::Eea:
      return;
    case SepaArea::Outside:
      SepaRefuse(SepaFault::Country, ibanSpot.Place(),
                 Fill(_MsgSepaCountry, {SepaQuoted(iban), country}));
    case SepaArea::OutsideEea:
      if (bic.empty()) {
        SepaRefuse(SepaFault::Bic, bicSpot.Place(),
                   Fill(_MsgSepaBicOutsideEea, {SepaQuoted(iban), country}));
      }
      return;
  }
}

bool IsSepaPurposeCode(std::string_view code) {
  return code.size() == 4 && std::all_of(code.begin(), code.end(), IsCapital);
}

std::string SepaIsoDate(const std::chrono::year_month_day& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

namespace {

// A refusal of the settings of further blocks, placed at their index.
SepaError AtBlock(const SepaError& e, std::size_t index) {
  SepaPlace place = e.Place();
  place.blockSettings = index;
  SepaError out(e.Fault(), place, e.Text());
  for (const SepaError& further : e.Further()) out.AddFurther(AtBlock(further, index));
  return out;
}

void CheckCreditorIdForm(const std::string& id, SepaSpot spot) {
  CheckSepaIdentifier(id, false, spot);
  if (!CheckCreditorId(id)) {
    const bool form =
        id.size() >= 8 && IsCapital(id[0]) && IsCapital(id[1]) && IsDigit(id[2]) && IsDigit(id[3]);
    SepaRefuse(SepaFault::CreditorId, spot.Place(),
               Fill(form ? _MsgSepaCreditorIdDigits : _MsgSepaCreditorIdForm, {SepaQuoted(id)}));
  }
}

SepaCheckedBlock CheckBlock(const SepaSettings& settings, const SepaBlockSettings& block,
                            const SepaWarn& warn) {
  SepaCheckedBlock out;
  Refusals refusals;
  const bool debits = settings.kind == SepaKind::DirectDebit;
  std::string nameRoom;
  std::string ibanRoom;
  const AccountView account =
      CheckAccount(settings, block.account, 0, debits ? kCreditorFields : kDebtorFields, warn,
                   nameRoom, ibanRoom, refusals);
  out.account = {std::string(account.name), std::string(account.iban), std::string(account.bic)};
  CheckSepaBlockParts(settings, block, warn, out.parts, refusals);
  if (debits && !block.creditorId.empty()) {
    out.creditorId = block.creditorId;
    refusals.Run([&] { CheckCreditorIdForm(out.creditorId, {0, "CdtrSchmeId"}); });
  }
  out.batchBooking = block.batchBooking;
  out.paymentTypePerTransaction = block.paymentTypePerTransaction;
  out.instant = block.instant;
  refusals.RaiseAny();
  return out;
}

}  // namespace

SepaBlockFacts SepaBlockFactsOf(const SepaSettings& settings, std::size_t index) {
  if (index == 0) return {settings.creditorId, settings.instant};
  if (index > settings.otherBlocks.size()) return {};
  const SepaBlockSettings& block = settings.otherBlocks[index - 1];
  return {block.creditorId, block.instant};
}

SepaCheckedSettings CheckSepaSettings(const SepaSettings& settings, const SepaWarn& warn) {
  SepaCheckedSettings out;
  Refusals refusals;
  out.messageId = settings.messageId.empty() ? MadeMessageId() : settings.messageId;
  refusals.Run([&] { CheckSepaIdentifier(out.messageId, true, {0, "MsgId"}); });
  for (std::size_t i = 0; i <= settings.otherBlocks.size(); ++i) {
    refusals.Run([&] {
      try {
        out.blocks.push_back(CheckBlock(settings, SepaBlockSettingsOf(settings, i), warn));
      } catch (const SepaError& e) {
        out.blocks.emplace_back();
        if (i == 0) throw;
        throw AtBlock(e, i);
      }
    });
  }
  out.initiatingParty = out.blocks.front().account.name;
  if (!settings.initiatingParty.empty()) {
    refusals.Run([&] {
      std::string nameRoom;
      out.initiatingParty = std::string(
          SepaName(settings.initiatingParty, settings.strict, {0, "InitgPty/Nm"}, warn, nameRoom));
    });
  }
  CheckSepaDocumentParts(settings, out.initiatingPartyId, refusals);
  refusals.RaiseAny();
  return out;
}

SepaCheckedPayment CheckSepaPayment(const SepaSettings& settings, const SepaPayment& payment,
                                    std::size_t ordinal, const SepaWarn& warn,
                                    SepaPaymentRoom& room) {
  SepaCheckedPayment out;
  Refusals refusals;
  if (!IsDate(payment.group.date)) {
    refusals.Run([&] { SepaRefuse(SepaFault::Date, {ordinal, "ReqdDt"}, _MsgSepaDate); });
  }
  if (payment.cents < 1 || payment.cents > kSepaMaxCents) {
    refusals.Run([&] { SepaRefuse(SepaFault::Amount, {ordinal, "InstdAmt"}, _MsgSepaAmount); });
  }
  const bool debits = settings.kind == SepaKind::DirectDebit;
  const AccountView counterparty =
      CheckAccount(settings, payment.counterparty, ordinal,
                   debits ? kDebtorFields : kCreditorFields, warn, room.name, room.iban, refusals);
  out.name = counterparty.name;
  out.iban = counterparty.iban;
  out.bic = counterparty.bic;
  if (!payment.group.paymentInfoId.empty()) {
    refusals.Run([&] {
      CheckSepaIdentifier(payment.group.paymentInfoId, true, {ordinal, "PmtInfId"});
    });
  }
  const std::size_t block = payment.group.blockSettings;
  if (block > settings.otherBlocks.size()) {
    refusals.Run([&] {
      SepaRefuse(SepaFault::Group, {ordinal, "PmtInf"},
                 Fill(_MsgSepaNoBlockSettings, {std::to_string(block)}));
    });
  }
  const SepaBlockFacts facts = SepaBlockFactsOf(settings, block);
  if (HasSepaExtras(payment)) {
    CheckSepaExtras(settings, facts, payment, ordinal, warn, room.extras, refusals);
    out.extras = &room.extras;
  }
  if (debits && facts.creditorId.empty() && payment.creditorId.empty()) {
    refusals.Run([&] {
      SepaRefuse(SepaFault::CreditorId, {ordinal, "DrctDbtTx/CdtrSchmeId"},
                 _MsgSepaCreditorIdMissing);
    });
  }
  out.endToEndId = payment.endToEndId.empty() ? std::string_view("NOTPROVIDED")
                                              : std::string_view(payment.endToEndId);
  refusals.Run([&] { CheckSepaIdentifier(out.endToEndId, true, {ordinal, "EndToEndId"}); });
  refusals.Run([&] {
    out.remittance = SepaText(payment.remittance, 140, settings.strict, {ordinal, "Ustrd"}, warn,
                              room.remittance);
  });
  if (!payment.purposeCode.empty() && !IsSepaPurposeCode(payment.purposeCode)) {
    refusals.Run([&] {
      SepaRefuse(SepaFault::Purpose, {ordinal, "Purp/Cd"},
                 Fill(_MsgSepaPurpose, {SepaQuoted(payment.purposeCode)}));
    });
  }
  out.purposeCode = payment.purposeCode;
  if (debits) {
    refusals.Run([&] {
      const SepaSpot spot{ordinal, "MndtRltdInf/MndtId"};
      if (payment.mandateId.empty()) {
        SepaRefuse(SepaFault::Mandate, spot.Place(), _MsgSepaMandateId);
      }
      CheckSepaIdentifier(payment.mandateId, false, spot);
    });
    out.mandateId = payment.mandateId;
    if (!payment.mandateSigned || !IsDate(*payment.mandateSigned)) {
      refusals.Run([&] {
        SepaRefuse(SepaFault::Mandate, {ordinal, "MndtRltdInf/DtOfSgntr"}, _MsgSepaMandateDate);
      });
    }
  }
  refusals.RaiseAny();
  return out;
}

bool SepaTakenAsGiven(const SepaPayment& payment, const SepaCheckedPayment& checked) {
  // The checks answer views of the payment's own texts exactly when they
  // needed no change.
  return checked.extras == nullptr && checked.name.data() == payment.counterparty.name.data() &&
         checked.iban.data() == payment.counterparty.iban.data() &&
         checked.iban.size() == payment.counterparty.iban.size() &&
         checked.remittance.data() == payment.remittance.data();
}

SepaCheckedPayment SepaPaymentAsGiven(const SepaSettings& settings, const SepaPayment& payment,
                                      std::size_t ordinal) {
  if (!IsDate(payment.group.date)) SepaRefuse(SepaFault::Date, {ordinal, "ReqdDt"}, _MsgSepaDate);
  if (payment.cents < 1 || payment.cents > kSepaMaxCents) {
    SepaRefuse(SepaFault::Amount, {ordinal, "InstdAmt"}, _MsgSepaAmount);
  }
  if (!payment.purposeCode.empty() && !IsSepaPurposeCode(payment.purposeCode)) {
    SepaRefuse(SepaFault::Purpose, {ordinal, "Purp/Cd"},
               Fill(_MsgSepaPurpose, {SepaQuoted(payment.purposeCode)}));
  }
  if (settings.kind == SepaKind::DirectDebit &&
      (!payment.mandateSigned || !IsDate(*payment.mandateSigned))) {
    SepaRefuse(SepaFault::Mandate, {ordinal, "MndtRltdInf/DtOfSgntr"}, _MsgSepaMandateDate);
  }
  const auto trimmed = [](std::string_view text) {
    const std::size_t kept = text.find_last_not_of(' ');
    return text.substr(0, kept == std::string_view::npos ? 0 : kept + 1);
  };
  SepaCheckedPayment out;
  out.name = trimmed(payment.counterparty.name);
  out.iban = payment.counterparty.iban;
  out.bic = payment.counterparty.bic;
  out.endToEndId = payment.endToEndId.empty() ? std::string_view("NOTPROVIDED")
                                              : std::string_view(payment.endToEndId);
  out.remittance = trimmed(payment.remittance);
  out.purposeCode = payment.purposeCode;
  if (settings.kind == SepaKind::DirectDebit) out.mandateId = payment.mandateId;
  return out;
}

namespace {

// A word into the digest: multiplied by an odd constant and folded, so that
// each bit of it reaches every bit of the result.
std::uint64_t Mix(std::uint64_t digest, std::uint64_t word) {
  digest = (digest ^ word) * 0x9E3779B97F4A7C15;
  return digest ^ (digest >> 29);
}

// Every byte counted once its length is: whole words, the last one
// overlapping the one before, and a short text in two overlapping halves or
// its first, middle and last byte. Loads of fixed width, no call.
std::uint64_t MixText(std::uint64_t digest, std::string_view text) {
  const std::size_t size = text.size();
  const char* data = text.data();
  digest = Mix(digest, size);
  if (size >= 8) {
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) digest = Mix(digest, LoadEightBytes(data + at));
    if (at < size) digest = Mix(digest, LoadEightBytes(data + size - 8));
  } else if (size >= 4) {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::memcpy(&first, data, 4);
    std::memcpy(&last, data + size - 4, 4);
    digest = Mix(digest, std::uint64_t{first} << 32 | last);
  } else if (size > 0) {
    const auto byte = [data](std::size_t at) {
      return std::uint64_t{static_cast<unsigned char>(data[at])};
    };
    digest = Mix(digest, byte(0) << 16 | byte(size / 2) << 8 | byte(size - 1));
  }
  return digest;
}

std::uint64_t MixDate(std::uint64_t digest, const std::chrono::year_month_day& date) {
  return Mix(digest, static_cast<std::uint64_t>(static_cast<int>(date.year())) << 16 |
                         static_cast<unsigned>(date.month()) << 8 |
                         static_cast<unsigned>(date.day()));
}

}  // namespace

std::uint64_t SepaPaymentDigest(const SepaPayment& payment) {
  std::uint64_t digest = MixDate(0, payment.group.date);
  digest = Mix(digest, static_cast<std::uint64_t>(payment.group.sequence));
  digest = Mix(digest, static_cast<std::uint64_t>(payment.cents));
  for (const std::string* text :
       {&payment.counterparty.name, &payment.counterparty.iban, &payment.counterparty.bic,
        &payment.endToEndId, &payment.remittance, &payment.mandateId, &payment.purposeCode}) {
    digest = MixText(digest, *text);
  }
  digest = Mix(digest, payment.mandateSigned.has_value());
  return payment.mandateSigned ? MixDate(digest, *payment.mandateSigned) : digest;
}

SepaGroup SepaGroupOf(const SepaSettings& settings, const SepaPayment& payment) {
  SepaGroup group = payment.group;
  if (settings.kind == SepaKind::CreditTransfer) group.sequence = SepaSequence::OneOff;
  return group;
}

}  // namespace zor::detail

namespace zor {

SepaBlockSettings SepaBlockSettingsOf(const SepaSettings& settings, std::size_t index) {
  if (index > 0 && index <= settings.otherBlocks.size()) return settings.otherBlocks[index - 1];
  return {settings.account,         settings.creditorId,   settings.ultimateParty,
          settings.categoryPurpose, settings.batchBooking, settings.paymentTypePerTransaction,
          settings.instant};
}

bool CheckCreditorId(std::string_view id) noexcept {
  using detail::IsCapital;
  using detail::IsDigit;
  // Country, two check digits, a business code of three, a national part of 1 to 28.
  if (id.size() < 8 || id.size() > 35) return false;
  if (!IsCapital(id[0]) || !IsCapital(id[1]) || !IsDigit(id[2]) || !IsDigit(id[3])) return false;
  int remainder = 0;
  const auto add = [&remainder](char c) {
    if (IsDigit(c)) {
      remainder = (remainder * 10 + (c - '0')) % 97;
    } else {
      remainder = (remainder * 100 + (c - 'A' + 10)) % 97;
    }
  };
  for (const char c : id.substr(7)) {
    if (!IsCapital(c) && !IsDigit(c)) return false;
    add(c);
  }
  for (const char c : {id[0], id[1], '0', '0'}) add(c);
  return 98 - remainder == (id[2] - '0') * 10 + (id[3] - '0');
}

namespace {

constexpr struct {
  SepaSequence sequence;
  const char* code;
} kSequenceCodes[] = {{SepaSequence::First, "FRST"},
                      {SepaSequence::Recurring, "RCUR"},
                      {SepaSequence::OneOff, "OOFF"},
                      {SepaSequence::Final, "FNAL"}};

}  // namespace

const char* SepaSequenceCode(SepaSequence sequence) noexcept {
  for (const auto& known : kSequenceCodes) {
    if (known.sequence == sequence) return known.code;
  }
  return "OOFF";
}

std::optional<SepaSequence> SepaSequenceOf(std::string_view code) noexcept {
  if (code.size() != 4) return std::nullopt;
  for (const auto& known : kSequenceCodes) {
    bool same = true;
    for (std::size_t i = 0; i < 4; ++i) {
      const char c =
          code[i] >= 'a' && code[i] <= 'z' ? static_cast<char>(code[i] - 'a' + 'A') : code[i];
      same = same && c == known.code[i];
    }
    if (same) return known.sequence;
  }
  return std::nullopt;
}

std::string_view SepaPurposeForDtausKey(int key) noexcept {
  if (key < 0 || key > 99) return {};
  const char digits[2] = {static_cast<char>('0' + key / 10), static_cast<char>('0' + key % 10)};
  const DtausKey* known = FindDtausKey(std::string_view(digits, 2));
  return known == nullptr ? std::string_view() : known->sepaPurpose;
}

}  // namespace zor
