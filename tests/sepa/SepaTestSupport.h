// Helpers of the SEPA tests: a document written in memory, and its check
// against the official schema (extracted at test time, see tests/CMakeLists.txt).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zordta/Sepa.h"
#include "zordta/SepaReader.h"

namespace zortest {

/// Writes the payments with a plan and a writer, group by group, as a caller would.
std::string WriteSepa(const zor::SepaSettings& settings,
                      const std::vector<zor::SepaPayment>& payments);

/// Validates a document against the schema of its namespace.
::testing::AssertionResult ValidSepa(const std::string& document);

/// Everything a document holds, as the reader hands it over.
struct Read {
  zor::SepaDocument document;
  std::vector<zor::SepaBlock> blocks;
  std::vector<zor::SepaPayment> payments;
  std::vector<zor::SepaReadPlace> places;
};

/// Reads a whole document; raises zor::SepaReadError.
Read ReadAll(const std::string& xml);

/// A date from its pieces.
std::chrono::year_month_day Day(int year, unsigned month, unsigned day);

}  // namespace zortest
