#include "zordta/FileText.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <utility>

#include "core/MessageFill.h"
#include "entry/EntryMessages.h"
#include "zordta/Printable.h"
#include "zordta/Transliteration.h"
#include "zordta/detail/DigitRun.h"
#include "zordta/detail/TextScan.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

using detail::Fill;

namespace {

// A letter with a diacritic that a file lacks becomes its base letters; an
// umlaut such a file lacks is spelled out, as DTAZV files spell every one.
constexpr Umlauts kUmlauts = Umlauts::Spelled;

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// How many bytes of a word loaded from memory come before the first one whose
// top bit `marked` holds. A big-endian machine answers 0: it goes on a byte at a time.
std::size_t FirstMarked(std::uint64_t marked) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(marked)) / 8;
  } else {
    return 0;
  }
}

// A character of a message: a control character by its code alone.
std::string Shown(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte == 0x7F) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(byte));
    return code;
  }
  return "„" + PrintableText(AnsiToUtf8(AnsiString(1, c))) + "“";
}

}  // namespace

FileText::FileText(const TZorDTA& dta, bool strict, Report report)
    : fStrict(strict), fReport(std::move(report)) {
  // The umlauts' codes stand for other characters too ("]" is read back as Ü):
  // only a character that reads back as itself is kept.
  Learn(dta, [](const AnsiString& written, const AnsiString& given) {
    return TZorDTA::DecodeChars(written) == AnsiUpperCase(given);
  });
}

FileText::FileText(const TZorDTAZV& zv, bool strict, Report report)
    : fStrict(strict), fReport(std::move(report)) {
  // Its spellings (AE for Ä, SS for ß) are the format's own.
  Learn(zv, [](const AnsiString&, const AnsiString&) { return true; });
}

template <class Component, class ReadsAsItself>
void FileText::Learn(const Component& component, ReadsAsItself readsAsItself) {
  for (unsigned b = 0; b < fChars.size(); ++b) {
    const AnsiString given(1, static_cast<char>(b));
    const AnsiString written = component.RemoveInvalidChars(given);
    const std::string_view base = AnsiBaseLetters(static_cast<char>(b), kUmlauts);
    CharFate& c = fChars[b];
    if (!written.empty() && readsAsItself(written, given)) {
      c = {Fate::kKept, static_cast<unsigned char>(written.size())};
    } else if (!base.empty()) {
      const std::size_t length = component.RemoveInvalidChars(AnsiString(base)).size();
      c = {Fate::kReplaced, static_cast<unsigned char>(length)};
    } else {
      c = {written.empty() ? Fate::kDropped : Fate::kLeftOut, 0};
    }
    fTally[b] = c.fileLength | std::uint64_t{c.fate != Fate::kKept} << kNotKeptShift |
                std::uint64_t{c.fileLength != 0 && b != ' '} << kShowsShift;
  }
  for (unsigned b = 0; b < fChars.size(); ++b) {
    const char self = static_cast<char>(b);
    std::string_view text;
    switch (fChars[b].fate) {
      case Fate::kKept:
      case Fate::kDropped:  // the component drops it
        text = std::string_view(&self, 1);
        break;
      case Fate::kReplaced:
        text = AnsiBaseLetters(self, kUmlauts);
        break;
      case Fate::kLeftOut:
        break;
    }
    Written& w = fWritten[b];
    w = Written();
    for (const char c : text.substr(0, sizeof w.text)) {
      const unsigned char length = fChars[static_cast<unsigned char>(c)].fileLength;
      w.text[w.length++] = c;
      w.fileLength = static_cast<unsigned char>(w.fileLength + length);
      w.blank = w.blank && (length == 0 || c == ' ');
    }
  }
}

