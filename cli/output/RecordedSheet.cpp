#include "output/RecordedSheet.h"

#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

SheetRecorder::SheetRecorder() : fPrinter(std::make_shared<zor::TRecordingPrinter>()) {
  zor::SetPrinter(fPrinter);
}

SheetRecorder::~SheetRecorder() {
  zor::SetPrinter(nullptr);
}

const zor::TRecordingPrinter::Document& SheetRecorder::Sheet() const {
  if (fPrinter->Documents().empty()) {
    throw zor::Exception(zor::StringFromUtf8("Der Begleitzettel wurde nicht erstellt."));
  }
  return fPrinter->Documents().back();
}

const std::vector<zor::TRecordingPrinter::Document>& SheetRecorder::Sheets() const {
  return fPrinter->Documents();
}

void PrintRecorded(const zor::TRecordingPrinter::Document& sheet, zor::TPrinter& printer,
                   std::int32_t copies) {
  printer.SetCopies(copies);
  printer.BeginDoc();
  try {
    zor::TCanvas& canvas = printer.Canvas();
    for (const zor::TPrintOperation& op : sheet.operations) {
      switch (op.kind) {
        case zor::TPrintOperation::MapMode:
          canvas.SetMapMode(op.x);
          break;
        case zor::TPrintOperation::FontName:
          canvas.SetFontName(op.text);
          break;
        case zor::TPrintOperation::FontHeight:
          canvas.SetFontHeight(op.x);
          break;
        case zor::TPrintOperation::PenWidth:
          canvas.SetPenWidth(op.x);
          break;
        case zor::TPrintOperation::TextOut:
          canvas.TextOut(op.x, op.y, op.text);
          break;
        case zor::TPrintOperation::MoveTo:
          canvas.MoveTo(op.x, op.y);
          break;
        case zor::TPrintOperation::LineTo:
          canvas.LineTo(op.x, op.y);
          break;
        case zor::TPrintOperation::BeginDoc:
        case zor::TPrintOperation::EndDoc:
          break;
      }
    }
  } catch (...) {
    printer.Abort();
    throw;
  }
  printer.EndDoc();
}

void WritePdfSheet(const zor::TRecordingPrinter::Document& sheet, const std::string& path) {
  zor::TPdfPrinter pdf(zor::StringFromUtf8(path));
  PrintRecorded(sheet, pdf, 1);
}

void PrintOnQueue(const zor::TRecordingPrinter::Document& sheet, const std::string& queue,
                  std::int32_t copies) {
  zor::TCupsPrinter paper(zor::StringFromUtf8(queue));
  PrintRecorded(sheet, paper, copies);
}

}  // namespace zcli
