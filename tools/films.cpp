// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/films.h"

#include "tools/cp1252.h"
#include "tools/datadirs.h"
#include "tools/stdcompat.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace tools {

namespace {

constexpr std::size_t kNameAt = 0;
constexpr std::size_t kFormulaAt = 256;
constexpr std::size_t kMinTimeAt = 512;
constexpr std::size_t kMaxTimeAt = 520;

using Record = std::array<unsigned char, kFilmRecordSize>;

// A length byte and the used part of the 255 characters after it.
std::string TextField(const Record &r, std::size_t at)
{
    return std::string(reinterpret_cast<const char *>(&r[at + 1]), r[at]);
}

// Assembled byte by byte, so the file reads the same on a machine of either byte order.
double DoubleField(const Record &r, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | r[at + static_cast<std::size_t>(i)];
    return compat::bit_cast<double>(bits);
}

void PutText(std::string &record, std::size_t at, std::string_view text)
{
    text = text.substr(0, 255);
    record[at] = static_cast<char>(text.size());
    record.replace(at + 1, text.size(), text);
}

// IEEE 754 little-endian, whatever the byte order of the machine.
void PutDouble(std::string &record, std::size_t at, double value)
{
    const auto bits = compat::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < 8; ++i)
        record[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::string RecordBytes(const TFilmRecord &film)
{
    std::string record(kFilmRecordSize, '\0');
    PutText(record, kNameAt, film.Name);
    PutText(record, kFormulaAt, film.Formula);
    PutDouble(record, kMinTimeAt, film.MinTime);
    PutDouble(record, kMaxTimeAt, film.MaxTime);
    return record;
}

struct FileCloser
{
    void operator()(std::FILE *f) const { std::fclose(f); }
};

} // namespace

FilmDatabase ParseFilmDatabase(std::string_view bytes)
{
    FilmDatabase db;
    db.Status = FilmDatabaseStatus::Damaged;
    // A remainder shorter than a record is ignored; without a whole first record the file is
    // of no use.
    const std::size_t records = bytes.size() / kFilmRecordSize;
    if (records == 0)
        return db;
    const auto record = [bytes](std::size_t i) {
        Record r;
        const std::string_view part = bytes.substr(i * kFilmRecordSize, kFilmRecordSize);
        std::copy(part.begin(), part.end(), r.begin());
        return r;
    };
    const std::string version = TextField(record(0), kNameAt);
    TFilms films;
    films.reserve(records - 1);
    for (std::size_t i = 1; i < records; ++i) {
        const Record r = record(i);
        films.push_back({TextField(r, kNameAt), TextField(r, kFormulaAt),
                         DoubleField(r, kMinTimeAt), DoubleField(r, kMaxTimeAt)});
    }
    db.Status = FilmDatabaseStatus::Ok;
    db.FilmDBVersion = Cp1252ToUtf8(version);
    db.Films = std::move(films);
    return db;
}

FilmDatabase LoadFilmDatabase(const std::string &path)
{
    namespace fs = std::filesystem;
    FilmDatabase db;
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found)
        return db; // Missing
    db.Status = FilmDatabaseStatus::Damaged;
    db.Path = path;
    if (ec)
        return db;

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return db;
    std::string bytes;
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get()))
        return db;
    FilmDatabase parsed = ParseFilmDatabase(bytes);
    parsed.Path = path;
    return parsed;
}

std::vector<std::string> FilmDatabasePaths(const std::string &exeDir)
{
    return DataFilePaths(exeDir, "films.dat");
}

FilmDatabase LoadFirstFilmDatabase(const std::vector<std::string> &paths)
{
    for (const std::string &path : paths) {
        FilmDatabase db = LoadFilmDatabase(path);
        if (db.Status != FilmDatabaseStatus::Missing)
            return db;
    }
    return {};
}

std::string FilmDatabaseBytes(std::string_view versionCp1252, const TFilms &films)
{
    std::string bytes = RecordBytes({std::string(versionCp1252), "", 0, 0});
    for (const TFilmRecord &film : films)
        bytes += RecordBytes(film);
    return bytes;
}

const TFilmRecord *FindSelectedFilm(const TFilms &films, std::string_view name)
{
    for (const TFilmRecord &film : films)
        if (film.Name == name)
            return &film;
    return nullptr;
}

} // namespace tools
