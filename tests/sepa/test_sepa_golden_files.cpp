// Whole SEPA documents against golden files, each also valid by its official schema.
// The golden files come from tests/data/sepa/make_golden.py, which books the same
// settings and payments as Settings(), Transfers() and Debits() here: change both together.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sepa/SepaTestSupport.h"
#include "support/TestSupport.h"
#include "zordta/Sepa.h"

namespace {

using zor::SepaKind;
using zor::SepaSequence;
using zor::SepaVersion;
using zortest::Day;

// 140 characters exactly, and one more than that.
const std::string kUstrd140 = "Rechnung 2026-1234 " + std::string(121, 'x');
const std::string kUstrd141 = "Rechnung 2026-9999 " + std::string(122, 'y');

zor::SepaSettings Settings(SepaKind kind, SepaVersion version, const char* bic) {
  zor::SepaSettings s;
  s.kind = kind;
  s.version = version;
  s.messageId = "MSG-2026-12-09-001";
  s.creationTime = std::chrono::local_days(Day(2026, 12, 9)) + std::chrono::hours(10) +
                   std::chrono::minutes(30) + std::chrono::seconds(5);
  s.account = {"Müller & Söhne GmbH", "DE89370400440532013000", bic};
  s.creditorId = "DE98ZZZ09999999999";
  return s;
}

std::vector<zor::SepaPayment> Transfers() {
  return {
      {{Day(2026, 12, 11)},
       12345,
       {"Łukasz Nowak", "PL61109010140000071219812874", "WBKPPLPP"},
       "E2E-1",
       "Miete Dezember",
       {},
       {},
       ""},
      {{Day(2026, 12, 10)},
       100,
       {"Jürgen Weiß", "DE02120300000000202051", ""},
       "",
       kUstrd140,
       {},
       {},
       ""},
      {{Day(2026, 12, 11)},
       99999999999,
       {"Erika Musterfrau", "DE02500105170137075030", ""},
       "E2E-3",
       kUstrd141,
       {},
       {},
       "SALA"},
  };
}

std::vector<zor::SepaPayment> Debits() {
  const SepaSequence kinds[] = {SepaSequence::First, SepaSequence::Recurring, SepaSequence::OneOff,
                                SepaSequence::Final};
  std::vector<zor::SepaPayment> payments;
  unsigned n = 0;
  for (const SepaSequence kind : kinds) {
    ++n;
    payments.push_back(
        {{Day(2026, 12, 15), kind},
         std::int64_t{4990} * n,
         {"Hans Schuldner " + std::to_string(n), "DE02100100100006820101", n % 2 ? "PBNKDEFF" : ""},
         "E2E-D" + std::to_string(n),
         "Beitrag Dezember",
         "MANDAT-" + std::to_string(n),
         Day(2025, 3, n),
         n == 4 ? "INSU" : ""});
  }
  return payments;
}

struct GoldenCase {
  const char* golden;
  SepaKind kind;
  SepaVersion version;
  const char* bic;
  zor::SepaInstrument instrument;
};

class SepaGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(SepaGolden, MatchesAndIsValidBySchema) {
  const GoldenCase& c = GetParam();
  zor::SepaSettings settings = Settings(c.kind, c.version, c.bic);
  settings.instrument = c.instrument;
  const std::string written =
      zortest::WriteSepa(settings, c.kind == SepaKind::DirectDebit ? Debits() : Transfers());
  EXPECT_TRUE(zortest::ValidSepa(written));
  EXPECT_TRUE(zortest::SameBytes(zortest::ReadGolden(std::string("sepa/") + c.golden), written));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SepaGolden,
    ::testing::Values(GoldenCase{"transfers_001_001_09.xml", SepaKind::CreditTransfer,
                                 SepaVersion::Current, "COBADEFFXXX", zor::SepaInstrument::Core},
                      GoldenCase{"transfers_001_003_03.xml", SepaKind::CreditTransfer,
                                 SepaVersion::German, "", zor::SepaInstrument::Core},
                      GoldenCase{"debits_core_008_001_08.xml", SepaKind::DirectDebit,
                                 SepaVersion::Current, "", zor::SepaInstrument::Core},
                      GoldenCase{"debits_b2b_008_003_02.xml", SepaKind::DirectDebit,
                                 SepaVersion::German, "COBADEFFXXX", zor::SepaInstrument::B2B}),
    [](const ::testing::TestParamInfo<GoldenCase>& param) {
      std::string name = param.param.golden;
      for (char& ch : name) {
        if (ch == '.' || ch == '-') ch = '_';
      }
      return name;
    });

}  // namespace
