#include <memory>
#include <mutex>
#include <utility>

#include "host/HostMessages.h"
#include "host/printer/PageRenderer.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Printers.h"
#include "zordta/host/Text.h"

namespace zor {

TCanvas::~TCanvas() = default;
TPrinter::~TPrinter() = default;

namespace {

// The default where nothing can print: the failure shows when a document starts.
class NoPrinter final : public TPrinter {
 public:
  void BeginDoc() override { throw Exception(StringFromUtf8(detail::hostmsg::kNoPrinter)); }
  void EndDoc() override {}
  void Abort() override {}
  TCanvas& Canvas() override { return fCanvas; }

 private:
  detail::OperationCanvas fCanvas;
};

struct PrinterSlot {
  std::mutex mutex;
  std::shared_ptr<TPrinter> printer;
};

PrinterSlot& Slot() {
  static PrinterSlot slot;
  return slot;
}

}  // namespace

TPrinter& Printer() {
  PrinterSlot& slot = Slot();
  std::lock_guard<std::mutex> lock(slot.mutex);
  // Made on first use, so that loading the library talks to no print server.
  if (!slot.printer) {
#if ZORDTA_HAVE_CUPS && ZORDTA_HAVE_CAIRO
    slot.printer = std::make_shared<TCupsPrinter>();
#else
    slot.printer = std::make_shared<NoPrinter>();
#endif
  }
  return *slot.printer;
}

void SetPrinter(std::shared_ptr<TPrinter> printer) {
  PrinterSlot& slot = Slot();
  std::shared_ptr<TPrinter> previous;
  {
    std::lock_guard<std::mutex> lock(slot.mutex);
    previous = std::exchange(slot.printer, std::move(printer));
  }
  // previous goes out of scope here, outside the lock: its destructor may be slow.
}

}  // namespace zor
