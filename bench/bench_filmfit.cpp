// SPDX-License-Identifier: GPL-3.0-or-later
// A film of one's own: what the films dialog does on each key in the core (read the input,
// check the name, make the key of its fit), and the fit itself, which the dialog runs on a
// worker thread after a pause in typing.
#include "tools/filmfit.h"
#include "tools/filminput.h"
#include "tools/filmsource.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

tools::FilmInput PowerLaw()
{
    tools::FilmInput input;
    input.Name = "Own HP5";
    input.Power = "1.31";
    return input;
}

tools::FilmInput TriX()
{
    tools::FilmInput input;
    input.Name = "Kodak Tri-X 400 (own test)";
    input.PowerLaw = false;
    input.Pairs = {{"1", "2"}, {"10", "50"}, {"100", "1200"}};
    // The dialog's twelve rows, the unused ones empty.
    input.Pairs.resize(12);
    return input;
}

// One key typed in the dialog, the fit aside.
void BM_KeystrokeFilmDialog(benchmark::State &state)
{
    const tools::FilmInput input = state.range(0) == 0 ? PowerLaw() : TriX();
    state.SetLabel(state.range(0) == 0 ? "power law" : "pairs");
    const std::vector<std::string> taken(25, "Ilford HP5 Plus");
    for (auto _ : state) {
        benchmark::DoNotOptimize(tools::CheckFilmName(input.Name, taken));
        const tools::FilmInputCheck check = tools::ReadFilmInput(input);
        benchmark::DoNotOptimize(check);
        tools::FilmInput model = input;
        model.Name.clear();
        benchmark::DoNotOptimize(tools::FilmSourceLines(model));
    }
}
BENCHMARK(BM_KeystrokeFilmDialog)->Arg(0)->Arg(1);

// The fit of one film: a power law over three decades needs the highest degree of the
// shipped films (10); measured pairs need fewer.
void BM_FitFilm(benchmark::State &state)
{
    const tools::FilmInput input = state.range(0) == 0 ? PowerLaw() : TriX();
    state.SetLabel(state.range(0) == 0 ? "power law 1.31" : "Tri-X pairs");
    const tools::FilmModelData model = tools::ReadFilmInput(input).Model;
    for (auto _ : state)
        benchmark::DoNotOptimize(tools::FitFilm(model));
}
BENCHMARK(BM_FitFilm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
