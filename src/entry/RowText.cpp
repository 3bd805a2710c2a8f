#include "zordta/entry/RowText.h"

#include "core/MessageFill.h"
#include "entry/RowMessages.h"
namespace zor::entry {

using zor::detail::Fill;

RowText::RowText(const zor::TZorDTA& dta, bool streng, Diagnostics& errors, Diagnostics& warnings)
    : fErrors(errors),
      fWarnings(warnings),
      fText(dta, streng, [this](const zor::FileTextIssue& issue) { File(issue); }) {
  SpareUnkept();
}

RowText::RowText(const zor::TZorDTAZV& zv, bool streng, Diagnostics& errors, Diagnostics& warnings)
    : fErrors(errors),
      fWarnings(warnings),
      fText(zv, streng, [this](const zor::FileTextIssue& issue) { File(issue); }) {
  SpareUnkept();
}

// A file refused row by row has an issue in every row: only those kept have
// their texts made.
void RowText::SpareUnkept() {
  fText.SetWanted([this](bool fault) { return (fault ? fErrors : fWarnings).Keeps(*fWhere); });
}

TextInFile RowText::Prepare(std::string_view utf8, std::size_t width, const std::string& where,
                            std::string_view field, zor::AnsiString& ansi) {
  fWhere = &where;
  return fText.Prepare(utf8, width, field, ansi);
}

bool RowText::LeftBlank(const TextInFile& text, std::string_view given, const std::string& where,
                        std::string_view field) {
  fWhere = &where;
  return fText.LeftBlank(text, given, field);
}

void RowText::File(const zor::FileTextIssue& issue) {
  const bool change = issue.kind == zor::FileTextIssueKind::Replaced ||
                      issue.kind == zor::FileTextIssueKind::Dropped;
  if (Diagnostics& to = issue.fault ? fErrors : fWarnings; !to.Keeps(*fWhere)) {
    to.AddNotKept(*fWhere);
    return;
  }
  if (!issue.fault) {
    fWarnings.Add(*fWhere, std::string(issue.field), issue.message);
  } else if (!change) {
    fErrors.Add(*fWhere, std::string(issue.field), issue.message);
  } else {
    // A change is a fault only when strict; the library's sentence goes on
    // after the colon.
    std::string message = issue.message;
    if (message[0] >= 'A' && message[0] <= 'Z')
      message[0] = static_cast<char>(message[0] - 'A' + 'a');
    fErrors.Add(*fWhere, std::string(issue.field), Fill(_MsgRowStrictChange, {message}));
  }
}

}  // namespace zor::entry
