// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/regfile.h"

#include "tools/utf16.h"

#include <unordered_set>

namespace tools {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view name)
{
    std::string out(name);
    for (char &c : out)
        c = AsciiLower(c);
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameRegName(text.substr(0, prefix.size()), prefix);
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// One to `maxDigits` hex digits and nothing else.
std::optional<std::uint32_t> ParseHex(std::string_view digits, std::size_t maxDigits)
{
    if (digits.empty() || digits.size() > maxDigits)
        return std::nullopt;
    std::uint32_t v = 0;
    for (char c : digits) {
        int d = HexValue(c);
        if (d < 0)
            return std::nullopt;
        v = v << 4 | static_cast<std::uint32_t>(d);
    }
    return v;
}

// The text is UTF-8 already, or UTF-16LE after a byte order mark, as the system's export
// tool writes it. Empty when UTF-16 text holds an unpaired surrogate.
std::optional<std::string> DecodeFileText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    if (!bytes.starts_with("\xFF\xFE"))
        return std::string(bytes);
    bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::u16string units = LeBytesToUtf16(bytes);
    for (std::size_t i = 0; i < units.size(); ++i) {
        bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
        bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
            ++i;
        else if (high || low)
            return std::nullopt;
    }
    return Utf16ToUtf8(units);
}

class Parser
{
public:
    explicit Parser(std::string *error) : error_(error) {}

    std::optional<RegFile> Parse(std::string_view text)
    {
        if (!SplitLines(text))
            return std::nullopt;
        if (lines_.empty() || Trimmed(lines_[0]) != kRegFileHeader)
            return Fail(1, "not a registry file");
        RegFile file;
        std::unordered_set<std::string> keys;
        std::unordered_set<std::string> names; // of the current section
        for (next_ = 1; next_ < lines_.size();) {
            std::size_t lineNo = next_ + 1;
            std::string_view line = Trimmed(lines_[next_++]);
            if (line.empty())
                continue;
            if (line.front() == ';') {
                RegComment comment{std::string(line)};
                if (file.sections.empty())
                    file.comments.push_back(std::move(comment));
                else
                    file.sections.back().entries.emplace_back(std::move(comment));
            } else if (line.front() == '[') {
                if (line.size() < 3 || line.back() != ']' || line[1] == '-')
                    return Fail(lineNo, "not a key");
                std::string key(line.substr(1, line.size() - 2));
                if (!keys.insert(Folded(key)).second)
                    return Fail(lineNo, "key given twice");
                file.sections.push_back(RegSection{std::move(key), {}});
                names.clear();
            } else if (line.front() == '"' || line.front() == '@') {
                if (file.sections.empty())
                    return Fail(lineNo, "value outside a key");
                std::optional<RegValue> value = ParseValue(line, lineNo);
                if (!value)
                    return std::nullopt;
                if (!names.insert(Folded(value->name)).second)
                    return Fail(lineNo, "value given twice");
                file.sections.back().entries.emplace_back(std::move(*value));
            } else {
                return Fail(lineNo, "not a key, value or comment");
            }
        }
        return file;
    }

private:
    std::nullopt_t Fail(std::size_t lineNo, const char *reason)
    {
        if (error_)
            *error_ = "line " + std::to_string(lineNo) + ": " + reason;
        return std::nullopt;
    }

    bool SplitLines(std::string_view text)
    {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            for (char c : line)
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
                    Fail(lines_.size() + 1, "control character");
                    return false;
                }
            lines_.push_back(line);
            start = end + 1;
        }
        return true;
    }

    // A name or string between quotes starting at s[pos]; leaves pos after the closing quote.
    std::optional<std::string> ParseQuoted(std::string_view s, std::size_t &pos)
    {
        std::string out;
        for (++pos; pos < s.size(); ++pos) {
            char c = s[pos];
            if (c == '"') {
                ++pos;
                return out;
            }
            if (c == '\\') {
                if (++pos == s.size() || (s[pos] != '\\' && s[pos] != '"'))
                    return std::nullopt;
                c = s[pos];
            }
            out += c;
        }
        return std::nullopt;
    }

    // Comma-separated bytes, continued on the following lines while a line ends with '\'.
    std::optional<std::string> ParseBytes(std::string_view rest)
    {
        std::string joined;
        for (;;) {
            rest = Trimmed(rest);
            if (!rest.ends_with('\\')) {
                joined += rest;
                break;
            }
            rest.remove_suffix(1);
            joined += rest;
            if (next_ == lines_.size())
                return std::nullopt;
            rest = lines_[next_++];
        }
        std::string bytes;
        std::string_view list = joined;
        if (Trimmed(list).empty())
            return bytes;
        for (;;) {
            std::size_t comma = list.find(',');
            std::optional<std::uint32_t> byte = ParseHex(Trimmed(list.substr(0, comma)), 2);
            if (!byte)
                return std::nullopt;
            bytes += static_cast<char>(*byte);
            if (comma == std::string_view::npos)
                return bytes;
            list.remove_prefix(comma + 1);
        }
    }

    std::optional<RegValue> ParseValue(std::string_view line, std::size_t lineNo)
    {
        RegValue value;
        std::size_t pos = 1;
        if (line.front() == '"') {
            pos = 0;
            std::optional<std::string> name = ParseQuoted(line, pos);
            if (!name)
                return Fail(lineNo, "unterminated name");
            value.name = std::move(*name);
        }
        std::string_view rest = Trimmed(line.substr(pos));
        if (!rest.starts_with('='))
            return Fail(lineNo, "'=' missing");
        rest = Trimmed(rest.substr(1));

        if (rest.starts_with('"')) {
            pos = 0;
            std::optional<std::string> text = ParseQuoted(rest, pos);
            if (!text || pos != rest.size())
                return Fail(lineNo, "bad string");
            // The whole file is well-formed UTF-8, so the conversion cannot fail.
            value.type = kRegSz;
            value.data = Utf16ToLeBytes(Utf8ToUtf16(*text).value_or(u"")) + std::string(2, '\0');
        } else if (StartsWithNoCase(rest, "dword:")) {
            std::optional<std::uint32_t> v = ParseHex(rest.substr(6), 8);
            if (!v)
                return Fail(lineNo, "bad dword");
            value.type = kRegDword;
            for (int shift = 0; shift < 32; shift += 8)
                value.data += static_cast<char>(*v >> shift & 0xFF);
        } else if (StartsWithNoCase(rest, "hex")) {
            rest.remove_prefix(3);
            value.type = kRegBinary;
            if (rest.starts_with('(')) {
                std::size_t close = rest.find(')');
                std::optional<std::uint32_t> type = close == std::string_view::npos
                                                        ? std::nullopt
                                                        : ParseHex(rest.substr(1, close - 1), 8);
                if (!type)
                    return Fail(lineNo, "bad type");
                value.type = *type;
                rest.remove_prefix(close + 1);
            }
            if (!rest.starts_with(':'))
                return Fail(lineNo, "':' missing");
            std::optional<std::string> bytes = ParseBytes(rest.substr(1));
            if (!bytes)
                return Fail(lineNo, "bad byte list");
            value.data = std::move(*bytes);
        } else {
            return Fail(lineNo, "unknown data");
        }
        return value;
    }

    std::string *error_;
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
};

