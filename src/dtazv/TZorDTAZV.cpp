#include "zordta/ZorDTAZV.h"

#include <array>
#include <cmath>
#include <span>
#include <string_view>

#include "core/RunBuffer.h"
#include "core/ZorDTAMessages.h"
#include "dtazv/BankIdentifiers.h"
#include "dtazv/Layout.h"
#include "dtazv/Records.h"
#include "dtazv/Repertoire.h"
#include "dtazv/ZorDTAZVMessages.h"
#include "host/TextConversion.h"
#include "zordta/Limits.h"
#include "zordta/host/Text.h"

namespace zor {

namespace msg = detail::msg;
namespace msgzv = detail::msgzv;
namespace dtazv = detail::dtazv;

namespace {

constexpr std::size_t kLineWidth = dtazv::kLineWidth;
constexpr int kMaxPurposeLines = limits::dtazv::kMaxPurposeLines;
constexpr int kDaysAhead = limits::kExecutionWindowDays;

// Room on the stack for a field's cleaned text: up to two bytes per byte of a
// text of kScratchText bytes. A longer text is cleaned into storage kept from
// booking to booking.
constexpr std::size_t kScratchText = 128;
using Scratch = std::array<char, 2 * kScratchText>;

template <class C>
std::string_view Cleaned(std::basic_string_view<C> text, Scratch& scratch, AnsiString& storage) {
  if (text.size() <= kScratchText) {
    return {scratch.data(), dtazv::RemoveInvalidChars(text, scratch.data())};
  }
  storage.resize(2 * text.size());
  storage.resize(dtazv::RemoveInvalidChars(text, storage.data()));
  return storage;
}

// The rules of ValidateStrasse and the others, which Buchung applies to the
// cleaned texts it holds on the stack.
bool StrasseFits(std::size_t length) {
  return length <= kLineWidth;
}
bool OrtFits(std::size_t length) {
  return length != 0 && length <= kLineWidth;
}
bool NotizFits(std::size_t length) {
  return length <= limits::dtazv::kNotizWidth;
}
bool AnsprechpartnerFits(std::size_t length) {
  return length <= kLineWidth;
}

bool IsWritableDate(TDate date) {
  int year = 0, month = 0, day = 0;
  return TryDecodeDate(date, year, month, day);
}

AnsiString UpperAscii(AnsiString text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The first bytes of text, at most out's size, in capitals into out.
template <std::size_t N>
std::string_view UpperAscii(std::string_view text, std::array<char, N>& out) {
  const std::size_t length = text.size() < N ? text.size() : N;
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    out[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return {out.data(), length};
}

// One long line is split into lines of the field's width, in the list as well.
// The record takes the split lines; they are clean already, so they only convert.
std::span<const AnsiString> SplitLongPurposeLine(TStrings& Vwz,
                                                 std::vector<AnsiString>& cleanedLines,
                                                 String& lineText) {
  const String line = Vwz.Strings(0);
  String joined;
  for (std::size_t at = 0; at < line.size(); at += kLineWidth) {
    if (at > 0) joined += StringFromUtf8("\r\n");
    joined += line.substr(at, kLineWidth);
  }
  Vwz.SetText(Trim(joined));
  const auto splitCount = static_cast<std::size_t>(Vwz.Count());
  if (cleanedLines.size() < splitCount) cleanedLines.resize(splitCount);
  for (std::size_t i = 0; i < splitCount; ++i) {
    detail::AssignAnsi(cleanedLines[i], Vwz.StringsRef(static_cast<int>(i), lineText));
  }
  return {cleanedLines.data(), splitCount};
}

}  // namespace

TZorDTAZV::TZorDTAZV(TComponent* aOwner) : TZorBaseDTA(aOwner) {
  fErstesDatum = Date() + kDaysAhead;
  fDTAFilename = StringFromUtf8("DTAZV");
  fWaehrungscode = "EUR";
}

TZorDTAZV::~TZorDTAZV() = default;

String TZorDTAZV::ClassName() const {
  return StringFromUtf8("TZorDTAZV");
}

// The setters test their value whatever ValidateData says: a key that does not
// fit its field can never be stored.
void TZorDTAZV::SetWaehrungscode(const AnsiString& value) {
  if (value.size() != 3) {
    Error(StringFromUtf8(msgzv::_MsgWaehrungscode));
    return;
  }
  fWaehrungscode = UpperAscii(value);
}

void TZorDTAZV::SetBundeslandschluessel(std::int32_t value) {
  if (value < 0 || value > limits::dtazv::kMaxKey) {
    Error(StringFromUtf8(msgzv::_MsgBundeslandschluessel));
    return;
  }
  fBundeslandschluessel = value;
  fIgnoreAmountAbove12500 = fBundeslandschluessel != 0 && fFirmennummer != 0;
}

void TZorDTAZV::SetFirmennummer(std::int32_t value) {
  if (value < 0 || value > limits::dtazv::kMaxFirmennummer) {
    Error(StringFromUtf8(msgzv::_MsgFirmennummer));
    return;
  }
  fFirmennummer = value;
  fIgnoreAmountAbove12500 = fBundeslandschluessel != 0 && fFirmennummer != 0;
}

void TZorDTAZV::Start(std::int32_t LfdNummer) {
  const bool runWasOpen = fState != stReady;
  TZorBaseDTA::Start();
  if (runWasOpen) return;
  // The records go to the sink; without a buffer, Finish writes no file.
  if (fRecordSink) fStream.reset();

  fSummeBetragVorKomma = 0;
  // Each file's cover sheet describes that file alone.
  fErsteWaehrung.clear();
  fErstesDatum = Date() + kDaysAhead;
  ValidateName(fAuftraggeberName);
  ValidateStrasse(fAuftraggeberStrasse);
  ValidateOrt(fAuftraggeberOrt);
  WriteDatensatzQ(LfdNummer);
  fMultiWaehrung = false;
}

// The first check a value fails that cannot stand in its field, or nullptr.
// The amount's parts come out of the amount's check.
inline const char* TZorDTAZV::TRecordRefusal(bool bicWritable, bool ibanWritable,
                                             std::string_view laendercode,
                                             std::string_view waehrung, double Betrag,
                                             bool dateCorrected, TDateTime Datum,
                                             std::int64_t& vorKomma, std::int32_t& nachKomma) {
  if (!bicWritable) return msgzv::_MsgBICZeichen;
  if (!ibanWritable) return msgzv::_MsgIBANZeichen;
  if (!dtazv::IsWritableCountryCode(laendercode)) return msgzv::_MsgLaendercodeZeichen;
  if (waehrung.size() != 3) return msgzv::_MsgWaehrungscode;
  if (!dtazv::SplitAmount(Betrag, vorKomma, nachKomma)) return msgzv::_MsgValidateBetrag;
  if (fSummeBetragVorKomma > limits::dtazv::kMaxUnitSum - vorKomma) {
    return msgzv::_MsgValidateBetrag;
  }
  if (FZahlungsArtSchluessel > limits::dtazv::kMaxKey) return msgzv::_MsgZahlungsArtSchluessel;
  if (fAuftraggeberBLZ < 0 || fAuftraggeberBLZ > limits::kMaxBLZ) return msg::_MsgValidateBLZ;
  if (fAuftraggeberKontoNr < 0 || fAuftraggeberKontoNr > limits::kMaxKonto) {
    return msg::_MsgValidateKontoDE;
  }
  if (!dateCorrected && !IsWritableDateKept(Datum)) return msg::_MsgADatum;
  return nullptr;
}

// The cover sheet names one currency, or says that the file holds several.
inline void TZorDTAZV::NoteCurrency(std::string_view waehrung) {
  if (fErsteWaehrung.empty()) {
    fErsteWaehrung = waehrung;
  } else if (waehrung != fErsteWaehrung) {
    fMultiWaehrung = true;
  }
}

// Empty lines leave the caller's list, the others go back cleaned. Their
// bytes are kept for the record, in list order at the end of fCleanedLines.
// Always inlined into Buchung, which runs for every booking.
[[gnu::always_inline]] inline std::span<const AnsiString> TZorDTAZV::CleanPurposeLines(
    TStrings& Vwz) {
  const auto count = static_cast<std::size_t>(Vwz.Count());
  if (fCleanedLines.size() < count) fCleanedLines.resize(count);
  std::size_t first = count;
  for (int i = Vwz.Count() - 1; i >= 0; --i) {
    const String& line = Vwz.StringsRef(i, fLineText);
    if (line.empty()) {
      Vwz.Delete(i);
      continue;
    }
    AnsiString& cleaned = fCleanedLines[--first];
    Scratch lineBytes;
    const std::string_view bytes = Cleaned<Char>(line, lineBytes, cleaned);
    if (bytes.data() == lineBytes.data()) cleaned.assign(bytes);
    detail::AssignAscii(fLineText, cleaned);
    Vwz.SetStrings(i, fLineText);
  }
  if (Vwz.Count() == 1 && Vwz.StringsRef(0, fLineText).size() >= kLineWidth - 1) {
    return SplitLongPurposeLine(Vwz, fCleanedLines, fLineText);
  }
  return {fCleanedLines.data() + first, count - first};
}

void TZorDTAZV::Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name1,
                        const AnsiString& Name2, const AnsiString& Strasse,
                        const AnsiString& OrtLand, const AnsiString& Laendercode, double Betrag,
                        TStrings& Vwz, TDateTime Datum, const AnsiString& NotizIntern,
                        const AnsiString& Ansprechpartner, const AnsiString& Waehrung) {
  if (!CheckRunOpenForBooking()) return;
  fState = stBooking;
  Datum = std::trunc(Datum);

  // A BIC or IBAN the record cannot hold is refused below with a message of
  // its own; the check's message would report the same fault twice.
  const bool bicWritable = dtazv::WritableInCapitals(BIC, fCleaned.bic);
  if (bicWritable) ValidateBIC(BIC);
  const bool ibanWritable = dtazv::WritableInCapitals(IBAN, fCleaned.iban);
  if (ibanWritable) ValidateIBAN(IBAN);
  // The texts are cleaned on the stack; the checks are ValidateStrasse and the
  // others on the cleaned text, in their order.
  const auto check = [this](bool fits, const char* message) {
    if (FValidateData && !fits) Error(StringFromUtf8(message));
  };
  Scratch name1Bytes, name2Bytes, strasseBytes, ortLandBytes, notizBytes, ansprechpartnerBytes;
  const std::string_view name1 = Cleaned<char>(Name1, name1Bytes, fCleaned.name1);
  const std::string_view name2 = Cleaned<char>(Name2, name2Bytes, fCleaned.name2);
  const std::string_view strasse = Cleaned<char>(Strasse, strasseBytes, fCleaned.strasse);
  check(StrasseFits(strasse.size()), msgzv::_MsgValidateStrasse);
  const std::string_view ortLand = Cleaned<char>(OrtLand, ortLandBytes, fCleaned.ortLand);
  check(OrtFits(ortLand.size()), msgzv::_MsgValidateOrt);
  const std::string_view notiz = Cleaned<char>(NotizIntern, notizBytes, fCleaned.notiz);
  check(NotizFits(notiz.size()), msgzv::_MsgValidateNotiz);
  const std::string_view ansprechpartner =
      Cleaned<char>(Ansprechpartner, ansprechpartnerBytes, fCleaned.ansprechpartner);
  check(AnsprechpartnerFits(ansprechpartner.size()), msgzv::_MsgValidateAnsprechpartner);
  std::array<char, 3> waehrungBytes;
  const std::string_view waehrung =
      UpperAscii(Waehrung.empty() ? fWaehrungscode : Waehrung, waehrungBytes);
  // Small letters pass the checks but lie outside the file's repertoire.
  std::array<char, 2> laendercodeBytes;
  const std::string_view laendercode = UpperAscii(Laendercode, laendercodeBytes);
  // Written only when writable, and then already in capitals.
  const AnsiString& bic = fCleaned.bic;
  const AnsiString& iban = fCleaned.iban;

  // Whatever the checks let through, a value that cannot stand in its field is
  // never written: it is reported once and the payment ends here, before it
  // counts towards the file's currencies.
  const TDate today = Date();
  const bool dateCorrected = (Datum >= 0 && Datum < today) || Datum > today + kDaysAhead;
  std::int64_t vorKomma = 0;
  std::int32_t nachKomma = 0;
  if (const char* refusal = TRecordRefusal(bicWritable, ibanWritable, laendercode, waehrung, Betrag,
                                           dateCorrected, Datum, vorKomma, nachKomma)) {
    Error(StringFromUtf8(refusal));
    return;
  }

  NoteCurrency(waehrung);
  const std::span<const AnsiString> lines = CleanPurposeLines(Vwz);
  ValidateVwzCount(Vwz);

  if (dateCorrected) {
    Datum = today;
    Warning(StringFromUtf8(msg::_MsgADatum));
  }
  if (Datum < fErstesDatum) fErstesDatum = Datum;

  ++fAnzahlBuchungen;
  if (Vwz.Count() == 0) Vwz.Add(String());
  WriteDatensatzT(bic, iban, name1, name2, strasse, ortLand, laendercode, vorKomma, nachKomma,
                  lines, Datum, notiz, ansprechpartner, 0, waehrung);
}

void TZorDTAZV::Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name1,
                        const AnsiString& Name2, const AnsiString& Strasse,
                        const AnsiString& OrtLand, const AnsiString& Laendercode, double Betrag,
                        TStrings& Vwz, TDateTime Datum, const AnsiString& NotizIntern,
                        const AnsiString& Ansprechpartner) {
  Buchung(BIC, IBAN, Name1, Name2, Strasse, OrtLand, Laendercode, Betrag, Vwz, Datum, NotizIntern,
          Ansprechpartner, fWaehrungscode);
}

void TZorDTAZV::Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name,
                        const AnsiString& Strasse, const AnsiString& OrtLand, double Betrag,
                        TStrings& Vwz, TDateTime Datum) {
  Buchung(BIC, IBAN, Name, AnsiString(), Strasse, OrtLand, IBAN.substr(0, 2), Betrag, Vwz, Datum,
          AnsiString(), AnsiString(), fWaehrungscode);
}

