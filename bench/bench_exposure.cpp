// SPDX-License-Identifier: GPL-3.0-or-later
// The exposure tab's table and the four kinds of saved file, built in memory.
#include "tools/cp1252.h"
#include "tools/exposure.h"
#include "tools/exposureexport.h"
#include "tools/films.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/stringtable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr char kDec = '.';

// The film database the build writes beside the programs.
const tools::FilmDatabase &Films()
{
    static const tools::FilmDatabase db = tools::LoadFilmDatabase(LUMIDRA_FILMS_DAT);
    return db;
}

const tools::TFilmRecord *Velvia()
{
    return tools::FindSelectedFilm(Films().Films, "Fujifilm Velvia 50");
}

// The times column of the table: each of the 18 resulting times printed, in the mode chosen
// in the options ("exact" 0 or "round off" 1).
void BM_FormatExposureTime18(benchmark::State &state)
{
    const int mode = static_cast<int>(state.range(0));
    const tools::ExposureTimes times = tools::ComputeExposureTimes(250, Velvia()).Times;
    for (auto _ : state)
        for (const double t : times)
            benchmark::DoNotOptimize(tools::FormatExposureTime(mode, t, kDec));
}
BENCHMARK(BM_FormatExposureTime18)->Arg(0)->Arg(1);

// The Calculate button: the times for the f number, corrected for the film, and their texts.
void BM_CalculateExposureTable(benchmark::State &state)
{
    const tools::TFilmRecord *film = Velvia();
    if (film == nullptr) {
        state.SkipWithError("films.dat has no Fujifilm Velvia 50");
        return;
    }
    for (auto _ : state) {
        const tools::ExposureResult r =
            tools::ComputeExposureTimes(tools::TextToNumber("250", kDec), film);
        for (const double t : r.Times)
            benchmark::DoNotOptimize(tools::FormatExposureTime(1, t, kDec));
    }
}
BENCHMARK(BM_CalculateExposureTable);

// Saving the table: its texts gathered from the tab and the bytes of the file, without the
// disk. Filter indexes 1 to 4: excel, txtformat, txttab, csv.
void BM_ExportExposureTable(benchmark::State &state)
{
    const std::string_view kind = tools::ExposureExportKind(static_cast<int>(state.range(0)));
    state.SetLabel(std::string(kind));
    const tools::TFilmRecord *film = Velvia();
    if (film == nullptr) {
        state.SkipWithError("films.dat has no Fujifilm Velvia 50");
        return;
    }
    const tools::ExposureTimes times = tools::ComputeExposureTimes(250, film).Times;
    const tools::ExposureLabels labels =
        tools::CompleteExposureTimeLabels(tools::StoredExposureTimeLabels(), tools::LoadStr(1811),
                                          tools::LoadStr(1812), tools::LoadStr(1813));
    const std::string factor = tools::ExposureFactorText("250", kDec);
    const std::string filmName = tools::Cp1252ToUtf8(film->Name);
    tools::ExportInputs in;
    in.FNumberText = "250";
    in.FactorText = factor;
    in.Reciprocity = true;
    in.FilmName = filmName;
    in.FilmDBVersion = Films().FilmDBVersion;
    in.Labels = &labels;
    in.Times = &times;
    for (auto _ : state) {
        auto bytes = tools::BuildExposureDocument(kind, tools::MakeExportTexts(in));
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ExportExposureTable)->DenseRange(1, 4);

} // namespace
