#include "zordta/ZorDTA.h"

#include <array>
#include <span>
#include <string_view>

#include "core/ZorDTAMessages.h"
#include "dtaus/DiskettenCounter.h"
#include "dtaus/Layout.h"
#include "dtaus/PurposeLines.h"
#include "dtaus/Records.h"
#include "dtaus/Repertoire.h"
#include "host/TextConversion.h"
#include "host/TextTemplates.h"
#include "zordta/Limits.h"
#include "zordta/host/Registry.h"
#include "zordta/host/Text.h"
#include "zordta/host/Volumes.h"

namespace zor {

namespace msg = detail::msg;
namespace dtaus = detail::dtaus;

namespace {

bool FitsBLZField(std::int64_t value) {
  return value >= 0 && value <= limits::kMaxBLZ;
}
bool FitsKontoField(std::int64_t value) {
  return value >= 0 && value <= limits::kMaxKonto;
}

bool IsWritableDate(TDate date) {
  int year = 0, month = 0, day = 0;
  return TryDecodeDate(date, year, month, day);
}

}  // namespace

TZorDTA::TZorDTA(TComponent* aOwner) : TZorBaseDTA(aOwner) {
#if defined(_WIN32)
  fPath = StringFromUtf8("A:\\");
#endif
  fDTAFilename = StringFromUtf8("DTAUS0.TXT");
  fDiskettenErstellDatum = Date();
}

TZorDTA::~TZorDTA() {
  // A run abandoned before its file was written leaves its number to the next one.
  if (fState == stReady) return;
  try {
    GiveBackDiskettenNummer();
  } catch (...) {
    // A destructor has nobody to tell; the number stays taken, as before.
  }
}

String TZorDTA::ClassName() const {
  return StringFromUtf8("TZorDTA");
}

void TZorDTA::SetLastschriften(bool value) {
  fLastschriften = value;
  if (!value) fAbbuchungsauftrag = false;
}

void TZorDTA::SetAbbuchungsauftrag(bool value) {
  fAbbuchungsauftrag = value;
  if (value) fLastschriften = true;
}

void TZorDTA::SetZahlungsschluessel(const AnsiString& value) {
  // Stored trimmed: the records compare and write the key as it is stored.
  AnsiString trimmed = Trim(value);
  fZahlungsschluessel = trimmed.size() == 5 ? std::move(trimmed) : AnsiString();
}

void TZorDTA::setDiskettenErstellDatum(TDate value) {
  fDiskettenErstellDatum = value;
  FAutoDiskettenErstellDatum = false;
}

void TZorDTA::Start() {
  const bool runWasOpen = fState != stReady;
  // Forgotten before the checks can raise: the number belongs to a finished run.
  if (!runWasOpen) fTakenDiskettenNummer.reset();
  TZorBaseDTA::Start();
  if (runWasOpen) return;

  ValidateName(fAuftraggeberName);
  fSummeKontonummer = 0;
  fSummeBLZ = 0;
  fSummeBetragCent = 0;
  if (FAutoDiskettenErstellDatum) fDiskettenErstellDatum = Date();
  WriteDatensatzA();
}

TZorDTA::PaymentChecks TZorDTA::CheckPayment(const AnsiString& Name, std::int64_t Konto,
                                             std::int64_t BLZ, double Betrag) {
  PaymentChecks checks;
  checks.blzValid = ValidateBLZ(BLZ);
  checks.kontoValid = ValidateKontoDE(Konto);
  ValidateName(Name);
  checks.betragValid = ValidateBetrag(Betrag);
  return checks;
}

bool TZorDTA::AcceptPayment(const PaymentChecks& checks, std::int64_t Konto, std::int64_t BLZ,
                            double Betrag, int lineCount, std::int64_t& cent) {
  // Whatever the checks let through, a value that cannot stand in its field is
  // never written; it is reported once (unless its check just did) and the
  // booking ends here.
  const bool betragFits = dtaus::AmountToCent(Betrag, cent);
  const char* refusal = nullptr;
  bool alreadyReported = false;
  if (!FitsBLZField(BLZ)) {
    refusal = msg::_MsgValidateBLZ, alreadyReported = !checks.blzValid;
  } else if (!FitsKontoField(Konto)) {
    refusal = msg::_MsgValidateKontoDE, alreadyReported = !checks.kontoValid;
  } else if (!betragFits) {
    refusal = msg::_MsgValidateBetrag, alreadyReported = !checks.betragValid;
  } else if (lineCount > dtaus::kMaxRecordPurposeLines) {
    refusal = msg::_MsgValidateVwzCount, alreadyReported = !checks.countValid;
  } else if (!FitsBLZField(fAuftraggeberBLZ)) {
    refusal = msg::_MsgValidateBLZ;
  } else if (!FitsKontoField(fAuftraggeberKontoNr)) {
    refusal = msg::_MsgValidateKontoDE;
  } else if (fAnzahlBuchungen >= limits::dtaus::kMaxCount ||
             fSummeBetragCent > limits::dtaus::kMaxCentSum - cent) {
    refusal = msg::_MsgValidateBetrag;
  }
  if (refusal) {
    if (!alreadyReported) Error(StringFromUtf8(refusal));
    return false;
  }

  ++fAnzahlBuchungen;
  fSummeKontonummer += Konto;
  fSummeBLZ += BLZ;
  fSummeBetragCent += cent;
  return true;
}

void TZorDTA::Buchung(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ, double Betrag,
                      TStrings& Vwz) {
  if (!CheckRunOpenForBooking()) return;
  fState = stBooking;

  PaymentChecks checks = CheckPayment(Name, Konto, BLZ, Betrag);
  if (!fLeerzeilenBehalten) dtaus::RemoveBlankLines(Vwz);
  dtaus::SplitSingleLongLine(Vwz);
  checks.countValid = ValidateVwzCount(Vwz);

  std::int64_t cent = 0;
  if (!AcceptPayment(checks, Konto, BLZ, Betrag, Vwz.Count(), cent)) return;

  if (Vwz.Count() == 0) Vwz.Add(String());
  const bool firstKind = IsFirstFileKind();
  // The cleaned lines go back into the caller's list and into the record.
  const auto lineCount = static_cast<std::size_t>(Vwz.Count());
  if (fCleanedLines.size() < lineCount) fCleanedLines.resize(lineCount);
  std::array<std::string_view, dtaus::kMaxRecordPurposeLines> lineViews;
  for (int i = Vwz.Count() - 1; i >= 0; --i) {
    const auto at = static_cast<std::size_t>(i);
    detail::AssignAnsi(fLineBytes, Vwz.StringsRef(i, fLineText));
    AnsiString& cleaned = fCleanedLines[at];
    cleaned.resize(fLineBytes.size());
    cleaned.resize(
        dtaus::RemoveInvalidChars(fLineBytes, firstKind, cleaned.data(), cleaned.size()));
    detail::AssignString(fLineText, cleaned);
    Vwz.SetStrings(i, fLineText);
    lineViews[at] = cleaned;
  }
  WriteDatensatzC(Name, Konto, BLZ, cent, std::span(lineViews.data(), lineCount));
}

void TZorDTA::Buchung(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ, double Betrag,
                      const AnsiString& Vwz1, const AnsiString& Vwz2, const AnsiString& Vwz3) {
  // The texts are prepared as bytes, as the list overload prepares its lines,
  // without the round trip through a list of interface text. Blank: what Trim
  // would leave empty; Windows-1252 and UTF-16 agree on every code up to 0x20.
  std::array<std::string_view, 3> texts;
  int count = 0;
  for (const AnsiString* text : {&Vwz1, &Vwz2, &Vwz3}) {
    if (count > 0 && text->empty()) continue;
    texts[static_cast<std::size_t>(count++)] = *text;
  }
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const std::string_view text = texts[static_cast<std::size_t>(i)];
    if (!fLeerzeilenBehalten && detail::TrimmedLeft(text).empty()) continue;
    texts[static_cast<std::size_t>(kept++)] = text;
  }
  // A single text too long for its field is split as the list overload splits
  // it, line breaks in it included: that rare case takes the list.
  if (kept == 1 && texts[0].size() + 2 > dtaus::kTextWidth) {
    BuchungThroughList(Name, Konto, BLZ, Betrag, {&Vwz1, &Vwz2, &Vwz3});
    return;
  }

