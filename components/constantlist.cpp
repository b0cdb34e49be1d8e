// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/constantlist.h"

#include "components/guarded.h"
#include "components/uitext.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <exception>
#include <optional>
#include <stdexcept>

TConstantList::TConstantList(QWidget *parent) : QComboBox(parent)
{
    // Only the user's choice: selecting in code must not recalculate.
    ConnectGuarded(this, &QComboBox::activated, this, &TConstantList::Picked);
}

void TConstantList::Fill(bool selectUser)
{
    double stored = -1;
    try {
        stored = tools::ReadSettingFloat(tools::ConstantSettingName(m_target));
    } catch (const std::exception &) {
        stored = -1;
    }
    const QSignalBlocker blocker(this);
    clear();
    for (const std::string &entry : tools::ConstantListEntries(stored, DecimalSeparator()))
        addItem(FromStd(entry));
    setCurrentIndex(tools::ConstantListSelection(stored, selectUser));
}

double TConstantList::SelectedConstant() const
{
    const std::string entry = ToStd(currentText());
    if (const std::optional<double> c = tools::ConstantFromEntry(entry, DecimalSeparator()))
        return *c;
    // Only a number may stand before the first blank; anything else is reported, never
    // taken as 0.
    throw std::invalid_argument(tools::FormatStr(2302, entry.substr(0, entry.find(' '))));
}

// The blocker keeps any other listener quiet as well.
void TConstantList::Select(int index)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
}

int TConstantList::NumericEntry() const
{
    const bool numeric =
        m_remembered >= 0 && m_remembered < count() &&
        tools::ConstantFromEntry(ToStd(itemText(m_remembered)), DecimalSeparator());
    return numeric ? m_remembered : tools::kRayleighIndex;
}

void TConstantList::Picked()
{
    if (tools::IsSeparatorEntry(ToStd(currentText())))
        Select(NumericEntry());
    if (tools::IsActionEntry(ToStd(currentText()))) {
        emit userConstantRequested();
        if (tools::IsActionEntry(ToStd(currentText())))
            Select(NumericEntry());
        return;
    }
    m_remembered = currentIndex();
    emit constantPicked();
}

void TConstantList::focusInEvent(QFocusEvent *event)
{
    m_remembered = currentIndex();
    QComboBox::focusInEvent(event);
}

void TConstantList::mousePressEvent(QMouseEvent *event)
{
    m_remembered = currentIndex();
    QComboBox::mousePressEvent(event);
}
