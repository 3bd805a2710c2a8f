// The commit of a run's files when something gets in its way halfway.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "CliRunner.h"
#include "output/LibraryWrites.h"
#include "output/StagedFiles.h"
#include "output/TextSheet.h"
#include "zordta/host/Exception.h"
#include "zordta/host/FileSystem.h"
#include "zordta/host/Text.h"

namespace {

namespace fs = std::filesystem;
using clitest::Workspace;

void Fill(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(StagedFiles, ATargetTakenMeanwhileTakesBackTheOnesCommittedBefore) {
  Workspace ws;
  const std::string file = (ws / "DTAUS0.TXT").string();
  const std::string sheet = file + ".begleitzettel.txt";
  {
    zcli::StagedFiles staged(false, {});
    Fill(staged.Stage(file), "new file");
    Fill(staged.Stage(sheet), "new sheet");
    Fill(sheet, "another run's sheet");
    EXPECT_THROW(staged.Commit(), zcli::OutputError);
  }
  EXPECT_FALSE(ws.Exists("DTAUS0.TXT"));
  EXPECT_EQ(ws.Read("DTAUS0.TXT.begleitzettel.txt"), "another run's sheet");
  EXPECT_EQ(std::distance(fs::directory_iterator(ws.path()), fs::directory_iterator()), 1);
}

TEST(StagedFiles, AFailedReplacementPutsTheOldFilesBack) {
  Workspace ws;
  const std::string file = (ws / "DTAUS0.TXT").string();
  const std::string sheet = file + ".begleitzettel.txt";
  Fill(file, "old file");
  {
    zcli::StagedFiles staged(true, {});
    Fill(staged.Stage(file), "new file");
    Fill(staged.Stage(sheet), "new sheet");
    // A folder with content cannot be replaced by a file.
    fs::create_directories(fs::path(sheet) / "inside");
    EXPECT_THROW(staged.Commit(), zcli::OutputError);
  }
  EXPECT_EQ(ws.Read("DTAUS0.TXT"), "old file");
  EXPECT_EQ(std::distance(fs::directory_iterator(ws.path()), fs::directory_iterator()), 2);
}

// A full disk, wherever the run meets it, is named as such: the library's own
// message has only the system's English words, or none.
TEST(StagedFiles, AFullDiskIsNamedWhenTheLibraryOrASheetWrites) {
  Workspace ws;
  const std::string file = (ws / "DTAUS0.TXT").string();
  zcli::StagedFiles staged(false, {});
  const std::string temp = staged.Stage(file);
  fs::remove(temp);
  fs::create_symlink("/dev/full", temp);
  {
    const zcli::LibraryWritesInto redirect(staged);
    EXPECT_THROW(zor::WriteFileAtomically(zor::StringFromUtf8(file), std::string(100, 'x')),
                 zor::Exception);
    EXPECT_EQ(redirect.Error(), ENOSPC);
  }
  try {
    zcli::WriteTextSheet("/dev/full", "x.begleitzettel.txt", zor::StringFromUtf8("Summe"));
    ADD_FAILURE() << "written";
  } catch (const zcli::OutputError& e) {
    EXPECT_STREQ(e.what(),
                 "Der Begleitzettel x.begleitzettel.txt kann nicht geschrieben werden: Der "
                 "Datenträger ist voll.");
  }
}

}  // namespace
