// What went wrong, where: every bad value of an input is collected, so one run
// names all of them instead of stopping at the first.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zcli {

struct Diagnostic {
  std::string where;  ///< "Zeile 5", "Buchung 3", "Auftraggeber", "Befehlszeile"
  std::string field;  ///< the column, key or option; empty for the whole row
  std::string message;
};

class Diagnostics {
 public:
  void Add(std::string where, std::string field, std::string message);
  /// Adds all of `other`'s, after these.
  void Append(const Diagnostics& other);
  bool Empty() const { return fItems.empty(); }
  std::size_t Count() const { return fItems.size(); }
  const std::vector<Diagnostic>& Items() const { return fItems; }

  /// Whole-file and client problems first, then rows in their order (stable).
  void SortByPlace();
  /// True when some diagnostic is about that place.
  bool Mentions(const std::string& where) const;

  /// One line each: "source: Zeile 5, Feld betrag: message".
  void Print(std::ostream& out, const std::string& source) const;

 private:
  std::vector<Diagnostic> fItems;
};

/// A message on one line: line breaks (library messages have CR LF) become blanks.
std::string OneLine(std::string message);

/// "Zeile 3, Spalte 7" for a byte offset in a text (columns count characters).
std::string PositionText(const std::string& text, std::size_t offset);

}  // namespace zcli
