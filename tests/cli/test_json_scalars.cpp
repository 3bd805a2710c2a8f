// The listings write their scalars by hand; these hold them to nlohmann's dump
// of the same values, so that the two cannot drift apart.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "output/JsonScalars.h"

namespace {

std::string Dumped(const nlohmann::json& value) {
  return value.dump(-1, ' ', false);
}

TEST(JsonScalars, StringsAreEscapedAsTheDumpEscapesThem) {
  std::string controls;
  for (char c = 0; c < 0x20; ++c) controls += c;
  const std::string values[] = {"",
                                "MUELLER GMBH",
                                "A & B \"C\" \\D\\",
                                controls + "\x7F",
                                "ÄÖÜß + € + 😀 + \u0085",
                                "\"\"\\\n\\\"",
                                std::string("NUL\0IN", 6) + "\"ÄNDE\""};
  for (const std::string& value : values) {
    std::string text = "vorher ";
    zcli::AppendJsonString(text, value);
    EXPECT_EQ(text, "vorher " + Dumped(value));
  }
  // Malformed text is refused as the dump refuses it.
  for (const char* malformed : {"AB\xC3", "\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80"}) {
    std::string text;
    EXPECT_THROW(zcli::AppendJsonString(text, malformed), nlohmann::json::type_error);
  }
}

TEST(JsonScalars, AmountsAreWrittenAsTheDumpWritesTheirDouble) {
  const auto agrees = [](std::int64_t hundredths) {
    std::string text;
    zcli::AppendJsonUnits(text, hundredths);
    return text == Dumped(static_cast<double>(hundredths) / 100.0);
  };
  for (std::int64_t n = 0; n < 20'000; ++n) ASSERT_TRUE(agrees(n)) << n;
  // Across the widest amount field and beyond it, where a double holds no
  // longer every cent.
  std::uint64_t state = 20261209;
  for (int i = 0; i < 40'000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const auto n = static_cast<std::int64_t>(
        (state >> 11) % (i % 2 == 0 ? 100'000'000'000u : 100'000'000'000'000'000u));
    ASSERT_TRUE(agrees(n)) << n;
  }
  for (std::int64_t n :
       {std::int64_t{99'999'999'999}, std::int64_t{999'999'999'999'999},
        std::int64_t{1'000'000'000'000'000}, std::int64_t{-1}, std::int64_t{-250},
        std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()}) {
    EXPECT_TRUE(agrees(n)) << n;
  }
}

TEST(JsonScalars, IntegersAsTheDumpWritesThem) {
  for (std::int64_t n :
       {std::int64_t{0}, std::int64_t{-7}, std::int64_t{532013000},
        std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
    std::string text;
    zcli::AppendInteger(text, n);
    EXPECT_EQ(text, Dumped(n));
  }
}

}  // namespace