void FileText::Tally::Add(std::uint64_t sum) {
  constexpr std::uint64_t kCount = 0xFFFF;
  length += static_cast<std::size_t>(sum & 0xFFFF'FFFF);
  notKept = notKept || ((sum >> kNotKeptShift) & kCount) != 0;
  shows = shows || (sum >> kShowsShift) != 0;
}

bool FileText::Convert(std::string_view utf8, AnsiString& ansi, Tally& tally) const {
  // Converted as Utf8ToAnsi does and tallied in one pass, into storage kept
  // from call to call: this runs for every character of every payment. Plain
  // ASCII is the same in the file's code page: copied eight bytes at a time.
  ansi.resize(utf8.size());  // never more characters than bytes
  std::size_t at = 0;
  std::size_t written = 0;
  bool converted = true;
  while (at < utf8.size() && converted) {
    const std::size_t pieceEnd = std::min(utf8.size(), at + kTallyPiece);
    std::uint64_t sum = 0;
    while (at < pieceEnd && converted) {
      if (pieceEnd - at >= 8) {
        std::uint64_t word = detail::LoadEightBytes(utf8.data() + at);
        const std::uint64_t high = word & kHighBits;
        // All eight bytes fit: written never passes at.
        std::memcpy(ansi.data() + written, utf8.data() + at, 8);
        if (high == 0) {
          for (int i = 0; i < 8; ++i, word >>= 8) sum += fTally[word & 0xFF];
          at += 8;
          written += 8;
          continue;
        }
        // The plain bytes before the first beyond ASCII are taken as copied.
        const std::size_t plain = FirstMarked(high);
        for (std::size_t i = 0; i < plain; ++i, word >>= 8) sum += fTally[word & 0xFF];
        at += plain;
        written += plain;
      }
      auto c = static_cast<unsigned char>(utf8[at]);
      if (c >= 0x80) {
        c = detail::Latin1LetterAt(utf8, at);
        converted = c != 0;
        ++at;
      }
      ++at;
      ansi[written++] = static_cast<char>(c);
      sum += fTally[c];
    }
    tally.Add(sum);
  }
  if (converted) ansi.resize(written);
  return converted;
}

TextInFile FileText::Prepare(std::string_view utf8, std::size_t width, std::string_view field,
                             AnsiString& ansi) {
  Tally tally;
  if (!Convert(utf8, ansi, tally)) {
    Utf8ToAnsi(utf8, ansi);  // the rest of Windows-1252
    tally = Tally();
    for (std::size_t from = 0; from < ansi.size(); from += kTallyPiece) {
      std::uint64_t sum = 0;
      for (const char c : std::string_view(ansi).substr(from, kTallyPiece)) {
        sum += fTally[static_cast<unsigned char>(c)];
      }
      tally.Add(sum);
    }
  }
  TextInFile text{tally.length, !tally.shows};
  if (tally.notKept) text = Rewrite(ansi, field);
  if (width > 0 && text.length > width) {
    fReport({FileTextIssueKind::TooLong, true, field, std::string(),
             Wants(true) ? Fill(_MsgEntryTooLong, {PrintableText(utf8), std::to_string(text.length),
                                                   std::to_string(width)})
                         : std::string()});
  }
  return text;
}

bool FileText::LeftBlank(const TextInFile& text, std::string_view given, std::string_view field) {
  if (!text.blank) return false;
  for (const char c : given) {
    if (c != ' ' && c != '\t') {
      fReport({FileTextIssueKind::Blank, true, field, std::string(),
               Wants(true) ? Fill(_MsgEntryBlank, {PrintableText(given)}) : std::string()});
      return true;
    }
  }
  return false;  // given blank: the components' own check
}

TextInFile FileText::Rewrite(AnsiString& ansi, std::string_view field) {
  // One look-up a character: what it is written as, and what that comes to.
  std::string replaced;
  std::string dropped;
  std::array<bool, 256> noted{};
  fScratch.resize(2 * ansi.size());
  std::size_t written = 0;
  TextInFile text;
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    const Written& w = fWritten[byte];
    fScratch[written] = w.text[0];
    fScratch[written + 1] = w.text[1];
    written += w.length;
    text.length += w.fileLength;
    text.blank = text.blank && w.blank;
    if (const Fate fate = fChars[byte].fate; fate != Fate::kKept && !noted[byte]) {
      noted[byte] = true;
      (fate == Fate::kReplaced ? replaced : dropped) += c;
    }
  }
  fScratch.resize(written);
  ansi.swap(fScratch);

  if ((!replaced.empty() || !dropped.empty()) && !Wants(fStrict)) {
    if (!replaced.empty()) fReport({FileTextIssueKind::Replaced, fStrict, field, {}, {}});
    if (!dropped.empty()) fReport({FileTextIssueKind::Dropped, fStrict, field, {}, {}});
    return text;
  }
  if (!replaced.empty()) {
    std::string changes;
    for (const char c : replaced) {
      if (!changes.empty()) changes += ", ";
      changes += Fill(
          fStrict ? _MsgEntryReplacedStrict : _MsgEntryReplaced,
          {PrintableText(AnsiToUtf8(AnsiString(1, c))), UpperCase(AnsiBaseLetters(c, kUmlauts))});
    }
    fReport({FileTextIssueKind::Replaced, fStrict, field, AnsiToUtf8(replaced), changes + "."});
  }
  if (!dropped.empty()) {
    std::string shown;
    for (const char c : dropped) shown += (shown.empty() ? "" : " ") + Shown(c);
    fReport({FileTextIssueKind::Dropped, fStrict, field, AnsiToUtf8(dropped),
             Fill(fStrict ? _MsgEntryDroppedStrict : _MsgEntryDropped, {shown})});
  }
  return text;
}

}  // namespace zor
