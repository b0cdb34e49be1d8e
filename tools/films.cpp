// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/films.h"

#include "tools/cp1252.h"
#include "tools/datadirs.h"
#include "tools/stdcompat.h"

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

struct FileCloser
{
    void operator()(std::FILE *f) const { std::fclose(f); }
};

} // namespace

FilmDatabase LoadFilmDatabase(const std::string &path)
{
    namespace fs = std::filesystem;
    FilmDatabase db;
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found)
        return db; // Missing
    db.Status = FilmDatabaseStatus::Damaged;
    if (ec)
        return db;

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return db;
    Record r;
    bool first = true;
    std::string version;
    TFilms films;
    for (;;) {
        std::size_t got = std::fread(r.data(), 1, r.size(), file.get());
        if (got < r.size()) {
            // A remainder shorter than a record is ignored; a short first record or a read
            // error makes the whole file unusable.
            if (std::ferror(file.get()) || first)
                return db;
            break;
        }
        if (first) {
            version = TextField(r, kNameAt);
            first = false;
            continue;
        }
        films.push_back({TextField(r, kNameAt), TextField(r, kFormulaAt),
                         DoubleField(r, kMinTimeAt), DoubleField(r, kMaxTimeAt)});
    }
    db.Status = FilmDatabaseStatus::Ok;
    db.FilmDBVersion = Cp1252ToUtf8(version);
    db.Films = std::move(films);
    return db;
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

const TFilmRecord *FindSelectedFilm(const TFilms &films, std::string_view name)
{
    for (const TFilmRecord &film : films)
        if (film.Name == name)
            return &film;
    return nullptr;
}

} // namespace tools
