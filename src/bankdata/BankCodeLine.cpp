#include "bankdata/BankCodeLine.h"

#include <algorithm>

#include "bankdata/BankCodeMessages.h"
#include "core/MessageFill.h"
#include "zordta/host/Text.h"

namespace zor::detail::bankdata {
namespace {

using namespace msgbank;

// A field by its 1-based first and last column, as the central bank numbers them.
struct Field {
  const char* name;
  std::size_t first;
  std::size_t last;
};

constexpr Field kBankCode{"Bankleitzahl", 1, 8};
constexpr Field kMark{"Merkmal", 9, 9};
constexpr Field kName{"Bezeichnung", 10, 67};
constexpr Field kPostalCode{"PLZ", 68, 72};
constexpr Field kCity{"Ort", 73, 107};
constexpr Field kShortName{"Kurzbezeichnung", 108, 134};
constexpr Field kPan{"PAN", 135, 139};
constexpr Field kBic{"BIC", 140, 150};
constexpr Field kCheckMethod{"Prüfzifferberechnungsmethode", 151, 152};
constexpr Field kRecordNumber{"Datensatznummer", 153, 158};
constexpr Field kChange{"Änderungskennzeichen", 159, 159};
constexpr Field kDeletion{"Bankleitzahllöschung", 160, 160};
constexpr Field kSuccessor{"Nachfolge-Bankleitzahl", 161, 168};
constexpr Field kIbanRule{"IBAN-Regel", 169, 174};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}
bool AllDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), IsDigit);
}
bool AllBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// 8 or 11 capitals and digits, the first six capitals, blank-padded to 11.
bool IsBicField(std::string_view s) {
  const std::string_view bic = TrimRight(s);
  if (bic.size() != 8 && bic.size() != 11) return false;
  for (std::size_t i = 0; i < bic.size(); ++i) {
    if (!IsCapital(bic[i]) && (i < 6 || !IsDigit(bic[i]))) return false;
  }
  return true;
}

class LineReader {
 public:
  LineReader(std::string_view line, std::size_t lineNumber) : fLine(line), fNumber(lineNumber) {}

  std::string_view Raw(const Field& f) const {
    return fLine.substr(f.first - 1, f.last - f.first + 1);
  }

  // The field's text in UTF-8, trailing blanks removed.
  std::string Text(const Field& f) const { return AnsiToUtf8(AnsiString(TrimRight(Raw(f)))); }

  [[noreturn]] void Refuse(const Field& f) const {
    throw LineError(fNumber, Fill(_MsgBankField, {f.name, std::to_string(f.first),
                                                  std::to_string(f.last), Text(f)}));
  }

  std::string_view Require(const Field& f, bool valid) const {
    if (!valid) Refuse(f);
    return Raw(f);
  }

 private:
  std::string_view fLine;
  std::size_t fNumber;
};

BankCodeChange ChangeOf(char c) {
  switch (c) {
    case 'A':
      return BankCodeChange::Added;
    case 'D':
      return BankCodeChange::Deleted;
    case 'M':
      return BankCodeChange::Modified;
    default:
      return BankCodeChange::Unchanged;
  }
}

}  // namespace

BankCodeError LineError(std::size_t lineNumber, const std::string& text) {
  BankCodeErrorDetails details;
  details.line = lineNumber;
  return BankCodeError(BankCodeFault::File,
                       Fill(_MsgBankFileLine, {std::to_string(lineNumber), text}), details);
}

BankCodeLine ParseBankCodeLine(std::string_view line, std::size_t lineNumber) {
  if (line.size() != kRecordLength && line.size() != kRecordLengthWithRule) {
    throw LineError(lineNumber, Fill(_MsgBankLineLength, {std::to_string(line.size())}));
  }
  // Latin-1 text: control characters (C0, DEL, C1) mean a broken file.
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
      throw LineError(lineNumber,
                      Fill(_MsgBankLineCharacter, {std::to_string(i + 1), std::to_string(byte)}));
    }
  }

  const LineReader r(line, lineNumber);
  BankCodeLine out;
  BankCodeRecord& rec = out.record;
  rec.line = lineNumber;
  rec.bankCode = r.Require(kBankCode, AllDigits(r.Raw(kBankCode)));
  const char mark = r.Raw(kMark)[0];
  r.Require(kMark, mark == '1' || mark == '2');
  out.mainRecord = mark == '1';
  rec.name = r.Text(kName);
  r.Require(kName, !rec.name.empty());
  rec.postalCode = r.Require(kPostalCode, AllDigits(r.Raw(kPostalCode)));
  rec.city = r.Text(kCity);
  rec.shortName = r.Text(kShortName);
  r.Require(kPan, AllDigits(r.Raw(kPan)) || AllBlank(r.Raw(kPan)));
  rec.bic = TrimRight(r.Require(kBic, AllBlank(r.Raw(kBic)) || IsBicField(r.Raw(kBic))));
  const std::string_view method = r.Raw(kCheckMethod);
  rec.checkMethod = r.Require(kCheckMethod, std::all_of(method.begin(), method.end(), [](char c) {
                                return IsDigit(c) || IsCapital(c);
                              }));
  r.Require(kRecordNumber, AllDigits(r.Raw(kRecordNumber)));
  const char change = r.Raw(kChange)[0];
  r.Require(kChange, change == 'A' || change == 'D' || change == 'M' || change == 'U');
  rec.change = ChangeOf(change);
  const char deletion = r.Raw(kDeletion)[0];
  r.Require(kDeletion, deletion == '0' || deletion == '1');
  rec.deletionPlanned = deletion == '1';
  const std::string_view successor = r.Require(kSuccessor, AllDigits(r.Raw(kSuccessor)));
  if (successor != "00000000") rec.successor = successor;
  if (line.size() == kRecordLengthWithRule) {
    const std::string_view rule = r.Require(kIbanRule, AllDigits(r.Raw(kIbanRule)));
    rec.ibanRule = IbanRule{std::stoi(std::string(rule.substr(0, 4))),
                            std::stoi(std::string(rule.substr(4, 2)))};
  }
  return out;
}

}  // namespace zor::detail::bankdata
