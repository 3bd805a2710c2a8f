// The checked reader. Every record is copied whole into a small buffer before
// its fields are checked, so the checks see the record as one piece whatever
// the stream's blocks are, and the places in messages are those of the file.
#include "zordta/DtausReader.h"

#include <array>
#include <bit>
#include <cstring>
#include <istream>
#include <string_view>

#include "core/MessageFill.h"
#include "core/ShownBytes.h"
#include "core/TwoDigitYear.h"
#include "dtaus/DtausReadMessages.h"
#include "dtaus/Layout.h"
#include "dtaus/PartSource.h"
#include "dtaus/TextFields.h"
#include "zordta/DtausKeys.h"
#include "zordta/detail/DigitRun.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

namespace dtaus = detail::dtaus;

namespace {

using detail::Field;
using detail::Fill;
using namespace detail::msgdtausRead;
using detail::ShownBytes;
using dtaus::kPartLength;

constexpr std::size_t kNotesOfAKind = 10;
constexpr char kEuroMarker = '1';
constexpr char kDmMarker = ' ';

std::string PlaceText(const DtausPlace& place) {
  return Fill(_MsgReadPlace, {std::to_string(place.record), std::to_string(place.offset)});
}

std::string Positions(std::size_t part, const Field& f) {
  const std::size_t first = part * kPartLength + f.offset + 1;
  return Fill(_MsgReadPositions, {std::to_string(first), std::to_string(first + f.width - 1)});
}

// Plain loops: these run for every field of every record, twice per read.
bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

bool AllBlank(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    if (detail::LoadEightBytes(text.data() + i) != 0x2020202020202020) return false;
  }
  for (; i < text.size(); ++i) {
    if (text[i] != ' ') return false;
  }
  return true;
}

std::int64_t DigitsValue(std::string_view text) {
  std::int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

// Checks and converts in one pass; false when a byte is no digit. Account
// numbers, bank codes and amounts are read twice per payment by the tool, so
// eight bytes are taken at once where the byte order allows.
bool ParseDigits(std::string_view text, std::int64_t& value) {
  std::uint64_t v = 0;
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= text.size(); i += 8) {
      const std::uint64_t word = detail::LoadEightBytes(text.data() + i);
      if (!detail::AreEightDigits(word)) return false;
      v = v * 100'000'000 + detail::EightDigitsValue(word);
    }
  }
  for (; i < text.size(); ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) return false;
    v = v * 10 + digit;
  }
  value = static_cast<std::int64_t>(v);
  return !text.empty();
}

// The kinds of note that can repeat many times in one file.
enum class NoteKind : std::size_t { LineBreak, Text, Trailing, Count };

const char* CurrencyName(DtausCurrency currency) {
  return currency == DtausCurrency::Euro ? "Euro" : "DM";
}

}  // namespace

DtausReadError::DtausReadError(DtausFault fault, DtausPlace place, std::string text,
                               std::vector<std::string> details)
    : Exception(StringFromUtf8(Fill(_MsgReadAtPlace, {PlaceText(place), text}))),
      fFault(fault),
      fPlace(place),
      fText(std::move(text)),
      fDetails(std::move(details)) {}

std::vector<std::string> DtausFigureDifferences(const DtausControlFigures& stated,
                                                const DtausControlFigures& counted) {
  struct Figure {
    const char* name;
    std::int64_t DtausControlFigures::*member;
  };
  static constexpr Figure kFigures[] = {
      {"Anzahl der Datensätze C", &DtausControlFigures::anzahl},
      {"Summe der Kontonummern", &DtausControlFigures::kontonummern},
      {"Summe der Bankleitzahlen", &DtausControlFigures::bankleitzahlen},
      {"Summe der Beträge in Cent", &DtausControlFigures::cent},
      {"Summe der Beträge in Pfennig", &DtausControlFigures::pfennig},
  };
  std::vector<std::string> differences;
  for (const Figure& f : kFigures) {
    if (stated.*f.member == counted.*f.member) continue;
    differences.push_back(Fill(_MsgReadFigureDifference, {f.name, std::to_string(stated.*f.member),
                                                          std::to_string(counted.*f.member)}));
  }
  return differences;
}

class detail::DtausReaderState {
 public:
  using Item = DtausReader::Item;

  DtausReaderState(std::istream& in, DtausReadOptions o) : source(in), stream(in), options(o) {}

