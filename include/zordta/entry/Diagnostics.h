// What went wrong, where: every bad value of an input is collected, so one run
// names all of them instead of stopping at the first.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "zordta/Config.h"
#include "zordta/entry/PlaceSet.h"

namespace zor::entry {

struct ZORDTA_API Diagnostic {
  std::string where;  ///< "Zeile 5", "Buchung 3", "Auftraggeber", "Befehlszeile"
  std::string field;  ///< the column, key or option; empty for the whole row
  std::string message;
};

/// Keeps every diagnostic unless told to keep only some (KeepAtMost or
/// KeepFirstByPlace, one of the two); Count() counts them all either way.
class ZORDTA_API Diagnostics {
 public:
  /// Field and message are kept on one line each.
  void Add(std::string where, std::string field, std::string message);
  /// Adds all of `other`'s, after these.
  void Append(const Diagnostics& other);
  /// The same, taking them over: a million faults are not held twice.
  void Append(Diagnostics&& other);
  /// The same, each placed in `place` ("dateien[2], Buchung 3") unless its place
  /// begins with it; an empty `place` places nothing.
  void AppendPlaced(Diagnostics&& other, const std::string& place);

  /// From now on keeps at most `count`, the first added; the ones beyond are
  /// only counted, and Mentions does not know them. For warnings, of which only
  /// the first are shown, so that a million cost no memory.
  void KeepAtMost(std::size_t count);
  /// From now on keeps the first `count` in the order FirstByPlace gives, and
  /// at most as many again not yet sorted out; the others are only counted,
  /// but Mentions still knows their places (a bit a numbered place). For errors,
  /// of which only the first by place are shown, so that a million cost no
  /// memory and little time: a caller that wants them all sets no limit.
  void KeepFirstByPlace(std::size_t count);
  /// An empty one that keeps as this one does.
  Diagnostics EmptyLike() const;
  /// False when the next one would only be counted, wherever it is: a caller may
  /// spare making its text and call AddNotKept. With KeepFirstByPlace the place
  /// decides, so this stays true: ask Keeps(where).
  bool Keeps() const { return fItems.size() < fKeep; }
  /// False when one at `where` would only be counted: a caller may spare making
  /// its text and call AddNotKept(where).
  bool Keeps(std::string_view where) const;
  /// Counts `count` diagnostics that are not kept.
  void AddNotKept(std::size_t count) { fNotKept += count; }
  /// Counts one at `where` that is not kept; with KeepFirstByPlace, Mentions knows its place.
  void AddNotKept(std::string_view where);

  bool Empty() const { return Count() == 0; }
  /// Kept or not.
  std::size_t Count() const { return fItems.size() + fNotKept; }
  /// The kept ones, in the order added (or SortByPlace's).
  const std::vector<Diagnostic>& Items() const { return fItems; }
  std::size_t NotKept() const { return fNotKept; }

  /// Whole-file and client problems first, then rows in their order (stable).
  void SortByPlace();
  /// The first `count` in the order SortByPlace gives, without sorting them all.
  /// Of them all when no more than `count` are set to be kept (KeepFirstByPlace).
  std::vector<const Diagnostic*> FirstByPlace(std::size_t count) const;
  /// True when some diagnostic is about that place. Constant time on average,
  /// so a caller may ask once per row of a large file.
  bool Mentions(const std::string& where) const;

  /// One line each: "source: Zeile 5, Feld betrag: message". The kept ones.
  void Print(std::ostream& out, const std::string& source) const;

 private:
  void Keep(Diagnostic&& d);
  void KeepOnlyFirstByPlace(std::size_t count);

  static constexpr std::size_t kAll = static_cast<std::size_t>(-1);
  std::vector<Diagnostic> fItems;
  std::size_t fKeep = kAll;
  std::size_t fNotKept = 0;
  // KeepFirstByPlace: how many; once bounded, only places before fBound are kept.
  std::size_t fKeepByPlace = kAll;
  bool fBounded = false;
  long fBound = 0;
  PlaceSet fNotKeptPlaces;
  // The places of fItems[0, fIndexed), filled on demand by Mentions.
  mutable std::unordered_set<std::string> fPlaces;
  mutable std::size_t fIndexed = 0;
};

/// One diagnostic as Print writes it, without the line break.
ZORDTA_API void PrintDiagnostic(std::ostream& out, const std::string& source, const Diagnostic& d);

/// A message on one line: line breaks (library messages have CR LF) become
/// blanks, other control characters their code (zor::PrintableText).
ZORDTA_API std::string OneLine(std::string message);

/// "Zeile 3, Spalte 7" for a byte offset in a text (columns count characters).
ZORDTA_API std::string PositionText(const std::string& text, std::size_t offset);

/// A count with German thousands separators: 1234567 -> "1.234.567".
ZORDTA_API std::string GroupedCount(std::size_t count);

}  // namespace zor::entry
