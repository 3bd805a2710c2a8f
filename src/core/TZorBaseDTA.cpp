#include <algorithm>

#include "core/RunBuffer.h"
#include "core/ZorDTAMessages.h"
#include "host/Posix.h"
#include "zordta/Limits.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Dialogs.h"
#include "zordta/host/FileSystem.h"
#include "zordta/host/Text.h"
#include "zordta/host/Volumes.h"

namespace zor {

namespace msg = detail::msg;

namespace {

constexpr const char* kVersionSuffix = " V4.1.2";

}  // namespace

TZorBaseDTA::TZorBaseDTA(TComponent* aOwner) : TComponent(aOwner) {}

TZorBaseDTA::~TZorBaseDTA() = default;

String TZorBaseDTA::ClassName() const {
  return StringFromUtf8("TZorBaseDTA");
}

void TZorBaseDTA::SetPath(const TFileName& value) {
  if (value.empty()) return;
  fPath = value;
  if (fPath.back() != PathDelim) fPath += PathDelim;
}

void TZorBaseDTA::SetVersion(const String& /*value*/) {}

String TZorBaseDTA::GetVersion() const {
  return ClassName() + StringFromUtf8(kVersionSuffix);
}

void TZorBaseDTA::SetBounds(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}

void TZorBaseDTA::Start() {
  if (fState == stStarted || fState == stBooking) {
    Error(StringFromUtf8(msg::_MsgStarted));
    return;
  }
  fState = stStarted;
  fHeaderWritten = false;

  const TDate today = Date();
  if ((fAusfuehrungsdatum > 0 && today > fAusfuehrungsdatum) ||
      fAusfuehrungsdatum > today + limits::kExecutionWindowDays) {
    fAusfuehrungsdatum = today;
    Warning(StringFromUtf8(msg::_MsgADatum));
  }

  ValidateBLZ(fAuftraggeberBLZ);
  ValidateKontoDE(fAuftraggeberKontoNr);

  fAnzahlBuchungen = 0;
  fStream = std::make_unique<detail::RunBuffer>();
}

void TZorBaseDTA::Finish() {
  if (fState == stReady) {
    Error(StringFromUtf8(msg::_MsgReady));
    return;
  }
  // A run whose Start failed before its header was written has nothing to give
  // the bank: close it without touching the file.
  if (fHeaderWritten && fStream && !fDTAFilename.empty()) {
    detail::WriteFileAtomically(fPath + fDTAFilename, fStream->Pieces());
  }
  fState = stReady;
  fHeaderWritten = false;
}

bool TZorBaseDTA::CheckRunOpenForBooking() {
  if ((fState == stStarted || fState == stBooking) && fHeaderWritten) return true;
  Error(StringFromUtf8(msg::_MsgStartFirst));
  return false;
}

bool TZorBaseDTA::ValidateBLZ(std::int64_t aBLZ) {
  if (!FValidateData) return true;
  if (aBLZ >= limits::kMinBLZ && aBLZ <= limits::kMaxBLZ) return true;
  Error(StringFromUtf8(msg::_MsgValidateBLZ));
  return false;
}

bool TZorBaseDTA::ValidateKontoDE(std::int64_t aKonto) {
  if (!FValidateData) return true;
  if (aKonto >= limits::kMinKonto && aKonto <= limits::kMaxKonto) return true;
  Error(StringFromUtf8(msg::_MsgValidateKontoDE));
  return false;
}

void TZorBaseDTA::Error(const String& text) {
  if (fShowWarnings) {
    ShowMessageBox(text, StringFromUtf8("Fehler"));
    return;
  }
  throw Exception(text);
}

void TZorBaseDTA::Warning(const String& text) {
  if (fShowWarnings) ShowMessageBox(text, StringFromUtf8("Warnung"));
}

void TZorBaseDTA::WriteString(std::string_view s) {
  if (fStream) fStream->Append(s);
}

AnsiString TZorBaseDTA::ReadString(std::int32_t count) {
  // Past the end the buffer holds blanks, so a truncated file reads as blank
  // fields and ends in a message instead of a hang.
  DTABuffer.assign(count > 0 ? static_cast<std::size_t>(count) : 0, ' ');
  if (DTAFile && count > 0) DTAFile->Read(DTABuffer.data(), count);
  return DTABuffer;
}

AnsiString TZorBaseDTA::Spc(std::uint32_t count) {
  return AnsiString(count, ' ');
}

AnsiString TZorBaseDTA::AnsiFormat(std::string_view format, FormatArgs args) {
  return Format(format, args);
}

AnsiString TZorBaseDTA::AnsiFormatDateTime(std::string_view format, TDateTime date) {
  return FormatDateTime(format, date);
}

String TZorBaseDTA::GetVolumeLabel(const String& path) const {
  String root = ExtractFileDrive(path);
  if (root.empty()) {
    // POSIX paths have no drive: ask for the file system of the folder itself.
    root = path;
  } else if (root.back() != Char('\\')) {
    root += Char('\\');
  }
  String label;
  if (!GetVolumeInformation(root, label)) return String();
  return label;
}

AnsiString TZorBaseDTA::GetContent() const {
  return fStream ? fStream->ToString() : AnsiString();
}

bool TZorBaseDTA::FinishWithTrailer(const std::function<void()>& writeTrailer) {
  if (fState == stReady || !fHeaderWritten) {
    Finish();
    return false;
  }
  const std::int64_t sizeBeforeTrailer = fStream ? fStream->Size() : 0;
  writeTrailer();
  try {
    Finish();
  } catch (...) {
    fStream->Truncate(sizeBeforeTrailer);
    throw;
  }
  return true;
}

}  // namespace zor
