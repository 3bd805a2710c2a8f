// The text of a payment's field as its file will hold it: zor::FileText, its
// findings filed as diagnostics at the row they belong to. When strict, every
// change is an error, otherwise a warning.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "zordta/Config.h"
#include "zordta/FileText.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/entry/Diagnostics.h"

namespace zor::entry {

using TextInFile = zor::TextInFile;

class ZORDTA_API RowText {
 public:
  RowText(const zor::TZorDTA& dta, bool streng, Diagnostics& errors, Diagnostics& warnings);
  RowText(const zor::TZorDTAZV& zv, bool streng, Diagnostics& errors, Diagnostics& warnings);
  // The library reports back to this object.
  RowText(const RowText&) = delete;
  RowText& operator=(const RowText&) = delete;

  /// zor::FileText::Prepare, its findings filed under `where`.
  TextInFile Prepare(std::string_view utf8, std::size_t width, const std::string& where,
                     std::string_view field, zor::AnsiString& ansi);
  /// zor::FileText::LeftBlank, its error filed under `where`.
  bool LeftBlank(const TextInFile& text, std::string_view given, const std::string& where,
                 std::string_view field);

 private:
  void File(const zor::FileTextIssue& issue);
  void SpareUnkept();

  Diagnostics& fErrors;
  Diagnostics& fWarnings;
  const std::string* fWhere = nullptr;
  zor::FileText fText;
};

}  // namespace zor::entry
