// The DTAUS records field by field: the one description that the builders, the
// import and the checks read. Every record is made of 128-byte parts; offsets
// count from 0 at the start of the part that holds the field.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "core/RecordField.h"
#include "zordta/Limits.h"

namespace zor::detail::dtaus {

inline constexpr std::size_t kPartLength = limits::dtaus::kPartLength;
inline constexpr std::size_t kTextWidth = limits::dtaus::kTextWidth;

/// Length and type of the A and E records, which are one part each.
inline constexpr std::string_view kAHeader = "0128A";
inline constexpr std::string_view kEHeader = "0128E";
/// Kind of a file of debits; any other file is "GK".
inline constexpr std::string_view kDebitFileKind = "LK";
/// Type of an extension slot that holds a purpose line.
inline constexpr std::string_view kPurposeSlotType = "02";

struct ALayout {
  Field recordLength{0, 4};
  Field recordType{4, 1};
  Field kind{5, 2};  ///< "LK" or "GK"
  Field blz{7, limits::kBLZDigits};
  Field senderBLZ{15, 8};
  Field name{23, kTextWidth};
  Field fileDate{50, 6};  ///< ddmmyy
  Field diskettenNummer{56, 4};
  Field konto{60, limits::kKontoDigits};
  Field reference{70, 10};
  Field reserved1{80, 15};
  Field ausfuehrungsdatum{limits::dtaus::kAAusfuehrungsdatumOffset,
                          limits::dtaus::kAAusfuehrungsdatumWidth};  ///< ddmmyyyy
  Field reserved2{103, 24};
  Field currency{127, 1};
};
inline constexpr ALayout kA{};
static_assert(Tiles(kPartLength, {kA.recordLength, kA.recordType, kA.kind, kA.blz, kA.senderBLZ,
                                  kA.name, kA.fileDate, kA.diskettenNummer, kA.konto, kA.reference,
                                  kA.reserved1, kA.ausfuehrungsdatum, kA.reserved2, kA.currency}));
static_assert(kAHeader.size() == kA.recordType.End());

/// The first part of a C record.
struct C1Layout {
  Field recordLength{0, 4};  ///< the logical length, CRecordLength
  Field recordType{4, 1};
  Field firstBLZ{5, 8};
  Field blz{13, limits::kBLZDigits};
  Field konto{21, limits::kKontoDigits};
  Field customerNumber{31, 13};
  Field key{44, 2};
  Field keyExtension{46, 3};
  Field bankInternal{49, 1};
  Field formerAmount{50, 11};
  Field clientBLZ{61, limits::kBLZDigits};
  Field clientKonto{69, limits::kKontoDigits};
  Field betragCent{79, limits::dtaus::kCentDigits};
  Field reserved1{90, 3};
  Field name{93, kTextWidth};
  Field reserved2{120, 8};
};
inline constexpr C1Layout kC1{};
static_assert(Tiles(kPartLength,
                    {kC1.recordLength, kC1.recordType, kC1.firstBLZ, kC1.blz, kC1.konto,
                     kC1.customerNumber, kC1.key, kC1.keyExtension, kC1.bankInternal,
                     kC1.formerAmount, kC1.clientBLZ, kC1.clientKonto, kC1.betragCent,
                     kC1.reserved1, kC1.name, kC1.reserved2}));

/// An extension: its type, and a purpose line when the type is kPurposeSlotType.
struct SlotLayout {
  Field type;
  Field text;
};
inline constexpr std::size_t kSlotLength = 2 + kTextWidth;

constexpr SlotLayout Slot(std::size_t offset) {
  return {{offset, 2}, {offset + 2, kTextWidth}};
}

/// The second part of a C record.
struct C2Layout {
  Field clientName{0, kTextWidth};
  Field purpose1{27, kTextWidth};
  Field currency{54, 1};
  Field reserved1{55, 2};
  Field extensionCount{57, 2};
  SlotLayout slots[2] = {Slot(59), Slot(88)};
  Field reserved2{117, 11};
};
inline constexpr C2Layout kC2{};
static_assert(Tiles(kPartLength, {kC2.clientName, kC2.purpose1, kC2.currency, kC2.reserved1,
                                  kC2.extensionCount, kC2.slots[0].type, kC2.slots[0].text,
                                  kC2.slots[1].type, kC2.slots[1].text, kC2.reserved2}));

/// The third to sixth parts of a C record, four extensions each.
struct CFurtherLayout {
  SlotLayout slots[4] = {Slot(0), Slot(29), Slot(58), Slot(87)};
  Field reserved{116, 12};
};
inline constexpr CFurtherLayout kCFurther{};
static_assert(Tiles(kPartLength,
                    {kCFurther.slots[0].type, kCFurther.slots[0].text, kCFurther.slots[1].type,
                     kCFurther.slots[1].text, kCFurther.slots[2].type, kCFurther.slots[2].text,
                     kCFurther.slots[3].type, kCFurther.slots[3].text, kCFurther.reserved}));
static_assert(kC2.slots[0].text.End() - kC2.slots[0].type.offset == kSlotLength);

inline constexpr std::size_t kSecondPartSlots = std::size(C2Layout{}.slots);
inline constexpr std::size_t kFurtherPartSlots = std::size(CFurtherLayout{}.slots);
/// Parts a C record may have; the last one is the sixth.
inline constexpr std::size_t kMaxCParts = 6;
/// Purpose lines a C record can carry: one in the second part, the rest in slots.
inline constexpr int kMaxRecordPurposeLines =
    static_cast<int>(1 + kSecondPartSlots + (kMaxCParts - 2) * kFurtherPartSlots);
/// Extensions the published format allows; of a sixth part only the first slot
/// counts then.
inline constexpr int kMaxExtensions = 15;

/// The logical length of a C record with that many extensions: up to the count
/// of extensions, then one slot each.
constexpr std::size_t CRecordLength(std::size_t extensions) {
  return kPartLength + kC2.extensionCount.End() + extensions * kSlotLength;
}

/// Parts of a C record with that many extensions.
constexpr std::size_t CRecordParts(std::size_t extensions) {
  return extensions <= kSecondPartSlots
             ? 2
             : 2 + (extensions - kSecondPartSlots + kFurtherPartSlots - 1) / kFurtherPartSlots;
}
static_assert(CRecordParts(static_cast<std::size_t>(kMaxRecordPurposeLines) - 1) == kMaxCParts);

struct ELayout {
  Field recordLength{0, 4};
  Field recordType{4, 1};
  Field reserved1{5, 5};
  Field count{limits::dtaus::kECountOffset, limits::dtaus::kECountWidth};
  Field formerAmountSum{17, 13};
  Field kontoSum{limits::dtaus::kEKontoSumOffset, limits::dtaus::kEKontoSumWidth};
  Field blzSum{limits::dtaus::kEBLZSumOffset, limits::dtaus::kEBLZSumWidth};
  Field centSum{limits::dtaus::kECentSumOffset, limits::dtaus::kECentSumWidth};
  Field reserved2{77, 51};
};
inline constexpr ELayout kE{};
static_assert(Tiles(kPartLength,
                    {kE.recordLength, kE.recordType, kE.reserved1, kE.count, kE.formerAmountSum,
                     kE.kontoSum, kE.blzSum, kE.centSum, kE.reserved2}));
static_assert(kEHeader.size() == kE.recordType.End());

}  // namespace zor::detail::dtaus
