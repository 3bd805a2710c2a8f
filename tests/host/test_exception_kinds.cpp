// Callers tell failures apart by their exception's type: a file that cannot be
// written, a text that is no number or date, a refused payment.
#include <gtest/gtest.h>

#include <string_view>
#include <type_traits>
#include <typeinfo>

#include "support/TestSupport.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"

namespace {

using zortest::TempDir;

TEST(ExceptionKinds, ConversionsRaiseTheConversionError) {
  EXPECT_THROW(zor::StrToInt(std::string_view("12x")), zor::EConvertError);
  EXPECT_THROW(zor::EncodeDate(2026, 2, 30), zor::EConvertError);
  zor::TZorDTA dta(nullptr);
  std::string file = std::string(443, ' ');
  file.replace(0, 15, "0128AGK37040044");
  file.replace(50, 6, "320126");  // day 32
  EXPECT_THROW(dta.ImportFromString(file), zor::EConvertError);
}

TEST(ExceptionKinds, FilesRaiseStreamErrorsAndChecksTheGeneralOne) {
  TempDir dir;
  zortest::ScopedRegistryRoot registry{dir.path()};
  zor::TZorDTA dta(nullptr);
  dta.SetAuftraggeberName(ZA("Muster GmbH"));
  dta.SetAuftraggeberBLZ(37040044);
  dta.SetAuftraggeberKontoNr(532013000);
  dta.SetPath(zor::StringFromUtf8((dir.path() / "fehlt").string()));
  dta.Start();
  try {
    dta.Buchung(ZA("Max"), 1234567890, 123, 10.0, ZA("x"), ZA(""), ZA(""));
    ADD_FAILURE() << "a bank code of three digits was booked";
  } catch (const zor::Exception& e) {
    EXPECT_EQ(typeid(e), typeid(zor::Exception)) << "a refused payment is no file error";
  }
  dta.Buchung(ZA("Max"), 1234567890, 50010517, 10.0, ZA("x"), ZA(""), ZA(""));
  EXPECT_THROW(dta.Finish(), zor::EFCreateError);  // the folder does not exist
  EXPECT_THROW(
      zor::TFileStream(zor::StringFromUtf8((dir.path() / "nie").string()), zor::fmOpenRead),
      zor::EFOpenError);
  static_assert(std::is_base_of_v<zor::EStreamError, zor::EFCreateError>);
  static_assert(std::is_base_of_v<zor::Exception, zor::EConvertError>);
}

}  // namespace
