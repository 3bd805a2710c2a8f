// The spool behind a listing whose head comes last: text that spilled to the
// temporary file comes back whole and in order, and optional pieces are kept
// or left out also where a read block cuts through them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "output/ListingSpool.h"
#include "output/OutputError.h"

namespace {

using zcli::ListingSpool;

constexpr char kMark = ListingSpool::kOptional;

// Payments of 70 to 110 bytes, each with an optional piece of 10 bytes.
void Spool(ListingSpool& spool, int count, std::string& kept, std::string& dropped) {
  for (int i = 0; i < count; ++i) {
    const std::string head =
        "{\"n\": " + std::to_string(i) + std::string(static_cast<std::size_t>(60 + i % 40), 'x');
    const std::string optional = ",d" + std::to_string(10000000 + i);
    spool.Text() += head + kMark + optional + "}\n";
    kept += head + optional + "}\n";
    dropped += head + "}\n";
    spool.Ready();
  }
}

std::string Replayed(ListingSpool& spool, std::size_t optionalSize, bool drop) {
  std::string out;
  spool.Replay([&out](std::string_view piece) { out += piece; }, optionalSize, drop);
  return out;
}

TEST(ListingSpool, OptionalPiecesAreKeptOrLeftOutAcrossTheFileAndTheBlocksItIsReadIn) {
  for (const bool drop : {false, true}) {
    // A limit below one payment spills at every step; 64 KiB read blocks cut
    // through some of the 4,000 optional pieces.
    ListingSpool spool(50);
    std::string kept, dropped;
    Spool(spool, 4000, kept, dropped);
    const std::string out = Replayed(spool, 10, drop);
    ASSERT_EQ(out.size(), (drop ? dropped : kept).size());
    EXPECT_TRUE(out == (drop ? dropped : kept));
  }
}

TEST(ListingSpool, TextWithoutMarksComesBackAsItWasFromMemoryAndFromTheFile) {
  for (const std::size_t limit : {std::size_t{1} << 20, std::size_t{100}}) {
    ListingSpool spool(limit);
    std::string expected;
    for (int i = 0; i < 500; ++i) {
      spool.Text() += "row " + std::to_string(i) + "\r\n";
      expected += "row " + std::to_string(i) + "\r\n";
      spool.Ready();
    }
    EXPECT_EQ(Replayed(spool, 0, false), expected);
  }
}

TEST(ListingSpool, AFolderThatCannotTakeTheFileIsAnOutputError) {
  const char* before = std::getenv("TMPDIR");
  const std::string saved = before != nullptr ? before : "";
  ::setenv("TMPDIR", "/nonexistent/zordta-spool", 1);
  ListingSpool spool(10);
  spool.Text() = std::string(20, 'x');
  try {
    spool.Ready();
    ADD_FAILURE() << "no error";
  } catch (const zcli::OutputError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/zordta-spool"), std::string::npos)
        << e.what();
  }
  if (before != nullptr) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

}  // namespace
