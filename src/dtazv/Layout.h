// The DTAZV records field by field: the one description that the builders and
// the checks read. Offsets count from 0 at the start of the record.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/RecordField.h"
#include "zordta/Limits.h"

namespace zor::detail::dtazv {

inline constexpr std::size_t kQLength = 256;
inline constexpr std::size_t kTLength = 768;
inline constexpr std::size_t kZLength = 256;
inline constexpr std::size_t kLineWidth = limits::dtazv::kLineWidth;

/// Length and type of each record.
inline constexpr std::string_view kQHeader = "0256Q";
inline constexpr std::string_view kTHeader = "0768T";
inline constexpr std::string_view kZHeader = "0256Z";
/// The reporting records a T record announces; this writer writes none.
inline constexpr std::string_view kVHeader = "0256V";
inline constexpr std::string_view kWHeader = "0256W";
inline constexpr std::size_t kReportLength = 256;

struct QLayout {
  Field recordLength{0, 4};
  Field recordType{4, 1};
  Field blz{5, limits::kBLZDigits};
  Field konto{13, limits::kKontoDigits};
  Field name1{23, kLineWidth};
  Field name2{58, kLineWidth};
  Field strasse{93, kLineWidth};
  Field ort{128, kLineWidth};
  Field erstellDatum{163, 6};  ///< yymmdd
  Field lfdNummer{169, limits::dtazv::kKeyDigits};
  Field ausfuehrungsdatum{171, 6};  ///< yymmdd
  Field awvMeldung{177, 1};         ///< "N": no foreign-trade report goes with the file
  Field bundeslandschluessel{178, limits::dtazv::kKeyDigits};
  Field firmennummer{180, limits::dtazv::kFirmennummerDigits};
  Field reserved{188, 68};
};
inline constexpr QLayout kQ{};
static_assert(Tiles(kQLength,
                    {kQ.recordLength, kQ.recordType, kQ.blz, kQ.konto, kQ.name1, kQ.name2,
                     kQ.strasse, kQ.ort, kQ.erstellDatum, kQ.lfdNummer, kQ.ausfuehrungsdatum,
                     kQ.awvMeldung, kQ.bundeslandschluessel, kQ.firmennummer, kQ.reserved}));
static_assert(kQHeader.size() == kQ.recordType.End());

// The blocks this writer always fills with constants have the shape of a second
// bank code, currency and account, and of a second country with four address
// lines.
struct TLayout {
  Field recordLength{0, 4};
  Field recordType{4, 1};
  Field blz{5, limits::kBLZDigits};
  Field kontoWaehrung{13, 3};
  Field konto{16, limits::kKontoDigits};
  Field datum{26, 6};  ///< yymmdd
  Field otherBLZ{32, 8};
  Field otherWaehrung{40, 3};
  Field otherKonto{43, 10};
  Field bic{53, 11};
  Field otherLaendercode{64, 3};
  Field otherAddress{67, 4 * kLineWidth};
  Field laendercode{207, 2};
  Field laendercodeFill{209, 1};
  Field name1{210, kLineWidth};
  Field name2{245, kLineWidth};
  Field strasse{280, kLineWidth};
  Field ortLand{315, kLineWidth};
  Field reserved1{350, 2 * kLineWidth};
  Field ibanSlash{420, 1};
  Field iban{421, 34};
  Field waehrung{455, 3};
  Field vorKomma{458, limits::dtazv::kUnitDigits};
  Field nachKomma{472, 2};
  Field nachKommaFill{474, 1};  ///< "0": a third decimal
  Field purpose[limits::dtazv::kMaxPurposeLines] = {
      {475, kLineWidth}, {510, kLineWidth}, {545, kLineWidth}, {580, kLineWidth}};
  Field zeros1{615, 8};
  Field reserved2{623, 25};
  Field zeros2{648, 2};
  Field zahlungsArtSchluessel{650, limits::dtazv::kKeyDigits};
  Field notizIntern{652, limits::dtazv::kNotizWidth};
  Field ansprechpartner{679, kLineWidth};
  Field meldungen{714, 1};  ///< "1" when reports go with the payment
  Field reserved3{715, 51};
  Field anzahlMeldungen{766, 2};
};
inline constexpr TLayout kT{};
static_assert(Tiles(kTLength, {kT.recordLength,
                               kT.recordType,
                               kT.blz,
                               kT.kontoWaehrung,
                               kT.konto,
                               kT.datum,
                               kT.otherBLZ,
                               kT.otherWaehrung,
                               kT.otherKonto,
                               kT.bic,
                               kT.otherLaendercode,
                               kT.otherAddress,
                               kT.laendercode,
                               kT.laendercodeFill,
                               kT.name1,
                               kT.name2,
                               kT.strasse,
                               kT.ortLand,
                               kT.reserved1,
                               kT.ibanSlash,
                               kT.iban,
                               kT.waehrung,
                               kT.vorKomma,
                               kT.nachKomma,
                               kT.nachKommaFill,
                               kT.purpose[0],
                               kT.purpose[1],
                               kT.purpose[2],
                               kT.purpose[3],
                               kT.zeros1,
                               kT.reserved2,
                               kT.zeros2,
                               kT.zahlungsArtSchluessel,
                               kT.notizIntern,
                               kT.ansprechpartner,
                               kT.meldungen,
                               kT.reserved3,
                               kT.anzahlMeldungen}));
static_assert(kTHeader.size() == kT.recordType.End());
static_assert(limits::dtazv::kMaxPurposeLines == 4, "the layout above names four lines");

struct ZLayout {
  Field recordLength{0, 4};
  Field recordType{4, 1};
  Field summeVorKomma{5, limits::dtazv::kZUnitSumWidth};
  Field anzahl{20, limits::dtazv::kZCountWidth};
  Field reserved{35, 221};
};
inline constexpr ZLayout kZ{};
static_assert(Tiles(kZLength,
                    {kZ.recordLength, kZ.recordType, kZ.summeVorKomma, kZ.anzahl, kZ.reserved}));
static_assert(kZHeader.size() == kZ.recordType.End());

// Of a V or W record only the head is told here; its fields are read as one text.
struct ReportLayout {
  Field recordLength{0, 4};
  Field recordType{4, 1};
  Field content{5, 251};
};
inline constexpr ReportLayout kReport{};
static_assert(Tiles(kReportLength, {kReport.recordLength, kReport.recordType, kReport.content}));
static_assert(kVHeader.size() == kReport.recordType.End());
static_assert(kWHeader.size() == kReport.recordType.End());

}  // namespace zor::detail::dtazv
