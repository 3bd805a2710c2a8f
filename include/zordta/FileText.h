// The text a DTAUS or DTAZV file holds for a UTF-8 text, and what of it changes
// on the way. The components keep only their file's repertoire and cut a text
// to its field without a word; a caller that must change nothing silently
// prepares each text here first: a letter with a diacritic that the file lacks
// becomes its base letter, every change is reported, and a text longer than its
// field is a fault.
//
//   zor::FileText text(dta, false, [&](const zor::FileTextIssue& issue) { ... });
//   zor::AnsiString name;
//   const zor::TextInFile inFile = text.Prepare(utf8Name, 27, "name", name);
//   text.LeftBlank(inFile, utf8Name, "name");
//   dta.Add(name, ...);
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "zordta/Config.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"

namespace zor {

/// What a prepared text becomes in the file.
struct TextInFile {
  std::size_t length = 0;  ///< characters
  bool blank = true;       ///< nothing but blanks, or nothing at all
};

enum class FileTextIssueKind {
  Replaced,  ///< letters the file lacks, written as their base letters
  Dropped,   ///< characters the file lacks, or would show as another letter: left out
  TooLong,   ///< more characters in the file than its field holds
  Blank,     ///< a text that was given is blank in the file
};

struct FileTextIssue {
  FileTextIssueKind kind = FileTextIssueKind::Replaced;
  /// TooLong and Blank always; Replaced and Dropped when every change is a fault.
  bool fault = false;
  std::string_view field;  ///< as the caller named it
  /// Replaced, Dropped: the characters concerned, each once, in the order met (UTF-8).
  std::string chars;
  std::string message;  ///< in German, one sentence
};

class ZORDTA_API FileText {
 public:
  using Report = std::function<void(const FileTextIssue&)>;

  /// Learns from the component how its file holds each character. A DTAUS
  /// component's file name must be set: it decides the umlauts' codes. With
  /// `strict` every change is a fault. `report` hears every issue.
  FileText(const TZorDTA& dta, bool strict, Report report);
  FileText(const TZorDTAZV& zv, bool strict, Report report);

  /// Asked before an issue is made, with its `fault`: false spares making its
  /// texts, and the issue is reported with `chars` and `message` empty. For a
  /// caller that keeps only the first of many.
  using Wanted = std::function<bool(bool fault)>;
  void SetWanted(Wanted wanted) { fWanted = std::move(wanted); }

  /// Sets `ansi` to the text for the component and reports what the file will
  /// not hold as given; more than `width` characters in the file (0: no limit)
  /// is a fault. Allocates nothing for a text that stays as it is, once `ansi`
  /// has room.
  TextInFile Prepare(std::string_view utf8, std::size_t width, std::string_view field,
                     AnsiString& ansi);
  /// True, with a fault reported, when a text that was given is blank in the
  /// file. For a field that must not be blank, which the components check only
  /// as given.
  bool LeftBlank(const TextInFile& text, std::string_view given, std::string_view field);

 private:
  enum class Fate : unsigned char {
    kKept,      ///< written as itself (or in the file's spelling, such as AE for Ä)
    kReplaced,  ///< the file lacks it: its base letters are written instead
    kDropped,   ///< the file lacks it, and the component drops it
    kLeftOut,   ///< the file would show another letter: left out here
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
  /// The text in the file's code page into `ansi`, tallied, while each
  /// character is one of the first 256 and converts on its own; false at the
  /// first that does not.
  bool Convert(std::string_view utf8, AnsiString& ansi, Tally& tally) const;
  TextInFile Rewrite(AnsiString& ansi, std::string_view field);
  bool Wants(bool fault) const { return !fWanted || fWanted(fault); }

  /// What Rewrite writes for a character (its base letters are at most two),
  /// and what that comes to in the file.
  struct Written {
    char text[2] = {};
    unsigned char length = 0;      ///< characters written
    unsigned char fileLength = 0;  ///< characters they become in the file
    bool blank = true;             ///< nothing of them shows but blanks
  };

  std::array<CharFate, 256> fChars;
  std::array<std::uint64_t, 256> fTally;
  std::array<Written, 256> fWritten;
  bool fStrict;
  Report fReport;
  Wanted fWanted;
  AnsiString fScratch;
};

}  // namespace zor
