// A list of lines that implements only what every TStrings must, so that a test
// reaches the defaults of TStrings rather than the string list's own versions.
#pragma once

#include <vector>

#include "zordta/host/Classes.h"

namespace zortest {

class PlainList : public zor::TStrings {
 public:
  int Count() const override { return static_cast<int>(fLines.size()); }
  zor::String Strings(int index) const override { return fLines.at(At(index)); }
  void SetStrings(int index, const zor::String& line) override { fLines.at(At(index)) = line; }
  void Insert(int index, const zor::String& line) override {
    ++inserts;
    fLines.insert(fLines.begin() + index, line);
  }
  void Delete(int index) override { fLines.erase(fLines.begin() + index); }
  void Clear() override { fLines.clear(); }

  /// How often Insert was called.
  int inserts = 0;

 private:
  static std::size_t At(int index) { return static_cast<std::size_t>(index); }
  std::vector<zor::String> fLines;
};

}  // namespace zortest
