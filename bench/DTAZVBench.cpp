// Writing DTAZV: one booking through the full overload.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace zor::bench {
namespace {

constexpr std::int32_t kBookingsPerRun = 200'000;

void DTAZV_Buchung(benchmark::State& state) {
  TZorDTAZV dta(nullptr);
  StartDTAZVRun(dta);
  const TDateTime datum = Date() + 2;
  TStringList vwz;
  for (auto _ : state) {
    BookDTAZV(dta, vwz, datum);
    if (dta.AnzahlBuchungen() == kBookingsPerRun) {
      state.PauseTiming();
      dta.Finish();
      dta.Start(1);
      state.ResumeTiming();
    }
  }
  dta.Finish();
  state.SetItemsProcessed(state.iterations());
  // A T record is 768 bytes.
  state.SetBytesProcessed(state.iterations() * 768);
}
BENCHMARK(DTAZV_Buchung);

}  // namespace
}  // namespace zor::bench