void TZorDTAZV::Buchung(const AnsiString& BIC, const AnsiString& IBAN, const AnsiString& Name,
                        const AnsiString& Strasse, const AnsiString& OrtLand, double Betrag,
                        TStrings& Vwz) {
  Buchung(BIC, IBAN, Name, Strasse, OrtLand, Betrag, Vwz, fAusfuehrungsdatum);
}

void TZorDTAZV::WriteRecord(std::string_view record) {
  if (fRecordSink) {
    fRecordSink->Write(record);
  } else {
    WriteString(record);
  }
}

void TZorDTAZV::Finish() {
  if (FinishWithTrailer([this] { WriteDatensatzZ(); })) PrintBegleitzettel();
}

bool TZorDTAZV::ValidateName(const AnsiString& aName) {
  if (!FValidateData || !aName.empty()) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateNameZV));
  return false;
}

bool TZorDTAZV::ValidateStrasse(const AnsiString& aStrasse) {
  if (!FValidateData || StrasseFits(aStrasse.size())) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateStrasse));
  return false;
}

bool TZorDTAZV::ValidateOrt(const AnsiString& aOrt) {
  if (!FValidateData || OrtFits(aOrt.size())) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateOrt));
  return false;
}

bool TZorDTAZV::ValidateNotiz(const AnsiString& aNotiz) {
  if (!FValidateData || NotizFits(aNotiz.size())) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateNotiz));
  return false;
}

