#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/PrintTools.h"
#include "support/TestSupport.h"
#include "zordta/host/Printers.h"

namespace {

namespace fs = std::filesystem;
using zor::TPrintOperation;

// ---------------------------------------------------------------- recording

struct Op {
  Op(TPrintOperation::Kind k, std::int32_t px = 0, std::int32_t py = 0, std::string t = {})
      : kind(k), x(px), y(py), text(std::move(t)) {}
  TPrintOperation::Kind kind;
  std::int32_t x;
  std::int32_t y;
  std::string text;  // UTF-8
  bool operator==(const Op&) const = default;
};

std::vector<Op> Ops(const std::vector<TPrintOperation>& operations) {
  std::vector<Op> ops;
  for (const TPrintOperation& op : operations) {
    ops.push_back({op.kind, op.x, op.y, zor::StringToUtf8(op.text)});
  }
  return ops;
}

void PrintTwoLines(zor::TPrinter& printer) {
  zor::TCanvas& canvas = printer.Canvas();
  canvas.SetMapMode(zor::MM_LOMETRIC);
  canvas.SetFontName(ZT("Times New Roman"));
  canvas.SetFontHeight(48);
  canvas.TextOut(200, -200, ZT("Prüfsumme €"));
  canvas.SetPenWidth(2);
  canvas.MoveTo(200, -300);
  canvas.LineTo(1800, -300);
}

TEST(TRecordingPrinter, RecordsEveryOperationInOrderWithTheCopies) {
  zor::TRecordingPrinter printer;
  printer.SetCopies(3);
  printer.BeginDoc();
  EXPECT_TRUE(printer.Printing());
  PrintTwoLines(printer);
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());

  printer.SetCopies(1);
  printer.BeginDoc();
  printer.Canvas().TextOut(0, 0, ZT(""));
  printer.EndDoc();

  ASSERT_EQ(printer.Documents().size(), 2u);
  EXPECT_EQ(printer.Documents()[0].copies, 3);
  const std::vector<Op> expected = {
      {TPrintOperation::BeginDoc},
      {TPrintOperation::MapMode, zor::MM_LOMETRIC},
      {TPrintOperation::FontName, 0, 0, "Times New Roman"},
      {TPrintOperation::FontHeight, 48},
      {TPrintOperation::TextOut, 200, -200, "Prüfsumme €"},
      {TPrintOperation::PenWidth, 2},
      {TPrintOperation::MoveTo, 200, -300},
      {TPrintOperation::LineTo, 1800, -300},
      {TPrintOperation::EndDoc},
  };
  EXPECT_EQ(Ops(printer.Documents()[0].operations), expected);
  // Settings stay with the canvas; the second document starts clean.
  EXPECT_EQ(printer.Canvas().FontHeight(), 48);
  EXPECT_EQ(printer.Documents()[1].copies, 1);
  EXPECT_EQ(Ops(printer.Documents()[1].operations),
            (std::vector<Op>{{TPrintOperation::BeginDoc},
                             {TPrintOperation::TextOut, 0, 0, ""},
                             {TPrintOperation::EndDoc}}));
}

TEST(TRecordingPrinter, AbortDropsTheDocumentAndNothingOfItLeaksIntoTheNext) {
  zor::TRecordingPrinter printer;
  printer.BeginDoc();
  PrintTwoLines(printer);
  printer.Abort();
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(printer.Documents().empty());
  printer.EndDoc();  // nothing open: nothing to hand over
  EXPECT_TRUE(printer.Documents().empty());

  printer.BeginDoc();
  printer.Canvas().MoveTo(1, -1);
  printer.EndDoc();
  ASSERT_EQ(printer.Documents().size(), 1u);
  EXPECT_EQ(Ops(printer.Documents()[0].operations),
            (std::vector<Op>{{TPrintOperation::BeginDoc},
                             {TPrintOperation::MoveTo, 1, -1},
                             {TPrintOperation::EndDoc}}));
}

TEST(Printer, SetPrinterInstallsAndNullRestoresTheDefault) {
  auto recording = std::make_shared<zor::TRecordingPrinter>();
  zor::SetPrinter(recording);
  EXPECT_EQ(&zor::Printer(), recording.get());
  zor::Printer().BeginDoc();
  zor::Printer().EndDoc();
  EXPECT_EQ(recording->Documents().size(), 1u);

  zor::SetPrinter(nullptr);
  zor::TPrinter& fallback = zor::Printer();
  EXPECT_NE(&fallback, recording.get());
  EXPECT_EQ(&zor::Printer(), &fallback);
  if (auto* cups = dynamic_cast<zor::TCupsPrinter*>(&fallback)) {
    EXPECT_TRUE(cups->Queue().empty());
  } else {
    EXPECT_THROW_MESSAGE(fallback.BeginDoc(), ZT("Es ist kein Drucker installiert."));
    EXPECT_FALSE(fallback.Printing());
  }
}

