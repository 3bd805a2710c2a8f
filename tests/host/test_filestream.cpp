#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TestSupport.h"
#include "zordta/host/Classes.h"
#include "zordta/host/FileSystem.h"

namespace {

namespace fs = std::filesystem;

std::string Read(zor::TStream& stream, std::int64_t count) {
  std::string bytes(static_cast<std::size_t>(count), '\0');
  bytes.resize(static_cast<std::size_t>(stream.Read(bytes.data(), count)));
  return bytes;
}

void Write(zor::TStream& stream, const std::string& bytes) {
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

TEST(TFileStream, WritesSeeksAndReadsBack) {
  zortest::TempDir dir;
  const fs::path path = dir.path() / "Sätze.bin";
  const std::string data("0128A\0\xE4\xF6\xFC payment\r\n", 19);
  {
    zor::TFileStream out(ZT(path.string()), zor::fmCreate);
    Write(out, data);
    EXPECT_EQ(out.Size(), 19);
  }
  EXPECT_TRUE(zortest::SameBytes(data, zortest::ReadFile(path)));

  zor::TFileStream in(ZT(path.string()), zor::fmOpenRead);
  EXPECT_EQ(Read(in, 5), "0128A");
  EXPECT_EQ(in.Seek(3, zor::soCurrent), 8);
  EXPECT_EQ(Read(in, 4), "\xFC pa");
  EXPECT_EQ(in.Seek(-2, zor::soEnd), 17);
  EXPECT_EQ(Read(in, 100), "\r\n");
  EXPECT_EQ(Read(in, 100), "");
  EXPECT_THROW_MESSAGE(Write(in, "x"), ZT("Stream-Schreibfehler."));
}

TEST(TFileStream, OpenModesAndSizeChanges) {
  zortest::TempDir dir;
  const fs::path path = dir.path() / "DTAUS0.TXT";
  std::ofstream(path) << "abcdef";
  {
    zor::TFileStream stream(ZT(path.string()), zor::fmOpenWrite);
    Write(stream, "XY");
  }
  EXPECT_EQ(zortest::ReadFile(path), "XYcdef");
  {
    zor::TFileStream stream(ZT(path.string()), zor::fmOpenReadWrite);
    stream.Seek(0, zor::soEnd);
    Write(stream, "gh");
    stream.SetSize(4);
    EXPECT_EQ(stream.Position(), 4);
    stream.SetSize(6);
    EXPECT_EQ(stream.Position(), 4);
    stream.SetPosition(1);
    EXPECT_EQ(Read(stream, 10), std::string("Ycd\0\0", 5));
  }
  { zor::TFileStream stream(ZT(path.string()), zor::fmCreate); }
  EXPECT_EQ(zortest::ReadFile(path), "");

  const fs::path missing = dir.path() / "fehlt" / "neu.txt";
  EXPECT_THROW_MESSAGE(zor::TFileStream(ZT(missing.string()), zor::fmOpenRead),
                       ZT("Die Datei \"" + missing.string() + "\" kann nicht geöffnet werden. " +
                          std::strerror(ENOENT)));
  EXPECT_THROW_MESSAGE(zor::TFileStream(ZT(missing.string()), zor::fmCreate),
                       ZT("Die Datei \"" + missing.string() + "\" kann nicht erstellt werden. " +
                          std::strerror(ENOENT)));
}

TEST(TFileStream, ExclusiveStreamKeepsOthersOut) {
  zortest::TempDir dir;
  const fs::path path = dir.path() / "DTAUS0.TXT";
  const zor::String name = ZT(path.string());
  const zor::String inUse =
      ZT("Die Datei \"" + path.string() + "\" wird von einem anderen Prozess verwendet.");
  std::ofstream(path) << "in use";
  {
    zor::TFileStream holder(name, zor::fmOpenReadWrite | zor::fmShareExclusive);
    EXPECT_THROW_MESSAGE(zor::TFileStream(name, zor::fmOpenRead | zor::fmShareExclusive), inUse);
    // Refusing must happen before the content is truncated.
    EXPECT_THROW_MESSAGE(zor::TFileStream(name, zor::fmCreate | zor::fmShareExclusive), inUse);
    EXPECT_THROW_MESSAGE(zor::WriteFileAtomically(name, "replaced"), inUse);
    EXPECT_EQ(zortest::ReadFile(path), "in use");
  }
  zor::TFileStream next(name, zor::fmCreate | zor::fmShareExclusive);
  EXPECT_EQ(next.Size(), 0);
}

}  // namespace