  Item Next();

  // The records.
  Item ReadHeader();
  Item ReadRecordAfterHeader();
  Item ReadPayment();
  // The steps of ReadPayment, which runs for every payment: inlined, so that
  // they cost no calls.
  [[gnu::always_inline]] inline std::size_t TakePaymentParts();
  [[gnu::always_inline]] inline void ReadKey(DtausPayment& p);
  [[gnu::always_inline]] inline void ReadAmount(DtausPayment& p, bool euro);
  [[gnu::always_inline]] inline void ReadExtensions(DtausPayment& p, std::size_t n);
  void UnusedSlot(std::size_t slot, std::size_t n, std::size_t part,
                  const dtaus::SlotLayout& s) const;
  [[gnu::always_inline]] inline std::vector<std::string>& SlotLines(
      DtausPayment& p, std::size_t slot, std::size_t part, const dtaus::SlotLayout& s) const;
  Item ReadTrailer();
  Item ReadRest();

  // Reading parts.
  bool TakePart(std::size_t part, bool recordStart);
  void SkipLineBreaks(std::size_t recordOfBreak);
  [[noreturn]] void Truncated(const std::string& what);

  // Fields of the record in `record`; `part` is the part that holds the field.
  std::string_view At(std::size_t part, const Field& f) const {
    return {record.data() + part * kPartLength + f.offset, f.width};
  }
  DtausPlace PlaceOf(std::size_t part, const Field& f) const {
    return {recordNumber, partOffsets[part] + f.offset};
  }
  [[noreturn]] void Fail(DtausFault fault, DtausPlace place, std::string text) const {
    throw DtausReadError(fault, place, std::move(text));
  }
  std::int64_t Digits(std::size_t part, const Field& f, const char* name) const {
    std::int64_t value = 0;
    if (!ParseDigits(At(part, f), value)) NotDigits(part, f, name);
    return value;
  }
  [[noreturn]] void NotDigits(std::size_t part, const Field& f, const char* name) const;
  std::int64_t DigitsOrBlank(std::size_t part, const Field& f, const char* name) const;
  void Text(std::size_t part, const Field& f, const char* name, std::string& utf8);
  std::chrono::year_month_day Date(std::size_t part, const Field& f, const char* name,
                                   bool twoDigitYear) const;
  void Note(NoteKind kind, DtausPlace place, std::string text);
  // The lines of one payment go back to a pool when the next is read, so that
  // their storage is used again instead of allocated per payment.
  void Spare(std::vector<std::string>& lines) {
    while (!lines.empty()) {
      spareLines.push_back(std::move(lines.back()));
      lines.pop_back();
    }
  }
  std::string& NewLine(std::vector<std::string>& lines) {
    if (spareLines.empty()) return lines.emplace_back();
    lines.push_back(std::move(spareLines.back()));
    spareLines.pop_back();
    return lines.back();
  }
  void CountedNotes();

  dtaus::PartSource source;
  std::istream& stream;
  DtausReadOptions options;

  enum class Phase { FirstHeader, InFile, AfterTrailer, Ended } phase = Phase::FirstHeader;
  std::array<char, dtaus::kMaxCParts * kPartLength> record{};
  std::array<std::uint64_t, dtaus::kMaxCParts> partOffsets{};
  std::size_t recordNumber = 0;
  std::size_t logicalFiles = 0;

  DtausHeader header;
  char currencyMarker = kEuroMarker;
  DtausPayment payment;
  std::vector<std::string> spareLines;
  DtausTrailer trailer;
  // Counted with unsigned arithmetic: a hostile file cannot overflow them, and
  // any sum beyond the E record's fields differs from it anyway.
  std::uint64_t countedKonto = 0, countedBLZ = 0, countedCent = 0, countedPfennig = 0;
  std::int64_t countedPayments = 0;

  std::vector<DtausNote> notes;
  std::array<std::size_t, static_cast<std::size_t>(NoteKind::Count)> notesOfKind{};
};

DtausReader::DtausReader(std::istream& in, DtausReadOptions options)
    : fState(std::make_unique<detail::DtausReaderState>(in, options)) {}

DtausReader::~DtausReader() = default;

DtausReader::Item DtausReader::Next() {
  return fState->Next();
}