  if (!CheckRunOpenForBooking()) return;
  fState = stBooking;
  // Three lines at most: the count check cannot fail.
  const PaymentChecks checks = CheckPayment(Name, Konto, BLZ, Betrag);
  std::int64_t cent = 0;
  if (!AcceptPayment(checks, Konto, BLZ, Betrag, kept, cent)) return;

  // A line needs no more of its cleaned text than its field holds.
  const bool firstKind = IsFirstFileKind();
  char cleaned[3][dtaus::kTextWidth];
  std::array<std::string_view, 3> lineViews;
  for (std::size_t i = 0; i < static_cast<std::size_t>(kept); ++i) {
    lineViews[i] = {cleaned[i],
                    dtaus::RemoveInvalidChars(texts[i], firstKind, cleaned[i], dtaus::kTextWidth)};
  }
  // No line left: the record carries one empty line.
  const std::size_t lineCount = kept == 0 ? 1 : static_cast<std::size_t>(kept);
  WriteDatensatzC(Name, Konto, BLZ, cent, std::span(lineViews.data(), lineCount));
}

void TZorDTA::BuchungThroughList(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ,
                                 double Betrag, std::array<const AnsiString*, 3> texts) {
  // The list is refilled line by line rather than built anew, so that a run of
  // bookings converts into the same storage each time.
  int count = 0;
  for (const AnsiString* line : texts) {
    if (count > 0 && line->empty()) continue;
    detail::AssignString(fLineText, *line);
    if (count < fTextLines.Count()) {
      fTextLines.SetStrings(count, fLineText);
    } else {
      fTextLines.Add(fLineText);
    }
    ++count;
  }
  while (fTextLines.Count() > count) fTextLines.Delete(fTextLines.Count() - 1);
  Buchung(Name, Konto, BLZ, Betrag, fTextLines);
}

