// Text, number and date functions with the host framework's semantics.
//
// Every text function comes twice: for 8-bit text (std::string_view in, std::string
// out) and for UTF-16 text (std::u16string_view in, std::u16string out), so one call
// works on payment data and on interface text in every build.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

#include "zordta/host/Types.h"

namespace zor {

// ---------------------------------------------------------------- format settings

/// Regional settings that Format, FormatDateTime, DateToStr and StrToFloat follow.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  /// Pattern for DateToStr, in FormatDateTime syntax; "/" stands for DateSeparator.
  std::string ShortDateFormat = "mm/dd/yyyy";
};

/// The process-wide settings, read from the process locale (LC_ALL, LC_NUMERIC,
/// LC_TIME, LANG) on first use. Hosts and tests may change them; change them before
/// components are used on other threads.
ZORDTA_API TFormatSettings& FormatSettings();

// ---------------------------------------------------------------- Format

/// One argument of Format: an integer, a floating-point number or a text.
class ZORDTA_API FormatArg {
 public:
  enum class Kind { Integer, Float, Ansi, Wide };

  template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
  FormatArg(T value) : fKind(Kind::Integer), fInteger(static_cast<std::int64_t>(value)) {}
  FormatArg(double value) : fKind(Kind::Float), fFloat(value) {}
  FormatArg(const char* text) : fKind(Kind::Ansi), fAnsi(text) {}
  FormatArg(const std::string& text) : fKind(Kind::Ansi), fAnsi(text) {}
  FormatArg(std::string_view text) : fKind(Kind::Ansi), fAnsi(text) {}
  FormatArg(const char16_t* text) : fKind(Kind::Wide), fWide(text) {}
  FormatArg(const std::u16string& text) : fKind(Kind::Wide), fWide(text) {}
  FormatArg(std::u16string_view text) : fKind(Kind::Wide), fWide(text) {}

  Kind kind() const { return fKind; }
  std::int64_t integer() const { return fInteger; }
  double floating() const { return fFloat; }
  std::string_view ansi() const { return fAnsi; }
  std::u16string_view wide() const { return fWide; }

 private:
  Kind fKind;
  std::int64_t fInteger = 0;
  double fFloat = 0;
  std::string_view fAnsi;
  std::u16string_view fWide;
};

using FormatArgs = std::initializer_list<FormatArg>;

/// Formats like the host framework: %[index:][-][width][.precision]type with the
/// types d, u, x, f, s and %%. Precision with d is the minimum number of digits
/// (leading zeros); with s the maximum length; with f the number of decimals. %f
/// rounds the exact binary value to nearest, an exact tie away from zero, and uses
/// FormatSettings().DecimalSeparator. 8-bit text arguments are Windows-1252.
/// Raises Exception when the format and the arguments do not fit together.
ZORDTA_API std::string Format(std::string_view format, FormatArgs args);
ZORDTA_API std::u16string Format(std::u16string_view format, FormatArgs args);

// ---------------------------------------------------------------- dates and clock

/// Supplies the current local date and time.
using TClock = std::function<TDateTime()>;
/// Replaces the clock behind Now and Date; an empty function restores the system clock.
ZORDTA_API void SetClock(TClock clock);

/// Current local date and time.
ZORDTA_API TDateTime Now();
/// Today's date without time of day.
ZORDTA_API TDate Date();

/// The date of year/month/day; raises Exception for an invalid date.
ZORDTA_API TDate EncodeDate(int year, int month, int day);
/// As EncodeDate, but answers false instead of raising.
ZORDTA_API bool TryEncodeDate(int year, int month, int day, TDate& date);
/// Year, month and day of a date; false for NaN, infinity or a date outside years 1 to 9999.
ZORDTA_API bool TryDecodeDate(TDateTime date, int& year, int& month, int& day);
/// As TryDecodeDate, but raises Exception for a date it cannot decode.
ZORDTA_API void DecodeDate(TDateTime date, int& year, int& month, int& day);

/// Formats a date with d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss, "/" (date
/// separator), ":" and quoted literals; "mm" right after h or hh means minutes.
/// Raises Exception for a date it cannot decode.
ZORDTA_API std::string FormatDateTime(std::string_view format, TDateTime date);
ZORDTA_API std::u16string FormatDateTime(std::u16string_view format, TDateTime date);

/// The date in FormatSettings().ShortDateFormat.
ZORDTA_API String DateToStr(TDateTime date);

// ---------------------------------------------------------------- numbers

ZORDTA_API String IntToStr(std::int64_t value);

/// Decimal integer with optional leading blanks and one sign; anything else raises
/// Exception ("'x' ist kein gültiger Integerwert."), as does a value beyond the type.
ZORDTA_API std::int32_t StrToInt(std::string_view text);
ZORDTA_API std::int32_t StrToInt(std::u16string_view text);
ZORDTA_API std::int64_t StrToInt64(std::string_view text);
ZORDTA_API std::int64_t StrToInt64(std::u16string_view text);
ZORDTA_API bool TryStrToInt64(std::string_view text, std::int64_t& value);
ZORDTA_API bool TryStrToInt64(std::u16string_view text, std::int64_t& value);

/// Decimal number with FormatSettings().DecimalSeparator; raises Exception otherwise.
ZORDTA_API double StrToFloat(std::string_view text);
ZORDTA_API double StrToFloat(std::u16string_view text);

// ---------------------------------------------------------------- text

/// Without leading and trailing blanks and control characters (every code <= 0x20).
ZORDTA_API std::string Trim(std::string_view text);
ZORDTA_API std::u16string Trim(std::u16string_view text);
ZORDTA_API std::string TrimLeft(std::string_view text);
ZORDTA_API std::u16string TrimLeft(std::u16string_view text);
ZORDTA_API std::string TrimRight(std::string_view text);
ZORDTA_API std::u16string TrimRight(std::u16string_view text);

/// a to z become A to Z; nothing else changes.
ZORDTA_API std::string UpperCase(std::string_view text);
ZORDTA_API std::u16string UpperCase(std::u16string_view text);
/// Locale-aware upper case: in 8-bit text the small/capital pairs of Windows-1252
/// (ä -> Ä, é -> É, š -> Š, ÿ -> Ÿ; ß and µ stay), in UTF-16 the same letters.
ZORDTA_API std::string AnsiUpperCase(std::string_view text);
ZORDTA_API std::u16string AnsiUpperCase(std::u16string_view text);

/// Replaces every occurrence of from by to (from may not be empty).
ZORDTA_API std::string StringReplaceAll(std::string_view text, std::string_view from,
                                        std::string_view to);
ZORDTA_API std::u16string StringReplaceAll(std::u16string_view text, std::u16string_view from,
                                           std::u16string_view to);

// ---------------------------------------------------------------- paths and files

/// The platform's path delimiter: backslash on Windows, slash elsewhere.
#if defined(_WIN32)
inline constexpr Char PathDelim = Char('\\');
#else
inline constexpr Char PathDelim = Char('/');
#endif

/// The drive part of a path ("A:" of "A:\DTAUS0.TXT", "\\server\share" of a UNC
/// path); empty when the path has none, as every POSIX path.
ZORDTA_API String ExtractFileDrive(const String& fileName);
/// True when a regular file of that name exists.
ZORDTA_API bool FileExists(const String& fileName);

}  // namespace zor
