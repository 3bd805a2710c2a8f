#include "host/printer/PageRenderer.h"
#include "zordta/host/Printers.h"

namespace zor {

class TRecordingPrinter::RecordingCanvas : public detail::OperationCanvas {};

TRecordingPrinter::TRecordingPrinter() : fCanvas(std::make_unique<RecordingCanvas>()) {}

TRecordingPrinter::~TRecordingPrinter() = default;

void TRecordingPrinter::BeginDoc() {
  // An unfinished document is dropped, as by Abort.
  fCanvas->StartPage();
  fCanvas->Add({TPrintOperation::BeginDoc, 0, 0, {}});
  SetPrinting(true);
}

void TRecordingPrinter::EndDoc() {
  if (!Printing()) return;
  fCanvas->Add({TPrintOperation::EndDoc, 0, 0, {}});
  fDocuments.push_back({Copies(), fCanvas->TakeOperations()});
  fCanvas->StartPage();
  SetPrinting(false);
}

void TRecordingPrinter::Abort() {
  fCanvas->StartPage();
  SetPrinting(false);
}

TCanvas& TRecordingPrinter::Canvas() {
  return *fCanvas;
}

}  // namespace zor
