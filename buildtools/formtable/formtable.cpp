// SPDX-License-Identifier: GPL-3.0-or-later
// formtable FORM.ui OUTPUT.h NAME: writes the controls of a Designer form as the table
// formtable::kNAME of FormControl (components/formplan.h): each control's name, kind, the
// control that holds it, its place and size, and what else decides the room it needs (word
// wrap, a buddy, the default button flags, a fixed text). Forms that place their controls by
// layouts are refused: the fitting counts on coordinates.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// An element of the form: the little of XML that Designer writes.
struct Element
{
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<std::unique_ptr<Element>> children;

    const Element *Child(const std::string &childName) const
    {
        for (const auto &child : children)
            if (child->name == childName)
                return child.get();
        return nullptr;
    }
    std::string Attribute(const std::string &key) const
    {
        const auto it = attributes.find(key);
        return it == attributes.end() ? std::string() : it->second;
    }
};

class Reader
{
public:
    explicit Reader(std::string text) : m_text(std::move(text)) {}

    std::unique_ptr<Element> Document()
    {
        SkipProlog();
        return ReadElement();
    }

private:
    [[noreturn]] void Fail(const std::string &what) const
    {
        throw std::runtime_error(what + " at offset " + std::to_string(m_pos));
    }

    bool StartsWith(const char *s) const { return m_text.compare(m_pos, std::strlen(s), s) == 0; }

