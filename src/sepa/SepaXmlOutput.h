// What the SEPA writer and the foreign-transfer writer write alike: the
// libxml2 text writer into a stream, amounts and the creation time.
#pragma once

#include <libxml/xmlwriter.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace zor::detail {

struct FreeXmlWriter {
  void operator()(xmlTextWriterPtr writer) const { xmlFreeTextWriter(writer); }
};
/// Freeing it closes its output buffer, which flushes the stream.
using SepaXmlWriter = std::unique_ptr<xmlTextWriter, FreeXmlWriter>;

/// A text writer into `out`; refuses with SepaFault::Stream when none can be made.
SepaXmlWriter OpenSepaXmlWriter(std::ostream& out);

/// "1234.50", for amounts and sums, which are never negative.
std::string SepaAmountText(std::int64_t hundredths);

/// CreDtTm: the time given, else now.
std::string SepaCreationTime(const std::optional<std::chrono::local_seconds>& time);

}  // namespace zor::detail
