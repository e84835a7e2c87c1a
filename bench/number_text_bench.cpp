// formatHistoryField over the values of typical history lines: step times, small responses of
// either sign and the zeros of a structure at rest.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "history/number_text.h"

namespace {

std::vector<float> historyValues() {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> decades(-3.0f, 1.0f);
  std::vector<float> values;
  for (int step = 0; step < 4096; ++step) {
    values.push_back(static_cast<float>(step) * 0.01f);  // time of the step
    const float response = std::pow(10.0f, decades(random));
    values.push_back(step % 8 == 0 ? 0.0f : step % 2 == 0 ? response : -response);
  }
  return values;
}

void BM_FormatHistoryField(benchmark::State& state) {
  const std::vector<float> values = historyValues();
  char field[qtv::kHistoryFieldWidth];
  for (auto _ : state) {
    for (const float value : values) {
      qtv::formatHistoryField(value, field);
      benchmark::DoNotOptimize(field);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_FormatHistoryField);

}  // namespace
