#include "payments/FileText.h"

#include <algorithm>
#include <cstring>

#include "io/ByteScan.h"
#include "io/MessageText.h"
#include "io/Utf8Check.h"
#include "io/Values.h"
#include "zordta/Transliteration.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

// A letter with a diacritic that a file lacks becomes its base letters; an
// umlaut such a file lacks is spelled out, as DTAZV files spell every one.
constexpr zor::Umlauts kUmlauts = zor::Umlauts::Spelled;

std::string Shown(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F ? DescribeChar(byte)
                                     : Quoted(zor::AnsiToUtf8(zor::AnsiString(1, c)));
}

void AddOnce(std::string& list, char c) {
  if (list.find(c) == std::string::npos) list += c;
}

}  // namespace

FileText::FileText(const zor::TZorDTA& dta, bool streng, Diagnostics& errors, Diagnostics& warnings)
    : fStreng(streng), fErrors(errors), fWarnings(warnings) {
  // The umlauts' codes stand for other characters too ("]" is read back as Ü):
  // only a character that reads back as itself is kept.
  Learn(dta, [](const zor::AnsiString& written, const zor::AnsiString& given) {
    return zor::TZorDTA::DecodeChars(written) == zor::AnsiUpperCase(given);
  });
}

FileText::FileText(const zor::TZorDTAZV& zv, bool streng, Diagnostics& errors,
                   Diagnostics& warnings)
    : fStreng(streng), fErrors(errors), fWarnings(warnings) {
  // Its spellings (AE for Ä, SS for ß) are the format's own.
  Learn(zv, [](const zor::AnsiString&, const zor::AnsiString&) { return true; });
}

template <class Component, class ReadsAsItself>
void FileText::Learn(const Component& component, ReadsAsItself readsAsItself) {
  for (unsigned b = 0; b < fChars.size(); ++b) {
    const zor::AnsiString given(1, static_cast<char>(b));
    const zor::AnsiString written = component.RemoveInvalidChars(given);
    const std::string_view base = zor::AnsiBaseLetters(static_cast<char>(b), kUmlauts);
    CharFate& c = fChars[b];
    if (!written.empty() && readsAsItself(written, given)) {
      c = {Fate::kKept, static_cast<unsigned char>(written.size())};
    } else if (!base.empty()) {
      const std::size_t length = component.RemoveInvalidChars(zor::AnsiString(base)).size();
      c = {Fate::kReplaced, static_cast<unsigned char>(length)};
    } else {
      c = {written.empty() ? Fate::kDropped : Fate::kLeftOut, 0};
    }
    fTally[b] = c.fileLength | std::uint64_t{c.fate != Fate::kKept} << kNotKeptShift |
                std::uint64_t{c.fileLength != 0 && b != ' '} << kShowsShift;
  }
}

