#include "zordta/ZorDTA.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <span>
#include <string_view>

#include "core/RunBuffer.h"
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

std::chrono::year_month_day YearMonthDay(TDate date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return std::chrono::year_month_day{std::chrono::year{year},
                                     std::chrono::month{static_cast<unsigned>(month)},
                                     std::chrono::day{static_cast<unsigned>(day)}};
}

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
  // The records go to the sink; without a buffer, Finish writes no file.
  if (fRecordSink) fStream.reset();

  ValidateName(fAuftraggeberName);
  fWriter.reset();
  TakeFigures();
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

DtausWriter::Booking TZorDTA::BookingOf(const AnsiString& Name, std::int64_t Konto,
                                        std::int64_t BLZ, double Betrag) const {
  DtausWriter::Booking booking;
  booking.name = Name;
  booking.konto = Konto;
  booking.blz = BLZ;
  if (!dtaus::AmountToCent(Betrag, booking.cent)) booking.cent = -1;
  return booking;
}

bool TZorDTA::AcceptPayment(const PaymentChecks& checks, const DtausWriter::Booking& booking) {
  // The client as it is now goes into this payment's record.
  fWriter->SetClient({fAuftraggeberName, fAuftraggeberBLZ, fAuftraggeberKontoNr},
                     IsFirstFileKind() ? DtausUmlauts::German7Bit : DtausUmlauts::Pc);
  const std::optional<DtausWriteFault> fault = fWriter->Refusal(booking);
  if (!fault) return true;
  // Whatever the checks let through, a value that cannot stand in its field is
  // never written; it is reported once (unless its check just did) and the
  // booking ends here.
  const char* refusal = msg::_MsgValidateBetrag;
  bool alreadyReported = false;
  switch (*fault) {
    case DtausWriteFault::BankCode:
      refusal = msg::_MsgValidateBLZ, alreadyReported = !checks.blzValid;
      break;
    case DtausWriteFault::Account:
      refusal = msg::_MsgValidateKontoDE, alreadyReported = !checks.kontoValid;
      break;
    case DtausWriteFault::Amount:
      alreadyReported = !checks.betragValid;
      break;
    case DtausWriteFault::PurposeLines:
      refusal = msg::_MsgValidateVwzCount, alreadyReported = !checks.countValid;
      break;
    case DtausWriteFault::ClientBankCode:
      refusal = msg::_MsgValidateBLZ;
      break;
    case DtausWriteFault::ClientAccount:
      refusal = msg::_MsgValidateKontoDE;
      break;
    default:  // the count or the sum of record E
      break;
  }
  if (!alreadyReported) Error(StringFromUtf8(refusal));
  return false;
}

void TZorDTA::TakeFigures() {
  const DtausWriter::Totals figures = fWriter ? fWriter->Figures() : DtausWriter::Totals();
  fAnzahlBuchungen = figures.count;
  fSummeKontonummer = figures.summeKontonummer;
  fSummeBLZ = figures.summeBLZ;
  fSummeBetragCent = figures.summeCent;
}

void TZorDTA::Buchung(const AnsiString& Name, std::int64_t Konto, std::int64_t BLZ, double Betrag,
                      TStrings& Vwz) {
  if (!CheckRunOpenForBooking()) return;
  fState = stBooking;

  PaymentChecks checks = CheckPayment(Name, Konto, BLZ, Betrag);
  if (!fLeerzeilenBehalten) dtaus::RemoveBlankLines(Vwz);
  dtaus::SplitSingleLongLine(Vwz);
  checks.countValid = ValidateVwzCount(Vwz);

  // One more than a record holds: the writer only counts them.
  std::array<std::string_view, dtaus::kMaxRecordPurposeLines + 1> lineViews;
  DtausWriter::Booking booking = BookingOf(Name, Konto, BLZ, Betrag);
  booking.purpose = std::span(lineViews.data(),
                              std::min(static_cast<std::size_t>(Vwz.Count()), lineViews.size()));
  if (!AcceptPayment(checks, booking)) return;

  if (Vwz.Count() == 0) Vwz.Add(String());
  const bool firstKind = IsFirstFileKind();
  // The cleaned lines go back into the caller's list and into the record.
  const auto lineCount = static_cast<std::size_t>(Vwz.Count());
  if (fCleanedLines.size() < lineCount) fCleanedLines.resize(lineCount);
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
  WriteDatensatzC(booking, std::span(lineViews.data(), lineCount));
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
  std::array<std::string_view, 3> lineViews;
  DtausWriter::Booking booking = BookingOf(Name, Konto, BLZ, Betrag);
  booking.purpose = std::span(lineViews.data(), static_cast<std::size_t>(kept));
  if (!AcceptPayment(checks, booking)) return;

  // A line needs no more of its cleaned text than its field holds.
  const bool firstKind = IsFirstFileKind();
  char cleaned[3][dtaus::kTextWidth];
  for (std::size_t i = 0; i < static_cast<std::size_t>(kept); ++i) {
    lineViews[i] = {cleaned[i],
                    dtaus::RemoveInvalidChars(texts[i], firstKind, cleaned[i], dtaus::kTextWidth)};
  }
  // No line left: the record carries one empty line.
  const std::size_t lineCount = kept == 0 ? 1 : static_cast<std::size_t>(kept);
  WriteDatensatzC(booking, std::span(lineViews.data(), lineCount));
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
  bool finished = false;
  try {
    finished = FinishWithTrailer([this] { WriteDatensatzE(); });
  } catch (...) {
    // The trailer was taken back out of the buffer: the next Finish writes it again.
    if (fWriter) fWriter->Reopen();
    throw;
  }
  if (finished) PrintBegleitzettel();
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
  std::optional<int> diskette;
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
    diskette = *taken.nummer;
    nummer = AnsiFormat("%.4d", {*taken.nummer});
    SetVolumeLabel(ExtractFileDrive(fPath), AnsiToString(nummer));
  }
  fVolumeLabel = AnsiToString(nummer);

  DtausWriter::Header header;
  header.client = {fAuftraggeberName, fAuftraggeberBLZ, fAuftraggeberKontoNr};
  header.lastschriften = fLastschriften;
  header.abbuchung = fAbbuchungsauftrag;
  header.zahlungsschluessel = fZahlungsschluessel;
  header.dateidatum = YearMonthDay(fDiskettenErstellDatum);
  if (fAusfuehrungsdatum != 0) header.ausfuehrungsdatum = YearMonthDay(fAusfuehrungsdatum);
  header.diskettennummer = diskette;
  header.umlauts = IsFirstFileKind() ? DtausUmlauts::German7Bit : DtausUmlauts::Pc;
  ByteSink& sink = fRecordSink ? *fRecordSink : static_cast<ByteSink&>(*fStream);
  fWriter = DtausWriter(sink, header, DtausWriter::LongTexts::Cut);
  MarkHeaderWritten();
}

void TZorDTA::WriteDatensatzC(DtausWriter::Booking booking,
                              std::span<const std::string_view> lines) {
  const AnsiString key = dtaus::PaymentKey(fLastschriften, fAbbuchungsauftrag, fZahlungsschluessel);
  booking.zahlungsschluessel = key;
  fWriter->AddCleaned(booking, lines);
  TakeFigures();
}

void TZorDTA::WriteDatensatzE() {
  fWriter->Finish();
}

}  // namespace zor
