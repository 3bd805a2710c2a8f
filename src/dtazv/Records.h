// Builders of the DTAZV records. Each returns the record's bytes and makes no
// checks: the component hands over only values that fit their fields.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "dtazv/Layout.h"
#include "zordta/host/Types.h"

namespace zor::detail::dtazv {

struct QRecordFields {
  std::int32_t auftraggeberBLZ = 0;
  std::int64_t auftraggeberKontoNr = 0;
  AnsiString name1, name2, strasse, ort;  ///< already cleaned
  TDate erstellDatum = 0;
  std::int32_t lfdNummer = 0;
  TDate ausfuehrungsdatum = 0;  ///< already today when none was set
  std::int32_t bundeslandschluessel = 0;
  std::int32_t firmennummer = 0;
};

struct TRecordFields {
  std::int32_t auftraggeberBLZ = 0;
  std::int64_t auftraggeberKontoNr = 0;
  std::string_view kontoWaehrung;  ///< three characters
  TDate datum = 0;
  std::string_view bic, iban, laendercode;
  std::string_view name1, name2, strasse, ortLand;  ///< already cleaned
  std::string_view waehrung;                        ///< three characters
  std::int64_t vorKomma = 0;
  std::int32_t nachKomma = 0;
  std::array<std::string_view, limits::dtazv::kMaxPurposeLines>
      purposeLines;  ///< already cleaned; blanks when missing
  std::int32_t zahlungsArtSchluessel = 0;
  std::string_view notizIntern, ansprechpartner;  ///< already cleaned
  std::int32_t anzahlMeldungen = 0;
};

/// Room for a T record.
using TRecordBuffer = std::array<char, kTLength>;

struct ZRecordFields {
  std::int64_t summeVorKomma = 0;
  std::int64_t anzahl = 0;
};

AnsiString BuildQRecord(const QRecordFields& fields);
/// Builds the T record in record and answers its bytes there.
std::string_view BuildTRecord(const TRecordFields& fields, TRecordBuffer& record);
AnsiString BuildZRecord(const ZRecordFields& fields);

/// Whole units and hundredths of an amount: the hundredths rounded half to even,
/// 100 carried into the units. False for NaN, infinity, a negative amount or one
/// whose units need more than 14 digits.
bool SplitAmount(double betrag, std::int64_t& vorKomma, std::int32_t& nachKomma);

}  // namespace zor::detail::dtazv
