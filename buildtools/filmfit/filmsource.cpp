// SPDX-License-Identifier: GPL-3.0-or-later
#include "buildtools/filmfit/filmsource.h"

#include "tools/reciprocity.h"
#include "tools/stdcompat.h"

#include <charconv>
#include <cmath>

namespace filmfit {

namespace {

std::string_view Trim(std::string_view s)
{
    std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> Words(std::string_view s)
{
    std::vector<std::string_view> words;
    while (!(s = Trim(s)).empty()) {
        std::size_t end = s.find_first_of(" \t");
        words.push_back(s.substr(0, end));
        s = end == std::string_view::npos ? std::string_view{} : s.substr(end);
    }
    return words;
}

// A plain decimal ("0.5", "1000") or a fraction ("1/3"), as the makers write stops.
bool ParseNumber(std::string_view word, double &value)
{
    auto plain = [](std::string_view w, double &v) {
        if (w.empty() || w[0] == '+' || w[0] == '-')
            return false;
        auto [p, ec] = tools::compat::from_chars(w.data(), w.data() + w.size(), v, std::chars_format::fixed);
        return ec == std::errc{} && p == w.data() + w.size() && std::isfinite(v);
    };
    std::size_t slash = word.find('/');
    if (slash == std::string_view::npos)
        return plain(word, value);
    double num = 0, den = 0;
    if (!plain(word.substr(0, slash), num) || !plain(word.substr(slash + 1), den) || den == 0)
        return false;
    value = num / den;
    return true;
}

class Parser
{
public:
    Parser(FilmSourceFile &out, std::string &error) : out_(out), error_(error) {}

    bool Line(int lineNo, std::string_view line)
    {
        lineNo_ = lineNo;
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            return true;
        std::size_t end = line.find_first_of(" \t");
        std::string_view key = line.substr(0, end);
        std::string_view rest =
            end == std::string_view::npos ? std::string_view{} : Trim(line.substr(end));
        if (key == "version")
            return Version(rest);
        if (key == "film")
            return Film(rest);
        if (out_.Films.empty() || !film_) {
            // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
            // "'" + std::string(...).
            std::string what = "'";
            what.append(key).append("' outside a film");
            return Fail(std::move(what));
        }
        if (key == "source")
            return Source(rest);
        if (key == "power")
            return Power(rest);
        if (key == "at")
            return At(rest);
        if (key == "example")
            return Example(rest);
        if (key == "range")
            return Range(rest);
        return Fail("unknown keyword '" + std::string(key) + "'");
    }

    bool Finish()
    {
        if (out_.Version.empty())
            return Fail("no version line");
        return CheckFilm();
    }

private:
    bool Fail(std::string what) { return FailAt(lineNo_, std::move(what)); }

    bool FailAt(int lineNo, std::string what)
    {
        error_ = "line " + std::to_string(lineNo) + ": " + what;
        return false;
    }

    bool Version(std::string_view rest)
    {
        if (!out_.Version.empty() || rest.empty())
            return Fail("one version line with a text is expected");
        out_.Version = rest;
        return true;
    }

    bool Film(std::string_view rest)
    {
        if (!CheckFilm())
            return false;
        if (rest.empty())
            return Fail("a film needs a name");
        for (const FilmSource &f : out_.Films)
            if (f.Name == rest)
                return Fail("film '" + std::string(rest) + "' listed twice");
        out_.Films.push_back({});
        film_ = &out_.Films.back();
        film_->Name = rest;
        film_->Line = lineNo_;
        return true;
    }

    bool Source(std::string_view rest)
    {
        if (rest.empty())
            return Fail("empty source");
        if (!film_->Source.empty())
            film_->Source += ' ';
        film_->Source += rest;
        return true;
    }

    bool Power(std::string_view rest)
    {
        auto w = Words(rest);
        if (film_->Power > 0 || w.size() != 1 || !ParseNumber(w[0], film_->Power) ||
            film_->Power <= 0)
            return Fail("expected one 'power P' with P > 0");
        return true;
    }

    // "10 15 s" (corrected time) or "1 +1/3 stop" (stops added).
    static bool Pair(std::string_view rest, MakerPoint &p)
    {
        auto w = Words(rest);
        double value = 0;
        if (w.size() != 3 || !ParseNumber(w[0], p.Metered) || p.Metered <= 0)
            return false;
        if (w[2] == "s" && ParseNumber(w[1], value) && value > 0) {
            p.Corrected = value;
            return true;
        }
        if (w[2] == "stop" && w[1].size() > 1 && w[1][0] == '+' &&
            ParseNumber(w[1].substr(1), value)) {
            p.Corrected = p.Metered * std::exp2(value);
            return true;
        }
        return false;
    }

    bool At(std::string_view rest)
    {
        MakerPoint p;
        if (!Pair(rest, p))
            return Fail("expected 'at T C s' or 'at T +S stop'");
        if (!film_->Points.empty() && film_->Points.back().Metered >= p.Metered)
            return Fail("the metered times must rise from point to point");
        film_->Points.push_back(p);
        return true;
    }

    bool Example(std::string_view rest)
    {
        MakerPoint p;
        if (!Pair(rest, p))
            return Fail("expected 'example T C s' or 'example T +S stop'");
        film_->Examples.push_back(p);
        return true;
    }

    bool Range(std::string_view rest)
    {
        auto w = Words(rest);
        if (film_->MaxTime > 0 || w.size() != 2 || !ParseNumber(w[0], film_->MinTime) ||
            !ParseNumber(w[1], film_->MaxTime) || film_->MinTime <= 0 ||
            film_->MaxTime < film_->MinTime)
            return Fail("expected one 'range MIN MAX' with 0 < MIN <= MAX");
        return true;
    }

    bool CheckFilm()
    {
        if (!film_)
            return true;
        const FilmSource &f = *film_;
        // Faults of a whole film are reported at the line that starts it.
        auto fail = [&](const char *what) {
            return FailAt(f.Line, "film '" + f.Name + "': " + what);
        };
        if (f.Source.empty())
            return fail("no source");
        if ((f.Power > 0) == !f.Points.empty())
            return fail("give either 'power' or 'at' points");
        if (f.MaxTime <= 0)
            return fail("no range");
        if (!f.Points.empty() &&
            (f.MinTime < f.Points.front().Metered || f.MaxTime > f.Points.back().Metered))
            return fail("the range goes beyond the published points");
        return true;
    }

    FilmSourceFile &out_;
    std::string &error_;
    FilmSource *film_ = nullptr;
    int lineNo_ = 0;
};

} // namespace

bool ParseFilmSource(std::string_view text, FilmSourceFile &out, std::string &error)
{
    out = {};
    Parser parser(out, error);
    int lineNo = 0;
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!parser.Line(++lineNo, line))
            return false;
    }
    return parser.Finish();
}

