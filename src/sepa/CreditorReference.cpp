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

std::string Capitals(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

std::string CreditorReferenceProblem(std::string_view reference) {
  const std::string text = Capitals(reference);
  if (text.size() < 5 || text.compare(0, 2, "RF") != 0) {
    return Fill(_MsgSepaNotACreditorReference, {PrintableText(reference)});
  }
  const auto bad = std::find_if_not(text.begin(), text.end(), IsLetterOrDigit);
  if (bad != text.end()) {
    // The whole character, where it takes several bytes of UTF-8.
    const std::size_t at = static_cast<std::size_t>(bad - text.begin());
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
  if (reference.empty() || reference.size() > kMaxReference ||
      !std::all_of(reference.begin(), reference.end(), IsLetterOrDigit)) {
    return {};
  }
  std::string text = "RF00" + Capitals(reference);
  const std::int32_t remainder = detail::dtazv::IBANMod97(text);
  const std::int32_t check = 98 - remainder;
  text[2] = static_cast<char>('0' + check / 10);
  text[3] = static_cast<char>('0' + check % 10);
  return text;
}

}  // namespace zor
