// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/stringaligngrid.h"

#include <QString>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

// The kinds of control that the fitting of a form tells apart (fittext.h).
enum class FormKind : unsigned char
{
    Container, // a plain widget holding controls
    GroupBox,
    Label,
    LineEdit,
    ComboBox,
    PushButton,
    CheckBox,
    RadioButton,
    Table, // a result grid (TStringAlignGrid)
    Other, // keeps the size the form gives it
};

// One control of a Designer form as its .ui file places it. The build writes a table of them
// for every page of the main window (buildtools/formtable: forms/<page>_form.h), in the order
// of the form, each control after the one that holds it.
struct FormControl
{
    const char *name;
    FormKind kind;
    int parent; // the index of the control that holds it; -1: the form itself
    int x;
    int y;
    int width;
    int height;
    bool wordWrap;    // a label that wraps its words
    bool buddy;       // a label with a buddy, which shows '&' as a mnemonic
    bool autoDefault; // push buttons
    bool isDefault;
    const char *text; // the text the form gives it
};

// A form that is not built yet, as the fitting of its window sees it: the controls of its
// Designer form with the texts (captions, starting values) and the grid fits that the code
// gives them when it builds the form. fittext.h works out from it how much room the form will
// need, to the pixel, without making a single control.
class FormPlan
{
public:
    FormPlan() = default;
    explicit FormPlan(std::span<const FormControl> controls) : m_controls(controls) {}

    void SetText(std::string_view control, const QString &text)
    {
        m_texts.insert_or_assign(std::string(control), text);
    }
    void SetGrid(std::string_view control, const GridFit &fit)
    {
        m_grids.insert_or_assign(std::string(control), fit);
    }

    std::span<const FormControl> Controls() const { return m_controls; }
    // The text the code gives the control, else the form's.
    QString Text(const FormControl &control) const
    {
        const auto it = m_texts.find(std::string_view(control.name));
        return it != m_texts.end() ? it->second : QString::fromUtf8(control.text);
    }
    const GridFit *Grid(const FormControl &control) const
    {
        const auto it = m_grids.find(std::string_view(control.name));
        return it != m_grids.end() ? &it->second : nullptr;
    }

private:
    std::span<const FormControl> m_controls;
    std::map<std::string, QString, std::less<>> m_texts;
    std::map<std::string, GridFit, std::less<>> m_grids;
};