const DtausHeader& DtausReader::Header() const {
  return fState->header;
}
const DtausPayment& DtausReader::Payment() const {
  return fState->payment;
}
const DtausTrailer& DtausReader::Trailer() const {
  return fState->trailer;
}
const std::vector<DtausNote>& DtausReader::Notes() const {
  return fState->notes;
}

DtausReader::Item detail::DtausReaderState::Next() {
  switch (phase) {
    case Phase::FirstHeader:
      if (source.Peek() < 0) {
        if (stream.bad()) Fail(DtausFault::Unreadable, {1, 0}, _MsgReadUnreadable);
        Fail(DtausFault::Truncated, {1, 0}, _MsgReadEmpty);
      }
      return ReadHeader();
    case Phase::InFile:
      SkipLineBreaks(recordNumber + 1);
      ++recordNumber;
      if (!TakePart(0, true)) Truncated(_MsgReadNoTrailer);
      return ReadRecordAfterHeader();
    case Phase::AfterTrailer:
      return ReadRest();
    case Phase::Ended:
      break;
  }
  return Item::End;
}

// Copies one part of the current record; false when the file has ended before
// it. A part cut short is a record cut short.
bool detail::DtausReaderState::TakePart(std::size_t part, bool recordStart) {
  partOffsets[part] = source.Offset();
  const std::string_view bytes = source.Take(kPartLength);
  if (bytes.empty() && recordStart) return false;
  if (bytes.size() < kPartLength) {
    if (stream.bad()) {
      Fail(DtausFault::Unreadable, {recordNumber, source.Offset()}, _MsgReadUnreadable);
    }
    const DtausPlace start{recordNumber, partOffsets[0]};
    Fail(DtausFault::Truncated, start,
         Fill(_MsgReadCutShort, {std::to_string(part * kPartLength + bytes.size())}));
  }
  std::memcpy(record.data() + part * kPartLength, bytes.data(), kPartLength);
  return true;
}

void detail::DtausReaderState::Truncated(const std::string& what) {
  if (stream.bad()) {
    Fail(DtausFault::Unreadable, {recordNumber, source.Offset()}, _MsgReadUnreadable);
  }
  Fail(DtausFault::Truncated, {recordNumber, source.Offset()}, what);
}

// Records follow each other without separators; a line break between parts is
// the mark of a file that went through a text editor or a text transfer.
void detail::DtausReaderState::SkipLineBreaks(std::size_t recordOfBreak) {
  int next = source.Peek();
  if (next != '\r' && next != '\n') return;
  const DtausPlace place{recordOfBreak, source.Offset()};
  if (!options.tolerant) {
    Fail(DtausFault::LineBreaks, place, _MsgReadLineBreaks);
  }
  while (next == '\r' || next == '\n') {
    source.Take(1);
    next = source.Peek();
  }
  Note(NoteKind::LineBreak, place, _MsgReadLineBreakSkipped);
}

void detail::DtausReaderState::NotDigits(std::size_t part, const Field& f, const char* name) const {
  Fail(DtausFault::Structure, PlaceOf(part, f),
       Fill(_MsgReadNotDigits, {name, Positions(part, f), ShownBytes(At(part, f))}));
}

// Fields that many programs leave blank when they do not use them.
std::int64_t detail::DtausReaderState::DigitsOrBlank(std::size_t part, const Field& f,
                                                     const char* name) const {
  std::int64_t value = 0;
  if (ParseDigits(At(part, f), value)) return value;
  if (AllBlank(At(part, f))) return 0;
  NotDigits(part, f, name);
}

void detail::DtausReaderState::Text(std::size_t part, const Field& f, const char* name,
                                    std::string& utf8) {
  const dtaus::TextReading reading = dtaus::ReadTextField(At(part, f), utf8);
  if (reading.deviation == dtaus::TextDeviation::None) return;
  DtausPlace place = PlaceOf(part, f);
  place.offset += reading.at;
  const std::string what =
      Fill(_MsgReadTextDeviation, {name, Positions(part, f),
                                   ShownBytes(std::string_view(At(part, f).data() + reading.at, 1)),
                                   dtaus::DeviationName(reading.deviation)});
  if (reading.deviation == dtaus::TextDeviation::Refused) {
    Fail(DtausFault::Structure, place, Fill(_MsgReadTextRefused, {what}));
  }
  if (!options.tolerant) Fail(DtausFault::Text, place, what);
  Note(NoteKind::Text, place, Fill(_MsgReadTextReadAs, {what, utf8}));
}

