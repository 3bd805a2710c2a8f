// The text the tool hands the library for a text field of a payment file: the
// library's zor::FileText, whose findings the tool files as its diagnostics.
// With --streng every change is an error, otherwise a warning.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "io/Diagnostics.h"
#include "zordta/FileText.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"

namespace zcli {

using TextInFile = zor::TextInFile;

class FileText {
 public:
  FileText(const zor::TZorDTA& dta, bool streng, Diagnostics& errors, Diagnostics& warnings);
  FileText(const zor::TZorDTAZV& zv, bool streng, Diagnostics& errors, Diagnostics& warnings);
  // The library reports back to this object.
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;

  /// zor::FileText::Prepare, its findings filed under `where`.
  TextInFile Prepare(std::string_view utf8, std::size_t width, const std::string& where,
                     std::string_view field, zor::AnsiString& ansi);
  /// zor::FileText::LeftBlank, its error filed under `where`.
  bool LeftBlank(const TextInFile& text, std::string_view given, const std::string& where,
                 std::string_view field);

 private:
  void File(const zor::FileTextIssue& issue);

  Diagnostics& fErrors;
  Diagnostics& fWarnings;
  const std::string* fWhere = nullptr;
  zor::FileText fText;
};

}  // namespace zcli
