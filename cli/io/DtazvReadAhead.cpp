#include "io/DtazvReadAhead.h"

#include <istream>
#include <optional>
#include <vector>

#include "io/FileBytes.h"
#include "io/ReadAhead.h"

namespace zcli {

namespace {

// Record Q, or a record T with its reports.
struct Read {
  std::optional<zor::DtazvHeader> header;
  zor::DtazvPayment payment;
  std::vector<zor::DtazvReport> reports;
};

}  // namespace

void ReadDtazvPaymentsAhead(const std::string& path,
                            const std::function<void(const zor::DtazvHeader&)>& header,
                            const DtazvPaymentTaker& take) {
  ReadAhead<Read>(
      [&path](const std::function<Read&()>& next) {
        SummedFileBuffer buffer(path);
        std::istream in(&buffer);
        zor::DtazvReader reader(in);
        zor::ReadDtazvPayments(
            reader, [&](const zor::DtazvHeader& q) { next().header = q; },
            [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports) {
              Read& read = next();
              read.header.reset();
              read.payment = p;
              read.reports.assign(reports.begin(), reports.end());
            });
      },
      [&](const Read& read) {
        if (read.header) {
          header(*read.header);
        } else {
          take(read.payment, read.reports);
        }
      });
}

}  // namespace zcli