void FileText::Tally::Add(std::uint64_t sum) {
  constexpr std::uint64_t kCount = 0xFFFF;
  length += static_cast<std::size_t>(sum & 0xFFFF'FFFF);
  notKept = notKept || ((sum >> kNotKeptShift) & kCount) != 0;
  shows = shows || (sum >> kShowsShift) != 0;
}

void FileText::Count(char c, TextInFile& text) const {
  const unsigned char length = fChars[static_cast<unsigned char>(c)].fileLength;
  text.length += length;
  text.blank = text.blank && (length == 0 || c == ' ');
}

TextInFile FileText::Prepare(std::string_view utf8, std::size_t width, const std::string& where,
                             std::string_view field, zor::AnsiString& ansi) {
  // Converted as zor::Utf8ToAnsi does and tallied in one pass, into storage
  // kept from call to call: this runs for every character of every payment.
  // Plain ASCII is the same in the file's code page: copied eight bytes at a time.
  ansi.resize(utf8.size());  // never more characters than bytes
  Tally tally;
  std::size_t at = 0;
  std::size_t written = 0;
  bool converted = true;
  while (at < utf8.size() && converted) {
    const std::size_t pieceEnd = std::min(utf8.size(), at + kTallyPiece);
    std::uint64_t sum = 0;
    while (at < pieceEnd && converted) {
      if (pieceEnd - at >= 8) {
        std::uint64_t word = bytescan::Load(utf8.data() + at);
        const std::uint64_t high = bytescan::HighBytes(word);
        // All eight bytes fit: written never passes at.
        std::memcpy(ansi.data() + written, utf8.data() + at, 8);
        if (high == 0) {
          for (int i = 0; i < 8; ++i, word >>= 8) sum += fTally[word & 0xFF];
          at += 8;
          written += 8;
          continue;
        }
        // The plain bytes before the first beyond ASCII are taken as copied.
        const std::size_t plain = bytescan::FirstMarked(high);
        for (std::size_t i = 0; i < plain; ++i, word >>= 8) sum += fTally[word & 0xFF];
        at += plain;
        written += plain;
      }
      auto c = static_cast<unsigned char>(utf8[at]);
      if (c >= 0x80) {
        c = Latin1LetterAt(utf8, at);
        converted = c != 0;
        ++at;
      }
      ++at;
      ansi[written++] = static_cast<char>(c);
      sum += fTally[c];
    }
    tally.Add(sum);
  }
  if (converted) {
    ansi.resize(written);
  } else {
    ansi = zor::Utf8ToAnsi(utf8);  // the rest of Windows-1252 is the library's
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
  if (tally.notKept) text = Rewrite(ansi, where, field);
  if (width > 0 && text.length > width) {
    fErrors.Add(where, std::string(field),
                Quoted(utf8) + " ist zu lang: in der Datei " + std::to_string(text.length) +
                    " Zeichen, das Feld fasst " + std::to_string(width) + ".");
  }
  return text;
}

bool FileText::LeftBlank(const TextInFile& text, std::string_view given, const std::string& where,
                         std::string_view field) {
  if (!text.blank || TrimmedView(given).empty()) return false;
  fErrors.Add(where, std::string(field),
              "Von " + Quoted(given) + " bleibt in der Datei nichts übrig.");
  return true;
}

TextInFile FileText::Rewrite(zor::AnsiString& ansi, const std::string& where,
                             std::string_view field) {
  std::string replaced;
  std::string dropped;
  fScratch.clear();
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    const CharFate& f = fChars[byte];
    switch (f.fate) {
      case Fate::kKept:
        fScratch += c;
        break;
      case Fate::kReplaced:
        fScratch += zor::AnsiBaseLetters(c, kUmlauts);
        AddOnce(replaced, c);
        break;
      case Fate::kDropped:
        fScratch += c;  // the library drops it
        AddOnce(dropped, c);
        break;
      case Fate::kLeftOut:
        AddOnce(dropped, c);
        break;
    }
  }
  ansi.swap(fScratch);
  TextInFile text;
  for (const char c : ansi) Count(c, text);

  Diagnostics& report = fStreng ? fErrors : fWarnings;
  const std::string prefix = fStreng ? "Mit --streng ein Fehler: " : "";
  if (!replaced.empty()) {
    std::string changes;
    for (const char c : replaced) {
      changes += (changes.empty() ? "" : ", ") + Shown(c) + (fStreng ? " würde zu " : " wird zu ") +
                 Quoted(zor::UpperCase(zor::AnsiBaseLetters(c, kUmlauts)));
    }
    report.Add(where, std::string(field), prefix + changes + ".");
  }
  if (!dropped.empty()) {
    std::string shown;
    for (const char c : dropped) shown += (shown.empty() ? "" : " ") + Shown(c);
    report.Add(where, std::string(field),
               prefix + (fStreng ? "diese Zeichen fielen weg: " : "Diese Zeichen fallen weg: ") +
                   shown + ".");
  }
  return text;
}

}  // namespace zcli
