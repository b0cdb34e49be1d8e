// SPDX-License-Identifier: GPL-3.0-or-later
// The film database reader on arbitrary bytes as films.dat, and what the exposure tab then
// does with each film: find it by name, compute the corrected table and print its times.
//
// The reader takes a path, so each input is written to a file in the scratch folder (in
// memory where possible) that is reused for the whole run.
#include "fuzz_input.h"
#include "tools/exposure.h"
#include "tools/films.h"
#include "tools/utf16.h"

#include <cstdio>
#include <string>

using namespace tools;

namespace {

const std::string &Scratch()
{
    static const std::string path = (fuzz::ScratchFolder() / "films.dat").string();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::FILE *f = std::fopen(Scratch().c_str(), "wb");
    fuzz::Check(f != nullptr, "the scratch file can be written", Scratch());
    const bool written = std::fwrite(data, 1, size, f) == size;
    fuzz::Check(std::fclose(f) == 0 && written, "the scratch file is written");

    const FilmDatabase db = LoadFilmDatabase(Scratch());
    if (size < kFilmRecordSize) {
        fuzz::Check(db.Status == FilmDatabaseStatus::Damaged, "a short file is damaged");
        fuzz::Check(db.Films.empty() && db.FilmDBVersion.empty(), "a damaged file gives nothing");
        return 0;
    }
    fuzz::Check(db.Status == FilmDatabaseStatus::Ok, "a file of whole records loads");
    fuzz::Check(db.Films.size() == size / kFilmRecordSize - 1, "one film a record after the first");
    fuzz::Check(IsValidUtf8(db.FilmDBVersion), "the version text is UTF-8", db.FilmDBVersion);
    fuzz::Check(db.FilmDBVersion.size() <= 3 * 255, "the version text is at most 255 characters");
    for (std::size_t i = 0; i < db.Films.size(); ++i) {
        const TFilmRecord &film = db.Films[i];
        fuzz::Check(film.Name.size() <= 255 && film.Formula.size() <= 255, "fields fit a record");
        const TFilmRecord *found = FindSelectedFilm(db.Films, film.Name);
        fuzz::Check(found != nullptr && found <= &film && found->Name == film.Name,
                    "a name finds its first film");
        // The table of the first few films is enough to reach every path: it is the slow part.
        if (i >= 3)
            continue;
        for (double fNumber : {22.0, 250.0}) {
            const ExposureResult result = ComputeExposureTimes(fNumber, &film);
            fuzz::Check(result.FormulaBroken == !ParseFilmFormula(film.Formula).has_value(),
                        "a table for every formula that reads", film.Formula);
            fuzz::Check(result.FirstOutOfRangeRow <= kExposureRows, "a row of the table");
            for (double t : result.Times)
                for (int mode : {0, 1})
                    fuzz::Check(!FormatExposureTime(mode, t, ',').empty(), "a time prints");
        }
    }
    return 0;
}
