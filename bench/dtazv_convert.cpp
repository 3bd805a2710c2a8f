// One job for bench/dtazv-convert.sh to time: `read FILE` walks a DTAZV file
// with the checked reader, `convert FILE DIR` converts it into pain.001.001.09
// documents in DIR, as `zordta sepa convert` does.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "zordta/DtazvReader.h"
#include "zordta/DtazvToSepa.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: dtazv_convert read FILE | convert FILE DIR\n";
    return 2;
  }
  const std::string mode = argv[1];
  std::ifstream in(argv[2], std::ios::binary);
  if (mode == "read") {
    zor::DtazvReader reader(in);
    std::size_t payments = 0;
    for (auto item = reader.Next(); item != zor::DtazvReader::Item::End; item = reader.Next()) {
      if (item == zor::DtazvReader::Item::Payment) ++payments;
    }
    std::printf("%zu payments\n", payments);
    return 0;
  }
  if (mode != "convert" || argc < 4) return 2;
  const std::string dir = argv[3];
  std::map<zor::DtazvDocumentKind, std::ofstream> outs;
  zor::DtazvToSepaSettings settings;
  settings.clientIban = "DE89370400440532013000";
  settings.clientBic = "COBADEFFXXX";
  settings.executionDate = std::chrono::year(2099) / 1 / 2;
  const zor::DtazvToSepaOutcome outcome = zor::ConvertDtazvToSepa(
      in, settings, nullptr, [&](zor::DtazvDocumentKind kind) -> std::ostream& {
        const char* name = kind == zor::DtazvDocumentKind::Sepa ? "/sepa.xml" : "/ausland.xml";
        return outs.try_emplace(kind, dir + name, std::ios::binary).first->second;
      });
  std::printf("%zu faults, written %d\n", outcome.faults, outcome.written ? 1 : 0);
  return outcome.written ? 0 : 1;
}
