#include "dtaus/PurposeLines.h"

#include "dtaus/Layout.h"
#include "host/TextTemplates.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail::dtaus {

void RemoveBlankLines(TStrings& lines) {
  // Blank: what Trim would leave empty.
  String scratch;
  for (int i = lines.Count() - 1; i >= 0; --i) {
    if (detail::TrimmedLeft(View<Char>(lines.StringsRef(i, scratch))).empty()) lines.Delete(i);
  }
}

void SplitSingleLongLine(TStrings& lines) {
  if (lines.Count() != 1) return;
  // The measure is the list's text, so the line break counts: a line of 26
  // characters is already "too long" and only loses its surrounding blanks.
  const String text = lines.Text();
  if (text.size() <= kTextWidth) return;

  TStringList pieces;
  for (std::size_t at = 0; at < text.size(); at += kTextWidth) {
    pieces.Add(text.substr(at, kTextWidth));
  }
  lines.SetText(Trim(pieces.Text()));
}

}  // namespace zor::detail::dtaus