// ---------------------------------------------------------------- PDF

constexpr double kPointsPer01mm = 72.0 / 254.0;

// A text as the cover sheet places it, in 0.1 mm.
struct Placed {
  std::int32_t x, y, height;
  const char* text;  // UTF-8
};

const Placed kTexts[] = {
    {200, -200, 48, "ZorDTA Begleitzettel"},
    {200, -400, 48, "Prüfsumme 1.234,56 €"},
    {1200, -600, 100, "Datum 08.12.2026"},
    {1500, -2800, 30, "Seite 1"},
};

void DrawSamplePage(zor::TCanvas& canvas) {
  canvas.SetMapMode(zor::MM_LOMETRIC);
  canvas.SetFontName(ZT("Times New Roman"));
  for (const Placed& t : kTexts) {
    canvas.SetFontHeight(t.height);
    canvas.TextOut(t.x, t.y, ZT(t.text));
  }
  canvas.SetPenWidth(5);
  canvas.MoveTo(200, -1000);
  canvas.LineTo(1800, -1000);
  canvas.SetPenWidth(20);
  canvas.MoveTo(1000, -1500);
  canvas.LineTo(1000, -2500);
}

class TPdfPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zor::TPdfPrinter probe(ZT((dir.path() / "probe.pdf").string()));
    if (printtest::BuiltWithoutPrinting(probe)) GTEST_SKIP() << "built without cairo";
  }

  fs::path Print(const std::string& name, int copies) {
    const fs::path file = dir.path() / name;
    zor::TPdfPrinter printer(ZT(file.string()));
    printer.SetCopies(copies);
    printer.SetTitle(ZT("Begleitzettel Prüfung"));
    printer.BeginDoc();
    DrawSamplePage(printer.Canvas());
    printer.EndDoc();
    return file;
  }

  zortest::TempDir dir;
};

