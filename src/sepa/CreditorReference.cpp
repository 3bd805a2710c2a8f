#include "zordta/CreditorReference.h"

#include <algorithm>
#include <cstdint>

#include "core/MessageFill.h"
#include "dtazv/BankIdentifiers.h"
#include "sepa/SepaMessages.h"
#include "zordta/Printable.h"
#include "zordta/host/Text.h"

namespace zor {

namespace {

using detail::Fill;
using namespace detail::msgsepa;

constexpr std::size_t kMaxReference = 21;

bool IsLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsWithRf(std::string_view text) {
  return text.size() >= 2 && (text[0] == 'R' || text[0] == 'r') &&
         (text[1] == 'F' || text[1] == 'f');
}

}  // namespace

std::string CreditorReferenceProblem(std::string_view reference) {
  if (reference.size() < 5 || !StartsWithRf(reference)) {
    return Fill(_MsgSepaNotACreditorReference, {PrintableText(reference)});
  }
  std::string text;
  if (!detail::dtazv::WritableInCapitals(reference, text)) {
    // The whole character, where it takes several bytes of UTF-8.
    const auto bad = std::find_if_not(reference.begin(), reference.end(), IsLetterOrDigit);
    const std::size_t at = static_cast<std::size_t>(bad - reference.begin());
    char32_t codePoint = 0;
    const std::size_t size = DecodeUtf8(reference, at, codePoint);
    return Fill(_MsgSepaCreditorReferenceCharacter,
                {PrintableText(reference.substr(at, size == 0 ? 1 : size))});
  }
  if (text[2] < '0' || text[2] > '9' || text[3] < '0' || text[3] > '9') {
    return Fill(_MsgSepaCreditorReferenceCheckPlace, {text.substr(2, 2)});
  }
  if (text.size() - 4 > kMaxReference) {
    return Fill(_MsgSepaCreditorReferenceLength, {std::to_string(text.size() - 4)});
  }
  // The check of ISO 7064 MOD 97-10, the same as an IBAN's: the first four
  // characters go to the end, the letters count 10 to 35.
  if (detail::dtazv::IBANMod97(text) != 1) {
    return Fill(_MsgSepaCreditorReferenceCheckDigits, {text.substr(2, 2)});
  }
  return {};
}

std::string MakeCreditorReference(std::string_view reference) {
  std::string capitals;
  if (reference.empty() || reference.size() > kMaxReference ||
      !detail::dtazv::WritableInCapitals(reference, capitals)) {
    return {};
  }
  std::string text = "RF00" + capitals;
  const std::int32_t remainder = detail::dtazv::IBANMod97(text);
  const std::int32_t check = 98 - remainder;
  text[2] = static_cast<char>('0' + check / 10);
  text[3] = static_cast<char>('0' + check % 10);
  return text;
}

}  // namespace zor
