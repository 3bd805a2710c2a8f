// The unit ZorDTAZV: the DTAZV component for foreign payments.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "zordta/ByteSink.h"
#include "zordta/ZorDTA.h"

namespace zor {

/// Writes DTAZV files: foreign payments with BIC and IBAN, an amount in a currency,
/// up to four purpose lines and an execution date each.
class ZORDTA_API TZorDTAZV : public TZorBaseDTA {
 public:
  explicit TZorDTAZV(TComponent* aOwner);
  ~TZorDTAZV() override;

  String ClassName() const override;

  // Published properties.
  const AnsiString& AuftraggeberName2() const { return fAuftraggeberName2; }
  void SetAuftraggeberName2(const AnsiString& value) { fAuftraggeberName2 = value; }
  const AnsiString& AuftraggeberStrasse() const { return fAuftraggeberStrasse; }
  void SetAuftraggeberStrasse(const AnsiString& value) { fAuftraggeberStrasse = value; }
  const AnsiString& AuftraggeberOrt() const { return fAuftraggeberOrt; }
  void SetAuftraggeberOrt(const AnsiString& value) { fAuftraggeberOrt = value; }
  /// Raises the euro limit of ValidateBetrag from 12 500 to 50 000.
  bool IgnoreAmountAbove12500() const { return fIgnoreAmountAbove12500; }
  void SetIgnoreAmountAbove12500(bool value) { fIgnoreAmountAbove12500 = value; }
  /// Currency of the client's account and default currency of the payments.
  const AnsiString& Waehrungscode() const { return fWaehrungscode; }
  /// Stores three characters in capitals; reports _MsgWaehrungscode otherwise.
  void SetWaehrungscode(const AnsiString& value);
  std::int32_t Bundeslandschluessel() const { return fBundeslandschluessel; }
  /// 0 to 99; also sets IgnoreAmountAbove12500 to "both keys are set".
  void SetBundeslandschluessel(std::int32_t value);
  std::int32_t Firmennummer() const { return fFirmennummer; }
  /// 0 to 99999999; also sets IgnoreAmountAbove12500 to "both keys are set".
  void SetFirmennummer(std::int32_t value);
  /// Payment type key written into every T record (0 to 99).
  std::uint8_t ZahlungsArtSchluessel() const { return FZahlungsArtSchluessel; }
  void SetZahlungsArtSchluessel(std::uint8_t value) { FZahlungsArtSchluessel = value; }

  // Public properties.
  /// The earliest execution date among the payments of the file.
  TDateTime ErstesAusfuehrungsdatum() const { return fErstesDatum; }
  /// Sum of the whole currency units of the amounts of the file.
  std::int64_t SummeBetragVorKomma() const { return fSummeBetragVorKomma; }
  /// The currency of the file's first payment; empty before it.
  const AnsiString& ErsteWaehrung() const { return fErsteWaehrung; }
  /// True once a payment's currency differs from the first payment's.
  bool MultiWaehrung() const { return fMultiWaehrung; }
  /// The cover sheet as text: lines joined by CR LF, none after the last.
  String Begleitzettel() const { return GetBegleitzettel(); }

  /// Opens a file with its running number (0 to 99) and writes the Q record.
  void Start(std::int32_t LfdNummer);

