// Reading DTAUS files back. Every read is a fixed-width field from DTAFile;
// past the end a field reads as blanks, so a truncated file always ends in a
// message, never in a hang.
#include <memory>

#include "core/ZorDTAMessages.h"
#include "host/BufferedStream.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace zor {

namespace msg = detail::msg;

namespace {

// An A record, a C record of one part at its logical length and an E record.
constexpr std::size_t kShortestFile = 128 + 187 + 128;

// Extension parts a record announces beyond which slots of a further part are read.
constexpr std::int64_t kThirdPartAfter = 2;
constexpr std::int64_t kFourthPartAfter = 6;
constexpr std::int64_t kFifthPartAfter = 10;
constexpr std::int64_t kSixthPartSlots = 15;

// The year of a two-digit year piece: within the hundred years that begin fifty
// years before this year.
int FullYear(int twoDigits, int thisYear) {
  const int first = thisYear - 50;
  int year = first - first % 100 + twoDigits;
  if (year < first) year += 100;
  return year;
}

}  // namespace

void TZorDTA::ImportDTA(const TFileName& FileName) {
  if (!FileExists(FileName)) {
    Error(StringFromUtf8(msg::_MsgErrorFileNotExists));
    return;
  }
  std::unique_ptr<TStream> file;
  try {
    // Exclusive: a file that another process holds (a writer among them) is not read.
    file = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareExclusive);
  } catch (const Exception&) {
    // Whatever kept the file from opening, the caller hears the one message below.
  }
  if (!file) {
    Error(StringFromUtf8(msg::_MsgErrorFileIsInUse));
    return;
  }
  auto buffered = std::make_unique<detail::BufferedReadStream>(std::move(file));
  struct Release {
    TStream*& stream;
    ~Release() { stream = nullptr; }
  } release{DTAFile};
  DTAFile = buffered.get();
  ImportFromStream();
}

