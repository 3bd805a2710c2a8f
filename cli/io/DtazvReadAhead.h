// The payments of a DTAZV file, read on a thread of their own a batch ahead of
// the caller. Reading and checking the records is a third of converting them;
// on a second core it no longer adds to the conversion's time.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "zordta/DtazvReader.h"

namespace zcli {

using DtazvPaymentTaker =
    std::function<void(const zor::DtazvPayment&, std::span<const zor::DtazvReport>)>;

/// As zor::ReadDtazvPayments of the file at `path`: `header` gets record Q,
/// `take` every record T with its reports, on the caller's thread and in the
/// file's order. What the reading raises (a refused record, a file that cannot
/// be read) is raised after the payments before it were taken; what a callback
/// raises ends the reading.
void ReadDtazvPaymentsAhead(const std::string& path,
                            const std::function<void(const zor::DtazvHeader&)>& header,
                            const DtazvPaymentTaker& take);

}  // namespace zcli
