#include <string>

#include "host/HostMessages.h"
#include "host/Posix.h"
#include "host/printer/PageRenderer.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Printers.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

class TPdfPrinter::Impl {
 public:
  detail::OperationCanvas canvas;
};

TPdfPrinter::TPdfPrinter(const String& fileName)
    : fFileName(fileName), fImpl(std::make_unique<Impl>()) {}

TPdfPrinter::~TPdfPrinter() = default;

void TPdfPrinter::BeginDoc() {
#if !ZORDTA_HAVE_CAIRO
  throw Exception(StringFromUtf8(detail::hostmsg::kCannotPrint));
#endif
  fImpl->canvas.StartPage();
  SetPrinting(true);
}

void TPdfPrinter::EndDoc() {
  if (!Printing()) return;
  SetPrinting(false);
#if ZORDTA_HAVE_CAIRO
  // Copies are pages: cairo cannot store a copy count in the file's print settings.
  const int pages = Copies() > 1 ? Copies() : 1;
  std::string pdf;
  const bool rendered = detail::RenderPdf(fImpl->canvas.StartState(), fImpl->canvas.Operations(),
                                          pages, Title(), pdf);
  fImpl->canvas.StartPage();
  // Written whole or not at all: a reader never sees half a PDF.
  if (!rendered || detail::ReplaceFileContent(StringToUtf8(fFileName), pdf,
                                              detail::CurrentFileSystemOps()) != 0) {
    throw Exception(Format(StringFromUtf8(detail::hostmsg::kPdfWriteError), {fFileName}));
  }
#endif
}

void TPdfPrinter::Abort() {
  fImpl->canvas.StartPage();
  SetPrinting(false);
}

TCanvas& TPdfPrinter::Canvas() {
  return fImpl->canvas;
}

}  // namespace zor
