// The checks of one record's fields: each reads a field of the record at hand
// and answers its value, or refuses it naming the field and the byte.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/RecordField.h"
#include "core/ShownBytes.h"
#include "zordta/DtazvReader.h"

namespace zor::detail::dtazv {

std::string PlaceText(const DtazvPlace& place);

/// The notes of a file: of each kind the first few, then one that counts the rest.
class ReadNotes {
 public:
  enum class Kind : std::size_t { LineBreak, LowerCase, Padding, Count };

  void Add(Kind kind, DtazvPlace place, std::string text);
  /// Adds the counting notes; place is where the reading ended.
  void Close(DtazvPlace place);
  const std::vector<DtazvNote>& All() const { return fNotes; }

 private:
  static constexpr std::size_t kOfAKind = 10;
  std::vector<DtazvNote> fNotes;
  std::array<std::size_t, static_cast<std::size_t>(Kind::Count)> fOfKind{};
};

/// What a code field (BIC, IBAN, country) may hold.
enum class CodeChars { Letters, Alphanumerics };

/// The year of the system's date: asked once a reading, not once a record.
int ThisYear();

class RecordFields {
 public:
  /// Over a record whose first byte is at start; notes go to notes. Two-digit
  /// years take their century from thisYear (ThisYear()), as the DTAUS reader's do.
  RecordFields(std::string_view record, DtazvPlace start, bool tolerant, int thisYear,
               ReadNotes& notes)
      : fRecord(record), fStart(start), fTolerant(tolerant), fThisYear(thisYear), fNotes(notes) {}

  std::string_view At(Field f) const { return fRecord.substr(f.offset, f.width); }
  DtazvPlace PlaceOf(Field f) const { return {fStart.record, fStart.offset + f.offset}; }
  [[noreturn]] void Fail(DtazvFault fault, Field f, std::string text) const;
  /// "Stellen 6-13": the field's 1-based positions in the record.
  std::string Positions(Field f) const;

  std::int64_t Digits(Field f, const char* name) const;
  /// Fields that other programs leave blank when they do not use them: 0.
  std::int64_t DigitsOrBlank(Field f, const char* name) const;
  std::optional<std::chrono::year_month_day> DateOrBlank(Field f, const char* name) const;
  std::chrono::year_month_day Date(Field f, const char* name) const;
  void Literal(Field f, std::string_view expected, const char* name) const;
  void Blank(Field f, const char* name) const;
  /// A free text of the format's characters, trailing blanks removed.
  void Text(Field f, const char* name, std::string& out);
  /// A code written from the left, then blanks only.
  void Code(Field f, const char* name, CodeChars chars, std::string& out);
  /// Three letters; blank too when optional.
  void Currency(Field f, const char* name, bool optional, std::string& out);

 private:
  /// A small letter is refused, or read as its capital when tolerant.
  char Capital(Field f, std::size_t at, const char* name, bool& lowered) const;
  void NoteLowered(Field f, const char* name, const std::string& read);

  std::string_view fRecord;
  DtazvPlace fStart;
  bool fTolerant;
  int fThisYear;
  ReadNotes& fNotes;
};

}  // namespace zor::detail::dtazv
