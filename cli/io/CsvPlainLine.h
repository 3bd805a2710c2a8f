// The common CSV line, split without libcsv: a row on one line whose quoted
// cells hold no quote of their own. libcsv spends some forty instructions a
// byte on its state machine and a callback per cell; such a line needs a
// search for the delimiter. Every other line is left to libcsv.
#pragma once

#include <string_view>
#include <vector>

namespace zcli {

/// Splits one physical line (with its line break, if it has one) into the
/// cells libcsv gives for it when a row starts there, as views into `line`.
/// Answers false, with `cells` unspecified, where libcsv must decide: a quote
/// inside a cell, a quoted cell that is not closed on the line, a text after
/// a closing quote, a CR other than that of a closing CR LF, and a line of
/// nothing but blanks (of which libcsv makes no row).
bool SplitPlainCsvLine(std::string_view line, char delimiter, std::vector<std::string_view>& cells);

}  // namespace zcli
