// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/filmsource.h"

#include <cmath>

namespace tools {

namespace {

// Blanks, tabs and stray carriage returns around a text are no part of it.
std::string_view Trim(std::string_view s)
{
    std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    std::size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string_view> Words(std::string_view s)
{
    std::vector<std::string_view> words;
    while (!(s = Trim(s)).empty()) {
        std::size_t end = s.find_first_of(" \t\r");
        words.push_back(s.substr(0, end));
        s = end == std::string_view::npos ? std::string_view{} : s.substr(end);
    }
    return words;
}

// "10 15 s" (corrected time) or "1 +1/3 stop" (stops added), as typed.
bool Pair(std::string_view rest, FilmPairInput &pair)
{
    const auto w = Words(rest);
    if (w.size() != 3 || w[1].empty())
        return false;
    const bool stops = w[1][0] == '+';
    if (w[2] != (stops ? "stop" : "s"))
        return false;
    pair = {std::string(w[0]), std::string(w[1])};
    return true;
}

class Parser
{
public:
    Parser(FilmSourceFile &out, std::string &error, FilmSourceRules rules)
        : out_(out), error_(error), rules_(rules)
    {}

    bool Line(int lineNo, std::string_view line)
    {
        lineNo_ = lineNo;
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            return true;
        std::size_t end = line.find_first_of(" \t\r");
        std::string_view key = line.substr(0, end);
        std::string_view rest =
            end == std::string_view::npos ? std::string_view{} : Trim(line.substr(end));
        if (key == "version")
            return Version(rest);
        if (key == "film")
            return Film(rest);
        if (!film_) {
            // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
            // "'" + std::string(...).
            std::string what = "'";
            what.append(key).append("' outside a film");
            return Fail(std::move(what));
        }
        if (key == "source")
            return Source(rest);
        if (key == "power")
            return Once(film_->Input.Power, rest, "expected one 'power P'");
        if (key == "from")
            return Once(film_->Input.From, rest, "expected one 'from T0'");
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
        film_->Input.Name = rest;
        film_->Input.PowerLaw = false;
        film_->Line = lineNo_;
        pairLines_.clear();
        hasRange_ = false;
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

    bool Once(std::string &field, std::string_view rest, const char *expected)
    {
        const auto w = Words(rest);
        if (!field.empty() || w.size() != 1)
            return Fail(expected);
        field = w[0];
        return true;
    }

    bool At(std::string_view rest)
    {
        FilmPairInput pair;
        if (!Pair(rest, pair))
            return Fail("expected 'at T C s' or 'at T +S stop'");
        film_->Input.Pairs.push_back(std::move(pair));
        pairLines_.push_back(lineNo_);
        return true;
    }

    bool Example(std::string_view rest)
    {
        FilmPairInput pair;
        if (!Pair(rest, pair))
            return Fail("expected 'example T C s' or 'example T +S stop'");
        // A worked example is read as a model of its own pair.
        FilmInput one;
        one.PowerLaw = false;
        one.Pairs = {pair};
        const FilmInputCheck check = ReadFilmInput(one);
        if (check.Fault != FilmInputFault::None)
            return Fail(FilmInputFaultText(check, '.'));
        film_->Examples.push_back(check.Model.Points.front());
        return true;
    }

    bool Range(std::string_view rest)
    {
        const auto w = Words(rest);
        if (hasRange_ || w.size() != 2)
            return Fail("expected one 'range MIN MAX'");
        // "-" leaves that end where the data's own range has it.
        film_->Input.RangeMin = w[0] == "-" ? std::string_view{} : w[0];
        film_->Input.RangeMax = w[1] == "-" ? std::string_view{} : w[1];
        hasRange_ = true;
        return true;
    }

    bool CheckFilm()
    {
        if (!film_)
            return true;
        FilmSource &f = *film_;
        // Faults of a whole film are reported at the line that starts it, those of a pair at
        // the pair's line.
        auto fail = [&](int line, const std::string &what) {
            return FailAt(line, "film '" + f.Name + "': " + what);
        };
        const bool makers = rules_ == FilmSourceRules::Makers;
        if (makers && f.Source.empty())
            return fail(f.Line, "no source");
        f.Input.PowerLaw = !f.Input.Power.empty();
        if (f.Input.PowerLaw == !f.Input.Pairs.empty())
            return fail(f.Line, "give either 'power' or 'at' points");
        if (!f.Input.PowerLaw && !f.Input.From.empty())
            return fail(f.Line, "'from' belongs to a power law");
        const FilmInputCheck check = ReadFilmInput(f.Input);
        if (check.Fault != FilmInputFault::None) {
            const bool atPair = check.Pair > 0 && check.Pair <= static_cast<int>(pairLines_.size());
            return fail(atPair ? pairLines_[check.Pair - 1] : f.Line,
                        FilmInputFaultText(check, '.'));
        }
        if (makers && !hasRange_)
            return fail(f.Line, "no range");
        f.Model = check.Model;
        return true;
    }

    FilmSourceFile &out_;
    std::string &error_;
    FilmSourceRules rules_;
    FilmSource *film_ = nullptr;
    std::vector<int> pairLines_;
    bool hasRange_ = false;
    int lineNo_ = 0;
};

} // namespace

bool ParseFilmSource(std::string_view text, FilmSourceFile &out, std::string &error,
                     FilmSourceRules rules)
{
    out = {};
    Parser parser(out, error, rules);
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

std::string FilmSourceLines(const FilmInput &input)
{
    std::string text = "film " + input.Name + "\n";
    if (input.PowerLaw) {
        text += "power " + input.Power + "\n";
        if (!input.From.empty())
            text += "from " + input.From + "\n";
    } else {
        for (const FilmPairInput &pair : input.Pairs) {
            if (pair.Empty())
                continue;
            const bool stops = !pair.Needed.empty() && pair.Needed[0] == '+';
            text += "at " + pair.Metered + " " + pair.Needed + (stops ? " stop\n" : " s\n");
        }
    }
    if (!input.RangeMin.empty() || !input.RangeMax.empty()) {
        auto end = [](const std::string &typed) { return typed.empty() ? "-" : typed; };
        text += "range " + end(input.RangeMin) + " " + end(input.RangeMax) + "\n";
    }
    return text;
}

} // namespace tools
