// SPDX-License-Identifier: GPL-3.0-or-later
// The films a user typed, as films.txt beside the settings keeps them, on arbitrary text: read
// without harm, and what is read writes back to the same films.
//
// Input: the text of the file; its first line is also read as a pair list of lumidra-calc.
#include "fuzz_input.h"
#include "tools/filmsource.h"

#include <cmath>
#include <string>

using namespace tools;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text = fuzz::AsText(data, size);
    const auto pairs = ParseFilmPairList(fuzz::Fields(text, 2)[0]);
    if (pairs) {
        FilmInput input;
        input.PowerLaw = false;
        input.Pairs = *pairs;
        ReadFilmInput(input);
    }

    FilmSourceFile file;
    std::string error;
    if (!ParseFilmSource(text, file, error, FilmSourceRules::OwnFilms)) {
        fuzz::Check(error.rfind("line ", 0) == 0, "a refusal names its line", error);
        return 0;
    }
    std::string again = "version " + file.Version + "\n";
    for (const FilmSource &film : file.Films) {
        const FilmModelData &m = film.Model;
        fuzz::Check(m.MinTime > 0 && m.MinTime <= m.MaxTime && std::isfinite(m.MaxTime),
                    "a film read has a range", film.Name);
        fuzz::Check(m.DataMin <= m.MinTime && m.MaxTime <= m.DataMax,
                    "the range within the data's own", film.Name);
        fuzz::Check(ModelTime(m, m.MinTime) >= m.MinTime * (1 - 1e-9) ||
                        !std::isfinite(ModelTime(m, m.MinTime)),
                    "never shorter than metered at the start", film.Name);
        again += "\n" + FilmSourceLines(film.Input);
    }
    FilmSourceFile reread;
    fuzz::Check(ParseFilmSource(again, reread, error, FilmSourceRules::OwnFilms),
                "the films written read back", error);
    fuzz::Check(reread.Films.size() == file.Films.size(), "as many films read back");
    for (std::size_t i = 0; i < file.Films.size(); ++i)
        fuzz::Check(reread.Films[i].Input == file.Films[i].Input, "each film read back as typed",
                    file.Films[i].Name);
    return 0;
}
