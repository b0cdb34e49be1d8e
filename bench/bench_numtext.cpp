// SPDX-License-Identifier: GPL-3.0-or-later
// The number texts every result field goes through.
#include "tools/numtext.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

// Lengths of the size the calculators print: pinholes, focal lengths, film sizes.
constexpr std::array<double, 8> kLengths = {0.315,  45.329,    2.675, 150.0,
                                            0.0004, 1234.5678, 25.4,  0.0};

void BM_FormatLength(benchmark::State &state)
{
    const int places = static_cast<int>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tools::FormatLength(i % 2 ? "in" : "mm", places, kLengths[i % kLengths.size()], '.'));
        ++i;
    }
}
BENCHMARK(BM_FormatLength)->Arg(0)->Arg(3)->Arg(20);

// The numbers of the unit converter and of the PDF: all digits that read back.
constexpr std::array<double, 8> kGeneral = {50.8,   5.08,    2.0,        1.0 / 3,
                                            1.5e20, -2.5e-7, 123456.789, 0.1 + 0.2};

void BM_GeneralNumberText(benchmark::State &state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tools::GeneralNumberText(kGeneral[i % kGeneral.size()], ','));
        ++i;
    }
}
BENCHMARK(BM_GeneralNumberText);

} // namespace
