// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// A pick-only drop-down list whose drop-down part may be wider than the closed box: with
// DropDownFixedWidth 0 it is as wide as the longest item, otherwise that many pixels.
class TEnhCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit TEnhCombo(QWidget *parent = nullptr);

    int DropDownFixedWidth() const { return m_dropDownFixedWidth; }
    void SetDropDownFixedWidth(int width) { m_dropDownFixedWidth = width; }

    // The width the drop-down part takes when shown.
    int DropDownWidth() const;

    void showPopup() override;

private:
    int m_dropDownFixedWidth = 0;
};
