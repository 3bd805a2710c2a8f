#include <string>

#include "host/HostMessages.h"
#include "host/printer/PageRenderer.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Printers.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

#if ZORDTA_HAVE_CUPS && ZORDTA_HAVE_CAIRO
#include <cups/cups.h>
#define ZORDTA_CAN_PRINT_CUPS 1
#else
#define ZORDTA_CAN_PRINT_CUPS 0
#endif

namespace zor {

class TCupsPrinter::Impl {
 public:
  detail::OperationCanvas canvas;
  std::string queue;  // resolved by BeginDoc; UTF-8
};

#if ZORDTA_CAN_PRINT_CUPS

namespace {

[[noreturn]] void RaiseJobFailed() {
  throw Exception(Format(StringFromUtf8(detail::hostmsg::kPrintJobFailed),
                         {StringFromUtf8(cupsLastErrorString())}));
}

class Connection {
 public:
  Connection()
      : fHttp(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000,
                           nullptr)) {}
  ~Connection() {
    if (fHttp) httpClose(fHttp);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  http_t* get() const { return fHttp; }

 private:
  http_t* fHttp;
};

class Options {
 public:
  ~Options() { cupsFreeOptions(fCount, fOptions); }
  Options() = default;
  Options(const Options&) = delete;
  Options& operator=(const Options&) = delete;
  void Add(const char* name, const std::string& value) {
    fCount = cupsAddOption(name, value.c_str(), fCount, &fOptions);
  }
  int count() const { return fCount; }
  cups_option_t* options() const { return fOptions; }

 private:
  int fCount = 0;
  cups_option_t* fOptions = nullptr;
};

}  // namespace

#endif  // ZORDTA_CAN_PRINT_CUPS

TCupsPrinter::TCupsPrinter(const String& queue) : fQueue(queue), fImpl(std::make_unique<Impl>()) {}

TCupsPrinter::~TCupsPrinter() = default;

void TCupsPrinter::BeginDoc() {
#if ZORDTA_CAN_PRINT_CUPS
  // Checked here rather than at EndDoc, so that nothing is drawn for a queue
  // that is not there; an unreachable server counts as no queue.
  const auto missing = [this] {
    return Exception(fQueue.empty()
                         ? StringFromUtf8(detail::hostmsg::kNoPrinter)
                         : Format(StringFromUtf8(detail::hostmsg::kPrinterNotFound), {fQueue}));
  };
  Connection connection;
  if (!connection.get()) throw missing();
  const std::string name = StringToUtf8(fQueue);
  cups_dest_t* dest =
      cupsGetNamedDest(connection.get(), name.empty() ? nullptr : name.c_str(), nullptr);
  if (!dest) throw missing();
  fImpl->queue = dest->name;
  cupsFreeDests(1, dest);
  fImpl->canvas.StartPage();
  SetPrinting(true);
#else
  throw Exception(StringFromUtf8(detail::hostmsg::kCannotPrint));
#endif
}

void TCupsPrinter::EndDoc() {
  if (!Printing()) return;
  SetPrinting(false);
#if ZORDTA_CAN_PRINT_CUPS
  // One page, one job; the queue makes the copies, so they stay one job.
  std::string pdf;
  const bool rendered =
      detail::RenderPdf(fImpl->canvas.StartState(), fImpl->canvas.Operations(), 1, Title(), pdf);
  fImpl->canvas.StartPage();
  if (!rendered) {
    throw Exception(Format(StringFromUtf8(detail::hostmsg::kPrintJobFailed),
                           {StringFromUtf8(detail::hostmsg::kPageRenderError)}));
  }

  Connection connection;
  if (!connection.get()) RaiseJobFailed();
  Options options;
  options.Add("copies", std::to_string(Copies() > 1 ? Copies() : 1));
  options.Add("media", "iso_a4_210x297mm");
  const std::string title = Title().empty() ? std::string("ZorDTA") : StringToUtf8(Title());
  const char* queue = fImpl->queue.c_str();
  const int job =
      cupsCreateJob(connection.get(), queue, title.c_str(), options.count(), options.options());
  if (job == 0) RaiseJobFailed();
  if (cupsStartDocument(connection.get(), queue, job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
          HTTP_STATUS_CONTINUE ||
      cupsWriteRequestData(connection.get(), pdf.data(), pdf.size()) != HTTP_STATUS_CONTINUE ||
      cupsFinishDocument(connection.get(), queue) > IPP_STATUS_OK_EVENTS_COMPLETE) {
    const Exception failure(Format(StringFromUtf8(detail::hostmsg::kPrintJobFailed),
                                   {StringFromUtf8(cupsLastErrorString())}));
    // A job without its document would wait in the queue for ever; the
    // connection may be stuck in the failed request, so a fresh one cancels.
    Connection again;
    if (again.get()) cupsCancelJob2(again.get(), queue, job, 1);
    throw failure;
  }
  fLastJobId = job;
#endif
}

void TCupsPrinter::Abort() {
  fImpl->canvas.StartPage();
  SetPrinting(false);
}

TCanvas& TCupsPrinter::Canvas() {
  return fImpl->canvas;
}

}  // namespace zor
