// SPDX-License-Identifier: GPL-3.0-or-later
// filmfit: builds the film database films.dat from its readable source.
//
//     filmfit films.txt films.dat
//
// For every film of the source it fits a polynomial in the metered time to the maker's
// reciprocity model over the film's range, checks the entry as the program will read and apply
// it (formula text read back, the correction and its continuation past the range), and fails
// when any film breaks a rule of buildtools/filmfit/fitfilm.h. The report goes to standard
// output: per film the range, the degree, the largest error against the maker's model and
// where it lies, and the slope at which the program carries the entry on past its range
// beside the maker's slope.
#include "buildtools/filmfit/filmsource.h"
#include "buildtools/filmfit/fitfilm.h"
#include "tools/cp1252.h"
#include "tools/stdcompat.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFieldLength = 255;
constexpr std::size_t kRecordSize = 528;

struct Entry
{
    std::string Name;    // Windows-1252
    std::string Formula; // as stored
    double MinTime = 0;
    double MaxTime = 0;
};

void PutText(std::string &record, std::size_t at, const std::string &text)
{
    record[at] = static_cast<char>(text.size());
    record.replace(at + 1, text.size(), text);
}

// IEEE 754 little-endian, whatever the byte order of the machine the tool runs on.
void PutDouble(std::string &record, std::size_t at, double value)
{
    auto bits = tools::compat::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        record[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::string Record(const Entry &e)
{
    std::string record(kRecordSize, '\0');
    PutText(record, 0, e.Name);
    PutText(record, 256, e.Formula);
    PutDouble(record, 512, e.MinTime);
    PutDouble(record, 520, e.MaxTime);
    return record;
}

bool WriteWhole(const std::string &path, const std::string &content)
{
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    std::remove(path.c_str());
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

// Report columns: numbers through std::to_chars, never through the C library's locale.
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

    filmfit::FilmSourceFile source;
    std::string error;
    if (!filmfit::ParseFilmSource(text, source, error))
        return Fail(std::string(argv[1]) + ": " + error);
    std::string version = tools::Utf8ToCp1252(source.Version);
    if (version.size() > kFieldLength || tools::Cp1252ToUtf8(version) != source.Version)
        return Fail("the version text does not fit a record in Windows-1252");

    std::string content = Record({version, "", 0, 0});
    bool ok = true;
    std::string report = "film                              from (s)   to (s) degree  error  at (s)"
                         "  slope  maker\n";
    for (const filmfit::FilmSource &film : source.Films) {
        std::string name = tools::Utf8ToCp1252(film.Name);
        const std::string line = "line " + std::to_string(film.Line) + ": ";
        if (name.size() >= kFieldLength || tools::Cp1252ToUtf8(name) != film.Name) {
            ok = false;
            Fail(line + "the name '" + film.Name + "' does not fit a record in Windows-1252");
            continue;
        }
        const filmfit::FilmFit f = filmfit::FitFilm(film);
        report += film.Name + std::string(film.Name.size() < 32 ? 32 - film.Name.size() : 0, ' ') +
                  Column(Number(film.MinTime), 10) + Column(Number(film.MaxTime), 8) +
                  Column(Number(f.Degree), 6) + Column(Number(100 * f.Error.Max, 2) + "%", 6) +
                  Column(Number(f.Error.At, 3), 8) + Column(Number(f.Slope, 3), 6) +
                  Column(Number(f.MakerSlope, 3), 6) + "\n";
        for (const std::string &fault : f.Faults) {
            ok = false;
            Fail(line + "the entry of '" + film.Name + "' " + fault);
        }
        if (f.Faults.empty())
            content += Record({name, f.Formula, film.MinTime, film.MaxTime});
    }
    std::fputs(report.c_str(), stdout);
    if (!ok)
        return 1;
    if (!WriteWhole(argv[2], content))
        return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
