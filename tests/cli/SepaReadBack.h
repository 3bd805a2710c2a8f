// SEPA files the tool wrote, checked against their schema and read back by the
// independent parser of tests/sepa/peer.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "CliRunner.h"

namespace clitest {

// The peer's classes: where the CTest fixture compiles them, or compiled here
// when the suite runs on its own.
inline std::string PeerClasses() {
  const char* fromCtest = std::getenv("ZORDTA_SEPA_PEER_CLASSES");
  const std::string classes = fromCtest ? fromCtest : ZORDTA_SEPA_PEER_CLASSES_DEFAULT;
  if (!std::filesystem::exists(classes + "/PainPeer.class")) {
    const std::string compile =
        "python3 '" ZORDTA_SEPA_READ_BACK "' --compile '" + classes + "' >/dev/null";
    EXPECT_EQ(std::system(compile.c_str()), 0) << compile;
  }
  return classes;
}

// Empty when the file is schema-valid, its control sums agree and the peer
// reads exactly the transactions `expected`; else what read_back.py reports.
inline std::string ReadBackProblems(const Workspace& ws, const std::string& file,
                                    const nlohmann::json& expected) {
  ws.Write("expected.json", expected.dump());
  const std::string report = (ws / "read_back.txt").string();
  const std::string command = "python3 '" ZORDTA_SEPA_READ_BACK "' --classes '" + PeerClasses() +
                              "' '" + (ws / file).string() + "' '" +
                              (ws / "expected.json").string() + "' >'" + report + "' 2>&1";
  if (std::system(command.c_str()) == 0) return {};
  const std::string problems = ws.Read("read_back.txt");
  return problems.empty() ? "read_back.py failed" : problems;
}

// A listing of "sepa read" without what a file written anew changes: its path
// and its creation time.
inline nlohmann::json Meaning(nlohmann::json read) {
  read.erase("datei");
  read.erase("erstellt");
  return read;
}

// The listing `first` taken as a job by "sepa write" into `file`, read again:
// the same settings and payments.
inline void ExpectWrittenAgainTheSame(Workspace& ws, const std::string& first,
                                      const std::string& file) {
  ws.Write("again.json", first);
  const auto written = ws.Run({"sepa", "write", "--job", "again.json", "--dateiname", file});
  ASSERT_EQ(written.exitCode, 0) << written.err;
  const auto second = ws.Run({"sepa", "read", file});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(Meaning(nlohmann::json::parse(second.out)), Meaning(nlohmann::json::parse(first)));
}

}  // namespace clitest