void TZorDTA::Finish() {
  if (FinishWithTrailer([this] { WriteDatensatzE(); })) PrintBegleitzettel();
}

bool TZorDTA::GiveBackDiskettenNummer() {
  if (!fTakenDiskettenNummer || !fIniFile) return false;
  const bool steppedBack = dtaus::GiveBackDiskettenNummer(*fIniFile, *fTakenDiskettenNummer);
  // One attempt: a number another run has built on is not the caller's any more.
  fTakenDiskettenNummer.reset();
  return steppedBack;
}

bool TZorDTA::ValidateName(const AnsiString& aName) {
  if (!FValidateData || !aName.empty()) return true;
  Error(StringFromUtf8(msg::_MsgValidateName));
  return false;
}

bool TZorDTA::ValidateBetrag(double aBetrag) {
  if (!FValidateData || (aBetrag >= limits::kMinBetrag && aBetrag < limits::dtaus::kBetragBelow)) {
    return true;
  }
  Error(StringFromUtf8(msg::_MsgValidateBetrag));
  return false;
}

bool TZorDTA::ValidateVwzCount(const TStrings& Vwz) {
  if (!FValidateData || Vwz.Count() <= limits::dtaus::kMaxPurposeLines) return true;
  Error(StringFromUtf8(msg::_MsgValidateVwzCount));
  return false;
}

AnsiString TZorDTA::RemoveInvalidChars(const AnsiString& str) const {
  return dtaus::RemoveInvalidChars(str, IsFirstFileKind());
}

AnsiString TZorDTA::DecodeChars(const AnsiString& str) {
  return dtaus::DecodeChars(str);
}

bool TZorDTA::IsFirstFileKind() const {
  return dtaus::IsFirstFileKind(fDTAFilename);
}

