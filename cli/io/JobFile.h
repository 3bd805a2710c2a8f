// Job files: one JSON object with the client's data, the settings of the file and
// its payments ("buchungen"), or, where the kind allows it, a list of such
// objects ("dateien") for the files written one after another into one. The
// loader checks the shape and the text; what the values mean is for the payment
// kind to decide.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "io/EntryNames.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/JobSchema.h"

namespace zcli {

/// How the file `number` (1-based) of a job of several is named in messages.
std::string FilePlace(std::size_t number);

/// Unknown keys are reported, not ignored: a misspelt key would otherwise drop a
/// value without a word.
Job LoadJob(std::string_view text, const JobSchema& schema, Diagnostics& errors);

}  // namespace zcli