std::chrono::year_month_day detail::DtausReaderState::Date(std::size_t part, const Field& f,
                                                           const char* name,
                                                           bool twoDigitYear) const {
  const std::string_view text = At(part, f);
  Digits(part, f, name);
  const int day = static_cast<int>(DigitsValue(text.substr(0, 2)));
  const int month = static_cast<int>(DigitsValue(text.substr(2, 2)));
  int year = static_cast<int>(DigitsValue(text.substr(4)));
  if (twoDigitYear) {
    int thisYear = 0, thisMonth = 0, thisDay = 0;
    DecodeDate(zor::Date(), thisYear, thisMonth, thisDay);
    year = detail::FullYear(year, thisYear);
  }
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) {
    Fail(DtausFault::Structure, PlaceOf(part, f),
         Fill(_MsgReadNoDate, {name, Positions(part, f), ShownBytes(text)}));
  }
  return date;
}

void detail::DtausReaderState::Note(NoteKind kind, DtausPlace place, std::string text) {
  if (++notesOfKind[static_cast<std::size_t>(kind)] > kNotesOfAKind) return;
  notes.push_back({place, std::move(text)});
}

// Of notes of one kind beyond the first few, one more note tells how many.
void detail::DtausReaderState::CountedNotes() {
  for (std::size_t kind = 0; kind < notesOfKind.size(); ++kind) {
    if (notesOfKind[kind] <= kNotesOfAKind) continue;
    notes.push_back({{recordNumber, source.Offset()},
                     Fill(_MsgReadMoreNotes, {std::to_string(notesOfKind[kind] - kNotesOfAKind)})});
    notesOfKind[kind] = 0;
  }
}

DtausReader::Item detail::DtausReaderState::ReadHeader() {
  ++recordNumber;
  TakePart(0, true);
  const dtaus::ALayout& a = dtaus::kA;
  const std::string_view head = At(0, Joined(a.recordLength, a.recordType));
  if (head != dtaus::kAHeader) {
    Fail(DtausFault::Structure, PlaceOf(0, a.recordLength),
         Fill(_MsgReadNoHeader, {ShownBytes(head)}));
  }
  header = DtausHeader{};
  header.place = PlaceOf(0, a.recordLength);
  header.logicalFile = ++logicalFiles;
  const std::string_view kind = At(0, a.kind);
  if (kind != "GK" && kind != dtaus::kDebitFileKind) {
    Fail(DtausFault::Structure, PlaceOf(0, a.kind),
         Fill(_MsgReadFileKind, {Positions(0, a.kind), ShownBytes(kind)}));
  }
  header.lastschriften = kind == dtaus::kDebitFileKind;
  header.auftraggeber.blz = Digits(0, a.blz, "Bankleitzahl des Auftraggebers");
  DigitsOrBlank(0, a.senderBLZ, "Bankleitzahl der absendenden Bank");
  Text(0, a.name, "Name des Auftraggebers", header.auftraggeber.name);
  header.dateidatum = Date(0, a.fileDate, "Dateidatum", true);
  const std::string_view nummer = At(0, a.diskettenNummer);
  header.diskettennummer = std::string(nummer.substr(0, nummer.find_last_not_of(' ') + 1));
  header.auftraggeber.konto = Digits(0, a.konto, "Kontonummer des Auftraggebers");
  header.referenz = DigitsOrBlank(0, a.reference, "Referenznummer");
  if (!AllBlank(At(0, a.ausfuehrungsdatum))) {
    header.ausfuehrungsdatum = Date(0, a.ausfuehrungsdatum, "Ausführungsdatum", false);
  }
  currencyMarker = At(0, a.currency)[0];
  if (currencyMarker != kEuroMarker && currencyMarker != kDmMarker) {
    Fail(DtausFault::Structure, PlaceOf(0, a.currency),
         Fill(_MsgReadHeaderCurrency, {Positions(0, a.currency), ShownBytes(At(0, a.currency))}));
  }
  header.waehrung = currencyMarker == kEuroMarker ? DtausCurrency::Euro : DtausCurrency::DM;

  countedKonto = countedBLZ = countedCent = countedPfennig = 0;
  countedPayments = 0;
  phase = Phase::InFile;
  return Item::Header;
}