bool TZorDTAZV::ValidateAnsprechpartner(const AnsiString& aAnsprechpartner) {
  if (!FValidateData || AnsprechpartnerFits(aAnsprechpartner.size())) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateAnsprechpartner));
  return false;
}

bool TZorDTAZV::ValidateVwzCount(const TStrings& Vwz) {
  if (!FValidateData || Vwz.Count() <= kMaxPurposeLines) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateVwzCountZV));
  return false;
}

bool TZorDTAZV::ValidateBetrag(double aBetrag) {
  if (!FValidateData) return true;
  const char* message = msgzv::_MsgValidateBetrag;
  bool valid = false;
  if (fWaehrungscode != "EUR") {
    valid = aBetrag >= limits::kMinBetrag && aBetrag < limits::dtazv::kBetragBelow;
  } else if (fIgnoreAmountAbove12500) {
    valid = aBetrag >= limits::kMinBetrag && aBetrag <= limits::dtazv::kMaxBetragEURWithKeys;
    message = msgzv::_MsgValidateBetrag50000;
  } else {
    valid = aBetrag >= limits::kMinBetrag && aBetrag <= limits::dtazv::kMaxBetragEUR;
    message = msgzv::_MsgValidateBetrag12500;
  }
  if (valid) return true;
  Error(StringFromUtf8(message));
  return false;
}

