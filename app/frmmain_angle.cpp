// SPDX-License-Identifier: GPL-3.0-or-later
// The angle of view tab and its diagram.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include <utility>

void TfrmMain::WireAngleTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edFormatA, &TfrmMain::edFormatAChange},
        {ui->edFormatB, &TfrmMain::edFormatBChange},
        {ui->edImageDistance2, &TfrmMain::edImageDistance2Change},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    Wire(ui->cbUnitsB1, &QComboBox::currentIndexChanged, &TfrmMain::cbUnitsB1Change);
    Wire(ui->cbUnits5, &QComboBox::currentIndexChanged, &TfrmMain::cbUnits5Change);
}

void TfrmMain::edFormatAChange()
{
    CalcAngleOfView();
}

void TfrmMain::edFormatBChange()
{
    CalcAngleOfView();
}

void TfrmMain::cbUnitsB1Change()
{
    CalcAngleOfView();
}

void TfrmMain::edImageDistance2Change()
{
    CalcAngleOfView();
}

void TfrmMain::cbUnits5Change()
{
    CalcAngleOfView();
}

void TfrmMain::TabSheet2Show()
{
    CalcAngleOfView();
}

void TfrmMain::CalcAngleOfView() {}
