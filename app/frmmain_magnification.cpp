// SPDX-License-Identifier: GPL-3.0-or-later
// The magnification tab.
#include "app/frmmain.h"
#include "ui_frmmain.h"

#include <utility>

void TfrmMain::WireMagnificationTab()
{
    const std::pair<QLineEdit *, Handler> fields[] = {
        {ui->edObjectdistance, &TfrmMain::edObjectdistanceChange},
        {ui->edImageDistance3, &TfrmMain::edImageDistance3Change},
        {ui->edObjectSize, &TfrmMain::edObjectSizeChange},
    };
    for (const auto &[field, handler] : fields)
        Wire(field, &QLineEdit::textChanged, handler);

    const std::pair<QComboBox *, Handler> units[] = {
        {ui->cbUnitsC1, &TfrmMain::cbUnitsC1Change},
        {ui->cbUnits6, &TfrmMain::cbUnits6Change},
        {ui->cbUnitsC2, &TfrmMain::cbUnitsC2Change},
        {ui->cbUnits7, &TfrmMain::cbUnits7Change},
    };
    for (const auto &[list, handler] : units)
        Wire(list, &QComboBox::currentIndexChanged, handler);
}

void TfrmMain::edObjectdistanceChange()
{
    CalcMagnification();
}

void TfrmMain::edImageDistance3Change()
{
    CalcMagnification();
}

void TfrmMain::edObjectSizeChange()
{
    CalcMagnification();
}

void TfrmMain::cbUnitsC1Change()
{
    CalcMagnification();
}

void TfrmMain::cbUnits6Change()
{
    CalcMagnification();
}

void TfrmMain::cbUnitsC2Change()
{
    CalcMagnification();
}

void TfrmMain::cbUnits7Change()
{
    CalcMagnification();
}

void TfrmMain::CalcMagnification() {}