DtausReader::Item detail::DtausReaderState::ReadRecordAfterHeader() {
  const std::string_view length = At(0, dtaus::kC1.recordLength);
  const char type = At(0, dtaus::kC1.recordType)[0];
  const DtausPlace start = PlaceOf(0, dtaus::kC1.recordLength);
  if (type == 'C') return ReadPayment();
  if (type == 'E') {
    if (length == dtaus::kEHeader.substr(0, 4)) return ReadTrailer();
    Fail(DtausFault::Structure, start, Fill(_MsgReadDamagedTrailer, {ShownBytes(length)}));
  }
  if (type == 'A') {
    Fail(DtausFault::Structure, start, _MsgReadHeaderTooEarly);
  }
  Fail(DtausFault::Structure, start,
       Fill(_MsgReadRecordType, {ShownBytes(std::string_view(&type, 1))}));
}

// The first part names the record's length, the second the count of
// extensions, which the length must match; the count says how many parts follow.
std::size_t detail::DtausReaderState::TakePaymentParts() {
  const dtaus::C1Layout& c1 = dtaus::kC1;
  const dtaus::C2Layout& c2 = dtaus::kC2;
  const std::string_view length = At(0, c1.recordLength);
  if (!AllDigits(length)) {
    Fail(DtausFault::Structure, PlaceOf(0, c1.recordLength),
         Fill(_MsgReadLengthNoNumber, {ShownBytes(length)}));
  }
  SkipLineBreaks(recordNumber);
  TakePart(1, false);
  const std::int64_t extensions = Digits(1, c2.extensionCount, "Anzahl der Erweiterungsteile");
  if (extensions > dtaus::kMaxExtensions) {
    Fail(DtausFault::Structure, PlaceOf(1, c2.extensionCount),
         Fill(_MsgReadTooManyExtensions,
              {Positions(1, c2.extensionCount), std::to_string(extensions),
               std::to_string(dtaus::kMaxExtensions)}));
  }
  const auto n = static_cast<std::size_t>(extensions);
  if (static_cast<std::size_t>(DigitsValue(length)) != dtaus::CRecordLength(n)) {
    Fail(DtausFault::Structure, PlaceOf(0, c1.recordLength),
         Fill(_MsgReadLengthMismatch,
              {ShownBytes(length), std::to_string(n), std::to_string(dtaus::CRecordLength(n))}));
  }
  const std::size_t parts = dtaus::CRecordParts(n);
  for (std::size_t part = 2; part < parts; ++part) {
    SkipLineBreaks(recordNumber);
    TakePart(part, false);
  }
  return n;
}

// The key must exist and be of the kind the A record names for the file.
void detail::DtausReaderState::ReadKey(DtausPayment& p) {
  const dtaus::C1Layout& c1 = dtaus::kC1;
  const std::string_view key = At(0, c1.key);
  Digits(0, Joined(c1.key, c1.keyExtension), "Zahlungsschlüssel");
  const DtausKey* known = FindDtausKey(key);
  if (known == nullptr) {
    Fail(DtausFault::Structure, PlaceOf(0, c1.key),
         Fill(_MsgReadUnknownKey, {ShownBytes(key), Positions(0, c1.key),
                                   DtausKeyCodes(true, " und "), DtausKeyCodes(false, " und ")}));
  }
  const bool debitKey = IsDebit(known->kind);
  if (debitKey != header.lastschriften) {
    Fail(DtausFault::Structure, PlaceOf(0, c1.key),
         Fill(_MsgReadKeyOfOtherKind,
              {key, debitKey ? _MsgReadDebitKey : _MsgReadCreditKey,
               header.lastschriften ? _MsgReadDebitFile : _MsgReadCreditFile}));
  }
  p.zahlungsschluessel = At(0, Joined(c1.key, c1.keyExtension));
}

