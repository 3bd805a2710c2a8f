// Folder and file names: any character in the wide deliverables; in the 8-bit
// deliverable only what Windows-1252 holds, since its interface text is 8-bit.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"

namespace {

namespace fs = std::filesystem;

struct Payment {
  zor::AnsiString name;
  double amount;
};

// Writes one payment into folder/fileName and reads it back through ImportDTA.
void WriteAndImport(const zortest::TempDir& dir, const char* folder, const char* fileName) {
  zor::TZorDTA writer(nullptr);
  writer.SetPath(dir.AsPath() + ZT(folder));
  writer.SetDTAFilename(ZT(fileName));
  writer.SetAuftraggeberName(ZA("Muster GmbH"));
  writer.SetAuftraggeberBLZ(37040044);
  writer.SetAuftraggeberKontoNr(532013000);
  writer.Start();
  writer.Buchung(ZA("Max Mustermann"), 1234567890, 50010517, 12.34, ZA("Rechnung 1"), "", "");
  writer.Finish();

  const fs::path onDisk = dir.path() / fs::path(reinterpret_cast<const char8_t*>(folder)) /
                          fs::path(reinterpret_cast<const char8_t*>(fileName));
  ASSERT_TRUE(fs::exists(onDisk)) << onDisk;
  EXPECT_TRUE(zortest::SameBytes(writer.DTAFileContent(), zortest::ReadFile(onDisk)));

  std::vector<Payment> payments;
  zor::TZorDTA reader(nullptr);
  reader.SetOnDTAImport([&](const zor::AnsiString& name, std::int64_t, std::int64_t, double amount,
                            zor::TStrings&, bool, const zor::AnsiString&) {
    payments.push_back({name, amount});
  });
  reader.ImportDTA(writer.Path() + writer.DTAFilename());
  ASSERT_EQ(payments.size(), 1u);
  EXPECT_EQ(payments[0].name, "MAX MUSTERMANN");
  EXPECT_DOUBLE_EQ(payments[0].amount, 12.34);
}

class UnicodePathTest : public ::testing::Test {
 protected:
  zortest::ScopedClock clock{zor::EncodeDate(2026, 12, 8) + 0.5};
  zortest::TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
};

TEST_F(UnicodePathTest, UmlautsInFolderAndFileNameWorkInEveryDeliverable) {
  fs::create_directory(dir.path() / fs::path(u8"Überweisungen"));
  WriteAndImport(dir, "Überweisungen", "Zahlungsläufe.txt");
}

#if ZORDTA_WIDE_STRINGS

TEST_F(UnicodePathTest, GreekAndCjkFolderAndFileNamesWorkEndToEnd) {
  const char* folder = "Überweisungen_Ελλάδα_日本";
  fs::create_directory(dir.path() / fs::path(u8"Überweisungen_Ελλάδα_日本"));
  WriteAndImport(dir, folder, "Zahlung_日本_Ω.txt");

  zor::TZorDTAZV zv(nullptr);
  zv.SetPath(dir.AsPath() + ZT(folder));
  zv.SetDTAFilename(ZT("Ausland_日本"));
  zv.SetAuftraggeberName(ZA("Muster GmbH"));
  zv.SetAuftraggeberKontoNr(532013000);
  zv.SetAuftraggeberBLZ(37040044);
  zv.SetAuftraggeberStrasse(ZA("Hauptstraße 1"));
  zv.SetAuftraggeberOrt(ZA("Köln"));
  zv.Start(1);
  zor::TStringList purpose;
  purpose.Add(ZT("Rechnung 7"));
  zv.Buchung(ZA("DEUTDEFF"), ZA("DE89370400440532013000"), ZA("Tanaka"), ZA("Ginza 1"), ZA("Tokio"),
             100.0, purpose, zor::EncodeDate(2026, 12, 10));
  zv.Finish();
  EXPECT_TRUE(zortest::SameBytes(
      zv.DTAFileContent(), zortest::ReadFile(dir.path() / fs::path(u8"Überweisungen_Ελλάδα_日本") /
                                             fs::path(u8"Ausland_日本"))));
}

#else

TEST_F(UnicodePathTest, NamesOutsideTheCodePageCannotBeExpressed) {
  // The characters are lost before the component sees them: the 8-bit interface
  // text turns them into "?", as the platform conversion does.
  EXPECT_EQ(ZT("Überweisungen_Ελλάδα_日本"), std::string("\xDC") + "berweisungen_??????_??");
}

#endif

}  // namespace
