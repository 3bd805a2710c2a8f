#include "zordta/DtausWriter.h"

#include <algorithm>
#include <array>

#include "dtaus/DtausWriterMessages.h"
#include "dtaus/Layout.h"
#include "dtaus/Records.h"
#include "dtaus/Repertoire.h"
#include "zordta/Limits.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

namespace msg = detail::msg;
namespace dtaus = detail::dtaus;

namespace {

const char* MessageOf(DtausWriteFault fault) {
  switch (fault) {
    case DtausWriteFault::BankCode:
      return msg::_MsgWriterBankCode;
    case DtausWriteFault::Account:
      return msg::_MsgWriterAccount;
    case DtausWriteFault::Amount:
      return msg::_MsgWriterAmount;
    case DtausWriteFault::PurposeLines:
      return msg::_MsgWriterPurposeLines;
    case DtausWriteFault::Key:
      return msg::_MsgWriterKey;
    case DtausWriteFault::Text:
      return msg::_MsgWriterText;
    case DtausWriteFault::ClientBankCode:
      return msg::_MsgWriterClientBankCode;
    case DtausWriteFault::ClientAccount:
      return msg::_MsgWriterClientAccount;
    case DtausWriteFault::Count:
      return msg::_MsgWriterCount;
    case DtausWriteFault::Sum:
      return msg::_MsgWriterSum;
    case DtausWriteFault::Date:
      return msg::_MsgWriterDate;
    case DtausWriteFault::Finished:
      break;
  }
  return msg::_MsgWriterFinished;
}

bool FitsBLZ(std::int64_t value) {
  return value >= 0 && value <= limits::kMaxBLZ;
}
bool FitsKonto(std::int64_t value) {
  return value >= 0 && value <= limits::kMaxKonto;
}

// The date as the component's dates are, or none when record A cannot hold it.
std::optional<TDate> DateOf(const std::chrono::year_month_day& date) {
  TDate value = 0;
  if (!date.ok() ||
      !TryEncodeDate(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                     static_cast<int>(unsigned(date.day())), value)) {
    return std::nullopt;
  }
  return value;
}

constexpr std::size_t kTextWidth = dtaus::kTextWidth;

}  // namespace

DtausWriteError::DtausWriteError(DtausWriteFault fault)
    : Exception(StringFromUtf8(MessageOf(fault))), fFault(fault) {}

DtausUmlauts DtausUmlautsOf(std::string_view fileName) {
  return dtaus::IsFirstFileKind(StringFromUtf8(fileName)) ? DtausUmlauts::German7Bit
                                                          : DtausUmlauts::Pc;
}

DtausWriter::DtausWriter(ByteSink& sink, const Header& header)
    : DtausWriter(sink, header, LongTexts::Refuse) {}

DtausWriter::DtausWriter(ByteSink& sink, const Header& h, LongTexts longTexts)
    : fSink(&sink),
      fLongTexts(longTexts),
      fUmlauts(h.umlauts),
      fClientBLZ(h.client.blz),
      fClientKonto(h.client.konto) {
  if (!FitsBLZ(h.client.blz)) throw DtausWriteError(DtausWriteFault::ClientBankCode);
  if (!FitsKonto(h.client.konto)) throw DtausWriteError(DtausWriteFault::ClientAccount);
  if (!h.zahlungsschluessel.empty() && h.zahlungsschluessel.size() != 5) {
    throw DtausWriteError(DtausWriteFault::Key);
  }
  const std::optional<TDate> fileDate = DateOf(h.dateidatum);
  std::optional<TDate> ausfuehrung = TDate{0};
  if (h.ausfuehrungsdatum) ausfuehrung = DateOf(*h.ausfuehrungsdatum);
  if (!fileDate || !ausfuehrung ||
      (h.diskettennummer && (*h.diskettennummer < 0 || *h.diskettennummer > 9999))) {
    throw DtausWriteError(DtausWriteFault::Date);
  }
  const AnsiString fileKey(h.zahlungsschluessel);
  fFileKey = dtaus::PaymentKey(h.lastschriften, h.abbuchung, fileKey);
  if (!SetClient(h.client, h.umlauts) && fLongTexts == LongTexts::Refuse) {
    throw DtausWriteError(DtausWriteFault::Text);
  }

  dtaus::ARecordFields fields;
  fields.kind = dtaus::FileKind(h.lastschriften, fileKey);
  fields.auftraggeberBLZ = h.client.blz;
  fields.auftraggeberName = fClientName;
  fields.fileDate = *fileDate;
  fields.diskettenNummer = h.diskettennummer ? Format("%.4d", {*h.diskettennummer})
                                             : AnsiString(dtaus::kA.diskettenNummer.width, ' ');
  fields.auftraggeberKontoNr = h.client.konto;
  fields.ausfuehrungsdatum = *ausfuehrung;
  Put(dtaus::BuildARecord(fields));
}