// The amount stands in the field of the file's currency; the other one is empty.
void detail::DtausReaderState::ReadAmount(DtausPayment& p, bool euro) {
  const dtaus::C1Layout& c1 = dtaus::kC1;
  const std::int64_t dm = DigitsOrBlank(0, c1.formerAmount, "Betrag in DM");
  const std::int64_t cent = DigitsOrBlank(0, c1.betragCent, "Betrag in Euro");
  if (euro && dm != 0) {
    Fail(DtausFault::Structure, PlaceOf(0, c1.formerAmount),
         Fill(_MsgReadDmInEuroFile,
              {Positions(0, c1.formerAmount), ShownBytes(At(0, c1.formerAmount))}));
  }
  if (!euro && cent != 0) {
    Fail(DtausFault::Structure, PlaceOf(0, c1.betragCent),
         Fill(_MsgReadEuroInDmFile,
              {Positions(0, c1.betragCent), ShownBytes(At(0, c1.betragCent))}));
  }
  if (euro) Digits(0, c1.betragCent, "Betrag in Euro");
  if (!euro) Digits(0, c1.formerAmount, "Betrag in DM");
  p.betrag = euro ? cent : dm;
}

// Purpose lines: the record's own field, then the extensions in order.
void detail::DtausReaderState::ReadExtensions(DtausPayment& p, std::size_t n) {
  std::vector<std::string>& lines = p.verwendungszweck;
  Spare(lines);
  Spare(p.namenszusatz);
  Spare(p.auftraggeberzusatz);
  Text(1, dtaus::kC2.purpose1, "Verwendungszweck", NewLine(lines));
  bool purposeExtension = false;
  const std::size_t slots =
      dtaus::kSecondPartSlots + (dtaus::CRecordParts(n) - 2) * dtaus::kFurtherPartSlots;
  for (std::size_t slot = 0; slot < slots; ++slot) {
    const bool inSecond = slot < dtaus::kSecondPartSlots;
    const std::size_t further = slot - dtaus::kSecondPartSlots;
    const std::size_t part = inSecond ? 1 : 2 + further / dtaus::kFurtherPartSlots;
    const dtaus::SlotLayout& s = inSecond
                                     ? dtaus::kC2.slots[slot]
                                     : dtaus::kCFurther.slots[further % dtaus::kFurtherPartSlots];
    if (slot >= n) {
      UnusedSlot(slot, n, part, s);
      continue;
    }
    std::vector<std::string>& into = SlotLines(p, slot, part, s);
    purposeExtension = purposeExtension || &into == &lines;
    Text(part, s.text, "Erweiterungsteil", NewLine(into));
  }
  // A blank purpose field is a line only when lines follow it.
  if (lines[0].empty() && !purposeExtension) Spare(lines);
}

// Beyond the count nothing may stand: it would be lost to every reader.
void detail::DtausReaderState::UnusedSlot(std::size_t slot, std::size_t n, std::size_t part,
                                          const dtaus::SlotLayout& s) const {
  if (AllBlank(At(part, s.type)) && AllBlank(At(part, s.text))) return;
  Fail(DtausFault::Structure, PlaceOf(part, s.type),
       Fill(_MsgReadUnusedExtension,
            {std::to_string(slot + 1), Positions(part, s.type), std::to_string(n)}));
}

// The list an extension's type sends its text to.
std::vector<std::string>& detail::DtausReaderState::SlotLines(DtausPayment& p, std::size_t slot,
                                                              std::size_t part,
                                                              const dtaus::SlotLayout& s) const {
  const std::string_view type = At(part, s.type);
  if (type == "01") return p.namenszusatz;
  if (type == dtaus::kPurposeSlotType) return p.verwendungszweck;
  if (type == "03") return p.auftraggeberzusatz;
  Fail(DtausFault::Structure, PlaceOf(part, s.type),
       Fill(_MsgReadExtensionType,
            {std::to_string(slot + 1), Positions(part, s.type), ShownBytes(type)}));
}

DtausReader::Item detail::DtausReaderState::ReadPayment() {
  const dtaus::C1Layout& c1 = dtaus::kC1;
  const dtaus::C2Layout& c2 = dtaus::kC2;
  const std::size_t n = TakePaymentParts();

  DtausPayment& p = payment;
  p.place = PlaceOf(0, c1.recordLength);
  DigitsOrBlank(0, c1.firstBLZ, "Bankleitzahl des erstbeteiligten Instituts");
  p.blz = Digits(0, c1.blz, "Bankleitzahl");
  p.konto = Digits(0, c1.konto, "Kontonummer");
  p.kundennummer = DigitsOrBlank(0, c1.customerNumber, "Interne Kundennummer");
  ReadKey(p);
  const bool euro = header.waehrung == DtausCurrency::Euro;
  ReadAmount(p, euro);
  p.auftraggeber.blz = Digits(0, c1.clientBLZ, "Bankleitzahl des Auftraggebers");
  p.auftraggeber.konto = Digits(0, c1.clientKonto, "Kontonummer des Auftraggebers");
  Text(0, c1.name, "Name", p.name);
  Text(1, c2.clientName, "Name des Auftraggebers", p.auftraggeber.name);
  if (At(1, c2.currency)[0] != currencyMarker) {
    Fail(DtausFault::Structure, PlaceOf(1, c2.currency),
         Fill(_MsgReadPaymentCurrency, {Positions(1, c2.currency), ShownBytes(At(1, c2.currency)),
                                        CurrencyName(header.waehrung)}));
  }
  ReadExtensions(p, n);

  ++countedPayments;
  countedKonto += static_cast<std::uint64_t>(p.konto);
  countedBLZ += static_cast<std::uint64_t>(p.blz);
  (euro ? countedCent : countedPfennig) += static_cast<std::uint64_t>(p.betrag);
  return Item::Payment;
}

