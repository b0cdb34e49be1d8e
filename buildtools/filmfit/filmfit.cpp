// SPDX-License-Identifier: GPL-3.0-or-later
// filmfit: builds the film database films.dat from its readable source.
//
//     filmfit films.txt films.dat
//
// For every film of the source it fits a polynomial in the metered time to the maker's
// reciprocity model over the film's range, checks the entry as the program will read and apply
// it (formula text read back, the correction and its continuation past the range), and fails
// when any film breaks a rule of tools/filmfit.h, the fit the program runs on the films its
// users enter. The report goes to standard
// output: per film the range, the degree, the largest error against the maker's model and
// where it lies, and the slope at which the program carries the entry on past its range
// beside the maker's slope.
#include "tools/filmfit.h"
#include "tools/atomicfile.h"
#include "tools/cp1252.h"
#include "tools/films.h"
#include "tools/filmsource.h"
#include "tools/stdcompat.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFieldLength = 255;

// Report columns: numbers through to_chars, never through the C library's locale.
std::string Column(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text + ' ';
}

std::string Number(double value, int decimals = -1)
{
    char buf[64];
    auto r = decimals < 0
                 ? tools::compat::to_chars(buf, buf + sizeof buf, value)
                 : tools::compat::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

int Fail(const std::string &what)
{
    std::fprintf(stderr, "filmfit: %s\n", what.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return Fail("usage: filmfit films.txt films.dat");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in)
        return Fail(std::string("cannot read ") + argv[1]);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    tools::FilmSourceFile source;
    std::string error;
    if (!tools::ParseFilmSource(text, source, error))
        return Fail(std::string(argv[1]) + ": " + error);
    std::string version = tools::Utf8ToCp1252(source.Version);
    if (version.size() > kFieldLength || tools::Cp1252ToUtf8(version) != source.Version)
        return Fail("the version text does not fit a record in Windows-1252");

    tools::TFilms entries;
    bool ok = true;
    std::string report = "film                              from (s)   to (s) degree  error  at (s)"
                         "  slope  maker\n";
    for (const tools::FilmSource &film : source.Films) {
        std::string name = tools::Utf8ToCp1252(film.Name);
        const std::string line = "line " + std::to_string(film.Line) + ": ";
        if (name.size() >= kFieldLength || tools::Cp1252ToUtf8(name) != film.Name) {
            ok = false;
            Fail(line + "the name '" + film.Name + "' does not fit a record in Windows-1252");
            continue;
        }
        const tools::FilmFit f = tools::FitFilm(film.Model, film.Examples);
        report += film.Name + std::string(film.Name.size() < 32 ? 32 - film.Name.size() : 0, ' ') +
                  Column(Number(f.MinTime), 10) + Column(Number(f.MaxTime), 8) +
                  Column(Number(f.Degree), 6) + Column(Number(100 * f.Error.Max, 2) + "%", 6) +
                  Column(Number(f.Error.At, 3), 8) + Column(Number(f.Slope, 3), 6) +
                  Column(Number(f.MakerSlope, 3), 6) + "\n";
        for (const std::string &fault : f.Faults) {
            ok = false;
            Fail(line + "the entry of '" + film.Name + "' " + fault);
        }
        if (f.Faults.empty())
            entries.push_back({name, f.Formula, f.MinTime, f.MaxTime});
    }
    std::fputs(report.c_str(), stdout);
    if (!ok)
        return 1;
    if (!tools::WriteFileAtomically(argv[2], tools::FilmDatabaseBytes(version, entries)))
        return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
