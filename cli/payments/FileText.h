// The text the tool hands the library for a text field of a payment file. The
// library keeps only its file's repertoire and cuts a text to its field; the
// tool changes nothing silently: a letter with a diacritic that the file lacks
// becomes its base letter, every change is reported, and a text longer than its
// field is a fault.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "io/Diagnostics.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"

namespace zcli {

/// What a prepared text becomes in the file.
struct TextInFile {
  std::size_t length = 0;  ///< characters
  bool blank = true;       ///< nothing but blanks, or nothing at all
};

class FileText {
 public:
  /// Learns from the component how its file holds each character. A DTAUS
  /// component's file name must be set: it decides the umlauts' codes. With
  /// `streng` every change is an error, otherwise a warning.
  FileText(const zor::TZorDTA& dta, bool streng, Diagnostics& errors, Diagnostics& warnings);
  FileText(const zor::TZorDTAZV& zv, bool streng, Diagnostics& errors, Diagnostics& warnings);

  /// Sets `ansi` to the text for the component and reports what the file will
  /// not hold as given; more than `width` characters in the file (0: no limit)
  /// is an error.
  TextInFile Prepare(std::string_view utf8, std::size_t width, const std::string& where,
                     std::string_view field, zor::AnsiString& ansi);
  /// True, with an error, when a text that was given is blank in the file. For
  /// a field that must not be blank, which the library checks only as given.
  bool LeftBlank(const TextInFile& text, std::string_view given, const std::string& where,
                 std::string_view field);

 private:
  enum class Fate : unsigned char {
    kKept,      ///< written as itself (or in the file's spelling, such as AE for Ä)
    kReplaced,  ///< the file lacks it: its base letters are written instead
    kDropped,   ///< the file lacks it, and the library drops it
    kLeftOut,   ///< the file would show another letter: the tool leaves it out
  };
  struct CharFate {
    Fate fate = Fate::kDropped;
    unsigned char fileLength = 0;  ///< characters it becomes in the file
  };
  // A character's tally: its file length in the low 32 bits, and one count
  // each of "not kept" and of "not blank in the file" above, so that a text is
  // tallied by adding alone. Texts are added in pieces of kTallyPiece bytes,
  // which no count can outgrow.
  static constexpr int kNotKeptShift = 32;
  static constexpr int kShowsShift = 48;
  static constexpr std::size_t kTallyPiece = 1U << 15;
  struct Tally {
    std::size_t length = 0;
    bool notKept = false;
    bool shows = false;
    void Add(std::uint64_t sum);
  };

  template <class Component, class ReadsAsItself>
  void Learn(const Component& component, ReadsAsItself readsAsItself);
  TextInFile Rewrite(zor::AnsiString& ansi, const std::string& where, std::string_view field);
  void Count(char c, TextInFile& text) const;

  std::array<CharFate, 256> fChars;
  std::array<std::uint64_t, 256> fTally;
  bool fStreng;
  Diagnostics& fErrors;
  Diagnostics& fWarnings;
  zor::AnsiString fScratch;
};

}  // namespace zcli
