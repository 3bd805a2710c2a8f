// The bare cost of assembling DTAUS C records on this machine, the yardstick for
// DTAUS_Buchung: copy a blank 256-byte record, write the digit fields and three
// 27-character text fields, append it to one growing buffer. No checks, no
// conversions, no bookkeeping, so nothing a real writer could leave out.
//
// Two variants: /0 starts each run of records in fresh memory, as a program that
// writes one file does; the kernel's first touch of each page then costs more than
// the records themselves. /1 keeps the buffer's memory from run to run, as the
// library's writer does once its first run has freed its blocks, so it is the
// yardstick for the booking's own work.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace zor::bench {
namespace {

constexpr std::int64_t kRecordsPerRun = 200'000;
constexpr std::size_t kRecordSize = 256;

void PutDigits(char* at, std::uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

void Limit_CRecordAssembly(benchmark::State& state) {
  std::array<char, kRecordSize> blank;
  blank.fill(' ');
  const char* name = "MUELLER HANS              X";
  const bool keepMemory = state.range(0) != 0;
  std::string buffer;
  buffer.reserve(kRecordsPerRun * kRecordSize);
  std::uint64_t i = 0;
  for (auto _ : state) {
    std::array<char, kRecordSize> record = blank;
    PutDigits(record.data(), kRecordSize, 4);
    record[4] = 'C';
    PutDigits(record.data() + 5, 50010517, 8);
    PutDigits(record.data() + 13, 50010517, 8);
    PutDigits(record.data() + 21, 1000000000 + i, 10);
    PutDigits(record.data() + 50, 12345 + i, 11);
    std::memcpy(record.data() + 93, name, 27);
    std::memcpy(record.data() + 128, name, 27);
    std::memcpy(record.data() + 155, name, 27);
    buffer.append(record.data(), record.size());
    if (++i % kRecordsPerRun == 0) {
      state.PauseTiming();
      benchmark::DoNotOptimize(buffer.data());
      if (keepMemory) {
        buffer.clear();
      } else {
        std::string().swap(buffer);
        buffer.reserve(kRecordsPerRun * kRecordSize);
      }
      state.ResumeTiming();
    }
  }
  benchmark::DoNotOptimize(buffer.data());
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecordSize));
}
BENCHMARK(Limit_CRecordAssembly)->Arg(0)->Arg(1);

}  // namespace
}  // namespace zor::bench
