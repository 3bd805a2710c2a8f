// Reading DTAUS back, from memory and from a file.
#include <benchmark/benchmark.h>

#include <fstream>

#include "BenchSupport.h"

namespace zor::bench {
namespace {

constexpr std::int32_t kRecords = 20'000;

// A handler that touches what a real one reads, so nothing is optimised away.
void CountingImport(TZorDTA& dta, std::int64_t& sink) {
  dta.SetOnDTAImport([&sink](const AnsiString& name, std::int64_t konto, std::int64_t, double,
                             TStrings& vwz, bool, const AnsiString&) {
    sink += konto + static_cast<std::int64_t>(name.size()) + vwz.Count();
  });
}

void DTAUS_ImportFromString(benchmark::State& state) {
  const AnsiString content = MakeDTAUSFile(kRecords);
  TZorDTA dta(nullptr);
  std::int64_t sink = 0;
  CountingImport(dta, sink);
  for (auto _ : state) dta.ImportFromString(content);
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(content.size()));
}
BENCHMARK(DTAUS_ImportFromString)->Unit(benchmark::kMillisecond);

void DTAUS_ImportDTA(benchmark::State& state) {
  const AnsiString content = MakeDTAUSFile(kRecords);
  const std::string path = ScratchFolder() + "/import.txt";
  std::ofstream(path, std::ios::binary)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
  TZorDTA dta(nullptr);
  std::int64_t sink = 0;
  CountingImport(dta, sink);
  const TFileName fileName = StringFromUtf8(path);
  for (auto _ : state) dta.ImportDTA(fileName);
  benchmark::DoNotOptimize(sink);
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(content.size()));
}
BENCHMARK(DTAUS_ImportDTA)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zor::bench