bool DtausWriter::SetClient(const Client& client, DtausUmlauts umlauts) {
  fClientBLZ = client.blz;
  fClientKonto = client.konto;
  // The same name in every record of a run: cleaned again only when it or the code changed.
  if (fClientNameCleaned && fUmlauts == umlauts && fClientNameSource == client.name) return true;
  fUmlauts = umlauts;
  fClientNameSource = client.name;
  fClientName.resize(kTextWidth + 1);
  const std::size_t length = CleanText(client.name, fClientName.data());
  fClientName.resize(std::min(length, kTextWidth));
  fClientNameCleaned = true;
  return length <= kTextWidth;
}

std::size_t DtausWriter::CleanText(std::string_view text, char* out) const {
  // One byte beyond the field tells a text too long for it.
  const std::size_t room = fLongTexts == LongTexts::Refuse ? kTextWidth + 1 : kTextWidth;
  return dtaus::RemoveInvalidChars(text, fUmlauts == DtausUmlauts::German7Bit, out, room);
}

std::optional<DtausWriteFault> DtausWriter::Refusal(const Booking& b) const {
  if (fFinished) return DtausWriteFault::Finished;
  if (!FitsBLZ(b.blz)) return DtausWriteFault::BankCode;
  if (!FitsKonto(b.konto)) return DtausWriteFault::Account;
  if (b.cent < 0 || b.cent > limits::dtaus::kMaxCent) return DtausWriteFault::Amount;
  if (b.purpose.size() > static_cast<std::size_t>(dtaus::kMaxRecordPurposeLines)) {
    return DtausWriteFault::PurposeLines;
  }
  if (!b.zahlungsschluessel.empty() && b.zahlungsschluessel.size() != 5) {
    return DtausWriteFault::Key;
  }
  if (!FitsBLZ(fClientBLZ)) return DtausWriteFault::ClientBankCode;
  if (!FitsKonto(fClientKonto)) return DtausWriteFault::ClientAccount;
  if (fTotals.count >= limits::dtaus::kMaxCount) return DtausWriteFault::Count;
  if (fTotals.summeCent > limits::dtaus::kMaxCentSum - b.cent) return DtausWriteFault::Sum;
  return std::nullopt;
}

void DtausWriter::Add(const Booking& b) {
  if (const std::optional<DtausWriteFault> fault = Refusal(b)) throw DtausWriteError(*fault);
  char cleaned[dtaus::kMaxRecordPurposeLines][kTextWidth + 1];
  std::array<std::string_view, dtaus::kMaxRecordPurposeLines> lines;
  for (std::size_t i = 0; i < b.purpose.size(); ++i) {
    lines[i] = {cleaned[i], CleanText(b.purpose[i], cleaned[i])};
    if (lines[i].size() > kTextWidth) throw DtausWriteError(DtausWriteFault::Text);
  }
  // No line: the record carries one empty line.
  AddCleaned(b, std::span(lines.data(), b.purpose.empty() ? 1 : b.purpose.size()));
}

void DtausWriter::AddCleaned(const Booking& b, std::span<const std::string_view> lines) {
  char name[kTextWidth + 1];
  const std::size_t nameLength = CleanText(b.name, name);
  if (nameLength > kTextWidth) throw DtausWriteError(DtausWriteFault::Text);

  dtaus::CRecordFields fields;
  fields.blz = b.blz;
  fields.konto = b.konto;
  fields.key = b.zahlungsschluessel.empty() ? std::string_view(fFileKey) : b.zahlungsschluessel;
  fields.auftraggeberBLZ = static_cast<std::int32_t>(fClientBLZ);
  fields.auftraggeberKontoNr = fClientKonto;
  fields.betragCent = b.cent;
  fields.name = {name, nameLength};
  fields.auftraggeberName = fClientName;
  fields.purposeLines = lines;
  dtaus::CRecordBuffer record;
  Put(dtaus::BuildCRecord(fields, record));

  ++fTotals.count;
  fTotals.summeKontonummer += b.konto;
  fTotals.summeBLZ += b.blz;
  fTotals.summeCent += b.cent;
}

void DtausWriter::Finish() {
  if (fFinished) throw DtausWriteError(DtausWriteFault::Finished);
  dtaus::ERecordFields fields;
  fields.count = fTotals.count;
  fields.summeKontonummer = fTotals.summeKontonummer;
  fields.summeBLZ = fTotals.summeBLZ;
  fields.summeBetragCent = fTotals.summeCent;
  Put(dtaus::BuildERecord(fields));
  fFinished = true;
}

void DtausWriter::Put(std::string_view bytes) {
  fSink->Write(bytes);
  fBytes += bytes.size();
}

}  // namespace zor