    void SkipBlanks()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }

    void SkipPast(const char *end)
    {
        const std::size_t at = m_text.find(end, m_pos);
        if (at == std::string::npos)
            Fail(std::string("no ") + end);
        m_pos = at + std::strlen(end);
    }

    // The declaration, comments and white space before the next element.
    void SkipProlog()
    {
        for (;;) {
            SkipBlanks();
            if (StartsWith("<?"))
                SkipPast("?>");
            else if (StartsWith("<!--"))
                SkipPast("-->");
            else if (StartsWith("<!"))
                SkipPast(">");
            else
                return;
        }
    }

    std::string Name()
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() &&
               (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_' ||
                m_text[m_pos] == '-' || m_text[m_pos] == ':' || m_text[m_pos] == '.'))
            ++m_pos;
        if (m_pos == start)
            Fail("a name expected");
        return m_text.substr(start, m_pos - start);
    }

    static std::string Decode(const std::string &raw)
    {
        static const std::pair<const char *, char> entities[] = {
            {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
        std::string out;
        for (std::size_t i = 0; i < raw.size();) {
            bool replaced = false;
            if (raw[i] == '&')
                for (const auto &[entity, ch] : entities)
                    if (raw.compare(i, std::strlen(entity), entity) == 0) {
                        out += ch;
                        i += std::strlen(entity);
                        replaced = true;
                        break;
                    }
            if (!replaced)
                out += raw[i++];
        }
        return out;
    }

    std::unique_ptr<Element> ReadElement()
    {
        if (!StartsWith("<"))
            Fail("an element expected");
        ++m_pos;
        auto element = std::make_unique<Element>();
        element->name = Name();
        for (;;) {
            SkipBlanks();
            if (StartsWith("/>")) {
                m_pos += 2;
                return element;
            }
            if (StartsWith(">")) {
                ++m_pos;
                break;
            }
            const std::string key = Name();
            SkipBlanks();
            if (!StartsWith("="))
                Fail("'=' expected");
            ++m_pos;
            SkipBlanks();
            const char quote = m_text[m_pos];
            if (quote != '"' && quote != '\'')
                Fail("a quoted value expected");
            const std::size_t end = m_text.find(quote, m_pos + 1);
            if (end == std::string::npos)
                Fail("an unterminated value");
            element->attributes[key] = Decode(m_text.substr(m_pos + 1, end - m_pos - 1));
            m_pos = end + 1;
        }
        for (;;) {
            const std::size_t next = m_text.find('<', m_pos);
            if (next == std::string::npos)
                Fail("an unterminated element");
            element->text += Decode(m_text.substr(m_pos, next - m_pos));
            m_pos = next;
            if (StartsWith("</")) {
                m_pos += 2;
                if (Name() != element->name)
                    Fail("a mismatched end tag");
                SkipBlanks();
                SkipPast(">");
                return element;
            }
            if (StartsWith("<!--")) {
                SkipPast("-->");
                continue;
            }
            element->children.push_back(ReadElement());
        }
    }

    std::string m_text;
    std::size_t m_pos = 0;
};

struct Control
{
    std::string name;
    std::string kind;
    int parent = -1;
    int x = 0, y = 0, width = 0, height = 0;
    bool wordWrap = false, buddy = false, autoDefault = false, isDefault = false;
    std::string text;
};

// The kind of each class, following the classes a custom widget extends.
class Kinds
{
public:
    explicit Kinds(const Element &ui)
    {
        if (const Element *custom = ui.Child("customwidgets"))
            for (const auto &widget : custom->children) {
                const Element *cls = widget->Child("class");
                const Element *base = widget->Child("extends");
                if (cls && base)
                    m_extends[cls->text] = base->text;
            }
    }

    std::string Of(std::string cls) const
    {
        static const std::map<std::string, std::string> known = {
            {"QWidget", "Container"},  {"QGroupBox", "GroupBox"},
            {"QLabel", "Label"},       {"QLineEdit", "LineEdit"},
            {"QComboBox", "ComboBox"}, {"QPushButton", "PushButton"},
            {"QCheckBox", "CheckBox"}, {"QRadioButton", "RadioButton"},
            {"QTableWidget", "Table"},
        };
        for (int depth = 0; depth < 16; ++depth) {
            if (const auto it = known.find(cls); it != known.end())
                return it->second;
            const auto base = m_extends.find(cls);
            if (base == m_extends.end())
                return "Other";
            cls = base->second;
        }
        return "Other";
    }

private:
    std::map<std::string, std::string> m_extends;
};

const Element *Property(const Element &widget, const std::string &name)
{
    for (const auto &child : widget.children)
        if (child->name == "property" && child->Attribute("name") == name)
            return child.get();
    return nullptr;
}

bool BoolProperty(const Element &widget, const std::string &name)
{
    const Element *property = Property(widget, name);
    const Element *value = property ? property->Child("bool") : nullptr;
    return value && value->text == "true";
}

int Number(const Element &rect, const char *field)
{
    const Element *e = rect.Child(field);
    return e ? std::stoi(e->text) : 0;
}

void Collect(const Element &widget, int parent, const Kinds &kinds, std::vector<Control> &out)
{
    for (const auto &child : widget.children) {
        if (child->name == "layout")
            throw std::runtime_error("the form places controls by a layout: " +
                                     widget.Attribute("name"));
        if (child->name != "widget")
            continue;
        Control c;
        c.name = child->Attribute("name");
        c.kind = kinds.Of(child->Attribute("class"));
        c.parent = parent;
        if (const Element *geometry = Property(*child, "geometry"))
            if (const Element *rect = geometry->Child("rect")) {
                c.x = Number(*rect, "x");
                c.y = Number(*rect, "y");
                c.width = Number(*rect, "width");
                c.height = Number(*rect, "height");
            }
        c.wordWrap = BoolProperty(*child, "wordWrap");
        c.autoDefault = BoolProperty(*child, "autoDefault");
        c.isDefault = BoolProperty(*child, "default");
        c.buddy = Property(*child, "buddy") != nullptr;
        if (const Element *text = Property(*child, "text"))
            if (const Element *value = text->Child("string"))
                c.text = value->text;
        const int index = static_cast<int>(out.size());
        out.push_back(c);
        Collect(*child, index, kinds, out);
    }
}

std::string Quoted(const std::string &s)
{
    std::string out = "\"";
    for (const char ch : s) {
        if (ch == '"' || ch == '\\')
            out += '\\';
        out += ch;
    }
    return out + '"';
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::cerr << "usage: formtable FORM.ui OUTPUT.h NAME\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        std::stringstream text;
        text << in.rdbuf();
        const std::unique_ptr<Element> ui = Reader(text.str()).Document();
        const Element *form = ui ? ui->Child("widget") : nullptr;
        if (!ui || ui->name != "ui" || form == nullptr)
            throw std::runtime_error("no form in the file");
        std::vector<Control> controls;
        Collect(*form, -1, Kinds(*ui), controls);

        std::ostringstream out;
        out << "// Made by formtable from " << argv[1] << "; do not edit.\n"
            << "#pragma once\n\n#include \"components/formplan.h\"\n\n"
            << "namespace formtable {\n\ninline constexpr FormControl k" << argv[3] << "[] = {\n";
        for (const Control &c : controls)
            out << "    {" << Quoted(c.name) << ", FormKind::" << c.kind << ", " << c.parent << ", "
                << c.x << ", " << c.y << ", " << c.width << ", " << c.height << ", "
                << std::boolalpha << c.wordWrap << ", " << c.buddy << ", " << c.autoDefault << ", "
                << c.isDefault << ", " << Quoted(c.text) << "},\n";
        out << "};\n\n} // namespace formtable\n";

        // Written whole, so that a failed run leaves no half table behind.
        const std::string target = argv[2];
        const std::string temporary = target + ".part";
        {
            std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
            file << out.str();
            if (!file.flush())
                throw std::runtime_error("cannot write " + temporary);
        }
        if (std::rename(temporary.c_str(), target.c_str()) != 0)
            throw std::runtime_error("cannot write " + target);
    } catch (const std::exception &e) {
        std::cerr << "formtable: " << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
