// SPDX-License-Identifier: GPL-3.0-or-later
// One keystroke's recalculation on each calculator tab: what the tab's change handler does
// with the field texts (parse, compute, print the result texts), without the widgets.
#include "tools/constants.h"
#include "tools/exposure.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/unitconvert.h"
#include "tools/zoneplate.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

constexpr char kDec = '.';
constexpr int kPlaces = 3;

// The constant list's entry as the window reads it on every calculation.
double RayleighConstant()
{
    static const std::string entry = tools::ConstantListEntries(-1, kDec)[tools::kRayleighIndex];
    return tools::ConstantFromEntry(entry, kDec).value_or(0);
}

// A digit typed into the pinhole diameter field: optimal focal length, f number and the
// exposure factor read back from the f number as shown.
void BM_KeystrokePinhole(benchmark::State &state)
{
    for (auto _ : state) {
        const double c = RayleighConstant();
        std::string focal =
            tools::OptimalFocalLengthText("0.3", "mm", "0.00055", c, "mm", kPlaces, kDec);
        std::string fNumber = tools::FNumberText("0.3", "mm", "50", "mm", kDec);
        std::string factor = tools::ExposureFactorText(fNumber, kDec);
        benchmark::DoNotOptimize(focal);
        benchmark::DoNotOptimize(factor);
    }
}
BENCHMARK(BM_KeystrokePinhole);

// A digit typed into the f number field of the exposure tab: whether the table can be
// calculated, and the exposure factor.
void BM_KeystrokeExposure(benchmark::State &state)
{
    for (auto _ : state) {
        const double n = tools::TextToNumber("250", kDec);
        bool complete = tools::InputsComplete(n, false, false);
        std::string factor = tools::ExposureFactorText("250", kDec);
        benchmark::DoNotOptimize(complete);
        benchmark::DoNotOptimize(factor);
    }
}
BENCHMARK(BM_KeystrokeExposure);

// A digit typed into a format field: the angle, its text and the diagram's lines.
void BM_KeystrokeAngle(benchmark::State &state)
{
    for (auto _ : state) {
        const std::optional<tools::ViewAngle> angle =
            tools::AngleOfView("24", "36", "mm", "50", "mm", kDec);
        std::string text = tools::AngleText(angle->degrees, 0, kPlaces, kDec);
        tools::AngleDiagram lines = tools::AngleDiagramLines(angle->halfAngle);
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_KeystrokeAngle);

void BM_KeystrokeMagnification(benchmark::State &state)
{
    for (auto _ : state) {
        tools::MagnificationResult r =
            tools::MagnificationTexts("2", "m", "50", "mm", "1.8", "m", "mm", kPlaces, kDec);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_KeystrokeMagnification);

// A digit typed into a zone plate field: whether Calculate may be enabled, and the header of
// the emptied table.
void BM_KeystrokeZonePlate(benchmark::State &state)
{
    for (auto _ : state) {
        bool ready = tools::ZonePlateInputsPositive("21", "100", "0.00055", kDec);
        std::string header = tools::ZoneTableHeaderText(0);
        benchmark::DoNotOptimize(ready);
        benchmark::DoNotOptimize(header);
    }
}
BENCHMARK(BM_KeystrokeZonePlate);

// A digit typed into the unit converter: the length in all three units.
void BM_KeystrokeConvert(benchmark::State &state)
{
    for (auto _ : state) {
        const std::optional<tools::LengthInUnits> r = tools::ConvertLength("2", "in", kDec);
        std::string mm = tools::GeneralNumberText(r->mm, kDec);
        std::string cm = tools::GeneralNumberText(r->cm, kDec);
        std::string in = tools::GeneralNumberText(r->in, kDec);
        benchmark::DoNotOptimize(mm);
        benchmark::DoNotOptimize(cm);
        benchmark::DoNotOptimize(in);
    }
}
BENCHMARK(BM_KeystrokeConvert);

// The zone plate tab's Calculate button for 21 zones: the diameters and the table's cells.
void BM_CalculateZonePlateTable(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double focal = tools::LengthTextToMM("100", "mm", kDec);
        const double wave = tools::TextToNumber("0.00055", kDec);
        const tools::TZonePlateValues values =
            tools::CalculateZonePlate(n, focal, wave, RayleighConstant());
        for (int row = 1; row <= n; ++row)
            benchmark::DoNotOptimize(tools::ZoneTableCellText(values[row], 0, kPlaces, kDec));
        benchmark::DoNotOptimize(tools::ZonePlateFNumberText(values));
    }
}
BENCHMARK(BM_CalculateZonePlateTable)->Arg(21)->Arg(1001);

} // namespace