double MakerModel(const FilmSource &film, double metered)
{
    if (film.Power > 0)
        return std::pow(metered, film.Power);
    const auto &pts = film.Points;
    if (pts.size() == 1)
        return metered * (pts[0].Corrected / pts[0].Metered);
    std::size_t i = 1;
    while (i + 1 < pts.size() && metered > pts[i].Metered)
        ++i;
    const MakerPoint &a = pts[i - 1];
    const MakerPoint &b = pts[i];
    double s = std::log(metered / a.Metered) / std::log(b.Metered / a.Metered);
    return a.Corrected * std::exp(s * std::log(b.Corrected / a.Corrected));
}

double MakerSlope(const FilmSource &film)
{
    const double top = film.MaxTime;
    double from = tools::ContinuationStart(film.MinTime, top);
    if (!(from < top))
        from = top / 1.001;
    return std::log(MakerModel(film, top) / MakerModel(film, from)) / std::log(top / from);
}

bool IsConstantFactor(const FilmSource &film, double &factor)
{
    if (film.Points.empty())
        return false;
    factor = film.Points[0].Corrected / film.Points[0].Metered;
    for (const MakerPoint &p : film.Points)
        if (std::abs(p.Corrected / p.Metered - factor) > 1e-12 * factor)
            return false;
    return true;
}

} // namespace filmfit
