// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The controls of a form as the fitting of fittext.cpp sees them, taken from the widgets of a
// built form or from the plan of a form not built yet, and what each needs at the running
// font. Both kinds are measured by the same code, so that a page built later takes exactly the
// room its plan promised. Internal to fittext.cpp.

#include "components/formplan.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStyle;
class QWidget;
class TPageControl;

namespace fitting {

// Controls of each kind that stand in for the controls of a plan: never shown, made on first
// use with the font and style of the form being planned, and given each control's text and
// settings in turn.
class Probes
{
public:
    Probes(const QFont &font, QStyle *style);
    ~Probes();
    Probes(const Probes &) = delete;
    Probes &operator=(const Probes &) = delete;

    const QFont &Font() const { return m_font; }
    QStyle *Style() const { return m_style; }
    QPushButton *Button();
    QCheckBox *CheckBox();
    QRadioButton *RadioButton();
    QLineEdit *LineEdit();
    QComboBox *ComboBox();
    QGroupBox *GroupBox();

private:
    template <typename T> T *Made(T *&slot);

    QFont m_font;
    QStyle *m_style;
    std::unique_ptr<QWidget> m_holder;
    QPushButton *m_button = nullptr;
    QCheckBox *m_checkBox = nullptr;
    QRadioButton *m_radioButton = nullptr;
    QLineEdit *m_lineEdit = nullptr;
    QComboBox *m_comboBox = nullptr;
    QGroupBox *m_groupBox = nullptr;
};

// Probes for each font and style met in one fitting, and the sizes of the texts measured in
// it: a text that stands on several controls (a unit, a caption used on two pages) is
// measured once.
class ProbeSet
{
public:
    Probes &For(const QFont &font, QStyle *style);

    // QFontMetrics(font).boundingRect(0, 0, width, 2000, flags, text).size(), remembered.
    QSize TextSize(const QFont &font, int flags, int width, const QString &text);

private:
    struct TextKey
    {
        QFont font;
        int flags;
        int width;
        QString text;
        bool operator<(const TextKey &other) const;
    };

    std::vector<std::unique_ptr<Probes>> m_probes;
    std::map<TextKey, QSize> m_textSizes;
};

// One control: where the form put it, what it shows and, once measured, what it needs.
struct Control
{
    FormKind kind = FormKind::Other;
    QRect r0;
    QString text;
    bool wordWrap = false;
    bool mnemonic = false; // a label that shows '&' as a mnemonic
    bool autoDefault = false;
    bool isDefault = false;
    bool picture = false;          // a label showing a picture
    bool ownHint = false;          // a label measured by its own hints (rich text, a frame)
    QSize minimum;                 // the control's own minimum size
    const GridFit *grid = nullptr; // a planned grid
    QWidget *widget = nullptr;     // the control itself; null in a plan
    TPageControl *pages = nullptr; // a page control: its pages are fitted in turn
    Probes *probes = nullptr;      // stand-ins with the font and style of a planned control
    std::vector<Control> children; // of a container or a group box
};

// The children of a built form, and the controls of a plan, as fitted controls.
std::vector<Control> Describe(QWidget *container);
std::vector<Control> Describe(const FormPlan &plan, Probes &probes);

// What a control that holds no others needs, at least the size the form gave it.
QSize LeafNeed(const Control &control, ProbeSet &probes);
// A push button: it lines up with its neighbours in a row of buttons.
bool IsPushButton(const Control &control);
// A group box: the bottom of its title, below which its controls stand, and its own minimum.
int TitleBottom(const Control &box);
QSize GroupBoxMinimum(const Control &box);

} // namespace fitting
