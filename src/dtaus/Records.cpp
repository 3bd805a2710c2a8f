#include "dtaus/Records.h"

#include <array>
#include <cmath>
#include <cstring>

#include "core/RecordWriter.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail::dtaus {
namespace {

using detail::RecordWriter;

// The type and the line of an extension that holds one, in a blank slot.
void PurposeSlot(RecordWriter& r, const SlotLayout& slot, std::string_view line) {
  r.TextOnBlanks(slot.type, kPurposeSlotType);
  r.TextOnBlanks(slot.text, line);
}

// The first two parts of a C record with the fields that are the same in every
// one, copied whole so a booking writes only what is its own.
using CTemplate = std::array<char, 2 * kPartLength>;

constexpr CTemplate MakeCTemplate() {
  CTemplate parts{};
  for (char& c : parts) c = ' ';
  const auto fill = [&parts](std::size_t partOffset, Field field, char c) {
    for (std::size_t i = 0; i < field.width; ++i) parts[partOffset + field.offset + i] = c;
  };
  fill(0, kC1.recordType, 'C');
  fill(0, kC1.firstBLZ, '0');
  fill(0, kC1.customerNumber, '0');
  fill(0, kC1.formerAmount, '0');
  fill(kPartLength, kC2.currency, '1');
  return parts;
}

constexpr CTemplate kCTemplate = MakeCTemplate();

}  // namespace

AnsiString BuildARecord(const ARecordFields& f) {
  AnsiString record(kPartLength, ' ');
  RecordWriter r(record.data());
  r.Text(Joined(kA.recordLength, kA.recordType), kAHeader);
  r.Text(kA.kind, f.kind);
  r.Number(kA.blz, static_cast<std::uint64_t>(f.auftraggeberBLZ));
  r.Digits(kA.senderBLZ, 0);
  r.Text(kA.name, f.auftraggeberName);
  r.Text(kA.fileDate, FormatDateTime("ddmmyy", f.fileDate));
  r.Text(kA.diskettenNummer, f.diskettenNummer);
  r.Digits(kA.konto, static_cast<std::uint64_t>(f.auftraggeberKontoNr));
  r.Digits(kA.reference, 0);
  r.Blanks(kA.reserved1);
  if (f.ausfuehrungsdatum == 0) {
    r.Blanks(kA.ausfuehrungsdatum);
  } else {
    r.Text(kA.ausfuehrungsdatum, FormatDateTime("ddmmyyyy", f.ausfuehrungsdatum));
  }
  r.Blanks(kA.reserved2);
  r.Text(kA.currency, "1");
  return record;
}

std::string_view BuildCRecord(const CRecordFields& f, CRecordBuffer& record) {
  const std::size_t extensions = f.purposeLines.size() - 1;
  const std::size_t parts = CRecordParts(extensions);
  std::memcpy(record.data(), kCTemplate.data(), kCTemplate.size());

  // Record type, the first bank code, the customer number, the former amount,
  // the currency and every reserved field come from the template, the text
  // fields' blanks too.
  RecordWriter first(record.data());
  first.Digits(kC1.recordLength, CRecordLength(extensions));
  first.Digits(kC1.blz, static_cast<std::uint64_t>(f.blz));
  first.Digits(kC1.konto, static_cast<std::uint64_t>(f.konto));
  first.TextOnBlanks(Joined(kC1.key, kC1.keyExtension), f.key);
  first.Digits(kC1.clientBLZ, static_cast<std::uint64_t>(f.auftraggeberBLZ));
  first.Digits(kC1.clientKonto, static_cast<std::uint64_t>(f.auftraggeberKontoNr));
  first.Digits(kC1.betragCent, static_cast<std::uint64_t>(f.betragCent));
  first.TextOnBlanks(kC1.name, f.name);

  RecordWriter second(record.data() + kPartLength);
  second.TextOnBlanks(kC2.clientName, f.auftraggeberName);
  second.TextOnBlanks(kC2.purpose1, f.purposeLines[0]);
  second.Digits(kC2.extensionCount, extensions);
  for (std::size_t slot = 0; slot < kSecondPartSlots && 1 + slot < f.purposeLines.size(); ++slot) {
    PurposeSlot(second, kC2.slots[slot], f.purposeLines[1 + slot]);
  }

  for (std::size_t part = 2; part < parts; ++part) {
    char* const partStart = record.data() + part * kPartLength;
    std::memset(partStart, ' ', kPartLength);
    RecordWriter further(partStart);
    const std::size_t firstLine = 1 + kSecondPartSlots + (part - 2) * kFurtherPartSlots;
    for (std::size_t slot = 0; slot < kFurtherPartSlots && firstLine + slot < f.purposeLines.size();
         ++slot) {
      PurposeSlot(further, kCFurther.slots[slot], f.purposeLines[firstLine + slot]);
    }
  }
  return {record.data(), parts * kPartLength};
}

AnsiString BuildERecord(const ERecordFields& f) {
  AnsiString record(kPartLength, ' ');
  RecordWriter r(record.data());
  r.Text(Joined(kE.recordLength, kE.recordType), kEHeader);
  r.Blanks(kE.reserved1);
  r.Digits(kE.count, static_cast<std::uint64_t>(f.count));
  r.Digits(kE.formerAmountSum, 0);
  r.Digits(kE.kontoSum, static_cast<std::uint64_t>(f.summeKontonummer));
  r.Digits(kE.blzSum, static_cast<std::uint64_t>(f.summeBLZ));
  r.Digits(kE.centSum, static_cast<std::uint64_t>(f.summeBetragCent));
  r.Blanks(kE.reserved2);
  return record;
}

AnsiString FileKind(bool lastschriften, const AnsiString& customKey) {
  if ((lastschriften && customKey.empty()) || customKey == "04000" || customKey == "05000") {
    return AnsiString(kDebitFileKind);
  }
  return "GK";
}

AnsiString PaymentKey(bool lastschriften, bool abbuchungsauftrag, const AnsiString& customKey) {
  if (customKey.size() == 5) return customKey;
  if (!lastschriften) return "51000";
  return abbuchungsauftrag ? "04000" : "05000";
}

bool AmountToCent(double betrag, std::int64_t& cent) {
  if (!std::isfinite(betrag) || betrag < 0 || betrag >= 1e12) return false;
  // The cents as Format's "%.2f" shows them: rounded from the exact binary value,
  // an exact half away from zero. betrag * 100 is rounded once; fma yields the
  // exact error of that rounding, so the half is decided on the exact product.
  const double scaled = betrag * 100;
  const double error = std::fma(betrag, 100, -scaled);
  const double whole = std::floor(scaled);
  // Exact: below 2^52, scaled, whole and 0.5 all lie on the grid of scaled's last place.
  const bool roundUp = scaled - whole - 0.5 >= -error;
  const std::int64_t value = static_cast<std::int64_t>(whole) + (roundUp ? 1 : 0);
  if (value > limits::dtaus::kMaxCent) return false;
  cent = value;
  return true;
}

}  // namespace zor::detail::dtaus
