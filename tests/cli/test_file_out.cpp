// The large-file output stream: bytes in order across its blocks and its
// writing thread, and a failed write that does not pass for success.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <string>

#include "CliRunner.h"
#include "output/FileOut.h"
#include "output/OutputError.h"
#include "output/PeriodicDataSync.h"

namespace {

using clitest::Workspace;
using zcli::FileOut;
using zcli::FileOutBuffer;

TEST(FileOut, KeepsEveryByteInOrderWhateverTheSizeOfThePieces) {
  Workspace ws;
  const std::string path = (ws / "out.xml").string();
  std::string expected;
  {
    FileOut out(path);
    ASSERT_TRUE(out.good());
    std::mt19937 random(7);
    // Single characters, pieces that straddle a block, and pieces of several blocks.
    const std::size_t sizes[] = {0,
                                 1,
                                 17,
                                 4096,
                                 FileOutBuffer::kBlockSize - 3,
                                 FileOutBuffer::kBlockSize,
                                 3 * FileOutBuffer::kBlockSize + 5};
    for (int round = 0; round < 40; ++round) {
      const std::size_t size = sizes[random() % std::size(sizes)];
      std::string piece(size, '\0');
      for (char& c : piece) c = static_cast<char>('a' + random() % 26);
      if (size == 1) {
        out.put(piece[0]);
      } else {
        out << piece;
      }
      expected += piece;
      if (round == 30) out.flush();  // a short block in the middle
    }
    out.close();
    EXPECT_TRUE(out.good());
  }
  const std::string written = ws.Read("out.xml");
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

// Synced on the way by a thread of its own, while the writing thread goes on.
TEST(FileOut, StaysWholeAcrossItsSyncsOnTheWay) {
  Workspace ws;
  const std::string path = (ws / "large.dta").string();
  const std::size_t size = 2 * zcli::PeriodicDataSync::kStretch + 5;
  std::string expected(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    expected[i] = static_cast<char>('a' + (i * 7 + i / 4093) % 26);
  FileOut out(path);
  ASSERT_TRUE(out.good());
  for (std::size_t at = 0; at < size; at += 100'003) {
    out.write(expected.data() + at,
              static_cast<std::streamsize>(std::min<std::size_t>(100'003, size - at)));
  }
  out.close();
  ASSERT_TRUE(out.good());
  EXPECT_TRUE(ws.Read("large.dta") == expected);
}

TEST(FileOut, AFullDiskFailsTheStreamInsteadOfPassingForWritten) {
  FileOut out("/dev/full");
  ASSERT_TRUE(out.good());
  const std::string block(FileOutBuffer::kBlockSize, 'x');
  for (int i = 0; i < 4 && out.good(); ++i) out << block;
  out << "tail";
  out.close();
  EXPECT_FALSE(out.good());
  // Worded in German, like every other system error the tool names.
  EXPECT_EQ(out.Error(), ENOSPC);
  EXPECT_STREQ(zcli::CannotWrite("sepa.xml", out.Error()).what(),
               "sepa.xml kann nicht geschrieben werden: Der Datenträger ist voll.");
}

TEST(FileOut, AFileThatCannotBeOpenedFailsAtOnce) {
  Workspace ws;
  FileOut out((ws / "missing" / "out.xml").string());
  EXPECT_FALSE(out.good());
}

}  // namespace
