#include "output/SheetPrinter.h"

#include <memory>

#include "output/TeePrinter.h"
#include "zordta/host/Printers.h"
#include "zordta/host/Text.h"

namespace zcli {

SheetPrinter::SheetPrinter(const SheetRequest& request) {
  std::shared_ptr<zor::TPrinter> pdf;
  std::shared_ptr<zor::TPrinter> paper;
  if (!request.pdfPath.empty()) {
    pdf = std::make_shared<zor::TPdfPrinter>(zor::StringFromUtf8(request.pdfPath));
  }
  if (request.print)
    paper = std::make_shared<zor::TCupsPrinter>(zor::StringFromUtf8(request.queue));

  if (pdf && paper) {
    zor::SetPrinter(
        std::make_shared<TeePrinter>(std::vector<TeePrinter::Target>{{pdf, true}, {paper, false}}));
    fCopies = request.copies;
  } else if (pdf) {
    zor::SetPrinter(pdf);
    fCopies = 1;
  } else if (paper) {
    zor::SetPrinter(paper);
    fCopies = request.copies;
  }
}

SheetPrinter::~SheetPrinter() {
  if (fCopies > 0) zor::SetPrinter(nullptr);
}

}  // namespace zcli