DtausReader::Item detail::DtausReaderState::ReadTrailer() {
  const dtaus::ELayout& e = dtaus::kE;
  trailer.place = PlaceOf(0, e.recordLength);
  DtausControlFigures& stated = trailer.stated;
  stated.anzahl = Digits(0, e.count, "Anzahl der Datensätze C");
  stated.kontonummern = Digits(0, e.kontoSum, "Summe der Kontonummern");
  stated.bankleitzahlen = Digits(0, e.blzSum, "Summe der Bankleitzahlen");
  stated.cent = DigitsOrBlank(0, e.centSum, "Summe der Beträge in Euro");
  stated.pfennig = DigitsOrBlank(0, e.formerAmountSum, "Summe der Beträge in DM");
  if (header.waehrung == DtausCurrency::Euro) Digits(0, e.centSum, "Summe der Beträge in Euro");
  if (header.waehrung == DtausCurrency::DM) Digits(0, e.formerAmountSum, "Summe der Beträge in DM");

  trailer.counted = {countedPayments, static_cast<std::int64_t>(countedKonto),
                     static_cast<std::int64_t>(countedBLZ), static_cast<std::int64_t>(countedCent),
                     static_cast<std::int64_t>(countedPfennig)};
  DtausControlFigures compared = trailer.counted;
  if (!options.checkSums) {
    // Only the count: the sums stand as stated.
    compared = stated;
    compared.anzahl = trailer.counted.anzahl;
  }
  std::vector<std::string> differences = DtausFigureDifferences(stated, compared);
  if (!differences.empty()) {
    std::string text = _MsgReadFiguresDiffer;
    for (const std::string& d : differences) text += " " + d;
    throw DtausReadError(DtausFault::ControlFigures, trailer.place, text, std::move(differences));
  }
  phase = Phase::AfterTrailer;
  return Item::Trailer;
}

// After an E record: the next logical file, or the end. DOS programs padded
// files with Ctrl-Z, NUL bytes or blanks; anything else belongs to no record.
DtausReader::Item detail::DtausReaderState::ReadRest() {
  SkipLineBreaks(recordNumber + 1);
  const std::uint64_t restStart = source.Offset();
  if (source.Peek() < 0) {
    phase = Phase::Ended;
    CountedNotes();
    return Item::End;
  }
  if (source.Look(dtaus::kAHeader.size()) == dtaus::kAHeader) {
    phase = Phase::InFile;
    return ReadHeader();
  }
  std::uint64_t padding = 0;
  for (;;) {
    const int next = source.Peek();
    if (next < 0) break;
    const bool tolerated = next == 0x1A || next == 0 || next == ' ' ||
                           (options.tolerant && (next == '\r' || next == '\n'));
    if (!tolerated) {
      const DtausPlace place{recordNumber + 1, source.Offset()};
      Fail(DtausFault::TrailingBytes, place,
           Fill(_MsgReadTrailingBytes, {ShownBytes(source.Take(1))}));
    }
    source.Take(1);
    ++padding;
  }
  if (stream.bad()) {
    Fail(DtausFault::Unreadable, {recordNumber + 1, source.Offset()}, _MsgReadUnreadable);
  }
  Note(NoteKind::Trailing, {recordNumber + 1, restStart},
       Fill(_MsgReadPadding, {std::to_string(padding)}));
  phase = Phase::Ended;
  CountedNotes();
  return Item::End;
}

}  // namespace zor
