#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "host/Cp1252.h"
#include "host/PosixDateFormat.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {
namespace {

// Each category on its own: one missing locale (say LC_MESSAGES) must not cost the others.
// A category whose locale cannot be loaded reads as "C".
locale_t LoadCategory(int mask) {
  locale_t locale = newlocale(mask, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) locale = newlocale(mask, "C", static_cast<locale_t>(0));
  return locale;
}

void ReadNumeric(TFormatSettings& settings) {
  const locale_t locale = LoadCategory(LC_NUMERIC_MASK);
  if (locale == static_cast<locale_t>(0)) return;
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  // A multi-byte separator (U+066B and the like) cannot be one char; '.' is the safe guess.
  if (radix && std::strlen(radix) == 1 && static_cast<unsigned char>(radix[0]) < 0x80) {
    settings.DecimalSeparator = radix[0];
  }
  freelocale(locale);
}

// ShortDateFormat is Windows-1252 like all the library's 8-bit text. Literals it lacks
// (such as "年") are left out rather than turned into "?" that would pass for a separator.
std::string Cp1252Literals(std::string_view utf8) {
  std::string ansi;
  for (char16_t unit : Utf8ToUtf16(utf8)) {
    const unsigned char byte = detail::UnicodeToCp1252(unit);
    if (byte != '?' || unit == u'?') ansi += static_cast<char>(byte);
  }
  return ansi;
}

void ReadTime(TFormatSettings& settings) {
  // LC_CTYPE tells the code set the pattern's literals are in.
  locale_t locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) locale = LoadCategory(LC_TIME_MASK);
  if (locale == static_cast<locale_t>(0)) return;
  const char* pattern = nl_langinfo_l(D_FMT, locale);
  const char* codeset = nl_langinfo_l(CODESET, locale);
  std::string ansi = pattern ? pattern : "";
  if (codeset && std::strcmp(codeset, "UTF-8") == 0) ansi = Cp1252Literals(ansi);
  freelocale(locale);

  detail::ShortDateSettings converted = detail::ShortDateFromPosix(ansi);
  if (converted.format.empty()) return;
  settings.ShortDateFormat = std::move(converted.format);
  settings.DateSeparator = converted.separator;
}

TFormatSettings FromLocale() {
  TFormatSettings settings;
  ReadNumeric(settings);
  ReadTime(settings);
  return settings;
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = FromLocale();
  return settings;
}

}  // namespace zor
