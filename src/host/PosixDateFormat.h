// The locale's date pattern (strftime syntax, as nl_langinfo(D_FMT) gives it) in
// FormatDateTime syntax. Header-only, so the tests can check it without a locale.
#pragma once

#include <string>
#include <string_view>

namespace zor::detail {

struct ShortDateSettings {
  std::string format;  // empty when the pattern has no day, month or year
  char separator = '/';
};

// The pattern in FormatDateTime syntax as it is built: literal letters are
// quoted so that FormatDateTime keeps them; the first printable non-digit
// after a conversion is the date separator.
class ShortDateBuilder {
 public:
  void Literal(char c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter) {
      fLetters += c;
      return;
    }
    FlushLetters();
    if (c == '"') {
      fResult.format += "'\"'";
    } else if (c == '\'') {
      fResult.format += "\"'\"";
    } else {
      fResult.format += c;
    }
    const auto code = static_cast<unsigned char>(c);
    if (fAfterConversion && !fSeparatorFound && code > 0x20 && code < 0x7F &&
        !(c >= '0' && c <= '9')) {
      fResult.separator = c;
      fSeparatorFound = true;
    }
  }
  void Token(std::string_view text) {
    FlushLetters();
    fResult.format += text;
    fAfterConversion = true;
  }
  ShortDateSettings Finish() {
    FlushLetters();
    return fResult;
  }

 private:
  void FlushLetters() {
    if (!fLetters.empty()) fResult.format += '"' + fLetters + '"';
    fLetters.clear();
  }

  ShortDateSettings fResult;
  std::string fLetters;
  bool fSeparatorFound = false;
  bool fAfterConversion = false;
};

// One strftime conversion; false when it shows no part of a date.
inline bool ShortDateConversion(char conversion, ShortDateBuilder& out) {
  switch (conversion) {
    case 'd':
    case 'e':
      out.Token("dd");
      return true;
    case 'm':
    case 'b':  // month names have no token here; the number is the closest
    case 'B':
    case 'h':
      out.Token("mm");
      return true;
    case 'y':
      out.Token("yy");
      return true;
    case 'Y':
      out.Token("yyyy");
      return true;
    case 'F':
      out.Token("yyyy");
      out.Literal('-');
      out.Token("mm");
      out.Literal('-');
      out.Token("dd");
      return true;
    case 'D':
      out.Token("mm");
      out.Literal('/');
      out.Token("dd");
      out.Literal('/');
      out.Token("yy");
      return true;
    case '%':
      out.Literal('%');
      return false;
    default:  // weekday names and the like: left out
      return false;
  }
}

inline ShortDateSettings ShortDateFromPosix(std::string_view pattern) {
  ShortDateBuilder builder;
  bool hasDate = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      builder.Literal(pattern[i]);
      continue;
    }
    char conversion = pattern[++i];
    // %E and %O only ask for alternative digits or eras.
    if ((conversion == 'E' || conversion == 'O') && i + 1 < pattern.size()) {
      conversion = pattern[++i];
    }
    if (ShortDateConversion(conversion, builder)) hasDate = true;
  }
  ShortDateSettings result = builder.Finish();
  if (!hasDate) return {};
  return result;
}

}  // namespace zor::detail
