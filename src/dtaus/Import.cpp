// Reading DTAUS files back. Every read is a fixed-width field from DTAFile;
// past the end a field reads as blanks, so a truncated file always ends in a
// message, never in a hang.
#include <memory>
#include <string_view>

#include "core/TwoDigitYear.h"
#include "core/ZorDTAMessages.h"
#include "dtaus/FieldReader.h"
#include "dtaus/Layout.h"
#include "dtaus/Repertoire.h"
#include "host/TextConversion.h"
#include "host/TextTemplates.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace zor {

namespace msg = detail::msg;
namespace dtaus = detail::dtaus;

namespace {

// An A record, a C record without extensions at its logical length and an E record.
constexpr std::size_t kShortestFile =
    dtaus::kPartLength + dtaus::CRecordLength(0) + dtaus::kPartLength;

// Full further parts that a record within the format's extensions may have.
constexpr std::size_t kFullFurtherParts =
    (dtaus::kMaxExtensions - dtaus::kSecondPartSlots) / dtaus::kFurtherPartSlots;

// The full further parts that follow the second part of a C record announcing
// that many extensions: the count alone decides, and a count beyond the
// format's reads no more of them (of a sixth part, only its first slot counts).
std::size_t FullFurtherParts(std::int64_t extensions) {
  std::size_t parts = 0;
  while (parts < kFullFurtherParts &&
         extensions > static_cast<std::int64_t>(dtaus::kSecondPartSlots +
                                                parts * dtaus::kFurtherPartSlots)) {
    ++parts;
  }
  return parts;
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
  bool CRecord(std::string_view first);
  bool Number(std::string_view field, const char* message, std::int64_t& value);
  void ExtensionSlot(std::string_view part, const dtaus::SlotLayout& slot);
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

// Every read is a whole record part; a part's view lasts until the next read, so
// each part is done with before the next one is read.
void DTAUSImporter::Run() {
  const std::string_view a = fReader.Field(dtaus::kPartLength);
  if (At(a, Joined(dtaus::kA.recordLength, dtaus::kA.recordType)) != dtaus::kAHeader) {
    fDta.Error(StringFromUtf8(msg::_MsgErrorFormat));
    return;
  }
  fDta.SetLastschriften(At(a, dtaus::kA.kind) == dtaus::kDebitFileKind);
  std::int64_t number = 0;
  if (!Number(At(a, dtaus::kA.blz), msg::_MsgErrorBankleitzahl, number)) return;
  fDta.fAuftraggeberBLZ = static_cast<std::int32_t>(number);  // the low 32 bits, as the field holds
  fDta.fAuftraggeberName = DecodedText(At(a, dtaus::kA.name));
  fDta.setDiskettenErstellDatum(fDta.DecodeDTADate(AnsiString(At(a, dtaus::kA.fileDate))));
  if (!Number(At(a, dtaus::kA.konto), msg::_MsgErrorKontonummer, number)) return;
  fDta.fAuftraggeberKontoNr = number;
  fDta.fAusfuehrungsdatum = fDta.DecodeDTADate(AnsiString(At(a, dtaus::kA.ausfuehrungsdatum)));

  std::string_view part = fReader.Field(dtaus::kPartLength);
  for (;;) {
    if (At(part, dtaus::kC1.recordType) != "C") {
      fDta.Error(StringFromUtf8(msg::_MsgErrorDatensatzC));
      return;
    }
    if (!CRecord(part)) return;
    part = fReader.Field(dtaus::kPartLength);
    if (At(part, dtaus::kE.recordType) == "E") return;
  }
}

// Reads the rest of one C record after its first part and reports it; false
// when a report ended the import.
bool DTAUSImporter::CRecord(std::string_view first) {
  std::int64_t blz = 0, konto = 0, clientBLZ = 0, clientKonto = 0, cent = 0;
  bool abbuchungsauftrag = false;
  AnsiString customKey;

  if (!Number(At(first, dtaus::kC1.blz), msg::_MsgErrorBankleitzahl, blz)) return false;
  if (!Number(At(first, dtaus::kC1.konto), msg::_MsgErrorKontonummer, konto)) return false;
  const std::string_view key = At(first, dtaus::kC1.key);
  if (key == "04") {
    abbuchungsauftrag = true;
  } else if (key == "53" || key == "54") {
    customKey = At(first, Joined(dtaus::kC1.key, dtaus::kC1.keyExtension));
  }
  if (!Number(At(first, dtaus::kC1.clientBLZ), msg::_MsgErrorBankleitzahl, clientBLZ)) return false;
  if (!Number(At(first, dtaus::kC1.clientKonto), msg::_MsgErrorKontonummer, clientKonto)) {
    return false;
  }
  if (!Number(At(first, dtaus::kC1.betragCent), msg::_MsgErrorBetrag, cent)) return false;
  const double betrag = static_cast<double>(cent) / 100;
  DecodeText(At(first, dtaus::kC1.name), fName);

  const std::string_view second = fReader.Field(dtaus::kPartLength);
  DecodeText(At(second, dtaus::kC2.clientName), fClientName);
  TStrings& vwz = fLines;
  vwz.Clear();
  AddLine(At(second, dtaus::kC2.purpose1));
  std::int64_t extensions = 0;
  if (!Number(At(second, dtaus::kC2.extensionCount), msg::_MsgErrorErweiterungen, extensions)) {
    return false;
  }
  for (const dtaus::SlotLayout& slot : dtaus::kC2.slots) ExtensionSlot(second, slot);

  for (std::size_t part = FullFurtherParts(extensions); part > 0; --part) {
    const std::string_view further = fReader.Field(dtaus::kPartLength);
    for (const dtaus::SlotLayout& slot : dtaus::kCFurther.slots) ExtensionSlot(further, slot);
  }
  if (extensions == dtaus::kMaxExtensions) {
    ExtensionSlot(fReader.Field(dtaus::kPartLength), dtaus::kCFurther.slots[0]);
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
bool DTAUSImporter::Number(std::string_view field, const char* message, std::int64_t& value) {
  if (TryStrToInt64(field, value)) return true;
  fDta.Error(StringFromUtf8(message));
  return false;
}

void DTAUSImporter::ExtensionSlot(std::string_view part, const dtaus::SlotLayout& slot) {
  if (At(part, slot.type) == dtaus::kPurposeSlotType) AddLine(At(part, slot.text));
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
    year = detail::FullYear(year, thisYear);
  }
  // Numbers that are no calendar date raise the conversion error, not a report.
  return EncodeDate(year, month, day);
}

AnsiString TZorDTA::DeleteLeadingChar(const AnsiString& S, char C) {
  const std::size_t first = S.find_first_not_of(C);
  return first == AnsiString::npos ? AnsiString() : S.substr(first);
}

}  // namespace zor