void AppendQuoted(std::string &out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

// The text of a string value that can stand between quotes: terminated, no NUL or control
// character other than TAB inside, well-formed UTF-16.
std::optional<std::string> QuotableText(const RegValue &value)
{
    const std::string &d = value.data;
    if (value.type != kRegSz || d.size() < 2 || d.size() % 2 != 0 || d[d.size() - 1] != 0 ||
        d[d.size() - 2] != 0)
        return std::nullopt;
    std::u16string units = LeBytesToUtf16(std::string_view(d).substr(0, d.size() - 2));
    std::string text = Utf16ToUtf8(units);
    std::optional<std::u16string> back = Utf8ToUtf16(text);
    if (!back || *back != units) // an unpaired surrogate was replaced
        return std::nullopt;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            return std::nullopt;
    return text;
}

void AppendBytes(std::string &out, std::string_view bytes)
{
    std::size_t lineStart = out.rfind('\n') + 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 0xF];
        if (i + 1 == bytes.size())
            break;
        out += ',';
        // Lines of at most 80 characters, as the system's export tool writes them.
        if (out.size() - lineStart > 76) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
    }
}

std::string HexNumber(std::uint32_t v, int minDigits)
{
    std::string digits;
    for (int shift = 28; shift >= 0; shift -= 4)
        if (std::uint32_t d = v >> shift & 0xF; d != 0 || !digits.empty() || shift / 4 < minDigits)
            digits += kHexDigits[d];
    return digits;
}

void AppendValue(std::string &out, const RegValue &value)
{
    if (value.name.empty())
        out += '@';
    else
        AppendQuoted(out, value.name);
    out += '=';
    if (std::optional<std::string> text = QuotableText(value)) {
        AppendQuoted(out, *text);
    } else if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(value.data[i]);
        out += "dword:" + HexNumber(v, 8);
    } else {
        out += value.type == kRegBinary ? "hex:" : "hex(" + HexNumber(value.type, 1) + "):";
        AppendBytes(out, value.data);
    }
    out += '\n';
}

} // namespace

std::optional<RegFile> ParseRegFile(std::string_view text, std::string *error)
{
    std::optional<std::string> decoded = DecodeFileText(text);
    if (!decoded) {
        if (error)
            *error = "ill-formed UTF-16";
        return std::nullopt;
    }
    if (!IsValidUtf8(*decoded)) {
        if (error)
            *error = "not UTF-8 text";
        return std::nullopt;
    }
    return Parser(error).Parse(*decoded);
}

std::string SerializeRegFile(const RegFile &file)
{
    std::string out(kRegFileHeader);
    out += "\n\n";
    for (const RegComment &comment : file.comments)
        out += comment.text + '\n';
    if (!file.comments.empty())
        out += '\n';
    for (const RegSection &section : file.sections) {
        out += '[' + section.key + "]\n";
        for (const RegEntry &entry : section.entries) {
            if (const auto *value = std::get_if<RegValue>(&entry))
                AppendValue(out, *value);
            else
                out += std::get<RegComment>(entry).text + '\n';
        }
        out += '\n';
    }
    return out;
}

bool SameRegName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

RegSection *FindRegSection(RegFile &file, std::string_view key)
{
    for (RegSection &section : file.sections)
        if (SameRegName(section.key, key))
            return &section;
    return nullptr;
}

RegValue *FindRegValue(RegSection &section, std::string_view name)
{
    for (RegEntry &entry : section.entries)
        if (auto *value = std::get_if<RegValue>(&entry); value && SameRegName(value->name, name))
            return value;
    return nullptr;
}

void SetRegValue(RegSection &section, RegValue value)
{
    if (RegValue *old = FindRegValue(section, value.name)) {
        old->type = value.type;
        old->data = std::move(value.data);
    } else {
        section.entries.emplace_back(std::move(value));
    }
}

} // namespace tools
