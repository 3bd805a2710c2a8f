// Reading DTAUS files back. Every read is a fixed-width field from DTAFile;
// past the end a field reads as blanks, so a truncated file always ends in a
// message, never in a hang.
#include <memory>
#include <string_view>

#include "core/ZorDTAMessages.h"
#include "dtaus/FieldReader.h"
#include "dtaus/Repertoire.h"
#include "host/TextConversion.h"
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

namespace detail {

// One C record's texts, kept from record to record so that their storage is reused.
struct ImportRecord {
  AnsiString name;
  AnsiString clientName;
  AnsiString line;
  String lineText;
  TStringList lines;
};

}  // namespace detail

namespace {

// What Trim leaves of a field: no control characters or blanks at either end.
std::string_view Trimmed(std::string_view field) {
  while (!field.empty() && static_cast<unsigned char>(field.front()) <= 0x20) {
    field.remove_prefix(1);
  }
  while (!field.empty() && static_cast<unsigned char>(field.back()) <= 0x20) {
    field.remove_suffix(1);
  }
  return field;
}

void DecodeText(std::string_view field, AnsiString& text) {
  detail::dtaus::DecodeChars(Trimmed(field), text);
}

AnsiString DecodedText(std::string_view field) {
  AnsiString text;
  DecodeText(field, text);
  return text;
}

// A purpose line joins the record's lines unless it is blank.
void AddLine(detail::ImportRecord& record, std::string_view field) {
  DecodeText(field, record.line);
  if (record.line.empty()) return;
  detail::AssignString(record.lineText, record.line);
  record.lines.Add(record.lineText);
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
  struct Release {
    TStream*& stream;
    ~Release() { stream = nullptr; }
  } release{DTAFile};
  DTAFile = file.get();
  detail::FieldReader reader(*file);
  ImportFromStream(reader);
}

void TZorDTA::ImportFromString(const AnsiString& content) {
  if (content.size() < kShortestFile) {
    Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  detail::FieldReader reader(content);
  ImportFromStream(reader);
}

void TZorDTA::ImportFromStream(detail::FieldReader& reader) {
  if (reader.Field(5) != "0128A") {
    Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  SetLastschriften(reader.Field(2) == "LK");
  std::int64_t number = 0;
  if (!ReadNumberField(reader, 8, msg::_MsgErrorBankleitzahl, number)) return;
  fAuftraggeberBLZ = static_cast<std::int32_t>(number);  // the low 32 bits, as the field holds
  reader.Skip(8);
  fAuftraggeberName = DecodedText(reader.Field(27));
  setDiskettenErstellDatum(DecodeDTADate(AnsiString(reader.Field(6))));
  reader.Skip(4);
  if (!ReadNumberField(reader, 10, msg::_MsgErrorKontonummer, number)) return;
  fAuftraggeberKontoNr = number;
  reader.Skip(25);
  fAusfuehrungsdatum = DecodeDTADate(AnsiString(reader.Field(8)));
  reader.Skip(25);

  // One record's texts and lines, reused from record to record.
  detail::ImportRecord record;
  char kind = reader.Field(5)[4];
  for (;;) {
    if (kind != 'C') {
      Error(StringFromUtf8(msg::_MsgErrorDatensatzC));
      return;
    }
    if (!ImportCRecord(reader, record)) return;
    kind = reader.Field(5)[4];
    if (kind == 'E') return;
  }
}

// Reads the rest of one C record after its header and reports it; false when a
// report ended the import.
bool TZorDTA::ImportCRecord(detail::FieldReader& reader, detail::ImportRecord& record) {
  std::int64_t blz = 0, konto = 0, clientBLZ = 0, clientKonto = 0, cent = 0;
  bool abbuchungsauftrag = false;
  AnsiString customKey;

  reader.Skip(8);
  if (!ReadNumberField(reader, 8, msg::_MsgErrorBankleitzahl, blz)) return false;
  if (!ReadNumberField(reader, 10, msg::_MsgErrorKontonummer, konto)) return false;
  reader.Skip(13);
  const std::string_view keyAndExtension = reader.Field(5);
  const std::string_view key = keyAndExtension.substr(0, 2);
  if (key == "04") {
    abbuchungsauftrag = true;
  } else if (key == "53" || key == "54") {
    customKey = keyAndExtension;
  }
  reader.Skip(12);
  if (!ReadNumberField(reader, 8, msg::_MsgErrorBankleitzahl, clientBLZ)) return false;
  if (!ReadNumberField(reader, 10, msg::_MsgErrorKontonummer, clientKonto)) return false;
  if (!ReadNumberField(reader, 11, msg::_MsgErrorBetrag, cent)) return false;
  const double betrag = static_cast<double>(cent) / 100;
  reader.Skip(3);
  DecodeText(reader.Field(27), record.name);
  reader.Skip(8);

  DecodeText(reader.Field(27), record.clientName);
  TStrings& vwz = record.lines;
  vwz.Clear();
  AddLine(record, reader.Field(27));
  reader.Skip(3);
  std::int64_t extensions = 0;
  if (!ReadNumberField(reader, 2, msg::_MsgErrorErweiterungen, extensions)) return false;
  ReadExtensionSlot(reader, record);
  ReadExtensionSlot(reader, record);
  reader.Skip(11);

  // The count alone decides how many parts follow; a count beyond 15 reads five
  // parts in all, as the format knows no more.
  for (const std::int64_t after : {kThirdPartAfter, kFourthPartAfter, kFifthPartAfter}) {
    if (extensions <= after) break;
    for (int slot = 0; slot < 4; ++slot) ReadExtensionSlot(reader, record);
    reader.Skip(12);
  }
  if (extensions == kSixthPartSlots) {
    ReadExtensionSlot(reader, record);
    reader.Skip(99);
  }

  if (fOnDTAImport) {
    fOnDTAImport(record.name, konto, blz, betrag, vwz, abbuchungsauftrag, customKey);
  }
  if (FOnExtendedDTAImport) {
    FOnExtendedDTAImport(record.name, konto, blz, betrag, record.clientName, clientKonto, clientBLZ,
                         vwz, abbuchungsauftrag, customKey);
  }
  return true;
}

// A number field as read, untrimmed: leading blanks and a sign, then digits.
bool TZorDTA::ReadNumberField(detail::FieldReader& reader, std::size_t width, const char* message,
                              std::int64_t& value) {
  if (TryStrToInt64(reader.Field(width), value)) return true;
  Error(StringFromUtf8(message));
  return false;
}

void TZorDTA::ReadExtensionSlot(detail::FieldReader& reader, detail::ImportRecord& record) {
  const bool isPurpose = reader.Field(2) == "02";
  if (isPurpose) {
    AddLine(record, reader.Field(27));
  } else {
    reader.Skip(27);
  }
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
