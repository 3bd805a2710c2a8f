#include "sepa/SepaXmlOutput.h"

#include <charconv>
#include <cstdio>

#include "sepa/SepaMessages.h"
#include "sepa/SepaText.h"
#include "sepa/SepaValues.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail {

namespace {

int WriteToStream(void* context, const char* buffer, int length) {
  auto& out = *static_cast<std::ostream*>(context);
  out.write(buffer, length);
  return out ? length : -1;
}

int CloseStream(void* context) {
  auto& out = *static_cast<std::ostream*>(context);
  out.flush();
  return out ? 0 : -1;
}

}  // namespace

SepaXmlWriter OpenSepaXmlWriter(std::ostream& out) {
  xmlOutputBufferPtr buffer = xmlOutputBufferCreateIO(WriteToStream, CloseStream, &out, nullptr);
  if (buffer == nullptr) SepaRefuse(SepaFault::Stream, {}, msgsepa::_MsgSepaStream);
  SepaXmlWriter writer(xmlNewTextWriter(buffer));  // owns the buffer from here on
  if (writer == nullptr) {
    xmlOutputBufferClose(buffer);
    SepaRefuse(SepaFault::Stream, {}, msgsepa::_MsgSepaStream);
  }
  return writer;
}

std::string SepaAmountText(std::int64_t hundredths) {
  char text[32];
  char* end = std::to_chars(text, text + sizeof text - 3, hundredths / 100).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + hundredths % 100 / 10);
  *end++ = static_cast<char>('0' + hundredths % 10);
  return std::string(text, end);
}

std::string SepaCreationTime(const std::optional<std::chrono::local_seconds>& time) {
  if (!time) return FormatDateTime("yyyy-mm-dd\"T\"hh:nn:ss", Now());
  const auto days = std::chrono::floor<std::chrono::days>(*time);
  const std::chrono::hh_mm_ss clock(*time - days);
  char text[16];
  std::snprintf(text, sizeof text, "T%02d:%02d:%02d", static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return SepaIsoDate(std::chrono::year_month_day(days)) + text;
}

}  // namespace zor::detail
