// SPDX-License-Identifier: GPL-3.0-or-later
// The exposure tab, its Save, and the film database.
#include "cli/cli.h"

#include "tools/cp1252.h"
#include "tools/exposure.h"
#include "tools/exposureexport.h"
#include "tools/films.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/stringtable.h"

#include <algorithm>

namespace cli {

namespace {

constexpr char kDot = '.';

// The database the window would load, or the file --films names.
tools::FilmDatabase LoadFilms(const Invocation &in)
{
    if (const std::string *path = in.args.Value("films")) {
        if (path->empty())
            throw UsageError("option --films needs a file name");
        return tools::LoadFilmDatabase(*path);
    }
    return tools::LoadFirstFilmDatabase(tools::FilmDatabasePaths(in.exeDir));
}

// The database is needed: missing or damaged ends the run with the window's message.
void RequireFilms(const tools::FilmDatabase &db)
{
    if (db.Status == tools::FilmDatabaseStatus::Missing)
        throw Failure(tools::LoadStr(1815));
    if (db.Status == tools::FilmDatabaseStatus::Damaged)
        throw Failure(tools::LoadStr(1826));
}

// The film list holds Windows-1252 names; a name that cannot be written so matches none.
const tools::TFilmRecord *FindFilm(const tools::FilmDatabase &db, const std::string &name)
{
    const std::string bytes = tools::Utf8ToCp1252(name);
    if (tools::Cp1252ToUtf8(bytes) != name)
        return nullptr;
    return tools::FindSelectedFilm(db.Films, bytes);
}

// The filter index of the save dialog whose kind is kind, or 0.
int FilterIndexOfKind(std::string_view kind)
{
    for (int index = 1; !tools::ExposureExportKind(index).empty(); ++index)
        if (tools::ExposureExportKind(index) == kind)
            return index;
    return 0;
}

} // namespace

std::string RunExposure(const Invocation &in)
{
    const Args &args = in.args;
    // The window's field takes digits only; its number must be at least 22.
    const std::string &fText = Required(args, "fnumber");
    const bool digitsOnly = !fText.empty() && std::all_of(fText.begin(), fText.end(), [](char ch) {
        return ch >= '0' && ch <= '9';
    });
    const double fNumber = tools::TextToNumber(fText, kDot);
    if (!digitsOnly || !tools::InputsComplete(fNumber, false, false))
        throw UsageError(Problem("fnumber", fText,
                                 "the f number must be a whole number of 22 "
                                 "or more"));

    const std::string *output = args.Value("output");
    const std::string *kind = args.Value("kind");
    if (kind && !output)
        throw UsageError("option --kind needs --output");
    int filterIndex = 0;
    if (output) {
        if (!kind)
            throw UsageError("option --output needs --kind excel, txtformat, txttab or csv");
        filterIndex = FilterIndexOfKind(*kind);
        if (filterIndex == 0)
            throw UsageError(Problem("kind", *kind,
                                     "the kind must be excel, txtformat, txttab "
                                     "or csv"));
        if (output->empty())
            throw UsageError("option --output needs a file name");
    }

    // The window loads the database at start-up whatever the tab shows: a saved table names
    // its version even without a film.
    // A database named by --films must be readable, the one beside the program only when a
    // film is asked for.
    const std::string *filmName = args.Value("film");
    const bool ownFilm = HasOwnFilm(args);
    if (filmName && ownFilm)
        throw UsageError("give either --film or --power or --pairs");
    if (args.Has("range") && !ownFilm)
        throw UsageError("option --range needs --power or --pairs");
    tools::FilmDatabase db;
    if (filmName || output || args.Has("films"))
        db = LoadFilms(in);
    if (filmName || args.Has("films"))
        RequireFilms(db);
    const tools::TFilmRecord *film = nullptr;
    tools::TFilmRecord own;
    if (filmName) {
        film = FindFilm(db, *filmName);
        if (!film)
            throw UsageError(
                Problem("film", *filmName, "no such film (lumidra-calc films lists them)"));
    } else if (ownFilm) {
        const tools::FilmFit fit = FitOwnFilm(args);
        own = {tools::Utf8ToCp1252(OwnFilmName(args)), fit.Formula, fit.MinTime, fit.MaxTime};
        film = &own;
    }

    const tools::ExposureResult result = tools::ComputeExposureTimes(fNumber, film);
    if (result.FormulaBroken)
        throw Failure(tools::BrokenFormulaMessage(*film));
    const std::string factor = tools::ExposureFactorText(fText, kDot);
    const tools::ExposureLabels labels =
        tools::CompleteExposureTimeLabels(tools::StoredExposureTimeLabels(), tools::LoadStr(1811),
                                          tools::LoadStr(1812), tools::LoadStr(1813));
    const int mode = args.Has("exact") ? 0 : 1;

    if (output) {
        const std::string path = tools::ValidateExposureFileName(*output, filterIndex);
        const std::string filmUtf8 = film ? tools::Cp1252ToUtf8(film->Name) : std::string();
        tools::ExportInputs ei;
        ei.FNumberText = fText;
        ei.FactorText = factor;
        ei.Reciprocity = film != nullptr;
        ei.FilmName = filmUtf8;
        ei.FilmDBVersion = db.FilmDBVersion;
        ei.Labels = &labels;
        ei.Times = &result.Times;
        ei.Mode = mode;
        ei.DecSep = kDot;
        if (!tools::ExportExposureTable(path, *kind, tools::MakeExportTexts(ei)))
            throw Failure(tools::ExposureSaveFailedText(path));
        return {};
    }

    Output out;
    out.Line("exposure factor", factor);
    for (int row = 1; row <= tools::kExposureRows; ++row) {
        out.Raw(labels[row - 1]);
        out.Raw("\t");
        out.Raw(tools::FormatExposureTime(mode, result.Times[row - 1], kDot));
        if (result.FirstOutOfRangeRow != 0 && row >= result.FirstOutOfRangeRow)
            out.Raw("\t*");
        out.Raw("\n");
    }
    return out.Text();
}

std::string RunFilms(const Invocation &in)
{
    const tools::FilmDatabase db = LoadFilms(in);
    RequireFilms(db);
    Output out;
    out.Line("film database", db.FilmDBVersion);
    for (const tools::TFilmRecord &film : db.Films) {
        out.Raw(tools::Cp1252ToUtf8(film.Name));
        out.Raw("\t");
        out.Raw(tools::GeneralNumberText(film.MinTime, kDot));
        out.Raw("\t");
        out.Raw(tools::GeneralNumberText(film.MaxTime, kDot));
        out.Raw("\t");
        out.Raw(tools::Cp1252ToUtf8(film.Formula));
        out.Raw("\n");
    }
    return out.Text();
}

} // namespace cli
