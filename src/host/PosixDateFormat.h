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

inline ShortDateSettings ShortDateFromPosix(std::string_view pattern) {
  ShortDateSettings result;
  bool separatorFound = false;
  bool afterConversion = false;
  std::string letters;  // literal letters, quoted so that FormatDateTime keeps them
  const auto flushLetters = [&] {
    if (!letters.empty()) result.format += '"' + letters + '"';
    letters.clear();
  };
  const auto literal = [&](char c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter) {
      letters += c;
      return;
    }
    flushLetters();
    if (c == '"') {
      result.format += "'\"'";
    } else if (c == '\'') {
      result.format += "\"'\"";
    } else {
      result.format += c;
    }
    const auto code = static_cast<unsigned char>(c);
    if (afterConversion && !separatorFound && code > 0x20 && code < 0x7F &&
        !(c >= '0' && c <= '9')) {
      result.separator = c;
      separatorFound = true;
    }
  };
  const auto token = [&](std::string_view text) {
    flushLetters();
    result.format += text;
    afterConversion = true;
  };

  bool hasDate = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      literal(pattern[i]);
      continue;
    }
    char conversion = pattern[++i];
    // %E and %O only ask for alternative digits or eras.
    if ((conversion == 'E' || conversion == 'O') && i + 1 < pattern.size()) {
      conversion = pattern[++i];
    }
    switch (conversion) {
      case 'd':
      case 'e':
        token("dd");
        hasDate = true;
        break;
      case 'm':
      case 'b':  // month names have no token here; the number is the closest
      case 'B':
      case 'h':
        token("mm");
        hasDate = true;
        break;
      case 'y':
        token("yy");
        hasDate = true;
        break;
      case 'Y':
        token("yyyy");
        hasDate = true;
        break;
      case 'F':
        token("yyyy");
        literal('-');
        token("mm");
        literal('-');
        token("dd");
        hasDate = true;
        break;
      case 'D':
        token("mm");
        literal('/');
        token("dd");
        literal('/');
        token("yy");
        hasDate = true;
        break;
      case '%':
        literal('%');
        break;
      default:  // weekday names and the like: left out
        break;
    }
  }
  flushLetters();
  if (!hasDate) return {};
  return result;
}

}  // namespace zor::detail
