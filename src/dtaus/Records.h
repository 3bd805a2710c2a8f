// Builders of the DTAUS records. Each returns the record's bytes and makes no
// checks: the component hands over only values that fit their fields.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "dtaus/Layout.h"
#include "zordta/host/Types.h"

namespace zor::detail::dtaus {

/// Room for the longest C record.
using CRecordBuffer = std::array<char, kMaxCParts * kPartLength>;

struct ARecordFields {
  AnsiString kind;  ///< "LK" or "GK"
  std::int32_t auftraggeberBLZ = 0;
  AnsiString auftraggeberName;  ///< already in the repertoire
  TDate fileDate = 0;
  AnsiString diskettenNummer;  ///< four digits or four blanks
  std::int64_t auftraggeberKontoNr = 0;
  TDate ausfuehrungsdatum = 0;  ///< 0: none
};

struct CRecordFields {
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  std::string_view key;  ///< payment key and extension, five characters
  std::int32_t auftraggeberBLZ = 0;
  std::int64_t auftraggeberKontoNr = 0;
  std::int64_t betragCent = 0;
  std::string_view name;                           ///< already in the repertoire
  std::string_view auftraggeberName;               ///< already in the repertoire
  std::span<const std::string_view> purposeLines;  ///< 1 to 19, already in the repertoire
};

struct ERecordFields {
  std::int32_t count = 0;
  std::int64_t summeKontonummer = 0;
  std::int64_t summeBLZ = 0;
  std::int64_t summeBetragCent = 0;
};

AnsiString BuildARecord(const ARecordFields& fields);
/// Builds the C record in record and answers its bytes there.
std::string_view BuildCRecord(const CRecordFields& fields, CRecordBuffer& record);
AnsiString BuildERecord(const ERecordFields& fields);

/// "LK" for a debit file, "GK" otherwise.
AnsiString FileKind(bool lastschriften, const AnsiString& customKey);
/// The five characters of payment key and extension.
AnsiString PaymentKey(bool lastschriften, bool abbuchungsauftrag, const AnsiString& customKey);

/// The amount taken to the cent as "%9.2f" rounds it; false when it cannot stand
/// in the 11-digit field (NaN, infinity, negative, 1000000000 euro or more).
bool AmountToCent(double betrag, std::int64_t& cent);

}  // namespace zor::detail::dtaus
