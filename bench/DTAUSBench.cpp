// Writing DTAUS: one booking, and the file write at Finish.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace zor::bench {
namespace {

// A run is closed and a new one opened every so many bookings, outside the
// timing, so the buffer stays the size of a large file and not of the whole
// benchmark.
constexpr std::int32_t kBookingsPerRun = 200'000;

void DTAUS_Buchung(benchmark::State& state) {
  TZorDTA dta(nullptr);
  StartDTAUSRun(dta);
  std::int64_t konto = 1000000;
  for (auto _ : state) {
    BookDTAUS(dta, ++konto);
    if (dta.AnzahlBuchungen() == kBookingsPerRun) {
      state.PauseTiming();
      dta.Finish();
      dta.Start();
      state.ResumeTiming();
    }
  }
  dta.Finish();
  state.SetItemsProcessed(state.iterations());
  // Two purpose lines make a C record of two 128-byte parts.
  state.SetBytesProcessed(state.iterations() * 256);
}
BENCHMARK(DTAUS_Buchung);

void DTAUS_Finish(benchmark::State& state) {
  const auto bookings = static_cast<std::int32_t>(state.range(0));
  const std::string folder = ScratchFolder();
  std::int64_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TZorDTA dta(nullptr);
    StartDTAUSRun(dta);
    dta.SetPath(StringFromUtf8(folder));
    dta.SetDTAFilename(StringFromUtf8("DTAUS0.TXT"));
    for (std::int32_t i = 0; i < bookings; ++i) {
      dta.Buchung(kName, 1000000 + i, 20050550, 1234.56, kPurpose1, kPurpose2, AnsiString());
    }
    state.ResumeTiming();
    dta.Finish();
    bytes += static_cast<std::int64_t>(dta.DTAFileContent().size());
  }
  state.SetItemsProcessed(state.iterations() * bookings);
  state.SetBytesProcessed(bytes);
}
BENCHMARK(DTAUS_Finish)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zor::bench
