// The amount readers and writers that run on every keystroke in an amount edit.
#include "amounts/moneda.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A spread of typical amounts: cents, a few euros, thousands, millions, negatives.
std::vector<std::int64_t> Amounts()
{
    std::vector<std::int64_t> values;
    std::int64_t v = 1;
    for (int i = 0; i < 32; ++i) { // up to about 10^17, far from overflow
        values.push_back(v);
        values.push_back(-v - 37);
        v = v * 3 + 7919;
    }
    return values;
}

void BM_ParseAmount(benchmark::State& state)
{
    std::vector<std::string> texts;
    for (const std::int64_t v : Amounts())
        texts.push_back(moneda::FormatEuros(moneda::Currency(v % 100000000000000)));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moneda::ParseAmount(texts[i]));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_ParseAmount);

void BM_FormatEuros(benchmark::State& state)
{
    const auto values = Amounts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moneda::FormatEuros(moneda::Currency(values[i])));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_FormatEuros);

void BM_EurosToPesetasText(benchmark::State& state)
{
    const auto values = Amounts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moneda::EurosToPesetasText(moneda::Currency(values[i])));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_EurosToPesetasText);

void BM_PesetasToEurosText(benchmark::State& state)
{
    const auto values = Amounts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moneda::PesetasToEurosText(moneda::Currency(values[i])));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_PesetasToEurosText);

} // namespace
