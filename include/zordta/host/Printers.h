// The printer the cover sheets are printed on: a canvas with the metric mapping
// mode, and three backends (a recording one for tests, a PDF file, a CUPS queue).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "zordta/host/Types.h"

namespace zor {

/// Mapping modes of a canvas.
inline constexpr int MM_TEXT = 1;
/// One logical unit is 0.1 mm; x grows to the right, y upwards from the top
/// edge of the printable area, so every point on the page has a negative y.
inline constexpr int MM_LOMETRIC = 2;

/// Where a printer draws. Font and pen settings apply to the operations after them.
class ZORDTA_API TCanvas {
 public:
  virtual ~TCanvas();

  int MapMode() const { return fMapMode; }
  virtual void SetMapMode(int mode) { fMapMode = mode; }
  const String& FontName() const { return fFontName; }
  virtual void SetFontName(const String& name) { fFontName = name; }
  /// Font height in logical units (0.1 mm in MM_LOMETRIC).
  std::int32_t FontHeight() const { return fFontHeight; }
  virtual void SetFontHeight(std::int32_t height) { fFontHeight = height; }
  /// Pen width in logical units.
  std::int32_t PenWidth() const { return fPenWidth; }
  virtual void SetPenWidth(std::int32_t width) { fPenWidth = width; }

  /// Text with its top-left corner at (x, y).
  virtual void TextOut(std::int32_t x, std::int32_t y, const String& text) = 0;
  virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
  /// A line from the current point to (x, y), which becomes the current point.
  virtual void LineTo(std::int32_t x, std::int32_t y) = 0;

 private:
  int fMapMode = MM_TEXT;
  String fFontName;
  std::int32_t fFontHeight = 0;
  std::int32_t fPenWidth = 1;
};

/// A printer: one document at a time, printed in Copies() copies.
class ZORDTA_API TPrinter {
 public:
  virtual ~TPrinter();

  std::int32_t Copies() const { return fCopies; }
  void SetCopies(std::int32_t copies) { fCopies = copies; }
  /// The document's name: the job name in the print queue, the PDF file's title.
  const String& Title() const { return fTitle; }
  void SetTitle(const String& title) { fTitle = title; }
  bool Printing() const { return fPrinting; }

  /// Starts a document; raises Exception when there is no printer to print on.
  virtual void BeginDoc() = 0;
  /// Ends the document and hands it to the printer; raises Exception on failure.
  virtual void EndDoc() = 0;
  /// Drops the document without printing it.
  virtual void Abort() = 0;
  /// The canvas of the current document's page.
  virtual TCanvas& Canvas() = 0;

 protected:
  void SetPrinting(bool printing) { fPrinting = printing; }

 private:
  std::int32_t fCopies = 1;
  bool fPrinting = false;
  String fTitle;
};

/// The process-wide printer. Unless the host installed one, this is the default
/// CUPS queue (when the library was built with CUPS), else a printer whose
/// BeginDoc raises "Es ist kein Drucker installiert."
ZORDTA_API TPrinter& Printer();
/// Replaces the process-wide printer; nullptr restores the default.
ZORDTA_API void SetPrinter(std::shared_ptr<TPrinter> printer);

/// One drawing operation as the recording printer keeps it.
struct TPrintOperation {
  enum Kind { BeginDoc, EndDoc, MapMode, FontName, FontHeight, PenWidth, TextOut, MoveTo, LineTo };
  Kind kind;
  std::int32_t x = 0;  ///< position; the value for MapMode, FontHeight, PenWidth
  std::int32_t y = 0;
  String text;  ///< TextOut's text, FontName's name
};

/// Keeps every operation of every document, in order; for tests and previews.
class ZORDTA_API TRecordingPrinter : public TPrinter {
 public:
  struct Document {
    std::int32_t copies = 0;
    std::vector<TPrintOperation> operations;
  };

  TRecordingPrinter();
  ~TRecordingPrinter() override;

  void BeginDoc() override;
  void EndDoc() override;
  void Abort() override;
  TCanvas& Canvas() override;

  /// The finished documents, oldest first.
  const std::vector<Document>& Documents() const { return fDocuments; }

 private:
  class RecordingCanvas;
  std::unique_ptr<RecordingCanvas> fCanvas;
  std::vector<Document> fDocuments;
  Document fCurrent;
};

/// Renders each document as an A4 PDF file (cairo), one page per copy.
/// Raises Exception when the library was built without cairo or the file cannot
/// be written. "Times New Roman" resolves through fontconfig to a metric-compatible face.
class ZORDTA_API TPdfPrinter : public TPrinter {
 public:
  explicit TPdfPrinter(const String& fileName);
  ~TPdfPrinter() override;

  void BeginDoc() override;
  void EndDoc() override;
  void Abort() override;
  TCanvas& Canvas() override;

  const String& FileName() const { return fFileName; }
  void SetFileName(const String& fileName) { fFileName = fileName; }

 private:
  class Impl;
  String fFileName;
  std::unique_ptr<Impl> fImpl;
};

/// Prints on a CUPS queue (the default queue when the name is empty): renders
/// the page and submits one job with Copies() as the job's copy count. Raises
/// Exception when the library was built without CUPS, the queue does not
/// exist or the job fails.
class ZORDTA_API TCupsPrinter : public TPrinter {
 public:
  explicit TCupsPrinter(const String& queue = String());
  ~TCupsPrinter() override;

  void BeginDoc() override;
  void EndDoc() override;
  void Abort() override;
  TCanvas& Canvas() override;

  const String& Queue() const { return fQueue; }
  /// The id of the last job submitted, 0 before the first.
  int LastJobId() const { return fLastJobId; }

 private:
  class Impl;
  String fQueue;
  int fLastJobId = 0;
  std::unique_ptr<Impl> fImpl;
};

}  // namespace zor