  /// Books one payment (the full form). Vwz is the caller's list and is changed in
  /// place; an empty Waehrung means Waehrungscode.
  void Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name1,
               const AnsiString& Name2, const AnsiString& Strasse, const AnsiString& OrtLand,
               const AnsiString& Laendercode, double Betrag, TStrings& Vwz, TDateTime Datum,
               const AnsiString& NotizIntern, const AnsiString& Ansprechpartner,
               const AnsiString& Waehrung);
  /// Books one payment in Waehrungscode.
  void Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name1,
               const AnsiString& Name2, const AnsiString& Strasse, const AnsiString& OrtLand,
               const AnsiString& Laendercode, double Betrag, TStrings& Vwz, TDateTime Datum,
               const AnsiString& NotizIntern, const AnsiString& Ansprechpartner);
  /// Books one payment with one name line; the country code is taken from the IBAN.
  void Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name,
               const AnsiString& Strasse, const AnsiString& OrtLand, double Betrag, TStrings& Vwz,
               TDateTime Datum);
  /// As the previous one, executed on Ausfuehrungsdatum.
  void Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name,
               const AnsiString& Strasse, const AnsiString& OrtLand, double Betrag, TStrings& Vwz);

  /// Writes the Z record, then the file; the run stays open when the file cannot be written.
  void Finish();

  bool ValidateName(const AnsiString& aName);
  bool ValidateStrasse(const AnsiString& aStrasse);
  bool ValidateOrt(const AnsiString& aOrt);
  bool ValidateNotiz(const AnsiString& aNotiz);
  bool ValidateAnsprechpartner(const AnsiString& aAnsprechpartner);
  /// Amount limits by Waehrungscode: EUR 1 to 12 500 (50 000 with
  /// IgnoreAmountAbove12500), other currencies 1 to below 10^14.
  bool ValidateBetrag(double aBetrag);

  /// Length 5 to 34 and the ISO 7064 MOD 97-10 check.
  bool ValidateIBAN(const AnsiString& aIBAN);
  /// 8 or 11 characters, the first six letters.
  bool ValidateBIC(const AnsiString& aBIC);
  /// Reduces text to the DTAZV repertoire: capitals, digits, blank and + , - . /,
  /// with ß, Ä, Ö and Ü spelled out.
  AnsiString RemoveInvalidChars(const AnsiString& str) const;

  /// Where the records of the runs started from now on go, as they are written;
  /// nullptr (the default): into the component's buffer, which Finish writes to
  /// the file. With a sink, Finish writes the Z record there and no file, and
  /// DTAFileContent stays empty: the caller owns the bytes and keeps the sink
  /// alive until the run is finished or the component is gone.
  void SetRecordSink(ByteSink* sink) { fRecordSink = sink; }
  ByteSink* RecordSink() const { return fRecordSink; }

 private:
  // A record into the run's sink, or into the buffer.
  void WriteRecord(std::string_view record);
  bool ValidateVwzCount(const TStrings& Vwz);
  bool IsWritableDateKept(TDate date);
  // Steps of Buchung, inline: they run for every booking.
  inline const char* TRecordRefusal(bool bicWritable, bool ibanWritable,
                                    std::string_view laendercode, std::string_view waehrung,
                                    double Betrag, bool dateCorrected, TDateTime Datum,
                                    std::int64_t& vorKomma, std::int32_t& nachKomma);
  inline void NoteCurrency(std::string_view waehrung);
  inline std::span<const AnsiString> CleanPurposeLines(TStrings& Vwz);
  void WriteDatensatzQ(std::int32_t LfdNummer);
  void WriteDatensatzT(std::string_view BIC, std::string_view IBAN, std::string_view Name1,
                       std::string_view Name2, std::string_view Strasse, std::string_view OrtLand,
                       std::string_view Laendercode, std::int64_t BetragVorKomma,
                       std::int32_t BetragNachKomma, std::span<const AnsiString> Vwz,
                       TDateTime Datum, std::string_view NotizIntern,
                       std::string_view Ansprechpartner, std::int32_t AnzahlMeldungen,
                       std::string_view Waehrung);
  void WriteDatensatzZ();
  String GetBegleitzettel() const;
  void PrintBegleitzettel();

  AnsiString fAuftraggeberName2;
  AnsiString fAuftraggeberStrasse;
  AnsiString fAuftraggeberOrt;
  std::int64_t fSummeBetragVorKomma = 0;
  TDateTime fErstesDatum = 0;
  bool fIgnoreAmountAbove12500 = false;
  AnsiString fWaehrungscode;
  std::int32_t fBundeslandschluessel = 0;
  std::int32_t fFirmennummer = 0;
  bool fMultiWaehrung = false;
  AnsiString fErsteWaehrung;
  std::uint8_t FZahlungsArtSchluessel = 0;
  // Kept from booking to booking, so that cleaning purpose lines and fields
  // reuses their storage.
  String fLineText;
  std::vector<AnsiString> fCleanedLines;
  struct CleanedFields {
    AnsiString name1, name2, strasse, ortLand, notiz, ansprechpartner;  // long texts only
    AnsiString bic, iban;                                               // in capitals
  } fCleaned;
  // The last date IsWritableDateKept judged, and its verdict (a NaN is judged
  // every time).
  TDate fCheckedDatum = 0;
  bool fCheckedDatumWritable = true;
  ByteSink* fRecordSink = nullptr;
};

}  // namespace zor

namespace zor::ZorDTAZV {
/// Puts TZorDTAZV on the palette page "ZOR Software"; the design environment calls it
/// when it installs the package. Raises Exception when TZorDTAZV is registered already.
ZORDTA_API void Register();
}  // namespace zor::ZorDTAZV