bool TZorDTAZV::ValidateIBAN(const AnsiString& aIBAN) {
  if (!FValidateData || dtazv::IsValidIBAN(aIBAN)) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateIBAN));
  return false;
}

bool TZorDTAZV::ValidateBIC(const AnsiString& aBIC) {
  if (!FValidateData || dtazv::IsValidBIC(aBIC)) return true;
  Error(StringFromUtf8(msgzv::_MsgValidateBIC));
  return false;
}

// A file's payments mostly share their date: the last one's verdict is kept.
bool TZorDTAZV::IsWritableDateKept(TDate date) {
  if (date != fCheckedDatum) {
    fCheckedDatumWritable = IsWritableDate(date);
    fCheckedDatum = date;
  }
  return fCheckedDatumWritable;
}

AnsiString TZorDTAZV::RemoveInvalidChars(const AnsiString& str) const {
  return dtazv::RemoveInvalidChars(str);
}

void TZorDTAZV::WriteDatensatzQ(std::int32_t LfdNummer) {
  // Checked before anything is written, so a refused header leaves no record.
  // A bank code or account beyond its field failed Start's own check already
  // when the data are checked: that report stands, the header is not written.
  const char* refusal = nullptr;
  bool alreadyReported = false;
  if (LfdNummer < 0 || LfdNummer > limits::dtazv::kMaxKey) {
    refusal = msgzv::_MsgLfdNummer;
  } else if (fAuftraggeberBLZ < 0 || fAuftraggeberBLZ > limits::kMaxBLZ) {
    refusal = msg::_MsgValidateBLZ, alreadyReported = FValidateData;
  } else if (fAuftraggeberKontoNr < 0 || fAuftraggeberKontoNr > limits::kMaxKonto) {
    refusal = msg::_MsgValidateKontoDE, alreadyReported = FValidateData;
  } else if (fAusfuehrungsdatum != 0 && !IsWritableDate(fAusfuehrungsdatum)) {
    refusal = msg::_MsgADatum;
  }
  if (refusal) {
    if (!alreadyReported) Error(StringFromUtf8(refusal));
    return;
  }

  const TDate today = Date();
  dtazv::QRecordFields fields;
  fields.auftraggeberBLZ = fAuftraggeberBLZ;
  fields.auftraggeberKontoNr = fAuftraggeberKontoNr;
  fields.name1 = RemoveInvalidChars(fAuftraggeberName);
  fields.name2 = RemoveInvalidChars(fAuftraggeberName2);
  fields.strasse = RemoveInvalidChars(fAuftraggeberStrasse);
  fields.ort = RemoveInvalidChars(fAuftraggeberOrt);
  fields.erstellDatum = today;
  fields.lfdNummer = LfdNummer;
  fields.ausfuehrungsdatum = fAusfuehrungsdatum != 0 ? fAusfuehrungsdatum : today;
  fields.bundeslandschluessel = fBundeslandschluessel;
  fields.firmennummer = fFirmennummer;
  WriteRecord(dtazv::BuildQRecord(fields));
  MarkHeaderWritten();
}

