// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate PDF, built in memory, against its floor: printing the same path operands
// into one string and nothing else. The file cannot be built faster than its numbers can be
// printed, so the ratio of the two shows what the writer adds around them.
#include "tools/numtext.h"
#include "tools/zoneplate.h"
#include "tools/zoneplatepdf.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>

namespace {

constexpr long double kBezierArm = 0.5522847498L;

tools::ZonePlatePdfInput PlateInput(int zones)
{
    tools::ZonePlatePdfInput in;
    in.values = tools::CalculateZonePlate(zones, 100, 0.00055, 1.9);
    in.focalText = "100";
    in.unitText = "mm";
    in.date = "20261208010000";
    return in;
}

void BM_ZonePlatePdf(benchmark::State &state)
{
    const tools::ZonePlatePdfInput in = PlateInput(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string pdf = tools::BuildZonePlatePdf(in);
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ZonePlatePdf)->Arg(11)->Arg(1001)->Arg(10001)->Unit(benchmark::kMicrosecond);

// The 26 operands of each disc (a move and four Bezier segments) formed as the writer forms
// them and printed with a blank after each: the numbers alone.
void BM_ZonePlatePdfNumbersOnly(benchmark::State &state)
{
    const tools::ZonePlatePdfInput in = PlateInput(static_cast<int>(state.range(0)));
    const double side = tools::ZonePlatePageSide(in.values, in.magnification);
    std::vector<double> diameters(in.values.size());
    for (std::size_t i = 1; i < diameters.size(); ++i)
        diameters[i] = tools::ZoneDiameterPoints(in.values[i], in.magnification);
    for (auto _ : state) {
        std::string out;
        out.reserve(diameters.size() * 26 * 20);
        const auto print = [&out](std::initializer_list<long double> operands) {
            for (const long double v : operands) {
                out += tools::NumberToDotText(static_cast<double>(v));
                out += ' ';
            }
        };
        const long double c = static_cast<long double>(side) / 2;
        for (std::size_t i = diameters.size() - 1; i >= 1; --i) {
            const long double r = static_cast<long double>(diameters[i]) / 2;
            const long double rk = r * kBezierArm;
            print({c - r, c});
            print({c - r, rk + c, c - rk, c + r, c, c + r});
            print({rk + c, c + r, c + r, rk + c, c + r, c});
            print({c + r, c - rk, rk + c, c - r, c, c - r});
            print({c - rk, c - r, c - r, c - rk, c - r, c});
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ZonePlatePdfNumbersOnly)
    ->Arg(11)
    ->Arg(1001)
    ->Arg(10001)
    ->Unit(benchmark::kMicrosecond);

} // namespace
