// Records of the bank-code file, built field by field from the central bank's layout.
#pragma once

#include <string>

namespace banktest {

struct Bank {
  std::string code = "37040044";
  char mark = '1';
  std::string name = "Commerzbank";
  std::string bic = "COBADEFFXXX";
  std::string method = "13";
  char change = 'U';
  char deletion = '0';
  std::string successor = "00000000";
  std::string rule = "000000";  ///< empty: the version without IBAN rules
};

inline std::string Padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

/// One line of 168 characters (174 with the rule), ended by CR LF.
inline std::string Line(const Bank& b) {
  return b.code + b.mark + Padded(b.name, 58) + "10117" + Padded("Berlin", 35) +
         Padded(b.name, 27) + "12345" + Padded(b.bic, 11) + b.method + "000001" + b.change +
         b.deletion + b.successor + b.rule + "\r\n";
}

}  // namespace banktest