void TZorDTA::WriteDatensatzA() {
  // Checked before the diskette counter moves, so a refused header uses no number.
  // A bank code or account beyond its field failed Start's own check already
  // when the data are checked: that report stands, the header is not written.
  const char* refusal = nullptr;
  bool alreadyReported = false;
  if (!FitsBLZField(fAuftraggeberBLZ)) {
    refusal = msg::_MsgValidateBLZ, alreadyReported = FValidateData;
  } else if (!FitsKontoField(fAuftraggeberKontoNr)) {
    refusal = msg::_MsgValidateKontoDE, alreadyReported = FValidateData;
  } else if (!IsWritableDate(fDiskettenErstellDatum) ||
             (fAusfuehrungsdatum != 0 && !IsWritableDate(fAusfuehrungsdatum))) {
    refusal = msg::_MsgADatum;
  }
  if (refusal) {
    if (!alreadyReported) Error(StringFromUtf8(refusal));
    return;
  }

  AnsiString nummer = Spc(dtaus::kA.diskettenNummer.width);
  if (fZentralbank) {
    fIniFile = dtaus::OpenDiskettenCounter();
    const dtaus::TakenDiskettenNummer taken = dtaus::TakeDiskettenNummer(*fIniFile);
    // A counter that holds no number stops the run: counting on from a guess could
    // repeat a number the bank has seen.
    if (!taken.nummer) {
      Error(Format(StringFromUtf8(msg::_MsgDiskettenNummer),
                   {StringFromUtf8(fIniFile->FileName()),
                    StringFromUtf8(dtaus::VisibleText(taken.refusedValue))}));
      return;
    }
    fTakenDiskettenNummer = taken.nummer;
    nummer = AnsiFormat("%.4d", {*taken.nummer});
    SetVolumeLabel(ExtractFileDrive(fPath), AnsiToString(nummer));
  }
  fVolumeLabel = AnsiToString(nummer);

  dtaus::ARecordFields fields;
  fields.kind = dtaus::FileKind(fLastschriften, fZahlungsschluessel);
  fields.auftraggeberBLZ = fAuftraggeberBLZ;
  fields.auftraggeberName = RemoveInvalidChars(fAuftraggeberName);
  fields.fileDate = fDiskettenErstellDatum;
  fields.diskettenNummer = nummer;
  fields.auftraggeberKontoNr = fAuftraggeberKontoNr;
  fields.ausfuehrungsdatum = fAusfuehrungsdatum;
  WriteString(dtaus::BuildARecord(fields));
  MarkHeaderWritten();
}

void TZorDTA::WriteDatensatzC(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ,
                              std::int64_t BetragCent, std::span<const std::string_view> lines) {
  const bool firstKind = IsFirstFileKind();
  // The client's name is the same in every record of a run: cleaned again only
  // when it or the file kind changed.
  if (!fClientNameCleaned || fClientNameFirstKind != firstKind ||
      fClientNameSource != fAuftraggeberName) {
    fClientNameSource = fAuftraggeberName;
    fClientNameFirstKind = firstKind;
    fClientName.resize(dtaus::kC2.clientName.width);
    fClientName.resize(dtaus::RemoveInvalidChars(fAuftraggeberName, firstKind, fClientName.data(),
                                                 fClientName.size()));
    fClientNameCleaned = true;
  }

  // A name field holds no more than its width, so no more of a name is cleaned.
  char name[dtaus::kC1.name.width];
  const AnsiString key = dtaus::PaymentKey(fLastschriften, fAbbuchungsauftrag, fZahlungsschluessel);
  dtaus::CRecordFields fields;
  fields.blz = BLZ;
  fields.konto = Konto;
  fields.key = key;
  fields.auftraggeberBLZ = fAuftraggeberBLZ;
  fields.auftraggeberKontoNr = fAuftraggeberKontoNr;
  fields.betragCent = BetragCent;
  fields.name = {name, dtaus::RemoveInvalidChars(Name, firstKind, name, sizeof name)};
  fields.auftraggeberName = fClientName;
  fields.purposeLines = lines;
  dtaus::CRecordBuffer record;
  WriteString(dtaus::BuildCRecord(fields, record));
}

void TZorDTA::WriteDatensatzE() {
  dtaus::ERecordFields fields;
  fields.count = fAnzahlBuchungen;
  fields.summeKontonummer = fSummeKontonummer;
  fields.summeBLZ = fSummeBLZ;
  fields.summeBetragCent = fSummeBetragCent;
  WriteString(dtaus::BuildERecord(fields));
}

}  // namespace zor