void TZorDTAZV::WriteDatensatzT(std::string_view BIC, std::string_view IBAN, std::string_view Name1,
                                std::string_view Name2, std::string_view Strasse,
                                std::string_view OrtLand, std::string_view Laendercode,
                                std::int64_t BetragVorKomma, std::int32_t BetragNachKomma,
                                std::span<const AnsiString> Vwz, TDateTime Datum,
                                std::string_view NotizIntern, std::string_view Ansprechpartner,
                                std::int32_t AnzahlMeldungen, std::string_view Waehrung) {
  dtazv::TRecordFields fields;
  fields.auftraggeberBLZ = fAuftraggeberBLZ;
  fields.auftraggeberKontoNr = fAuftraggeberKontoNr;
  fields.kontoWaehrung = fWaehrungscode;
  fields.datum = Datum;
  fields.bic = BIC;
  fields.iban = IBAN;
  fields.laendercode = Laendercode;
  fields.name1 = Name1;
  fields.name2 = Name2;
  fields.strasse = Strasse;
  fields.ortLand = OrtLand;
  fields.waehrung = Waehrung;
  fields.vorKomma = BetragVorKomma;
  fields.nachKomma = BetragNachKomma;
  for (std::size_t i = 0; i < fields.purposeLines.size() && i < Vwz.size(); ++i) {
    fields.purposeLines[i] = Vwz[i];
  }
  fields.zahlungsArtSchluessel = FZahlungsArtSchluessel;
  fields.notizIntern = NotizIntern;
  fields.ansprechpartner = Ansprechpartner;
  fields.anzahlMeldungen = AnzahlMeldungen;
  fSummeBetragVorKomma += BetragVorKomma;
  dtazv::TRecordBuffer record;
  WriteRecord(dtazv::BuildTRecord(fields, record));
}

void TZorDTAZV::WriteDatensatzZ() {
  dtazv::ZRecordFields fields;
  fields.summeVorKomma = fSummeBetragVorKomma;
  fields.anzahl = fAnzahlBuchungen;
  WriteRecord(dtazv::BuildZRecord(fields));
}

}  // namespace zor
