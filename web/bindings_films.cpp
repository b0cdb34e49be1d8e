// SPDX-License-Identifier: GPL-3.0-or-later
// The page's films: the shipped database it fetched and the user's own films, which the page
// keeps in the browser's storage in the two files the desktop keeps beside its settings. The
// film list is the shipped films followed by the own films, and a film is passed by its place
// in that list. The exposure table and its Save, the check of a film as it is typed and its
// fit (run in a worker, so that typing goes on meanwhile) are the desktop's routines.
#include "web/bindings.h"

#include "tools/cp1252.h"
#include "tools/exposure.h"
#include "tools/exposureexport.h"
#include "tools/filmfit.h"
#include "tools/filminput.h"
#include "tools/films.h"
#include "tools/filmsource.h"
#include "tools/numtext.h"
#include "tools/ownfilms.h"
#include "tools/reciprocity.h"
#include "tools/stringtable.h"

#include <emscripten/bind.h>

#include <string>
#include <vector>

namespace {

using emscripten::val;
using web::Bytes;
using web::Sep;
using web::Strings;

// The plot draws the fitted formula with this many points, and its continuation over a decade
// past the data.
constexpr int kCurvePoints = 80;
constexpr double kContinuationSpan = 10;

tools::FilmDatabase &Shipped()
{
    static tools::FilmDatabase db;
    return db;
}

std::vector<tools::OwnFilm> &Own()
{
    static std::vector<tools::OwnFilm> films;
    return films;
}

std::size_t ShippedCount()
{
    return Shipped().Films.size();
}

const tools::TFilmRecord *FilmAt(int index)
{
    if (index < 0)
        return nullptr;
    const auto i = static_cast<std::size_t>(index);
    if (i < ShippedCount())
        return &Shipped().Films[i];
    if (i - ShippedCount() < Own().size())
        return &Own()[i - ShippedCount()].Record;
    return nullptr;
}

val Names(const std::vector<std::string> &cp1252)
{
    std::vector<std::string> names;
    for (const std::string &name : cp1252)
        names.push_back(tools::Cp1252ToUtf8(name));
    return Strings(names);
}

// bytes: the fetched films.dat as a Uint8Array, or null when it could not be fetched.
val LoadFilmDatabase(val bytes)
{
    tools::FilmDatabase &db = Shipped();
    db = {};
    if (const std::optional<std::string> data = web::BytesFrom(bytes))
        db = tools::ParseFilmDatabase(*data);
    val result = val::object();
    result.set("status", db.Status == tools::FilmDatabaseStatus::Ok        ? "ok"
                         : db.Status == tools::FilmDatabaseStatus::Damaged ? "damaged"
                                                                           : "missing");
    result.set("version", db.FilmDBVersion);
    result.set("names", Names(tools::FilmNames(db.Films)));
    return result;
}

// The own films from the storage: films.dat as a Uint8Array and films.txt, each null when not
// kept. A damaged one is said in damaged; it stays as it is until the next save.
val LoadOwnFilms(val dat, val text)
{
    std::optional<std::string> typed;
    if (!text.isNull() && !text.isUndefined())
        typed = text.as<std::string>();
    tools::OwnFilms own = tools::ParseOwnFilms(web::BytesFrom(dat), typed);
    Own() = std::move(own.Films);
    val result = val::object();
    result.set("damagedFile", own.DamagedFile);
    result.set("damaged", own.DamagedFile.empty()
                              ? std::string()
                              : tools::FormatStr(2709, {own.DamagedFile, tools::OwnFilmsBackupPath(
                                                                             own.DamagedFile)}));
    result.set("names", Names(tools::FilmNames(Own())));
    return result;
}

// What the storage keeps of the own films now.
val OwnFilmsContent()
{
    const tools::OwnFilmsContent content = tools::OwnFilmsBytes(Own());
    val result = val::object();
    result.set("dat", Bytes(content.Dat));
    result.set("text", content.Text);
    return result;
}

// A film as the edit dialog holds it: {name, powerLaw, power, from, pairs: [[metered, needed],
// ...], rangeMin, rangeMax}, numbers written with ".".
tools::FilmInput InputFrom(const val &v)
{
    tools::FilmInput input;
    input.Name = tools::TrimFilmName(v["name"].as<std::string>());
    input.PowerLaw = v["powerLaw"].as<bool>();
    input.Power = v["power"].as<std::string>();
    input.From = v["from"].as<std::string>();
    const val pairs = v["pairs"];
    const int count = pairs["length"].as<int>();
    for (int i = 0; i < count; ++i)
        input.Pairs.push_back({pairs[i][0].as<std::string>(), pairs[i][1].as<std::string>()});
    input.RangeMin = v["rangeMin"].as<std::string>();
    input.RangeMax = v["rangeMax"].as<std::string>();
    return input;
}

val InputValue(const tools::FilmInput &input)
{
    val v = val::object();
    v.set("name", input.Name);
    v.set("powerLaw", input.PowerLaw);
    v.set("power", input.Power);
    v.set("from", input.From);
    val pairs = val::array();
    for (const tools::FilmPairInput &pair : input.Pairs) {
        val p = val::array();
        p.call<void>("push", pair.Metered);
        p.call<void>("push", pair.Needed);
        pairs.call<void>("push", p);
    }
    v.set("pairs", pairs);
    v.set("rangeMin", input.RangeMin);
    v.set("rangeMax", input.RangeMax);
    return v;
}

// The own film at its place among the own films, as it was typed. A film whose typed form was
// lost shows its name and range; its model is typed anew.
val OwnFilmInput(int ownIndex)
{
    if (ownIndex < 0 || static_cast<std::size_t>(ownIndex) >= Own().size())
        return val::null();
    const tools::OwnFilm &film = Own()[static_cast<std::size_t>(ownIndex)];
    return InputValue(tools::InputForEditing(film));
}

val Pairs(const std::vector<tools::TimePair> &points)
{
    val array = val::array();
    for (const tools::TimePair &p : points) {
        array.call<void>("push", p.Metered);
        array.call<void>("push", p.Corrected);
    }
    return array;
}

// A film as it is typed, checked as the edit dialog checks it: the reasons OK stays disabled
// (its name, its model), the key under which its fit is known (empty when it cannot be
// fitted), the data's own range for the empty range fields, and the pairs that read as
// numbers, for the plot. editing: the own film being changed, whose name it may keep; -1.
val CheckFilm(val v, int editing, int sep)
{
    const tools::FilmInput input = InputFrom(v);
    std::vector<std::string> taken = tools::FilmNames(Shipped().Films);
    for (std::size_t i = 0; i < Own().size(); ++i)
        if (static_cast<int>(i) != editing)
            taken.push_back(Own()[i].Record.Name);
    const tools::FilmNameFault nameFault = tools::CheckFilmName(input.Name, taken);
    const tools::FilmInputCheck check = tools::ReadFilmInput(input);

    std::vector<std::string> reasons;
    if (nameFault != tools::FilmNameFault::None)
        reasons.push_back(tools::FilmNameFaultText(nameFault, input.Name));
    std::string key;
    if (check.Fault != tools::FilmInputFault::None) {
        reasons.push_back(tools::FilmInputFaultText(check, Sep(sep)));
    } else {
        tools::FilmInput model = input;
        model.Name.clear();
        key = tools::FilmSourceLines(model);
    }
    const bool read = check.Fault == tools::FilmInputFault::None ||
                      check.Fault == tools::FilmInputFault::RangeBeyondData ||
                      check.Fault == tools::FilmInputFault::RangeNotNumber;

    std::vector<tools::TimePair> measured;
    if (!input.PowerLaw) {
        for (const tools::FilmPairInput &pair : input.Pairs) {
            tools::FilmInput one;
            one.PowerLaw = false;
            one.Pairs = {pair};
            const tools::FilmInputCheck c = tools::ReadFilmInput(one);
            if (c.Fault == tools::FilmInputFault::None)
                measured.push_back({c.Model.Points[0].Metered, c.Model.Points[0].Corrected});
        }
    }
    val result = val::object();
    result.set("nameOk", nameFault == tools::FilmNameFault::None);
    result.set("reasons", Strings(reasons));
    result.set("key", key);
    result.set("dataMin", read ? tools::GeneralNumberText(check.Model.DataMin, Sep(sep)) : "");
    result.set("dataMax", read ? tools::GeneralNumberText(check.Model.DataMax, Sep(sep)) : "");
    result.set("measured", Pairs(measured));
    return result;
}

// The fit of a film's model, as the edit dialog shows it: whether it may be kept, its entry,
// the largest error, the reason it may not, and the curves of the plot (flat lists of metered
// and corrected times).
val FitFilm(val v, int sep)
{
    val result = val::object();
    const tools::FilmInputCheck check = tools::ReadFilmInput(InputFrom(v));
    if (check.Fault != tools::FilmInputFault::None) {
        result.set("ok", false);
        return result;
    }
    const tools::FilmFit fit = tools::FitFilm(check.Model);
    result.set("ok", fit.Faults.empty());
    result.set("formula", fit.Formula);
    result.set("minTime", fit.MinTime);
    result.set("maxTime", fit.MaxTime);
    result.set("error", tools::FormatStr(2722, tools::FitErrorPercentText(fit, Sep(sep))));
    result.set("fault", fit.Faults.empty() ? std::string() : tools::FitFaultText(fit, Sep(sep)));
    std::vector<tools::TimePair> fitted, continued;
    if (fit.Faults.empty()) {
        const tools::FilmModel entry = tools::MakeFilmModel(
            tools::ParseFilmFormula(fit.Formula).value_or(std::vector<double>{}), fit.MinTime,
            fit.MaxTime);
        fitted = tools::SampleCorrectedTimes(entry, fit.MinTime, fit.MaxTime, kCurvePoints);
        continued = tools::SampleCorrectedTimes(entry, fit.MaxTime, fit.MaxTime * kContinuationSpan,
                                                kCurvePoints);
    }
    result.set("fitted", Pairs(fitted));
    result.set("continued", Pairs(continued));
    return result;
}

// Keeps a film with the entry its fit gave (added at the end, or in place of the own film
// editing); the page then stores OwnFilmsContent.
void PutOwnFilm(val v, const std::string &formula, double minTime, double maxTime, int editing)
{
    tools::FilmFit fit;
    fit.Formula = formula;
    fit.MinTime = minTime;
    fit.MaxTime = maxTime;
    tools::OwnFilm film = tools::MakeOwnFilm(InputFrom(v), fit);
    if (editing >= 0 && static_cast<std::size_t>(editing) < Own().size())
        Own()[static_cast<std::size_t>(editing)] = std::move(film);
    else
        Own().push_back(std::move(film));
}

void RemoveOwnFilm(int ownIndex)
{
    if (ownIndex >= 0 && static_cast<std::size_t>(ownIndex) < Own().size())
        Own().erase(Own().begin() + ownIndex);
}

tools::ExposureLabels Labels()
{
    return tools::CompleteExposureTimeLabels(tools::StoredExposureTimeLabels(),
                                             tools::LoadStr(1811), tools::LoadStr(1812),
                                             tools::LoadStr(1813));
}

// The 18 resulting times for f number N, corrected for the film at filmIndex (-1: none).
val ExposureTable(double fNumber, int filmIndex, int mode, int sep)
{
    const tools::TFilmRecord *film = FilmAt(filmIndex);
    const tools::ExposureResult r = tools::ComputeExposureTimes(fNumber, film);
    val result = val::object();
    result.set("broken", r.FormulaBroken && film ? tools::BrokenFormulaMessage(*film) : "");
    std::vector<std::string> times;
    for (double t : r.Times)
        times.push_back(tools::FormatExposureTime(mode, t, Sep(sep)));
    result.set("times", Strings(times));
    result.set("firstOutOfRangeRow", static_cast<int>(r.FirstOutOfRangeRow));
    return result;
}

// The saved table of kind ("excel", "txtformat", "txttab", "csv"), or null.
val ExposureDocument(const std::string &kind, const std::string &fNumberText,
                     const std::string &factorText, int filmIndex, int mode, int sep)
{
    const tools::TFilmRecord *film = FilmAt(filmIndex);
    const tools::ExposureResult r =
        tools::ComputeExposureTimes(tools::TextToNumber(fNumberText, Sep(sep)), film);
    if (r.FormulaBroken)
        return val::null();
    const tools::ExposureLabels labels = Labels();
    const std::string filmName = film ? tools::Cp1252ToUtf8(film->Name) : std::string();
    tools::ExportInputs in;
    in.FNumberText = fNumberText;
    in.FactorText = factorText;
    in.Reciprocity = film != nullptr;
    in.FilmName = filmName;
    in.FilmDBVersion = Shipped().FilmDBVersion;
    in.Labels = &labels;
    in.Times = &r.Times;
    in.Mode = mode;
    in.DecSep = Sep(sep);
    const std::optional<std::string> bytes =
        tools::BuildExposureDocument(kind, tools::MakeExportTexts(in));
    return bytes ? Bytes(*bytes) : val::null();
}

} // namespace

EMSCRIPTEN_BINDINGS(lumidra_films)
{
    using namespace emscripten;

    function("loadFilmDatabase", &LoadFilmDatabase);
    function("loadOwnFilms", &LoadOwnFilms);
    function("ownFilmsContent", &OwnFilmsContent);
    function("ownFilmInput", &OwnFilmInput);
    function("checkFilm", &CheckFilm);
    function("fitFilm", &FitFilm);
    function("putOwnFilm", &PutOwnFilm);
    function("removeOwnFilm", &RemoveOwnFilm);
    function(
        "ownFilmNames", +[] { return Names(tools::FilmNames(Own())); });
    function(
        "maxFilmPairs", +[] { return static_cast<int>(tools::kMaxFilmPairs); });

    function(
        "exposureLabels", +[] { return Strings(Labels()); });
    function("inputsComplete", &tools::InputsComplete);
    function("exposureTable", &ExposureTable);
    function("exposureDocument", &ExposureDocument);
    function(
        "exposureFileName", +[](const std::string &name, int filterIndex) {
            return tools::ValidateExposureFileName(name, filterIndex);
        });
    function(
        "exposureExportKind",
        +[](int filterIndex) { return std::string(tools::ExposureExportKind(filterIndex)); });
}
