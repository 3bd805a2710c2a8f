// Reading DTAUS files back. Every read is a fixed-width field from DTAFile;
// past the end a field reads as blanks, so a truncated file always ends in a
// message, never in a hang.
#include <memory>
#include <string_view>

#include "core/ZorDTAMessages.h"
#include "dtaus/FieldReader.h"
#include "dtaus/Repertoire.h"
#include "host/TextConversion.h"
#include "host/TextTemplates.h"
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

namespace {

void DecodeText(std::string_view field, AnsiString& text) {
  detail::dtaus::DecodeChars(detail::Trimmed(field), text);
}

AnsiString DecodedText(std::string_view field) {
  AnsiString text;
  DecodeText(field, text);
  return text;
}

}  // namespace

namespace detail {

// Reads the records off a field reader and reports them through the component's
// events and messages.
class DTAUSImporter {
 public:
  DTAUSImporter(TZorDTA& dta, FieldReader& reader) : fDta(dta), fReader(reader) {}
  void Run();

 private:
  bool CRecord();
  bool Number(std::size_t width, const char* message, std::int64_t& value);
  void ExtensionSlot();
  void AddLine(std::string_view field);

  TZorDTA& fDta;
  FieldReader& fReader;
  // One record's texts, kept from record to record so that their storage is reused.
  AnsiString fName;
  AnsiString fClientName;
  AnsiString fLine;
  String fLineText;
  TStringList fLines;
};

}  // namespace detail

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
  detail::DTAUSImporter(*this, reader).Run();
}

void TZorDTA::ImportFromString(const AnsiString& content) {
  if (content.size() < kShortestFile) {
    Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  detail::FieldReader reader(content);
  detail::DTAUSImporter(*this, reader).Run();
}

namespace detail {

void DTAUSImporter::Run() {
  if (fReader.Field(5) != "0128A") {
    fDta.Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  fDta.SetLastschriften(fReader.Field(2) == "LK");
  std::int64_t number = 0;
  if (!Number(8, msg::_MsgErrorBankleitzahl, number)) return;
  fDta.fAuftraggeberBLZ = static_cast<std::int32_t>(number);  // the low 32 bits, as the field holds
  fReader.Skip(8);
  fDta.fAuftraggeberName = DecodedText(fReader.Field(27));
  fDta.setDiskettenErstellDatum(fDta.DecodeDTADate(AnsiString(fReader.Field(6))));
  fReader.Skip(4);
  if (!Number(10, msg::_MsgErrorKontonummer, number)) return;
  fDta.fAuftraggeberKontoNr = number;
  fReader.Skip(25);
  fDta.fAusfuehrungsdatum = fDta.DecodeDTADate(AnsiString(fReader.Field(8)));
  fReader.Skip(25);

  char kind = fReader.Field(5)[4];
  for (;;) {
    if (kind != 'C') {
      fDta.Error(StringFromUtf8(msg::_MsgErrorDatensatzC));
      return;
    }
    if (!CRecord()) return;
    kind = fReader.Field(5)[4];
    if (kind == 'E') return;
  }
}

// Reads the rest of one C record after its header and reports it; false when a
// report ended the import.
bool DTAUSImporter::CRecord() {
  std::int64_t blz = 0, konto = 0, clientBLZ = 0, clientKonto = 0, cent = 0;
  bool abbuchungsauftrag = false;
  AnsiString customKey;

  fReader.Skip(8);
  if (!Number(8, msg::_MsgErrorBankleitzahl, blz)) return false;
  if (!Number(10, msg::_MsgErrorKontonummer, konto)) return false;
  fReader.Skip(13);
  const std::string_view keyAndExtension = fReader.Field(5);
  const std::string_view key = keyAndExtension.substr(0, 2);
  if (key == "04") {
    abbuchungsauftrag = true;
  } else if (key == "53" || key == "54") {
    customKey = keyAndExtension;
  }
  fReader.Skip(12);
  if (!Number(8, msg::_MsgErrorBankleitzahl, clientBLZ)) return false;
  if (!Number(10, msg::_MsgErrorKontonummer, clientKonto)) return false;
  if (!Number(11, msg::_MsgErrorBetrag, cent)) return false;
  const double betrag = static_cast<double>(cent) / 100;
  fReader.Skip(3);
  DecodeText(fReader.Field(27), fName);
  fReader.Skip(8);

  DecodeText(fReader.Field(27), fClientName);
  TStrings& vwz = fLines;
  vwz.Clear();
  AddLine(fReader.Field(27));
  fReader.Skip(3);
  std::int64_t extensions = 0;
  if (!Number(2, msg::_MsgErrorErweiterungen, extensions)) return false;
  ExtensionSlot();
  ExtensionSlot();
  fReader.Skip(11);

  // The count alone decides how many parts follow; a count beyond 15 reads five
  // parts in all, as the format knows no more.
  for (const std::int64_t after : {kThirdPartAfter, kFourthPartAfter, kFifthPartAfter}) {
    if (extensions <= after) break;
    for (int slot = 0; slot < 4; ++slot) ExtensionSlot();
    fReader.Skip(12);
  }
  if (extensions == kSixthPartSlots) {
    ExtensionSlot();
    fReader.Skip(99);
  }

  if (fDta.fOnDTAImport) {
    fDta.fOnDTAImport(fName, konto, blz, betrag, vwz, abbuchungsauftrag, customKey);
  }
  if (fDta.FOnExtendedDTAImport) {
    fDta.FOnExtendedDTAImport(fName, konto, blz, betrag, fClientName, clientKonto, clientBLZ, vwz,
                              abbuchungsauftrag, customKey);
  }
  return true;
}

// A number field as read, untrimmed: leading blanks and a sign, then digits.
bool DTAUSImporter::Number(std::size_t width, const char* message, std::int64_t& value) {
  if (TryStrToInt64(fReader.Field(width), value)) return true;
  fDta.Error(StringFromUtf8(message));
  return false;
}

void DTAUSImporter::ExtensionSlot() {
  const bool isPurpose = fReader.Field(2) == "02";
  if (isPurpose) {
    AddLine(fReader.Field(27));
  } else {
    fReader.Skip(27);
  }
}

// A purpose line joins the record's lines unless it is blank.
void DTAUSImporter::AddLine(std::string_view field) {
  DecodeText(field, fLine);
  if (fLine.empty()) return;
  AssignString(fLineText, fLine);
  fLines.Add(fLineText);
}

}  // namespace detail

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
