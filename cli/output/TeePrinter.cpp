#include "output/TeePrinter.h"

#include <exception>
#include <utility>

namespace zcli {

class TeePrinter::TeeCanvas : public zor::TCanvas {
 public:
  std::vector<zor::TCanvas*> targets;

  void SetMapMode(int mode) override {
    TCanvas::SetMapMode(mode);
    for (zor::TCanvas* t : targets) t->SetMapMode(mode);
  }
  void SetFontName(const zor::String& name) override {
    TCanvas::SetFontName(name);
    for (zor::TCanvas* t : targets) t->SetFontName(name);
  }
  void SetFontHeight(std::int32_t height) override {
    TCanvas::SetFontHeight(height);
    for (zor::TCanvas* t : targets) t->SetFontHeight(height);
  }
  void SetPenWidth(std::int32_t width) override {
    TCanvas::SetPenWidth(width);
    for (zor::TCanvas* t : targets) t->SetPenWidth(width);
  }
  void TextOut(std::int32_t x, std::int32_t y, const zor::String& text) override {
    for (zor::TCanvas* t : targets) t->TextOut(x, y, text);
  }
  void MoveTo(std::int32_t x, std::int32_t y) override {
    for (zor::TCanvas* t : targets) t->MoveTo(x, y);
  }
  void LineTo(std::int32_t x, std::int32_t y) override {
    for (zor::TCanvas* t : targets) t->LineTo(x, y);
  }
};

TeePrinter::TeePrinter(std::vector<Target> targets)
    : fTargets(std::move(targets)), fCanvas(std::make_unique<TeeCanvas>()) {}

TeePrinter::~TeePrinter() = default;

// A target that fails drops out; the others still get the page, so a queue that
// is down costs the PDF nothing. The first failure is raised once all are done.
void TeePrinter::BeginDoc() {
  fCanvas->targets.clear();
  fActive.assign(fTargets.size(), false);
  fFailure = nullptr;
  for (std::size_t i = 0; i < fTargets.size(); ++i) {
    zor::TPrinter& printer = *fTargets[i].printer;
    printer.SetCopies(fTargets[i].singleCopy ? 1 : Copies());
    try {
      printer.BeginDoc();
    } catch (...) {
      if (!fFailure) fFailure = std::current_exception();
      continue;
    }
    fActive[i] = true;
    fCanvas->targets.push_back(&printer.Canvas());
  }
  if (fCanvas->targets.empty()) std::rethrow_exception(fFailure);
  SetPrinting(true);
}

void TeePrinter::EndDoc() {
  for (std::size_t i = 0; i < fTargets.size(); ++i) {
    if (!fActive[i]) continue;
    fActive[i] = false;
    try {
      fTargets[i].printer->EndDoc();
    } catch (...) {
      if (!fFailure) fFailure = std::current_exception();
    }
  }
  SetPrinting(false);
  fCanvas->targets.clear();
  if (fFailure) std::rethrow_exception(std::exchange(fFailure, nullptr));
}

void TeePrinter::Abort() {
  for (std::size_t i = 0; i < fTargets.size(); ++i) {
    if (fActive[i] && fTargets[i].printer->Printing()) fTargets[i].printer->Abort();
    fActive[i] = false;
  }
  fCanvas->targets.clear();
  fFailure = nullptr;
  SetPrinting(false);
}

zor::TCanvas& TeePrinter::Canvas() {
  return *fCanvas;
}

}  // namespace zcli