TEST_F(TPdfPrinterTest, PlacesEveryWordWithinAMillimetreInATimesMetricFace) {
  if (!printtest::HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
  const fs::path file = Print("Begleitzettel.pdf", 1);
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(printtest::PageCount(file), 1);
  EXPECT_NE(printtest::Run("pdfinfo " + printtest::Quote(file.string())).find("(A4)"),
            std::string::npos);
  EXPECT_NE(
      printtest::Run("pdfinfo " + printtest::Quote(file.string())).find("Begleitzettel Prüfung"),
      std::string::npos);

  const std::vector<printtest::Word> words = printtest::Words(file);
  std::size_t next = 0;
  for (const Placed& t : kTexts) {
    SCOPED_TRACE(t.text);
    // The words of this text, in order, starting at its left edge.
    std::string line;
    double left = 0, top = 0, height = 0;
    while (next < words.size() && line.size() < std::string(t.text).size()) {
      const printtest::Word& w = words[next++];
      if (line.empty()) {
        left = w.xMin;
        top = w.yMin;
        height = w.yMax - w.yMin;
      } else {
        line += ' ';
        EXPECT_NEAR(w.yMin, top, 0.01) << w.text;
      }
      line += w.text;
    }
    EXPECT_EQ(line, t.text);
    EXPECT_NEAR(left / kPointsPer01mm, t.x, 10.0);
    EXPECT_NEAR(top / kPointsPer01mm, -t.y, 10.0);
    // The box spans ascent to descent: a bit more than the em height.
    EXPECT_GT(height / kPointsPer01mm, 1.0 * t.height);
    EXPECT_LT(height / kPointsPer01mm, 1.3 * t.height);
  }
  EXPECT_EQ(next, words.size()) << "words nobody drew";

  if (printtest::HaveTool("pdffonts")) {
    const std::string fonts = printtest::Run("pdffonts " + printtest::Quote(file.string()));
    EXPECT_TRUE(fonts.find("LiberationSerif") != std::string::npos ||
                fonts.find("Times") != std::string::npos ||
                fonts.find("Tinos") != std::string::npos)
        << fonts;
  }
}

// A grey map of the page at 127 dpi, one pixel 0.2 mm.
class Picture {
 public:
  explicit Picture(const fs::path& pgm) {
    std::ifstream in(pgm, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> fWidth >> fHeight >> maxValue;
    in.get();
    fPixels.resize(static_cast<std::size_t>(fWidth) * static_cast<std::size_t>(fHeight));
    in.read(reinterpret_cast<char*>(fPixels.data()), static_cast<std::streamsize>(fPixels.size()));
    if (magic != "P5" || maxValue != 255 || !in) fPixels.clear();
  }
  bool valid() const { return !fPixels.empty(); }
  int width() const { return fWidth; }
  int height() const { return fHeight; }
  /// Whether the point (x, y) in 0.1 mm (MM_LOMETRIC) is inked.
  bool Inked(int x, int y) const {
    const int column = static_cast<int>(std::lround(x / 2.0));
    const int row = static_cast<int>(std::lround(-y / 2.0));
    if (column < 0 || row < 0 || column >= fWidth || row >= fHeight) return false;
    return fPixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(fWidth) +
                   static_cast<std::size_t>(column)] < 128;
  }

 private:
  int fWidth = 0;
  int fHeight = 0;
  std::vector<unsigned char> fPixels;
};

TEST_F(TPdfPrinterTest, DrawsLinesWhereAndAsThickAsThePenSays) {
  if (!printtest::HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) is missing";
  const fs::path file = Print("Linien.pdf", 1);
  const fs::path prefix = dir.path() / "Linien";
  printtest::Run("pdftoppm -gray -r 127 -singlefile " + printtest::Quote(file.string()) + " " +
                 printtest::Quote(prefix.string()));
  const Picture page(prefix.string() + ".pgm");
  ASSERT_TRUE(page.valid());
  EXPECT_NEAR(page.width(), 1050, 2);   // 210 mm
  EXPECT_NEAR(page.height(), 1485, 2);  // 297 mm

  // 0.5 mm pen from (20 mm, 100 mm) to (180 mm, 100 mm) from the top-left.
  for (int x : {250, 1000, 1750}) EXPECT_TRUE(page.Inked(x, -1000)) << x;
  EXPECT_FALSE(page.Inked(1000, -1012));
  EXPECT_FALSE(page.Inked(1000, -988));
  EXPECT_FALSE(page.Inked(100, -1000));
  EXPECT_FALSE(page.Inked(1900, -1000));
  EXPECT_FALSE(page.Inked(500, 1000 - 2970));  // mirrored about the middle
  // 2 mm pen, downwards from 150 mm to 250 mm at x = 100 mm.
  for (int y : {-1550, -2000, -2450}) {
    EXPECT_TRUE(page.Inked(1000, y)) << y;
    EXPECT_TRUE(page.Inked(992, y)) << y;
    EXPECT_TRUE(page.Inked(1008, y)) << y;
    EXPECT_FALSE(page.Inked(980, y)) << y;
    EXPECT_FALSE(page.Inked(1020, y)) << y;
  }
  EXPECT_FALSE(page.Inked(1000, -2620));

  // For people: the page as a picture beside the build.
  const fs::path artifacts = fs::current_path() / "artifacts";
  fs::create_directories(artifacts);
  const fs::path png = artifacts / ("cover-page-" + printtest::ProgramName());
  printtest::Run("pdftoppm -png -r 50 -singlefile " + printtest::Quote(file.string()) + " " +
                 printtest::Quote(png.string()));
  EXPECT_TRUE(fs::exists(png.string() + ".png"));
}

TEST_F(TPdfPrinterTest, WritesOnePagePerCopyAndOnlyOnEndDoc) {
  const fs::path file = dir.path() / "Kopien.pdf";
  zor::TPdfPrinter printer(ZT(file.string()));
  printer.SetCopies(3);
  printer.BeginDoc();
  DrawSamplePage(printer.Canvas());
  EXPECT_FALSE(fs::exists(file));
  printer.EndDoc();
  ASSERT_TRUE(fs::exists(file));
  const std::string pdf = zortest::ReadFile(file);
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  if (printtest::HaveTool("pdfinfo")) {
    EXPECT_EQ(printtest::PageCount(file), 3);
    const std::string third =
        printtest::Run("pdftotext -f 3 -l 3 " + printtest::Quote(file.string()) + " -");
    EXPECT_NE(third.find("Prüfsumme 1.234,56 €"), std::string::npos) << third;
  }

  // An aborted document leaves the earlier file as it was.
  printer.BeginDoc();
  printer.Canvas().TextOut(0, 0, ZT("verworfen"));
  printer.Abort();
  printer.EndDoc();
  EXPECT_EQ(zortest::ReadFile(file), pdf);
  EXPECT_FALSE(printer.Printing());
}

TEST_F(TPdfPrinterTest, AFileThatCannotBeWrittenRaises) {
  const zor::String missingFolder = ZT((dir.path() / "fehlt" / "Begleitzettel.pdf").string());
  zor::TPdfPrinter printer(missingFolder);
  printer.BeginDoc();
  DrawSamplePage(printer.Canvas());
  EXPECT_THROW_MESSAGE(
      printer.EndDoc(),
      zor::Format(ZT("Die PDF-Datei \"%s\" kann nicht geschrieben werden."), {missingFolder}));
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