void TZorDTA::ImportFromString(const AnsiString& content) {
  if (content.size() < kShortestFile) {
    Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  TStringStream stream(content);
  struct Release {
    TStream*& stream;
    ~Release() { stream = nullptr; }
  } release{DTAFile};
  DTAFile = &stream;
  ImportFromStream();
}

void TZorDTA::ImportFromStream() {
  if (ReadString(5) != "0128A") {
    Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  SetLastschriften(ReadString(2) == "LK");
  std::int64_t number = 0;
  if (!ReadNumberField(8, msg::_MsgErrorBankleitzahl, number)) return;
  fAuftraggeberBLZ = static_cast<std::int32_t>(number);  // the low 32 bits, as the field holds
  ReadString(8);
  fAuftraggeberName = DecodeChars(Trim(ReadString(27)));
  setDiskettenErstellDatum(DecodeDTADate(ReadString(6)));
  ReadString(4);
  if (!ReadNumberField(10, msg::_MsgErrorKontonummer, number)) return;
  fAuftraggeberKontoNr = number;
  ReadString(25);
  fAusfuehrungsdatum = DecodeDTADate(ReadString(8));
  ReadString(25);

  AnsiString header = ReadString(5);
  for (;;) {
    if (header[4] != 'C') {
      Error(StringFromUtf8(msg::_MsgErrorDatensatzC));
      return;
    }
    if (!ImportCRecord()) return;
    header = ReadString(5);
    if (header[4] == 'E') return;
  }
}

// Reads the rest of one C record after its header and reports it; false when a
// report ended the import.
bool TZorDTA::ImportCRecord() {
  std::int64_t blz = 0, konto = 0, clientBLZ = 0, clientKonto = 0, cent = 0;
  bool abbuchungsauftrag = false;
  AnsiString customKey;

  ReadString(8);
  if (!ReadNumberField(8, msg::_MsgErrorBankleitzahl, blz)) return false;
  if (!ReadNumberField(10, msg::_MsgErrorKontonummer, konto)) return false;
  ReadString(13);
  const AnsiString key = ReadString(2);
  const AnsiString extension = ReadString(3);
  if (key == "04") {
    abbuchungsauftrag = true;
  } else if (key == "53" || key == "54") {
    customKey = key + extension;
  }
  ReadString(12);
  if (!ReadNumberField(8, msg::_MsgErrorBankleitzahl, clientBLZ)) return false;
  if (!ReadNumberField(10, msg::_MsgErrorKontonummer, clientKonto)) return false;
  if (!ReadNumberField(11, msg::_MsgErrorBetrag, cent)) return false;
  const double betrag = static_cast<double>(cent) / 100;
  ReadString(3);
  const AnsiString name = DecodeChars(Trim(ReadString(27)));
  ReadString(8);

  const AnsiString clientName = DecodeChars(Trim(ReadString(27)));
  TStringList vwz;
  const AnsiString firstLine = DecodeChars(Trim(ReadString(27)));
  if (!firstLine.empty()) vwz.Add(AnsiToString(firstLine));
  ReadString(3);
  std::int64_t extensions = 0;
  if (!ReadNumberField(2, msg::_MsgErrorErweiterungen, extensions)) return false;
  ReadExtensionSlot(vwz);
  ReadExtensionSlot(vwz);
  ReadString(11);

  // The count alone decides how many parts follow; a count beyond 15 reads five
  // parts in all, as the format knows no more.
  for (const std::int64_t after : {kThirdPartAfter, kFourthPartAfter, kFifthPartAfter}) {
    if (extensions <= after) break;
    for (int slot = 0; slot < 4; ++slot) ReadExtensionSlot(vwz);
    ReadString(12);
  }
  if (extensions == kSixthPartSlots) {
    ReadExtensionSlot(vwz);
    ReadString(99);
  }

  if (fOnDTAImport) fOnDTAImport(name, konto, blz, betrag, vwz, abbuchungsauftrag, customKey);
  if (FOnExtendedDTAImport) {
    FOnExtendedDTAImport(name, konto, blz, betrag, clientName, clientKonto, clientBLZ, vwz,
                         abbuchungsauftrag, customKey);
  }
  return true;
}

// A number field as read, untrimmed: leading blanks and a sign, then digits.
bool TZorDTA::ReadNumberField(std::int32_t count, const char* message, std::int64_t& value) {
  if (TryStrToInt64(ReadString(count), value)) return true;
  Error(StringFromUtf8(message));
  return false;
}

void TZorDTA::ReadExtensionSlot(TStrings& Vwz) {
  const AnsiString type = ReadString(2);
  const AnsiString text = DecodeChars(Trim(ReadString(27)));
  if (!text.empty() && type == "02") Vwz.Add(AnsiToString(text));
}

TDate TZorDTA::DecodeDTADate(const AnsiString& data) {
  const TDate today = Date();
  int pieces[3] = {0, 0, 0};  // day, month, year
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t at = 2 * i;
    if (at >= data.size()) break;
    const AnsiString piece = Trim(DeleteLeadingChar(data.substr(at, i < 2 ? 2 : 4), '0'));
    if (piece.empty()) continue;
    std::int64_t value = 0;
    if (!TryStrToInt64(piece, value) || value < INT32_MIN || value > INT32_MAX) {
      Error(StringFromUtf8(msg::_MsgErrorDatum));
      return today;
    }
    pieces[i] = static_cast<int>(value);
  }
  auto [day, month, year] = pieces;
  if (day == 0 || month == 0 || year == 0) return today;
  if (data.size() <= 6 && year > 0 && year < 100) {
    int thisYear = 0, thisMonth = 0, thisDay = 0;
    DecodeDate(today, thisYear, thisMonth, thisDay);
    year = FullYear(year, thisYear);
  }
  // Numbers that are no calendar date raise the conversion error, not a report.
  return EncodeDate(year, month, day);
}

AnsiString TZorDTA::DeleteLeadingChar(const AnsiString& S, char C) {
  const std::size_t first = S.find_first_not_of(C);
  return first == AnsiString::npos ? AnsiString() : S.substr(first);
}

}  // namespace zor
